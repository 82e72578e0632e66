// The application name that captions every message box: the running
// executable's file name without its directory and without its last
// extension ("Setup" for C:\Downloads\Setup.exe, "instala.novo" for
// instala.novo.exe).
#pragma once

#include <string>
#include <string_view>

// The name for an executable at `modulePath`.
std::string AppNameFromModulePath(std::string_view modulePath);

// The full path of the running executable, however long; empty if the
// platform cannot tell it.
std::string ReadModuleFileName();
