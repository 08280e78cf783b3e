#include "ui/keymap.h"

#include <QKeyEvent>

#include <array>
#include <string>

namespace quobel {

namespace {

enum Side { kLeft, kRight, kUnknown };

// X keysyms of the sided modifiers.
constexpr unsigned kXkShiftL = 0xFFE1, kXkShiftR = 0xFFE2, kXkControlL = 0xFFE3, kXkControlR = 0xFFE4;
constexpr unsigned kXkAltL = 0xFFE9, kXkAltR = 0xFFEA, kXkSuperL = 0xFFEB, kXkSuperR = 0xFFEC;
constexpr unsigned kXkMetaL = 0xFFE7, kXkMetaR = 0xFFE8, kXkIsoLevel3Shift = 0xFE03;

Side SideOf(unsigned keysym, unsigned scan) {
    switch (keysym) {
    case kXkShiftL: case kXkControlL: case kXkAltL: case kXkSuperL: case kXkMetaL: return kLeft;
    case kXkShiftR: case kXkControlR: case kXkAltR: case kXkSuperR: case kXkMetaR: case kXkIsoLevel3Shift:
        return kRight;
    default: break;
    }
    switch (scan) {
    // X/evdev codes (evdev + 8).
    case 50: case 37: case 64: case 133: return kLeft;
    case 62: case 105: case 108: case 134: return kRight;
    // Windows set-1 scan codes; right Ctrl, Alt and Win carry the extended bit.
    case 0x2A: case 0x1D: case 0x38: case 0x15B: return kLeft;
    case 0x36: case 0x11D: case 0x138: case 0x15C: return kRight;
    default: return kUnknown;
    }
}

// Character keys: evdev key code and the virtual-key code of the US key at that place.
struct Position {
    int evdev;
    int vk;
};
constexpr std::array<Position, 48> kPositions{{
    {2, '1'},  {3, '2'},  {4, '3'},  {5, '4'},  {6, '5'},  {7, '6'},  {8, '7'},  {9, '8'},
    {10, '9'}, {11, '0'}, {12, 0xBD}, {13, 0xBB}, {16, 'Q'}, {17, 'W'}, {18, 'E'}, {19, 'R'},
    {20, 'T'}, {21, 'Y'}, {22, 'U'}, {23, 'I'}, {24, 'O'}, {25, 'P'}, {26, 0xDB}, {27, 0xDD},
    {30, 'A'}, {31, 'S'}, {32, 'D'}, {33, 'F'}, {34, 'G'}, {35, 'H'}, {36, 'J'}, {37, 'K'},
    {38, 'L'}, {39, 0xBA}, {40, 0xDE}, {41, 0xC0}, {43, 0xDC}, {44, 'Z'}, {45, 'X'}, {46, 'C'},
    {47, 'V'}, {48, 'B'}, {49, 'N'}, {50, 'M'}, {51, 0xBC}, {52, 0xBE}, {53, 0xBF},
    {86, 0xE2},  // the extra key beside left Shift
}};

// The evdev code of a native scan code: X and Wayland add 8; Windows' set-1 codes of
// the main block are the evdev codes.
int EvdevOfScan(unsigned scan) {
#ifdef Q_OS_WIN
    return static_cast<int>(scan & 0x1FF);
#else
    return scan > 8 ? static_cast<int>(scan - 8) : 0;
#endif
}

int Modifier(int generic, int left, int right, Side side, ModifierSides sides) {
    if (side == kRight) return right;
    return sides == ModifierSides::Sided ? left : generic;
}

}  // namespace

int CharacterKeyPosition(int vk) {
    for (const Position& p : kPositions) {
        if (p.vk == vk) return p.evdev;
    }
    return 0;
}

int CharacterKeyVk(int evdev_code) {
    for (const Position& p : kPositions) {
        if (p.evdev == evdev_code) return p.vk;
    }
    return 0;
}

int QtKeyToVk(int key, unsigned native_virtual_key, unsigned native_scan_code, ModifierSides sides) {
    const Side side = SideOf(native_virtual_key, native_scan_code);
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
    // Qt names keys that type a character by it (codes below its special keys).
    if (key > 0 && key < Qt::Key_Escape) {
        if (const int vk = CharacterKeyVk(EvdevOfScan(native_scan_code))) return vk;
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 0x70 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Shift: return Modifier(0x10, 0xA0, 0xA1, side, sides);
    case Qt::Key_Control: return Modifier(0x11, 0xA2, 0xA3, side, sides);
    case Qt::Key_Alt: return Modifier(0x12, 0xA4, 0xA5, side, sides);
    case Qt::Key_AltGr: return 0xA5;
    case Qt::Key_Meta: case Qt::Key_Super_L: case Qt::Key_Super_R:
        return (side == kRight || key == Qt::Key_Super_R) ? 0x5C : 0x5B;
    case Qt::Key_Menu: return 0x5D;
    case Qt::Key_Backspace: return 0x08;
    case Qt::Key_Tab: case Qt::Key_Backtab: return 0x09;
    case Qt::Key_Clear: return 0x0C;
    case Qt::Key_Return: case Qt::Key_Enter: return 0x0D;
    case Qt::Key_Pause: return 0x13;
    case Qt::Key_CapsLock: return 0x14;
    case Qt::Key_Escape: return 0x1B;
    case Qt::Key_Space: return 0x20;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Print: case Qt::Key_SysReq: return 0x2C;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    case Qt::Key_Help: return 0x2F;
    case Qt::Key_NumLock: return 0x90;
    case Qt::Key_ScrollLock: return 0x91;
    case Qt::Key_Semicolon: case Qt::Key_Colon: return 0xBA;
    case Qt::Key_Equal: case Qt::Key_Plus: return 0xBB;
    case Qt::Key_Comma: case Qt::Key_Less: return 0xBC;
    case Qt::Key_Minus: case Qt::Key_Underscore: return 0xBD;
    case Qt::Key_Period: case Qt::Key_Greater: return 0xBE;
    case Qt::Key_Slash: case Qt::Key_Question: return 0xBF;
    case Qt::Key_QuoteLeft: case Qt::Key_AsciiTilde: return 0xC0;
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return 0xDB;
    case Qt::Key_Backslash: case Qt::Key_Bar: return 0xDC;
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return 0xDD;
    case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: return 0xDE;
    case Qt::Key_VolumeMute: return 0xAD;
    case Qt::Key_VolumeDown: return 0xAE;
    case Qt::Key_VolumeUp: return 0xAF;
    case Qt::Key_MediaNext: return 0xB0;
    case Qt::Key_MediaPrevious: return 0xB1;
    case Qt::Key_MediaStop: return 0xB2;
    case Qt::Key_MediaPlay: case Qt::Key_MediaTogglePlayPause: case Qt::Key_MediaPause: return 0xB3;
    case Qt::Key_LaunchMail: return 0xB4;
    case Qt::Key_HomePage: return 0xAC;
    case Qt::Key_Back: return 0xA6;
    case Qt::Key_Forward: return 0xA7;
    case Qt::Key_Refresh: return 0xA8;
    case Qt::Key_Search: return 0xAA;
    case Qt::Key_Favorites: return 0xAB;
    case Qt::Key_Calculator: case Qt::Key_Launch1: return 0xB7;
    default: return 0;
    }
}

int KeyEventToVk(const QKeyEvent& event, ModifierSides sides) {
    // Keypad keys share their Qt key with the main block; the keypad modifier tells them apart.
    if (event.modifiers() & Qt::KeypadModifier) {
        const int key = event.key();
        if (key >= Qt::Key_0 && key <= Qt::Key_9) return 0x60 + (key - Qt::Key_0);
        switch (key) {
        case Qt::Key_Asterisk: return 0x6A;
        case Qt::Key_Plus: return 0x6B;
        case Qt::Key_Minus: return 0x6D;
        case Qt::Key_Period: case Qt::Key_Delete: return 0x6E;
        case Qt::Key_Slash: return 0x6F;
        default: break;
        }
    }
    return QtKeyToVk(event.key(), event.nativeVirtualKey(), event.nativeScanCode(), sides);
}

std::string UsKeyName(int vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return std::string(1, static_cast<char>(vk));
    if (vk >= 0x70 && vk <= 0x87) return "F" + std::to_string(vk - 0x6F);
    if (vk >= 0x60 && vk <= 0x69) return "Num " + std::to_string(vk - 0x60);
    struct Name { int vk; const char* name; };
    static constexpr std::array<Name, 58> kNames{{
        {0x01, "Left Button"}, {0x02, "Right Button"}, {0x04, "Middle Button"}, {0x08, "Backspace"},
        {0x09, "Tab"}, {0x0D, "Enter"}, {0x10, "Shift"}, {0x11, "Ctrl"}, {0x12, "Alt"}, {0x13, "Pause"},
        {0x14, "Caps Lock"}, {0x1B, "Esc"}, {0x20, "Space"}, {0x21, "Page Up"}, {0x22, "Page Down"},
        {0x23, "End"}, {0x24, "Home"}, {0x25, "Left"}, {0x26, "Up"}, {0x27, "Right"}, {0x28, "Down"},
        {0x2C, "Print Screen"}, {0x2D, "Insert"}, {0x2E, "Delete"}, {0x5B, "Left Win"}, {0x5C, "Right Win"},
        {0x5D, "Menu"}, {0x6A, "Num *"}, {0x6B, "Num +"}, {0x6D, "Num -"}, {0x6E, "Num ."}, {0x6F, "Num /"},
        {0x90, "Num Lock"}, {0x91, "Scroll Lock"}, {0xA0, "Left Shift"}, {0xA1, "Right Shift"},
        {0xA2, "Left Ctrl"}, {0xA3, "Right Ctrl"}, {0xA4, "Left Alt"}, {0xA5, "Right Alt"},
        {0xAD, "Mute"}, {0xAE, "Volume Down"}, {0xAF, "Volume Up"}, {0xB0, "Next Track"},
        {0xB1, "Previous Track"}, {0xB2, "Stop"}, {0xB3, "Play/Pause"}, {0xBA, ";"}, {0xBB, "="},
        {0xBC, ","}, {0xBD, "-"}, {0xBE, "."}, {0xBF, "/"}, {0xC0, "`"}, {0xDB, "["}, {0xDC, "\\"},
        {0xDD, "]"}, {0xDE, "'"},
    }};
    for (const Name& n : kNames) {
        if (n.vk == vk) return n.name;
    }
    return {};
}

}  // namespace quobel
