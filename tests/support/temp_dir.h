#pragma once
// A fresh folder per test, removed afterwards, and a clock that moves only when slept.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/log.h"
#include "base/sleeper.h"
#include "macro/new_id.h"

namespace quobel::test {

class TempDir {
public:
    TempDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "quobel-test-XXXXXX").string();
        path_ = ::mkdtemp(tmpl.data()) ? tmpl : std::string();
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    // The folder with a trailing separator, as the data folder is given.
    [[nodiscard]] std::string slash() const { return path_ + "/"; }
    [[nodiscard]] const std::string& path() const { return path_; }
    [[nodiscard]] std::string operator/(const std::string& rel) const { return path_ + "/" + rel; }

private:
    std::string path_;
};

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& data) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

// Local time that advances only by the pauses taken, starting at 10:20:30.000.
class FakeTime final : public Sleeper {
public:
    void Sleep(std::chrono::milliseconds ms) override { now_ms += ms.count(); }
    [[nodiscard]] TimeOfDay Now() const {
        const std::int64_t t = now_ms;
        return {static_cast<int>(t / 3600000 % 24), static_cast<int>(t / 60000 % 60),
                static_cast<int>(t / 1000 % 60), static_cast<int>(t % 1000)};
    }
    std::int64_t now_ms = ((10 * 60 + 20) * 60 + 30) * 1000LL;
};

// An id generator on a FakeTime: no real waiting, ids 20 ms apart.
class FakeIds {
public:
    FakeIds() : ids(time, [this] { return time.Now(); }) {}
    FakeIds(const FakeIds&) = delete;
    FakeIds& operator=(const FakeIds&) = delete;
    FakeTime time;
    IdGenerator ids;
};

}  // namespace quobel::test

namespace quobel::test {

// Sends the process log to Log.txt in a folder of its own while it lives.
class LogCapture {
public:
    LogCapture() { LogStart(2, dir_.path()); }
    ~LogCapture() { LogStart(0, ""); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;
    [[nodiscard]] std::string Text() const {
        const auto bytes = ReadBytes(dir_ / "Log.txt");
        return {bytes.begin(), bytes.end()};
    }

private:
    TempDir dir_;
};

}  // namespace quobel::test
