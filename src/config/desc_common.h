#pragma once
// Helpers shared by the device-description readers.

#include <cstdarg>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/ini.h"

namespace quobel::desc {

// printf-style text for the readers' messages.
std::string Fmt(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// The value of a key, cut as a buffer of max_chars + 1 characters would hold it; empty
// for a missing key. The private-profile functions cannot tell an empty value from a
// missing key, so neither do the readers.
std::string Value(const IniFile& ini, std::string_view section, std::string_view key, std::size_t max_chars);

// A value whose numbers have different bases by position (as "left, top, ..., type,
// code, parameter, ..."). Splits at commas, skipping empty pieces, converting piece i in
// bases[i]; stops at a piece that is not a number in full and sets parse_error.
// Returns how many numbers were taken; numbers not given stay as dest had them.
int ParseMixedList(std::string_view text, std::span<const int> bases, std::span<std::int32_t> dest,
                   bool& parse_error);

}  // namespace quobel::desc
