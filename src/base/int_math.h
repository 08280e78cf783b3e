#pragma once
// Arithmetic on 32-bit values read from configuration files. Anyone can edit those
// files, so a sum of two of them may not fit: it is computed in 64 bits and clamped to
// the 32-bit range instead of overflowing.

#include <cstdint>
#include <limits>

namespace quobel {

constexpr std::int32_t ClampToInt32(std::int64_t v) {
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(v < lo ? lo : v > hi ? hi : v);
}

// a + b + c of 32-bit operands (or 64-bit ones below 2^62), clamped.
constexpr std::int32_t SumClamped(std::int64_t a, std::int64_t b, std::int64_t c = 0) {
    return ClampToInt32(a + b + c);
}

}  // namespace quobel
