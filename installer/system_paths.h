// Paths the installer start needs, read whole however long they are.
#pragma once

#include <string>

#include "installer/start_result.h"

// The launcher's current directory.
PlatformString<std::string> ReadCurrentDirectory();

// The system folder's msiexec.exe (for example C:\Windows\system32\msiexec.exe).
// Starting it by this full path keeps the platform from looking for a bare
// "msiexec.exe" in the launcher's own folder or the current directory first,
// where anyone could have dropped a program of that name.
PlatformString<std::string> InstallerApplicationName();
