#include "lighting/preview.h"

#include <algorithm>

namespace quobel::lighting {

int DefaultRandom::Below(int n) {
    if (n <= 1) return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(engine_);
}

Colour Scaled(Colour c, int k) {
    return Rgb(Red(c) * k / 10, Green(c) * k / 10, Blue(c) * k / 10);
}

std::vector<Colour> ScaledAll(std::vector<Colour> list, int k) {
    for (Colour& c : list) c = Scaled(c, k);
    return list;
}

Colour Faded(Colour c, int level) {
    level = std::clamp(level, 0, 255);
    return Rgb(Red(c) * level / 255, Green(c) * level / 255, Blue(c) * level / 255);
}

int BrightK1(int bright) {
    static constexpr int k1[5] = {4, 6, 7, 8, 8};
    return ByStep(k1, bright);
}

Colour Blend(Colour a, Colour b, int num, int den) {
    if (den == 0) return a;
    const auto ch = [&](int x, int y) { return static_cast<std::uint32_t>(x + num * (y - x) / den); };
    return Rgb(ch(Red(a), Red(b)), ch(Green(a), Green(b)), ch(Blue(a), Blue(b)));
}

Colour GradientAt(std::span<const Colour> colours, int steps, int p) {
    const int n = static_cast<int>(colours.size());
    if (n == 0) return 0;
    if (n == 1) return colours[0];
    const double s = static_cast<double>(steps) / (n - 1);
    const int k = std::clamp(static_cast<int>(p / s), 0, n - 2);
    const int f = static_cast<int>(p - k * s);
    const int w = static_cast<int>(s);
    return Blend(colours[k], colours[k + 1], f, w);
}

Colour ColourPicker::Pick(std::span<const Colour> list) {
    if (list.empty()) return 0;
    Colour c = list[random_.Below(static_cast<int>(list.size()))];
    // A random source stuck on one value must not hang the window.
    for (int tries = 0; any_ && c == last_ && tries < 64; ++tries)
        c = list[random_.Below(static_cast<int>(list.size()))];
    last_ = c;
    any_ = true;
    return c;
}

}  // namespace quobel::lighting
