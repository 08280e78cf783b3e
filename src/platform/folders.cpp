#include "platform/folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace quobel {
namespace {

// The XDG rules ignore a relative path in these variables.
std::string AbsoluteEnv(const char* name) {
    const char* v = std::getenv(name);
    if (v == nullptr || v[0] != '/') return {};
    std::string s(v);
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

std::string UnderHome(const char* relative) {
    const std::string home = HomeFolder();
    if (home.empty()) return {};
    return home + (home.back() == '/' ? "" : "/") + relative;
}

}  // namespace

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') return home;
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buf(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd pw{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &pw, buf.data(), buf.size(), &found) != 0 || found == nullptr) return {};
    return found->pw_dir != nullptr ? std::string(found->pw_dir) : std::string();
}

std::string LocalAppDataFolder() {
    std::string dir = AbsoluteEnv("XDG_DATA_HOME");
    if (!dir.empty()) return dir;
    // The levels below home are created when missing; a missing home is not made up.
    const std::string home = HomeFolder();
    std::error_code ec;
    if (home.empty() || !std::filesystem::is_directory(home, ec)) return {};
    return UnderHome(".local/share");
}

std::string DesktopFolder() {
    std::string dir = AbsoluteEnv("XDG_DESKTOP_DIR");
    return dir.empty() ? UnderHome("Desktop") : dir;
}

std::string ExecutablePath() {
    std::error_code ec;
    const auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : p.string();
}

}  // namespace quobel
