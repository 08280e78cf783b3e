#include "lighting/kb_preview.h"

#include <algorithm>
#include <array>
#include <vector>

namespace quobel::lighting {
namespace {

using Slots = std::span<SlotLight>;

constexpr Colour kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kMagenta = 0xFF00FF;
constexpr Colour kYellow = 0x00FFFF, kCyan = 0xFFFF00, kWhite = 0xFFFFFF, kOrange = 0x0080FF;

class KbPreview : public Preview {
public:
    KbPreview(int interval, const KbPreviewParams& p, const KbPreviewSetup& setup, RandomSource& random)
        : Preview(interval), p_(p), setup_(setup), random_(random), picker_(random),
          n_(std::clamp(setup.animated, 0, kKbSlots)) {}

    void Start(Slots slots) override {
        for (SlotLight& s : slots) s = {0, StartIntensity()};
        First(slots);
    }

protected:
    virtual int StartIntensity() const { return setup_.drawType == 1 ? 255 : 200; }
    // The first frame, computed at once.
    virtual void First(Slots slots) { Tick(slots); }
    int Animated(Slots slots) const { return std::min(n_, static_cast<int>(slots.size())); }
    Colour Pick(std::span<const Colour> list) { return picker_.Pick(list); }

    KbPreviewParams p_;
    KbPreviewSetup setup_;
    RandomSource& random_;
    ColourPicker picker_;
    int n_;
};

// Type 0: everything unlit.
class Unlit final : public KbPreview {
public:
    using KbPreview::KbPreview;
    void Tick(Slots) override {}
};

// Type 1: static colours.
class Static final : public KbPreview {
public:
    using KbPreview::KbPreview;
    void First(Slots slots) override {
        static constexpr Colour list[] = {kRed, kGreen, kBlue, kMagenta, kYellow, kWhite};
        const int k1 = BrightK1(p_.bright);
        for (int i = 0; i < Animated(slots); ++i)
            slots[i].colour = Scaled(p_.multi ? Pick(list) : p_.colour, k1);
    }
    void Tick(Slots) override {}
};

// Type 2: all keys one gradient colour cycling.
class ColourCycle final : public KbPreview {
public:
    using KbPreview::KbPreview;
    void Tick(Slots slots) override {
        static constexpr Colour list[] = {kRed, kGreen, kBlue, kMagenta, kOrange, kRed};
        static constexpr int intensity[5] = {50, 100, 150, 200, 220};
        const Colour c = GradientAt(list, 200, p_pos_);
        for (int i = 0; i < Animated(slots); ++i) slots[i] = {c, ByStep(intensity, p_.bright)};
        if (++p_pos_ >= 200) p_pos_ = 0;
    }

private:
    int p_pos_ = 0;
};

// Type 3: breathing.
class Breathing final : public KbPreview {
public:
    using KbPreview::KbPreview;
    int StartIntensity() const override { return 180; }
    void First(Slots slots) override {
        for (int i = 0; i < Animated(slots); ++i) slots[i].colour = p_.multi ? Pick(kFourColours) : p_.colour;
        Tick(slots);
    }
    void Tick(Slots slots) override {
        const int n = Animated(slots);
        if (n == 0) return;
        for (int i = 0; i < n; ++i) slots[i].intensity += step_;
        if (slots[0].intensity < 5) step_ = 2;
        if (slots[0].intensity > 180) step_ = -2;
    }

private:
    int step_ = -2;
};

// Type 5: a running light of 12 keys along the path.
class RunningLight final : public KbPreview {
public:
    RunningLight(int interval, const KbPreviewParams& p, const KbPreviewSetup& s, RandomSource& r)
        : KbPreview(interval, p, s, r), path_(RunningPath(s, n_)) {}
    void Tick(Slots slots) override {
        const int n = Animated(slots);
        for (int i = 0; i < n; ++i) slots[i].colour = 0;
        if (path_.empty()) return;
        const int k2 = BrightK1(p_.bright) + 2;
        if (p_.multi) head_colours_[pos_ % 12] = Scaled(Pick(kFourColours), k2);
        for (int back = 0; back < 12 && pos_ - back >= 0; ++back) {
            const int s = path_[pos_ - back];
            if (s < n) slots[s].colour = p_.multi ? head_colours_[(pos_ - back) % 12] : Scaled(p_.colour, k2);
        }
        if (++pos_ >= static_cast<int>(path_.size())) pos_ = 0;
    }

private:
    std::vector<int> path_;
    std::array<Colour, 12> head_colours_{};
    int pos_ = 0;
};

// Types 7 and 13: a phase wave over groups of keys.
class PhaseWave final : public KbPreview {
public:
    PhaseWave(int interval, const KbPreviewParams& p, const KbPreviewSetup& s, RandomSource& r, KeySets groups,
              std::vector<Colour> colours, int hold, int blend, int step, int intensity, bool reversed)
        : KbPreview(interval, p, s, r), groups_(std::move(groups)), colours_(std::move(colours)), hold_(hold),
          blend_(blend), intensity_(intensity) {
        full_ = static_cast<int>(colours_.size()) * (hold_ + blend_);
        const int count = static_cast<int>(groups_.size());
        phase_.resize(groups_.size());
        for (int g = 0; g < count; ++g) {
            const int counted = reversed ? count - 1 - g : g;
            const int start = counted * step;
            phase_[g] = start >= full_ ? 0 : start;
        }
    }
    void Tick(Slots slots) override {
        const int n = Animated(slots);
        for (std::size_t g = 0; g < groups_.size(); ++g) {
            const Colour c = ColourAt(phase_[g]);
            for (int s : groups_[g])
                if (s < n) slots[s] = {c, intensity_};
            phase_[g] += Interval();
            if (phase_[g] >= full_) phase_[g] = 0;
        }
    }

private:
    Colour ColourAt(int phase) const {
        const int period = hold_ + blend_;
        const int count = static_cast<int>(colours_.size());
        if (period <= 0 || count == 0) return 0;
        const int i = std::min(phase / period, count - 1);
        const int within = phase % period;
        if (within < hold_) return colours_[i];
        const int steps = std::max(1, blend_ / std::max(1, Interval()));
        const int j = std::min(steps, (within - hold_) / std::max(1, Interval()) + 1);
        return Blend(colours_[i], colours_[(i + 1) % count], j, steps);
    }

    KeySets groups_;
    std::vector<Colour> colours_;
    std::vector<int> phase_;
    int hold_, blend_, intensity_, full_ = 0;
};

// Type 12: rings spreading from the space bar.
class Rings final : public KbPreview {
public:
    Rings(int interval, const KbPreviewParams& p, const KbPreviewSetup& s, RandomSource& r)
        : KbPreview(interval, p, s, r), rings_(KeyRings(s, n_, 26)) {}
    void Tick(Slots slots) override {
        const int n = Animated(slots);
        for (int i = 0; i < n; ++i) slots[i].colour = 0;
        const int k2 = BrightK1(p_.bright) + 2;
        const auto light = [&](int set) {
            for (int s : rings_[set])
                if (s < n) slots[s].colour = Scaled(p_.multi ? Pick(kFourColours) : p_.colour, k2);
        };
        if (prev_ >= 0) light(prev_);
        light(cur_);
        prev_ = cur_;
        cur_ = cur_ + 1 < static_cast<int>(rings_.size()) ? cur_ + 1 : 13;
    }

private:
    KeySets rings_;
    int cur_ = 0, prev_ = -1;
};

// Type 15: rain drops falling down the columns.
class Rain final : public KbPreview {
public:
    Rain(int interval, const KbPreviewParams& p, const KbPreviewSetup& s, RandomSource& r)
        : KbPreview(interval, p, s, r), cols_(KeyColumns(s, n_, 22)), drop_(cols_.size(), kIdle) {}
    void Tick(Slots slots) override {
        static constexpr int scale[5] = {4, 6, 7, 10, 10};
        const int k = ByStep(scale, p_.bright);
        const int n = Animated(slots);
        const auto set = [&](int s, Colour c) {
            if (s < n) slots[s].colour = c;
        };
        std::vector<int> idle;
        for (std::size_t c = 0; c < cols_.size(); ++c) {
            int& r = drop_[c];
            const int len = static_cast<int>(cols_[c].size());
            if (r != kIdle) {
                if (r < len) {
                    set(cols_[c][r], Scaled(p_.multi ? Pick(kFourColours) : p_.colour, k));
                    if (r >= 1) set(cols_[c][r - 1], 0);
                    ++r;
                } else {
                    if (len > 0) set(cols_[c][len - 1], 0);
                    r = kIdle;
                }
            }
            if (r == kIdle) idle.push_back(static_cast<int>(c));
        }
        if (idle.size() >= 3) {
            const int picks = static_cast<int>(idle.size()) - 2;
            for (int i = 0; i < picks; ++i) drop_[idle[random_.Below(static_cast<int>(idle.size()))]] = 0;
        }
    }

private:
    static constexpr int kIdle = -1;
    KeySets cols_;
    std::vector<int> drop_;
};

// Type 16: sparkle.
class Sparkle final : public KbPreview {
public:
    using KbPreview::KbPreview;
    void Tick(Slots slots) override {
        static constexpr Colour list[] = {kRed, 0, kGreen, 0, kBlue, 0, kMagenta};
        const int k1 = BrightK1(p_.bright);
        for (int i = 0; i < Animated(slots); ++i) {
            Colour c = list[random_.Below(7)];
            for (int tries = 0; c == entry_[i] && tries < 64; ++tries) c = list[random_.Below(7)];
            entry_[i] = c;
            slots[i].colour = Scaled(c, k1);
        }
    }

private:
    std::array<Colour, kKbSlots> entry_{};
};

// Type 17: a pressed key glows and fades.
class Glow final : public KbPreview {
public:
    using KbPreview::KbPreview;
    bool Reactive() const override { return true; }
    void Tick(Slots slots) override {
        static constexpr int fall[5] = {10, 20, 30, 40, 40};
        for (int i = 0; i < Animated(slots); ++i) {
            if (slots[i].colour == 0) continue;
            slots[i].intensity = std::max(0, slots[i].intensity - ByStep(fall, p_.speed));
            if (slots[i].intensity == 0) slots[i].colour = 0;
        }
    }
    void Press(int slot, Slots slots) override {
        if (slot < 0 || slot >= Animated(slots)) return;
        slots[slot] = {p_.multi ? Pick(kSixColours) : p_.colour, 220};
    }
};

// Type 18: every key lit; a pressed key dips and comes back.
class Dip final : public KbPreview {
public:
    using KbPreview::KbPreview;
    bool Reactive() const override { return true; }
    void First(Slots slots) override {
        for (int i = 0; i < Animated(slots); ++i)
            slots[i] = {p_.multi ? Pick(kSixColours) : p_.colour, Full()};
    }
    void Tick(Slots slots) override {
        static constexpr int rise[5] = {5, 10, 15, 20, 45};
        for (int i = 0; i < Animated(slots); ++i)
            slots[i].intensity = std::min(Full(), slots[i].intensity + ByStep(rise, p_.speed));
    }
    void Press(int slot, Slots slots) override {
        if (slot >= 0 && slot < Animated(slots)) slots[slot].intensity = -50;
    }

private:
    int Full() const {
        static constexpr int full[5] = {100, 120, 150, 180, 200};
        return ByStep(full, p_.bright);
    }
};

// Type 19: a pressed key sends two lights along its row.
class RowWave final : public KbPreview {
public:
    RowWave(int interval, const KbPreviewParams& p, const KbPreviewSetup& s, RandomSource& r)
        : KbPreview(interval, p, s, r), rows_(KeyRows(s, n_)) {}
    bool Reactive() const override { return true; }
    void Tick(Slots slots) override {
        static constexpr int fall[5] = {20, 30, 35, 45, 0};
        const int n = Animated(slots);
        for (int i = 0; i < n; ++i) {
            if (slots[i].colour == 0) continue;
            slots[i].intensity -= ByStep(fall, p_.speed);
            if (slots[i].intensity < 0) slots[i] = {0, 0};
        }
        for (Wave& w : waves_) {
            --w.left;
            ++w.right;
            Light(w, w.left, slots);
            Light(w, w.right, slots);
        }
        std::erase_if(waves_, [&](const Wave& w) {
            return w.left < 0 && w.right >= static_cast<int>(rows_[w.row].size());
        });
    }
    void Press(int slot, Slots slots) override {
        if (waves_.size() >= 10) return;
        for (std::size_t r = 0; r < rows_.size(); ++r) {
            const auto it = std::find(rows_[r].begin(), rows_[r].end(), slot);
            if (it == rows_[r].end()) continue;
            const int at = static_cast<int>(it - rows_[r].begin());
            Wave w{static_cast<int>(r), at, at, p_.multi ? Pick(kSixColours) : p_.colour};
            Light(w, at, slots);
            waves_.push_back(w);
            return;
        }
    }

private:
    struct Wave {
        int row, left, right;
        Colour colour;
    };
    void Light(const Wave& w, int at, Slots slots) const {
        static constexpr int lit[5] = {160, 180, 200, 220, 0};
        if (at < 0 || at >= static_cast<int>(rows_[w.row].size())) return;
        const int s = rows_[w.row][at];
        if (s < Animated(slots)) slots[s] = {w.colour, ByStep(lit, p_.bright)};
    }
    KeySets rows_;
    std::vector<Wave> waves_;
};

// Type 20: a ripple ring growing from the pressed key.
class Ripple final : public KbPreview {
public:
    using KbPreview::KbPreview;
    bool Reactive() const override { return true; }
    void First(Slots) override {}
    void Tick(Slots slots) override {
        if (!active_) return;
        const int n = Animated(slots);
        const Rect& pic = setup_.picture;
        if (Inside(pic.left, pic.top) && Inside(pic.right, pic.top) && Inside(pic.left, pic.bottom) &&
            Inside(pic.right, pic.bottom)) {
            for (int i = 0; i < n; ++i) slots[i].colour = 0;
            active_ = false;
            return;
        }
        static constexpr int scale[5] = {4, 6, 8, 10, 10};
        const int k = ByStep(scale, p_.bright);
        for (int i = 0; i < n; ++i) {
            const Rect& r = setup_.keys[i].rc;
            const int corners = Inside(r.left, r.top) + Inside(r.right, r.top) + Inside(r.left, r.bottom) +
                                Inside(r.right, r.bottom);
            const bool lit = (corners >= 1 && corners <= 3) || (first_ && i == pressed_);
            if (!lit) {
                slots[i].colour = 0;
            } else if (slots[i].colour == 0 || !p_.multi) {
                slots[i].colour = Scaled(p_.multi ? Pick(kSixColours) : p_.colour, k);
            }
        }
        first_ = false;
        const int grow = p_.speed == 4 ? 20 : 15;
        rx_ += grow;
        ry_ += grow;
    }
    void Press(int slot, Slots slots) override {
        if (slot < 0 || slot >= Animated(slots)) return;
        const Rect& r = setup_.keys[slot].rc;
        cx_ = (r.left + r.right) / 2.0;
        cy_ = (r.top + r.bottom) / 2.0;
        rx_ = (r.right - r.left) / 2.0;
        ry_ = (r.bottom - r.top) / 2.0;
        pressed_ = slot;
        first_ = true;
        active_ = true;
    }

private:
    int Inside(int x, int y) const {
        if (rx_ <= 0 || ry_ <= 0) return 0;
        const double dx = x > cx_ ? x - cx_ : cx_ - x;
        const double dy = y > cy_ ? y - cy_ : cy_ - y;
        return dx * ry_ + dy * rx_ <= rx_ * ry_ ? 1 : 0;  // on the outline counts as inside
    }
    double cx_ = 0, cy_ = 0, rx_ = 0, ry_ = 0;
    int pressed_ = -1;
    bool first_ = false, active_ = false;
};

// Type 21: twinkling keys.
class Twinkle final : public KbPreview {
public:
    using KbPreview::KbPreview;
    void Tick(Slots slots) override {
        static constexpr int full[5] = {40, 100, 150, 220, 240};
        static constexpr int time[5] = {1200, 1000, 800, 600, 500};
        const int n = Animated(slots);
        if (n == 0) return;
        const int i_full = ByStep(full, p_.bright);
        slots[random_.Below(n)] = {p_.multi ? Pick(kSixColours) : p_.colour, i_full};
        const int loss = i_full / (ByStep(time, p_.speed) / 20 + 1);
        for (int i = 0; i < n; ++i) {
            if (slots[i].colour == 0) continue;
            slots[i].intensity = std::max(0, slots[i].intensity - loss);
            if (slots[i].intensity == 0) slots[i].colour = 0;
        }
    }
    void First(Slots slots) override {
        for (int i = 0; i < Animated(slots); ++i) slots[i].intensity = 0;
        Tick(slots);
    }
};

// Type 22: every key its own colour cycle.
class KeyCycle final : public KbPreview {
public:
    using KbPreview::KbPreview;
    void First(Slots slots) override {
        for (int i = 0; i < Animated(slots); ++i) pos_[i] = random_.Below(151);
        Tick(slots);
    }
    void Tick(Slots slots) override {
        static constexpr Colour list[] = {kRed, kGreen, kBlue, kMagenta, kWhite, kRed};
        static constexpr int intensity[5] = {50, 100, 150, 200, 220};
        for (int i = 0; i < Animated(slots); ++i) {
            slots[i] = {GradientAt(list, 200, pos_[i]), ByStep(intensity, p_.bright)};
            pos_[i] = (pos_[i] + 4) % 200;
        }
    }

private:
    std::array<int, kKbSlots> pos_{};
};

// Type 23: static colour or a rainbow over the columns.
class StaticRainbow final : public KbPreview {
public:
    using KbPreview::KbPreview;
    void Tick(Slots slots) override {
        static constexpr int full[5] = {100, 120, 150, 180, 200};
        static constexpr Colour anchors[] = {kRed, kYellow, kGreen, kCyan, kBlue, kCyan, kGreen, kYellow, kRed};
        const int n = Animated(slots);
        const int intensity = ByStep(full, p_.bright);
        if (!p_.multi) {
            for (int i = 0; i < n; ++i) slots[i] = {p_.colour, intensity};
            return;
        }
        const KeySets cols = KeyColumns(setup_, n, 20);
        for (int i = 0; i < static_cast<int>(cols.size()); ++i) {
            const int c = static_cast<int>(i / 2.375);
            const int f = static_cast<int>(i - 2.375 * c);
            // The last column falls exactly on the last anchor: there is no next one.
            const Colour next = anchors[std::min(c + 1, 8)];
            const Colour colour = Blend(anchors[std::min(c, 8)], next, f, 2);
            for (int s : cols[i]) slots[s] = {colour, intensity};
        }
    }
};

// Type 24: six rows lit; a pressed key fades back in.
class FadeIn final : public KbPreview {
public:
    FadeIn(int interval, const KbPreviewParams& p, const KbPreviewSetup& s, RandomSource& r)
        : KbPreview(interval, p, s, r) {
        KeySets rows = KeyRows(s, n_);
        if (rows.size() > 6) rows.resize(6);
        rows_ = std::move(rows);
    }
    bool Reactive() const override { return true; }
    void First(Slots slots) override {
        static constexpr Colour row_colour[6] = {kRed, 0x007DFF, kBlue, kGreen, kMagenta, kYellow};
        for (std::size_t r = 0; r < rows_.size(); ++r)
            for (int s : rows_[r]) slots[s] = {p_.multi ? row_colour[r] : p_.colour, Full()};
    }
    void Tick(Slots slots) override {
        static constexpr int rise[5] = {10, 20, 30, 40, 40};
        for (const auto& row : rows_)
            for (int s : row) slots[s].intensity = std::min(Full(), slots[s].intensity + ByStep(rise, p_.speed));
    }
    void Press(int slot, Slots slots) override {
        for (const auto& row : rows_)
            if (std::find(row.begin(), row.end(), slot) != row.end()) {
                slots[slot].intensity = 0;
                if (p_.multi) slots[slot].colour = Pick(kSixColours);
                return;
            }
    }

private:
    int Full() const {
        static constexpr int full[5] = {80, 120, 150, 200, 220};
        return ByStep(full, p_.bright);
    }
    KeySets rows_;
};

}  // namespace

int KbPreviewType(const KbDevCfg& kb, int effect, int bright) {
    if (kb.nShowEffect == 0 || effect < 0 || effect >= 32 || (kb.nShowEffect & (1 << effect)) == 0)
        return kNoPreview;
    if (effect >= kKbLedEffects) return kNoPreview;
    if (bright <= 1 && kb.byMinLightEffectOff != 0) return 0;
    return kb.LedOpt[effect].nEffectCode;
}

std::unique_ptr<Preview> MakeKbPreview(int type, const KbPreviewParams& p, const KbPreviewSetup& s,
                                       RandomSource& r) {
    if (s.animated > kMaxAnimatedKeys) return nullptr;
    const auto by_speed = [&](std::initializer_list<int> list) {
        const int i = p.speed >= 1 && p.speed <= 4 ? p.speed - 1 : 4;
        return list.begin()[i];
    };
    const auto by_bright = [&](std::initializer_list<int> list) {
        const int i = p.bright >= 1 && p.bright <= 4 ? p.bright - 1 : 4;
        return list.begin()[i];
    };
    switch (type) {
        case 0: return std::make_unique<Unlit>(0, p, s, r);
        case 1: return std::make_unique<Static>(300, p, s, r);
        case 2: return std::make_unique<ColourCycle>(by_speed({s.neonSpeed[0], s.neonSpeed[1], s.neonSpeed[2],
                                                               s.neonSpeed[3], s.neonSpeed[4]}),
                                                     p, s, r);
        case 3: return std::make_unique<Breathing>(by_speed({25, 16, 10, 3, 3}), p, s, r);
        case 5: return std::make_unique<RunningLight>(by_speed({28, 24, 18, 10, 10}), p, s, r);
        case 7: {
            const int hold = 600 / by_speed({1, 2, 4, 8, 8});
            return std::make_unique<PhaseWave>(20, p, s, r, KeyColumns(s, std::clamp(s.animated, 0, kKbSlots), 20),
                                               std::vector<Colour>{kMagenta, kYellow, kGreen, kBlue}, hold, hold,
                                               (2 * hold) / 9, by_bright({30, 60, 100, 150, 160}), p.dir == 2);
        }
        case 12: return std::make_unique<Rings>(by_speed({65, 50, 40, 35, 35}), p, s, r);
        case 13: {
            const int a = p.speed >= 1 && p.speed <= 4 ? by_speed({1, 2, 4, 6, 6}) : std::max(1, p.speed);
            const int blend = 1000 / a;
            const int full = 5 * (50 + blend);
            const bool reversed = !p.dirShown || p.dir == 2;
            return std::make_unique<PhaseWave>(10, p, s, r, KeyBands(s, std::clamp(s.animated, 0, kKbSlots), 18),
                                               std::vector<Colour>{kGreen, kBlue, kMagenta, kRed, kYellow}, 50,
                                               blend, full / 18, by_bright({50, 100, 120, 150, 160}), reversed);
        }
        case 15: return std::make_unique<Rain>(by_speed({60, 50, 45, 40, 40}), p, s, r);
        case 16: return std::make_unique<Sparkle>(by_speed({280, 180, 110, 80, 0}), p, s, r);
        case 17: return std::make_unique<Glow>(50, p, s, r);
        case 18: return std::make_unique<Dip>(50, p, s, r);
        case 19: return std::make_unique<RowWave>(30, p, s, r);
        case 20: return std::make_unique<Ripple>(by_speed({25, 20, 15, 15, 14}), p, s, r);
        case 21: return std::make_unique<Twinkle>(20, p, s, r);
        case 22: return std::make_unique<KeyCycle>(by_speed({120, 100, 80, 60, 40}), p, s, r);
        case 23: return std::make_unique<StaticRainbow>(0, p, s, r);
        case 24: return std::make_unique<FadeIn>(50, p, s, r);
        default: return nullptr;
    }
}

}  // namespace quobel::lighting
