// quobelctl config check and config show, run as the user runs them.
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "common/temp_dir.h"

namespace quobel {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

struct RunResult {
    int exit_code = -1;
    std::string out;
};

// Runs quobelctl with a program folder and a fresh data folder; standard error is dropped.
RunResult Ctl(const std::string& program_dir, const std::string& data_dir, const std::string& command) {
    const std::string cmd = std::string("'") + QUOBEL_PROGRAM_DIR + "/quobelctl' --program-dir '" + program_dir +
                            "' --data-dir '" + data_dir + "' " + command + " 2>/dev/null";
    RunResult r;
    FILE* pipe = ::popen(cmd.c_str(), "r");
    if (pipe == nullptr) return r;
    std::array<char, 4096> buf{};
    while (const std::size_t n = std::fread(buf.data(), 1, buf.size(), pipe)) r.out.append(buf.data(), n);
    const int status = ::pclose(pipe);
    r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

// A program folder holding just the given cfg.ini.
struct ProgramFolder {
    explicit ProgramFolder(const std::string& cfg) { std::ofstream(dir / "cfg.ini") << cfg; }
    Json Show() const {
        const RunResult r = Ctl(dir.path(), data.path(), "config show --json");
        EXPECT_EQ(r.exit_code, 0);
        return Json::parse(r.out, nullptr, false);
    }
    test::TempDir dir;
    test::TempDir data;
};

TEST(ConfigCheck, EveryShippedConfigurationReadsWithoutErrors) {
    std::vector<std::string> folders = {QUOBEL_PROGRAM_DIR};
    for (const auto& e : fs::directory_iterator(fs::path(QUOBEL_SOURCE_DIR) / "data" / "examples")) {
        if (fs::exists(e.path() / "cfg.ini")) folders.push_back(e.path().string());
    }
    ASSERT_GE(folders.size(), 6u);
    for (const std::string& folder : folders) {
        test::TempDir data;
        const RunResult r = Ctl(folder, data.path(), "config check");
        EXPECT_EQ(r.exit_code, 0) << folder << "\n" << r.out;
        for (const std::string& line : Lines(r.out)) EXPECT_FALSE(line.starts_with("Error")) << folder << ": " << line;
    }
}

TEST(ConfigShow, SensorSectionWithOnlyItsIdentifier) {
    const ProgramFolder p("[OPT]\nappdir=quobel-test\nMsFw=5\nMacProtocol=1\n[MS]\n[SENSOR_1]\nSensor=0x3050\n");
    const Json doc = p.Show();
    ASSERT_TRUE(doc.is_object());
    const Json& ms = doc["mouse"];
    EXPECT_EQ(ms["currentSensor"], "0x3050");
    ASSERT_EQ(ms["sensors"].size(), 1u);
    const Json& s = ms["sensors"][0];
    EXPECT_EQ(s["current"], true);
    std::vector<int> dpi;
    std::vector<std::string> colours;
    for (const Json& l : s["levels"]) {
        dpi.push_back(l["dpi"]);
        colours.push_back(l["colour"]);
    }
    EXPECT_THAT(dpi, ::testing::ElementsAre(750, 1000, 1500, 2000, 2500, 3000));
    EXPECT_THAT(colours, ::testing::ElementsAre("#ff0000", "#0000ff", "#00ff00", "#00ffff", "#ff00ff", "#ffffff"));
    EXPECT_EQ(s["rates"], Json({"0x125", "0x250", "0x500", "0x1000"}));
    EXPECT_EQ(s["defaultRates"], Json({"0x500", "0x500", "0x500"}));
    EXPECT_EQ(s["modes"], 3);
    EXPECT_EQ(s["buttons"], 7);
    EXPECT_EQ(s["keyY"], 35);
    EXPECT_EQ(s["dpiSteps"].size(), 11u);
    // The button lists are laid out from the key top even without functions.
    ASSERT_EQ(ms["modes"].size(), 3u);
    EXPECT_EQ(ms["modes"][0]["buttons"].size(), 7u);
    EXPECT_EQ(ms["modes"][0]["buttons"][1]["rect"], Json({45, 66, 224, 91}));
    EXPECT_TRUE(doc["keyboard"].is_null());
    EXPECT_TRUE(doc["pad"].is_null());
}

TEST(ConfigShow, KeyboardKeysWithTheirFnLayerAndThePadStrip) {
    const ProgramFolder p("[OPT]\nappdir=quobel-test\nKbFw=20\nPadFw=40\nMacProtocol=1\n"
                          "[KB]\nVID=0x1209\nPID=0x0642\nGaoshouGroupNum=1\nGaoshouKey1=41,a0\n"
                          "[KBKEY]\nK1=0,0,30,30,2,41,0,9,67\nK2=0,30,60,60,2,a0,0,4,88\n"
                          "[FN]\nK1=4,26,0\n"
                          "[PAD]\nPID=0x0640\nEftGridW=10\n");
    const Json doc = p.Show();
    ASSERT_TRUE(doc.is_object());
    const Json& kb = doc["keyboard"];
    EXPECT_EQ(kb["pid"], "0x0642");
    ASSERT_EQ(kb["keys"].size(), 2u);
    const Json& a = kb["keys"][0];
    EXPECT_EQ(a["slot"], 1);
    EXPECT_EQ(a["rect"], Json({0, 0, 30, 30}));
    EXPECT_EQ(a["vk"], "0x41");
    EXPECT_EQ(a["matrix"], 9);
    EXPECT_EQ(a["led"], 67);
    EXPECT_EQ(a["fnIndex"], 0);
    EXPECT_EQ(a["fn"]["funId"], "0x04000026");
    const Json& shift = kb["keys"][1];
    EXPECT_EQ(shift["modifier"], "0x02");
    EXPECT_EQ(shift["modVk"], "0x10");
    EXPECT_EQ(shift["fnIndex"], -1);
    EXPECT_FALSE(shift.contains("fn"));
    EXPECT_EQ(kb["colourGroups"][0]["keys"], Json::parse(R"([{"vk":"0x41","matrix":9},{"vk":"0xa0","matrix":4}])"));

    const Json& pad = doc["pad"];
    EXPECT_EQ(pad["page"], Json({360, 100}));
    EXPECT_EQ(pad["strip"]["top"], Json({18, 37, 489, 47}));
    EXPECT_EQ(pad["strip"]["right"], Json({484, 47, 494, 372}));
}

TEST(ConfigShow, WindowsTextAndForeignBytesGiveJsonNotAnAbort) {
    // A cfg.ini saved by a Windows editor: "Café" in Windows-1252.
    const ProgramFolder p("[OPT]\r\nTitle=Caf\xE9\r\nappdir=quobel-test\r\nMacProtocol=1\r\n");
    const Json doc = p.Show();
    ASSERT_TRUE(doc.is_object());
    EXPECT_EQ(doc["options"]["title"], "Caf\xC3\xA9");

    // A data folder whose name is not UTF-8 is shown with a replacement character.
    const std::string odd = p.data / "caf\xE9";
    fs::create_directories(odd);
    const RunResult r = Ctl(p.dir.path(), odd, "config show --json");
    EXPECT_EQ(r.exit_code, 0);
    const Json shown = Json::parse(r.out, nullptr, false);
    ASSERT_TRUE(shown.is_object()) << r.out;
    EXPECT_NE(shown["options"]["dataFolder"].get<std::string>().find("caf\xEF\xBF\xBD"), std::string::npos);
}

}  // namespace
}  // namespace quobel
