#include "lighting/ms_preview.h"

#include <algorithm>
#include <array>

namespace quobel::lighting {
namespace {

using Slots = std::span<SlotLight>;

constexpr Colour kBlack = 0;
constexpr Colour kGreen = 0x00FF00, kCyan = 0xFFFF00, kYellow = 0x00FFFF, kMagenta = 0xFF00FF;
constexpr Colour kWhite = 0xFFFFFF, kRed = 0x0000FF;
constexpr std::array<Colour, 7> kFallback = {0x0000FF, 0xFF0000, 0xFFFFFF, 0x00FF00, 0xFF0080, 0x6A03FA, 0x03C6FA};

// The value for speed 1, 2 or 3 (anything else counts as 1).

void Fill(Slots slots, int zones, Colour c) {
    for (int z = 0; z < zones && z < static_cast<int>(slots.size()); ++z) slots[z] = {c, 255};
}

// Kind 1: one colour, no timer.
class Static final : public MsPreview {
public:
    explicit Static(Colour c) : MsPreview(1, 1, 0), c_(c) {}
    void Start(Slots slots) override { Fill(slots, Zones(), c_); }
    void Tick(Slots slots) override { Fill(slots, Zones(), c_); }

private:
    Colour c_;
};

// Kind 2: one colour walking a gradient through the list.
class Breathing final : public MsPreview {
public:
    Breathing(int interval, std::vector<Colour> list) : MsPreview(2, 1, interval), list_(std::move(list)) {}
    void Start(Slots slots) override {
        pos_ = 0;
        Show(slots);
    }
    void Tick(Slots slots) override {
        if (++pos_ >= kMsBreathSteps) pos_ = 0;
        Show(slots);
    }

private:
    void Show(Slots slots) { Fill(slots, Zones(), GradientAt(list_, kMsBreathSteps, pos_)); }
    std::vector<Colour> list_;
    int pos_ = 0;
};

// Kind 3: each colour fades out to a level of 20 or less and back in.
using Fading = FadingPreview<MsPreview>;

// Kind 4: one colour after the other.
class Stepping final : public MsPreview {
public:
    Stepping(int interval, std::vector<Colour> list) : MsPreview(4, 1, interval), list_(std::move(list)) {}
    void Start(Slots slots) override {
        i_ = 0;
        Fill(slots, Zones(), list_[0]);
    }
    void Tick(Slots slots) override {
        i_ = (i_ + 1) % static_cast<int>(list_.size());
        Fill(slots, Zones(), list_[static_cast<std::size_t>(i_)]);
    }

private:
    std::vector<Colour> list_;
    int i_ = 0;
};

// Kind 5: every zone at its own place in a 1000-step gradient, all moving by the step.
class Wave final : public MsPreview {
public:
    static constexpr int kSteps = 1000;
    Wave(int zones, int spacing, int step, bool reversed, std::vector<Colour> list)
        : MsPreview(5, zones, 20), spacing_(spacing), step_(step), reversed_(reversed), list_(std::move(list)) {}
    void Start(Slots slots) override {
        pos_.assign(static_cast<std::size_t>(Zones()), 0);
        for (int z = 0; z < Zones(); ++z) pos_[static_cast<std::size_t>(z)] = (reversed_ ? Zones() - 1 - z : z) * spacing_;
        Show(slots);
    }
    void Tick(Slots slots) override {
        for (int& p : pos_) {
            p += step_;
            if (p > kSteps) p -= kSteps;
        }
        Show(slots);
    }

private:
    void Show(Slots slots) {
        for (int z = 0; z < Zones() && z < static_cast<int>(slots.size()); ++z)
            slots[z] = {GradientAt(list_, kSteps, pos_[static_cast<std::size_t>(z)]), 255};
    }
    int spacing_, step_;
    bool reversed_;
    std::vector<Colour> list_;
    std::vector<int> pos_;
};

// Kind 8: a head runs along the zones with a tail fading to black; at the end it stays
// while the tail fades out, then the next colour starts (effect 3 back the other way).
class Flowing final : public MsPreview {
public:
    static constexpr int kZones = 146;
    static constexpr int kTail = 420;
    Flowing(int step, bool bounce, std::vector<Colour> list)
        : MsPreview(8, kZones, 18), step_(step), bounce_(bounce), list_(std::move(list)) {}
    void Start(Slots slots) override {
        head_ = 0;
        dir_ = 1;
        o_ = 0;
        i_ = 0;
        stopped_ = false;
        Show(slots);
    }
    void Tick(Slots slots) override {
        if (!stopped_) {
            head_ += dir_ * step_;
            if (head_ > kZones - 1 || head_ < 0) {
                head_ = std::clamp(head_, 0, kZones - 1);
                stopped_ = true;
            }
        } else {
            o_ += 5 * step_;
            if (o_ > kTail) {
                o_ = 0;
                i_ = (i_ + 1) % static_cast<int>(list_.size());
                stopped_ = false;
                if (bounce_) dir_ = -dir_;
                head_ = dir_ > 0 ? 0 : kZones - 1;
            }
        }
        Show(slots);
    }

private:
    void Show(Slots slots) {
        const std::array<Colour, 2> fade = {list_[static_cast<std::size_t>(i_)], kBlack};
        for (int z = 0; z < kZones && z < static_cast<int>(slots.size()); ++z) slots[z] = {0, 255};
        for (int j = 0; 5 * j + o_ <= kTail; ++j) {
            const int z = head_ - dir_ * j;
            if (z < 0 || z >= kZones || z >= static_cast<int>(slots.size())) break;
            slots[z].colour = GradientAt(fade, kTail, 5 * j + o_);
        }
    }
    int step_;
    bool bounce_;
    std::vector<Colour> list_;
    int head_ = 0, dir_ = 1, o_ = 0, i_ = 0;
    bool stopped_ = false;
};

// Kind 9: colour bands through the seven colours, shifted by one colour per frame. The
// last six zones lie past the gradient's end and continue its last band.
class Bands final : public MsPreview {
public:
    static constexpr int kZones = 146;
    static constexpr int kSteps = 420;
    Bands(int interval, std::vector<Colour> list) : MsPreview(9, kZones, interval), list_(std::move(list)) {}
    void Start(Slots slots) override { Show(slots); }
    void Tick(Slots slots) override {
        std::rotate(list_.begin(), list_.begin() + 1, list_.end());
        Show(slots);
    }

private:
    void Show(Slots slots) {
        for (int z = 0; z < kZones && z < static_cast<int>(slots.size()); ++z)
            slots[z] = {3 * z < kSteps ? GradientAt(list_, kSteps, 3 * z) : list_.back(), 255};
    }
    std::vector<Colour> list_;
};

}  // namespace

int MsPreviewLevel(int bright) {
    switch (bright) {
        case 0x05: return 1;
        case 0x15: return 2;
        case 0x25: return 3;
        case 0x35: return 4;
        case 0x45: return 5;
        case 0x55: return 6;
        case 0x65: return 7;
        case 0x75: return 8;
        default: return 9;
    }
}

std::unique_ptr<MsPreview> MakeMsPreview(const MsPreviewParams& p, const MsDevCfg& ms) {
    const int level = MsPreviewLevel(p.bright);
    const std::vector<Colour> fallback(kFallback.begin(), kFallback.end());
    const std::vector<Colour> chosen = p.checked.empty() ? fallback : p.checked;
    const std::vector<Colour> swatches(p.swatches.begin(), p.swatches.end());
    switch (p.effect) {
        case 0: {
            std::vector<Colour> list = fallback;
            list.push_back(list.front());
            return std::make_unique<Wave>(153, 2, BySpeed(p.speed, 5, 10, 18), !p.dirUp, ScaledAll(list, level));
        }
        case 1: return std::make_unique<Static>(chosen.front());
        case 2: return std::make_unique<Fading>(chosen, 3, 1, BySpeed(p.speed, 70, 50, 30));
        case 3:
        case 10: {
            std::vector<Colour> tail(ms.clrEffectTail.begin(), ms.clrEffectTail.end());
            return std::make_unique<Flowing>(BySpeed(p.speed, 2, 4, 6), p.effect == 3, ScaledAll(tail, level));
        }
        case 4: {
            std::vector<Colour> list = swatches;
            list.push_back(list.front());
            return std::make_unique<Breathing>(BySpeed(p.speed, 200, 100, 30), list);
        }
        case 6: {
            std::vector<Colour> two(chosen.begin(), chosen.begin() + std::min<std::ptrdiff_t>(2, std::ssize(chosen)));
            if (two.size() < 2) two.push_back(kBlack);
            return std::make_unique<Stepping>(BySpeed(p.speed, 350, 250, 150), two);
        }
        case 8: {
            std::vector<Colour> list;
            if (ms.bSingleFlowRGB != 0) {
                list = {kGreen, kBlack, kCyan, kBlack, kYellow, kBlack, kMagenta, kBlack, kWhite, kBlack, kRed, kBlack, kGreen};
            } else {
                list = {kGreen, kBlack, kGreen, kBlack, kGreen, kBlack, kGreen, kBlack, kGreen};
            }
            return std::make_unique<Wave>(146, 4, BySpeed(p.speed, 5, 10, 18), !p.dirUp, ScaledAll(list, level));
        }
        case 9: return std::make_unique<Bands>(BySpeed(p.speed, 600, 400, 150), ScaledAll(swatches, level));
        default: return nullptr;
    }
}

}  // namespace quobel::lighting
