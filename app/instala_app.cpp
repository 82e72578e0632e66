#include "app/instala_app.h"

#include "app/service_check.h"
#include "installer/credentials.h"
#include "installer/installer_arguments.h"

namespace {

// "O serviço WinMgmt não está executando. Não é possível continuar a
// instalação." in Windows-1252.
constexpr const char* serviceNotRunningMessage =
    "O servi\xE7o WinMgmt n\xE3o est\xE1 executando. N\xE3o \xE9 poss\xEDvel continuar a instala\xE7\xE3o.";

}  // namespace

CInstalaApp::CInstalaApp() : CWinApp(nullptr)
{
    // Nothing in the launcher depends on COM being available; the installer
    // it starts initialises COM for itself.
    static_cast<void>(CoInitialize(nullptr));
}

CInstalaApp::~CInstalaApp()
{
    CoUninitialize();
}

const MessageMap* CInstalaApp::GetMessageMap() const
{
    // The launcher handles no window message or command of its own: an empty
    // map that chains to the application class's.
    static const MessageMap map{CWinApp::GetMessageMap(), 0};
    return &map;
}

BOOL CInstalaApp::InitInstance()
{
    if (!IsWinMgmtRunning()) {
        AfxMessageBox(serviceNotRunningMessage, MB_OK | MB_ICONERROR, 0);
        SetExitStatus(ERROR_SERVICE_NOT_ACTIVE);
        return FALSE;
    }

    const std::string installerProgram = "msiexec.exe";
    std::string arguments = GetPackageArguments();
    Credentials credentials;  // wipes the password it holds when the run ends
    BuildInstallerArguments(ArgumentCount(), Arguments(), arguments, credentials);
    std::string commandLine = installerProgram + arguments;

    const DWORD status = credentials.logonRequested
                             ? RunProcessAsUser(commandLine, FALSE, credentials.domain,
                                                credentials.userName, credentials.password)
                             : RunProcess(commandLine, FALSE);
    SetExitStatus(status);
    return FALSE;
}
