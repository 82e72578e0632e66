/* The floor for timing Setup.exe under Wine: a program that makes only the
 * platform calls the launcher must make for a plain start, in the same order,
 * and nothing else. Built like Setup.exe (mingw-w64, static, GUI subsystem)
 * by scripts/benchmark.sh. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)show;

    CoInitialize(NULL);
    SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_CONNECT);
    SC_HANDLE service = OpenServiceA(manager, "WinMgmt", SERVICE_QUERY_STATUS);
    SERVICE_STATUS status;
    QueryServiceStatus(service, &status);
    CloseServiceHandle(service);
    CloseServiceHandle(manager);

    static const char msiexec[] = "\\msiexec.exe";
    char installer[MAX_PATH + sizeof msiexec];
    const UINT length = GetSystemDirectoryA(installer, MAX_PATH);
    for (UINT i = 0; i < sizeof msiexec; ++i) {
        installer[length + i] = msiexec[i];
    }
    char arguments[] = "msiexec.exe /i Tolmo.msi  /qn";
    STARTUPINFOA startupInfo = {0};
    startupInfo.cb = sizeof startupInfo;
    PROCESS_INFORMATION process = {0};
    const BOOL started =
        CreateProcessA(installer, arguments, NULL, NULL, FALSE, 0, NULL, NULL, &startupInfo, &process);
    if (started) {
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }

    CoUninitialize();
    return started ? 0 : (int)GetLastError();
}
