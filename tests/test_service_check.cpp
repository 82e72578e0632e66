// IsWinMgmtRunning over every service state and every failure of the
// service manager.
#include <string>
#include <vector>

#include "app/service_check.h"
#include "tests/fake_platform.h"

namespace {

struct StateCase {
    DWORD state;
    BOOL running;
};

void PrintTo(const StateCase& c, std::ostream* os)
{
    *os << "state " << c.state;
}

class ServiceStateTest : public PlatformTest, public ::testing::WithParamInterface<StateCase> {};

TEST_P(ServiceStateTest, OnlyRunningLetsTheRunGoOn)
{
    platform().serviceState = GetParam().state;

    EXPECT_EQ(IsWinMgmtRunning(), GetParam().running);

    EXPECT_TRUE(platform().managerArgumentsNull);
    EXPECT_EQ(platform().managerAccess, SC_MANAGER_CONNECT);
    EXPECT_EQ(platform().openedServices, std::vector<std::string>{"WinMgmt"});
    EXPECT_EQ(platform().serviceAccess, std::vector<DWORD>{SERVICE_QUERY_STATUS});
    EXPECT_EQ(platform().calls,
              (std::vector<std::string>{"OpenSCManagerA", "OpenServiceA", "QueryServiceStatus",
                                        "CloseServiceHandle(service)", "CloseServiceHandle(manager)"}));
}

INSTANTIATE_TEST_SUITE_P(AllStates, ServiceStateTest,
                         ::testing::Values(StateCase{SERVICE_RUNNING, TRUE}, StateCase{SERVICE_STOPPED, FALSE},
                                           StateCase{SERVICE_START_PENDING, FALSE},
                                           StateCase{SERVICE_STOP_PENDING, FALSE},
                                           StateCase{SERVICE_CONTINUE_PENDING, FALSE},
                                           StateCase{SERVICE_PAUSE_PENDING, FALSE},
                                           StateCase{SERVICE_PAUSED, FALSE}));

// When the state cannot be read, the run goes on; every handle that was
// opened is closed, the service's before the manager's.
struct FailureCase {
    const char* name;
    DWORD managerError;
    DWORD serviceError;
    DWORD queryError;
    std::vector<std::string> calls;
};

void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.name;
}

class ServiceFailureTest : public PlatformTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ServiceFailureTest, TreatedAsRunning)
{
    const FailureCase& c = GetParam();
    platform().managerError = c.managerError;
    platform().serviceError = c.serviceError;
    platform().queryError = c.queryError;
    platform().serviceState = SERVICE_STOPPED;  // never seen: the state is not read

    EXPECT_EQ(IsWinMgmtRunning(), TRUE);
    EXPECT_EQ(platform().calls, c.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ServiceFailureTest,
    ::testing::Values(
        FailureCase{"ManagerRefused", ERROR_ACCESS_DENIED, 0, 0, {"OpenSCManagerA"}},
        FailureCase{"ServiceMissing", 0, 1060 /* ERROR_SERVICE_DOES_NOT_EXIST */, 0,
                    {"OpenSCManagerA", "OpenServiceA", "CloseServiceHandle(manager)"}},
        FailureCase{"ServiceAccessDenied", 0, ERROR_ACCESS_DENIED, 0,
                    {"OpenSCManagerA", "OpenServiceA", "CloseServiceHandle(manager)"}},
        FailureCase{"QueryFailed", 0, 0, ERROR_ACCESS_DENIED,
                    {"OpenSCManagerA", "OpenServiceA", "QueryServiceStatus", "CloseServiceHandle(service)",
                     "CloseServiceHandle(manager)"}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

}  // namespace
