#include "lighting/kb_preview.h"

#include <algorithm>
#include <array>
#include <vector>

#include <gtest/gtest.h>

namespace quobel::lighting {
namespace {

// Numbers from a fixed list; the last one repeats.
class FixedRandom final : public RandomSource {
public:
    explicit FixedRandom(std::vector<int> seq) : seq_(std::move(seq)) {}
    int Below(int n) override {
        const int v = seq_.empty() ? 0 : seq_[std::min(next_++, seq_.size() - 1)];
        return n <= 1 ? 0 : v % n;
    }

private:
    std::vector<int> seq_;
    std::size_t next_ = 0;
};

// A grid of cols x rows keys of size x size pixels without gaps, slot = row * cols + col.
KbPreviewSetup Grid(int cols, int rows, int size = 30) {
    KbPreviewSetup s;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            s.keys[r * cols + c] = {{c * size, r * size, c * size + size, r * size + size}, 0x41 + r * cols + c};
    s.keyCount = s.animated = cols * rows;
    s.picture = {0, 0, cols * size, rows * size};
    return s;
}

struct Frames {
    std::array<SlotLight, kKbSlots> slots{};
    std::unique_ptr<Preview> preview;
    // Starts (frame 1) and ticks until `frames` frames are computed.
    Frames(int type, const KbPreviewParams& p, const KbPreviewSetup& s, RandomSource& r, int frames = 1)
        : preview(MakeKbPreview(type, p, s, r)) {
        if (!preview) return;
        preview->Start(slots);
        Next(frames - 1);
    }
    void Next(int n) {
        for (int i = 0; i < n; ++i) preview->Tick(slots);
    }
};

constexpr Colour kMagenta = Rgb(255, 0, 255), kYellow = Rgb(255, 255, 0), kGreen = Rgb(0, 255, 0);

TEST(KbPreviewRules, GradientTakesWholeStepsOfTheRealStepWidth) {
    const Colour six[] = {0x0000FF, 0x00FF00, 0xFF0000, 0xFF00FF, 0x0080FF, 0x0000FF};
    EXPECT_EQ(GradientAt(six, 200, 0), Rgb(255, 0, 0));
    EXPECT_EQ(GradientAt(six, 200, 50), Rgb(0, 192, 63));   // green to blue, 10 of 40
    EXPECT_EQ(GradientAt(six, 200, 199), Rgb(255, 4, 0));   // orange to red, 39 of 40
    // Three colours over 5 steps: s = 2.5, so p = 3 is 0 steps into colour 1, p = 4 one of 2.
    const Colour three[] = {Rgb(0, 0, 0), Rgb(100, 0, 0), Rgb(200, 50, 0)};
    EXPECT_EQ(GradientAt(three, 5, 3), Rgb(100, 0, 0));
    EXPECT_EQ(GradientAt(three, 5, 4), Rgb(150, 25, 0));
    EXPECT_EQ(Scaled(Rgb(255, 100, 9), 7), Rgb(178, 70, 6));
}

TEST(KbPreviewChoice, ShowEffectAndTheLowestBrightness) {
    KbDevCfg kb;
    kb.nShowEffect = 5;
    kb.LedOpt[0].nEffectCode = 2;
    kb.LedOpt[1].nEffectCode = 7;
    kb.LedOpt[2].nEffectCode = 13;
    EXPECT_EQ(KbPreviewType(kb, 0, 1), 2);
    EXPECT_EQ(KbPreviewType(kb, 1, 3), kNoPreview);
    EXPECT_EQ(KbPreviewType(kb, 2, 3), 13);
    kb.byMinLightEffectOff = 1;
    EXPECT_EQ(KbPreviewType(kb, 2, 1), 0);
    EXPECT_EQ(KbPreviewType(kb, 2, 2), 13);
    kb.nShowEffect = 0;
    EXPECT_EQ(KbPreviewType(kb, 0, 3), kNoPreview);
}

TEST(KbPreviewChoice, TypesWithoutAPreviewAndTooManyKeysBuildNone) {
    FixedRandom r({0});
    KbPreviewSetup s = Grid(4, 2);
    for (int type : {4, 6, 8, 11, 14, 25})
        EXPECT_EQ(MakeKbPreview(type, {}, s, r), nullptr) << type;
    s.animated = 141;
    EXPECT_EQ(MakeKbPreview(2, {}, s, r), nullptr);
}

TEST(KbPreviewFrames, TypeZeroLeavesEverythingUnlitWithoutATimer) {
    FixedRandom r({0});
    Frames run(0, {.colour = 0xFFFFFF}, Grid(4, 2), r);
    EXPECT_EQ(run.preview->Interval(), 0);
    EXPECT_TRUE(std::all_of(run.slots.begin(), run.slots.end(), [](const SlotLight& l) { return l.colour == 0; }));
}

TEST(KbPreviewFrames, ColourCycleTakesTheNeonSpeedOfTheSpeedAndMovesOneStepPerFrame) {
    FixedRandom r({0});
    Frames run(2, {.speed = 2, .bright = 3}, Grid(4, 2), r, 51);
    EXPECT_EQ(run.preview->Interval(), 40);
    EXPECT_EQ(run.slots[0], (SlotLight{Rgb(0, 192, 63), 150}));
    EXPECT_EQ(run.slots[7], run.slots[0]);
    EXPECT_EQ(run.slots[8], (SlotLight{0, 200})) << "slots past the animated keys are left alone";
    run.Next(150);  // p = 200 wraps to 0
    EXPECT_EQ(run.slots[0].colour, Rgb(255, 0, 0));
}

TEST(KbPreviewFrames, BreathingTurnsBelowFiveAndAboveOneHundredEighty) {
    FixedRandom r({0});
    Frames run(3, {.speed = 1, .colour = 0x123456}, Grid(4, 2), r);
    EXPECT_EQ(run.preview->Interval(), 25);
    EXPECT_EQ(run.slots[0], (SlotLight{0x123456, 178}));
    EXPECT_EQ(run.slots[140].intensity, 180) << "every slot starts at 180";
    run.Next(87);
    EXPECT_EQ(run.slots[3].intensity, 4);
    run.Next(1);
    EXPECT_EQ(run.slots[3].intensity, 6);
    run.Next(88);
    EXPECT_EQ(run.slots[0].intensity, 182);
    run.Next(1);
    EXPECT_EQ(run.slots[0].intensity, 180);
}

TEST(KbPreviewFrames, ColumnWaveHoldsBlendsAndStartsEachColumnOneStepLater) {
    FixedRandom r({0});
    const KbPreviewSetup s = Grid(20, 1);
    Frames run(7, {.speed = 1, .bright = 4, .dir = 1}, s, r);
    EXPECT_EQ(run.preview->Interval(), 20);
    // hold = blend = 600, step = 1200 / 9 = 133.
    EXPECT_EQ(run.slots[0], (SlotLight{kMagenta, 150}));
    EXPECT_EQ(run.slots[9].colour, kYellow);   // phase 1197: blend 597 / 20 + 1 = 30 of 30
    EXPECT_EQ(run.slots[10].colour, kYellow);  // phase 1330: hold of colour 1
    EXPECT_EQ(run.slots[18].colour, kGreen);   // phase 2394: hold of colour 2
    run.Next(30);                             // column 0 at phase 600: first blend step
    EXPECT_EQ(run.slots[0].colour, Rgb(255, 8, 247));

    Frames reversed(7, {.speed = 1, .bright = 4, .dir = 2}, s, r);
    EXPECT_EQ(reversed.slots[19].colour, kMagenta);
    EXPECT_EQ(reversed.slots[0].colour, kGreen);  // phase 19 * 133 = 2527
}

TEST(KbPreviewFrames, BandWaveStartsAtTheArrowKeysAndCountsFromTheOtherEndWithoutDirection) {
    FixedRandom r({0});
    KbPreviewSetup s = Grid(6, 1);
    s.keys[5].vk = 0x25;  // left arrow: band 0
    // S 1: hold 50, blend 1000, full cycle 5250, step 291.
    Frames d1(13, {.speed = 1, .bright = 1, .dir = 1}, s, r);
    EXPECT_EQ(d1.preview->Interval(), 10);
    EXPECT_EQ(d1.slots[5], (SlotLight{kGreen, 50}));
    Frames hidden(13, {.speed = 1, .bright = 1, .dir = 1, .dirShown = false}, s, r);
    // 18 bands counted from the last: band 0 starts at 17 * 291 = 4947, colour 4 blending
    // (4947 - 4200 - 50) / 10 + 1 = 70 of 100 steps from yellow to green.
    EXPECT_EQ(hidden.slots[5].colour, Rgb(255 - 255 * 70 / 100, 255, 0));
}

TEST(KbPreviewFrames, RainFollowsTheRandomPicksDownTheColumns) {
    FixedRandom r({3, 3, 7});
    const KbPreviewSetup s = Grid(22, 2);
    const KbPreviewParams p{.bright = 2, .colour = Rgb(100, 200, 50)};
    const Colour drop = Rgb(60, 120, 30);
    Frames run(15, p, s, r);  // frame 1: 20 picks start drops in columns 3 and 7
    EXPECT_EQ(run.preview->Interval(), 60);
    EXPECT_EQ(run.slots[3].colour, 0u);
    run.Next(1);  // frame 2: both light row 0; 18 picks of idle entry 7 start column 9
    EXPECT_EQ(run.slots[3].colour, drop);
    EXPECT_EQ(run.slots[7].colour, drop);
    EXPECT_EQ(run.slots[9].colour, 0u);
    run.Next(1);  // frame 3: row 1 of columns 3 and 7; column 9 row 0; column 10 starts
    EXPECT_EQ(run.slots[3].colour, 0u);
    EXPECT_EQ(run.slots[22 + 3].colour, drop);
    EXPECT_EQ(run.slots[9].colour, drop);
    EXPECT_EQ(run.slots[10].colour, 0u);
    run.Next(1);  // frame 4: columns 3 and 7 run out and go idle
    EXPECT_EQ(run.slots[22 + 3].colour, 0u);
    EXPECT_EQ(run.slots[22 + 9].colour, drop);
    EXPECT_EQ(run.slots[9].colour, 0u);
    EXPECT_EQ(run.slots[10].colour, drop);
}

TEST(KbPreviewFrames, RippleLightsKeysCutByTheGrowingDiamond) {
    FixedRandom r({0});
    const KbPreviewSetup s = Grid(5, 5);
    Frames run(20, {.speed = 1, .bright = 3, .colour = Rgb(100, 100, 100)}, s, r);
    ASSERT_TRUE(run.preview->Reactive());
    const auto lit = [&] {
        std::vector<int> out;
        for (int i = 0; i < 25; ++i)
            if (run.slots[i].colour != 0) out.push_back(i);
        return out;
    };
    EXPECT_TRUE(lit().empty());
    run.preview->Press(12, run.slots);  // centre key, diamond radius 15
    run.Next(1);
    EXPECT_EQ(lit(), std::vector<int>{12});
    EXPECT_EQ(run.slots[12].colour, Rgb(80, 80, 80));
    run.Next(1);  // radius 30: the neighbours' inner corners lie on it, the pressed key's four too
    EXPECT_EQ(lit(), (std::vector<int>{6, 7, 8, 11, 13, 16, 17, 18}));
    run.Next(1);  // radius 45: no corner of the next keys reached yet
    EXPECT_EQ(lit(), (std::vector<int>{6, 7, 8, 11, 13, 16, 17, 18}));
    run.Next(1);  // radius 60: the pressed key's neighbours are inside, the ring moved on
    EXPECT_EQ(lit(), (std::vector<int>{1, 2, 3, 5, 6, 8, 9, 10, 14, 15, 16, 18, 19, 21, 22, 23}));
    run.Next(5);  // radius 135: only the picture corners are still outside
    EXPECT_EQ(lit(), (std::vector<int>{0, 4, 20, 24}));
    run.Next(1);  // radius 150 takes the picture: the ring ends
    EXPECT_TRUE(lit().empty());
}

TEST(KbPreviewFrames, ReactiveGlowFadesThePressedKeyAndGenericShiftIsTheLeftShift) {
    FixedRandom r({0});
    KbPreviewSetup s = Grid(4, 1);
    s.keys[2].vk = 0xA0;
    KeyInfo shift;
    shift.FunID = 0x020000a0;
    shift.byModVk = 0x10;
    EXPECT_EQ(KeyIdOf(shift), 0xA0);
    Frames run(17, {.speed = 2, .colour = 0x00FF00}, s, r);
    EXPECT_EQ(SlotOfVk(s, 0x10), 2);
    EXPECT_EQ(SlotOfVk(s, 0x5B), -1);
    run.preview->Press(SlotOfVk(s, 0x10), run.slots);
    EXPECT_EQ(run.slots[2], (SlotLight{0x00FF00, 220}));
    run.Next(10);
    EXPECT_EQ(run.slots[2].intensity, 20);
    run.Next(1);
    EXPECT_EQ(run.slots[2], (SlotLight{0, 0}));
}

TEST(KbPreviewFrames, RowWaveAndDipAndFadeIn) {
    FixedRandom r({0});
    const KbPreviewSetup s = Grid(5, 2);
    Frames wave(19, {.speed = 1, .bright = 1, .colour = 0xFF}, s, r);
    wave.preview->Press(7, wave.slots);
    wave.Next(1);
    EXPECT_EQ(wave.slots[7].intensity, 140);
    EXPECT_EQ(wave.slots[6], (SlotLight{0xFF, 160}));
    EXPECT_EQ(wave.slots[8], (SlotLight{0xFF, 160}));
    EXPECT_EQ(wave.slots[2].colour, 0u) << "the wave stays in its row";

    Frames dip(18, {.speed = 1, .bright = 2, .colour = 0xFF}, s, r);
    EXPECT_EQ(dip.slots[9], (SlotLight{0xFF, 120}));
    dip.preview->Press(4, dip.slots);
    dip.Next(3);
    EXPECT_EQ(dip.slots[4].intensity, -35);

    Frames fade(24, {.speed = 3, .bright = 1, .colour = 0xFF, .multi = true}, s, r);
    EXPECT_EQ(fade.slots[0], (SlotLight{0x0000FF, 80}));   // first row red
    EXPECT_EQ(fade.slots[5], (SlotLight{0x007DFF, 80}));   // second row orange
    fade.preview->Press(5, fade.slots);
    fade.Next(2);
    EXPECT_EQ(fade.slots[5].intensity, 60);
}

TEST(KbPreviewFrames, RainbowOverTwentyColumnsEndsOnTheLastAnchor) {
    FixedRandom r({0});
    Frames run(23, {.bright = 5, .multi = true}, Grid(20, 1), r);
    EXPECT_EQ(run.preview->Interval(), 0);
    EXPECT_EQ(run.slots[0], (SlotLight{Rgb(255, 0, 0), 200}));
    EXPECT_EQ(run.slots[1].colour, Rgb(255, 127, 0));    // c 0, f 1: halfway to yellow
    EXPECT_EQ(run.slots[2].colour, Rgb(255, 255, 0));    // c 0, f 2: yellow
    EXPECT_EQ(run.slots[4].colour, Rgb(128, 255, 0));    // c 1, f 1: halfway to green
    EXPECT_EQ(run.slots[19].colour, Rgb(255, 0, 0));
}

// Every previewed type runs on a full keyboard for a while within its slots.
TEST(KbPreviewFrames, EveryTypeRunsOnAFullPicture) {
    DefaultRandom r;
    KbPreviewSetup s = Grid(14, 10, 20);
    s.animated = 140;
    s.keys[0].vk = 0x1B;
    s.keys[135].vk = 0x20;
    s.keys[139].vk = 0x27;
    for (int type : {0, 1, 2, 3, 5, 7, 12, 13, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}) {
        for (bool multi : {false, true}) {
            Frames run(type, {.speed = 4, .bright = 4, .colour = 0xFFFFFF, .multi = multi}, s, r);
            ASSERT_NE(run.preview, nullptr) << type;
            for (int i = 0; i < 400; ++i) {
                if (i % 7 == 0) run.preview->Press(i % 140, run.slots);
                run.preview->Tick(run.slots);
            }
            EXPECT_TRUE(std::all_of(run.slots.begin() + 140, run.slots.end(),
                                    [&](const SlotLight& l) { return l.colour == 0; }))
                << type;
        }
    }
}

}  // namespace
}  // namespace quobel::lighting
