// Inputs far beyond everyday sizes, through the whole run: the longest
// command line Windows accepts, thousands of logon arguments, long logon
// arguments and passwords. Each reaches the platform whole, and the password
// is wiped once the platform has answered.
#include <string>
#include <vector>

#include "tests/fake_platform.h"
#include "tests/launcher_run.h"

namespace {

// The most a command line may hold on Windows: 32,767 characters with its
// terminator.
constexpr std::size_t longestCommandLine = 32766;
const std::string commandLineStart = "msiexec.exe /i Tolmo.msi ";

struct LongCase {
    const char* name;
    std::vector<std::string> arguments;
    std::string commandLine;  // the whole command line the installer gets
    bool logon;
    std::string userName;
    std::string domain;
    std::string password;
};

void PrintTo(const LongCase& c, std::ostream* os)
{
    *os << c.name;
}

// Arguments of 99 bytes, every other one holding a blank, and a last one that
// brings the command line to exactly `length` bytes.
LongCase CommandLineOfLength(const char* name, std::size_t length, std::vector<std::string> logon)
{
    LongCase c{name, std::move(logon), commandLineStart, false, "", "", ""};
    for (int i = 0; c.commandLine.size() + 1 + 99 + 1 + 12 < length; ++i) {
        std::string argument = "P" + std::to_string(i) + "=" + std::string(99, i % 2 == 0 ? 'v' : ' ');
        argument.resize(99);
        const std::size_t equals = argument.find('=');
        c.arguments.push_back(argument);
        c.commandLine += ' ';
        c.commandLine += i % 2 == 0 ? argument
                                    : argument.substr(0, equals + 1) + '"' + argument.substr(equals + 1) + '"';
    }
    const std::string last(length - c.commandLine.size() - 1, 'z');
    c.arguments.push_back(last);
    c.commandLine += ' ' + last;
    return c;
}

std::vector<LongCase> LongCases()
{
    std::vector<LongCase> cases;
    cases.push_back(CommandLineOfLength("LongestCommandLine", longestCommandLine, {}));

    LongCase logonLongest = CommandLineOfLength("LongestCommandLineWithLogon", longestCommandLine,
                                                {"/USUARIO=setup@OFFICE;s3cr3t"});
    logonLongest.logon = true;
    logonLongest.userName = "setup";
    logonLongest.domain = "OFFICE";
    logonLongest.password = "s3cr3t";
    cases.push_back(logonLongest);

    LongCase many{"ThousandsOfLogonArguments", {}, commandLineStart + " /qn", true, "user4999", "DOM4999",
                  "pw4999"};
    for (int i = 0; i < 5000; ++i) {
        const std::string n = std::to_string(i);
        std::string logon = "/USUARIO=user";
        logon.append(n).append("@DOM").append(n).append(";pw").append(n);
        many.arguments.push_back(logon);
        many.arguments.push_back(i % 2 == 0 ? "/usuario" : "/Usuario=x");  // dropped
    }
    many.arguments.emplace_back("/qn");
    cases.push_back(many);

    // 9 + 4000 + 1 + 3000 + 1 + 2987 = 10,000 bytes.
    const std::string user(4000, 'u');
    const std::string domain(3000, 'd');
    const std::string password(2987, 'p');
    cases.push_back({"LogonArgumentOf10000Bytes", {"/USUARIO=" + user + "@" + domain + ";" + password, "/qn"},
                     commandLineStart + " /qn", true, user, domain, password});
    cases.push_back({"PasswordOf1000Characters", {"/USUARIO=setup;" + std::string(1000, 'p')}, commandLineStart,
                     true, "setup", ".", std::string(1000, 'p')});
    return cases;
}

class LongInputTest : public PlatformTest, public ::testing::WithParamInterface<LongCase> {};

TEST_P(LongInputTest, ReachesThePlatformWhole)
{
    const LongCase& c = GetParam();

    ASSERT_EQ(RunLauncher(c.arguments), ERROR_SUCCESS);

    if (!c.logon) {
        ASSERT_EQ(platform().createProcessCalls.size(), 1u);
        EXPECT_TRUE(platform().logonCalls.empty());
        EXPECT_EQ(platform().createProcessCalls[0].commandLine, c.commandLine);
        return;
    }
    EXPECT_TRUE(platform().createProcessCalls.empty());
    ASSERT_EQ(platform().logonCalls.size(), 1u);
    const fake::LogonCall& call = platform().logonCalls[0];
    EXPECT_EQ(call.commandLine, fake::Widen(c.commandLine));
    EXPECT_EQ(call.userName, fake::Widen(c.userName));
    EXPECT_EQ(call.domain, fake::Widen(c.domain));
    EXPECT_EQ(call.password, fake::Widen(c.password));
    EXPECT_EQ(platform().passwordAfterStart, std::u16string(c.password.size(), u'\0'));
}

INSTANTIATE_TEST_SUITE_P(Inputs, LongInputTest, ::testing::ValuesIn(LongCases()),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

}  // namespace
