#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "platform/ini.h"
#include "support/temp_dir.h"

namespace quobel {
namespace {

struct Run {
    int status = -1;
    std::string out;
};

Run Quobelctl(const std::string& args) {
    const std::string cmd = std::string(QUOBEL_PROGRAM_DIR) + "/quobelctl " + args + " 2>/dev/null";
    Run r;
    FILE* p = ::popen(cmd.c_str(), "r");
    if (p == nullptr) return r;
    std::array<char, 256> buf{};
    while (std::fgets(buf.data(), buf.size(), p) != nullptr) r.out += buf.data();
    const int st = ::pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

std::string DataArgs(const test::TempDir& data) {
    return "--program-dir " + std::string(QUOBEL_SOURCE_DIR) + "/data --data-dir " + data.path();
}

TEST(QuobelctlDevices, SimulatedDevicesAreAllPresent) {
    test::TempDir data;
    const Run r = Quobelctl(DataArgs(data) + " --simulate devices");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "mouse 1209:5307 present\nkeyboard 1209:0642 present\npad 1209:0640 present\n");
}

TEST(QuobelctlDevices, RealDevicesGiveOneWellFormedLinePerKind) {
    // Without attached devices every kind reads "absent"; with some, their state.
    test::TempDir data;
    const Run r = Quobelctl(DataArgs(data) + " devices");
    EXPECT_EQ(r.status, 0);
    const std::regex line(R"((mouse 1209:5307|keyboard 1209:0642|pad 1209:0640) (present|absent|no access)\n)");
    std::string rest = r.out;
    int lines = 0;
    std::smatch m;
    while (std::regex_search(rest, m, line, std::regex_constants::match_continuous)) {
        rest = m.suffix();
        ++lines;
    }
    EXPECT_EQ(lines, 3) << r.out;
    EXPECT_TRUE(rest.empty()) << r.out;
}

TEST(QuobelctlDevices, RejectsArguments) {
    test::TempDir data;
    EXPECT_EQ(Quobelctl(DataArgs(data) + " devices extra").status, 2);
}

// The shipped udev rules must cover every device the shipped configuration names.
TEST(ShippedData, UdevRulesCoverEveryConfiguredDevice) {
    const std::string dir = std::string(QUOBEL_SOURCE_DIR) + "/data/";
    const IniFile cfg = IniFile::Load(dir + "cfg.ini");
    ASSERT_TRUE(cfg.opened());
    std::ifstream in(dir + "70-quobel.rules");
    std::stringstream rules;
    rules << in.rdbuf();
    for (const char* section : {"MS", "KB", "PAD"}) {
        char want[160];
        std::snprintf(want, sizeof want,
                      "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"%04x\", ATTRS{idProduct}==\"%04x\", TAG+=\"uaccess\"",
                      static_cast<unsigned>(cfg.GetInt(section, "VID", 0) & 0xFFFF),
                      static_cast<unsigned>(cfg.GetInt(section, "PID", 0) & 0xFFFF));
        EXPECT_NE(rules.str().find(want), std::string::npos) << section << ": " << want;
    }
}

}  // namespace
}  // namespace quobel
