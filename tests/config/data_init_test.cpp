#include "config/data_init.h"

#include <filesystem>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/temp_dir.h"

namespace quobel {
namespace {

using test::ReadText;
using test::WriteText;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct LimitsCase {
    const char* name;
    int ms_fw;
    int kb_fw;
    int max_event;
    int max_delay;
    int macro_num;
};

class MacroLimitsTable : public ::testing::TestWithParam<LimitsCase> {};

TEST_P(MacroLimitsTable, FollowTheConfiguredDevices) {
    const LimitsCase& c = GetParam();
    GVar g;
    g.nMsFw = c.ms_fw;
    g.nKbFw = c.kb_fw;
    g.nPadFw = 1;  // the pad has no macros
    const MacroLimits l = MacroLimitsFor(g);
    EXPECT_EQ(std::tie(l.nMinDelay, l.nMacroBufSize, l.nMaxLoop), std::make_tuple(1, 128, 65535));
    EXPECT_EQ(std::tie(l.nMaxEvent, l.nMaxDelay, l.nMacroNum),
              std::make_tuple(c.max_event, c.max_delay, c.macro_num));
}

INSTANTIATE_TEST_SUITE_P(DataInit, MacroLimitsTable,
                         ::testing::Values(LimitsCase{"MouseAndKeyboard", 1, 20, 32, 25627, 64},
                                           LimitsCase{"MouseOnly", 10, 0, 32, 25627, 8},
                                           LimitsCase{"KeyboardOnly", 0, 20, 60, 65280, 64},
                                           LimitsCase{"Neither", 0, 0, 0, 0, 0}),
                         [](const auto& row) { return std::string(row.param.name); });

struct AppdirCase {
    const char* name;
    const char* appdir;
    const char* folder;
};

class DataFolderNames : public ::testing::TestWithParam<AppdirCase> {};

TEST_P(DataFolderNames, StayBelowTheLocalDataFolder) {
    EXPECT_EQ(DataFolderName(GetParam().appdir), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(DataInit, DataFolderNames,
                         ::testing::Values(AppdirCase{"Plain", "quobel-x", "quobel-x"},
                                           AppdirCase{"TwoLevels", "a/b", "a/b"},
                                           AppdirCase{"TrailingSeparator", "a/", "a"},
                                           AppdirCase{"Empty", "", "quobel"},
                                           AppdirCase{"Dot", ".", "quobel"},
                                           AppdirCase{"Parent", "..", "quobel"},
                                           AppdirCase{"OutOfIt", "a/../../x", "quobel"},
                                           AppdirCase{"Absolute", "/etc", "quobel"}),
                         [](const auto& row) { return std::string(row.param.name); });

// The one rule the window, the start-up and skingen take the skin folder by.
TEST(SkinSubfolder, SelectedEntryWithSlashesOrTheCommonFolder) {
    GVar g;
    EXPECT_EQ(SkinSubfolder(g), kCommonSkinFolder);
    g.SkinsTable[0] = {"Dark", "skins/dark"};
    g.SkinsTable[1] = {"Light", "skins\\light\\"};
    g.nSkinsNum = 2;
    for (const auto& [index, folder] : {std::pair{0, "skins/dark/"}, {1, "skins/light/"}, {2, "skins/dark/"},
                                        {-1, "skins/dark/"}, {kMaxSkins, "skins/dark/"}}) {
        g.nSkinsIndex = index;
        EXPECT_EQ(SkinSubfolder(g), folder) << "index " << index;
    }
}

TEST(ProgramFolder, BesideTheProgramWhenItHoldsCfgIniElseTheInstalledDataFolder) {
    test::TempDir root;
    std::filesystem::create_directories(root / "build/bin");
    WriteText(root / "build/bin/cfg.ini", "");
    EXPECT_EQ(ProgramFolder({.executable = root / "build/bin/quobel"}), root / "build/bin/");
    std::filesystem::create_directories(root / "usr/bin");
    EXPECT_EQ(ProgramFolder({.executable = root / "usr/bin/quobel"}), root / "usr/share/quobel/");
    EXPECT_EQ(ProgramFolder({.executable = root / "usr/bin/quobel", .program_dir = "/opt/q"}), "/opt/q/");
    EXPECT_EQ(ProgramFolder({.executable = "quobel"}), "");
    EXPECT_EQ(ProgramFolder({}), "");
}

// A program folder, a local application data folder and a desktop, all fresh.
class StartCoreTest : public ::testing::Test {
protected:
    StartCoreTest() : log_([] { return LogTime{2026, 3, 4, 10, 5, 7, 42}; }, [](std::string_view) {}) {
        std::filesystem::create_directories(root_ / "prog");
        std::filesystem::create_directories(root_ / "share");
        std::filesystem::create_directories(root_ / "desk");
        paths_.executable = root_ / "prog/quobel";
        paths_.local_app_data = root_ / "share";
        paths_.desktop = root_ / "desk";
    }

    StartupResult Start(const std::string& cfg) {
        WriteText(root_ / "prog/cfg.ini", cfg);
        return StartCore(paths_, config_, texts_, reporter_, log_);
    }

    static std::string Entries(std::initializer_list<std::string> lines) {
        std::string out;
        for (const auto& l : lines) out += "\r\n05:07.042   " + l;
        return out;
    }

    test::TempDir root_;
    StartupPaths paths_;
    Config config_;
    TextTable texts_;
    CollectingReporter reporter_;
    Log log_;
};

TEST_F(StartCoreTest, FindsTheFoldersCreatesTheDataFolderAndLogsTheLaunch) {
    ASSERT_EQ(Start("[OPT]\r\nDebug=2\r\nTitle=Quo\r\nVer=1.2\r\nappdir=quobel\r\nMacProtocol=1\r\n"),
              StartupResult::Ready);
    EXPECT_THAT(reporter_.messages, IsEmpty());
    EXPECT_EQ(config_.szAppPath, root_ / "prog/");
    EXPECT_EQ(config_.szDataPath, root_ / "share/quobel/");
    EXPECT_TRUE(std::filesystem::is_directory(config_.szDataPath));
    EXPECT_EQ(config_.gVar.pszTitle, "Quo");
    EXPECT_EQ(config_.gVar.szVersion, texts_.Get("tc_version") + " 1.2");
    EXPECT_EQ(ReadText(root_ / "desk/Log.txt"),
              Entries({"Mk AppData=" + (root_ / "share/quobel/"), std::string(50, '-'),
                       "Launch 2026-3-4:10H, Ver=1.2, Title=Quo"}));
    EXPECT_EQ(TextFilePath(config_), root_ / "prog/text.xml");
    EXPECT_EQ(SkinFolder(config_), root_ / "prog/skins/");
}

TEST_F(StartCoreTest, ANewAccountGetsTheWholeDataPath) {
    // A fresh home: no .local at all.
    paths_.local_app_data = root_ / "home/.local/share";
    std::filesystem::create_directories(root_ / "home");
    ASSERT_EQ(Start("[OPT]\nappdir=a/b\nMacProtocol=1\n"), StartupResult::Ready);
    EXPECT_EQ(config_.szDataPath, root_ / "home/.local/share/a/b/");
    EXPECT_TRUE(std::filesystem::is_directory(config_.szDataPath));
}

TEST_F(StartCoreTest, AnEmptyAppdirIsAFolderOfOurOwn) {
    ASSERT_EQ(Start("[OPT]\nMacProtocol=1\n"), StartupResult::Ready);
    EXPECT_EQ(config_.szDataPath, root_ / "share/quobel/");
    EXPECT_TRUE(std::filesystem::is_directory(config_.szDataPath));
    EXPECT_EQ(config_.gVar.szAppDir, "") << "the option itself stays as configured";
}

TEST_F(StartCoreTest, WithoutAHomeThereIsNoDataFolderNotTheWorkingDirectory) {
    paths_.local_app_data.clear();
    EXPECT_EQ(Start("[OPT]\nappdir=quobel\nMacProtocol=1\n"), StartupResult::NoDataFolder);
    EXPECT_EQ(config_.szDataPath, "");
    EXPECT_FALSE(std::filesystem::exists("quobel/")) << "nothing beside the working directory";
}

TEST_F(StartCoreTest, LanguageAndSkinComeFromLangIniInTheDataFolder) {
    paths_.data_dir = root_ / "data";
    std::filesystem::create_directories(paths_.data_dir);
    WriteText(root_ / "data/lang.ini", "[OPT]\r\nLangIndex=1\r\nSkinsIndex=1\r\nPlaySound=1\r\n");
    ASSERT_EQ(Start("[OPT]\nappdir=unused\nMacProtocol=1\nShowDrvOpt=1\n"
                    "Skins1=Dark,dark\nSkins2=Light,light\nLang1=English,en\nLang2=Deutsch,de\n"),
              StartupResult::Ready);
    EXPECT_EQ(config_.szDataPath, root_ / "data/");
    EXPECT_FALSE(std::filesystem::exists(root_ / "share/unused"));
    EXPECT_EQ(config_.gVar.bPlaySound, 1);
    EXPECT_EQ(TextFilePath(config_), root_ / "prog/Text/de/text.xml");
    EXPECT_EQ(SkinFolder(config_), root_ / "prog/light/");
}

TEST_F(StartCoreTest, WithoutOptionsItStillStartsAndReportsTheMissingValues) {
    ASSERT_EQ(Start(""), StartupResult::Ready);
    EXPECT_THAT(reporter_.messages, ElementsAre(ReportedMessage{"Error", "APPDATA=NULL"},
                                                ReportedMessage{"Error", "Macro Protocol is unknown"}));
    EXPECT_EQ(config_.limits.nMacroNum, 0);
    EXPECT_FALSE(std::filesystem::exists(root_ / "desk/Log.txt"));
    EXPECT_EQ(config_.gVar.pszTitle, texts_.Get("tc_title"));
}

TEST_F(StartCoreTest, AProgramWithoutFolderEndsSilently) {
    paths_.executable = "quobel";
    EXPECT_EQ(Start(""), StartupResult::NoProgramFolder);
    EXPECT_THAT(reporter_.messages, IsEmpty());
}

}  // namespace
}  // namespace quobel
