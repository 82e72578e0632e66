// The framework layer: application name, message box style, error mode and
// message map.
#include <string>
#include <vector>

#include "framework/app_name.h"
#include "framework/win_app.h"
#include "tests/fake_platform.h"
#include "tests/launcher_run.h"

namespace {

using FrameworkTest = PlatformTest;

struct NameCase {
    const char* modulePath;
    bool cp932;
    const char* appName;
};

void PrintTo(const NameCase& c, std::ostream* os)
{
    *os << c.modulePath;
}

class AppNameTest : public PlatformTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(AppNameTest, IsTheFileNameWithoutItsLastExtension)
{
    if (GetParam().cp932) {
        fake::UseCodePage932();
    }
    EXPECT_EQ(AppNameFromModulePath(GetParam().modulePath), GetParam().appName);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, AppNameTest,
    ::testing::Values(NameCase{"C:\\Instala\\Setup.exe", false, "Setup"},
                      NameCase{"D:\\Downloads\\instala.novo.exe", false, "instala.novo"},
                      NameCase{"\\\\server\\share\\SETUP.EXE", false, "SETUP"},
                      NameCase{"C:\\tolmo.v6\\Setup", false, "Setup"},
                      NameCase{"Setup.exe", false, "Setup"},
                      // 0x83 0x5C is a character whose second byte is "\".
                      NameCase{"C:\\\x83\x5C\\Setup.exe", true, "Setup"},
                      NameCase{"C:\\Apps\\\x83\x5C.exe", true, "\x83\x5C"},
                      NameCase{"C:\\Apps\\\x83\x5C.exe", false, ""}));

// The name reaches the caption of the launcher's boxes through the entry
// point, from paths of any length.
TEST_F(FrameworkTest, CaptionIsTheExecutablesNameWhateverThePathsLength)
{
    const std::string longFolder = "C:\\" + std::string(300, 'd') + "\\" + std::string(300, 'e');
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\Instala\\Setup.exe", "Setup"},
        {"C:\\Instala\\instala.novo.exe", "instala.novo"},
        {longFolder + "\\instala.novo.exe", "instala.novo"},
    };
    for (const auto& [modulePath, caption] : cases) {
        fake::Reset();
        platform().modulePath = modulePath;
        platform().serviceState = SERVICE_STOPPED;

        RunLauncher({});

        ASSERT_EQ(platform().messageBoxes.size(), 1u);
        EXPECT_EQ(platform().messageBoxes[0].caption, caption) << modulePath.size() << " bytes";
    }
}

TEST(MessageBoxStyleTest, StylesWithoutIconGainOneForTheirButtons)
{
    const struct {
        UINT style;
        UINT shown;
    } cases[] = {
        {MB_OK, MB_OK | MB_ICONEXCLAMATION},
        {MB_OKCANCEL, MB_OKCANCEL | MB_ICONEXCLAMATION},
        {MB_ABORTRETRYIGNORE, MB_ABORTRETRYIGNORE},
        {MB_YESNOCANCEL, MB_YESNOCANCEL | MB_ICONQUESTION},
        {MB_YESNO, MB_YESNO | MB_ICONQUESTION},
        {MB_RETRYCANCEL, MB_RETRYCANCEL},
        {MB_CANCELTRYCONTINUE, MB_CANCELTRYCONTINUE},
        {MB_OK | MB_ICONERROR, MB_OK | MB_ICONERROR},
        {MB_YESNO | MB_ICONINFORMATION, MB_YESNO | MB_ICONINFORMATION},
        {MB_OKCANCEL | 0x100u /* second button default */, MB_OKCANCEL | 0x100u | MB_ICONEXCLAMATION},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AdjustMessageBoxStyle(c.style), c.shown) << "style 0x" << std::hex << c.style;
    }
}

TEST_F(FrameworkTest, ErrorModeGainsNoCriticalAndNoOpenFileErrorBoxes)
{
    for (const UINT initial : {0u, SEM_NOALIGNMENTFAULTEXCEPT, SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX}) {
        fake::Reset();
        platform().errorMode = initial;

        RunLauncher({});

        EXPECT_EQ(platform().errorModesSet, std::vector<UINT>{initial | 0x8001u}) << initial;
    }
}

TEST_F(FrameworkTest, MessageMapIsEmptyAndChainsToTheApplicationClass)
{
    const CInstalaApp app;
    const CWinApp& base = app;
    const MessageMap* map = app.GetMessageMap();

    EXPECT_EQ(map->entryCount, 0u);
    EXPECT_EQ(map->base, base.CWinApp::GetMessageMap());
    EXPECT_NE(map, map->base);
}

}  // namespace
