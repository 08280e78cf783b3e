#include "lighting/pad_preview.h"

#include <algorithm>
#include <array>

namespace quobel::lighting {
namespace {

using Slots = std::span<SlotLight>;


// Cuts one strip into cells of kPadCellLength along its long side; a shorter rest is
// one last cell. reverse runs from the far end (right, or bottom).
void CutStrip(const Rect& r, bool horizontal, bool reverse, std::vector<Rect>& out, int& count) {
    const int from = horizontal ? r.left : r.top;
    const int to = horizontal ? r.right : r.bottom;
    count = 0;
    for (int a = 0; a < to - from; a += kPadCellLength) {
        const int b = std::min(a + kPadCellLength, to - from);
        const int lo = reverse ? to - b : from + a;
        const int hi = reverse ? to - a : from + b;
        out.push_back(horizontal ? Rect{lo, r.top, hi, r.bottom} : Rect{r.left, lo, r.right, hi});
        ++count;
    }
}

std::vector<Colour> RingList() {
    std::vector<Colour> list(std::begin(kPadRingColours), std::end(kPadRingColours));
    return list;
}

std::vector<Colour> Closed(std::vector<Colour> list) {
    list.push_back(list.front());
    return list;
}

// A ring index moved by delta; passing either end wraps with one extra step.
int Wrapped(int i, int delta, int n) {
    i += delta;
    while (i >= n) i = i - n + 1;
    while (i < 0) i = i + n - 1;
    return i;
}

void FillAll(Slots slots, int n, Colour c) {
    for (int i = 0; i < n && i < static_cast<int>(slots.size()); ++i) slots[i] = {c, 255};
}

// Whole area, one colour.
class Static final : public PadPreview {
public:
    explicit Static(Colour c) : PadPreview(1, true, 0), c_(c) {}
    void Start(Slots slots) override { FillAll(slots, 1, c_); }
    void Tick(Slots slots) override { FillAll(slots, 1, c_); }

private:
    Colour c_;
};

// Kind 3, whole area: each colour of the list fades out and in, then the next.
using Fading = FadingPreview<PadPreview>;

// Whole area: colour 1, black, colour 2, black, ...
class Blinking final : public PadPreview {
public:
    Blinking(int interval, std::vector<Colour> list) : PadPreview(12, true, interval), list_(std::move(list)) {}
    void Start(Slots slots) override {
        frame_ = 0;
        Show(slots);
    }
    void Tick(Slots slots) override {
        frame_ = (frame_ + 1) % (2 * static_cast<int>(list_.size()));
        Show(slots);
    }

private:
    void Show(Slots slots) { FillAll(slots, 1, frame_ % 2 == 0 ? list_[static_cast<std::size_t>(frame_ / 2)] : 0); }
    std::vector<Colour> list_;
    int frame_ = 0;
};

class RingPreview : public PadPreview {
public:
    RingPreview(int kind, int interval, int cells) : PadPreview(kind, false, interval), n_(std::max(cells, 1)) {}

protected:
    void Show(Slots slots, const auto& colourOf) {
        for (int i = 0; i < n_ && i < static_cast<int>(slots.size()); ++i) slots[i] = {colourOf(i), 255};
    }
    int n_;
};

// Kind 5: the gradient ring turning by the step every frame.
class Rotating final : public RingPreview {
public:
    Rotating(int interval, int cells, int step, std::vector<Colour> list)
        : RingPreview(5, interval, cells), step_(step), list_(std::move(list)) {}
    void Start(Slots slots) override {
        index_.resize(static_cast<std::size_t>(n_));
        for (int i = 0; i < n_; ++i) index_[static_cast<std::size_t>(i)] = i;
        Draw(slots);
    }
    void Tick(Slots slots) override {
        for (int& i : index_) i = Wrapped(i, step_, n_);
        Draw(slots);
    }

private:
    void Draw(Slots slots) {
        Show(slots, [&](int i) { return GradientAt(list_, n_, index_[static_cast<std::size_t>(i)]); });
    }
    int step_;  // signed: clockwise positive (the colour of a higher cell moves down)
    std::vector<Colour> list_;
    std::vector<int> index_;
};

// Kind 11: the gradient ring under a moving comet of levels.
class FlowingRing final : public RingPreview {
public:
    FlowingRing(int cells, int step, bool clockwise, std::vector<Colour> list)
        : RingPreview(11, 70, cells), step_(step), clockwise_(clockwise), list_(std::move(list)) {}
    void Start(Slots slots) override {
        start_ = 0;
        Draw(slots);
    }
    void Tick(Slots slots) override {
        start_ = Wrapped(start_, clockwise_ ? -step_ : step_, n_);
        Draw(slots);
    }
    // The level of each cell, 0..255; cells the comet does not cover are 0.
    [[nodiscard]] std::vector<int> Levels() const {
        std::vector<int> level(static_cast<std::size_t>(n_), 0);
        const int dir = clockwise_ ? -1 : 1;
        int cell = start_;
        int written = 0;  // the comet covers the ring once; its head never overwrites its tail
        const auto pair = [&](int value) {
            for (int k = 0; k < 2 && written < n_; ++k, ++written) {
                level[static_cast<std::size_t>(cell)] = std::max(0, value);
                cell = ((cell + dir) % n_ + n_) % n_;
            }
        };
        for (int k = 0; k < 16; ++k) pair(clockwise_ ? 10 + 16 * k : 50 + 13 * k);
        const int rest = (n_ - 30 + 1) / 2;
        for (int k = 0; k < rest; ++k) pair(255 - k);
        return level;
    }

private:
    void Draw(Slots slots) {
        const std::vector<int> level = Levels();
        Show(slots, [&](int i) { return Faded(GradientAt(list_, n_, i), level[static_cast<std::size_t>(i)]); });
    }
    int step_;
    bool clockwise_;
    std::vector<Colour> list_;
    int start_ = 0;
};

// Kind 7: the ring gradient through the list and back, the list rotated every frame.
class SteppingRing final : public RingPreview {
public:
    SteppingRing(int interval, int cells, std::vector<Colour> list)
        : RingPreview(7, interval, cells), list_(std::move(list)) {}
    void Start(Slots slots) override { Draw(slots); }
    void Tick(Slots slots) override {
        std::rotate(list_.begin(), list_.begin() + 1, list_.end());
        Draw(slots);
    }

private:
    void Draw(Slots slots) {
        const std::vector<Colour> closed = Closed(list_);
        Show(slots, [&](int i) { return GradientAt(closed, n_, i); });
    }
    std::vector<Colour> list_;
};

// Kind 10: five sample points drift along the gradient ring; the ring shows the
// gradient through their colours.
class Drifting final : public RingPreview {
public:
    Drifting(int cells, int step, std::vector<Colour> list)
        : RingPreview(10, 80, cells), step_(step), list_(std::move(list)) {}
    void Start(Slots slots) override {
        pos_ = {0, n_ / 5, 2 * n_ / 5, 3 * n_ / 5, 0};
        Draw(slots);
    }
    void Tick(Slots slots) override {
        for (int& p : pos_) p = (p + step_) % n_;
        Draw(slots);
    }

private:
    void Draw(Slots slots) {
        std::array<Colour, 5> sampled{};
        for (std::size_t k = 0; k < sampled.size(); ++k) sampled[k] = GradientAt(list_, n_, pos_[k]);
        Show(slots, [&](int i) { return GradientAt(sampled, n_, i); });
    }
    int step_;
    std::vector<Colour> list_;
    std::array<int, 5> pos_{};
};

// Kind 9: two fronts run from cell 0 in opposite directions and light the ring; after a
// half-second rest at the far end they run back, and forward again.
class Sweeping final : public RingPreview {
public:
    static constexpr int kInterval = 70;
    static constexpr int kRestFrames = (500 + kInterval - 1) / kInterval;
    Sweeping(int cells, int width, std::vector<Colour> list)
        : RingPreview(9, kInterval, cells), width_(width), list_(std::move(list)) {}
    void Start(Slots slots) override {
        front_ = 0;
        forward_ = true;
        rest_ = 0;
        Draw(slots);
    }
    void Tick(Slots slots) override {
        if (rest_ > 0) {
            if (--rest_ == 0) forward_ = false;
        } else if (forward_) {
            front_ += width_;
            if (front_ >= End()) {
                front_ = End();
                rest_ = kRestFrames;
            }
        } else {
            front_ = std::max(0, front_ - width_);
            if (front_ == 0) forward_ = true;
        }
        Draw(slots);
    }
    // The level of a cell at distance d from the start along its front's path.
    [[nodiscard]] int LevelAt(int d) const {
        if (rest_ > 0) return 255;
        if (d > front_) return 0;
        const int behind = front_ - d;
        return behind <= 20 ? 12 * behind : 255;
    }

private:
    // Where the fronts meet, plus the tail, so every cell ends at 255.
    [[nodiscard]] int End() const { return (n_ + 1) / 2 + 20; }
    void Draw(Slots slots) {
        Show(slots, [&](int i) {
            const int d = std::min(i, n_ - i);
            return Faded(GradientAt(list_, n_, i), LevelAt(d));
        });
    }
    int width_;
    std::vector<Colour> list_;
    int front_ = 0;
    bool forward_ = true;
    int rest_ = 0;
};

// Kind 8: every frame a gradient through four random colours and back.
class RandomRing final : public RingPreview {
public:
    RandomRing(int interval, int cells, int level, RandomSource& random)
        : RingPreview(8, interval, cells), level_(level), picker_(random) {}
    void Start(Slots slots) override { Tick(slots); }
    void Tick(Slots slots) override {
        const std::vector<Colour> fixed = RingList();
        std::vector<Colour> four;
        for (int k = 0; k < 4; ++k) four.push_back(Scaled(picker_.Pick(fixed), level_));
        const std::vector<Colour> closed = Closed(four);
        Show(slots, [&](int i) { return GradientAt(closed, n_, i); });
    }

private:
    int level_;
    ColourPicker picker_;
};

}  // namespace

PadRing BuildPadRing(const PadDevCfg& pad) {
    const PadStrip s = PadStripBands(pad);
    PadRing ring;
    CutStrip(s.rcTop, true, true, ring.cells, ring.stripCells[0]);
    CutStrip(s.rcLeft, false, false, ring.cells, ring.stripCells[1]);
    CutStrip(s.rcBottom, true, false, ring.cells, ring.stripCells[2]);
    CutStrip(s.rcRight, false, true, ring.cells, ring.stripCells[3]);
    if (ring.cells.size() > static_cast<std::size_t>(kPadMaxCells)) {
        ring.cells.resize(static_cast<std::size_t>(kPadMaxCells));
        ring.cut = true;
    }
    return ring;
}

int PadPreviewLevel(int bright) {
    switch (bright) {
        case 0x20: return 2;
        case 0x50: return 5;
        case 0x70: return 8;
        default: return 10;
    }
}

std::unique_ptr<PadPreview> MakePadPreview(const PadPreviewParams& p, int cells, RandomSource& random) {
    const int level = PadPreviewLevel(p.bright);
    const std::vector<Colour> chosen = p.checked.empty() ? RingList() : p.checked;
    const std::vector<Colour> ring = ScaledAll(Closed(RingList()), level);
    switch (p.effect) {
        case 0: return std::make_unique<FlowingRing>(cells, BySpeed(p.speed, 22, 28, 42), p.clockwise, ring);
        case 1: return std::make_unique<Static>(Scaled(chosen.front(), level));
        case 2: {
            const int step = BySpeed(p.speed, 8, 10, 16);
            return std::make_unique<Rotating>(BySpeed(p.speed, 70, 50, 40), cells, p.clockwise ? step : -step, ring);
        }
        // Effects 3 and 5 fade through colours over the whole area: 3 through the checked
        // swatches, 5 (which has none) through the ring colours.
        case 3: return std::make_unique<Fading>(chosen, 3, true, BySpeed(p.speed, 70, 50, 30));
        case 5: return std::make_unique<Fading>(RingList(), 3, true, BySpeed(p.speed, 70, 50, 30));
        case 4: return std::make_unique<SteppingRing>(BySpeed(p.speed, 1000, 500, 300), cells, ScaledAll(RingList(), level));
        case 6: return std::make_unique<Drifting>(cells, BySpeed(p.speed, 2, 4, 7), ring);
        case 7: return std::make_unique<Sweeping>(cells, BySpeed(p.speed, 10, 18, 24), ring);
        case 8: return std::make_unique<RandomRing>(BySpeed(p.speed, 1000, 500, 200), cells, level, random);
        case 9: return std::make_unique<Blinking>(BySpeed(p.speed, 800, 400, 300), RingList());
        default: return nullptr;
    }
}

}  // namespace quobel::lighting
