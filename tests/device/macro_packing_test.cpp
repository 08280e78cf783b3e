#include "device/macro_packing.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "device/macro_fixture.h"

namespace quobel {
namespace {

using test::Ev;
using test::MakeMacro;
using Bytes = std::vector<std::uint8_t>;

constexpr MacroLimits kLimits{.nMinDelay = 1, .nMacroBufSize = 128, .nMaxLoop = 65535, .nMaxEvent = 60,
                              .nMaxDelay = 65280, .nMacroNum = 64};

enum class Packer { Keyboard, MouseProtocol1, MouseProtocol2 };

std::size_t Pack(Packer packer, const MacroRecord& m, std::span<std::uint8_t> out,
                 const MacroLimits& limits = kLimits) {
    switch (packer) {
        case Packer::Keyboard: return keyboard::StMacro_To_HdMacro(m, out, limits);
        case Packer::MouseProtocol1: return mouse::StMacro_To_HdMacro(m, out, limits, 1);
        case Packer::MouseProtocol2: return mouse::StMacro_To_HdMacro(m, out, limits, 2);
    }
    return 0;
}

struct PackCase {
    const char* name;
    Packer packer;
    MacroRecord macro;
    Bytes head;          // the slot starts with these bytes; every byte after them is 0
    std::size_t result;  // the packer's return value
};
void PrintTo(const PackCase& row, std::ostream* os) { *os << row.name; }

const PackCase kCases[] = {
    // Keyboard: flag | delay (3..127) and usage; longer delays as remainder, usage,
    // 0x00 0x03 and the hundreds big-endian.
    {"KbPressRelease", Packer::Keyboard, MakeMacro(1, {{0x41, 1, 50}, {0x41, 0, 0}}, 0, 1),
     {0x00, 0x01, 0x32, 0x04, 0x83, 0x04}, 8},
    {"KbLoopCountZeroSentAsOne", Packer::Keyboard, MakeMacro(1, {{0x41, 1, 4}}, 0, 0),
     {0x00, 0x01, 0x04, 0x04}, 6},
    {"KbLoopCountBigEndian", Packer::Keyboard, MakeMacro(1, {{0x41, 1, 127}}, 0, 0x0102),
     {0x01, 0x02, 0x7F, 0x04}, 6},
    {"KbDelay128TakesSixBytes", Packer::Keyboard, MakeMacro(1, {{0x42, 1, 128}}),
     {0x00, 0x01, 28, 0x05, 0x00, 0x03, 0x00, 0x01}, 10},
    {"KbWholeHundredsKeepThreeMs", Packer::Keyboard, MakeMacro(1, {{0x42, 0, 65200}}),
     {0x00, 0x01, 0x83, 0x05, 0x00, 0x03, 0x02, 0x8C}, 10},
    {"KbModifiersLoseTheirSide", Packer::Keyboard,
     MakeMacro(1, {{0xA1, 1, 10}, {0xA3, 1, 10}, {0xA5, 1, 10}, {0x5C, 1, 10}, {0x10, 1, 10}}),
     {0x00, 0x01, 0x0A, 0xE1, 0x0A, 0xE0, 0x0A, 0xE2, 0x0A, 0xE3, 0x0A, 0xE1}, 14},
    {"KbMouseButtonsKeptForwardDropped", Packer::Keyboard,
     MakeMacro(1, {{0xF0, 1, 10}, {0xF3, 1, 10}, {0xF6, 1, 10}, {0xF2, 0, 10}}),
     {0x00, 0x01, 0x0A, 0xF0, 0x8A, 0xF2}, 8},
    {"KbEndsAtKeyZeroEvenWithDelay", Packer::Keyboard,
     MakeMacro(1, {{0x41, 1, 10}, {0, 0, 500}, {0x42, 1, 10}}),
     {0x00, 0x01, 0x0A, 0x04}, 6},
    // Mouse protocol 1: 10 ms units up to 1270 ms, then remainder, usage, hundreds, 0x03.
    {"Ms1Delay25", Packer::MouseProtocol1, MakeMacro(1, {{0x41, 1, 25}}), {0x00, 0x01, 0x02, 0x04}, 5},
    {"Ms1Delay5", Packer::MouseProtocol1, MakeMacro(1, {{0x41, 0, 5}}), {0x00, 0x01, 0x81, 0x04}, 5},
    {"Ms1Delay1270", Packer::MouseProtocol1, MakeMacro(1, {{0x41, 1, 1270}}), {0x00, 0x01, 0x7F, 0x04}, 5},
    {"Ms1Delay1500", Packer::MouseProtocol1, MakeMacro(1, {{0x41, 1, 1500}}),
     {0x00, 0x01, 0x00, 0x04, 0x0F, 0x03}, 7},
    {"Ms1ForwardButtonIsPureDelay", Packer::MouseProtocol1, MakeMacro(1, {{0xF3, 1, 30}, {0xF1, 0, 30}}),
     {0x00, 0x01, 0x03, 0x00, 0x83, 0xF1}, 7},
    {"Ms1KeyZeroWithDelayIsPureDelay", Packer::MouseProtocol1, MakeMacro(1, {{0, 0, 40}, {0x41, 1, 10}}),
     {0x00, 0x01, 0x84, 0x00, 0x01, 0x04}, 7},
    // Mouse protocol 2: 1 ms units up to 127 ms.
    {"Ms2Delay0", Packer::MouseProtocol2, MakeMacro(1, {{0x41, 1, 0}}), {0x00, 0x01, 0x01, 0x04}, 5},
    {"Ms2Delay127", Packer::MouseProtocol2, MakeMacro(1, {{0x41, 1, 127}}), {0x00, 0x01, 0x7F, 0x04}, 5},
    {"Ms2Delay128", Packer::MouseProtocol2, MakeMacro(1, {{0x41, 0, 128}}),
     {0x00, 0x01, 0x80 | 28, 0x04, 0x01, 0x03}, 7},
    // The largest delay the editor allows does not wrap the one-byte hundreds.
    {"Ms2LongestDelaySaturates", Packer::MouseProtocol2, MakeMacro(1, {{0x41, 1, 25627}}),
     {0x00, 0x01, 99, 0x04, 0xFF, 0x03}, 7},
    {"MsEmptyMacro", Packer::MouseProtocol2, MakeMacro(1, {}), {0x00, 0x01}, 3},
};

class MacroPacking : public testing::TestWithParam<PackCase> {};

TEST_P(MacroPacking, WritesTheSlotWhole) {
    const PackCase& c = GetParam();
    std::array<std::uint8_t, 130> out;
    out.fill(0xEE);
    EXPECT_EQ(Pack(c.packer, c.macro, out), c.result);
    Bytes expected = c.head;
    expected.resize(128, 0);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 128), expected);
    EXPECT_EQ(out[128], 0xEE) << "wrote beyond nMacroBufSize";
}

INSTANTIATE_TEST_SUITE_P(Golden, MacroPacking, testing::ValuesIn(kCases), test::RowName<PackCase>);

// A full macro is cut at the last whole event that fits and the slot still ends in
// two zero bytes.
struct CutCase {
    const char* name;
    Packer packer;
    std::uint32_t delay;
    std::size_t events_kept;
    std::size_t entry_bytes;
    std::size_t result;
};
void PrintTo(const CutCase& row, std::ostream* os) { *os << row.name; }

const CutCase kCuts[] = {
    {"KbShort", Packer::Keyboard, 10, 62, 2, 128},
    {"KbLong", Packer::Keyboard, 300, 20, 6, 124},
    {"Ms1Short", Packer::MouseProtocol1, 100, 62, 2, 127},
    {"Ms1Long", Packer::MouseProtocol1, 2000, 31, 4, 127},
};

class MacroCut : public testing::TestWithParam<CutCase> {};

TEST_P(MacroCut, StopsAtTheLastWholeEvent) {
    const CutCase& c = GetParam();
    MacroRecord m = MakeMacro(1, {});
    for (MacroEvent& ev : m.events) ev = {0x41, 1, c.delay};
    std::array<std::uint8_t, 128> out{};
    EXPECT_EQ(Pack(c.packer, m, out), c.result);
    const std::size_t end = 2 + c.events_kept * c.entry_bytes;
    EXPECT_EQ(out[end - c.entry_bytes + 1], 0x04) << "last kept event";
    EXPECT_TRUE(std::all_of(out.begin() + static_cast<std::ptrdiff_t>(end), out.end(),
                            [](std::uint8_t b) { return b == 0; }));
}

INSTANTIATE_TEST_SUITE_P(Full, MacroCut, testing::ValuesIn(kCuts), test::RowName<CutCase>);

TEST(MacroPacking, KeyboardCutStopsAtALongDelayEvenWhenShortEventsWouldFit) {
    MacroRecord m = MakeMacro(1, {});
    for (int i = 0; i < 60; ++i) m.events[i] = {0x41, 1, 10};  // 2 + 120 bytes
    m.events[60] = {0x42, 1, 500};                              // needs 6, 4 left
    m.events[61] = {0x43, 1, 10};                               // would fit, but the list stops
    std::array<std::uint8_t, 128> out{};
    EXPECT_EQ(keyboard::StMacro_To_HdMacro(m, out, kLimits), 124u);
    EXPECT_EQ(out[122], 0);
}

TEST(MacroPacking, RefusesWithoutWritingAnything) {
    const MacroRecord m = MakeMacro(1);
    std::array<std::uint8_t, 128> out;
    out.fill(0xEE);
    MacroLimits too_big = kLimits;
    too_big.nMacroBufSize = 129;  // more than the buffer holds
    MacroLimits too_small = kLimits;
    too_small.nMacroBufSize = 0;
    EXPECT_EQ(mouse::StMacro_To_HdMacro(m, out, kLimits, 0), 0u);
    EXPECT_EQ(mouse::StMacro_To_HdMacro(m, out, kLimits, 3), 0u);
    EXPECT_EQ(keyboard::StMacro_To_HdMacro(m, out, too_big), 0u);
    EXPECT_EQ(mouse::StMacro_To_HdMacro(m, out, too_small, 1), 0u);
    EXPECT_EQ(keyboard::StMacro_To_HdMacro(m, std::span<std::uint8_t>{}, kLimits), 0u);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](std::uint8_t b) { return b == 0xEE; }));
}

}  // namespace
}  // namespace quobel
