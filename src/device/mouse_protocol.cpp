#include "device/mouse_protocol.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "base/bytes.h"
#include "base/log.h"
#include "device/apply_flags.h"
#include "device/function_codes.h"
#include "device/macro_slots.h"
#include "device/progress.h"

namespace quobel {

namespace {

constexpr std::size_t kDpiFirst = 4;   // G4..G19
constexpr std::size_t kDpiEnd = 20;
constexpr std::size_t kLedByte = 20;
constexpr std::size_t kLedCount = 21;
constexpr std::size_t kColourArea = 22;
constexpr std::size_t kDpiColour = 43;

std::uint8_t U8(std::uint32_t v) { return static_cast<std::uint8_t>(v); }

bool IsStd(MouseVariant v) { return v == MouseVariant::STD_2 || v == MouseVariant::STD_3; }

std::uint8_t DpiCode(const MouseProtoDesc& d, std::int32_t dpi) {
    for (const DpiStep& s : d.dpiSteps) {
        if (s.nDpi == dpi) return s.byHw;
    }
    return 0;
}

std::uint8_t SpeedTable(std::int32_t bright) {
    switch (bright) {
    case 5: return 1;
    case 21: return 2;
    case 37: return 3;
    case 53: return 4;
    case 69: return 5;
    case 85: return 6;
    case 101: return 7;
    case 117: return 8;
    default: return 9;
    }
}

std::uint8_t DpiColourCode(const MouseProtoDesc& d, Colour c) {
    for (const PickColorEntry& e : d.PickColor) {
        if (e.clr == c) return U8(static_cast<std::uint32_t>(e.nCode));
    }
    return 0;
}

// Effect code of the selected lighting effect: 0 is "off".
std::uint8_t EffectCode(const MsProfile& ms) { return ms.nEffect == 11 ? 0 : U8(static_cast<std::uint32_t>(ms.nEffect + 1)); }

void DpiLevels(ByteWriter& w, std::span<std::uint8_t> g, const MsProfile& ms, const MouseProtoDesc& d,
               MouseVariant v) {
    const int walked = (d.nMsFw == 2 || d.nMsFw == 3) ? 6 : 8;
    const bool plain = v == MouseVariant::RV_4;
    for (std::size_t i = kDpiFirst; i < kDpiEnd; ++i) w.u8(i, plain ? 0x00 : 0x80);
    std::size_t pos = kDpiFirst;
    int enabled = 0;
    auto put = [&](std::uint8_t code, bool off) {
        if (pos >= kDpiEnd) return;
        w.u8(pos++, plain ? code : ((code & 0x7Fu) | (off ? 0x80u : 0u)));
    };
    for (int i = 0; i < walked; ++i) {
        const DpiLevel& lv = ms.Dpi[i];
        const bool off = lv.bOff != 0;
        put(DpiCode(d, lv.nDpiX), off);
        if (ms.bXYSeparate) put(DpiCode(d, lv.nDpiY), off);
        if (!plain && !off) ++enabled;
    }
    if (plain) {
        std::uint8_t mask = 0;
        const int levels = std::clamp(d.nDpiNum, 0, 8);
        for (int j = 0; j < levels; ++j) {
            if (ms.Dpi[j].bOff) mask = U8(mask | (1u << j));
            else ++enabled;
        }
        w.u8(52, mask);
    }
    w.u8(1, (g[1] & 0xF0u) | (static_cast<std::uint32_t>(enabled) & 0x0Fu));
}

void Lighting(ByteWriter& w, const MsProfile& ms, const MouseProtoDesc& d, MouseVariant v) {
    const std::uint8_t c = EffectCode(ms);
    if (ms.nEffect < 0 || ms.nEffect >= kMsEffects) {
        // A stored index outside the table: send the lighting off rather than read past it.
        LogPrint("Mouse effect index %d out of range", ms.nEffect);
        w.u8(kLedByte, 0);
        w.u8(kLedByte + 1, 0);
        for (std::size_t i = 0; i < kLedCount; ++i) w.u8(kColourArea + i, 0);
        return;
    }
    const LedEffect& e = ms.Effects[ms.nEffect];
    const std::uint32_t n = c == 2 ? SpeedTable(e.nBright) : (static_cast<std::uint32_t>(e.nSpeed) & 0x0Fu);
    w.u8(kLedByte, (static_cast<std::uint32_t>(c) << 4) | n);

    std::array<std::uint8_t, 24> area{};
    const std::size_t area_len = v == MouseVariant::STD_2 ? 24 : 21;
    ByteWriter aw(std::span<std::uint8_t>(area).first(area_len));
    std::uint32_t t = 0;
    for (int k = 0; k < 7; ++k) {
        if (((e.dwColorMask >> k) & 1u) == 0) continue;
        const Colour clr = e.clr[k];
        const std::size_t base = 3 * static_cast<std::size_t>(t);
        aw.u8(static_cast<std::size_t>(d.nGridRGBIndex[0]) + base, Red(clr));
        aw.u8(static_cast<std::size_t>(d.nGridRGBIndex[1]) + base, Green(clr));
        aw.u8(static_cast<std::size_t>(d.nGridRGBIndex[2]) + base, Blue(clr));
        ++t;
    }
    for (std::size_t i = 0; i < area_len; ++i) w.u8(kColourArea + i, area[i]);

    std::uint32_t count = 0;
    switch (c) {
    case 3: count = t; break;
    case 1:
    case 9: count = e.nDir == 3 ? 0x80 : 0; break;
    case 8: count = e.bColorful ? 0x80 : t; break;
    default: count = 0; break;
    }
    w.u8(kLedByte + 1, count);
}

void Extras(ByteWriter& w, const ProfileData& p, const MouseProtoDesc& d, MouseVariant v, bool reset) {
    const MsProfile& ms = p.Ms;
    const std::uint8_t c = EffectCode(ms);
    const int colour_levels = v == MouseVariant::STD_2 ? 0 : v == MouseVariant::STD_3 ? 7 : 8;
    for (int i = 0; i < colour_levels; ++i)
        w.u8(kDpiColour + static_cast<std::size_t>(i), DpiColourCode(d, ms.Dpi[i].clrDpi));

    if (v == MouseVariant::STD_2) w.u8(49, ms.bGunColor ? 0 : 2);
    if (IsStd(v)) w.u8(50, c == 12 ? 1 : 0);
    if (v == MouseVariant::STD_3 && d.nPopByte1 == 3 && d.nHandOft >= 0)
        w.u8(static_cast<std::size_t>(d.nHandOft), (reset || ms.nMode != 1) ? 1 : 2);
    if (!IsStd(v)) {
        const std::uint8_t off_code = v == MouseVariant::RV_3 ? 0 : 12;
        w.u8(51, 0x20u | (c == off_code ? 0x02u : 0u) | (ms.bGunColor ? 0x01u : 0u));
    }
    if (v == MouseVariant::CJ_1) {
        w.u8(58, (p.dwFlags & kProfileFlagGun) ? 1 : 0);
        for (std::size_t i = 0; i < 7; ++i) {
            w.u8(59 + 3 * i, Red(p.clrGun[i]));
            w.u8(60 + 3 * i, Green(p.clrGun[i]));
            w.u8(61 + 3 * i, Blue(p.clrGun[i]));
        }
    }
}

void Dump(std::span<const std::uint8_t> block, std::size_t from, std::size_t len, std::size_t per_line,
          const char* prefix) {
    if (from >= block.size()) return;
    LogHexDump(block.subspan(from, std::min(len, block.size() - from)), per_line, prefix);
}

// Builds the ten button codes of key mode `mode` into codes.
void ButtonCodes(const MsProfile& ms, int mode, const MouseProtoDesc& d, const ApplyEnv& env,
                 std::array<std::uint32_t, 10>& codes, MacroSlotAssigner* slots) {
    codes.fill(kMsCodeDisabled);
    const auto& keys = ms.Keys[mode];
    for (int i = 0; i < 10; ++i) {
        const KeyInfo& k = keys[i];
        if (k.FunID == 0) continue;
        const std::uint32_t code = env.codec.code ? env.codec.code(k) : kNoDeviceCode;
        if (code == kNoDeviceCode) {
            char text[96];
            std::snprintf(text, sizeof text, "Invaild key %d: FunID=0x%x, MacroID=0x%x", i, k.FunID, k.MacroID);
            env.Box("", text);
            continue;
        }
        const int p = d.nButtonMatrixInx[static_cast<std::size_t>(i)];
        if (p >= 1 && p <= 10) codes[static_cast<std::size_t>(p - 1)] = code;
    }
    if (d.bKeyCodeHasIndex) {
        for (std::uint32_t s = 0; s < 10; ++s) codes[s] = (codes[s] & ~0xFu) | (s + 1);
    }

    // Macro slots, in button order; a macro met again keeps its slot.
    if (slots == nullptr) return;
    for (int i = 0; i < 10; ++i) {
        const KeyInfo& k = keys[i];
        if (FunType(k.FunID) != kFunMacro) continue;
        const int s = k.nMatrixInx - 1;
        if (s < 0 || s > 9) {
            env.Box("Warning", "Matrix inx warning");
            continue;
        }
        (void)slots->Assign(FunctionOf(k), mode, i, codes[static_cast<std::size_t>(s)]);
    }
}

}  // namespace

std::optional<MouseVariant> MouseVariantOf(int nMsFw) {
    switch (nMsFw) {
    case 3: return MouseVariant::STD_2;
    case 5:
    case 7: return MouseVariant::RV_3;
    case 8: return MouseVariant::STD_3;
    case 9: return MouseVariant::RV_4;
    case 10: return MouseVariant::CJ_1;
    default: return std::nullopt;
    }
}

const char* MouseVariantName(MouseVariant v) {
    switch (v) {
    case MouseVariant::STD_2: return "Apply_M_STD_5307_2";
    case MouseVariant::STD_3: return "Apply_M_STD_5307_3";
    case MouseVariant::RV_3: return "Apply_M_RV_5307_3";
    case MouseVariant::RV_4: return "Apply_M_RV_5307_4";
    case MouseVariant::CJ_1: return "Apply_M_CJ_5307_1";
    }
    return "";
}

std::size_t MouseGeneralLength(int nMsFw) { return nMsFw == 10 ? 80 : 58; }

std::size_t MouseMatrixLength(int nMsFw) { return (nMsFw == 2 || nMsFw == 3 || nMsFw == 8) ? 1064 : 1144; }

std::uint8_t RateNumber(std::uint32_t rate_code, std::uint8_t other) {
    switch (rate_code) {
    case 0x125: return 1;
    case 0x250: return 2;
    case 0x500: return 3;
    case 0x1000: return 4;
    default: return other;
    }
}

void EncodeMouseGeneral(std::span<std::uint8_t> g, const ProfileData& p, const MouseProtoDesc& d,
                        MouseVariant v, bool reset) {
    ByteWriter w(g);
    const MsProfile& ms = p.Ms;
    if (IsStd(v)) w.u8(0, (g[0] & 0x0Fu) | (std::uint32_t{RateNumber(ms.dwRate[0], 3)} << 4));
    DpiLevels(w, g, ms, d, v);
    if (IsStd(v) && reset && d.nDefLevel >= 0)
        w.u8(1, (g[1] & 0x0Fu) | ((static_cast<std::uint32_t>(d.nDefLevel + 1) & 0x0Fu) << 4));
    w.u8(2, (g[2] & 0xF0u) | (ms.bXYSeparate ? 1u : 0u));
    Lighting(w, ms, d, v);
    Extras(w, p, d, v, reset);
    if (!w.ok()) LogPrint("General block: a byte fell outside the %zu-byte block", g.size());
}

std::array<std::uint8_t, kMouseModeLen> EncodeMouseMode(std::span<const std::uint8_t> read, int nMode,
                                                        std::span<const std::uint32_t, 3> rates, bool reset,
                                                        int nDefLevel) {
    std::array<std::uint8_t, kMouseModeLen> m{};
    std::copy_n(read.begin(), std::min(read.size(), m.size()), m.begin());
    m[0] = U8(static_cast<std::uint32_t>(nMode + 1));
    for (std::size_t i = 0; i < 3; ++i) m[1 + i] = RateNumber(rates[i], 0);
    if (reset) {
        m[4] = nDefLevel >= 0 ? U8(static_cast<std::uint32_t>(nDefLevel + 1)) : 2;
        m[5] = 3;
        m[6] = 1;
        m[7] = 0;
    }
    return m;
}

MouseMatrix BuildMouseMatrix(const MsProfile& ms, const MouseProtoDesc& d, MouseVariant v, const ApplyEnv& env) {
    MouseMatrix mx;
    mx.length = MouseMatrixLength(d.nMsFw);
    std::optional<MacroSlotAssigner> slots;
    if (env.macros != nullptr)
        slots.emplace(MacroDevice::Mouse, *env.macros, env.limits, std::span(mx.bytes).first(kMouseMacroArea),
                      env.nMacProtocol);
    MacroSlotAssigner* assigner = slots ? &*slots : nullptr;
    ByteWriter w(mx.bytes);
    if (mx.length == kMouseMatrixMax) {
        for (int mode = 0; mode < kMsModes; ++mode) {
            ButtonCodes(ms, mode, d, env, mx.codes[static_cast<std::size_t>(mode)], assigner);
            for (std::size_t s = 0; s < 10; ++s)
                w.le32(kMouseMacroArea + 40 * static_cast<std::size_t>(mode) + 4 * s,
                       mx.codes[static_cast<std::size_t>(mode)][s]);
        }
    } else {
        int mode = (v == MouseVariant::STD_2 && !d.bModeSWBySw) ? 0 : ms.nMode;
        if (mode < 0 || mode >= kMsModes) {
            LogPrint("Mouse key mode %d out of range, mode 1 sent", mode + 1);
            mode = 0;
        }
        // All three modes are built, so their macros get slots numbered across the
        // modes in key order; only the sent mode's codes go behind the macro memory.
        for (int m = 0; m < kMsModes; ++m)
            ButtonCodes(ms, m, d, env, mx.codes[static_cast<std::size_t>(m)], assigner);
        for (std::size_t s = 0; s < 10; ++s)
            w.le32(kMouseMacroArea + 4 * s, mx.codes[static_cast<std::size_t>(mode)][s]);
    }
    for (int mode = 0; mode < kMsModes; ++mode) {
        LogPrint("-------KeyMode%d", mode + 1);
        for (int s = 0; s < 10; ++s)
            LogPrint("Matrix[%d][%d] = 0x%08x", mode, s,
                     mx.codes[static_cast<std::size_t>(mode)][static_cast<std::size_t>(s)]);
    }
    return mx;
}

bool MouseGetMode(const ApplyEnv& env, std::array<std::uint8_t, kMouseModeLen>& out) {
    if (env.io == nullptr || !env.io->GetReport(kMouseModeId, out)) return false;
    LogPrint("GetMode: %x,%x,%x,%x,%x", out[0], out[1], out[2], out[3], out[4]);
    return true;
}

bool MouseSetMode(const ApplyEnv& env, int nMode, std::span<const std::uint32_t, 3> rates, bool reset,
                  int nDefLevel) {
    std::array<std::uint8_t, kMouseModeLen> read{};
    if (!MouseGetMode(env, read)) return false;
    env.Sleep(20);
    const auto m = EncodeMouseMode(read, nMode, rates, reset, nDefLevel);
    LogPrint("SetMode: %x,%x,%x,%x,%x", m[0], m[1], m[2], m[3], m[4]);
    return env.io->SetReport(kMouseModeId, m);
}

void AmendMouseProfile(ProfileData& p, MouseVariant v, std::uint32_t flags) {
    if (v == MouseVariant::CJ_1 && (flags & kMsApplyGeneral)) p.Ms.dwRate[1] = 0x250;
}

int ApplyMouse(const ApplyEnv& env, const MouseProtoDesc& d, ProfileData& p, ProgressSink* sink,
               std::uint32_t flags, std::int32_t& bReset, SystemPointer* pointer) {
    if (env.io == nullptr) return 0;
    if (!env.io->Present() && !env.bGoWithNoDev) return 0;
    const auto variant = MouseVariantOf(d.nMsFw);
    if (!variant) return 0;
    const MouseVariant v = *variant;
    LogPrint("%s", MouseVariantName(v));
    if (p.dwProfileID == 0) return 0;
    if (sink == nullptr) LogPrint("hWnd=0");

    const bool reset = bReset != 0;
    const std::size_t glen = MouseGeneralLength(d.nMsFw);
    std::array<std::uint8_t, kMouseGeneralMax> gbuf{};
    const auto g = std::span(gbuf).first(glen);
    int result = 0;

    // One failed step: with GoWithNoDev it is only logged; otherwise the apply ends.
    auto step_failed = [&](const char* what) {
        LogPrint("%s, err=0x%x", what, static_cast<unsigned>(env.io->LastError()));
        return !env.bGoWithNoDev;
    };

    PostProgress(sink, 20);
    bool stop = false;
    if (!env.io->GetReport(kMouseGeneralId, g)) {
        stop = step_failed("Get general data error");
    } else {
        LogHexDump(g, 10, "General(Load): ");
        const int type = g[2] >> 4;
        const auto dev = static_cast<std::uint32_t>(SensorFromCode(type));
        LogPrint("GetSenosr: nSensor=0x%x, nValue=%d", dev, type);
        if (dev != d.nSensor && !env.bGoWithNoDev) {
            char text[64];
            std::snprintf(text, sizeof text, "Sensor unmatch: dev=0x%04x, cfg=0x%04x", dev, d.nSensor);
            env.Box("Error", text);
            return 0;  // the reset stays pending for the next apply
        }
    }

    if (!stop && (flags & kMsApplyPointer)) {
        const PointerSettings ps{p.Ms.nWheelLines, p.Ms.nDblClickTime, p.Ms.nPointerSpeed,
                                 p.Ms.bEnhancePrecision, p.Ms.nTrails};
        if (pointer == nullptr) {
            LogPrint("Pointer settings: no system pointer");
        } else {
            const PointerApplyResult r = pointer->Apply(ps);
            for (PointerValue pv : r.unsupported) LogPrint("Pointer settings: %s not supported", PointerValueName(pv));
            for (PointerValue pv : r.failed) LogPrint("Pointer settings: setting %s failed", PointerValueName(pv));
        }
    }
    if (!stop) PostProgress(sink, 40);

    if (!stop && (flags & kMsApplyGeneral)) {
        EncodeMouseGeneral(g, p, d, v, reset);
        PostProgress(sink, 60);
        Dump(g, kDpiFirst, 16, 16, "DPI: ");
        Dump(g, kDpiColour, 7, 7, "DPI-COLOR: ");
        Dump(g, kLedByte, 23, 23, "LED: ");
        if (v == MouseVariant::CJ_1) Dump(g, 59, 21, 21, "GUN-COLOR: ");
        if (IsStd(v)) {
            LogPrint("General(Save):-------------");
            LogHexDump(g, 10, nullptr);
        } else {
            LogHexDump(g, 10, "General(Save): ");
        }
        env.Sleep(20);
        if (!env.io->SetReport(kMouseGeneralId, g)) stop = step_failed("Set general data error");
        if (!stop && !IsStd(v)) {
            PostProgress(sink, 40);
            env.Sleep(20);
            AmendMouseProfile(p, v, flags);
            const std::array<std::uint32_t, 3> rates{p.Ms.dwRate[0], p.Ms.dwRate[1], p.Ms.dwRate[2]};
            if (!MouseSetMode(env, p.Ms.nMode, rates, reset, d.nDefLevel)) stop = step_failed("SetMode");
        }
    }
    if (!stop) PostProgress(sink, 80);

    if (!stop && (flags & kMsApplyKeys)) {
        const MouseMatrix mx = BuildMouseMatrix(p.Ms, d, v, env);
        const auto block = std::span(mx.bytes).first(mx.length);
        env.Sleep(20);
        LogPrint("Matrix_Data:");
        LogHexDump(block, 32, nullptr);
        if (!env.io->SetReport(kMouseMatrixId, block)) stop = step_failed("Set matrix error");
    }

    if (!stop) {
        result = 1;
        PostProgress(sink, 100);
        env.Sleep(500);
    }
    bReset = 0;
    if (env.macros != nullptr) ResetMacroBufferIDs(*env.macros);
    return result;
}

}  // namespace quobel
