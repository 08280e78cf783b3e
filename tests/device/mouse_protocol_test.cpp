#include "device/mouse_protocol.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "device/fake_report_device.h"
#include "device/function_codes.h"
#include "device/macro_fixture.h"
#include "common/temp_dir.h"

namespace quobel {
namespace {

using test::FakeReportDevice;
using Bytes = std::vector<std::uint8_t>;

constexpr Colour kRed = Rgb(255, 0, 0), kGreen = Rgb(0, 255, 0), kBlue = Rgb(0, 0, 255);
constexpr Colour kCyan = Rgb(0, 255, 255), kMagenta = Rgb(255, 0, 255), kWhite = Rgb(255, 255, 255);

MouseProtoDesc Desc(int fw) {
    MouseProtoDesc d;
    d.nMsFw = fw;
    d.PickColor = {{{kRed, 1}, {kGreen, 2}, {kBlue, 3}, {kCyan, 4}, {Rgb(255, 255, 0), 5}, {kMagenta, 6},
                    {kWhite, 7}}};
    d.nPopByte1 = 3;
    d.nSensor = 0x3050;
    d.nDpiNum = 6;
    const int dpis[] = {500, 750, 1000, 1250, 1500, 1750, 2000, 2500, 3000, 3500, 4000};
    for (int i = 0; i < 11; ++i) d.dpiSteps.push_back({dpis[i], static_cast<std::uint8_t>(i + 1)});
    return d;
}

// Six levels on (750..3000, codes 2 3 5 7 8 9), the rest off; effect 3 ("colour
// count", index 2) with colours 0 and 2.
std::unique_ptr<ProfileData> Profile() {
    auto p = std::make_unique<ProfileData>();
    p->dwMagic = kProfileMagic;
    p->dwProfileID = 0x1234;
    MsProfile& ms = p->Ms;
    const int dpis[] = {750, 1000, 1500, 2000, 2500, 3000};
    const Colour clrs[] = {kRed, kBlue, kGreen, kCyan, kMagenta, kWhite};
    for (int i = 0; i < kProfileDpiLevels; ++i) ms.Dpi[i].bOff = 1;
    for (int i = 0; i < 6; ++i) ms.Dpi[i] = {dpis[i], dpis[i], clrs[i], 0};
    ms.dwRate[0] = 0x1000;
    ms.dwRate[1] = 0x250;
    ms.dwRate[2] = 0x777;
    ms.nEffect = 2;
    LedEffect& e = ms.Effects[2];
    e.nSpeed = 0x12;
    e.dwColorMask = 0x05;
    e.clr[0] = Rgb(1, 2, 3);
    e.clr[2] = Rgb(4, 5, 6);
    return p;
}

// The block a device holds before the apply: the sensor type 2 (0x3050) in G2 and
// a few bytes of its own that must come back unchanged.
Bytes DeviceGeneral(std::size_t len) {
    Bytes g(len, 0);
    g[0] = 0x07;
    g[1] = 0x30;
    g[2] = 0x20;
    g[3] = 0x5A;
    g[57] = 0xEE;
    return g;
}

Bytes With(Bytes b, std::vector<std::pair<std::size_t, std::uint8_t>> changes) {
    for (auto [i, v] : changes) b.at(i) = v;
    return b;
}

struct GeneralCase {
    const char* name;
    int fw;
    void (*tweak)(ProfileData&, MouseProtoDesc&, bool& reset);
    std::vector<std::pair<std::size_t, std::uint8_t>> expected;  // bytes that differ from the device's
};

// Colour triples of effect colours 0 and 2 at G22.., DPI colour codes from G43.
const std::vector<std::pair<std::size_t, std::uint8_t>> kColours = {
    {22, 1}, {23, 2}, {24, 3}, {25, 4}, {26, 5}, {27, 6}};

std::vector<std::pair<std::size_t, std::uint8_t>> Join(std::vector<std::pair<std::size_t, std::uint8_t>> a,
                                                      const std::vector<std::pair<std::size_t, std::uint8_t>>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class MouseGeneral : public testing::TestWithParam<GeneralCase> {};

TEST_P(MouseGeneral, WholeBlock) {
    const GeneralCase& c = GetParam();
    auto p = Profile();
    MouseProtoDesc d = Desc(c.fw);
    bool reset = false;
    if (c.tweak) c.tweak(*p, d, reset);
    const std::size_t len = MouseGeneralLength(c.fw);
    Bytes g = DeviceGeneral(len);
    const Bytes before = g;
    EncodeMouseGeneral(g, *p, d, *MouseVariantOf(c.fw), reset);
    Bytes want = before;
    for (std::size_t i = 4; i < 20; ++i) want[i] = c.fw == 9 ? 0x00 : 0x80;
    EXPECT_EQ(g, With(want, c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Variants, MouseGeneral,
    testing::Values(
        // Six levels walked, rate in G0, colour area of eight triples, gun byte G49.
        GeneralCase{"STD_2", 3, nullptr,
                    Join({{0, 0x47}, {1, 0x36}, {4, 2}, {5, 3}, {6, 5}, {7, 7}, {8, 8}, {9, 9}, {20, 0x32}, {21, 2},
                          {49, 2}},
                         kColours)},
        // Level 3 off (bit 7), eight levels walked, seven DPI colours, hand byte at G51;
        // a reset puts DEFLEVEL + 1 in the high nibble of G1 and 1 in the hand byte.
        GeneralCase{"STD_3_reset_disabled_level", 8,
                    [](ProfileData& p, MouseProtoDesc& d, bool& reset) {
                        p.Ms.Dpi[2].bOff = 1;
                        p.Ms.nMode = 1;
                        d.nDefLevel = 2;
                        reset = true;
                    },
                    Join({{0, 0x47}, {1, 0x35}, {4, 2}, {5, 3}, {6, 0x85}, {7, 7}, {8, 8}, {9, 9}, {10, 0x80},
                          {11, 0x80}, {20, 0x32}, {21, 2}, {43, 1}, {44, 3}, {45, 2}, {46, 4}, {47, 6}, {48, 7},
                          {51, 1}},
                         kColours)},
        GeneralCase{"STD_3_mode2_hand_byte", 8, [](ProfileData& p, MouseProtoDesc&, bool&) { p.Ms.nMode = 1; },
                    Join({{0, 0x47}, {1, 0x36}, {4, 2}, {5, 3}, {6, 5}, {7, 7}, {8, 8}, {9, 9}, {10, 0x80},
                          {11, 0x80}, {20, 0x32}, {21, 2}, {43, 1}, {44, 3}, {45, 2}, {46, 4}, {47, 6}, {48, 7},
                          {51, 2}},
                         kColours)},
        // X and Y separate: sixteen bytes G4..G19; no rate in G0; effect 11 is "off"
        // (code 0), which RV_3 flags in G51.
        GeneralCase{"RV_3_xy_separate_lighting_off", 5,
                    [](ProfileData& p, MouseProtoDesc&, bool&) {
                        p.Ms.bXYSeparate = 1;
                        p.Ms.Dpi[1].nDpiY = 4000;
                        p.Ms.nEffect = 11;
                    },
                    {{1, 0x36}, {2, 0x21}, {4, 2}, {5, 2}, {6, 3}, {7, 11}, {8, 5}, {9, 5}, {10, 7}, {11, 7},
                     {12, 8}, {13, 8}, {14, 9}, {15, 9}, {43, 1}, {44, 3}, {45, 2}, {46, 4}, {47, 6}, {48, 7},
                     {51, 0x22}}},
        // Plain codes, disabled levels in the G52 mask (among DM levels only).
        GeneralCase{"RV_4_disabled_mask", 9,
                    [](ProfileData& p, MouseProtoDesc&, bool&) {
                        p.Ms.Dpi[4].bOff = 1;
                        p.Ms.bGunColor = 1;
                    },
                    Join({{1, 0x35}, {4, 2}, {5, 3}, {6, 5}, {7, 7}, {8, 8}, {9, 9}, {20, 0x32}, {21, 2}, {43, 1},
                          {44, 3}, {45, 2}, {46, 4}, {47, 6}, {48, 7}, {51, 0x21}, {52, 0x10}},
                         kColours)},
        // 80-byte block: gun mode flag and the seven gun colours.
        GeneralCase{"CJ_1_gun_colours", 10,
                    [](ProfileData& p, MouseProtoDesc&, bool&) {
                        p.dwFlags = kProfileFlagGun;
                        for (std::uint32_t i = 0; i < 7; ++i) p.clrGun[i] = Rgb(i, 0x10 + i, 0x20 + i);
                    },
                    Join({{1, 0x36}, {4, 2}, {5, 3}, {6, 5}, {7, 7}, {8, 8}, {9, 9}, {20, 0x32}, {21, 2}, {43, 1},
                          {44, 3}, {45, 2}, {46, 4}, {47, 6}, {48, 7}, {51, 0x20}, {58, 1},
                          {59, 0}, {60, 0x10}, {61, 0x20}, {62, 1}, {63, 0x11}, {64, 0x21}, {65, 2}, {66, 0x12},
                          {67, 0x22}, {68, 3}, {69, 0x13}, {70, 0x23}, {71, 4}, {72, 0x14}, {73, 0x24}, {74, 5},
                          {75, 0x15}, {76, 0x25}, {77, 6}, {78, 0x16}, {79, 0x26}},
                         kColours)}),
    [](const testing::TestParamInfo<GeneralCase>& i) { return std::string(i.param.name); });

struct LedCase {
    const char* name;
    int nEffect;
    std::int32_t nSpeed, nBright, nDir, bColorful;
    std::uint8_t g20, g21;
};

class MouseLighting : public testing::TestWithParam<LedCase> {};

TEST_P(MouseLighting, EffectByteAndCount) {
    const LedCase& c = GetParam();
    auto p = Profile();
    p->Ms.nEffect = c.nEffect;
    LedEffect& e = p->Ms.Effects[c.nEffect];
    e = LedEffect{c.nSpeed, c.nBright, c.nDir, c.bColorful, {}, 0x07, 0, 0};
    Bytes g = DeviceGeneral(58);
    EncodeMouseGeneral(g, *p, Desc(5), MouseVariant::RV_3, false);
    EXPECT_EQ(g[20], c.g20);
    EXPECT_EQ(g[21], c.g21);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, MouseLighting,
    testing::Values(LedCase{"code1_up", 0, 3, 0, 3, 0, 0x13, 0x80}, LedCase{"code1_down", 0, 3, 0, 4, 0, 0x13, 0},
                    LedCase{"code2_bright_table", 1, 3, 69, 0, 0, 0x25, 0},
                    LedCase{"code2_bright_other", 1, 3, 70, 0, 0, 0x29, 0},
                    LedCase{"code3_triples", 2, 0x1F, 0, 0, 0, 0x3F, 3}, LedCase{"code4", 3, 1, 0, 3, 0, 0x41, 0},
                    LedCase{"code8_colourful", 7, 2, 0, 0, 1, 0x82, 0x80},
                    LedCase{"code8_triples", 7, 2, 0, 0, 0, 0x82, 3}, LedCase{"code9_up", 8, 1, 0, 3, 0, 0x91, 0x80},
                    LedCase{"code11", 10, 1, 0, 0, 0, 0xB1, 0}, LedCase{"off", 11, 5, 0, 3, 1, 0x05, 0},
                    LedCase{"code13", 12, 4, 0, 0, 0, 0xD4, 0}),
    [](const testing::TestParamInfo<LedCase>& i) { return std::string(i.param.name); });

TEST(MouseGeneral, NonZeroGridOrderAndOutOfRangeEffect) {
    auto p = Profile();
    MouseProtoDesc d = Desc(5);
    d.nGridRGBIndex = {2, 0, 1};  // the device takes green, blue, red
    Bytes g = DeviceGeneral(58);
    EncodeMouseGeneral(g, *p, d, MouseVariant::RV_3, false);
    EXPECT_EQ(Bytes(g.begin() + 22, g.begin() + 28), (Bytes{2, 3, 1, 5, 6, 4}));

    p->Ms.nEffect = 40;  // a damaged record: lighting off, nothing read past the table
    EncodeMouseGeneral(g, *p, d, MouseVariant::RV_3, false);
    EXPECT_EQ(g[20], 0);
    EXPECT_EQ(Bytes(g.begin() + 22, g.begin() + 43), Bytes(21, 0));
}

TEST(MouseMode, RatesResetAndUnknownRate) {
    const std::array<std::uint8_t, 8> read{1, 3, 3, 3, 9, 8, 7, 6};
    const std::array<std::uint32_t, 3> rates{0x125, 0x1000, 0x333};
    EXPECT_EQ(EncodeMouseMode(read, 2, rates, false, 1), (std::array<std::uint8_t, 8>{3, 1, 4, 0, 9, 8, 7, 6}));
    EXPECT_EQ(EncodeMouseMode(read, 0, rates, true, 1), (std::array<std::uint8_t, 8>{1, 1, 4, 0, 2, 3, 1, 0}));
    EXPECT_EQ(EncodeMouseMode(read, 0, rates, true, -1)[4], 2);
}

// A key codec of the test's own: type 1 code c → 0xF000 | c << 4, macros 0x190,
// type 14 cannot be encoded.
KeyCodec TestCodec() {
    KeyCodec k;
    k.code = [](const KeyInfo& ki) -> std::uint32_t {
        switch (FunType(ki.FunID)) {
        case 1: return 0xF000u | (FunCode(ki.FunID) << 4);
        case 5: return 0x190;
        case 14: return kNoDeviceCode;
        default: return 0x60;
        }
    };
    return k;
}

struct MouseRig {
    FakeReportDevice dev;
    RecordingSleeper sleeper;
    CollectingReporter reporter;
    MacroList macros;
    ApplyEnv env;
    MouseRig() {
        env.io = &dev;
        env.sleeper = &sleeper;
        env.reporter = &reporter;
        env.macros = &macros;
        env.codec = TestCodec();
        env.limits.nMacroBufSize = 128;
        env.limits.nMacroNum = 8;
        env.nMacProtocol = 1;
        dev.blocks[4] = DeviceGeneral(80);
        dev.blocks[8] = {1, 3, 3, 3, 2, 0, 0, 0};
    }
};

KeyInfo Button(std::uint32_t fun, int matrix, std::uint32_t macro = 0) {
    KeyInfo k;
    k.FunID = fun;
    k.nMatrixInx = matrix;
    k.MacroID = macro;
    return k;
}

TEST(MouseMatrix, ButtonCodesMacrosAndInvalidKeys) {
    MouseRig rig;
    // Empty macros: a packed slot is the repeat count (big-endian) and the end mark.
    MacroRecord m1;
    m1.MacroID = 0x51;
    m1.nLoopCount = 0xAA51;
    MacroRecord m2;
    m2.MacroID = 0x52;
    m2.nLoopCount = 0xAA52;
    rig.macros.Add(m1);
    rig.macros.Add(m2);
    auto p = Profile();
    MouseProtoDesc d = Desc(5);
    d.nButtonMatrixInx = {1, 2, 3, 4, 5, 6, 7, 8, 9, 12};  // button 10 has no slot
    auto& keys = p->Ms.Keys;
    keys[0][0] = Button(0x01000011, 1);
    keys[0][1] = Button(0x0E000001, 2);           // cannot be encoded: box, stays 0x150
    keys[0][2] = Button(0x05000000, 3, 0x52);     // first macro met: slot 1
    keys[1][4] = Button(0x05000000, 5, 0x51);     // slot 2
    keys[2][6] = Button(0x05000000, 7, 0x52);     // same macro again: slot 1
    keys[2][9] = Button(0x01000012, 10);          // dropped: its slot number is 12
    const MouseMatrix mx = BuildMouseMatrix(p->Ms, d, MouseVariant::RV_3, rig.env);
    ASSERT_EQ(mx.length, 1144u);

    const std::array<std::uint32_t, 10> mode1{0xF111, 0x152, 0x1193, 0x154, 0x155, 0x156, 0x157, 0x158, 0x159, 0x15A};
    const std::array<std::uint32_t, 10> mode2{0x151, 0x152, 0x153, 0x154, 0x2195, 0x156, 0x157, 0x158, 0x159, 0x15A};
    const std::array<std::uint32_t, 10> mode3{0x151, 0x152, 0x153, 0x154, 0x155, 0x156, 0x1197, 0x158, 0x159, 0x15A};
    Bytes want(1144, 0);
    want[0] = 0xAA;  // macro 0x52, met first, in slot 1
    want[1] = 0x52;
    want[128] = 0xAA;
    want[129] = 0x51;
    std::size_t at = 1024;
    for (const auto* mode : {&mode1, &mode2, &mode3}) {
        for (std::uint32_t c : *mode) {
            for (int b = 0; b < 4; ++b) want[at++] = static_cast<std::uint8_t>(c >> (8 * b));
        }
    }
    EXPECT_EQ(Bytes(mx.bytes.begin(), mx.bytes.begin() + 1144), want);
    ASSERT_EQ(rig.reporter.messages.size(), 1u);
    EXPECT_EQ(rig.reporter.messages[0].text, "Invaild key 1: FunID=0xe000001, MacroID=0x0");
}

TEST(MouseMatrix, ShortBlockSendsOneMode) {
    MouseRig rig;
    auto p = Profile();
    p->Ms.nMode = 2;
    p->Ms.Keys[0][0] = Button(0x01000011, 1);
    p->Ms.Keys[2][0] = Button(0x01000013, 1);
    MouseProtoDesc d = Desc(3);
    d.bKeyCodeHasIndex = false;
    // STD_2 sends mode 1 unless the mode is switched by the software.
    MouseMatrix mx = BuildMouseMatrix(p->Ms, d, MouseVariant::STD_2, rig.env);
    EXPECT_EQ(mx.length, 1064u);
    EXPECT_EQ(mx.bytes[1024], 0x10);
    EXPECT_EQ(mx.bytes[1025], 0xF1);
    d.bModeSWBySw = true;
    mx = BuildMouseMatrix(p->Ms, d, MouseVariant::STD_2, rig.env);
    EXPECT_EQ(mx.bytes[1024], 0x30);
    EXPECT_EQ(mx.bytes[1028], 0x50);  // slot 2 stays disabled: 0x150 without index
}

// The 1064-byte matrix with the real codes and packing: the macro memory holds the
// macros of all three modes, numbered across the modes in key order, and the sent
// mode's ten codes follow it.
TEST(MouseMatrix, Std3SendsTheCurrentModeWithTheMacrosOfEveryMode) {
    MouseRig rig;
    rig.env.codec.code = [&rig](const KeyInfo& k) { return mouse::keyinfo_to_hardware_code(k, rig.macros, {}); };
    rig.macros.Add(test::MakeMacro(0x61, {{0x41, 1, 30}, {0x41, 0, 50}}, 0, 1));  // 'A', protocol 1: 10 ms units
    rig.macros.Add(test::MakeMacro(0x62, {{0x42, 1, 1500}, {0x42, 0, 5}}, 0, 3));  // 'B', long pause form
    auto p = Profile();
    p->Ms.nMode = 1;  // key mode 2 is sent
    p->Ms.Keys[0][2] = Button(0x05000000, 3, 0x61);  // mode 1, button 3: met first, slot 1
    p->Ms.Keys[1][1] = Button(0x05000000, 2, 0x62);  // mode 2, button 2: slot 2
    const MouseMatrix mx = BuildMouseMatrix(p->Ms, Desc(8), MouseVariant::STD_3, rig.env);
    ASSERT_EQ(mx.length, 1064u);

    Bytes want(1064, 0);
    const Bytes a{0x00, 0x01, 0x03, 0x04, 0x85, 0x04, 0x00, 0x00};
    const Bytes b{0x00, 0x03, 0x00, 0x05, 0x0F, 0x03, 0x81, 0x05, 0x00, 0x00};
    std::copy(a.begin(), a.end(), want.begin());
    std::copy(b.begin(), b.end(), want.begin() + 128);
    // Disabled buttons: 0x150 with the slot index in the low nibble; the macro
    // button: loop-mode code 0x190, index 2, slot 2 in bits 12..15.
    const std::array<std::uint32_t, 10> sent{0x151, 0x2192, 0x153, 0x154, 0x155, 0x156, 0x157, 0x158, 0x159, 0x15A};
    for (std::size_t s = 0; s < 10; ++s)
        for (std::size_t byte = 0; byte < 4; ++byte)
            want[1024 + 4 * s + byte] = static_cast<std::uint8_t>(sent[s] >> (8 * byte));
    EXPECT_EQ(Bytes(mx.bytes.begin(), mx.bytes.begin() + 1064), want);
    EXPECT_EQ(mx.codes[0][2], 0x1193u);  // mode 1 is built too, with its macro's slot
    EXPECT_EQ(mx.codes[1], sent);
    EXPECT_TRUE(rig.reporter.messages.empty());
}

TEST(MouseApply, LogsTheSensorTranslationAndEveryDumpOfTheStdBlocks) {
    test::LogCapture log;
    MouseRig rig;
    rig.env.bDetailedLog = true;
    auto p = Profile();
    std::int32_t reset = 0;
    rig.dev.blocks[4] = DeviceGeneral(58);
    ASSERT_EQ(ApplyMouse(rig.env, Desc(3), *p, nullptr, 3, reset, nullptr), 1);
    const std::string text = log.Text();
    for (const char* line : {"GetSenosr: nSensor=0x3050, nValue=2", "DPI-COLOR: ", "-------KeyMode3",
                             "Matrix[2][9] = 0x0000015a"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

TEST(MouseApply, WritesBlocksInOrderWithProgress) {
    MouseRig rig;
    auto p = Profile();
    struct Sink : ProgressSink {
        std::vector<int> pos;
        void SetPos(int v) override { pos.push_back(v); }
        void Close() override {}
    } sink;
    std::int32_t reset = 1;
    MacroRecord m;
    m.MacroID = 9;
    rig.macros.Add(m);
    p->Ms.Keys[0][0] = Button(0x05000000, 1, 9);
    ASSERT_EQ(ApplyMouse(rig.env, Desc(5), *p, &sink, 0x8003, reset, nullptr), 1);
    EXPECT_EQ(reset, 0);
    EXPECT_EQ(rig.macros.begin()->Macro_Buffer_ID, 0u);  // slots are numbered afresh next time
    std::vector<std::pair<bool, int>> order;
    for (const auto& e : rig.dev.log) order.push_back({e.set, e.id});
    EXPECT_EQ(order, (std::vector<std::pair<bool, int>>{{false, 4}, {true, 4}, {false, 8}, {true, 8}, {true, 6}}));
    EXPECT_EQ(rig.dev.log[1].data.size(), 58u);
    EXPECT_EQ(rig.dev.log[3].data, (Bytes{1, 4, 2, 0, 2, 3, 1, 0}));  // reset: DEFLEVEL -1 gives 2
    EXPECT_EQ(rig.dev.log[4].data.size(), 1144u);
    EXPECT_EQ(sink.pos, (std::vector<int>{20, 40, 60, 40, 80, 100}));
    EXPECT_EQ(rig.sleeper.TotalMs(), 20 + 20 + 20 + 20 + 500);
}

TEST(MouseApply, CjForcesSecondRateTo250OnTheDevice) {
    MouseRig rig;
    auto p = Profile();
    p->Ms.dwRate[1] = 0x500;
    std::int32_t reset = 0;
    ASSERT_EQ(ApplyMouse(rig.env, Desc(10), *p, nullptr, 2, reset, nullptr), 1);
    EXPECT_EQ(rig.dev.Sets(4).at(0).data.size(), 80u);
    EXPECT_EQ(rig.dev.Sets(8).at(0).data[2], 2);
    EXPECT_EQ(p->Ms.dwRate[1], 0x250u);  // the profile keeps the rate the device runs
}

struct FailCase {
    const char* name;
    bool go_with_no_dev;
    bool present;
    std::uint8_t fail_id;
    int expect;
    std::size_t sets;  // reports written
};

class MouseFailure : public testing::TestWithParam<FailCase> {};

TEST_P(MouseFailure, StopsOrCarriesOn) {
    const FailCase& c = GetParam();
    MouseRig rig;
    rig.env.bGoWithNoDev = c.go_with_no_dev;
    rig.dev.present = c.present;
    rig.dev.fail_next = c.fail_id ? 3 : 0;
    rig.dev.fail_id = c.fail_id;
    auto p = Profile();
    std::int32_t reset = 1;
    EXPECT_EQ(ApplyMouse(rig.env, Desc(5), *p, nullptr, 3, reset, nullptr), c.expect);
    std::size_t sets = 0;
    for (const auto& e : rig.dev.log) sets += e.set ? 1 : 0;
    EXPECT_EQ(sets, c.sets);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, MouseFailure,
    testing::Values(FailCase{"absent", false, false, 0, 0, 0},
                    FailCase{"absent_go_with_no_dev", true, false, 0, 1, 2},
                    FailCase{"general_read_fails", false, true, 4, 0, 0},
                    FailCase{"general_read_and_write_fail_go_on", true, true, 4, 1, 3},
                    FailCase{"matrix_write_fails", false, true, 6, 0, 3}),
    [](const testing::TestParamInfo<FailCase>& i) { return std::string(i.param.name); });

TEST(MouseApply, SensorMismatchStopsWithBoxAndKeepsReset) {
    MouseRig rig;
    rig.dev.blocks[4][2] = 0x30;  // type 3: 0x9800
    auto p = Profile();
    std::int32_t reset = 1;
    EXPECT_EQ(ApplyMouse(rig.env, Desc(5), *p, nullptr, 3, reset, nullptr), 0);
    EXPECT_EQ(reset, 1);
    ASSERT_EQ(rig.reporter.messages.size(), 1u);
    EXPECT_EQ(rig.reporter.messages[0], (ReportedMessage{"Error", "Sensor unmatch: dev=0x9800, cfg=0x3050"}));
}

TEST(MouseApply, PointerSettingsOnlyWithFlag8) {
    MouseRig rig;
    struct Pointer : SystemPointer {
        std::vector<PointerSettings> applied;
        PointerApplyResult Apply(const PointerSettings& w) override {
            applied.push_back(w);
            return {};
        }
    } pointer;
    auto p = Profile();
    p->Ms.nWheelLines = -1;
    p->Ms.nDblClickTime = 400;
    p->Ms.nPointerSpeed = 14;
    p->Ms.bEnhancePrecision = 0;
    p->Ms.nTrails = 2;
    std::int32_t reset = 0;
    ASSERT_EQ(ApplyMouse(rig.env, Desc(5), *p, nullptr, 3, reset, &pointer), 1);
    EXPECT_TRUE(pointer.applied.empty());
    ASSERT_EQ(ApplyMouse(rig.env, Desc(5), *p, nullptr, 8, reset, &pointer), 1);
    ASSERT_EQ(pointer.applied.size(), 1u);
    EXPECT_EQ(pointer.applied[0], (PointerSettings{-1, 400, 14, 0, 2}));
}

}  // namespace
}  // namespace quobel
