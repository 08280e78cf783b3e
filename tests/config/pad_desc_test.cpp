#include "config/pad_desc.h"

#include <limits>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "desc_fixture.h"

namespace quobel {
namespace {

using ::testing::ElementsAre;

TEST(PadSection, OnlyIdsGiveTheDefaults) {
    const auto l = test::Load("[PAD]\nVID=0x1209\nPID=0x0640\n", {0, 0, 40, 0});
    EXPECT_THAT(l->Texts(), ElementsAre());
    const PadDevCfg& pad = l->config.gVar.PadDev;
    EXPECT_EQ(pad.wVid, 0x1209);
    EXPECT_EQ(pad.wPid, 0x0640);
    EXPECT_EQ(pad.ptPadDlg, (Point{360, 100}));
    EXPECT_EQ(pad.ptEft1, (Point{23, 47}));
    EXPECT_EQ(pad.ptEft2, (Point{484, 372}));
    EXPECT_EQ(pad.nEftGridW, 16);
    EXPECT_EQ(pad.dwLedMask, 0u);
    EXPECT_EQ(pad.bShowEffect, 0);
    for (std::uint32_t v : pad.dwLedParam) EXPECT_EQ(v, 0u);
}

TEST(PadSection, LedParamKeepsTwentyHexNumbersAndPointsReportMistakes) {
    const auto l = test::Load("[PAD]\nLedParam=1,2,3,4,5,6,7,8,9,a,b,c,d,e,f,10,11,12,13,14,15,16,17,18,19\n"
                              "ptEft1=5\nptEft2=100,200,300\n",
                              {0, 0, 40, 0});
    EXPECT_THAT(l->Texts(), ElementsAre("Error: Wrong POINT num"));
    const PadDevCfg& pad = l->config.gVar.PadDev;
    EXPECT_EQ(pad.dwLedParam[0], 1u);
    EXPECT_EQ(pad.dwLedParam[19], 0x14u);
    EXPECT_EQ(pad.ptEft1, (Point{23, 47}));
    EXPECT_EQ(pad.ptEft2, (Point{100, 200}));
}

TEST(PadStrip, FourBandsAroundThePicture) {
    PadDevCfg pad;
    pad.ptEft1 = {23, 47};
    pad.ptEft2 = {484, 372};
    pad.nEftGridW = 15;  // odd: halves round down
    const PadStrip s = PadStripBands(pad);
    EXPECT_EQ(s.rcTop, (Rect{16, 32, 491, 47}));
    EXPECT_EQ(s.rcLeft, (Rect{8, 47, 23, 372}));
    EXPECT_EQ(s.rcBottom, (Rect{16, 372, 491, 387}));
    EXPECT_EQ(s.rcRight, (Rect{484, 47, 499, 372}));
}

TEST(PadStrip, ExtremeValuesStopAtTheEndsOfTheRange) {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    PadDevCfg pad;
    pad.ptEft1 = {kMin, kMin};
    pad.ptEft2 = {kMax, kMax};
    pad.nEftGridW = kMax;
    const PadStrip s = PadStripBands(pad);
    EXPECT_EQ(s.rcTop, (Rect{kMin, kMin, kMax, kMin}));
    EXPECT_EQ(s.rcLeft, (Rect{kMin, kMin, kMin, kMax}));
    EXPECT_EQ(s.rcBottom, (Rect{kMin, kMax, kMax, kMax}));
    EXPECT_EQ(s.rcRight, (Rect{kMax, kMin, kMax, kMax}));
    pad.nEftGridW = kMin;
    pad.ptEft1 = {kMax, kMax};
    EXPECT_EQ(PadStripBands(pad).rcLeft.left, kMax);
}

}  // namespace
}  // namespace quobel
