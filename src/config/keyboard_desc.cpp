// Reading [KB], [KBKEY], [FN] and [GEST].
#include "config/keyboard_desc.h"

#include <algorithm>
#include <array>
#include <string>

#include "base/int_math.h"
#include "base/log.h"
#include "base/reporter.h"
#include "config/config.h"
#include "config/desc_common.h"
#include "config/device_readers.h"
#include "config/value_parsers.h"

namespace quobel {
namespace {

using desc::Fmt;
using desc::Value;

constexpr std::string_view kKb = "KB";
constexpr std::string_view kKbKey = "KBKEY";
constexpr std::size_t kListChars = 1023;
constexpr int kMaxMatrixInx = 149;

constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kGreen = Rgb(0, 255, 0);
constexpr Colour kBlue = Rgb(0, 0, 255);
constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr std::array<Colour, 7> kDefLedColours = {kRed, kBlue, kGreen, Rgb(255, 255, 0), Rgb(255, 0, 255),
                                                  Rgb(0, 255, 255), kWhite};

// nEffectCode, bSpeed, bBright, bDir, bCheck, bColor of effects 1 to 13.
constexpr std::array<std::array<std::uint8_t, 6>, 13> kDefLedOpt = {{
    {5, 1, 1, 0, 1, 1}, {7, 1, 0, 0, 0, 0}, {17, 1, 1, 0, 1, 1}, {12, 1, 1, 0, 1, 1}, {1, 0, 1, 0, 1, 1},
    {3, 1, 0, 0, 1, 1}, {2, 1, 0, 0, 0, 0}, {19, 1, 1, 0, 1, 1}, {15, 1, 1, 0, 1, 1}, {13, 1, 0, 0, 0, 0},
    {20, 1, 1, 0, 1, 1}, {16, 1, 1, 0, 0, 0}, {18, 1, 1, 0, 1, 1},
}};

constexpr std::array<std::uint8_t, 28> kDefLedParam = {7, 35, 7, 35, 7, 35, 7, 35, 7, 35, 0, 35, 7, 35,
                                                       0, 35, 7, 35, 7, 35, 7, 35, 7, 35, 0, 35, 7, 35};

struct LoneModifier {
    std::uint8_t code;
    std::uint8_t modifier;
    std::uint8_t modVk;
};
constexpr std::array<LoneModifier, 11> kLoneModifiers = {{
    {0x10, 0x02, 0x10}, {0xA0, 0x02, 0x10}, {0x11, 0x01, 0x11}, {0xA2, 0x01, 0x11}, {0x12, 0x04, 0x12},
    {0xA4, 0x04, 0x12}, {0x5B, 0x08, 0x5B}, {0x5C, 0x80, 0x5C}, {0xA1, 0x20, 0xA1}, {0xA3, 0x10, 0xA3},
    {0xA5, 0x40, 0xA5},
}};

const LoneModifier* FindLoneModifier(std::uint8_t code) {
    for (const LoneModifier& m : kLoneModifiers) {
        if (m.code == code) return &m;
    }
    return nullptr;
}

std::uint8_t Low8(std::int32_t v) { return static_cast<std::uint8_t>(v); }

// An [FN] or [GEST] function: type, code and parameter (code kept to its low byte).
KeyFunction LayerFunction(std::int32_t type, std::int32_t code, std::int32_t param) {
    KeyFunction f;
    const auto t = static_cast<std::uint32_t>(type) & 0xFF;
    const std::uint8_t c = Low8(code);
    if (t == kFunKeyCombo) {
        f.FunID = MakeFunID(kFunKeyCombo, kCodeKey);
        f.byVk = c;
        f.byModifier = 0;
        ApplyLoneModifier(f, c);
    } else {
        f.FunID = MakeFunID(t, c);
        SetKeyParam(f, static_cast<std::uint32_t>(param));
    }
    return f;
}

void ReadLedOpts(const IniFile& ini, KbDevCfg& kb) {
    for (std::size_t i = 0; i < kDefLedOpt.size(); ++i) {
        const auto& d = kDefLedOpt[i];
        kb.LedOpt[i] = {d[0], d[1], d[2], d[3], d[4], d[5], kDefLedColours};
    }
    for (int n = 1; n <= kKbLedEffects; ++n) {
        const std::string v = Value(ini, kKb, Fmt("LedOpt%d", n), kListChars);
        if (v.empty()) continue;
        std::array<std::uint8_t, 26> b{};
        const int got = ParseByteList(v, 10, b, 26);
        KbLedOpt& o = kb.LedOpt[static_cast<std::size_t>(n - 1)];
        o.nEffectCode = b[0];
        o.bSpeed = b[1];
        o.bBright = b[2];
        o.bDir = b[3];
        o.bCheck = b[4];
        o.bColor = b[5];
        if (got > 5) {
            // The colours start at byte 5, which is bColor as well.
            for (std::size_t c = 0; c < o.clrDef.size(); ++c) {
                o.clrDef[c] = Rgb(b[5 + 3 * c], b[6 + 3 * c], b[7 + 3 * c]);
            }
        }
    }
}

void ReadUnRectKey(const IniFile& ini, KbDevCfg& kb, Reporter& reporter) {
    std::array<std::int32_t, 50> n{};
    const int got = ParseNumberList(Value(ini, kKb, "UnRectKey", kListChars), 10, n, 50);
    if (got < 9) return;
    UnRectKeyCfg& u = kb.UnRectKey;
    u.nKeyId = n[0];
    u.nPointNum = 0;
    for (int i = 1; i + 1 < got && u.nPointNum < kUnRectPoints; i += 2) {
        const std::int32_t x = n[static_cast<std::size_t>(i)];
        if (x == 0) break;
        u.ptOutline[static_cast<std::size_t>(u.nPointNum++)] = {x, n[static_cast<std::size_t>(i + 1)]};
    }
    if (u.nPointNum == 0 || u.ptOutline[0] != u.ptOutline[static_cast<std::size_t>(u.nPointNum - 1)]) {
        reporter.Report("Error", "EnterPt[0]!=EnterPt[Last] ");
    }
}

void ReadKeyTable(const IniFile& ini, Config& config, Reporter& reporter) {
    KbDevCfg& kb = config.gVar.KbDev;
    kb.nKeyCount = 0;
    static constexpr std::array<int, 9> kBases = {10, 10, 10, 10, 16, 16, 16, 10, 10};
    for (int k = 1; k <= kDefKeySlots; ++k) {
        const std::string v = Value(ini, kKbKey, Fmt("K%d", k), kListChars);
        if (v.empty()) break;
        std::array<std::int32_t, 9> n{};
        bool parse_error = false;
        desc::ParseMixedList(v, kBases, n, parse_error);
        if (parse_error) reporter.Report("Error", "Data parse error!");

        KeyInfo e;
        e.nMatrixInx = -1;
        e.rcKey = {n[0], n[1], n[2], n[3]};
        const auto type = static_cast<std::uint32_t>(n[4]);
        const auto code = static_cast<std::uint32_t>(n[5]);
        const auto param = static_cast<std::uint32_t>(n[6]);
        e.FunID = MakeFunID(type, code);
        if (type == kFunKbRaw) SetKeyParam(e, param);
        if (type == kFunKeyCombo) {
            KeyFunction f = FunctionOf(e);
            f.FunID = MakeFunID(kFunKeyCombo, kCodeKey);
            f.byVk = static_cast<std::uint8_t>(code);
            f.byModifier = static_cast<std::uint8_t>(param);
            ApplyLoneModifier(f, static_cast<std::uint8_t>(code));
            SetFunction(e, f);
        }
        e.nMatrixInx = Low8(n[7]);
        e.nLedInx = Low8(n[8]);
        if (e.nMatrixInx > kMaxMatrixInx || e.nLedInx > kMaxMatrixInx) {
            reporter.Report("Warning", "Wrong matrix index value!");
            continue;
        }
        config.g_defKEY[static_cast<std::size_t>(kb.nKeyCount++)] = e;
    }
}

void CheckDuplicateMatrix(const Config& config, Reporter& reporter) {
    const auto& keys = config.g_defKEY;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].FunID == 0) continue;
        for (std::size_t j = 0; j < keys.size(); ++j) {
            if (j == i || keys[j].FunID == 0 || keys[j].nMatrixInx != keys[i].nMatrixInx) continue;
            reporter.Report("Warning", Fmt("Key%d and Key%d has the same matrix index", static_cast<int>(i),
                                           static_cast<int>(j)));
            break;
        }
    }
}

void ReadFn(const IniFile& ini, Config& config, Reporter& reporter) {
    auto& keys = config.g_defKEY;
    for (KeyInfo& k : keys) k.nFnInx = -1;
    static constexpr std::array<int, 4> kBases = {16, 16, 16, 10};
    int read = 0;
    for (int slot = 1; slot <= kDefKeySlots; ++slot) {
        const std::string v = Value(ini, "FN", Fmt("K%d", slot), kListChars);
        if (v.empty()) continue;
        if (read >= kFnIndexes) {
            reporter.Report("Warning", "k>=64");
            continue;
        }
        std::array<std::int32_t, 4> n{0, 0, 0, kNoFnIndex};
        bool parse_error = false;
        desc::ParseMixedList(v, kBases, n, parse_error);
        std::int32_t index = n[3];
        if (index != kNoFnIndex && index > kMaxFnIndex) index = kMaxFnIndex;
        KeyInfo& e = keys[static_cast<std::size_t>(slot - 1)];
        e.nFnInx = index;
        e.FnFun = LayerFunction(n[0], n[1], n[2]);
        ++read;
    }
    // Slots without an index of their own take the lowest free one.
    std::array<bool, kFnIndexes> used{};
    for (const KeyInfo& k : keys) {
        if (k.nFnInx >= 0 && k.nFnInx < kFnIndexes) used[static_cast<std::size_t>(k.nFnInx)] = true;
    }
    for (std::size_t slot = 0; slot < keys.size(); ++slot) {
        if (keys[slot].nFnInx != kNoFnIndex) continue;
        const auto free = std::find(used.begin(), used.end(), false);
        if (free == used.end()) {
            LogPrint("ERROR: Get wrong index for g_defKEY[%d]", static_cast<int>(slot));
            keys[slot].nFnInx = -1;
            continue;
        }
        *free = true;
        keys[slot].nFnInx = static_cast<std::int32_t>(free - used.begin());
    }
}

void ReadGestures(const IniFile& ini, Config& config) {
    config.GestTable = {};
    static constexpr std::array<int, 4> kBases = {16, 16, 16, 10};
    for (int k = 1; k <= kGestTableKeys; ++k) {
        const std::string v = Value(ini, "GEST", Fmt("K%d", k), kListChars);
        if (v.empty()) continue;
        std::array<std::int32_t, 4> n{};
        bool parse_error = false;
        desc::ParseMixedList(v, kBases, n, parse_error);
        KeyFunction f = LayerFunction(n[0], n[1], n[2]);
        f.nMatrixInx = n[3];
        SetFunction(config.GestTable[static_cast<std::size_t>(k - 1)], f);
    }
}

}  // namespace

int UsableEffectNum(const KbDevCfg& kb) { return std::min<int>(kb.byEffectNum, kKbLedEffects); }

bool ApplyLoneModifier(KeyFunction& fun, std::uint8_t code) {
    const LoneModifier* m = FindLoneModifier(code);
    if (m == nullptr) return false;
    fun.byVk = 0;
    fun.byModifier = m->modifier;
    fun.byModVk = m->modVk;
    return true;
}

int MatrixIndexOfKeyCode(std::span<const KeyInfo> keys, std::uint8_t code) {
    const LoneModifier* mod = FindLoneModifier(code);
    int found = -1;
    for (const KeyInfo& k : keys) {
        if (k.FunID == 0) continue;
        if (k.byModifier == 0) {
            if (k.byVk == code) return k.nMatrixInx;
        } else if (mod != nullptr && (k.byModifier & mod->modifier) != 0) {
            found = k.nMatrixInx;
        }
    }
    return found;
}

void ReadKeyboardDescription(const IniFile& ini, Config& config, Reporter& reporter) {
    KbDevCfg& kb = config.gVar.KbDev;
    kb = KbDevCfg{};
    config.g_defKEY = {};
    for (KeyInfo& k : config.g_defKEY) k.nMatrixInx = -1;

    kb.wVid = static_cast<std::uint16_t>(ini.GetInt(kKb, "VID", 0));
    kb.wPid = static_cast<std::uint16_t>(ini.GetInt(kKb, "PID", 0));
    kb.szUsbString = ini.GetString(kKb, "USBString", "", 30);
    kb.dwLedMask = static_cast<std::uint32_t>(ini.GetInt(kKb, "LedMask", 0));
    kb.bShowGest = ini.GetInt(kKb, "ShowGest", 0);
    kb.nShowEffect = ini.GetInt(kKb, "ShowEffect", 0xffff);
    kb.clrKeyOv = ReadColour(ini, kKb, "ClrKeyOv", 0);
    kb.clrKeyDn = ReadColour(ini, kKb, "ClrKeyDn", 0);
    kb.nSpeedNum = ini.GetInt(kKb, "SpeedNum", 4);
    kb.nBriNum = ini.GetInt(kKb, "BriNum", 4);
    kb.bFrameKey = ini.GetInt(kKb, "FrameKey", 1);
    kb.byPaomaType = Low8(ini.GetInt(kKb, "PaomaType", 0));
    kb.byMinLightEffectOff = Low8(ini.GetInt(kKb, "MinLightEffectOFF", 0));
    kb.byKbLayout = Low8(ini.GetInt(kKb, "KbLayout", 0));
    kb.nKbDrawType = ini.GetInt(kKb, "KbDrawType", 0);
    ParseByteList(Value(ini, kKb, "ColorfulEffect", kListChars), 10, kb.byColorfulEffect, 4);
    kb.byNeonSpeed = {50, 40, 30, 20, 15};
    ParseByteList(Value(ini, kKb, "NeonSpeed", kListChars), 10, kb.byNeonSpeed, 5);
    Rect rc;
    if (ReadRect(ini, "rcKB", rc, kKb, reporter)) {
        kb.rcKB = {rc.left, rc.top, SumClamped(rc.left, rc.right), SumClamped(rc.top, rc.bottom)};
    } else {
        kb.rcKB = {280, 180, 954, 365};
    }
    std::array<std::int32_t, 20> defled{};
    ParseNumberList(Value(ini, kKb, "DefLed", kListChars), 16, defled, 20);
    for (std::size_t i = 0; i < defled.size(); ++i) kb.dwDefLed[i] = static_cast<std::uint32_t>(defled[i]);
    ReadUnRectKey(ini, kb, reporter);
    kb.byLedModeSelectOffset = Low8(ini.GetInt(kKb, "LedModeSelectOffset", 4));
    kb.byEffectBase = Low8(ini.GetInt(kKb, "EffectBase", 1));
    kb.byEffectOffset = Low8(ini.GetInt(kKb, "EffectOffset", 18));
    if (kb.byEffectOffset > 60) reporter.Report("Warning", "Invalid nEffectOffset");
    kb.byEffectNum = Low8(ini.GetInt(kKb, "EffectNum", 13));
    if (kb.byEffectNum > 17) reporter.Report("Warning", "Invalid nEffectNum");
    kb.byRGBIndex = {2, 1, 0};
    ParseByteList(Value(ini, kKb, "RGBIndex", kListChars), 10, kb.byRGBIndex, 3);
    if (kb.byRGBIndex[0] + kb.byRGBIndex[1] + kb.byRGBIndex[2] != 3) reporter.Report("Warning", "R G B Index Error");
    const int params = ParseByteList(Value(ini, kKb, "LEDParam", kListChars), 16, kb.byLEDParam, 40);
    if (params < 2) {
        kb.byLEDParam = {};
        std::copy(kDefLedParam.begin(), kDefLedParam.end(), kb.byLEDParam.begin());
    } else if (params / 2 < kb.byEffectNum) {
        reporter.Report("Warning", "Invalid LEDParam");
    }
    kb.byDefCfg = Low8(ini.GetInt(kKb, "DefCfg", 0));
    kb.byOurCfg = Low8(ini.GetInt(kKb, "OurCfg", 0));
    kb.nColorIndex = Low8(ini.GetInt(kKb, "ColorIndex", 0));
    if (kb.nColorIndex > 6) reporter.Report("Warning", "Invalid gVar.nColorIndex");
    kb.byStartGp = Low8(ini.GetInt(kKb, "StartGp", 32));
    kb.byGaoshouAddr = Low8(ini.GetInt(kKb, "GaoshouAddr", 172));
    const std::uint8_t groups = Low8(ini.GetInt(kKb, "GaoshouGroupNum", 5));
    kb.byGaoshouGroupNum = std::min<std::uint8_t>(groups, kMaxColorGroups);
    kb.byCustomGp = {0, static_cast<std::uint8_t>(groups - 1)};
    ParseByteList(Value(ini, kKb, "CustomGp", kListChars), 10, kb.byCustomGp, 2);
    kb.clrGaoshou = ReadColour(ini, kKb, "clrGaoshou", Rgb(255, 255, 255));
    for (int g = 1; g <= kb.byGaoshouGroupNum; ++g) {
        const std::string v = Value(ini, kKb, Fmt("GaoshouKey%d", g), kListChars);
        if (v.empty()) break;
        ParseByteList(v, 16, kb.byGaoshouKey[static_cast<std::size_t>(g - 1)], kGroupKeyBytes);
    }
    ReadLedOpts(ini, kb);

    ReadKeyTable(ini, config, reporter);
    if (config.nDebugLevel != 0) CheckDuplicateMatrix(config, reporter);
    kb.nMaxEftKeyIndex = ini.GetInt(kKb, "MaxEftKeyIndex", kb.nKeyCount);
}

void ReadFnAndGestures(const IniFile& ini, Config& config, Reporter& reporter) {
    if (config.gVar.nKbFw != 20) return;
    ReadFn(ini, config, reporter);
    if (config.gVar.KbDev.bShowGest != 0) ReadGestures(ini, config);
}

}  // namespace quobel
