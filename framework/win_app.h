// The framework's application class.
//
// CWinThread carries the initialisation hook and the exit routine of the
// main thread; CWinApp adds what belongs to the one application of the
// process: its name (the caption of every message box), its argument vector,
// its exit status and its message box. Constructing a CWinApp makes it the
// framework's application object; AfxWinMain (framework/entry.h) then runs it.
#pragma once

#include <windows.h>

#include <string>

#include "framework/cmd_target.h"

class CWinThread : public CCmdTarget {
public:
    // Called once on the main thread. Returning false ends the run: no message
    // loop is started and the exit routine follows at once.
    virtual BOOL InitInstance();

    // The exit routine. Its result is the process's exit status.
    virtual int ExitInstance();
};

class CWinApp : public CWinThread {
public:
    // A null or empty name lets the framework's entry point name the
    // application after its executable file (see AppNameFromModulePath).
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    const MessageMap* GetMessageMap() const override;

    // The framework's own initialisation step, run before the hook.
    virtual BOOL InitApplication();

    // Writes nothing and returns the exit status set by the application
    // (ERROR_SUCCESS unless it set another one).
    int ExitInstance() override;

    // Shows a modal message box owned by no window, with the application name
    // as caption and the style adjusted by AdjustMessageBoxStyle.
    virtual int DoMessageBox(const std::string& text, UINT style, UINT helpContext);

    const std::string& AppName() const { return appName_; }
    int ArgumentCount() const { return argumentCount_; }
    const char* const* Arguments() const { return arguments_; }

    // Set by the framework's entry point before the hook runs.
    void SetAppName(std::string name) { appName_ = std::move(name); }
    void SetArguments(int count, const char* const* arguments);

protected:
    // What ExitInstance returns: 0 when the run did its job, else a Windows
    // error code that tells scripts and deployment tools what went wrong.
    void SetExitStatus(DWORD status) { exitStatus_ = status; }

private:
    std::string appName_;
    int argumentCount_ = 0;
    const char* const* arguments_ = nullptr;
    DWORD exitStatus_ = ERROR_SUCCESS;
};

// The application object, or null before one is constructed.
CWinApp* AfxGetApp();

// The application's message box; see CWinApp::DoMessageBox.
int AfxMessageBox(const std::string& text, UINT style, UINT helpContext);

// A style that asks for no icon gains one that fits its buttons: the warning
// icon for OK and OK-Cancel, the question mark for Yes-No and Yes-No-Cancel.
// Any other style is returned as it is.
UINT AdjustMessageBoxStyle(UINT style);
