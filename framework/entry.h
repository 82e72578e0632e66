// The framework's entry point: runs the application object once.
#pragma once

// Adds SEM_FAILCRITICALERRORS and SEM_NOOPENFILEERRORBOX to the process's
// error mode (the children it starts inherit it), names the application after
// its executable unless it has a name, hands it the argument vector, and runs
// its initialisation step, its initialisation hook and its exit routine.
// Returns the exit routine's result, which becomes the process's exit status:
// ERROR_NOT_ENOUGH_MEMORY if storage ran out on the way, and
// ERROR_INVALID_FUNCTION if no application object exists.
int AfxWinMain(int argumentCount, const char* const* arguments);
