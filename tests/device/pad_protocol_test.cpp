#include "device/pad_protocol.h"

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "device/fake_report_device.h"

namespace quobel {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr Colour kColours[7] = {Rgb(1, 2, 3), Rgb(4, 5, 6), Rgb(7, 8, 9), Rgb(10, 11, 12),
                                Rgb(13, 14, 15), Rgb(16, 17, 18), Rgb(19, 20, 21)};

struct PadCase {
    const char* name;
    int nEffect;
    LedEffect effect;
    Bytes want;  // P0..P25 over a device block of 0x5A, 0x5B and zeros
};

class PadBlock : public testing::TestWithParam<PadCase> {};

TEST_P(PadBlock, WholeBlock) {
    const PadCase& c = GetParam();
    PadProfile pad;
    pad.nEffect = c.nEffect;
    pad.Effects[c.nEffect] = c.effect;
    for (int k = 0; k < 7; ++k) pad.Effects[c.nEffect].clr[k] = kColours[k];
    std::array<std::uint8_t, 26> g{};
    g[0] = 0x5A;
    g[1] = 0x5B;
    g[25] = 0x77;
    EncodePadGeneral(g, pad);
    EXPECT_EQ(Bytes(g.begin(), g.end()), c.want);
}

Bytes Block(std::initializer_list<std::uint8_t> from_p2) {
    Bytes b(26, 0);
    b[0] = 0x5A;
    b[1] = 0x5B;
    std::size_t i = 2;
    for (std::uint8_t v : from_p2) b[i++] = v;
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Effects, PadBlock,
    testing::Values(
        // Effect code 4 with colours 0 and 2: two triples, the count in P4; brightness
        // 256 (the default) is code 4.
        PadCase{"mask_05_bright_256", 3, LedEffect{2, 256, 5, 0, {}, 0x05, 0, 0},
                Block({4, 0x42, 2, 1, 2, 3, 7, 8, 9})},
        // Effect 10 is "off": code 0; a clockwise direction only matters to codes 1 and 3.
        PadCase{"effect_10_off", 10, LedEffect{0x13, 32, 6, 0, {}, 0x00, 0, 0}, Block({0, 0x13, 0})},
        PadCase{"code1_clockwise", 0, LedEffect{1, 80, 6, 0, {}, 0x40, 0, 0}, Block({1, 0x21, 0x80, 19, 20, 21})},
        PadCase{"code3_anticlockwise_all", 2, LedEffect{3, 112, 5, 0, {}, 0xFFFF, 0, 0},
                Block({3, 0x33, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21})}),
    [](const testing::TestParamInfo<PadCase>& i) { return std::string(i.param.name); });

TEST(PadApply, ReadsWritesAndFails) {
    struct Sink : ProgressSink {
        std::vector<int> pos;
        void SetPos(int v) override { pos.push_back(v); }
        void Close() override {}
    };
    auto p = std::make_unique<ProfileData>();
    p->dwProfileID = 1;
    p->Pad.nEffect = 3;
    p->Pad.Effects[3] = LedEffect{2, 256, 5, 0, {}, 0x05, 0, 0};
    for (int k = 0; k < 7; ++k) p->Pad.Effects[3].clr[k] = kColours[k];

    for (bool go : {false, true}) {
        test::FakeReportDevice dev;
        dev.blocks[48] = Block({});
        RecordingSleeper sleeper;
        ApplyEnv env;
        env.io = &dev;
        env.sleeper = &sleeper;
        env.bGoWithNoDev = go;
        Sink sink;
        EXPECT_EQ(ApplyPad(env, 40, *p, &sink), 1);
        ASSERT_EQ(dev.Sets(48).size(), 1u);
        EXPECT_EQ(dev.Sets(48)[0].data, Block({4, 0x42, 2, 1, 2, 3, 7, 8, 9}));
        EXPECT_EQ(sink.pos, (std::vector<int>{20, 80, 100}));
        EXPECT_EQ(sleeper.TotalMs(), 520);

        dev.fail_next = 1;  // the read fails: only GoWithNoDev carries on
        EXPECT_EQ(ApplyPad(env, 40, *p, nullptr), go ? 1 : 0);
        EXPECT_EQ(ApplyPad(env, 39, *p, nullptr), 0);  // not the pad this program writes
    }
    for (bool go : {false, true}) {  // a device that fails the write
        test::FakeReportDevice dev;
        ApplyEnv env;
        env.io = &dev;
        env.bGoWithNoDev = go;
        dev.fail_next = 3;
        dev.fail_writes_only = true;
        EXPECT_EQ(ApplyPad(env, 40, *p, nullptr), go ? 1 : 0);
    }
}

}  // namespace
}  // namespace quobel
