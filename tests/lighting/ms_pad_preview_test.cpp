#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "lighting/ms_preview.h"
#include "lighting/pad_preview.h"

namespace quobel::lighting {
namespace {

constexpr Colour kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

std::vector<SlotLight> Frames(Preview& p, int ticks, int slots) {
    std::vector<SlotLight> s(static_cast<std::size_t>(slots));
    p.Start(s);
    for (int i = 0; i < ticks; ++i) p.Tick(s);
    return s;
}

MsDevCfg Mouse() {
    MsDevCfg ms;
    ms.clrEffectTail = {kRed, kGreen, kBlue, 0x00FFFF, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    return ms;
}

TEST(MousePreview, BrightnessGivesTheLevel) {
    const std::array<std::pair<int, int>, 12> rows = {{{0x05, 1}, {0x15, 2}, {0x25, 3}, {0x35, 4}, {0x45, 5},
                                                      {0x55, 6}, {0x65, 7}, {0x75, 8}, {0x85, 9}, {0x100, 9},
                                                      {0x30, 9}, {0, 9}}};
    for (auto [bright, level] : rows) EXPECT_EQ(MsPreviewLevel(bright), level) << std::hex << bright;
}

TEST(MousePreview, EffectsPickTheirKindZonesAndInterval) {
    struct Row { int effect, speed, kind, zones, interval; };
    const Row rows[] = {{0, 1, 5, 153, 20}, {1, 1, 1, 1, 0},   {2, 3, 3, 1, 30},  {3, 2, 8, 146, 18},
                        {10, 1, 8, 146, 18}, {4, 2, 2, 1, 100}, {6, 1, 4, 1, 350}, {8, 3, 5, 146, 20},
                        {9, 2, 9, 146, 400}};
    for (const Row& r : rows) {
        MsPreviewParams p;
        p.effect = r.effect;
        p.speed = r.speed;
        p.checked = {kRed, kGreen};
        auto preview = MakeMsPreview(p, Mouse());
        ASSERT_NE(preview, nullptr) << r.effect;
        EXPECT_EQ(preview->Kind(), r.kind) << r.effect;
        EXPECT_EQ(preview->Zones(), r.zones) << r.effect;
        EXPECT_EQ(preview->Interval(), r.interval) << r.effect;
    }
    for (int effect : {5, 7, 11, 12, 13}) {
        MsPreviewParams p;
        p.effect = effect;
        EXPECT_EQ(MakeMsPreview(p, Mouse()), nullptr) << effect;
    }
}

TEST(MousePreview, WaveZonesStartTwoStepsApartAndMoveByTheStep) {
    MsPreviewParams p;
    p.effect = 0;
    p.speed = 2;      // step 10
    p.bright = 0x05;  // level 1
    auto wave = MakeMsPreview(p, Mouse());
    // Zone 0 at position 0: the first fallback colour (red) scaled by 1/10.
    auto s = Frames(*wave, 0, kMsMaxZones);
    EXPECT_EQ(s[0].colour, Rgb(25, 0, 0));
    // Zone 5 starts at 10, i.e. where zone 0 is after one frame.
    const Colour zone5 = s[5].colour;
    s = Frames(*wave, 1, kMsMaxZones);
    EXPECT_EQ(s[0].colour, zone5);

    p.dirUp = false;  // reversed: the last zone starts at 0
    auto down = MakeMsPreview(p, Mouse());
    s = Frames(*down, 0, kMsMaxZones);
    EXPECT_EQ(s[152].colour, Rgb(25, 0, 0));
}

// Effect 0 at level 9 (every colour 229 a channel): 1000 steps over the eight colours
// make segments of 142.86 steps, zones 2 steps apart; the picture gives a zone one row.
TEST(MousePreview, RainbowWaveAdvancesTheHueZoneByZone) {
    MsPreviewParams p;
    p.effect = 0;
    p.speed = 2;  // step 10
    auto wave = MakeMsPreview(p, Mouse());
    EXPECT_EQ(wave->RowsPerZone(), 1);
    auto s = Frames(*wave, 0, kMsMaxZones);
    EXPECT_EQ(s[1].colour, Rgb(229 - 2 * 229 / 142, 0, 2 * 229 / 142));  // red towards blue
    EXPECT_EQ(s[71].colour, Rgb(0, 0, 229));                           // position 142: blue
    EXPECT_EQ(s[72].colour, Rgb(1, 1, 229));                           // 144: blue towards white
    // 30 frames later zone 0 is at 300: segment 2 (white to green), 14 of 142 steps in.
    s = Frames(*wave, 30, kMsMaxZones);
    EXPECT_EQ(s[0].colour, Rgb(229 - 14 * 229 / 142, 229, 229 - 14 * 229 / 142));
    for (int effect : {3, 9}) {
        p.effect = effect;
        EXPECT_EQ(MakeMsPreview(p, Mouse())->RowsPerZone(), 3) << effect;
    }
}

TEST(MousePreview, FadingTakesTheNextColourAtTheBottom) {
    MsPreviewParams p;
    p.effect = 2;
    p.checked = {kRed, kGreen};
    auto fade = MakeMsPreview(p, Mouse());
    EXPECT_EQ(Frames(*fade, 0, 1)[0].colour, kRed);
    EXPECT_EQ(Frames(*fade, 1, 1)[0].colour, Rgb(250, 0, 0));
    // 47 frames take the level from 255 to 20: the next colour at that level.
    EXPECT_EQ(Frames(*fade, 47, 1)[0].colour, Rgb(0, 255 * 20 / 255, 0));
    EXPECT_EQ(Frames(*fade, 48, 1)[0].colour, Rgb(0, 25 * 255 / 255, 0));
}

TEST(MousePreview, FlowingHeadLeadsAFadingTailAndBouncesForEffectThree) {
    MsPreviewParams p;
    p.effect = 3;
    p.speed = 1;  // step 2
    auto flow = MakeMsPreview(p, Mouse());
    auto s = Frames(*flow, 1, kMsMaxZones);
    // Tail colours scaled by level 9: red 229.
    EXPECT_EQ(s[2].colour, Rgb(229, 0, 0));
    EXPECT_EQ(s[1].colour, Rgb(229 - 229 * 5 / 420, 0, 0));
    EXPECT_EQ(s[3].colour, 0u);
    // 73 frames take the head past zone 145; then the tail fades by 10 a frame until it
    // passes 420 (43 frames), and the second colour runs back from the last zone.
    s = Frames(*flow, 73 + 43 + 1, kMsMaxZones);
    EXPECT_EQ(s[143].colour, Rgb(0, 229, 0));
    EXPECT_EQ(s[144].colour, Rgb(0, 229 - 229 * 5 / 420, 0));
    EXPECT_EQ(s[142].colour, 0u);
}

TEST(MousePreview, BandsPastTheGradientContinueItsLastColourAndShiftEachFrame) {
    MsPreviewParams p;
    p.effect = 9;
    p.bright = 0x100;
    p.swatches = {kRed, kGreen, kBlue, 0x00FFFF, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    auto bands = MakeMsPreview(p, Mouse());
    auto s = Frames(*bands, 0, kMsMaxZones);
    EXPECT_EQ(s[0].colour, Rgb(229, 0, 0));
    EXPECT_EQ(s[140].colour, Rgb(229, 229, 229));
    EXPECT_EQ(s[145].colour, Rgb(229, 229, 229));
    s = Frames(*bands, 1, kMsMaxZones);
    EXPECT_EQ(s[0].colour, Rgb(0, 229, 0));
    EXPECT_EQ(s[145].colour, Rgb(229, 0, 0));
}

TEST(PadRing, StripsAreCutIntoThreePixelCellsInRingOrder) {
    PadDevCfg pad;
    pad.ptEft1 = {23, 47};
    pad.ptEft2 = {484, 372};
    pad.nEftGridW = 16;
    const PadRing ring = BuildPadRing(pad);
    EXPECT_EQ(ring.stripCells[0], 159);  // 477 pixels
    EXPECT_EQ(ring.stripCells[1], 109);  // 325 pixels: 108 cells and one of 1 pixel
    EXPECT_EQ(ring.cells.front(), (Rect{489, 31, 492, 47}));  // the top strip from the right
    EXPECT_EQ(ring.cells[158], (Rect{15, 31, 18, 47}));
    EXPECT_EQ(ring.cells[159], (Rect{7, 47, 23, 50}));  // then the left strip downwards
    EXPECT_EQ(ring.cells[267], (Rect{7, 371, 23, 372}));
    EXPECT_FALSE(ring.cut);

    pad.ptEft2 = {1484, 1372};
    const PadRing big = BuildPadRing(pad);
    EXPECT_TRUE(big.cut);
    EXPECT_EQ(big.cells.size(), static_cast<std::size_t>(kPadMaxCells));
}

TEST(PadPreview, EffectsPickTheirKindAndArea) {
    struct Row { int effect, speed, kind; bool whole; int interval; };
    const Row rows[] = {{0, 1, 11, false, 70}, {1, 2, 1, true, 0},    {2, 3, 5, false, 40},  {3, 2, 3, true, 50},
                        {4, 1, 7, false, 1000}, {6, 3, 10, false, 80}, {7, 2, 9, false, 70},  {8, 3, 8, false, 200},
                        {9, 2, 12, true, 400}};
    DefaultRandom random;
    for (const Row& r : rows) {
        PadPreviewParams p;
        p.effect = r.effect;
        p.speed = r.speed;
        auto preview = MakePadPreview(p, 100, random);
        ASSERT_NE(preview, nullptr) << r.effect;
        EXPECT_EQ(preview->Kind(), r.kind) << r.effect;
        EXPECT_EQ(preview->WholeArea(), r.whole) << r.effect;
        EXPECT_EQ(preview->Interval(), r.interval) << r.effect;
    }
    PadPreviewParams off;
    off.effect = 10;
    EXPECT_EQ(MakePadPreview(off, 100, random), nullptr);
}

TEST(PadPreview, RotatingRingTurnsClockwiseTowardsLowerCells) {
    DefaultRandom random;
    PadPreviewParams p;
    p.effect = 2;
    p.speed = 1;  // 8 cells a frame
    auto rot = MakePadPreview(p, 100, random);
    const auto first = Frames(*rot, 0, 100);
    const auto next = Frames(*rot, 1, 100);
    EXPECT_EQ(next[0].colour, first[8].colour);
    EXPECT_EQ(next[92].colour, first[1].colour);  // 92 + 8 passes the end: one extra step
}

TEST(PadPreview, FlowingRingLevelsShadeTheGradientFromTheStartCell) {
    DefaultRandom random;
    PadPreviewParams p;
    p.effect = 0;
    p.speed = 1;
    p.clockwise = false;
    p.bright = 0x100;
    auto flow = MakePadPreview(p, 100, random);
    const auto s = Frames(*flow, 0, 100);
    // Anticlockwise from cell 0: pairs at 50, 63, ...; the ring's gradient (eight colours
    // over 100 cells) is red at cell 0 and 219, 36, 0 at cell 2.
    EXPECT_EQ(s[0].colour, Rgb(50, 0, 0));
    EXPECT_EQ(s[2].colour, Rgb(219 * 63 / 255, 36 * 63 / 255, 0));
    // One frame moves the comet 22 cells on (speed 1); cell 22's gradient colour is 0, 128, 127.
    const auto next = Frames(*flow, 1, 100);
    EXPECT_EQ(next[22].colour, Rgb(0, 128 * 50 / 255, 127 * 50 / 255));
}

TEST(PadPreview, SweepingFrontsRestAtTheFarEndThenRunBack) {
    DefaultRandom random;
    PadPreviewParams p;
    p.effect = 7;
    p.speed = 3;  // 24 cells a frame
    auto sweep = MakePadPreview(p, 100, random);
    auto s = Frames(*sweep, 1, 100);
    EXPECT_EQ(Red(s[0].colour), 255);         // far behind the front
    EXPECT_EQ(Red(s[24].colour), 0);          // the front cell
    EXPECT_EQ(s[30].colour, 0u);              // not reached
    EXPECT_EQ(Red(s[99].colour), 255);        // the other front has passed cell 99 too
    // 3 frames reach the end (70 = 50 + 20); the rest lights everything.
    s = Frames(*sweep, 3, 100);
    for (const SlotLight& c : s) EXPECT_NE(c.colour, 0u);
}

}  // namespace
}  // namespace quobel::lighting
