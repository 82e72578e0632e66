// A stand-in "msiexec.exe" planted where a launcher that searched for the
// installer by its bare name would find it first. If it ever runs, it leaves
// a marker file beside itself: <its own path>.ran
#include <windows.h>

#include <string>

#include "framework/unique_handle.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    std::string path(32768, '\0');
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    path += ".ran";
    // The file's existence is the whole message: closed again at once.
    const HANDLE marker =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker != INVALID_HANDLE_VALUE) {
        const UniqueHandle owner(marker);
    }
    return 0;
}
