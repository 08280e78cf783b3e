#include "config/desc_common.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "config/value_parsers.h"

namespace quobel::desc {

std::string Fmt(const char* fmt, ...) {
    std::array<char, 512> buf{};
    va_list args;
    va_start(args, fmt);
    const int n = std::vsnprintf(buf.data(), buf.size(), fmt, args);
    va_end(args);
    if (n < 0) return {};
    return std::string(buf.data());
}

std::string Value(const IniFile& ini, std::string_view section, std::string_view key, std::size_t max_chars) {
    return ini.GetString(section, key, "", max_chars + 1);
}

int ParseMixedList(std::string_view text, std::span<const int> bases, std::span<std::int32_t> dest,
                   bool& parse_error) {
    parse_error = false;
    const std::size_t most = std::min(bases.size(), dest.size());
    std::size_t taken = 0;
    std::size_t pos = 0;
    while (taken < most && pos < text.size()) {
        std::size_t comma = text.find(',', pos);
        if (comma == std::string_view::npos) comma = text.size();
        const std::string_view piece = text.substr(pos, comma - pos);
        pos = comma + 1;
        if (piece.empty()) continue;
        std::array<std::int32_t, 1> one{};
        if (ParseNumberList(piece, bases[taken], one, 1) != 1) {
            parse_error = true;
            break;
        }
        dest[taken++] = one[0];
    }
    return static_cast<int>(taken);
}

}  // namespace quobel::desc
