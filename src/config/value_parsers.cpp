#include "config/value_parsers.h"

#include <array>
#include <limits>
#include <optional>
#include <string>

namespace quobel {
namespace {

constexpr std::size_t kMaxListChars = 1023;
constexpr std::size_t kMaxPointChars = 49;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

// The whole piece as one unsigned long in the C library's manner (32-bit unsigned long
// of the platform the files come from): leading blanks and a sign allowed, "0x" in base
// 16, overflow saturates. nullopt when anything but the number is in the piece.
std::optional<std::uint32_t> ParsePiece(std::string_view piece, int base) {
    std::size_t i = 0;
    while (i < piece.size() && IsSpace(piece[i])) ++i;
    bool negative = false;
    if (i < piece.size() && (piece[i] == '+' || piece[i] == '-')) {
        negative = piece[i] == '-';
        ++i;
    }
    if (base == 16 && i + 2 < piece.size() && piece[i] == '0' && (piece[i + 1] == 'x' || piece[i + 1] == 'X') &&
        DigitValue(piece[i + 2]) < 16) {
        i += 2;
    }
    const std::size_t first_digit = i;
    std::uint64_t value = 0;
    bool overflow = false;
    for (; i < piece.size() && DigitValue(piece[i]) < base; ++i) {
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(DigitValue(piece[i]));
        if (value > std::numeric_limits<std::uint32_t>::max()) {
            overflow = true;
            value = std::numeric_limits<std::uint32_t>::max();
        }
    }
    if (i == first_digit || i != piece.size()) return std::nullopt;
    auto v = static_cast<std::uint32_t>(value);
    if (overflow) return std::numeric_limits<std::uint32_t>::max();
    return negative ? 0u - v : v;
}

template <typename Store>
int ParseList(std::string_view text, int base, int capacity, Store store) {
    text = text.substr(0, std::min(text.size(), kMaxListChars));
    int taken = 0;
    std::size_t pos = 0;
    while (taken < capacity && pos < text.size()) {
        std::size_t comma = text.find(',', pos);
        if (comma == std::string_view::npos) comma = text.size();
        const std::string_view piece = text.substr(pos, comma - pos);
        pos = comma + 1;
        if (piece.empty()) continue;
        const auto v = ParsePiece(piece, base);
        if (!v) break;
        store(taken, *v);
        ++taken;
    }
    return taken;
}

}  // namespace

int ParseNumberList(std::string_view text, int base, std::span<std::int32_t> dest, int most) {
    const int capacity = dest.empty() ? most : std::min<int>(most, static_cast<int>(dest.size()));
    return ParseList(text, base, capacity, [&](int i, std::uint32_t v) {
        if (!dest.empty()) dest[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(v);
    });
}

int ParseByteList(std::string_view text, int base, std::span<std::uint8_t> dest, int most) {
    const int capacity = dest.empty() ? most : std::min<int>(most, static_cast<int>(dest.size()));
    return ParseList(text, base, capacity, [&](int i, std::uint32_t v) {
        if (!dest.empty()) dest[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v);
    });
}

Colour ParseColour(std::string_view text) {
    std::array<std::uint8_t, 3> rgb{};
    ParseByteList(text, 10, rgb, 3);
    return Rgb(rgb[0], rgb[1], rgb[2]);
}

Colour ReadColour(const IniFile& ini, std::string_view section, std::string_view key, Colour def) {
    const auto v = ini.Get(section, key);
    if (!v || v->empty()) return def;
    return ParseColour(*v);
}

int ParseColourList(std::string_view text, std::span<Colour, 7> dest) {
    std::array<std::uint8_t, 30> bytes{};
    const int n = ParseByteList(text, 10, bytes, 30);
    int count = 0;
    for (int i = 0; i < 7 && 3 * i < n; ++i) {
        const auto at = static_cast<std::size_t>(3 * i);
        const Colour c = Rgb(bytes[at], bytes[at + 1], bytes[at + 2]);
        dest[static_cast<std::size_t>(i)] = c;
        if (c == 0) break;
        ++count;
    }
    return count;
}

bool ReadPoint(const IniFile& ini, std::string_view key, Point& dest, std::int32_t def_x,
               std::int32_t def_y, std::string_view section, Reporter& reporter) {
    dest = {def_x, def_y};
    const std::string v = ini.GetString(section, key, "", kMaxPointChars + 1);
    if (v.empty()) return false;
    std::array<std::int32_t, 2> xy{};
    if (ParseNumberList(v, 10, xy, 2) < 2) {
        reporter.Report("Error", "Wrong POINT num");
        return false;
    }
    dest = {xy[0], xy[1]};
    return true;
}

bool ReadRect(const IniFile& ini, std::string_view key, Rect& dest, std::string_view section,
              Reporter& reporter) {
    const std::string v = ini.GetString(section, key, "", kMaxPointChars + 1);
    if (v.empty()) return false;
    std::array<std::int32_t, 4> r{};
    if (ParseNumberList(v, 10, r, 4) < 4) {
        reporter.Report("Error", "Wrong rect num");
        return false;
    }
    dest = {r[0], r[1], r[2], r[3]};
    return true;
}

}  // namespace quobel
