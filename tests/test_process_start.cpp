// Starting the installer: RunProcess as the current user, RunProcessAsUser
// under another account.
#include <string>
#include <vector>

#include "app/instala_app.h"
#include "installer/logon_failure_message.h"
#include "tests/fake_platform.h"

namespace {

const std::string systemMsiexec = "C:\\windows\\system32\\msiexec.exe";

class StartTest : public PlatformTest {
protected:
    void SetUp() override
    {
        PlatformTest::SetUp();
        app.SetAppName("Setup");
    }

    DWORD RunAsUser(BOOL wait = FALSE)
    {
        return app.RunProcessAsUser(commandLine, wait, domain, userName, password);
    }

    CInstalaApp app;
    std::string commandLine = "msiexec.exe /i Tolmo.msi  /qn";
    std::string domain = "OFFICE";
    std::string userName = "setup";
    std::string password = "s3cr3t";
};

// --- Plain start ----------------------------------------------------------------

struct PlainCase {
    const char* name;
    BOOL wait;
    BOOL createResult;
    DWORD createError;
    bool systemDirectoryReadable;
    DWORD status;
    std::vector<std::string> calls;
};

void PrintTo(const PlainCase& c, std::ostream* os)
{
    *os << c.name;
}

class PlainStartTest : public StartTest, public ::testing::WithParamInterface<PlainCase> {};

TEST_P(PlainStartTest, StartsClosesAndReports)
{
    const PlainCase& c = GetParam();
    platform().createProcessResult = c.createResult;
    platform().createProcessError = c.createError;
    if (!c.systemDirectoryReadable) {
        platform().systemDirectory.reset();
        platform().systemDirectoryError = ERROR_ACCESS_DENIED;
    }

    EXPECT_EQ(app.RunProcess(commandLine, c.wait), c.status);

    EXPECT_EQ(fake::CallsAmong({"GetSystemDirectoryA", "CreateProcessA", "GetLastError", "WaitForSingleObject",
                                "CloseHandle", "MessageBoxA"}),
              c.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Start, PlainStartTest,
    ::testing::Values(
        PlainCase{"Started", FALSE, TRUE, 0, true, ERROR_SUCCESS,
                  {"GetSystemDirectoryA", "CreateProcessA", "CloseHandle(process)", "CloseHandle(thread)"}},
        PlainCase{"StartedAndWaited", TRUE, TRUE, 0, true, ERROR_SUCCESS,
                  {"GetSystemDirectoryA", "CreateProcessA", "WaitForSingleObject(process)", "CloseHandle(process)",
                   "CloseHandle(thread)"}},
        PlainCase{"Refused", FALSE, FALSE, ERROR_FILE_NOT_FOUND, true, ERROR_FILE_NOT_FOUND,
                  {"GetSystemDirectoryA", "CreateProcessA", "GetLastError"}},
        PlainCase{"RefusedWithoutCode", FALSE, FALSE, 0, true, ERROR_INSTALL_FAILURE,
                  {"GetSystemDirectoryA", "CreateProcessA", "GetLastError"}},
        PlainCase{"NoSystemDirectory", FALSE, TRUE, 0, false, ERROR_ACCESS_DENIED,
                  {"GetSystemDirectoryA", "GetLastError"}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(StartTest, PlainStartRunsTheSystemFoldersMsiexecInTheCurrentDirectory)
{
    ASSERT_EQ(app.RunProcess(commandLine, FALSE), static_cast<DWORD>(ERROR_SUCCESS));

    ASSERT_EQ(platform().createProcessCalls.size(), 1u);
    const fake::CreateProcessCall& call = platform().createProcessCalls[0];
    EXPECT_EQ(call.applicationName, systemMsiexec);
    EXPECT_EQ(call.commandLine, "msiexec.exe /i Tolmo.msi  /qn");
    EXPECT_TRUE(call.securityAttributesNull);
    EXPECT_EQ(call.inheritHandles, FALSE);
    EXPECT_EQ(call.creationFlags, 0u);
    EXPECT_TRUE(call.environmentNull);
    EXPECT_EQ(call.currentDirectory, std::nullopt);
    EXPECT_EQ(call.startupInfoSize, sizeof(STARTUPINFOA));
    EXPECT_TRUE(call.startupInfoRestZero);
    EXPECT_TRUE(call.processInformationZero);
    EXPECT_EQ(platform().waits, std::vector<DWORD>{});
}

TEST_F(StartTest, SystemFolderOfAnyLengthIsUsedWhole)
{
    const std::string longFolder = "C:\\" + std::string(400, 'w') + "\\system32";
    platform().systemDirectory = longFolder;

    ASSERT_EQ(app.RunProcess(commandLine, FALSE), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(platform().createProcessCalls.at(0).applicationName, longFolder + "\\msiexec.exe");
}

// --- Start with a logon --------------------------------------------------------

struct LogonCase {
    const char* name;
    BOOL wait;
    bool libraryLoads;
    bool entryPointFound;
    bool systemDirectoryReadable;
    int failingConversion;
    BOOL logonResult;
    DWORD logonError;
    DWORD status;
    std::vector<std::string> calls;
};

void PrintTo(const LogonCase& c, std::ostream* os)
{
    *os << c.name;
}

class LogonStartTest : public StartTest, public ::testing::WithParamInterface<LogonCase> {};

TEST_P(LogonStartTest, StartsClosesFreesAndReports)
{
    const LogonCase& c = GetParam();
    platform().libraryLoads = c.libraryLoads;
    platform().entryPointFound = c.entryPointFound;
    if (!c.systemDirectoryReadable) {
        platform().systemDirectory.reset();
    }
    platform().failingConversion = c.failingConversion;
    platform().logonResult = c.logonResult;
    platform().logonError = c.logonError;

    EXPECT_EQ(RunAsUser(c.wait), c.status);

    EXPECT_EQ(fake::CallsAmong({"LoadLibraryA", "GetProcAddress", "GetSystemDirectoryA", "CreateProcessWithLogonW",
                                "GetLastError", "MessageBoxA", "WaitForSingleObject", "CloseHandle",
                                "FreeLibrary"}),
              c.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Start, LogonStartTest,
    ::testing::Values(
        LogonCase{"Started", FALSE, true, true, true, -1, TRUE, 0, ERROR_SUCCESS,
                  {"LoadLibraryA", "GetProcAddress", "GetSystemDirectoryA", "CreateProcessWithLogonW",
                   "CloseHandle(process)", "CloseHandle(thread)", "FreeLibrary(advapi)"}},
        LogonCase{"StartedAndWaited", TRUE, true, true, true, -1, TRUE, 0, ERROR_SUCCESS,
                  {"LoadLibraryA", "GetProcAddress", "GetSystemDirectoryA", "CreateProcessWithLogonW",
                   "WaitForSingleObject(process)", "CloseHandle(process)", "CloseHandle(thread)",
                   "FreeLibrary(advapi)"}},
        LogonCase{"Refused", FALSE, true, true, true, -1, FALSE, ERROR_LOGON_FAILURE, ERROR_LOGON_FAILURE,
                  {"LoadLibraryA", "GetProcAddress", "GetSystemDirectoryA", "CreateProcessWithLogonW",
                   "GetLastError", "MessageBoxA", "FreeLibrary(advapi)"}},
        LogonCase{"RefusedWithoutCode", FALSE, true, true, true, -1, FALSE, 0, ERROR_INSTALL_FAILURE,
                  {"LoadLibraryA", "GetProcAddress", "GetSystemDirectoryA", "CreateProcessWithLogonW",
                   "GetLastError", "MessageBoxA", "FreeLibrary(advapi)"}},
        LogonCase{"NoLibrary", FALSE, false, true, true, -1, TRUE, 0, ERROR_MOD_NOT_FOUND,
                  {"LoadLibraryA", "GetLastError"}},
        LogonCase{"NoEntryPoint", FALSE, true, false, true, -1, TRUE, 0, ERROR_PROC_NOT_FOUND,
                  {"LoadLibraryA", "GetProcAddress", "GetLastError", "FreeLibrary(advapi)"}},
        LogonCase{"NoSystemDirectory", FALSE, true, true, false, -1, TRUE, 0, ERROR_ACCESS_DENIED,
                  {"LoadLibraryA", "GetProcAddress", "GetSystemDirectoryA", "GetLastError", "FreeLibrary(advapi)"}},
        LogonCase{"ConversionFails", FALSE, true, true, true, 0, TRUE, 0, ERROR_NO_UNICODE_TRANSLATION,
                  {"LoadLibraryA", "GetProcAddress", "GetSystemDirectoryA", "GetLastError", "FreeLibrary(advapi)"}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(StartTest, LogonStartPassesTheAccountAndTheSystemFoldersMsiexec)
{
    ASSERT_EQ(RunAsUser(), static_cast<DWORD>(ERROR_SUCCESS));

    EXPECT_EQ(platform().loadedLibraries, std::vector<std::string>{"Advapi32.dll"});
    EXPECT_EQ(platform().entryPointsLookedUp, std::vector<std::string>{"CreateProcessWithLogonW"});
    ASSERT_EQ(platform().logonCalls.size(), 1u);
    const fake::LogonCall& call = platform().logonCalls[0];
    EXPECT_EQ(call.userName, u"setup");
    EXPECT_EQ(call.domain, u"OFFICE");
    EXPECT_EQ(call.password, u"s3cr3t");
    EXPECT_EQ(call.logonFlags, 0u);
    EXPECT_EQ(call.applicationName, fake::Widen(systemMsiexec));
    EXPECT_EQ(call.commandLine, u"msiexec.exe /i Tolmo.msi  /qn");
    EXPECT_EQ(call.creationFlags, 0u);
    EXPECT_TRUE(call.environmentNull);
    EXPECT_EQ(call.currentDirectory, u"C:\\Instala");
    EXPECT_EQ(call.startupInfoSize, sizeof(STARTUPINFOW));
    EXPECT_TRUE(call.startupInfoRestZero);
    EXPECT_TRUE(call.processInformationZero);
    EXPECT_TRUE(platform().messageBoxes.empty());
}

TEST_F(StartTest, BothCopiesOfThePasswordAreWipedOnceThePlatformAnswered)
{
    for (const BOOL result : {TRUE, FALSE}) {
        fake::Reset();
        platform().logonResult = result;
        password = "s3cr3t";

        RunAsUser();

        ASSERT_EQ(platform().logonCalls.at(0).password, u"s3cr3t");
        EXPECT_EQ(platform().passwordAfterStart, std::u16string(6, u'\0')) << "start result " << result;
        EXPECT_EQ(password, std::string(6, '\0')) << "start result " << result;
    }
}

TEST_F(StartTest, RefusedLogonShowsTheFailureMessageWithoutThePassword)
{
    domain = ".";
    platform().logonResult = FALSE;
    platform().logonError = ERROR_LOGON_FAILURE;

    RunAsUser();

    ASSERT_EQ(platform().messageBoxes.size(), 1u);
    const fake::MessageBoxCall& box = platform().messageBoxes[0];
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.caption, "Setup");
    EXPECT_EQ(box.style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(box.text,
              "N\xE3o foi poss\xEDvel executar a instala\xE7\xE3o (msiexec.exe /i Tolmo.msi  /qn).\n"
              "Usu\xE1rio: setup@.\n"
              "Erro: (1326)");
    EXPECT_EQ(box.text.find("s3cr3t"), std::string::npos);
}

struct CodeCase {
    DWORD code;
    const char* shown;
};

void PrintTo(const CodeCase& c, std::ostream* os)
{
    *os << c.code;
}

class FailureMessageTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(FailureMessageTest, ShowsTheCodeAsASignedNumber)
{
    EXPECT_EQ(FormatLogonFailureMessage("msiexec.exe /i Tolmo.msi ", "", "OFFICE", GetParam().code),
              std::string("N\xE3o foi poss\xEDvel executar a instala\xE7\xE3o (msiexec.exe /i Tolmo.msi ).\n"
                          "Usu\xE1rio: @OFFICE\n"
                          "Erro: (") +
                  GetParam().shown + ")");
}

INSTANTIATE_TEST_SUITE_P(Codes, FailureMessageTest,
                         ::testing::Values(CodeCase{0, "0"}, CodeCase{1326, "1326"},
                                           CodeCase{0x80070005u, "-2147024891"}, CodeCase{0xFFFFFFFFu, "-1"}));

// Strings of any length reach the platform whole and terminated; the longest
// ones the fixed buffers of old would have held (259 units) as well.
TEST_F(StartTest, LogonStartPassesStringsOfAnyLengthWhole)
{
    for (const std::size_t length : {std::size_t{259}, std::size_t{260}, std::size_t{1000}}) {
        fake::Reset();
        commandLine = "msiexec.exe /i Tolmo.msi  NOTA=" + std::string(length - 31, 'c');
        domain = std::string(length, 'd');
        userName = std::string(length, 'u');
        password = std::string(length, 'p');
        const std::string currentDirectory = "C:\\" + std::string(length - 3, 'f');
        platform().currentDirectory = currentDirectory;

        ASSERT_EQ(RunAsUser(), static_cast<DWORD>(ERROR_SUCCESS)) << length;

        const fake::LogonCall& call = platform().logonCalls.at(0);
        EXPECT_EQ(call.commandLine, fake::Widen(commandLine)) << length;
        EXPECT_EQ(call.commandLine.size(), length) << length;
        EXPECT_EQ(call.domain, fake::Widen(domain)) << length;
        EXPECT_EQ(call.userName, fake::Widen(userName)) << length;
        EXPECT_EQ(call.password, std::u16string(length, u'p')) << length;
        EXPECT_EQ(call.currentDirectory, fake::Widen(currentDirectory)) << length;
    }
}

}  // namespace
