// quobelctl apply on the simulated devices: what reaches each device, as the trace shows it.

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "profile/profile_list.h"
#include "profile/profile_store.h"
#include "quobelctl_fixture.h"

namespace quobel::test {
namespace {

struct TraceLine {
    std::string verb, kind, first;  // first: report ID or the number of WAIT / PROGRESS
    std::size_t data = 0;           // data bytes after the report ID
};

std::vector<TraceLine> Parse(const std::string& out) {
    std::vector<TraceLine> lines;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        TraceLine t;
        words >> t.verb >> t.kind >> t.first;
        std::string w;
        while (words >> w) ++t.data;
        lines.push_back(t);
    }
    return lines;
}

bool Has(const std::vector<TraceLine>& lines, const std::string& verb, const std::string& kind,
         const std::string& id, std::size_t data) {
    for (const auto& l : lines)
        if (l.verb == verb && l.kind == kind && l.first == id && l.data == data) return true;
    return false;
}

TEST(QuobelctlApply, DefaultProfileReachesEverySimulatedDevice) {
    TempDir home;
    const std::string base = "--program-dir data --data-dir '" + (home / "fresh") + "' --simulate ";
    const CtlRun run = RunQuobelctl(home, base + "apply --trace");
    ASSERT_EQ(run.exit_code, 0) << run.out;
    const auto lines = Parse(run.out);
    EXPECT_TRUE(Has(lines, "GET", "mouse", "04", 58));
    EXPECT_TRUE(Has(lines, "SET", "mouse", "04", 58));
    EXPECT_TRUE(Has(lines, "SET", "mouse", "08", 8));
    EXPECT_TRUE(Has(lines, "SET", "mouse", "06", 1144));
    EXPECT_TRUE(Has(lines, "SET", "keyboard", "05", 6));
    EXPECT_TRUE(Has(lines, "SET", "keyboard", "06", 1031));
    EXPECT_TRUE(Has(lines, "SET", "pad", "30", 26));

    // Every line is one of the four forms; progress ends at 100 on each device.
    std::map<std::string, std::string> last_progress;
    for (const auto& l : lines) {
        EXPECT_TRUE(l.verb == "SET" || l.verb == "GET" || l.verb == "WAIT" || l.verb == "PROGRESS") << l.verb;
        if (l.verb == "PROGRESS") last_progress[l.kind] = l.first;
    }
    EXPECT_EQ(last_progress, (std::map<std::string, std::string>{
                                 {"keyboard", "100"}, {"mouse", "100"}, {"pad", "100"}}));

    // The default profiles were stored: a second run applies the same profile.
    const CtlRun again = RunQuobelctl(home, base + "apply --trace");
    EXPECT_EQ(again.exit_code, 0);
    EXPECT_EQ(again.out, run.out);
}

TEST(QuobelctlApply, TheDualSensorExampleMouseGetsItsBlocks) {
    TempDir home;
    const CtlRun run = RunQuobelctl(home, "--program-dir data/examples/rv4-dual-sensor --data-dir '" +
                                              (home / "fresh") + "' --simulate apply --kind mouse --trace");
    ASSERT_EQ(run.exit_code, 0) << run.out;
    const auto lines = Parse(run.out);
    EXPECT_TRUE(Has(lines, "GET", "mouse", "04", 58));
    EXPECT_TRUE(Has(lines, "SET", "mouse", "04", 58));
    EXPECT_TRUE(Has(lines, "SET", "mouse", "08", 8));
    EXPECT_TRUE(Has(lines, "SET", "mouse", "06", 1144));
}

// The CJ_1 mouse is sent a forced second rate; the stored profile keeps it, as the
// window's Apply does, so the rate page and the next apply agree with the device.
TEST(QuobelctlApply, TheForcedGunMouseRateIsStored) {
    TempDir home;
    const std::string data = home / "fresh";
    const std::string base = "--program-dir data/examples/cj1-gun --data-dir '" + data + "' --simulate apply --kind mouse";
    const auto stored_rate = [&] {
        CProList list;
        EXPECT_GT(LoadProfiles(list, data + "/"), 0);
        const ProfileData* current = list.Find(ReadCurrentId(data + "/"));
        return current ? current->Ms.dwRate[1] : 0u;
    };
    // Flags without the mode block change nothing.
    ASSERT_EQ(RunQuobelctl(home, base + " --flags 1").exit_code, 0);
    EXPECT_NE(stored_rate(), 0x250u);
    ASSERT_EQ(RunQuobelctl(home, base).exit_code, 0);
    EXPECT_EQ(stored_rate(), 0x250u);
}

TEST(QuobelctlApply, KindFlagsAndProfileSelectWhatIsWritten) {
    TempDir home;
    const std::string base = "--program-dir data --data-dir '" + (home / "d") + "' --simulate ";
    const CtlRun pad = RunQuobelctl(home, base + "apply --kind keyboard --flags 1 --trace");
    ASSERT_EQ(pad.exit_code, 0);
    const auto lines = Parse(pad.out);
    for (const auto& l : lines) EXPECT_EQ(l.kind, "keyboard");
    // Flag 1 only: no header request, only the key matrix.
    EXPECT_FALSE(Has(lines, "SET", "keyboard", "05", 6));
    EXPECT_TRUE(Has(lines, "SET", "keyboard", "06", 1031));

    EXPECT_EQ(RunQuobelctl(home, base + "apply --profile 0x00000001").exit_code, 1);
    EXPECT_EQ(RunQuobelctl(home, base + "apply --kind mice").exit_code, 2);
    EXPECT_EQ(RunQuobelctl(home, base + "apply --flags zz").exit_code, 2);
    const CtlRun quiet = RunQuobelctl(home, base + "apply");
    EXPECT_EQ(quiet.exit_code, 0);
    EXPECT_EQ(quiet.out, "");
}

}  // namespace
}  // namespace quobel::test
