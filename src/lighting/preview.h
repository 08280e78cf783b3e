#pragma once
// What every lighting preview shares (keyboard, mouse, pad): the light of one slot of a
// device picture, an injectable random source, the colour rules of the previews, and
// the frame state machine interface. Pictures own the slots and only draw them; a
// preview writes colours and intensities into them, one frame per tick.

#include <algorithm>
#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "base/geometry.h"

namespace quobel::lighting {

// One slot of a picture: colour 0 is unlit; intensity is the drawing alpha (below 0
// draws as 0).
struct SlotLight {
    Colour colour = 0;
    int intensity = 0;
    bool operator==(const SlotLight&) const = default;
};

// Random numbers for the previews; tests hand in a fixed sequence.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A number in 0..n-1 (0 when n <= 1).
    virtual int Below(int n) = 0;
};

class DefaultRandom final : public RandomSource {
public:
    int Below(int n) override;

private:
    std::minstd_rand engine_{std::random_device{}()};
};

// One animated preview. Start resets the slots and computes the first frame; Tick
// computes the next one; Press answers a key press of a reactive preview.
class Preview {
public:
    virtual ~Preview() = default;
    // Milliseconds between frames; 0: no timer (the first frame stays).
    [[nodiscard]] int Interval() const { return interval_; }
    [[nodiscard]] virtual bool Reactive() const { return false; }
    virtual void Start(std::span<SlotLight> lights) = 0;
    virtual void Tick(std::span<SlotLight> lights) = 0;
    virtual void Press(int slot, std::span<SlotLight> lights) { (void)slot;
        (void)lights; }

protected:
    explicit Preview(int interval) : interval_(interval) {}

private:
    int interval_;
};

// The value of a five-entry list for a control value 1, 2, 3, 4 or any other.
constexpr int ByStep(const int (&list)[5], int value) {
    return value >= 1 && value <= 4 ? list[value - 1] : list[4];
}

// Every channel times k, divided by 10.
Colour Scaled(Colour c, int k);
// Every colour of a list scaled by k / 10.
std::vector<Colour> ScaledAll(std::vector<Colour> list, int k);
// Every channel times level / 255 (level clamped to 0..255).
Colour Faded(Colour c, int level);
// The value for speed 1, 2 or 3 (anything else counts as 1).
constexpr int BySpeed(int speed, int s1, int s2, int s3) { return speed == 3 ? s3 : speed == 2 ? s2 : s1; }
// k1 of the brightness value B (4, 6, 7, 8); k2 is k1 + 2.
int BrightK1(int bright);

// The colour at position p of a gradient through the colours over `steps` steps.
Colour GradientAt(std::span<const Colour> colours, int steps, int p);
// Channel-wise a + (b - a) * num / den, truncated.
Colour Blend(Colour a, Colour b, int num, int den);

// Picks colours from a list, each pick differing from the previous one.
class ColourPicker {
public:
    explicit ColourPicker(RandomSource& random) : random_(random) {}
    Colour Pick(std::span<const Colour> list);

private:
    RandomSource& random_;
    Colour last_ = 0;
    bool any_ = false;
};

// The random colour lists, COLORREF.
inline constexpr Colour kFourColours[] = {0x0000FF, 0x00FF00, 0xFF0000, 0xFF00FF};
inline constexpr Colour kSixColours[] = {0x0000FF, 0xFFFF00, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF};

// Lights the whole picture (slot 0) with each colour of a list in turn: it fades out to
// a level of 20 or less and back in, and the next colour is taken at the bottom. Base is
// the picture's preview class (mouse or pad), built from base_args.
template <class Base>
class FadingPreview final : public Base {
public:
    template <class... BaseArgs>
    explicit FadingPreview(std::vector<Colour> list, BaseArgs... base_args)
        : Base(base_args...), list_(std::move(list)) {}
    void Start(std::span<SlotLight> lights) override {
        level_ = 255;
        down_ = true;
        i_ = 0;
        Show(lights);
    }
    void Tick(std::span<SlotLight> lights) override {
        if (down_) {
            level_ -= 5;
            if (level_ <= 20) {
                down_ = false;
                i_ = (i_ + 1) % static_cast<int>(list_.size());
            }
        } else {
            level_ = std::min(255, level_ + 5);
            if (level_ == 255) down_ = true;
        }
        Show(lights);
    }

private:
    void Show(std::span<SlotLight> lights) {
        if (!lights.empty()) lights[0] = {Faded(list_[static_cast<std::size_t>(i_)], level_), 255};
    }
    std::vector<Colour> list_;
    int level_ = 255;
    bool down_ = true;
    int i_ = 0;
};

}  // namespace quobel::lighting
