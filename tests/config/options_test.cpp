#include "config/options.h"

#include <limits>
#include <filesystem>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/temp_dir.h"

namespace quobel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

ReportedMessage Error(std::string text) { return {"Error", std::move(text)}; }

class OptionsTest : public ::testing::Test {
protected:
    OptionsTest() : log_([] { return LogTime{2026, 1, 2, 3, 4, 5, 6}; }, [](std::string_view) {}) {}

    const GVar& Read(const std::string& cfg) {
        ReadOptions(IniFile::FromText(cfg), config_, reporter_, log_, desktop_.path());
        return config_.gVar;
    }

    test::TempDir desktop_;
    Log log_;
    Config config_;
    CollectingReporter reporter_;
};

TEST_F(OptionsTest, WithoutOptSectionEverythingTakesItsDefault) {
    config_.gVar.nMsFw = 5;  // cleared first
    const GVar& g = Read("; no options here\r\n[MS]\r\nMsFw=1\r\n");
    EXPECT_THAT(reporter_.messages, ElementsAre(Error("APPDATA=NULL"), Error("Macro Protocol is unknown")));
    EXPECT_EQ(config_.nDebugLevel, 0);
    EXPECT_EQ(log_.level(), 0);
    EXPECT_EQ(g.szTitle, "");
    EXPECT_EQ(g.szVer, "");
    EXPECT_EQ(g.szAppDir, "");
    EXPECT_EQ(std::tie(g.nMsFw, g.nKbFw, g.nPadFw), std::make_tuple(0, 0, 0));
    EXPECT_EQ(std::tie(g.nSuwnd, g.bMatchStr, g.bBtnTips, g.bApplyNow), std::make_tuple(0, 0, 0, 0));
    EXPECT_EQ(std::tie(g.nTrayIcon, g.bGoWithNoDev, g.bFrameDebug, g.bExitOnPlugOut, g.bShowDevList, g.bComboRec),
              std::make_tuple(2, 0, 0, 0, 1, 1));
    EXPECT_EQ(g.nPopWndTrans, 255);
    EXPECT_EQ(g.clrPopWndBkg, Rgb(6, 6, 7));
    EXPECT_EQ(g.clrPopWndFrame, Rgb(35, 35, 35));
    EXPECT_EQ(std::tie(g.nFontSize, g.nProfileGpY, g.nDevListGpY, g.nDrvGpY), std::make_tuple(14, 410, 500, 0));
    EXPECT_EQ(g.ptKeyMsDlg, (Point{30, 40}));
    EXPECT_EQ(g.ptMsMarkDlg, (Point{340, 63}));
    EXPECT_EQ(g.ptMinBtn, (Point{960, 12}));
    EXPECT_EQ(g.ptDpiDlg, (Point{743, 41}));
    EXPECT_EQ(g.ptResetBtn, (Point{795, 600}));
    EXPECT_EQ(g.rcHomePageBtn, (Rect{0, 0, 0, 0}));
    EXPECT_EQ(g.clrTxt, Rgb(200, 200, 200));
    EXPECT_EQ(g.clrBtnTxtNr, Rgb(200, 200, 200));
    EXPECT_EQ(g.clrBtnTxtOv, Rgb(255, 255, 255));
    EXPECT_EQ(g.clrBtnTxtDn, Rgb(67, 156, 200));
    EXPECT_EQ(g.clrMenuTxtNr, Rgb(200, 200, 200));
    EXPECT_EQ(g.clrMenuTxtOv, Rgb(255, 255, 255));
    EXPECT_EQ(g.clrMenuTxtDn, Rgb(67, 156, 200));
    EXPECT_EQ(g.clrLstBoxTxtNr, Rgb(200, 200, 200));
    EXPECT_EQ(std::tie(g.clrLstBoxTxtDn, g.clrLstBoxBkg, g.clrLstBoxItem, g.clrMask, g.clrMaskMsg),
              std::make_tuple(0u, 0u, 0u, 0u, 0u));
    EXPECT_EQ(std::tie(g.nMacroDir, g.bMacroHasMsKey, g.nListTrans, g.bMacOperBtn, g.bAutoSaveMacro),
              std::make_tuple(0, 0, 0, 0, 1));
    EXPECT_EQ(g.rcMacroList, (Rect{40, 46, 230, 356}));
    EXPECT_EQ(g.rcKeyList, (Rect{250, 46, 440, 356}));
    EXPECT_EQ(g.nMacroOptX, 490);
    EXPECT_EQ(g.nMacProtocol, 0);
    EXPECT_EQ(g.nProfileNum, 3);
    EXPECT_EQ(g.bShowDrvOpt, 0);
}

TEST_F(OptionsTest, ReadsEveryKindOfValue) {
    const GVar& g = Read(
        "[opt]\r\n"
        "Title=  \"My Mouse\"  \r\nVer=1.2.3\r\nappdir=Quo\r\nFontName=Sans\r\nTrayIcon=0\r\n"
        "ClrPopWndBkg=1,2,3\r\nptMinBtn=10,20\r\nrcHomePageBtn=1,2,3,4\r\nMsFw=0\r\nPadFw=0x0\r\n"
        "ListTrans=0x12345\r\nMacProtocol=2\r\nProfileNum=20\r\nMinDelay=99\r\nShowDrvOpt=1\r\n");
    EXPECT_THAT(reporter_.messages, IsEmpty());
    EXPECT_EQ(g.szTitle, "My Mouse");
    EXPECT_EQ(g.szVer, "1.2.3");
    EXPECT_EQ(g.szAppDir, "Quo");
    EXPECT_EQ(g.szFontName, "Sans");
    EXPECT_EQ(g.nTrayIcon, 0);
    EXPECT_EQ(g.clrPopWndBkg, Rgb(1, 2, 3));
    EXPECT_EQ(g.ptMinBtn, (Point{10, 20}));
    EXPECT_EQ(g.rcHomePageBtn, (Rect{1, 2, 3, 4}));
    EXPECT_EQ(g.nListTrans, 0x2345);  // low 16 bits kept
    EXPECT_EQ(g.nMacProtocol, 2);
    EXPECT_EQ(g.nProfileNum, 20);
    EXPECT_EQ(g.bShowDrvOpt, 1);
}

TEST_F(OptionsTest, StringsAreCutToTheirBuffers) {
    const GVar& g = Read("[OPT]\nTitle=" + std::string(120, 't') + "\nVer=0123456789AB\nappdir=" +
                         std::string(40, 'a') + "\nFontName=" + std::string(40, 'f') + "\nMacProtocol=1\n");
    EXPECT_EQ(g.szTitle, std::string(99, 't'));
    EXPECT_EQ(g.szVer, "012345678");
    EXPECT_EQ(g.szAppDir, std::string(29, 'a'));
    EXPECT_EQ(g.szFontName, std::string(29, 'f'));
}

TEST_F(OptionsTest, MalformedValuesAreReportedInReadingOrderAndDefaultsKept) {
    const GVar& g = Read(
        "[OPT]\n"
        "MacProtocol=3\nrcMacroList=1,2,3\nptMinBtn=5\nClrPopWndBkg=\nTxt_clr=200, 100 ,50\n"
        "rcHomePageBtn=9,9\n");
    EXPECT_THAT(reporter_.messages,
                ElementsAre(Error("APPDATA=NULL"), Error("Wrong POINT num"), Error("Wrong rect num"),
                            Error("Wrong rect num"), Error("Macro Protocol is unknown")));
    EXPECT_EQ(g.ptMinBtn, (Point{960, 12}));
    EXPECT_EQ(g.rcHomePageBtn, (Rect{0, 0, 0, 0}));
    EXPECT_EQ(g.rcMacroList, (Rect{40, 46, 230, 356}));
    EXPECT_EQ(g.rcKeyList, (Rect{250, 46, 440, 356}));
    EXPECT_EQ(g.clrPopWndBkg, Rgb(6, 6, 7));
    EXPECT_EQ(g.clrTxt, Rgb(200, 0, 0));
    EXPECT_EQ(g.nMacProtocol, 3);  // reported, and kept as read
}

TEST_F(OptionsTest, KeyListAndOptionColumnFollowAConfiguredMacroList) {
    const GVar& g = Read("[OPT]\nappdir=q\nMacProtocol=1\nrcMacroList=10,20,30,40\n");
    EXPECT_EQ(g.rcKeyList, (Rect{50, 20, 240, 40}));
    EXPECT_EQ(g.nMacroOptX, 290);

    const GVar& h = Read("[OPT]\nappdir=q\nMacProtocol=1\nrcMacroList=10,20,30,40\nrcKeyList=1,2,3,4\n");
    EXPECT_EQ(h.rcKeyList, (Rect{1, 2, 3, 4}));
    EXPECT_EQ(h.nMacroOptX, 53);
}

TEST_F(OptionsTest, PositionsFollowingAHugeMacroListStopAtTheLargestValue) {
    const GVar& g = Read("[OPT]\nappdir=q\nMacProtocol=1\nrcMacroList=0,0,2147483640,10\n");
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(g.rcKeyList, (Rect{kMax, 0, kMax, 10}));
    EXPECT_EQ(g.nMacroOptX, kMax);
}

TEST_F(OptionsTest, StartsTheLogAtTheConfiguredLevelAndClearsTheKeyTable) {
    config_.g_defKEY[7].FunID = 0x1234;
    config_.g_defKEY[7].nMatrixInx = 7;
    Read("[OPT]\nDebug=2\nappdir=q\nMacProtocol=1\n");
    EXPECT_EQ(config_.nDebugLevel, 2);
    EXPECT_EQ(log_.level(), 2);
    EXPECT_TRUE(std::filesystem::exists(desktop_ / "Log.txt"));
    for (const KeyInfo& k : config_.g_defKEY) {
        EXPECT_EQ(k.nMatrixInx, -1);
        EXPECT_EQ(k.FunID, 0u);
    }
}

// ---- Languages and skins ----

struct ListsCase {
    const char* name;
    std::string cfg;   // [OPT] body of cfg.ini
    std::string lang;  // [OPT] body of lang.ini
    std::vector<ReportedMessage> messages;
    int skins;
    int skins_index;
    int langs;
    int lang_index;
};

class LanguagesAndSkins : public ::testing::TestWithParam<ListsCase> {};

TEST_P(LanguagesAndSkins, ReadsTheListsAndTheChoices) {
    const ListsCase& c = GetParam();
    GVar g;
    CollectingReporter reporter;
    ReadLanguagesAndSkins(IniFile::FromText("[OPT]\n" + c.cfg), IniFile::FromText("[OPT]\n" + c.lang), g,
                          reporter);
    EXPECT_EQ(reporter.messages, c.messages);
    EXPECT_EQ(g.nSkinsNum, c.skins);
    EXPECT_EQ(g.nSkinsIndex, c.skins_index);
    EXPECT_EQ(g.nLangNum, c.langs);
    EXPECT_EQ(g.nLangIndex, c.lang_index);
}

const std::string kLists = "ShowDrvOpt=1\nSkins1=Dark,dark\nSkins2=Light,light\nLang1=English,en\n";

INSTANTIATE_TEST_SUITE_P(
    Options, LanguagesAndSkins,
    ::testing::Values(
        ListsCase{"HiddenWithoutShowDrvOpt", "ShowDrvOpt=0\nSkins1=bad\nLang1=English,en\n", "LangIndex=5",
                  {}, 0, 0, 0, 0},
        ListsCase{"ChoicesFromLangIni", kLists, "SkinsIndex=1\nLangIndex=0", {}, 2, 1, 1, 0},
        ListsCase{"SkinsIndexOutOfRangeTakesTheFirst", kLists, "SkinsIndex=2\nLangIndex=0",
                  {Error("SkinsIndex is invalidate")}, 2, 0, 1, 0},
        ListsCase{"NegativeLangIndexTakesTheFirst", kLists, "LangIndex=-1",
                  {Error("LangIndex is invalidate")}, 2, 0, 1, 0},
        ListsCase{"FirstSkinWithoutCommaEndsEverything", "ShowDrvOpt=1\nSkins1=dark\nLang1=English,en\n",
                  "SkinsIndex=7\nLangIndex=7", {Error("Skins1 is invalidate")}, 0, 0, 0, 0},
        ListsCase{"NothingAfterTheCommaIsInvalid", "ShowDrvOpt=1\nSkins1=Dark,dark\nSkins2=Light,\n",
                  "", {Error("Skins2 is invalidate")}, 0, 0, 0, 0},
        ListsCase{"BadLanguageKeepsTheSkins", kLists + "Lang2=French\n", "SkinsIndex=1\nLangIndex=9",
                  {Error("Lang2 is invalidate")}, 2, 1, 0, 0},
        ListsCase{"ListEndsAtTheFirstMissingNumber", "ShowDrvOpt=1\nSkins1=a,b\nSkins3=c,d\n", "", {}, 1, 0, 0,
                  0},
        ListsCase{"EmptyListsKeepAnyIndex", "ShowDrvOpt=1\n", "SkinsIndex=4\nLangIndex=5", {}, 0, 4, 0, 5}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(LanguagesAndSkinsTable, KeepsTenEntriesCutTo29CharactersAndReadsPlaySoundAlways) {
    std::string cfg = "[OPT]\nShowDrvOpt=1\n";
    for (int n = 1; n <= 11; ++n) cfg += "Lang" + std::to_string(n) + "=Name" + std::to_string(n) + ",f\n";
    cfg += "Skins1=" + std::string(40, 'n') + "," + std::string(40, 'f') + "\n";
    GVar g;
    CollectingReporter reporter;
    ReadLanguagesAndSkins(IniFile::FromText(cfg), IniFile::FromText("[OPT]\nPlaySound=1\n"), g, reporter);
    EXPECT_EQ(g.nLangNum, 10);
    EXPECT_EQ(g.LangTable[9].szName, "Name10");
    EXPECT_EQ(g.SkinsTable[0].szName, std::string(29, 'n'));
    EXPECT_EQ(g.SkinsTable[0].szFolder, std::string(29, 'f'));
    EXPECT_EQ(g.bPlaySound, 1);

    GVar hidden;
    ReadLanguagesAndSkins(IniFile::FromText("[OPT]\n"), IniFile::FromText("[OPT]\nPlaySound=1\n"), hidden,
                          reporter);
    EXPECT_EQ(hidden.bPlaySound, 1);
    EXPECT_THAT(reporter.messages, IsEmpty());
}

}  // namespace
}  // namespace quobel
