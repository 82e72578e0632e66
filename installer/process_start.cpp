// The two ways of starting the installer: as the current user, and under
// another account through CreateProcessWithLogonW. Neither waits for the
// installer unless asked to; the launcher ends right after the start.
#include <windows.h>

#include "app/instala_app.h"
#include "framework/unique_handle.h"
#include "installer/child_process.h"
#include "installer/logon_failure_message.h"
#include "installer/secure_wipe.h"
#include "installer/start_result.h"
#include "installer/system_paths.h"
#include "installer/wide_string.h"

namespace {

// CreateProcessWithLogonW is looked up at run time in Advapi32.dll rather
// than linked, so that Setup.exe loads even where the entry point is missing.
using CreateProcessWithLogonWFunction = BOOL(WINAPI*)(LPCWSTR userName, LPCWSTR domain,
                                                      LPCWSTR password, DWORD logonFlags,
                                                      LPCWSTR applicationName, LPWSTR commandLine,
                                                      DWORD creationFlags, LPVOID environment,
                                                      LPCWSTR currentDirectory,
                                                      LPSTARTUPINFOW startupInfo,
                                                      LPPROCESS_INFORMATION processInformation);

CreateProcessWithLogonWFunction FindCreateProcessWithLogonW(HMODULE advapi)
{
    // Through a plain function pointer type, as GetProcAddress's result type
    // stands for any entry point.
    return reinterpret_cast<CreateProcessWithLogonWFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(advapi, "CreateProcessWithLogonW")));
}

}  // namespace

DWORD CInstalaApp::RunProcess(std::string& commandLine, BOOL wait)
{
    const PlatformString<std::string> installer = InstallerApplicationName();
    if (installer.error != ERROR_SUCCESS) {
        return installer.error;
    }

    STARTUPINFOA startupInfo{};
    startupInfo.cb = sizeof startupInfo;
    PROCESS_INFORMATION processInformation{};
    // The child starts in the launcher's current directory (null), where the
    // package lies. The command line buffer is the string's own, writable.
    if (!CreateProcessA(installer.text.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startupInfo, &processInformation)) {
        return FailureCode(GetLastError());
    }

    const ChildProcess child(processInformation);
    if (wait) {
        WaitForSingleObject(child.Process(), INFINITE);
    }
    return ERROR_SUCCESS;
}

DWORD CInstalaApp::RunProcessAsUser(const std::string& commandLine, BOOL wait, const std::string& domain,
                                    const std::string& userName, std::string& password)
{
    const UniqueModule advapi(LoadLibraryA("Advapi32.dll"));
    if (!advapi) {
        return FailureCode(GetLastError());
    }
    const CreateProcessWithLogonWFunction createProcessWithLogonW = FindCreateProcessWithLogonW(advapi.get());
    if (createProcessWithLogonW == nullptr) {
        return FailureCode(GetLastError());
    }

    const PlatformString<std::string> currentDirectory = ReadCurrentDirectory();
    if (currentDirectory.error != ERROR_SUCCESS) {
        return currentDirectory.error;
    }
    const PlatformString<std::string> installer = InstallerApplicationName();
    if (installer.error != ERROR_SUCCESS) {
        return installer.error;
    }

    // Every buffer is sized to its string, so nothing reaches the platform cut
    // off or unterminated, however long the strings are.
    PlatformString<WideString> wideCommandLine = ToWide(commandLine);
    if (wideCommandLine.error != ERROR_SUCCESS) {
        return wideCommandLine.error;
    }
    const PlatformString<WideString> wideDomain = ToWide(domain);
    if (wideDomain.error != ERROR_SUCCESS) {
        return wideDomain.error;
    }
    const PlatformString<WideString> wideUserName = ToWide(userName);
    if (wideUserName.error != ERROR_SUCCESS) {
        return wideUserName.error;
    }
    const PlatformString<WideString> wideCurrentDirectory = ToWide(currentDirectory.text);
    if (wideCurrentDirectory.error != ERROR_SUCCESS) {
        return wideCurrentDirectory.error;
    }
    const PlatformString<WideString> wideInstaller = ToWide(installer.text);
    if (wideInstaller.error != ERROR_SUCCESS) {
        return wideInstaller.error;
    }

    // The password is converted last, so that no early return lies between
    // its conversion and the start.
    PlatformString<WideString> widePassword = ToWide(password);
    if (widePassword.error != ERROR_SUCCESS) {
        return widePassword.error;
    }

    STARTUPINFOW startupInfo{};
    startupInfo.cb = sizeof startupInfo;
    PROCESS_INFORMATION processInformation{};
    const BOOL started = createProcessWithLogonW(
        wideUserName.text.c_str(), wideDomain.text.c_str(), widePassword.text.c_str(), 0,
        wideInstaller.text.c_str(), wideCommandLine.text.data(), 0, nullptr,
        wideCurrentDirectory.text.c_str(), &startupInfo, &processInformation);
    const DWORD startError = started ? ERROR_SUCCESS : GetLastError();

    // The platform has answered: neither copy of the password is needed again.
    SecureWipe(widePassword.text);
    SecureWipe(password);

    if (!started) {
        AfxMessageBox(FormatLogonFailureMessage(commandLine, userName, domain, startError), MB_OK, 0);
        return FailureCode(startError);
    }

    // Declared after the module, so the handles are closed before it is freed.
    const ChildProcess child(processInformation);
    if (wait) {
        WaitForSingleObject(child.Process(), INFINITE);
    }
    return ERROR_SUCCESS;
}
