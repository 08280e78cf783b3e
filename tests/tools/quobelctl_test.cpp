// quobelctl from the command line: output and exit codes.

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "quobelctl_fixture.h"

namespace quobel::test {
namespace {

TEST(QuobelctlConfigCheck, ConfigurationWithoutOptionsIsAnError) {
    TempDir home;
    const CtlRun run = RunQuobelctl(home, "--program-dir tests/data/config/no-opt config check");
    EXPECT_EQ(run.out, "Error: APPDATA=NULL\nError: Macro Protocol is unknown\n");
    EXPECT_EQ(run.exit_code, 1);
}

TEST(QuobelctlConfigCheck, CleanConfigurationPrintsNothingAndCreatesTheDataFolder) {
    TempDir home;
    std::filesystem::create_directories(home / "share");
    const CtlRun run = RunQuobelctl(home, "--program-dir " + ConfigFixture("clean") + " config check");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_TRUE(std::filesystem::is_directory(home / "share/quobel-test"));
}

TEST(QuobelctlConfigCheck, EveryMessageIsPrintedInTheOrderRaised) {
    TempDir home;
    const CtlRun run = RunQuobelctl(home, "--data-dir '" + (home / "data") + "' --program-dir " +
                                              ConfigFixture("bad-values") + " config check");
    EXPECT_EQ(run.out, "Error: Wrong POINT num\nError: Skins1 is invalidate\n");
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_TRUE(std::filesystem::is_directory(home / "data"));
}

TEST(Quobelctl, HelpAndMisuse) {
    TempDir home;
    const CtlRun help = RunQuobelctl(home, "--help");
    EXPECT_EQ(help.exit_code, 0);
    EXPECT_NE(help.out.find("config check"), std::string::npos);
    EXPECT_EQ(RunQuobelctl(home, "").exit_code, 2);
    EXPECT_EQ(RunQuobelctl(home, "no-such-command").exit_code, 2);
    EXPECT_EQ(RunQuobelctl(home, "--no-such-option config check").exit_code, 2);
    EXPECT_EQ(RunQuobelctl(home, "config").exit_code, 2);
    EXPECT_EQ(RunQuobelctl(home, "config check extra").exit_code, 2);
}

}  // namespace
}  // namespace quobel::test
