#include "app/service_check.h"

#include "framework/unique_handle.h"

BOOL IsWinMgmtRunning()
{
    const UniqueServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) {
        return TRUE;
    }
    // Declared after the manager, so it is closed first.
    const UniqueServiceHandle service(OpenServiceA(manager.get(), "WinMgmt", SERVICE_QUERY_STATUS));
    if (!service) {
        return TRUE;
    }
    SERVICE_STATUS status{};
    if (!QueryServiceStatus(service.get(), &status)) {
        return TRUE;
    }
    return status.dwCurrentState == SERVICE_RUNNING ? TRUE : FALSE;
}
