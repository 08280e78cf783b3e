#include "base/log.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "base/utf16.h"

namespace quobel {
namespace {

// The debugger output takes a message of at most this many characters.
constexpr std::size_t kDebugMessageChars = 511;
// A dump line is built in a buffer of 512 characters.
constexpr std::size_t kDumpLineChars = 511;
// A dump without line length breaks its line once it is this long.
constexpr std::size_t kDumpLineBreak = 1021;

void ToStandardError(std::string_view text) {
    // One write per message, so that messages from several threads stay whole.
    std::string line(text);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

std::string Format(const char* fmt, va_list args) __attribute__((format(printf, 1, 0)));
std::string Format(const char* fmt, va_list args) {
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), fmt, args);
    out.resize(static_cast<std::size_t>(n));
    return out;
}

class File {
public:
    File(const std::string& path, const char* mode)
        : f_(path.empty() ? nullptr : std::fopen(path.c_str(), mode)) {}
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File() {
        if (f_) std::fclose(f_);
    }
    explicit operator bool() const { return f_ != nullptr; }
    std::FILE* get() const { return f_; }

private:
    std::FILE* f_;
};

}  // namespace

LogTime LocalLogTime() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm tm{};
    localtime_r(&t, &tm);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, static_cast<int>(ms)};
}

Log::Log() : Log(LocalLogTime, ToStandardError) {}

Log::Log(Clock clock, DebugSink debug_sink) : clock_(std::move(clock)), debug_sink_(std::move(debug_sink)) {}

int Log::level() const {
    std::lock_guard lock(mutex_);
    return level_;
}

std::string Log::file_path() const {
    std::lock_guard lock(mutex_);
    return path_;
}

void Log::Start(int level, const std::string& desktop_dir) {
    std::lock_guard lock(mutex_);
    level_ = level;
    path_.clear();
    if (!desktop_dir.empty()) path_ = desktop_dir + (desktop_dir.back() == '/' ? "" : "/") + "Log.txt";
    writer_ = Writer::Debugger;
    if (level != 2) return;
    {
        File f(path_, "ab");
        if (!f) {
            WriteToDebugger("Open Log failed");
            return;
        }
        if (std::fseek(f.get(), 0, SEEK_END) == 0) {
            const long size = std::ftell(f.get());
            if (size > 0 && static_cast<std::uintmax_t>(size) > kLogFileLimit) {
                File emptied(path_, "wb");
            }
        }
    }
    writer_ = Writer::File;
}

void Log::Print(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    VPrint(fmt, args);
    va_end(args);
}

void Log::VPrint(const char* fmt, va_list args) {
    if (level() == 0) return;
    Write(Format(fmt, args));
}

void Log::Write(std::string_view text) {
    std::lock_guard lock(mutex_);
    if (level_ == 0) return;
    switch (writer_) {
        case Writer::None: return;
        case Writer::Debugger: WriteToDebugger(text); return;
        case Writer::File: WriteToFile(text); return;
    }
}

void Log::WriteToDebugger(std::string_view text) {
    if (level_ == 0) return;
    std::string message = "QX  ";
    message += text;
    debug_sink_(CutToUtf16Units(message, kDebugMessageChars));
}

void Log::WriteToFile(std::string_view text) {
    File f(path_, "ab");
    if (!f) {
        debug_sink_("Open Log failed");
        return;
    }
    const LogTime t = clock_();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02u:%02u.%03u   ", static_cast<unsigned>(t.minute),
                  static_cast<unsigned>(t.second), static_cast<unsigned>(t.millisecond));
    std::string entry = "\r\n";
    entry += stamp;
    entry += text;
    std::fwrite(entry.data(), 1, entry.size(), f.get());
}

void Log::HexDump(std::span<const std::uint8_t> data, std::size_t bytes_per_line, const char* prefix) {
    Dump(prefix, data, bytes_per_line, false, 0);
}

void Log::HexDumpGrouped(const char* prefix, std::span<const std::uint8_t> data, std::size_t bytes_per_line,
                         std::size_t group_size) {
    Dump(prefix, data, bytes_per_line, true, group_size);
}

// The plain dump's line has no length limit of its own; a group size of 0 means no groups.
void Log::Dump(const char* prefix, std::span<const std::uint8_t> data, std::size_t bytes_per_line,
               bool grouped, std::size_t group_size) {
    if (data.empty() || level() == 0) return;
    std::string line;
    std::size_t line_chars = 0;  // in UTF-16 units, as the line buffer counts them
    const std::string lead = prefix ? std::string(prefix) + " " : std::string();
    const std::size_t lead_chars = Utf8ToUtf16(lead).size();
    auto begin_line = [&](bool with_prefix) {
        line = with_prefix ? lead : std::string();
        line_chars = with_prefix ? lead_chars : 0;
    };
    begin_line(true);
    for (std::size_t i = 0; i < data.size(); ++i) {
        const bool group_end = group_size != 0 && (i + 1) % group_size == 0;
        char piece[8];
        const int n = std::snprintf(piece, sizeof piece, "%02x%s", static_cast<unsigned>(data[i]),
                                    group_end ? "  " : " ");
        const auto piece_chars = static_cast<std::size_t>(n);
        if (!grouped || line_chars + piece_chars <= kDumpLineChars) {
            line.append(piece, piece_chars);
            line_chars += piece_chars;
        }
        if (bytes_per_line != 0) {
            if ((i + 1) % bytes_per_line == 0) {
                Write(line);
                begin_line(i + 1 < data.size());
            }
        } else if (line_chars >= kDumpLineBreak) {
            Write(line);
            begin_line(false);
        }
    }
    Write(line);
}

Log& ProcessLog() {
    static Log log;
    return log;
}

void LogStart(int level, const std::string& desktop_dir) { ProcessLog().Start(level, desktop_dir); }

void LogPrint(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    ProcessLog().VPrint(fmt, args);
    va_end(args);
}

void LogHexDump(std::span<const std::uint8_t> data, std::size_t bytes_per_line, const char* prefix) {
    ProcessLog().HexDump(data, bytes_per_line, prefix);
}

void LogHexDumpGrouped(const char* prefix, std::span<const std::uint8_t> data, std::size_t bytes_per_line,
                       std::size_t group_size) {
    ProcessLog().HexDumpGrouped(prefix, data, bytes_per_line, group_size);
}

}  // namespace quobel
