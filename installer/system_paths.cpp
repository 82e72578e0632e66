#include "installer/system_paths.h"

#include <windows.h>

namespace {

// GetCurrentDirectoryA and GetSystemDirectoryA share one contract: given a
// buffer too small they return the size needed, terminator included; given
// one large enough they return the length written, without terminator; 0 on
// failure. `read(buffer, size)` makes one such call.
template <typename Read>
PlatformString<std::string> ReadSizedString(Read read)
{
    PlatformString<std::string> result;
    std::size_t size = MAX_PATH;
    for (int attempt = 0; attempt < 4; ++attempt) {
        result.text.assign(size, '\0');
        const DWORD length = read(result.text.data(), static_cast<DWORD>(size));
        if (length == 0) {
            result.text.clear();
            result.error = FailureCode(GetLastError());
            return result;
        }
        if (length < size) {
            result.text.resize(length);
            return result;
        }
        size = length;  // too small: the size it needs, terminator included
    }
    // The string kept growing between calls.
    result.text.clear();
    result.error = ERROR_INSUFFICIENT_BUFFER;
    return result;
}

}  // namespace

PlatformString<std::string> ReadCurrentDirectory()
{
    return ReadSizedString([](char* buffer, DWORD size) { return GetCurrentDirectoryA(size, buffer); });
}

PlatformString<std::string> InstallerApplicationName()
{
    PlatformString<std::string> folder =
        ReadSizedString([](char* buffer, DWORD size) { return GetSystemDirectoryA(buffer, size); });
    if (folder.error == ERROR_SUCCESS) {
        folder.text += "\\msiexec.exe";
    }
    return folder;
}
