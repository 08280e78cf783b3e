#pragma once
// A fresh folder for one test, removed with everything in it afterwards, whole-file
// helpers for comparing what the code wrote byte for byte, and a log sent to a folder.

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "base/log.h"

namespace quobel::test {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quobel-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        if (path_.empty()) return;
        std::error_code ec;
        // A test may have made the folder read-only to provoke a failed write.
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    // Without a closing separator.
    [[nodiscard]] const std::string& path() const { return path_; }
    // With a closing separator, as the data folder is given.
    [[nodiscard]] std::string slash() const { return path_ + "/"; }
    [[nodiscard]] std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline void WriteText(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The file's bytes, or nullopt when it does not exist.
inline std::optional<std::string> ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The file's bytes; empty when it does not exist.
inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Creates the folders on the way.
inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& data) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

// Sends the process log to Log.txt in a folder of its own while it lives.
class LogCapture {
public:
    LogCapture() { LogStart(2, dir_.path()); }
    ~LogCapture() { LogStart(0, ""); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;
    [[nodiscard]] std::string Text() const { return ReadText(dir_ / "Log.txt").value_or(""); }

private:
    TempDir dir_;
};

}  // namespace quobel::test
