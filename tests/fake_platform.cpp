#include "tests/fake_platform.h"

#include "tests/allocation_failure.h"

#include <algorithm>
#include <cstring>

namespace fake {
namespace {

Platform state;

// Windows-1252's 0x80..0x9F; undefined positions map to themselves as
// Windows does.
constexpr char16_t cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Logs the call and leaves a last error that no one should read.
void Log(std::string call)
{
    state.calls.push_back(std::move(call));
    state.lastError = clobberedLastError;
    if (state.passwordBuffer != nullptr && !state.passwordAfterStart) {
        state.passwordAfterStart = std::u16string(state.passwordBuffer, state.passwordLength);
    }
}

template <typename Record>
bool AllZero(const Record& record, std::size_t from)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
    return std::all_of(bytes + from, bytes + sizeof(Record), [](unsigned char b) { return b == 0; });
}

std::optional<std::string> Narrow(const char* text)
{
    return text != nullptr ? std::optional<std::string>(text) : std::nullopt;
}

std::optional<std::u16string> Wide(const WCHAR* text)
{
    return text != nullptr ? std::optional<std::u16string>(text) : std::nullopt;
}

// The GetCurrentDirectoryA / GetSystemDirectoryA contract.
DWORD CopyOut(const std::optional<std::string>& text, DWORD failure, char* buffer, DWORD size)
{
    if (!text) {
        state.lastError = failure;
        return 0;
    }
    if (size < text->size() + 1) {
        return static_cast<DWORD>(text->size() + 1);
    }
    std::memcpy(buffer, text->c_str(), text->size() + 1);
    return static_cast<DWORD>(text->size());
}

std::string HandleName(const void* handle)
{
    if (handle == processHandle) return "process";
    if (handle == threadHandle) return "thread";
    if (handle == managerHandle) return "manager";
    if (handle == serviceHandle) return "service";
    if (handle == advapiModule) return "advapi";
    return "unknown";
}

BOOL FakeCreateProcessWithLogonW(LPCWSTR userName, LPCWSTR domain, LPCWSTR password, DWORD logonFlags,
                                 LPCWSTR applicationName, LPWSTR commandLine, DWORD creationFlags,
                                 LPVOID environment, LPCWSTR currentDirectory, LPSTARTUPINFOW startupInfo,
                                 LPPROCESS_INFORMATION processInformation)
{
    const fake::AllocationPause pause;
    Log("CreateProcessWithLogonW");
    state.logonCalls.push_back({userName, domain, password, logonFlags, Wide(applicationName),
                                commandLine, creationFlags, environment == nullptr,
                                Wide(currentDirectory), startupInfo->cb,
                                AllZero(*startupInfo, sizeof(DWORD)), AllZero(*processInformation, 0)});
    state.passwordBuffer = password;
    state.passwordLength = std::char_traits<char16_t>::length(password);
    if (!state.logonResult) {
        state.lastError = state.logonError;
        return FALSE;
    }
    processInformation->hProcess = processHandle;
    processInformation->hThread = threadHandle;
    return TRUE;
}

}  // namespace

Platform& State()
{
    return state;
}

void Reset()
{
    state = Platform{};
}

void UseCodePage932()
{
    state.leadBytes.clear();
    for (int b = 0x81; b <= 0x9F; ++b) state.leadBytes.insert(static_cast<BYTE>(b));
    for (int b = 0xE0; b <= 0xFC; ++b) state.leadBytes.insert(static_cast<BYTE>(b));
}

std::vector<std::string> CallsAmong(const std::vector<std::string>& names)
{
    std::vector<std::string> found;
    for (const std::string& call : state.calls) {
        const std::string name = call.substr(0, call.find('('));
        if (std::find(names.begin(), names.end(), name) != names.end()) {
            found.push_back(call);
        }
    }
    return found;
}

std::u16string Widen(const std::string& narrow)
{
    std::u16string wide;
    for (std::size_t i = 0; i < narrow.size(); ++i) {
        const auto byte = static_cast<unsigned char>(narrow[i]);
        if (state.leadBytes.count(byte) != 0 && i + 1 < narrow.size()) {
            // A double-byte character: one code unit made of both bytes.
            wide.push_back(static_cast<char16_t>(byte << 8 | static_cast<unsigned char>(narrow[++i])));
        } else if (byte >= 0x80 && byte <= 0x9F) {
            wide.push_back(cp1252High[byte - 0x80]);
        } else {
            wide.push_back(byte);
        }
    }
    return wide;
}

}  // namespace fake

using fake::Log;
using fake::state;

DWORD GetLastError()
{
    const fake::AllocationPause pause;
    state.calls.emplace_back("GetLastError");
    return state.lastError;
}

UINT GetErrorMode()
{
    const fake::AllocationPause pause;
    Log("GetErrorMode");
    return state.errorMode;
}

UINT SetErrorMode(UINT mode)
{
    const fake::AllocationPause pause;
    Log("SetErrorMode");
    const UINT previous = state.errorMode;
    state.errorMode = mode;
    state.errorModesSet.push_back(mode);
    return previous;
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size)
{
    const fake::AllocationPause pause;
    Log("GetModuleFileNameA");
    if (module != nullptr) {
        state.lastError = ERROR_MOD_NOT_FOUND;
        return 0;
    }
    // Like Windows: a path that does not fit is cut to size-1 and
    // terminated, and the result is the full buffer size.
    if (size == 0) {
        state.lastError = ERROR_INSUFFICIENT_BUFFER;
        return 0;
    }
    const std::size_t copied = std::min<std::size_t>(state.modulePath.size(), size - 1);
    std::memcpy(fileName, state.modulePath.data(), copied);
    fileName[copied] = '\0';
    if (copied < state.modulePath.size()) {
        state.lastError = ERROR_INSUFFICIENT_BUFFER;
        return size;
    }
    return static_cast<DWORD>(copied);
}

DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer)
{
    const fake::AllocationPause pause;
    Log("GetCurrentDirectoryA");
    return fake::CopyOut(state.currentDirectory, state.currentDirectoryError, buffer, size);
}

UINT GetSystemDirectoryA(LPSTR buffer, UINT size)
{
    const fake::AllocationPause pause;
    Log("GetSystemDirectoryA");
    return fake::CopyOut(state.systemDirectory, state.systemDirectoryError, buffer, size);
}

BOOL IsDBCSLeadByteEx(UINT codePage, BYTE testChar)
{
    const fake::AllocationPause pause;
    // Not logged: called for every byte scanned.
    return codePage == CP_ACP && state.leadBytes.count(testChar) != 0 ? TRUE : FALSE;
}

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength, LPWSTR destination,
                        int destinationSize)
{
    const fake::AllocationPause pause;
    Log("MultiByteToWideChar");
    const int index = state.conversions++;
    if (index == state.failingConversion || codePage != CP_ACP || flags != 0 || sourceLength != -1) {
        state.lastError = ERROR_NO_UNICODE_TRANSLATION;
        return 0;
    }
    std::u16string wide = fake::Widen(source);
    wide.push_back(u'\0');
    const int needed = static_cast<int>(wide.size());
    if (destinationSize == 0) {
        return needed;
    }
    if (destinationSize < needed) {
        state.lastError = ERROR_INSUFFICIENT_BUFFER;
        return 0;
    }
    std::copy(wide.begin(), wide.end(), destination);
    return needed;
}

HMODULE LoadLibraryA(LPCSTR name)
{
    const fake::AllocationPause pause;
    Log("LoadLibraryA");
    state.loadedLibraries.emplace_back(name);
    if (!state.libraryLoads) {
        state.lastError = state.loadLibraryError;
        return nullptr;
    }
    return fake::advapiModule;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name)
{
    const fake::AllocationPause pause;
    Log("GetProcAddress");
    state.entryPointsLookedUp.emplace_back(name);
    if (module != fake::advapiModule || !state.entryPointFound ||
        std::strcmp(name, "CreateProcessWithLogonW") != 0) {
        state.lastError = state.getProcAddressError;
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&fake::FakeCreateProcessWithLogonW));
}

BOOL FreeLibrary(HMODULE module)
{
    const fake::AllocationPause pause;
    Log("FreeLibrary(" + fake::HandleName(module) + ")");
    return TRUE;
}

BOOL CreateProcessA(LPCSTR applicationName, LPSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                    LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                    LPVOID environment, LPCSTR currentDirectory, LPSTARTUPINFOA startupInfo,
                    LPPROCESS_INFORMATION processInformation)
{
    const fake::AllocationPause pause;
    Log("CreateProcessA");
    state.createProcessCalls.push_back({fake::Narrow(applicationName), commandLine,
                                        processAttributes == nullptr && threadAttributes == nullptr,
                                        inheritHandles, creationFlags, environment == nullptr,
                                        fake::Narrow(currentDirectory), startupInfo->cb,
                                        fake::AllZero(*startupInfo, sizeof(DWORD)),
                                        fake::AllZero(*processInformation, 0)});
    if (!state.createProcessResult) {
        state.lastError = state.createProcessError;
        return FALSE;
    }
    processInformation->hProcess = fake::processHandle;
    processInformation->hThread = fake::threadHandle;
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds)
{
    const fake::AllocationPause pause;
    Log("WaitForSingleObject(" + fake::HandleName(handle) + ")");
    state.waits.push_back(milliseconds);
    return 0;
}

BOOL CloseHandle(HANDLE handle)
{
    const fake::AllocationPause pause;
    Log("CloseHandle(" + fake::HandleName(handle) + ")");
    return TRUE;
}

SC_HANDLE OpenSCManagerA(LPCSTR machineName, LPCSTR databaseName, DWORD access)
{
    const fake::AllocationPause pause;
    Log("OpenSCManagerA");
    state.managerArgumentsNull = machineName == nullptr && databaseName == nullptr;
    state.managerAccess = access;
    if (state.managerError != ERROR_SUCCESS) {
        state.lastError = state.managerError;
        return nullptr;
    }
    return fake::managerHandle;
}

SC_HANDLE OpenServiceA(SC_HANDLE manager, LPCSTR serviceName, DWORD access)
{
    const fake::AllocationPause pause;
    Log("OpenServiceA");
    state.openedServices.emplace_back(serviceName);
    state.serviceAccess.push_back(access);
    if (manager != fake::managerHandle || state.serviceError != ERROR_SUCCESS) {
        state.lastError = state.serviceError;
        return nullptr;
    }
    return fake::serviceHandle;
}

BOOL QueryServiceStatus(SC_HANDLE service, LPSERVICE_STATUS status)
{
    const fake::AllocationPause pause;
    Log("QueryServiceStatus");
    if (service != fake::serviceHandle || state.queryError != ERROR_SUCCESS) {
        state.lastError = state.queryError;
        return FALSE;
    }
    *status = SERVICE_STATUS{};
    status->dwServiceType = 0x10;
    status->dwCurrentState = state.serviceState;
    return TRUE;
}

BOOL CloseServiceHandle(SC_HANDLE handle)
{
    const fake::AllocationPause pause;
    Log("CloseServiceHandle(" + fake::HandleName(handle) + ")");
    return TRUE;
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style)
{
    const fake::AllocationPause pause;
    Log("MessageBoxA");
    state.messageBoxes.push_back({owner, text, caption != nullptr ? caption : "<null>", style});
    return 1;  // IDOK
}

HRESULT CoInitialize(LPVOID reserved)
{
    const fake::AllocationPause pause;
    Log(reserved == nullptr ? "CoInitialize" : "CoInitialize(non-null)");
    return 0;
}

void CoUninitialize()
{
    const fake::AllocationPause pause;
    Log("CoUninitialize");
}
