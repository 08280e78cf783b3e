#pragma once
// The capture step of the key-capture box: key presses and releases in, a modifier set
// and up to two keys out.

#include <cstdint>
#include <string>

#include "config/key_names.h"

namespace quobel {

// Modifier bits of a captured combination (as KeyInfo::byModifier stores them).
enum : std::uint8_t {
    kModLCtrl = 0x01, kModLShift = 0x02, kModLAlt = 0x04, kModLWin = 0x08,
    kModRCtrl = 0x10, kModRShift = 0x20, kModRAlt = 0x40, kModRWin = 0x80,
};

struct KeyCombo {
    std::uint8_t modifiers = 0;
    int key1 = 0;
    int key2 = 0;
    bool operator==(const KeyCombo&) const = default;
};

class KeyCapture {
public:
    KeyCapture(bool single_key, bool modifier_box) : single_key_(single_key), modifier_box_(modifier_box) {}

    // One key message; now_ms is a monotonic time in milliseconds. Returns whether the
    // combination changed.
    bool Step(int vk, bool release, std::int64_t now_ms);
    [[nodiscard]] const KeyCombo& Combo() const { return combo_; }
    // "Ctrl + Shift + A + B": the short combination text, keys named on the layout.
    [[nodiscard]] std::string Text(const TextTable& texts, const KeyLayoutSource* layout) const;

    // The step that every capture box compares with is shared, as key messages reach
    // whichever box is open; tests start from a clean state.
    static void ResetSharedState();

    static bool IsModifier(int vk);

private:
    bool single_key_;
    bool modifier_box_;
    KeyCombo combo_;
    bool pressed_before_ = false;
    std::int64_t last_press_ms_ = 0;
};

}  // namespace quobel
