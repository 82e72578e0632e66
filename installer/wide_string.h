// Narrow strings of the ANSI code page as UTF-16, for the start with a logon.
#pragma once

#include <windows.h>

#include <string>

#include "installer/start_result.h"

using WideString = std::basic_string<WCHAR>;

// `narrow` converted whole from CP_ACP, in a buffer sized to fit (the result's
// own terminator follows its last unit). On failure the partial result is
// wiped and dropped, since the string may be a password.
PlatformString<WideString> ToWide(const std::string& narrow);
