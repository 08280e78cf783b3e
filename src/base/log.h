#pragma once
// The process-wide diagnostic log, for developers and support; nothing reads it back.
//
// Level 0 drops everything; 2 appends to Log.txt in the desktop folder; any other
// level sends each entry to the debugger output (standard error here) as "QX  " + text.
// File entries are "\r\n", the time "mm:ss.mmm   " (no hour), then the text, so every
// entry starts on a new line and the file ends without a line end. The file is opened
// and closed for every entry; a file over 512000 bytes is emptied when the log starts.
//
// Every entry point may be called from any thread; each call writes whole entries.
// Before the log is started, entries are dropped.

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

namespace quobel {

// Local time as the log and the launch line need it.
struct LogTime {
    int year = 0;
    int month = 0;        // 1..12
    int day = 0;          // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// The size Log.txt may reach before the next start empties it.
inline constexpr std::uintmax_t kLogFileLimit = 512000;

class Log {
public:
    using Clock = std::function<LogTime()>;
    // Receives one debugger-output message, without a line end of its own.
    using DebugSink = std::function<void(std::string_view)>;

    // The local clock and standard error.
    Log();
    Log(Clock clock, DebugSink debug_sink);
    Log(const Log&) = delete;
    Log& operator=(const Log&) = delete;

    // Chooses the writer for the rest of the run. desktop_dir may be empty (no desktop
    // folder): level 2 then cannot open its file and falls back to the debugger output.
    void Start(int level, const std::string& desktop_dir);

    void Print(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    void VPrint(const char* fmt, va_list args) __attribute__((format(printf, 2, 0)));

    // "%02x " per byte after an optional "prefix "; a line is written every
    // bytes_per_line bytes (0: one line, broken at 1021 characters), and what is left
    // at the end is always written, even when that is nothing.
    void HexDump(std::span<const std::uint8_t> data, std::size_t bytes_per_line, const char* prefix);
    // The same with two blanks after every group of group_size bytes; a line stops
    // taking bytes once they would no longer fit a 512-character line buffer.
    void HexDumpGrouped(const char* prefix, std::span<const std::uint8_t> data, std::size_t bytes_per_line,
                        std::size_t group_size);

    [[nodiscard]] int level() const;
    // desktop_dir + "/Log.txt" once started.
    [[nodiscard]] std::string file_path() const;
    [[nodiscard]] LogTime Now() const { return clock_(); }

private:
    enum class Writer { None, Debugger, File };

    void Write(std::string_view text);
    void WriteToDebugger(std::string_view text);
    void WriteToFile(std::string_view text);
    void Dump(const char* prefix, std::span<const std::uint8_t> data, std::size_t bytes_per_line,
              bool grouped, std::size_t group_size);

    Clock clock_;
    DebugSink debug_sink_;
    mutable std::mutex mutex_;
    int level_ = 0;
    Writer writer_ = Writer::None;
    std::string path_;
};

// The local time of day from the system clock.
LogTime LocalLogTime();

// The log of this process, used by every layer through the functions below.
Log& ProcessLog();

void LogStart(int level, const std::string& desktop_dir);
void LogPrint(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
// Hex dumps of device reports. prefix may be null.
void LogHexDump(std::span<const std::uint8_t> data, std::size_t bytes_per_line, const char* prefix);
void LogHexDumpGrouped(const char* prefix, std::span<const std::uint8_t> data, std::size_t bytes_per_line,
                       std::size_t group_size);

}  // namespace quobel
