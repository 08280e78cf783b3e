#include <gtest/gtest.h>

#include <cstdlib>

#include "quobelctl_fixture.h"
#include "sim/sim_control.h"

namespace quobel::test {
namespace {

// quobelctl finds the window's socket in the user's runtime folder.
struct RuntimeDir {
    explicit RuntimeDir(const TempDir& dir) { ::setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1); }
    ~RuntimeDir() { ::unsetenv("XDG_RUNTIME_DIR"); }
};

TEST(SimCli, DrivesTheDevicesOfARunningSimulation) {
    TempDir home, runtime;
    RuntimeDir env(runtime);
    EXPECT_EQ(RunQuobelctl(home, "sim unplug mouse").exit_code, 1);  // nothing runs yet

    SimBackend sim;
    auto& mouse = static_cast<SimMouse&>(sim.Add(std::make_unique<SimMouse>(0x1209, 0x5307, 3, 2)));
    SimControlServer server;
    ASSERT_TRUE(server.Start(sim, SimControlSocketPath()));
    EXPECT_EQ(RunQuobelctl(home, "sim unplug mouse").exit_code, 0);
    EXPECT_FALSE(mouse.Plugged());
    const CtlRun dump = RunQuobelctl(home, "sim dump mouse");
    EXPECT_EQ(dump.exit_code, 0);
    EXPECT_EQ(dump.out.substr(0, 4), "04: ") << dump.out;
    EXPECT_EQ(RunQuobelctl(home, "sim unplug pad").exit_code, 1);
    EXPECT_EQ(RunQuobelctl(home, "sim notify mouse 1 2 3").exit_code, 2);
}

}  // namespace
}  // namespace quobel::test
