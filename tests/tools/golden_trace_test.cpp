// The whole exchange of `quobelctl --simulate apply --trace` for the default profile of
// every shipped configuration, compared with its golden file: a change of any byte
// sent to a device shows in review.

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/golden.h"
#include "quobelctl_fixture.h"

namespace quobel::test {
namespace {

namespace fs = std::filesystem;

struct Shipped {
    std::string name;        // of the golden file and the test
    std::string programDir;  // relative to the source tree
};

// data/cfg.ini and every data/examples/*/cfg.ini.
std::vector<Shipped> ShippedConfigurations() {
    std::vector<Shipped> all{{"default", "data"}};
    std::vector<Shipped> examples;
    for (const auto& e : fs::directory_iterator(fs::path(QUOBEL_SOURCE_DIR) / "data/examples")) {
        if (fs::exists(e.path() / "cfg.ini")) {
            const std::string name = e.path().filename().string();
            examples.push_back({name, "data/examples/" + name});
        }
    }
    std::sort(examples.begin(), examples.end(), [](const Shipped& a, const Shipped& b) { return a.name < b.name; });
    all.insert(all.end(), examples.begin(), examples.end());
    return all;
}

void PrintTo(const Shipped& s, std::ostream* os) { *os << s.programDir; }

class GoldenTrace : public ::testing::TestWithParam<Shipped> {};

TEST_P(GoldenTrace, ApplyOfTheDefaultProfile) {
    TempDir home;
    const CtlRun run = RunQuobelctl(home, "--program-dir " + GetParam().programDir + " --data-dir '" +
                                              (home / "data") + "' --simulate apply --trace");
    ASSERT_EQ(run.exit_code, 0) << run.out;
    EXPECT_TRUE(MatchesGolden("trace/" + GetParam().name + ".trace", run.out));
}

std::string NameOf(const ::testing::TestParamInfo<Shipped>& info) {
    std::string n = info.param.name;
    std::replace_if(n.begin(), n.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return n;
}

INSTANTIATE_TEST_SUITE_P(Shipped, GoldenTrace, ::testing::ValuesIn(ShippedConfigurations()), NameOf);

}  // namespace
}  // namespace quobel::test
