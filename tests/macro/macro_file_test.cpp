#include "macro/macro_file.h"

#include <gtest/gtest.h>

#include "base/utf16.h"
#include "common/fake_ids.h"
#include "common/temp_dir.h"

namespace quobel {
namespace {

using test::FakeIds;

MacroEvent Ev(std::uint16_t key, std::uint16_t dir, std::uint32_t delay) { return {key, dir, delay}; }

TEST(MacroFile, GoldenFileDecodesAndEncodesByteForByte) {
    const auto file = test::ReadBytes(QUOBEL_TEST_DATA_DIR "/macro/sample.mck");
    ASSERT_EQ(file.size(), kMacroRecordSize);
    const std::optional<MacroRecord> r = DecodeMacroFile(file);
    ASSERT_TRUE(r);
    EXPECT_EQ(+r->dwMagic, kMacroMagic);
    EXPECT_EQ(+r->MacroID, 0x123456u);
    EXPECT_EQ(FieldToUtf8(r->szName), "Combo A");
    EXPECT_EQ(+r->nLoopCount, 3);
    EXPECT_EQ(+r->events[1].wKey, 0x41);
    EXPECT_EQ(+r->events[1].dwDelay, 200u);
    EXPECT_EQ(+r->events[2].wKey, 240);

    // The changed bits live in memory only.
    MacroRecord dirty = *r;
    dirty.dwFlags |= kMacroFlagSettingsChanged | kMacroFlagEventsChanged;
    const MacroFileBytes encoded = EncodeMacroFile(dirty);
    EXPECT_TRUE(std::equal(encoded.begin(), encoded.end(), file.begin()));
}

TEST(MacroFile, ShortBytesAreNotARecordAndLongerOnesUseTheFirst834) {
    auto file = test::ReadBytes(QUOBEL_TEST_DATA_DIR "/macro/sample.mck");
    EXPECT_FALSE(DecodeMacroFile(std::span(file).first(833)));
    file.resize(2000, 0x55);
    ASSERT_TRUE(DecodeMacroFile(file));
    EXPECT_EQ(+(DecodeMacroFile(file)->MacroID), 0x123456u);
}

TEST(MacroFile, NameReadFromAFileEndsWithinItsArray) {
    MacroRecord r;
    r.dwMagic = kMacroMagic;
    for (char16_t& c : r.szName) c = u'x';
    const MacroFileBytes bytes = EncodeMacroFile(r);
    const auto back = DecodeMacroFile(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(FieldView(back->szName).size(), 39u);
}

TEST(MacroFile, MouseCodesMustBeAllowedByTheMask) {
    MacroRecord r;
    r.dwMagic = kMacroMagic;
    r.events[0] = Ev(0x41, 1, 0);
    r.events[1] = Ev(242, 1, 0);  // middle button
    EXPECT_EQ(CheckMacroRecord(r, 0x00), MacroCheck::kUnsupportedKey);
    EXPECT_EQ(CheckMacroRecord(r, 0x03), MacroCheck::kUnsupportedKey);
    EXPECT_EQ(CheckMacroRecord(r, 0x04), MacroCheck::kOk);
    // A mouse code after a pure delay is sent too, so it is checked; the list ends at
    // key 0 without delay.
    r.events[1] = Ev(0, 0, 50);
    r.events[2] = Ev(246, 1, 0);
    EXPECT_EQ(CheckMacroRecord(r, 0), MacroCheck::kUnsupportedKey);
    EXPECT_EQ(CheckMacroRecord(r, 0x40), MacroCheck::kOk);
    r.events[1] = Ev(0, 0, 0);
    EXPECT_EQ(CheckMacroRecord(r, 0), MacroCheck::kOk);
    // The encoders send the low byte: 0x1F2 is the middle button.
    r.events[1] = Ev(0x1F2, 1, 0);
    EXPECT_EQ(CheckMacroRecord(r, 0x40), MacroCheck::kUnsupportedKey);
    EXPECT_EQ(CheckMacroRecord(r, 0x44), MacroCheck::kOk);
    r.dwMagic = 0;
    EXPECT_EQ(CheckMacroRecord(r, 0x7F), MacroCheck::kBadMagic);
}

struct NameCase {
    const char* input;
    const char* expected;  // nullptr: refused
};

TEST(MacroName, CleanMacroName) {
    const NameCase cases[] = {
        {"Combo", "Combo"},        {"Combo.mck", "Combo"},     {"a.b.c", "a.b"},
        {"", nullptr},             {".mck", nullptr},          {"a/b", nullptr},
        {"a\\b", nullptr},         {"what?", nullptr},         {"x+y", nullptr},
        {"x=y", nullptr},          {"x-y", nullptr},           {"x*", nullptr},
        {"x&y", nullptr},          {"50%", nullptr},           {"hey!", nullptr},
        {"#1", nullptr},           {"..", nullptr},            {"...", nullptr},
        {"tab\there", nullptr},    {"Ä Ö ü", "Ä Ö ü"},
    };
    for (const NameCase& c : cases) {
        const auto got = CleanMacroName(c.input);
        if (c.expected == nullptr) {
            EXPECT_FALSE(got) << c.input;
        } else {
            ASSERT_TRUE(got) << c.input;
            EXPECT_EQ(*got, c.expected) << c.input;
        }
    }
}

TEST(MacroDeviceSize, CountsPressesReleasesAndLongDelays) {
    struct Case {
        const char* name;
        std::vector<MacroEvent> events;
        int expected;
    };
    const Case cases[] = {
        {"empty", {}, 4},
        {"press and release", {Ev(0x41, 1, 0), Ev(0x41, 0, 0)}, 8},
        {"127 ms is free", {Ev(0x41, 1, 127)}, 6},
        {"128 ms costs 4", {Ev(0x41, 1, 128)}, 10},
        {"stops at the end mark", {Ev(0x41, 1, 0), Ev(0, 0, 0), Ev(0x42, 1, 500)}, 6},
    };
    for (const Case& c : cases) EXPECT_EQ(MacroDeviceSize(c.events), c.expected) << c.name;

    MacroLimits limits;
    limits.nMacroBufSize = 128;
    EXPECT_FALSE(MacroDeviceFull(126, limits));
    EXPECT_TRUE(MacroDeviceFull(128, limits));
}

TEST(NewId, FollowsTheTimeFormulaAndTwoInARowDiffer) {
    EXPECT_EQ(IdFromTime({10, 20, 30, 0x1FF}), (((10u << 12) | (20u << 6) | 30u) << 8) | 0xFFu);
    // The hour keeps its low four bits only.
    EXPECT_EQ(IdFromTime({23, 0, 0, 0}), (7u << 12) << 8);

    FakeIds f;
    const std::uint32_t a = f.ids.NewId();
    const std::uint32_t b = f.ids.NewId();
    EXPECT_NE(a, b);
    EXPECT_EQ(b - a, 20u);  // same second, 20 ms later
}

TEST(NewId, NeverGivesZero) {
    RecordingSleeper sleeper;
    int calls = 0;
    IdGenerator ids(sleeper, [&calls] { return calls++ == 0 ? TimeOfDay{0, 0, 0, 0} : TimeOfDay{0, 0, 0, 20}; });
    EXPECT_EQ(ids.NewId(), 20u);
    EXPECT_EQ(sleeper.pauses.size(), 2u);
}

TEST(NewId, AnIdInUseIsDrawnAgain) {
    FakeIds f;
    FakeIds same;  // the same clock: its first id is the one f draws first
    const std::uint32_t taken = same.ids.NewId();
    const std::uint32_t also_taken = same.ids.NewId();
    const std::uint32_t id = f.ids.NewId([&](std::uint32_t v) { return v == taken || v == also_taken; });
    EXPECT_NE(id, taken);
    EXPECT_NE(id, also_taken);
    EXPECT_EQ(id, same.ids.NewId());
    const MacroRecord r = NewMacroRecord("m", same.ids, [&](std::uint32_t v) { return v == id + 20; });
    EXPECT_EQ(+r.MacroID, id + 40);
}

TEST(NewMacroRecord, StartsAsANewMacro) {
    FakeIds f;
    const MacroRecord r = NewMacroRecord("A name that is much longer than thirty-nine chars", f.ids);
    EXPECT_EQ(+r.dwMagic, kMacroMagic);
    EXPECT_NE(+r.MacroID, 0u);
    EXPECT_EQ(+r.bAutoDelay, 1u);
    EXPECT_EQ(+r.nLoopMode, 0u);
    EXPECT_EQ(+r.nLoopCount, 1);
    EXPECT_EQ(FieldView(r.szName).size(), 39u);
    EXPECT_EQ(+r.events[0].wKey, 0);
}

}  // namespace
}  // namespace quobel
