#pragma once
// The process-wide diagnostic log.
//
// Level 0 drops everything, 1 writes to the debugger output (standard error here),
// 2 appends to Log.txt on the desktop. LogPrint may be called from any thread; each
// call writes one whole entry.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace quobel {

// Starts the log once the level is known; desktop_dir is where Log.txt goes.
void LogStart(int level, const std::string& desktop_dir);

// printf-style entry.
void LogPrint(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Hex dumps of device reports. prefix may be null.
void LogHexDump(std::span<const std::uint8_t> data, std::size_t bytes_per_line, const char* prefix);
void LogHexDumpGrouped(const char* prefix, std::span<const std::uint8_t> data,
                       std::size_t bytes_per_line, std::size_t group);

}  // namespace quobel
