// The recording fake behind platform/windows.h on Linux.
//
// Every Windows function the launcher calls is defined here. Each call is
// appended to a log (its name, and for closes which handle), its arguments are
// kept, and it answers what the test scripted in fake::State(). Tests call
// fake::Reset() first (PlatformTest does it for them).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace fake {

// Handles the fake hands out; closes are logged with these names.
inline HANDLE const processHandle = reinterpret_cast<HANDLE>(0x2001);
inline HANDLE const threadHandle = reinterpret_cast<HANDLE>(0x2002);
inline SC_HANDLE const managerHandle = reinterpret_cast<SC_HANDLE>(0x1001);
inline SC_HANDLE const serviceHandle = reinterpret_cast<SC_HANDLE>(0x1002);
inline HMODULE const advapiModule = reinterpret_cast<HMODULE>(0x3001);

// What every failing call leaves as last error unless scripted otherwise, and
// what every other call leaves behind, so that reading GetLastError anywhere
// but right after the failed call shows.
constexpr DWORD clobberedLastError = 0xC1088E5u;

struct MessageBoxCall {
    HWND owner;
    std::string text;
    std::string caption;
    UINT style;
};

struct CreateProcessCall {
    std::optional<std::string> applicationName;
    std::string commandLine;
    bool securityAttributesNull;
    BOOL inheritHandles;
    DWORD creationFlags;
    bool environmentNull;
    std::optional<std::string> currentDirectory;
    DWORD startupInfoSize;
    bool startupInfoRestZero;
    bool processInformationZero;
};

struct LogonCall {
    std::u16string userName;
    std::u16string domain;
    std::u16string password;
    DWORD logonFlags;
    std::optional<std::u16string> applicationName;
    std::u16string commandLine;
    DWORD creationFlags;
    bool environmentNull;
    std::optional<std::u16string> currentDirectory;
    DWORD startupInfoSize;
    bool startupInfoRestZero;
    bool processInformationZero;
};

struct Platform {
    // --- Script -------------------------------------------------------------
    UINT errorMode = 0;
    std::string modulePath = "C:\\Instala\\Setup.exe";

    DWORD managerError = ERROR_SUCCESS;  // non-zero: OpenSCManagerA fails with it
    DWORD serviceError = ERROR_SUCCESS;  // non-zero: OpenServiceA fails with it
    DWORD queryError = ERROR_SUCCESS;    // non-zero: QueryServiceStatus fails with it
    DWORD serviceState = SERVICE_RUNNING;

    std::optional<std::string> systemDirectory = "C:\\windows\\system32";  // nullopt: fails
    DWORD systemDirectoryError = ERROR_ACCESS_DENIED;
    std::optional<std::string> currentDirectory = "C:\\Instala";  // nullopt: fails
    DWORD currentDirectoryError = ERROR_ACCESS_DENIED;

    BOOL createProcessResult = TRUE;
    DWORD createProcessError = ERROR_FILE_NOT_FOUND;

    bool libraryLoads = true;
    DWORD loadLibraryError = ERROR_MOD_NOT_FOUND;
    bool entryPointFound = true;
    DWORD getProcAddressError = ERROR_PROC_NOT_FOUND;
    BOOL logonResult = TRUE;
    DWORD logonError = ERROR_LOGON_FAILURE;

    int failingConversion = -1;  // index of the MultiByteToWideChar call that fails
    std::set<BYTE> leadBytes;    // empty: a single-byte ANSI code page

    // --- Record -------------------------------------------------------------
    std::vector<std::string> calls;
    DWORD lastError = clobberedLastError;
    std::vector<UINT> errorModesSet;
    std::vector<std::string> openedServices;
    std::vector<DWORD> serviceAccess;
    DWORD managerAccess = 0;
    bool managerArgumentsNull = false;
    std::vector<MessageBoxCall> messageBoxes;
    std::vector<CreateProcessCall> createProcessCalls;
    std::vector<LogonCall> logonCalls;
    std::vector<std::string> loadedLibraries;
    std::vector<std::string> entryPointsLookedUp;
    std::vector<DWORD> waits;  // timeout of each WaitForSingleObject on the process
    int conversions = 0;

    // The wide password buffer handed to CreateProcessWithLogonW, read back at
    // the first call the launcher makes after it (the buffer is still alive
    // then), and what it held at that moment.
    const WCHAR* passwordBuffer = nullptr;
    std::size_t passwordLength = 0;
    std::optional<std::u16string> passwordAfterStart;
};

Platform& State();
void Reset();

// Lead bytes of code page 932 (Japanese Shift-JIS).
void UseCodePage932();

// The calls logged so far whose name is one of `names`, in order.
std::vector<std::string> CallsAmong(const std::vector<std::string>& names);

// Windows-1252 bytes to UTF-16 as the fake's CP_ACP conversion does it.
std::u16string Widen(const std::string& narrow);

}  // namespace fake

// Base fixture: a fresh fake for every test.
class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override { fake::Reset(); }
    fake::Platform& platform() { return fake::State(); }
};
