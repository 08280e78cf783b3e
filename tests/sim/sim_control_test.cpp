#include "sim/sim_control.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstring>

#include "common/temp_dir.h"

namespace quobel {
namespace {

using namespace std::chrono_literals;
constexpr std::uint16_t kVid = 0x1a2b;

struct SimControl : ::testing::Test {
    SimControl() {
        mouse = static_cast<SimMouse*>(&sim.Add(std::make_unique<SimMouse>(kVid, 0x0001, 3, 2)));
        pad = static_cast<SimPad*>(&sim.Add(std::make_unique<SimPad>(kVid, 0x0003)));
    }
    std::string Send(std::string_view line) {
        std::string answer;
        EXPECT_TRUE(SendSimCommand(path, line, answer)) << line;
        return answer;
    }
    test::TempDir dir;
    std::string path = dir / "sim.sock";
    SimBackend sim;
    SimMouse* mouse = nullptr;
    SimPad* pad = nullptr;
    SimControlServer server;
};

TEST_F(SimControl, PlugUnplugAndDumpThroughTheSocket) {
    ASSERT_TRUE(server.Start(sim, path));
    EXPECT_EQ(Send("unplug mouse"), "ok\n");
    EXPECT_FALSE(mouse->Plugged());
    EXPECT_EQ(Send("plug mouse"), "ok\n");
    EXPECT_TRUE(mouse->Plugged());

    const std::array<std::uint8_t, 3> bytes = {0x01, 0xab, 0x10};
    pad->SetBlock(48, bytes);
    const std::string dump = Send("dump pad");
    EXPECT_EQ(dump.substr(0, 17), "ok\n30: 01 ab 10 0") << dump;
}

TEST_F(SimControl, NotifyReachesAReaderOfTheMouse) {
    ASSERT_TRUE(server.Start(sim, path));
    OpenRequest r;
    r.path_filter = FormatPathFilter(kVid, 0x0001, true);
    r.size_filter = InputLengthIs(5);
    const OpenResult opened = sim.Open(r);
    ASSERT_NE(opened.device, nullptr);
    EXPECT_EQ(Send("notify mouse 02 03 00 00"), "ok\n");
    std::array<std::uint8_t, 5> buf{};
    ASSERT_TRUE(opened.device->ReadInput(buf, 1s).ok());
    EXPECT_EQ(buf, (std::array<std::uint8_t, 5>{7, 2, 3, 0, 0}));
}

TEST_F(SimControl, WrongCommandsAreAnsweredWithTheReason) {
    struct Row { const char* line; const char* answer; };
    const Row rows[] = {
        {"notify mouse 02 03 zz 00", "error: not a hex byte: zz\n"},
        {"unplug keyboard", "error: no simulated keyboard\n"},
        {"explode mouse", "error: usage: plug|unplug|dump KIND, notify mouse B0 B1 B2 B3\n"},
        {"", "error: usage: plug|unplug|dump KIND, notify mouse B0 B1 B2 B3\n"},
    };
    for (const Row& row : rows) EXPECT_EQ(RunSimCommand(sim, row.line), row.answer) << row.line;
}

TEST_F(SimControl, AStaleSocketIsReplacedAndALiveOneRefused) {
    {
        // What a killed program leaves: a bound socket file nobody listens on.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strcpy(addr.sun_path, path.c_str());
        ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr), 0);
        ::close(fd);
    }
    ASSERT_TRUE(server.Start(sim, path));
    SimControlServer second;
    std::string error;
    EXPECT_FALSE(second.Start(sim, path, &error));
    EXPECT_NE(error.find("another simulated quobel"), std::string::npos) << error;
    EXPECT_EQ(Send("plug pad"), "ok\n");  // the first still serves

    server.Stop();
    std::string answer;
    EXPECT_FALSE(SendSimCommand(path, "plug pad", answer));
}

}  // namespace
}  // namespace quobel
