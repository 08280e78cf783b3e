#include "platform/process.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace quobel {

namespace fs = std::filesystem;

namespace {

std::string BaseName(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// " (deleted)" is what the kernel appends to the link of a replaced executable.
std::string ExecutableName(const fs::path& proc_dir) {
    std::error_code ec;
    const fs::path exe = fs::read_symlink(proc_dir / "exe", ec);
    if (!ec) {
        std::string name = BaseName(exe.string());
        constexpr std::string_view kDeleted = " (deleted)";
        if (name.ends_with(kDeleted)) name.resize(name.size() - kDeleted.size());
        return name;
    }
    std::ifstream in(proc_dir / "cmdline", std::ios::binary);
    std::string argv0;
    std::getline(in, argv0, '\0');
    return BaseName(argv0);
}

}  // namespace

std::vector<std::string> ProcProcessList::ProgramNames() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(root_, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string pid = it->path().filename().string();
        if (pid.empty() || !std::all_of(pid.begin(), pid.end(), [](unsigned char c) { return std::isdigit(c); })) {
            continue;
        }
        std::string name = ExecutableName(it->path());
        if (!name.empty()) names.push_back(std::move(name));
    }
    return names;
}

bool ContainsNoCase(std::string_view name, std::string_view needle) {
    if (needle.empty() || needle.size() > name.size()) return false;
    const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    return std::search(name.begin(), name.end(), needle.begin(), needle.end(),
                       [&](char a, char b) { return lower(a) == lower(b); }) != name.end();
}

}  // namespace quobel
