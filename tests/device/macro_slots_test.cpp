#include "device/macro_slots.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/log.h"
#include "common/temp_dir.h"
#include "device/function_codes.h"
#include "device/macro_fixture.h"
#include "device/macro_packing.h"

namespace quobel {
namespace {

using test::MakeMacro;

constexpr MacroLimits kLimits{.nMinDelay = 1, .nMacroBufSize = 128, .nMaxLoop = 65535, .nMaxEvent = 60,
                              .nMaxDelay = 65280, .nMacroNum = 64};

KeyFunction MacroKey(std::uint32_t id) {
    KeyFunction k;
    k.FunID = MakeFunID(kFunMacro, 0);
    k.MacroID = id;
    return k;
}

// A macro list with macros 1..n, macro i pressing key 'A' + i - 1 so that its slot
// shows which macro it holds.
MacroList Macros(int n) {
    MacroList list;
    for (int i = 1; i <= n; ++i) {
        list.Add(MakeMacro(static_cast<std::uint32_t>(i), {{static_cast<std::uint16_t>(0x40 + i), 1, 10}}));
    }
    return list;
}

// The usage of the first event in slot k (0-based) of a macro memory.
std::uint8_t SlotKey(std::span<const std::uint8_t> memory, std::size_t k) { return memory[k * 128 + 3]; }

struct Assigned {
    MacroSlotResult result;
    std::uint32_t code;
};

// Runs the keys through one assigner as a matrix builder does.
std::vector<Assigned> AssignAll(MacroSlotAssigner& slots, const std::vector<std::uint32_t>& key_macros,
                                std::uint32_t start_code) {
    std::vector<Assigned> out;
    int index = 0;
    for (std::uint32_t id : key_macros) {
        std::uint32_t code = start_code;
        const MacroSlotResult r = slots.Assign(MacroKey(id), 0, index++, code);
        out.push_back({r, code});
    }
    return out;
}

TEST(MacroSlots, SharedMacroIsPackedOnceAndSlotsFollowKeyOrder) {
    MacroList macros = Macros(3);
    macros.Find(2)->Macro_Buffer_ID = 1;  // left in a record by a file: must not count
    std::array<std::uint8_t, 4096> memory{};
    std::vector<Assigned> got;
    {
        MacroSlotAssigner slots(MacroDevice::Keyboard, macros, kLimits, memory);
        got = AssignAll(slots, {3, 1, 3, 2}, 0x10000100);
        EXPECT_EQ(slots.KeysWithSlot(), 4);
        EXPECT_EQ(slots.MacrosPacked(), 3);
        EXPECT_EQ(macros.Find(3)->Macro_Buffer_ID, 1u);
    }
    // Keyboard: slot number - 1 in the low byte.
    EXPECT_EQ(got[0].code, 0x10000100u);
    EXPECT_EQ(got[1].code, 0x10000101u);
    EXPECT_EQ(got[2].code, 0x10000100u);
    EXPECT_EQ(got[3].code, 0x10000102u);
    EXPECT_EQ(SlotKey(memory, 0), 0x06);  // macro 3 presses 'C'
    EXPECT_EQ(SlotKey(memory, 1), 0x04);
    EXPECT_EQ(SlotKey(memory, 2), 0x05);
    EXPECT_EQ(memory[3 * 128], 0) << "slot 3 unused";
    for (const MacroRecord& m : macros) EXPECT_EQ(m.Macro_Buffer_ID, 0u) << "reset after the matrix";
}

TEST(MacroSlots, MouseMergesTheSlotIntoBits12To15AndPacksWithItsProtocol) {
    MacroList macros = Macros(2);
    std::array<std::uint8_t, 1024> memory{};
    MacroSlotAssigner slots(MacroDevice::Mouse, macros, kLimits, memory, 1);
    const std::vector<Assigned> got = AssignAll(slots, {1, 2}, 0x290);
    EXPECT_EQ(got[0].code, 0x1290u);
    EXPECT_EQ(got[1].code, 0x2290u);
    // Protocol 1: 10 ms is one 10 ms unit.
    EXPECT_EQ(memory[128 + 2], 0x01);
    EXPECT_EQ(memory[128 + 3], 0x05);
}

TEST(MacroSlots, KeyboardStopsAtTheFirstMacroWithoutASlot) {
    MacroList macros = Macros(3);
    MacroLimits limits = kLimits;
    limits.nMacroNum = 2;
    std::array<std::uint8_t, 4096> memory{};
    MacroSlotAssigner slots(MacroDevice::Keyboard, macros, limits, memory);
    const std::vector<Assigned> got = AssignAll(slots, {1, 2, 3, 1}, 0x10000100);
    EXPECT_EQ(got[1].result, MacroSlotResult::kAssigned);
    // Without a slot the code would run macro 1: the key is sent with no function.
    EXPECT_EQ(got[2].result, MacroSlotResult::kNoSlot);
    EXPECT_EQ(got[2].code, 0u);
    EXPECT_EQ(got[3].result, MacroSlotResult::kNoSlot) << "later keys get no slot, even a shared macro";
    EXPECT_EQ(got[3].code, 0u);
    EXPECT_EQ(slots.KeysWithSlot(), 2);
}

TEST(MacroSlots, MouseLeavesOnlyThatKeyWithoutASlot) {
    MacroList macros = Macros(3);
    MacroLimits limits = kLimits;
    limits.nMacroNum = 2;
    std::array<std::uint8_t, 1024> memory{};
    MacroSlotAssigner slots(MacroDevice::Mouse, macros, limits, memory, 2);
    // Button codes carrying their index in the low nibble (bKeyCodeHasIndex) keep it.
    const std::vector<Assigned> got = AssignAll(slots, {1, 2, 3, 1}, 0x194);
    EXPECT_EQ(got[2].result, MacroSlotResult::kNoSlot);
    EXPECT_EQ(got[2].code, 0x154u);
    EXPECT_EQ(got[3].result, MacroSlotResult::kAssigned);
    EXPECT_EQ(got[3].code, 0x1194u);
}

TEST(MacroSlots, MissingMacroSkipsTheKeyAndLeavesItsCode) {
    MacroList macros = Macros(1);
    std::array<std::uint8_t, 1024> memory{};
    MacroSlotAssigner slots(MacroDevice::Mouse, macros, kLimits, memory, 1);
    const std::vector<Assigned> got = AssignAll(slots, {7, 1}, kMsCodeDisabled);
    EXPECT_EQ(got[0].result, MacroSlotResult::kNoMacro);
    EXPECT_EQ(got[0].code, kMsCodeDisabled);
    EXPECT_EQ(got[1].code, 0x1150u) << "the next macro still gets slot 1";
}

TEST(MacroSlots, UnknownMouseProtocolGivesNoSlot) {
    MacroList macros = Macros(1);
    std::array<std::uint8_t, 1024> memory{};
    MacroSlotAssigner slots(MacroDevice::Mouse, macros, kLimits, memory, 0);
    const std::vector<Assigned> got = AssignAll(slots, {1}, 0x190);
    EXPECT_EQ(got[0].result, MacroSlotResult::kNoSlot);
    EXPECT_EQ(got[0].code, kMsCodeDisabled);
    EXPECT_TRUE(std::all_of(memory.begin(), memory.end(), [](std::uint8_t b) { return b == 0; }));
}

// How many distinct macros get a slot: keyboard 32, mouse 8, never more than nMacroNum
// nor than the memory given holds.
struct LimitCase {
    const char* name;
    MacroDevice device;
    int macro_num;
    std::size_t memory_bytes;
    int slots;
};
void PrintTo(const LimitCase& row, std::ostream* os) { *os << row.name; }

const LimitCase kLimitCases[] = {
    {"Keyboard32", MacroDevice::Keyboard, 64, 4096, 32},
    {"Mouse8", MacroDevice::Mouse, 64, 1024, 8},
    {"MouseMacroNum4", MacroDevice::Mouse, 4, 1024, 4},
    {"KeyboardMacroNum0", MacroDevice::Keyboard, 0, 4096, 0},
    {"KeyboardSmallMemory", MacroDevice::Keyboard, 64, 1024, 8},
};

class MacroSlotLimit : public testing::TestWithParam<LimitCase> {};

TEST_P(MacroSlotLimit, PacksUpToTheLimit) {
    const LimitCase& c = GetParam();
    MacroList macros = Macros(40);
    MacroLimits limits = kLimits;
    limits.nMacroNum = c.macro_num;
    std::vector<std::uint8_t> memory(c.memory_bytes + 128, 0xEE);  // guard slot after the memory
    std::vector<std::uint32_t> keys;
    for (std::uint32_t id = 1; id <= 40; ++id) keys.push_back(id);
    MacroSlotAssigner slots(c.device, macros, limits, std::span(memory).first(c.memory_bytes), 2);
    const std::vector<Assigned> got = AssignAll(slots, keys, 0x190);
    EXPECT_EQ(slots.Slots(), c.slots);
    EXPECT_EQ(slots.MacrosPacked(), c.slots);
    EXPECT_EQ(slots.KeysWithSlot(), c.slots);
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(got[i].result, i < c.slots ? MacroSlotResult::kAssigned : MacroSlotResult::kNoSlot) << i;
    }
    EXPECT_EQ(memory[c.memory_bytes], 0xEE) << "wrote beyond the macro memory";
}

INSTANTIATE_TEST_SUITE_P(Limits, MacroSlotLimit, testing::ValuesIn(kLimitCases), test::RowName<LimitCase>);

// The log is for support: its lines are checked as written, timestamps cut off.
std::vector<std::string> LogEntries(const std::string& file) {
    std::vector<std::string> entries;
    const std::string text = test::ReadText(file).value_or("");
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;) {
        const std::size_t next = text.find("\r\n", at + 2);
        const std::string entry = text.substr(at + 2, next == std::string::npos ? next : next - at - 2);
        entries.push_back(entry.substr(12));  // after "mm:ss.mmm   "
        at = next;
    }
    return entries;
}

TEST(MacroSlots, LogsEveryStepForSupport) {
    test::TempDir desktop;
    LogStart(2, desktop.path());
    MacroList macros;
    macros.Add(MakeMacro(1, {{0x41, 1, 10}, {0xF4, 1, 10}}, 0, 1, "Jump"));
    macros.Add(MakeMacro(2));
    MacroLimits limits = kLimits;
    limits.nMacroNum = 1;
    std::array<std::uint8_t, 1024> ms_memory{};
    std::array<std::uint8_t, 4096> kb_memory{};
    {
        MacroSlotAssigner ms(MacroDevice::Mouse, macros, limits, ms_memory, 2);
        AssignAll(ms, {9, 1, 1, 2}, 0x190);
    }
    {
        MacroSlotAssigner kb(MacroDevice::Keyboard, macros, limits, kb_memory);
        AssignAll(kb, {1}, 0x10000100);
    }
    EXPECT_EQ(keyboard::keyinfo_to_hardware_code(MacroKey(9), macros), kNoDeviceCode);
    LogStart(0, desktop.path());

    std::string hd_data = "HdData:  00 01 0a 04 0a 00 ";  // 'A', then the back button as a pure delay
    for (int i = 6; i < 128; ++i) hd_data += "00 ";
    const std::vector<std::string> expected{
        "Key[0][0] Set To Macro NULL",
        "Key[0][1] Set To Macro 0x00000001, Macro_Buffer_ID=0",
        "Macro Name= Jump",
        "StMacro_To_HdMacro: get wrong hid",
        "New Assign Buffer_ID= 1",
        hd_data,
        "Matrix[0][1] = 0x00001190",
        "Key[0][2] Set To Macro 0x00000001, Macro_Buffer_ID=1",
        "Macro Name= Jump",
        "Matrix[0][2] = 0x00001190",
        "Key[0][3] Set To Macro 0x00000002, Macro_Buffer_ID=0",
        "Macro Name= m",
        "Key[0][3] gets no macro slot",
        "Key[0][0] Set To Macro Jump(0x00000001), Macro_Buffer_ID=0",
        "StMacro_To_HdMacro: get wrong hid",
        "New Assign Buffer_ID= 1",
        "Matrix[0][0] = 0x10000100",
        "keyinfo_to_hardware_code can't find macro id 0x9",
    };
    EXPECT_EQ(LogEntries(desktop / "Log.txt"), expected);
}

}  // namespace
}  // namespace quobel
