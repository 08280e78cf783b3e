#pragma once
// The keyboard description: [KB], [KBKEY], [FN] and [GEST] of cfg.ini.

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "base/geometry.h"
#include "config/key_info.h"

namespace quobel {

constexpr int kKbLedEffects = 18;
constexpr int kMaxColorGroups = 10;
constexpr int kGroupKeyBytes = 150;
constexpr int kUnRectPoints = 24;
constexpr int kGestTableKeys = 10;
constexpr int kFnIndexes = 64;   // Fn indexes 0..63 a slot may receive
constexpr int kMaxFnIndex = 47;  // highest Fn index a [FN] value may give
constexpr int kNoFnIndex = 255;  // "give this slot a free index"

// Display options, device code and default colours of one keyboard lighting effect.
struct KbLedOpt {
    std::uint8_t nEffectCode = 0;  // the effect's number on the device
    std::uint8_t bSpeed = 0;
    std::uint8_t bBright = 0;
    std::uint8_t bDir = 0;
    std::uint8_t bCheck = 0;
    std::uint8_t bColor = 0;       // colour swatches shown
    std::array<Colour, 7> clrDef{};
};

// The outline of the one key that is not a rectangle (the large Enter key).
struct UnRectKeyCfg {
    std::int32_t nKeyId = 0;      // key slot the outline belongs to
    std::int32_t nPointNum = 0;   // points used in ptOutline
    std::array<Point, kUnRectPoints> ptOutline{};
};

struct KbDevCfg {
    std::uint16_t wVid = 0;
    std::uint16_t wPid = 0;
    std::string szUsbString;      // at most 29 characters
    Colour clrKeyOv = 0;
    Colour clrKeyDn = 0;
    std::int32_t nKeyCount = 0;   // entries filled in g_defKEY
    Rect rcKB;                    // keyboard picture area
    std::int32_t bShowGest = 0;
    std::int32_t nShowEffect = 0;
    std::uint32_t dwLedMask = 0;
    std::int32_t nSpeedNum = 0;
    std::int32_t nBriNum = 0;
    UnRectKeyCfg UnRectKey;
    std::int32_t nMaxEftKeyIndex = 0;
    std::int32_t bFrameKey = 0;
    std::uint8_t byPaomaType = 0;
    std::uint8_t byMinLightEffectOff = 0;
    std::array<std::uint8_t, 5> byNeonSpeed{};
    std::array<std::uint8_t, 4> byColorfulEffect{};
    std::uint8_t byKbLayout = 0;
    std::int32_t nKbDrawType = 0;
    std::array<std::uint32_t, 20> dwDefLed{};
    std::array<KbLedOpt, kKbLedEffects> LedOpt{};
    std::uint8_t byDefCfg = 0;
    std::uint8_t byOurCfg = 0;
    std::int32_t nColorIndex = 0;
    // Keys of each colour group by virtual-key code, 0 = none.
    std::array<std::array<std::uint8_t, kGroupKeyBytes>, kMaxColorGroups> byGaoshouKey{};
    Colour clrGaoshou = 0;
    std::uint8_t byGaoshouGroupNum = 0;  // at most kMaxColorGroups
    std::array<std::uint8_t, 2> byCustomGp{};
    std::uint8_t byGaoshouAddr = 0;
    std::uint8_t byStartGp = 0;
    std::uint8_t byLedModeSelectOffset = 0;
    std::uint8_t byEffectOffset = 0;
    std::uint8_t byEffectNum = 0;        // may exceed the tables; see UsableEffectNum
    std::uint8_t byEffectBase = 0;
    std::array<std::uint8_t, 3> byRGBIndex{};
    std::array<std::uint8_t, 40> byLEDParam{};  // two default bytes per effect
};

// byEffectNum limited to what the effect tables hold (LedOpt, and byLEDParam pairs).
int UsableEffectNum(const KbDevCfg& kb);

// The lone-modifier rule: a type-2 function whose code is a modifier key by itself
// keeps the key in byModVk and its bit in byModifier, with byVk 0. Other codes are
// left alone. Returns whether the code was a modifier.
bool ApplyLoneModifier(KeyFunction& fun, std::uint8_t code);

// The matrix index of the key with virtual-key code `code` in a key table, or -1.
// Plain keys match by byVk (first match wins); modifier keys by their modifier bit
// (last match wins). Entries with FunID 0 are skipped.
int MatrixIndexOfKeyCode(std::span<const KeyInfo> keys, std::uint8_t code);

}  // namespace quobel
