// The launcher's application object: one global CInstalaApp whose
// initialisation hook does the whole run (check the WinMgmt service, build the
// installer command line, start the installer) and returns false, so that the
// process ends right after.
#pragma once

#include <windows.h>

#include <string>

#include "framework/win_app.h"

class CInstalaApp : public CWinApp {
public:
    // Initialises COM for the main thread for as long as the object lives.
    CInstalaApp();
    ~CInstalaApp() override;

    const MessageMap* GetMessageMap() const override;

    // The run. Always returns false; the exit status tells how it went.
    BOOL InitInstance() override;

    // " /i Tolmo.msi ": what follows "msiexec.exe" before the passed-on
    // arguments. (installer/installer_arguments.cpp)
    std::string GetPackageArguments() const;

    // Starts the installer command line as the current user. Returns
    // ERROR_SUCCESS once the installer process was started, else a Windows
    // error code. (installer/process_start.cpp)
    DWORD RunProcess(std::string& commandLine, BOOL wait);

    // Starts the installer command line under the given account through
    // CreateProcessWithLogonW and shows a message when the platform refuses.
    // Wipes `password` once the platform has answered. Returns as RunProcess.
    // (installer/process_start.cpp)
    DWORD RunProcessAsUser(const std::string& commandLine, BOOL wait, const std::string& domain,
                           const std::string& userName, std::string& password);
};
