#pragma once
// Qt key events to Windows virtual-key codes, the codes profiles and macro files store.
//
// Left and right modifiers are told apart by the native key: the X keysym when there
// is one, else the scan code (X/evdev on Linux, the extended-key bit on Windows).
// Digits and punctuation are taken by the key's position (the native scan code) as on a
// US keyboard, so every layout's keys get a code and the device gets the key the user
// pressed; letters by what they type, and by position when that is no Latin letter.

#include <string>

class QKeyEvent;

namespace quobel {

enum class ModifierSides {
    // As a Windows key message reports them: 16, 17, 18 for Shift, Ctrl and Alt, except
    // that right Shift, Ctrl and Alt become 161, 163 and 165 (what the key-capture box
    // and the macro recorder want).
    KeyMessage,
    // Always the sided codes 160..165.
    Sided,
};

// The virtual-key code of a key event, 0 when the key has none.
int KeyEventToVk(const QKeyEvent& event, ModifierSides sides = ModifierSides::KeyMessage);

// The virtual-key code of a Qt key with its native keysym and scan code; what
// KeyEventToVk computes, for callers (and tests) without an event.
int QtKeyToVk(int qt_key, unsigned native_virtual_key, unsigned native_scan_code, ModifierSides sides);

// Character keys by position: the evdev key code of the key a virtual-key code stands
// for on a US keyboard, 0 for codes of keys that type no character; and back.
int CharacterKeyPosition(int vk);
int CharacterKeyVk(int evdev_code);

// Short US-keyboard label of a virtual-key code ("A", "F5", "Caps Lock", "Num 1") for
// pictures of key caps; "" when unknown. What the program shows is KeyName's.
std::string UsKeyName(int vk);

}  // namespace quobel
