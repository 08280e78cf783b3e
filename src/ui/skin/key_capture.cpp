#include "ui/skin/key_capture.h"

namespace quobel {

namespace {

struct LastStep {
    int vk = -1;
    bool release = false;
};

LastStep& Last() {
    static LastStep last;  // GUI thread only
    return last;
}

std::uint8_t ModifierBit(int vk) {
    switch (vk) {
    case 0x10: case 0xA0: return kModLShift;
    case 0xA1: return kModRShift;
    case 0x11: case 0xA2: return kModLCtrl;
    case 0xA3: return kModRCtrl;
    case 0x12: case 0xA4: return kModLAlt;
    case 0xA5: return kModRAlt;
    case 0x5B: return kModLWin;
    case 0x5C: return kModRWin;
    default: return 0;
    }
}

// Both sides of the modifier a bit belongs to.
std::uint8_t KindMask(std::uint8_t bit) {
    const std::uint8_t low = bit & 0x0F ? bit : static_cast<std::uint8_t>(bit >> 4);
    return static_cast<std::uint8_t>(low | (low << 4));
}

}  // namespace

bool KeyCapture::IsModifier(int vk) {
    return vk == 16 || vk == 17 || vk == 18 || vk == 91 || vk == 92 || (vk >= 160 && vk <= 165);
}

void KeyCapture::ResetSharedState() { Last() = {}; }

bool KeyCapture::Step(int vk, bool release, std::int64_t now_ms) {
    LastStep& last = Last();
    if (last.vk == vk && last.release == release) return false;  // auto-repeat, or a doubled message
    last = {vk, release};
    if (release) return false;

    bool restart = false;
    const std::uint8_t bit = ModifierBit(vk);
    if (IsModifier(vk)) {
        if (modifier_box_) return false;
        if (combo_.modifiers & KindMask(bit)) restart = true;
    } else if (combo_.key1 != 0 && combo_.key2 != 0) {
        restart = true;
    }
    if (pressed_before_ && now_ms - last_press_ms_ >= 1000) restart = true;
    if (single_key_) restart = true;
    pressed_before_ = true;
    last_press_ms_ = now_ms;
    if (restart) combo_ = {};

    if (bit != 0) {
        combo_.modifiers |= bit;
    } else if (combo_.key1 == 0 || combo_.key1 == vk) {
        combo_.key1 = vk;
    } else if (combo_.key2 == 0) {
        combo_.key2 = vk;
    }
    return true;
}

std::string KeyCapture::Text(const TextTable& texts, const KeyLayoutSource* layout) const {
    return ComboTextShort(combo_.modifiers, combo_.key1, combo_.key2, texts, layout);
}

}  // namespace quobel
