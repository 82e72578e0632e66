#include "installer/installer_arguments.h"

#include "app/instala_app.h"
#include "framework/mbcs.h"

namespace {

constexpr std::string_view logonKeyword = "/USUARIO";

char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool HoldsBlank(std::string_view text)
{
    return text.find_first_of(" \t") != std::string_view::npos;
}

void TakeLogonArgument(std::string_view argument, Credentials& credentials)
{
    const std::size_t equals = MbsFindFirst(argument, '=');
    const std::size_t semicolon = MbsFindFirst(argument, ';');
    if (equals == std::string_view::npos || semicolon == std::string_view::npos) {
        return;
    }

    const std::string_view account =
        semicolon > equals ? argument.substr(equals + 1, semicolon - equals - 1) : std::string_view{};
    const std::string_view password = argument.substr(semicolon + 1);
    const std::size_t at = MbsFindFirst(account, '@');

    // The earlier password is wiped before its storage can be reused or freed.
    SecureWipe(credentials.password);
    credentials.password.assign(password);
    if (at == std::string_view::npos) {
        credentials.userName.assign(account);
        credentials.domain.assign(".");
    } else {
        credentials.userName.assign(account.substr(0, at));
        credentials.domain.assign(account.substr(at + 1));
    }
    credentials.logonRequested = TRUE;
}

}  // namespace

std::string CInstalaApp::GetPackageArguments() const
{
    return std::string(packageArguments);
}

bool IsLogonArgument(std::string_view argument)
{
    if (argument.size() < logonKeyword.size()) {
        return false;
    }
    for (std::size_t i = 0; i < logonKeyword.size(); ++i) {
        if (AsciiUpper(argument[i]) != logonKeyword[i]) {
            return false;
        }
    }
    return true;
}

void AppendPassedOnArgument(std::string& arguments, std::string_view argument)
{
    arguments += ' ';
    if (!HoldsBlank(argument) || argument.find('"') != std::string_view::npos) {
        arguments += argument;
        return;
    }
    const std::size_t equals = MbsFindFirst(argument, '=');
    const bool isAssignment = equals != std::string_view::npos && equals > 0 &&
                              !HoldsBlank(argument.substr(0, equals));
    if (isAssignment) {
        arguments += argument.substr(0, equals + 1);
        arguments += '"';
        arguments += argument.substr(equals + 1);
        arguments += '"';
    } else {
        arguments += '"';
        arguments += argument;
        arguments += '"';
    }
}

void BuildInstallerArguments(int count, const char* const* vector, std::string& arguments,
                             Credentials& credentials)
{
    for (int i = 1; i < count; ++i) {
        const std::string_view argument = vector[i] != nullptr ? vector[i] : "";
        if (IsLogonArgument(argument)) {
            TakeLogonArgument(argument, credentials);
        } else {
            AppendPassedOnArgument(arguments, argument);
        }
    }
}
