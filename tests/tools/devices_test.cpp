#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "platform/ini.h"
#include "quobelctl_fixture.h"

namespace quobel {
namespace {

TEST(QuobelctlDevices, SimulatedDevicesAreAllPresent) {
    test::TempDir home;
    const test::CtlRun r = test::RunQuobelctl(home, "--program-dir data --simulate devices");
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.out, "mouse 1209:5307 present\nkeyboard 1209:0642 present\npad 1209:0640 present\n");
}

TEST(QuobelctlDevices, RealDevicesGiveOneWellFormedLinePerKind) {
    // Without attached devices every kind reads "absent"; with some, their state.
    test::TempDir home;
    const test::CtlRun r = test::RunQuobelctl(home, "--program-dir data devices");
    EXPECT_EQ(r.exit_code, 0);
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
    test::TempDir home;
    EXPECT_EQ(test::RunQuobelctl(home, "--program-dir data devices extra").exit_code, 2);
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
