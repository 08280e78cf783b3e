// Placeholder until the log writers land: entries are dropped.
#include "base/log.h"

namespace quobel {

void LogStart(int, const std::string&) {}
void LogPrint(const char*, ...) {}
void LogHexDump(std::span<const std::uint8_t>, std::size_t, const char*) {}
void LogHexDumpGrouped(const char*, std::span<const std::uint8_t>, std::size_t, std::size_t) {}

}  // namespace quobel
