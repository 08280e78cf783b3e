#include "device/function_codes.h"

#include <array>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "device/macro_fixture.h"
#include "macro/macro_list.h"

namespace quobel {
namespace {

constexpr std::uint32_t kNo = kNoDeviceCode;

struct CodeCase {
    const char* name;
    KeyFunction key;
    std::uint32_t mouse;     // CDev5307 button code
    std::uint32_t keyboard;  // CDev642 matrix code
};
void PrintTo(const CodeCase& row, std::ostream* os) { *os << row.name; }

KeyFunction Fun(std::uint32_t type, std::uint32_t code) {
    KeyFunction k;
    k.FunID = MakeFunID(type, code);
    return k;
}

KeyFunction Combo(std::uint8_t mod, std::uint8_t vk, std::uint8_t vk2 = 0, std::int32_t matrix = 0) {
    KeyFunction k = Fun(kFunKeyCombo, mod != 0 ? kCodeKeyWithMod : kCodeKey);
    k.nMatrixInx = matrix;
    k.byModifier = mod;
    k.byVk = vk;
    k.byVk2 = vk2;
    return k;
}

KeyFunction WithParam(KeyFunction k, std::uint32_t p) {
    k.byCount = static_cast<std::uint8_t>(p);
    k.bySpeed = static_cast<std::uint8_t>(p >> 8);
    k.byFireVk = static_cast<std::uint8_t>(p >> 16);
    k.byExtra = static_cast<std::uint8_t>(p >> 24);
    return k;
}

KeyFunction Fire(std::uint8_t count, std::uint8_t speed, std::uint8_t vk) {
    KeyFunction k = Fun(kFunSpecial, kCodeFire);
    k.byCount = count;
    k.bySpeed = speed;
    k.byFireVk = vk;
    return k;
}

KeyFunction Gun(std::uint8_t count, std::uint8_t gun) {
    KeyFunction k = Fun(kFunSpecial, kCodeGun);
    k.byCount = count;
    k.byFireVk = gun;
    return k;
}

KeyFunction Macro(std::uint32_t id) {
    KeyFunction k = Fun(kFunMacro, 0);
    k.MacroID = id;
    return k;
}

const CodeCase kCases[] = {
    {"NoFunction", {}, kNo, kNo},
    {"UnknownType", Fun(6, 0x11), kNo, kNo},
    // Mouse buttons.
    {"LeftClick", Fun(1, 0x11), 0x0000F010, 0x070000F0},
    {"Middle", Fun(1, 0x12), 0x0000F210, 0x070000F2},
    {"Forward", Fun(1, 0x14), 0x0000F410, 0x070000F3},
    {"Back", Fun(1, 0x15), 0x0000F310, 0x070000F4},
    {"DoubleClickOnlyOnMouse", Fun(1, 0x16), 0x0232F020, kNo},
    {"ThreeClick", Fun(1, 0x17), 0x130, 0x130},
    {"ButtonUnknown", Fun(1, 0x18), kNo, kNo},
    // Keys and combinations.
    {"CtrlShiftAB", Combo(0x03, 0x41, 0x42), 0x05040360, 0x0304},
    {"KeyWithoutUsage", Combo(0, 0x07), 0x60, 0},
    {"FnKey", Combo(0, kVkFn), 0x60, 0x20000000},
    {"LoneLeftCtrl", Combo(0x01, 0), 0x0160, 0x060000E0},
    {"LoneLeftWin", Combo(0x08, 0), 0x0860, 0x060000E3},
    {"LoneRightWin", Combo(0x80, 0), 0x8060, 0x060000E7},
    {"TwoModifiersAlone", Combo(0x11, 0), 0x1160, 0},
    {"EnterMain", Combo(0, 0x0D, 0, 81), 0x00280060, 0x28},
    {"EnterKeypad", Combo(0, 0x0D, 0, 130), 0x00280060, 0x58},
    {"EnterElsewhere", Combo(0, 0x0D, 0, 5), 0x00280060, 0x28},
    {"RightShiftAsKeyKeepsSide", Combo(0, 0xA1), 0x00E50060, 0xE5},
    // Application and media keys: one table for both types.
    {"MediaSelect", Fun(3, 0x21), 0x00010070, 0x04000183},
    {"PlayPauseAsMedia", Fun(4, 0x22), 0x00000870, 0x040000CD},
    {"Favourites", Fun(4, 0x39), 0x40000070, 0x0400022A},
    {"ConsumerGap", Fun(3, 0x29), kNo, kNo},
    // Special functions.
    {"KeyOff", Fun(8, 0xA2), 0x150, 0},
    {"SpecialThreeClick", Fun(8, 0x17), 0x130, 0x130},
    {"FireLeftButton", Fire(3, 0x40, 0xF0), 0x0340F020, 0x0340F020},
    {"FireRightWin", Fire(1, 2, 0x5C), 0x0102E720, 0x0102E720},
    {"FireRightAlt", Fire(1, 2, 0xA5), 0x0102E620, 0x0102E620},
    {"FireSidelessShift", Fire(1, 2, 0x10), 0x0102E120, 0x0102E120},
    {"FireLetter", Fire(1, 2, 0x41), 0x01020420, 0x01020420},
    {"FireTiltRight", Fire(1, 2, 0xF6), 0x0102F620, 0x0102F620},
    {"FireKeyWithoutUsage", Fire(1, 2, 0x07), 0x01020020, 0x01020020},
    {"DpiLockLevel2", WithParam(Fun(8, kCodeDpiLock), 2), 0x8240, 0x8140},
    {"DpiLockKeepsLowNibble", WithParam(Fun(8, kCodeDpiLock), 4), 0x8540, 0x8140},
    {"DpiLockLevel0", WithParam(Fun(8, kCodeDpiLock), 0), kNo, 0x8140},
    {"DpiLockBeyondTable", WithParam(Fun(8, kCodeDpiLock), 5), kNo, 0x8140},
    {"Lighting", Fun(8, 0xA7), 0x250, 0x250},
    {"ModeSwitch", Fun(8, 0xAB), 0x650, 0x650},
    {"ReportRateSwitch", Fun(8, 0xAC), 0x450, kNo},
    {"ParameterIsCode", WithParam(Fun(8, 0xAD), 0x12345678), 0x12345678, kNo},
    {"SpeedUp", Fun(8, 0xB2), kNo, 0x0D000100},
    {"BrightnessDown", Fun(8, 0xB6), kNo, 0x0C000200},
    {"GunScope0", Gun(0x00, 0x00), 0x000001B0, kNo},
    {"GunScope1", Gun(0x12, 0x03), 0x004303B0, kNo},
    {"GunScope2", Gun(0x2F, 0x06), 0x008610B0, kNo},
    {"GunScope3Refused", Gun(0x30, 0x01), kNo, kNo},
    {"Chiji", Fun(8, 0xC2), 0x858, kNo},
    {"SpecialUnknown", Fun(8, 0xA3), kNo, kNo},
    // Raw device codes.
    {"KeyboardRaw", WithParam(Fun(9, 0), 0xAABBCCDD), kNo, 0xAABBCCDD},
    {"MouseExtraKey", WithParam(Fun(11, 1), 0x00001234), 0x00001234, kNo},
    // Macros by loop mode, slot not yet merged.
    {"MacroCount", Macro(0x101), 0x190, 0x10000100},
    {"MacroLoopMode1", Macro(0x102), 0x290, 0x10000500},
    {"MacroLoopMode2", Macro(0x103), 0x490, 0x10000400},
    {"MacroOtherMode", Macro(0x104), 0x090, 0x10000000},
    {"MacroMissing", Macro(0x999), kNo, kNo},
};

class FunctionCode : public testing::TestWithParam<CodeCase> {
protected:
    FunctionCode() {
        macros_.Add(test::MakeMacro(0x101, {}, 0));
        macros_.Add(test::MakeMacro(0x102, {}, 1));
        macros_.Add(test::MakeMacro(0x103, {}, 2));
        macros_.Add(test::MakeMacro(0x104, {}, 7));
    }
    MacroList macros_;
    // DPI-lock codes of the current sensor; only the low nibble reaches the device.
    std::array<std::uint8_t, 4> by_lk_{1, 2, 3, 0x15};
};

TEST_P(FunctionCode, MouseEncoder) {
    EXPECT_EQ(mouse::keyinfo_to_hardware_code(GetParam().key, macros_, by_lk_), GetParam().mouse);
}

TEST_P(FunctionCode, KeyboardEncoder) {
    EXPECT_EQ(keyboard::keyinfo_to_hardware_code(GetParam().key, macros_), GetParam().keyboard);
}

INSTANTIATE_TEST_SUITE_P(Table, FunctionCode, testing::ValuesIn(kCases), test::RowName<CodeCase>);

TEST(FunctionCode, KeyInfoOverloadEncodesTheMainFunctionNotTheFnLayer) {
    KeyInfo key;
    SetFunction(key, Combo(0, 0x0D, 0, 130));
    key.FnFun = Fun(8, 0xB2);
    const MacroList none;
    EXPECT_EQ(keyboard::keyinfo_to_hardware_code(key, none), 0x58u);
    EXPECT_EQ(keyboard::keyinfo_to_hardware_code(key.FnFun, none), 0x0D000100u);
}

TEST(FunctionCode, DpiLockUsesTheStepsOfTheCurrentSensorOnly) {
    Config config;
    const KeyFunction lock3 = WithParam(Fun(8, kCodeDpiLock), 3);
    const MacroList none;
    EXPECT_EQ(mouse::keyinfo_to_hardware_code(lock3, none, mouse::DpiLockCodes(config)), kNo) << "no sensor";

    config.SensorDpiList[2].nSensor = 0x3360;
    config.SensorDpiList[2].nNum = 3;
    config.SensorDpiList[2].byLk = {7, 8, 9, 10};
    config.gVar.MsDev.Sensors[1].nSensor = 0x3360;
    config.nSensorCfgInx = 1;
    EXPECT_EQ(mouse::keyinfo_to_hardware_code(lock3, none, mouse::DpiLockCodes(config)), 0x8940u);
    const KeyFunction lock4 = WithParam(Fun(8, kCodeDpiLock), 4);
    EXPECT_EQ(mouse::keyinfo_to_hardware_code(lock4, none, mouse::DpiLockCodes(config)), kNo) << "no step 4";
}

}  // namespace
}  // namespace quobel
