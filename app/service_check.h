// The launcher's one precondition: the Windows Management Instrumentation
// service must not be reported in any state but running.
#pragma once

#include <windows.h>

// False only when the service manager positively reports "WinMgmt" in a state
// other than SERVICE_RUNNING. When the manager cannot be reached, the service
// cannot be opened or its status cannot be read, the run goes on (true).
BOOL IsWinMgmtRunning();
