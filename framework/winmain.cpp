// The executable's entry point on Windows.
#include <windows.h>

#include <cstdlib>

#include "framework/entry.h"

// Arguments reach the application exactly as typed: the mingw-w64 run time
// would otherwise expand * and ? against the current directory, turning
// "*.txt" into whatever files happen to lie there.
extern "C" {
int _dowildcard = 0;
}

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/)
{
    // The run time has split the command line by the platform's rules into
    // __argc/__argv, in the system's ANSI code page.
    return AfxWinMain(__argc, __argv);
}
