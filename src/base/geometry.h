#pragma once
// Points, rectangles and colours as the configuration and the records store them.

#include <cstdint>

namespace quobel {

// 32-bit colour: red in the low byte, then green, then blue; the top byte 0.
using Colour = std::uint32_t;

constexpr Colour Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
constexpr std::uint8_t Red(Colour c) { return static_cast<std::uint8_t>(c); }
constexpr std::uint8_t Green(Colour c) { return static_cast<std::uint8_t>(c >> 8); }
constexpr std::uint8_t Blue(Colour c) { return static_cast<std::uint8_t>(c >> 16); }

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const Rect&) const = default;
};
static_assert(sizeof(Rect) == 16);

}  // namespace quobel
