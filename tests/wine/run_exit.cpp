// Runs the command line that follows its own name, waits for it to end and
// prints its exit code whole. The wine loader hands only the low eight bits
// of a program's exit code to Linux, and the launcher's codes go up to 1062
// and beyond.
//
//   wine run_exit.exe Setup.exe /qn   ->   prints "pid=0120" and "exit=1062"
//
// The process id (in hex, as Wine's +pid debug channel prints it) tells
// the child's lines of a relay trace from those of other processes.
#include <windows.h>

#include <cstdio>

#include "installer/child_process.h"

namespace {

// The command line after the first token (this program's own name), which
// the platform's rules delimit by double quotes or by the first blank.
wchar_t* AfterOwnName(wchar_t* line)
{
    bool quoted = false;
    for (; *line != L'\0'; ++line) {
        if (*line == L'"') {
            quoted = !quoted;
        } else if (!quoted && (*line == L' ' || *line == L'\t')) {
            break;
        }
    }
    while (*line == L' ' || *line == L'\t') {
        ++line;
    }
    return line;
}

}  // namespace

int main()
{
    wchar_t* const commandLine = AfterOwnName(GetCommandLineW());
    STARTUPINFOW startupInfo{};
    startupInfo.cb = sizeof startupInfo;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startupInfo,
                        &process)) {
        std::printf("run_exit: cannot start (error %lu)\n", GetLastError());
        return 2;
    }
    std::printf("pid=%04lx\n", process.dwProcessId);
    std::fflush(stdout);
    const ChildProcess child(process);
    DWORD code = 0;
    const bool ended = WaitForSingleObject(child.Process(), 60000) == WAIT_OBJECT_0;
    if (!ended) {
        TerminateProcess(child.Process(), 1);
        std::printf("run_exit: timed out\n");
    } else {
        GetExitCodeProcess(child.Process(), &code);
        std::printf("exit=%lu\n", code);
    }
    std::fflush(stdout);
    return ended ? 0 : 3;
}
