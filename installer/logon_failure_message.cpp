#include "installer/logon_failure_message.h"

#include <cstdint>

std::string FormatLogonFailureMessage(const std::string& commandLine, const std::string& userName,
                                      const std::string& domain, DWORD errorCode)
{
    // Codes with the top bit set (HRESULTs) read as negative numbers.
    const auto signedCode = static_cast<std::int32_t>(errorCode);
    return "N\xE3o foi poss\xEDvel executar a instala\xE7\xE3o (" + commandLine + ").\n" +
           "Usu\xE1rio: " + userName + "@" + domain + "\n" +
           "Erro: (" + std::to_string(signedCode) + ")";
}
