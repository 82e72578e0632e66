#include "framework/app_name.h"

#include <windows.h>

#include "framework/mbcs.h"

std::string AppNameFromModulePath(std::string_view modulePath)
{
    const std::size_t separator = MbsFindLastOf(modulePath, "\\/");
    std::string_view fileName =
        separator == std::string_view::npos ? modulePath : modulePath.substr(separator + 1);
    const std::size_t dot = MbsFindLastOf(fileName, ".");
    if (dot != std::string_view::npos) {
        fileName = fileName.substr(0, dot);
    }
    return std::string(fileName);
}

std::string ReadModuleFileName()
{
    // Windows paths can be far longer than MAX_PATH (up to 32,767 units with
    // the \\?\ prefix). GetModuleFileNameA fills the whole buffer when it
    // cuts the path off, so grow the buffer until the path fits with room
    // to spare.
    constexpr std::size_t longestPath = 32768;
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() > longestPath) {
            return {};
        }
        path.resize(path.size() * 2);
    }
}
