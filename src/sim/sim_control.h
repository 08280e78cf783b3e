#pragma once
// Remote control of the simulated devices of a running `quobel --simulate`: the window
// listens on a local socket of the user's, and `quobelctl sim ...` sends one command
// line per connection and prints the answer. This is how the demo shows device events
// and how they are tested end to end.
//
// Commands: "plug KIND", "unplug KIND", "notify mouse B0 B1 B2 B3" (hex bytes of a
// notification report), "dump KIND". The answer's first line is "ok" or "error: <why>";
// a dump follows with one "<block>: <hex bytes>" line per block.

#include <atomic>
#include <string>
#include <string_view>
#include <thread>

#include "sim/sim_backend.h"

namespace quobel {

// The socket of this user: $XDG_RUNTIME_DIR/quobel-sim.sock, else /tmp/quobel-sim-<uid>.sock.
std::string SimControlSocketPath();

// Carries out one command line on the simulated devices.
std::string RunSimCommand(SimBackend& sim, std::string_view line);

// Serves the socket on a thread of its own until it is stopped or destroyed. Commands
// run on that thread; the devices' events reach their listeners from there, as real
// hot-plug events come from the monitor's thread.
class SimControlServer {
public:
    SimControlServer() = default;
    ~SimControlServer() { Stop(); }
    SimControlServer(const SimControlServer&) = delete;
    SimControlServer& operator=(const SimControlServer&) = delete;

    // False (with the reason in *error) when the socket cannot be made, or when another
    // program serves it; a socket left by a killed program is replaced.
    bool Start(SimBackend& sim, const std::string& path, std::string* error = nullptr);
    void Stop();

private:
    void Serve(std::stop_token st);

    SimBackend* sim_ = nullptr;
    std::string path_;
    int listen_fd_ = -1;
    int wake_fd_ = -1;
    std::jthread thread_;
};

// Sends one command line to the socket and stores the answer; false when no program
// serves it.
bool SendSimCommand(const std::string& path, std::string_view line, std::string& answer);

}  // namespace quobel
