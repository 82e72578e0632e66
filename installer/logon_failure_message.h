// The message shown when the platform refuses a start with a logon.
#pragma once

#include <windows.h>

#include <string>

// "Não foi possível executar a instalação (<command line>).\n"
// "Usuário: <user name>@<domain>\n"
// "Erro: (<code as a signed decimal>)"
// in Windows-1252. The password is never part of it.
std::string FormatLogonFailureMessage(const std::string& commandLine, const std::string& userName,
                                      const std::string& domain, DWORD errorCode);
