#include "config/key_names.h"

#include <array>
#include <string_view>

#include "config/config.h"
#include "config/guns.h"
#include "config/mouse_desc.h"
#include "config/text_table.h"

namespace quobel {
namespace {

using Names = std::array<std::string_view, 256>;

constexpr Names MakeFixedNames() {
    Names n{};
    n[0x08] = "Backspace";
    n[0x09] = "Tab";
    n[0x0C] = "Clr";
    n[0x0D] = "Enter";
    n[0x10] = "Shift";
    n[0x11] = "Ctrl";
    n[0x12] = "Alt";
    n[0x13] = "Pause";
    n[0x14] = "CapsLock";
    n[0x1B] = "Esc";
    n[0x20] = "Space";
    n[0x21] = "PageUp";
    n[0x22] = "PageDown";
    n[0x23] = "End";
    n[0x24] = "Home";
    n[0x25] = "Left";
    n[0x26] = "Up";
    n[0x27] = "Right";
    n[0x28] = "Down";
    n[0x29] = "Select";
    n[0x2A] = "Print";
    n[0x2B] = "Enter";  // the Execute key
    n[0x2C] = "PrintScreen";
    n[0x2D] = "Insert";
    n[0x2E] = "Delete";
    n[0x2F] = "Help";
    constexpr std::string_view kDigits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    constexpr std::string_view kLetters[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                             "J", "K", "L", "M", "N", "O", "P", "Q", "R",
                                             "S", "T", "U", "V", "W", "X", "Y", "Z"};
    constexpr std::string_view kPad[] = {"Num 0", "Num 1", "Num 2", "Num 3", "Num 4",
                                         "Num 5", "Num 6", "Num 7", "Num 8", "Num 9"};
    constexpr std::string_view kF[] = {"F1", "F2", "F3", "F4",  "F5",  "F6",
                                       "F7", "F8", "F9", "F10", "F11", "F12"};
    for (int i = 0; i < 10; ++i) n[0x30 + i] = kDigits[i];
    for (int i = 0; i < 26; ++i) n[0x41 + i] = kLetters[i];
    n[0x5B] = "L_Win";
    n[0x5C] = "R_Win";
    n[0x5D] = "App";
    for (int i = 0; i < 10; ++i) n[0x60 + i] = kPad[i];
    n[0x6A] = "Num *";
    n[0x6B] = "Num +";
    n[0x6C] = "\\";  // the separator key
    n[0x6D] = "Num -";
    n[0x6E] = "Num .";
    n[0x6F] = "Num /";
    for (int i = 0; i < 12; ++i) n[0x70 + i] = kF[i];
    n[0x90] = "NumLock";
    n[0x91] = "Scroll Lock";
    n[0xA0] = "L_Shift";
    n[0xA1] = "R_Shift";
    n[0xA2] = "L_Ctrl";
    n[0xA3] = "R_Ctrl";
    n[0xA4] = "L_Alt";
    n[0xA5] = "R_Alt";
    n[0xC1] = ":";  // Brazilian keyboards' extra keys
    n[0xC2] = ".";
    n[0xE2] = "<";
    n[0xFA] = "Fn";
    return n;
}

// What the remaining keys of a US keyboard type without modifiers.
constexpr Names MakeUsLayoutNames() {
    Names n{};
    n[0xBA] = ";";
    n[0xBB] = "=";
    n[0xBC] = ",";
    n[0xBD] = "-";
    n[0xBE] = ".";
    n[0xBF] = "/";
    n[0xC0] = "`";
    n[0xDB] = "[";
    n[0xDC] = "\\";
    n[0xDD] = "]";
    n[0xDE] = "'";
    return n;
}

constexpr Names kFixedNames = MakeFixedNames();
constexpr Names kUsLayoutNames = MakeUsLayoutNames();

// Appends a piece with the " + " separator; empty pieces add nothing.
void Join(std::string& out, std::string_view piece) {
    if (piece.empty()) return;
    if (!out.empty()) out += " + ";
    out += piece;
}

std::string Dash(const std::string& a, std::string_view b) {
    std::string s = a;
    s += " - ";
    s += b;
    return s;
}

std::string GunCaption(const KeyInfo& key, const TextTable& texts) {
    const std::uint8_t p0 = key.byCount;
    const std::uint8_t p1 = key.bySpeed;
    if (p0 != 0 && p1 != 0) return texts.Get("tc_chiji2");
    const unsigned gun = p0 % 16u;
    const unsigned scope = p0 / 16u;
    std::string s = texts.Get("tc_chiji14");
    s += ' ';
    if (gun < kGunNames.size()) s += kGunNames[gun];
    s += " + ";
    if (scope == 0) {
        s += texts.Get("tc_chiji6");
    } else if (scope == 1) {
        s += "4X";
    } else if (scope == 2) {
        s += texts.Get("tc_chiji15");
    }
    return s;
}

// Captions that depend on the code alone.
const char* CodeTextId(std::uint32_t code) {
    switch (code) {
        case 0x11: return "tc_click";
        case 0x12: return "tc_middle";
        case 0x13: return "tc_menu";
        case 0x14: return "tc_forward";
        case 0x15: return "tc_back";
        case 0x16: return "tc_dclick";
        case 0x17: return "tc_three";
        case 0x21: return "tc_kbmedia_msel";
        case 0x22: return "tc_PL";
        case 0x23: return "tc_stop";
        case 0x24: return "tc_pre_media";
        case 0x25: return "tc_next_media";
        case 0x26: return "tc_vol_up";
        case 0x27: return "tc_vol_dw";
        case 0x28: return "tc_mute";
        case 0x30: return "tc_kbmedia_mail";
        case 0x31: return "tc_kbmedia_cal";
        case 0x32: return "tc_kbmedia_explore";
        case 0x33: return "tc_kbmedia_search";
        case 0x34: return "tc_kbmedia_main";
        case 0x35: return "tc_back";
        case 0x36: return "tc_forward";
        case 0x37: return "tc_kbmedia_stop";
        case 0x38: return "tc_kbmedia_refresh";
        case 0x39: return "tc_kbmedia_favor";
        case 0xA2: return "tc_key_off";
        case 0xA7: return "tc_rgb";
        case 0xA8: return "tc_dpiadd";
        case 0xA9: return "tc_dpisub";
        case 0xAA: return "tc_dpiloop";
        case 0xAB: return "tc_mdsw";
        case 0xAC: return "tc_reportsw";
        case 0xAE: return "tc_rgbsw";
        case 0xB0: return "tc_msg16";
        case 0xB1: return "tc_msg17";
        case 0xB4: return "tc_msg20";
        case 0xB7: return "tc_msg20";
        case 0xC2: return "tc_chiji3";
        default: return nullptr;
    }
}


}  // namespace

std::optional<int> CurrentSensorDpi::DpiOfStep(std::int64_t step) const {
    const SensorDpi* sensor = FindSensorDpi(config_.SensorDpiList, config_.gVar.MsDev.nCurSensor);
    if (sensor == nullptr || step < 0 || step >= sensor->nNum || step >= kMaxDpiSteps) return std::nullopt;
    return sensor->nDpi[static_cast<std::size_t>(step)];
}

std::string KeyName(int vk, const TextTable& texts, const KeyLayoutSource* layout) {
    if (vk < 0 || vk > 0xFF) return {};
    switch (vk) {
        case 0xF0: return texts.Get("tc_click");
        case 0xF1: return texts.Get("tc_menu");
        case 0xF2: return texts.Get("tc_middle");
        default: break;
    }
    const std::string_view fixed = kFixedNames[static_cast<std::size_t>(vk)];
    if (!fixed.empty()) return std::string(fixed);
    if (layout != nullptr) {
        std::string typed = layout->TypedName(vk);
        if (!typed.empty()) return typed;
    }
    return std::string(kUsLayoutNames[static_cast<std::size_t>(vk)]);
}

std::string FireKeyName(std::uint8_t vk, const TextTable& texts, const KeyLayoutSource* layout) {
    switch (vk) {
        case 0xF0: return texts.Get("tc_click");
        case 0xF1: return texts.Get("tc_menu");
        case 0xF2: return texts.Get("tc_middle");
        case 0xF3: return texts.Get("tc_forward");
        case 0xF4: return texts.Get("tc_back");
        case 0xF5: return texts.Get("tc_titlt1");
        case 0xF6: return texts.Get("tc_titlt2");
        default: return KeyName(vk, texts, layout);
    }
}

std::string ComboTextShort(std::uint8_t modifier, int vk1, int vk2, const TextTable& texts,
                           const KeyLayoutSource* layout) {
    std::string s;
    if (modifier & 0x11) Join(s, "Ctrl");
    if (modifier & 0x44) Join(s, "Alt");
    if (modifier & 0x22) Join(s, "Shift");
    if (modifier & 0x88) Join(s, "Win");
    if (vk1 != 0) Join(s, KeyName(vk1, texts, layout));
    if (vk2 != 0) Join(s, KeyName(vk2, texts, layout));
    return s;
}

std::string ComboTextLong(std::uint8_t modifier, int vk1, int vk2, const TextTable& texts,
                          const KeyLayoutSource* layout) {
    struct Bit {
        std::uint8_t mask;
        std::string_view name;
    };
    constexpr Bit kBits[] = {{0x01, "L-Ctrl"}, {0x04, "L-Alt"}, {0x02, "L-Shift"}, {0x08, "L-Win"},
                             {0x10, "R-Ctrl"}, {0x40, "R-Alt"}, {0x20, "R-Shift"}, {0x80, "R-Win"}};
    std::string s;
    for (const Bit& b : kBits) {
        if (modifier & b.mask) Join(s, b.name);
    }
    if (vk1 != 0) Join(s, KeyName(vk1, texts, layout));
    if (vk2 != 0) Join(s, KeyName(vk2, texts, layout));
    return s;
}

std::string FunctionCaption(const KeyInfo& key, const TextTable& texts, const MacroNameSource* macros,
                            const SensorDpiSource* sensor, const KeyLayoutSource* layout) {
    const std::uint32_t type = FunType(key.FunID);
    const std::uint32_t code = FunCode(key.FunID);
    if (type == kFunMacro) {
        const auto name = macros != nullptr ? macros->MacroName(key.MacroID) : std::nullopt;
        return name ? Dash(texts.Get("tc_mac_def"), *name) : std::string();
    }
    if (type == kFunKeyCombo) {
        if (key.byModifier == 0 && key.byVk == kVkFn) return "Fn";
        return ComboTextShort(key.byModifier, key.byVk, key.byVk2, texts, layout);
    }
    if (code == 0xA4) return Dash(texts.Get("tc_fire"), FireKeyName(key.byFireVk, texts, layout));
    if (type == kFunMsExtra) {
        constexpr const char* kExtra[] = {"tc_ex1", "tc_ex2", "tc_ex3"};
        return code < std::size(kExtra) ? texts.Get(kExtra[code]) : std::string();
    }
    switch (code) {
        case 0xA3: return "Shift";
        case 0xA6: {
            const std::int64_t step = std::int64_t{KeyParam(key)} - 1;
            const auto dpi = sensor != nullptr ? sensor->DpiOfStep(step) : std::nullopt;
            return Dash(texts.Get("tc_snipe"), std::to_string(dpi.value_or(0)));
        }
        case 0xB2: return texts.Get("tc_speed") + " +";
        case 0xB3: return texts.Get("tc_speed") + " -";
        case 0xB5: return texts.Get("tc_brightness") + " +";
        case 0xB6: return texts.Get("tc_brightness") + " -";
        case 0xC0: return GunCaption(key, texts);
        default: break;
    }
    const char* id = CodeTextId(code);
    return id != nullptr ? texts.Get(id) : std::string();
}

}  // namespace quobel
