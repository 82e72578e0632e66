#include "framework/entry.h"

#include <windows.h>

#include <new>

#include "framework/app_name.h"
#include "framework/win_app.h"

int AfxWinMain(int argumentCount, const char* const* arguments)
{
    CWinApp* const app = AfxGetApp();
    if (app == nullptr) {
        return ERROR_INVALID_FUNCTION;
    }
    try {
        SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
        if (app->AppName().empty()) {
            app->SetAppName(AppNameFromModulePath(ReadModuleFileName()));
        }
        app->SetArguments(argumentCount, arguments);

        // An application that returns false from its hook has nothing left to
        // run: there is no main window and so no message loop.
        if (app->InitApplication()) {
            app->InitInstance();
        }
        return app->ExitInstance();
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
}
