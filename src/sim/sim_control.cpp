#include "sim/sim_control.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

namespace quobel {

namespace {

constexpr std::size_t kMaxLine = 256;

bool MakeAddress(const std::string& path, sockaddr_un& addr) {
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof addr.sun_path) return false;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    return true;
}

int Connect(const std::string& path) {
    sockaddr_un addr;
    if (!MakeAddress(path, addr)) return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Reads until the peer closes (or limit bytes); a time-out keeps a stuck peer from
// holding the caller.
std::string ReadAll(int fd, std::size_t limit, int timeout_ms, bool stop_at_newline) {
    std::string out;
    char buf[512];
    while (out.size() < limit) {
        pollfd p{fd, POLLIN, 0};
        const int r = ::poll(&p, 1, timeout_ms);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        out.append(buf, static_cast<std::size_t>(n));
        if (stop_at_newline && out.find('\n') != std::string::npos) break;
    }
    return out;
}

SimDevice* DeviceOf(SimBackend& sim, std::string_view kind) {
    if (kind == "mouse") return sim.Mouse();
    if (kind == "keyboard") return sim.Keyboard();
    if (kind == "pad") return sim.Pad();
    return nullptr;
}

bool ParseHexByte(const std::string& word, std::uint8_t& out) {
    if (word.empty() || word.size() > 2) return false;
    char* end = nullptr;
    const unsigned long v = std::strtoul(word.c_str(), &end, 16);
    if (end == nullptr || *end != '\0') return false;
    out = static_cast<std::uint8_t>(v);
    return true;
}

}  // namespace

std::string SimControlSocketPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') return std::string(runtime) + "/quobel-sim.sock";
    return "/tmp/quobel-sim-" + std::to_string(::getuid()) + ".sock";
}

std::string RunSimCommand(SimBackend& sim, std::string_view line) {
    std::istringstream in{std::string(line)};
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    if (words.size() < 2) return "error: usage: plug|unplug|dump KIND, notify mouse B0 B1 B2 B3\n";
    SimDevice* dev = DeviceOf(sim, words[1]);
    if (dev == nullptr) return "error: no simulated " + words[1] + "\n";
    const std::string& cmd = words[0];
    if (cmd == "plug" && words.size() == 2) {
        dev->Plug();
        return "ok\n";
    }
    if (cmd == "unplug" && words.size() == 2) {
        dev->Unplug();
        return "ok\n";
    }
    if (cmd == "notify" && words.size() == 6 && words[1] == "mouse") {
        std::uint8_t b[4];
        for (int i = 0; i < 4; ++i) {
            if (!ParseHexByte(words[static_cast<std::size_t>(2 + i)], b[i])) return "error: not a hex byte: " + words[static_cast<std::size_t>(2 + i)] + "\n";
        }
        if (!sim.Mouse()->EmitNotification(b[0], b[1], b[2], b[3])) return "error: the mouse is unplugged\n";
        return "ok\n";
    }
    if (cmd == "dump" && words.size() == 2) {
        std::string out = "ok\n";
        char hex[4];
        for (const SimDevice::DumpEntry& e : dev->Dump()) {
            out += e.name + ":";
            for (std::uint8_t byte : e.bytes) {
                std::snprintf(hex, sizeof hex, " %02x", byte);
                out += hex;
            }
            out += "\n";
        }
        return out;
    }
    return "error: usage: plug|unplug|dump KIND, notify mouse B0 B1 B2 B3\n";
}

bool SimControlServer::Start(SimBackend& sim, const std::string& path, std::string* error) {
    Stop();
    const auto fail = [&](const std::string& why) {
        if (error != nullptr) *error = why;
        if (listen_fd_ >= 0) ::close(listen_fd_);
        if (wake_fd_ >= 0) ::close(wake_fd_);
        listen_fd_ = wake_fd_ = -1;
        return false;
    };
    sockaddr_un addr;
    if (!MakeAddress(path, addr)) return fail("socket path too long: " + path);
    if (const int other = Connect(path); other >= 0) {
        ::close(other);
        return fail("another simulated quobel serves " + path);
    }
    ::unlink(path.c_str());  // a socket left by a program that was killed
    listen_fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listen_fd_ < 0) return fail(std::strerror(errno));
    if (::bind(listen_fd_, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 || ::listen(listen_fd_, 4) != 0)
        return fail(path + ": " + std::strerror(errno));
    wake_fd_ = ::eventfd(0, EFD_CLOEXEC);
    if (wake_fd_ < 0) return fail(std::strerror(errno));
    sim_ = &sim;
    path_ = path;
    thread_ = std::jthread([this](std::stop_token st) { Serve(st); });
    return true;
}

void SimControlServer::Stop() {
    if (!thread_.joinable()) return;
    thread_.request_stop();
    const std::uint64_t one = 1;
    (void)!::write(wake_fd_, &one, sizeof one);
    thread_.join();
    ::close(listen_fd_);
    ::close(wake_fd_);
    listen_fd_ = wake_fd_ = -1;
    ::unlink(path_.c_str());
}

void SimControlServer::Serve(std::stop_token st) {
    while (!st.stop_requested()) {
        pollfd fds[2] = {{listen_fd_, POLLIN, 0}, {wake_fd_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents != 0) return;
        if ((fds[0].revents & POLLIN) == 0) continue;
        const int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        std::string line = ReadAll(fd, kMaxLine, 1000, true);
        if (const auto nl = line.find('\n'); nl != std::string::npos) line.resize(nl);
        (void)WriteAll(fd, RunSimCommand(*sim_, line));
        ::close(fd);
    }
}

bool SendSimCommand(const std::string& path, std::string_view line, std::string& answer) {
    const int fd = Connect(path);
    if (fd < 0) return false;
    std::string request(line);
    request += '\n';
    const bool sent = WriteAll(fd, request);
    ::shutdown(fd, SHUT_WR);
    answer = sent ? ReadAll(fd, 1 << 20, 5000, false) : std::string();
    ::close(fd);
    return sent && !answer.empty();
}

}  // namespace quobel
