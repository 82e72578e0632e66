// What a start of the installer reports to the exit status.
#pragma once

#include <windows.h>

#include <string>

// The code for a platform call that failed: what GetLastError gave right after
// it, or ERROR_INSTALL_FAILURE where that was 0, so that a failure never
// reads as success.
inline DWORD FailureCode(DWORD lastError)
{
    return lastError != ERROR_SUCCESS ? lastError : static_cast<DWORD>(ERROR_INSTALL_FAILURE);
}

// A string the platform gave, or the code of the call that failed to give it.
template <typename String>
struct PlatformString {
    String text;
    DWORD error = ERROR_SUCCESS;  // ERROR_SUCCESS when `text` holds the answer
};
