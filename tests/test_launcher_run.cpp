// The run from start to exit: the service check, the choice of start, the
// message boxes, COM's lifetime and the exit status.
#include <functional>
#include <string>
#include <vector>

#include "tests/allocation_failure.h"
#include "tests/fake_platform.h"
#include "tests/launcher_run.h"

namespace {

const std::string serviceMessage =
    "O servi\xE7o WinMgmt n\xE3o est\xE1 executando. N\xE3o \xE9 poss\xEDvel continuar a instala\xE7\xE3o.";

using LauncherRunTest = PlatformTest;

TEST_F(LauncherRunTest, ServiceNotRunningShowsTheMessageAndMakesNothingElse)
{
    platform().serviceState = SERVICE_STOPPED;

    EXPECT_EQ(RunLauncher({"/qn", "/USUARIO=setup;s3cr3t"}), ERROR_SERVICE_NOT_ACTIVE);

    EXPECT_EQ(platform().calls,
              (std::vector<std::string>{"CoInitialize", "GetErrorMode", "SetErrorMode", "GetModuleFileNameA",
                                        "OpenSCManagerA", "OpenServiceA", "QueryServiceStatus",
                                        "CloseServiceHandle(service)", "CloseServiceHandle(manager)",
                                        "MessageBoxA", "CoUninitialize"}));
    ASSERT_EQ(platform().messageBoxes.size(), 1u);
    const fake::MessageBoxCall& box = platform().messageBoxes[0];
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.text, serviceMessage);
    EXPECT_EQ(box.caption, "Setup");
    EXPECT_EQ(box.style, MB_OK | MB_ICONERROR);
}

TEST_F(LauncherRunTest, WithoutArgumentsStartsThePackageAsTheCurrentUser)
{
    EXPECT_EQ(RunLauncher({}), ERROR_SUCCESS);

    ASSERT_EQ(platform().createProcessCalls.size(), 1u);
    EXPECT_EQ(platform().createProcessCalls[0].commandLine, "msiexec.exe /i Tolmo.msi ");
    EXPECT_EQ(platform().waits, std::vector<DWORD>{});
    EXPECT_TRUE(platform().logonCalls.empty());
    EXPECT_TRUE(platform().loadedLibraries.empty());
    EXPECT_TRUE(platform().messageBoxes.empty());
}

TEST_F(LauncherRunTest, LogonArgumentStartsUnderThatAccountOnly)
{
    EXPECT_EQ(RunLauncher({"/qn", "/USUARIO=setup@OFFICE;s3cr3t", "INSTALLDIR=D:\\My Apps"}), ERROR_SUCCESS);

    EXPECT_TRUE(platform().createProcessCalls.empty());
    ASSERT_EQ(platform().logonCalls.size(), 1u);
    const fake::LogonCall& call = platform().logonCalls[0];
    EXPECT_EQ(call.commandLine, u"msiexec.exe /i Tolmo.msi  /qn INSTALLDIR=\"D:\\My Apps\"");
    EXPECT_EQ(call.userName, u"setup");
    EXPECT_EQ(call.domain, u"OFFICE");
    EXPECT_EQ(call.password, u"s3cr3t");
    EXPECT_EQ(platform().waits, std::vector<DWORD>{});
}

// The exit status is 0 only when the installer was started; COM is
// initialised once before anything else and uninitialised once at the end,
// whatever the path.
struct PathCase {
    const char* name;
    std::vector<std::string> arguments;
    std::function<void(fake::Platform&)> script;
    int status;
    std::size_t messageBoxes;
};

void PrintTo(const PathCase& c, std::ostream* os)
{
    *os << c.name;
}

class LauncherPathTest : public PlatformTest, public ::testing::WithParamInterface<PathCase> {};

TEST_P(LauncherPathTest, ExitStatusTellsWhetherTheInstallerStarted)
{
    const PathCase& c = GetParam();
    c.script(platform());

    EXPECT_EQ(RunLauncher(c.arguments), c.status);

    EXPECT_EQ(platform().messageBoxes.size(), c.messageBoxes);
    EXPECT_EQ(fake::CallsAmong({"CoInitialize", "CoUninitialize"}),
              (std::vector<std::string>{"CoInitialize", "CoUninitialize"}));
    EXPECT_EQ(platform().calls.front(), "CoInitialize");
    EXPECT_EQ(platform().calls.back(), "CoUninitialize");
}

INSTANTIATE_TEST_SUITE_P(
    Paths, LauncherPathTest,
    ::testing::Values(
        PathCase{"Started", {"/qn"}, [](fake::Platform&) {}, ERROR_SUCCESS, 0},
        PathCase{"ServicePaused", {"/qn"}, [](fake::Platform& p) { p.serviceState = SERVICE_PAUSED; },
                 ERROR_SERVICE_NOT_ACTIVE, 1},
        PathCase{"ServiceUnreadable", {"/qn"}, [](fake::Platform& p) { p.queryError = ERROR_ACCESS_DENIED; },
                 ERROR_SUCCESS, 0},
        PathCase{"ServiceNotInstalled", {}, [](fake::Platform& p) { p.serviceError = 1060; }, ERROR_SUCCESS, 0},
        PathCase{"StartRefused", {"/qn"},
                 [](fake::Platform& p) {
                     p.createProcessResult = FALSE;
                     p.createProcessError = ERROR_FILE_NOT_FOUND;
                 },
                 ERROR_FILE_NOT_FOUND, 0},
        PathCase{"StartRefusedWithoutCode", {"/qn"},
                 [](fake::Platform& p) {
                     p.createProcessResult = FALSE;
                     p.createProcessError = ERROR_SUCCESS;
                 },
                 ERROR_INSTALL_FAILURE, 0},
        PathCase{"LogonStarted", {"/USUARIO=setup;pw"}, [](fake::Platform&) {}, ERROR_SUCCESS, 0},
        PathCase{"LogonRefused", {"/USUARIO=setup;pw"},
                 [](fake::Platform& p) {
                     p.logonResult = FALSE;
                     p.logonError = ERROR_LOGON_FAILURE;
                 },
                 ERROR_LOGON_FAILURE, 1},
        PathCase{"LogonRefusedWithoutCode", {"/USUARIO=setup;pw"},
                 [](fake::Platform& p) {
                     p.logonResult = FALSE;
                     p.logonError = ERROR_SUCCESS;
                 },
                 ERROR_INSTALL_FAILURE, 1},
        PathCase{"NoAdvapi", {"/USUARIO=setup;pw"}, [](fake::Platform& p) { p.libraryLoads = false; },
                 ERROR_MOD_NOT_FOUND, 0},
        PathCase{"NoEntryPoint", {"/USUARIO=setup;pw"}, [](fake::Platform& p) { p.entryPointFound = false; },
                 ERROR_PROC_NOT_FOUND, 0},
        PathCase{"NoSystemDirectory", {"/qn"}, [](fake::Platform& p) { p.systemDirectory.reset(); },
                 ERROR_ACCESS_DENIED, 0}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

// Storage running out anywhere in the run: nothing is started, no box is
// shown, and the exit status says so. Every allocation of the run is made to
// fail in turn, until a run gets through.
class OutOfMemoryTest : public PlatformTest, public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(OutOfMemoryTest, NothingStartedAndStatusEight)
{
    int failures = 0;
    for (int allowed = 0; allowed < 10000; ++allowed) {
        fake::Reset();
        platform().logonResult = FALSE;  // so that the refusal message is built too

        const ArgumentVector arguments(GetParam());
        fake::FailAllocationsAfter(allowed);
        const int status = RunLauncher(arguments);
        fake::DisarmAllocationFailure();

        if (!fake::AllocationFailed()) {
            break;
        }
        ++failures;
        EXPECT_EQ(status, ERROR_NOT_ENOUGH_MEMORY) << "allocation " << allowed;
        EXPECT_TRUE(platform().createProcessCalls.empty()) << "allocation " << allowed;
        EXPECT_TRUE(platform().messageBoxes.empty()) << "allocation " << allowed;
        EXPECT_EQ(fake::CallsAmong({"CoUninitialize"}).size(), 1u) << "allocation " << allowed;
    }
    EXPECT_GT(failures, 3);
}

INSTANTIATE_TEST_SUITE_P(Runs, OutOfMemoryTest,
                         ::testing::Values(std::vector<std::string>{"/qn", "NOTA=a b"},
                                           std::vector<std::string>{"/qn", "/USUARIO=setup@OFFICE;s3cr3t"}));

}  // namespace
