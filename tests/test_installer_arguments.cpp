// The argument string and the credentials built from the argument vector.
#include <string>
#include <vector>

#include "app/instala_app.h"
#include "installer/installer_arguments.h"
#include "tests/fake_platform.h"
#include "tests/launcher_run.h"

namespace {

enum class CodePage { singleByte, cp932 };

struct BuilderCase {
    const char* name;
    CodePage codePage;
    std::vector<std::string> arguments;  // after the program's name
    std::string passedOn;                // what follows " /i Tolmo.msi "
    BOOL logonRequested;
    std::string userName;
    std::string domain;
    std::string password;
};

void PrintTo(const BuilderCase& c, std::ostream* os)
{
    *os << c.name;
}

class BuilderTest : public PlatformTest, public ::testing::WithParamInterface<BuilderCase> {};

TEST_P(BuilderTest, BuildsArgumentStringAndCredentials)
{
    const BuilderCase& c = GetParam();
    if (c.codePage == CodePage::cp932) {
        fake::UseCodePage932();
    }
    const ArgumentVector vector(c.arguments);

    std::string arguments(packageArguments);
    Credentials credentials;
    BuildInstallerArguments(vector.Count(), vector.Values(), arguments, credentials);

    EXPECT_EQ(arguments, " /i Tolmo.msi " + c.passedOn);
    EXPECT_EQ(credentials.logonRequested, c.logonRequested);
    EXPECT_EQ(credentials.userName, c.userName);
    EXPECT_EQ(credentials.domain, c.domain);
    EXPECT_EQ(credentials.password, c.password);
}

const BuilderCase builderCases[] = {
    // The worked examples.
    {"NoArguments", CodePage::singleByte, {}, "", FALSE, "", "", ""},
    {"Quiet", CodePage::singleByte, {"/qn"}, " /qn", FALSE, "", "", ""},
    {"LogonAmongOthers", CodePage::singleByte, {"/qn", "/USUARIO=setup@OFFICE;s3cr3t", "/norestart"},
     " /qn /norestart", TRUE, "setup", "OFFICE", "s3cr3t"},
    {"LowerCaseKeywordNoDomain", CodePage::singleByte, {"/usuario=setup;s3cr3t"}, "", TRUE, "setup", ".", "s3cr3t"},
    {"SuffixedKeyword", CodePage::singleByte, {"/UsuarioX=setup;s3cr3t"}, "", TRUE, "setup", ".", "s3cr3t"},
    {"NoSemicolonDropped", CodePage::singleByte, {"/USUARIO=setup"}, "", FALSE, "", "", ""},
    {"KeywordAloneDropped", CodePage::singleByte, {"/USUARIO"}, "", FALSE, "", "", ""},
    {"SemicolonLast", CodePage::singleByte, {"/USUARIO=setup@OFFICE;"}, "", TRUE, "setup", "OFFICE", ""},
    {"AtLast", CodePage::singleByte, {"/USUARIO=setup@;s3cr3t"}, "", TRUE, "setup", "", "s3cr3t"},
    {"AtFirst", CodePage::singleByte, {"/USUARIO=@OFFICE;s3cr3t"}, "", TRUE, "", "OFFICE", "s3cr3t"},
    {"SeveralAtAndSemicolons", CodePage::singleByte, {"/USUARIO=setup@OFFICE@HQ;pa;ss@w=rd"}, "", TRUE,
     "setup", "OFFICE@HQ", "pa;ss@w=rd"},
    {"SemicolonBeforeEquals", CodePage::singleByte, {"/USUARIO;pass=word"}, "", TRUE, "", ".", "pass=word"},
    {"LastWellFormedWins", CodePage::singleByte, {"/USUARIO=setup@OFFICE;first", "/USUARIO=deploy;second"}, "",
     TRUE, "deploy", ".", "second"},
    {"LaterMalformedChangesNothing", CodePage::singleByte, {"/USUARIO=setup@OFFICE;first", "/USUARIO=deploy"}, "",
     TRUE, "setup", "OFFICE", "first"},
    {"EmptyArgumentAddsOneBlank", CodePage::singleByte, {"x", "", "y"}, " x  y", FALSE, "", "", ""},
    {"ShortPrefixPassedOn", CodePage::singleByte, {"/USU"}, " /USU", FALSE, "", "", ""},

    // Further edges.
    {"SevenBytesNeverLogon", CodePage::singleByte, {"/usuari"}, " /usuari", FALSE, "", "", ""},
    {"LogonTakenOutWhereverItStands", CodePage::singleByte, {"a", "/USUARIO=u;p", "b", "/usuario", "c"}, " a b c",
     TRUE, "u", ".", "p"},
    {"BytesAbove127PassedOnAsTheyAre", CodePage::singleByte, {"NOTA=caf\xE9", "\xFF\x80"}, " NOTA=caf\xE9 \xFF\x80",
     FALSE, "", "", ""},

    // Double-byte ANSI code page (932): the byte after a lead byte belongs to
    // its character and is never a sign. 0x83 0x40 is "ァ"; 0x40 is "@".
    {"Dbcs_TrailAtDoesNotDivide", CodePage::cp932, {"/USUARIO=\x83\x40@DOM;pw"}, "", TRUE, "\x83\x40", "DOM",
     "pw"},
    {"Dbcs_TrailAtOnlyMeansNoDomain", CodePage::cp932, {"/USUARIO=\x83\x40;pw"}, "", TRUE, "\x83\x40", ".", "pw"},
    {"SingleByte_SameBytesDivide", CodePage::singleByte, {"/USUARIO=\x83\x40@DOM;pw"}, "", TRUE, "\x83", "@DOM",
     "pw"},
    {"Dbcs_TrailSemicolonIsNoSeparator", CodePage::cp932, {"/USUARIO=u\x81;x;pw"}, "", TRUE, "u\x81;x", ".", "pw"},
    {"Dbcs_TrailEqualsIsNoSeparator", CodePage::cp932, {"/USUARIO\x81=u;pw"}, "", FALSE, "", "", ""},
    {"Dbcs_LoneLeadByteLastEndsScan", CodePage::cp932, {"/USUARIO=u\x81"}, "", FALSE, "", "", ""},
    {"Dbcs_PasswordKeepsTrailingLeadByte", CodePage::cp932, {"/USUARIO=u;p\x81"}, "", TRUE, "u", ".", "p\x81"},
    {"Dbcs_LoneLeadByteArgumentPassedOn", CodePage::cp932, {"\x81"}, " \x81", FALSE, "", "", ""},
    {"Dbcs_ArgumentEndingInLeadBytePassedOn", CodePage::cp932, {"NOTA=a b\x81", "x\x81"},
     " NOTA=\"a b\x81\" x\x81", FALSE, "", "", ""},
    {"Dbcs_LeadByteInKeywordIsNoLetter", CodePage::cp932, {"/USUA\x82\x60IO=u;p"}, " /USUA\x82\x60IO=u;p", FALSE,
     "", "", ""},
};

INSTANTIATE_TEST_SUITE_P(Arguments, BuilderTest, ::testing::ValuesIn(builderCases),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

// An argument with a blank or a tab reaches msiexec as the same one argument.
struct QuotingCase {
    const char* argument;
    const char* passedOn;
};

void PrintTo(const QuotingCase& c, std::ostream* os)
{
    *os << "[" << c.argument << "]";
}

class QuotingTest : public PlatformTest, public ::testing::WithParamInterface<QuotingCase> {};

TEST_P(QuotingTest, QuotesWhatMsiexecWouldSplit)
{
    std::string arguments = "start";
    AppendPassedOnArgument(arguments, GetParam().argument);
    EXPECT_EQ(arguments, std::string("start ") + GetParam().passedOn);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, QuotingTest,
    ::testing::Values(QuotingCase{"INSTALLDIR=D:\\My Apps", "INSTALLDIR=\"D:\\My Apps\""},
                      QuotingCase{"NOTA=a\tb", "NOTA=\"a\tb\""},
                      QuotingCase{"NOTA= ", "NOTA=\" \""},
                      QuotingCase{"NOTA=x=y z", "NOTA=\"x=y z\""},
                      QuotingCase{"C:\\my logs\\x.log", "\"C:\\my logs\\x.log\""},
                      QuotingCase{"=value with blanks", "\"=value with blanks\""},
                      QuotingCase{"MY PROP=x y", "\"MY PROP=x y\""},
                      QuotingCase{" ", "\" \""},
                      // Already quoted by its author, or nothing to quote.
                      QuotingCase{"NOTA=\"a b\"", "NOTA=\"a b\""},
                      QuotingCase{"say \"hi", "say \"hi"},
                      QuotingCase{"NOTA=ab", "NOTA=ab"},
                      QuotingCase{"", ""}));

}  // namespace
