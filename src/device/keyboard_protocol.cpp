#include "device/keyboard_protocol.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "base/bytes.h"
#include "base/log.h"
#include "device/apply_flags.h"
#include "device/function_codes.h"
#include "device/progress.h"

namespace quobel {

namespace {

constexpr std::size_t kHeaderProfile = 8;  // H8..H71
constexpr std::size_t kProfilePartLen = 64;
constexpr std::size_t kPlaneLen = 132;
constexpr std::size_t kGroupLen = 3 * kPlaneLen;
constexpr std::size_t kEffectColours = 21;
constexpr int kMaxLed = 131;

std::uint8_t U8(std::uint32_t v) { return static_cast<std::uint8_t>(v); }

int EffectCount(const KeyboardProtoDesc& d) { return std::min<int>(d.byEffectNum, kKbEffects); }

bool PerKeyMode(const KbProfile& kb, const KeyboardProtoDesc& d) { return kb.nEffect == d.byEffectNum; }

KeyInfo AsKey(const KeyFunction& f) {
    KeyInfo k;
    SetFunction(k, f);
    k.nFnInx = -1;
    return k;
}

std::uint32_t Code(const ApplyEnv& env, const KeyInfo& k) {
    return env.codec.code ? env.codec.code(k) : kNoDeviceCode;
}

}  // namespace

KbBlock KbCommandBlock(std::uint8_t cmd, std::uint8_t addr, std::span<const std::uint8_t> data) {
    KbBlock c{};
    c[0] = cmd;
    if (cmd != kKbCmdHeader) {
        c[1] = addr;
        c[3] = 0x40;
    }
    std::copy_n(data.begin(), std::min(data.size(), c.size() - 7), c.begin() + 7);
    return c;
}

void EncodeKbHeader(std::span<std::uint8_t, kKbHeaderLen> h, const KbProfile& kb, const KeyboardProtoDesc& d,
                    bool reset) {
    h[0] = reset ? d.byDefCfg : d.byOurCfg;
    ByteWriter w(h.subspan(kHeaderProfile, kProfilePartLen));
    const std::size_t sel = d.byLedModeSelectOffset;
    w.u8(sel, PerKeyMode(kb, d) ? 1 : 0);
    w.u8(sel + 1, static_cast<std::uint32_t>(kb.nEffect) + d.byEffectBase);
    w.u8(sel + 2, (kb.nCurGameGroup & 0xFFu) + d.byStartGp);
    for (int i = 0; i < EffectCount(d); ++i) {
        const LedEffect& e = kb.Effects[i];
        const std::uint32_t colour = e.bColorful ? 7u : (static_cast<std::uint32_t>(e.nColorIndex) & 0xFu);
        const std::size_t at = d.byEffectOffset + 2 * static_cast<std::size_t>(i);
        w.u8(at, colour | (e.nDir == 2 ? 0x80u : 0u));
        w.u8(at + 1, (static_cast<std::uint32_t>(e.nSpeed - 1) << 4) | (static_cast<std::uint32_t>(e.nBright - 1) & 0xFu));
    }
    w.u8(62, 0x5A);
    w.u8(63, 0xA5);
    if (!w.ok()) LogPrint("Keyboard header: offsets reach past the 64-byte profile part");
}

std::array<std::uint8_t, kKbColourTableLen> BuildKbColourTable(const KbProfile& kb, const KeyboardProtoDesc& d) {
    std::array<std::uint8_t, kKbColourTableLen> t{};
    ByteWriter w(t);
    for (int i = 0; i < EffectCount(d); ++i) {
        const std::size_t base = kEffectColours * static_cast<std::size_t>(i);
        for (std::size_t k = 0; k < 7; ++k) {
            const Colour c = kb.Effects[i].clr[k];
            w.u8(base + 3 * k + d.byRGBIndex[0], Red(c));
            w.u8(base + 3 * k + d.byRGBIndex[1], Green(c));
            w.u8(base + 3 * k + d.byRGBIndex[2], Blue(c));
        }
    }
    return t;  // effects past the thirteenth do not fit the command and are dropped
}

std::vector<KbLedTransfer> KbLedTransfers(const KbProfile& kb, const KeyboardProtoDesc& d, std::uint32_t flags) {
    std::vector<KbLedTransfer> out;
    if (!(flags & (kKbApplyAllGroups | kKbApplyGroupPair)) || !PerKeyMode(kb, d)) return out;
    if (flags & kKbApplyGroupPair) {
        const int pair = kb.nCurGameGroup / 2;
        out.push_back({pair * 2, U8(d.byGaoshouAddr + (pair > 0 ? static_cast<std::uint32_t>(pair) * 4 : 0u))});
        return out;
    }
    const int transfers = (d.byGaoshouGroupNum + 1) / 2;
    for (int t = 0; t < transfers; ++t)
        out.push_back({2 * t, U8(d.byGaoshouAddr + 4u * static_cast<std::uint32_t>(t))});
    return out;
}

std::array<std::uint8_t, kKbLedTransferLen> BuildKbLedTransfer(const KbProfile& kb, const KeyboardProtoDesc& d,
                                                               int first_group, const KeyCodec& codec) {
    std::array<std::uint8_t, kKbLedTransferLen> buf{};
    for (int gi = 0; gi < 2; ++gi) {
        const int g = first_group + gi;
        // Groups past the configured count go as zero (a lone last group).
        if (g >= d.byGaoshouGroupNum || g >= kColourGroups) continue;
        const std::size_t base = kGroupLen * static_cast<std::size_t>(gi);
        auto put = [&](int led, Colour c) {
            const auto l = static_cast<std::size_t>(led);
            buf[base + l] = Blue(c);
            buf[base + kPlaneLen + l] = Green(c);
            buf[base + 2 * kPlaneLen + l] = Red(c);
        };
        const std::size_t n = std::min<std::size_t>(d.keys.size(), kKbConfigKeys);
        for (std::size_t k = 0; k < n; ++k) {
            const KeyInfo& dk = d.keys[k];
            if (dk.FunID == 0) continue;
            const int led = kb.Keys[k].nLedInx;
            const int m = dk.nMatrixInx;
            if (led < 0 || led > kMaxLed || m < 0 || m >= kKbKeySlots) {
                char fun[16];
                std::snprintf(fun, sizeof fun, "0x%08x", dk.FunID);
                const std::string cap = codec.caption ? codec.caption(dk) : std::string(fun);
                LogPrint("ERROR: GET Key(Func=%s, MatrixInx=%d)", cap.c_str(), m);
                continue;
            }
            const Colour c = kb.clrKey[g][m];
            // The LEDs at 35, 57 and 100 light together.
            if (c != 0 && (led == 35 || led == 57 || led == 100)) {
                put(35, c);
                put(57, c);
                put(100, c);
            } else {
                put(led, c);
            }
        }
    }
    return buf;
}

void FillMatrix(const KbProfile& kb, const KeyboardProtoDesc& d, const ApplyEnv& env, KbMatrix& out) {
    LogPrint("FillMatrix 0x%08X---------------------------------------",
             static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(&kb)));
    out.codes.fill(0);
    out.macros.fill(0);
    out.macro_keys = 0;
    auto& code = out.codes;

    for (int k = 0; k < kKbConfigKeys; ++k) {
        const KeyInfo& key = kb.Keys[k];
        if (key.FunID == 0) continue;
        const std::uint32_t a = Code(env, key);
        const int m = static_cast<std::size_t>(k) < d.keys.size() ? d.keys[static_cast<std::size_t>(k)].nMatrixInx : -1;
        if (a == kNoDeviceCode) {
            char text[96];
            std::snprintf(text, sizeof text, "Get Invaild keycode, key index=%d, MatrixInx=%d", k, m);
            env.Box("Warning", text);
        } else if (m < 0 || m >= kKbConfigKeys) {
            LogPrint("Error: nMatrixInx=%d", m);
        } else if (code[static_cast<std::size_t>(m)] != 0) {
            LogPrint("Error: Matrix[ %d ]=0x%x", m, code[static_cast<std::size_t>(m)]);
        } else if (key.nFnInx == -1) {
            code[static_cast<std::size_t>(m)] = a;
        } else if (key.nFnInx < 0 || key.nFnInx >= kKbFnKeys) {
            // The Fn layers hold 48 keys; a larger index would write into the next layer.
            LogPrint("Error: nFnInx=%d", key.nFnInx);
        } else {
            const auto f = static_cast<std::size_t>(key.nFnInx);
            const std::uint32_t c = Code(env, AsKey(key.FnFun));
            if (c != kNoDeviceCode) {
                code[kKbFnSingle + f] = a;
                code[kKbFnCombo + f] = c;
                code[static_cast<std::size_t>(m)] = 0x02000000u | static_cast<std::uint32_t>(f);
            }
        }
    }
    if (code[75] != code[80]) {
        if (code[80] != 0) code[75] = code[80];
        else code[80] = code[75];
    }
    for (const KeyInfo& gk : kb.Gest) {
        const std::uint32_t c = Code(env, gk);
        if (c != kNoDeviceCode && gk.nMatrixInx >= 0 && gk.nMatrixInx < kKbConfigKeys)
            code[static_cast<std::size_t>(gk.nMatrixInx)] = c;
    }

    // Macro slots, keys first then gesture keys; slots are numbered in the order met.
    if (env.macros != nullptr) {
        MacroSlotAssigner slots(MacroDevice::Keyboard, *env.macros, env.limits, out.macros);
        for (int i = 0; i < kKbConfigKeys + kProfileGestKeys; ++i) {
            const bool gest = i >= kKbConfigKeys;
            const KeyInfo& key = gest ? kb.Gest[i - kKbConfigKeys] : kb.Keys[i];
            if (FunType(key.FunID) != kFunMacro) continue;
            int target = key.nMatrixInx;
            if (!gest && key.nFnInx != -1) {
                // An Fn index outside the 48 Fn keys got no code above: its slot number
                // alone would be read as a key code, so the key stays disabled.
                if (key.nFnInx < 0 || key.nFnInx >= kKbFnKeys) {
                    LogPrint("Key[0][%d]: Fn index %d has no Fn key, sent disabled", i, key.nFnInx);
                    continue;
                }
                target = kKbFnSingle + key.nFnInx;
            } else if (target < 0 || target > kMaxLed) {
                env.Box("Warning", "Matrix inx warning");
                continue;
            }
            (void)slots.Assign(FunctionOf(key), 0, i, code[static_cast<std::size_t>(target)]);
        }
        out.macro_keys = slots.KeysWithSlot();
    }

    LogPrint("Gest------");
    for (const KeyInfo& gk : kb.Gest) {
        if (gk.nMatrixInx >= 0 && gk.nMatrixInx < kKbMatrixCodes)
            LogPrint("Matrix[%d] = 0x%08x", gk.nMatrixInx, code[static_cast<std::size_t>(gk.nMatrixInx)]);
    }
}

void EqualizeKbArrowCodes(std::array<std::uint32_t, kKbMatrixCodes>& codes) {
    for (std::size_t from : {79u, 75u, 80u}) {
        if (codes[from] != 0) {
            codes[75] = codes[79] = codes[80] = codes[from];
            return;
        }
    }
}

std::array<std::uint8_t, kKbMatrixLen> EncodeKbMatrix(const std::array<std::uint32_t, kKbMatrixCodes>& codes) {
    std::array<std::uint8_t, kKbMatrixLen> out{};
    ByteWriter w(out);
    for (std::size_t i = 0; i < codes.size(); ++i) w.be32(4 * i, codes[i]);
    return out;
}

bool KbGetProfile(const ApplyEnv& env, std::span<std::uint8_t, kKbHeaderLen> h) {
    const std::array<std::uint8_t, kKbRequestLen> req{kKbReadHeader, 0, 0, 0, 0, 0};
    if (!env.io->SetReport(kKbRequestId, req)) return false;
    env.Sleep(10);
    KbBlock answer{};
    if (!env.io->GetReport(kKbBlockId, answer) || answer[0] != kKbReadHeader) return false;
    std::copy_n(answer.begin() + 7, kKbHeaderLen, h.begin());
    return true;
}

bool KbSetProfile(const ApplyEnv& env, std::span<const std::uint8_t, kKbHeaderLen> h) {
    return env.io->SetReport(kKbBlockId, KbCommandBlock(kKbCmdHeader, 0, h));
}

int ApplyKeyboard(const ApplyEnv& env, const KeyboardProtoDesc& d, const ProfileData& p, ProgressSink* sink,
                  std::uint32_t flags, std::int32_t& bReset) {
    if (p.dwProfileID == 0 || env.io == nullptr) return 0;
    if (sink == nullptr) LogPrint("ApplySetting: hWnd=0");
    const KbProfile& kb = p.Kb;
    int result = 0;
    bool stop = false;
    // One failed step: with GoWithNoDev it is only logged; otherwise the apply ends.
    auto failed = [&](const char* what) {
        LogPrint("%s, err=0x%x", what, static_cast<unsigned>(env.io->LastError()));
        stop = !env.bGoWithNoDev;
    };

    PostProgress(sink, 20);
    std::array<std::uint8_t, kKbHeaderLen> h{};
    if (flags & kKbApplyHeader) {
        if (!KbGetProfile(env, h)) failed("GetProfile error");
        if (!stop) {
            if (env.bDetailedLog) {
                LogHexDump(std::span(h).first(8), 8, "Cfg(Load-Global): ");
                LogHexDump(std::span(h).subspan(kHeaderProfile, kProfilePartLen), 8, "Cfg(Load-Pro1): ");
            }
            env.Sleep(10);
            // The device takes the new effect settings only after this pass.
            std::array<std::uint8_t, kKbHeaderLen> pass = h;
            pass[13] = 0;
            pass[14] = 0;
            (void)KbSetProfile(env, pass);
            env.Sleep(10);
            EncodeKbHeader(h, kb, d, bReset != 0);
            if (!PerKeyMode(kb, d)) {
                const auto table = BuildKbColourTable(kb, d);
                LogHexDumpGrouped("rgbTab: ", table, 21, 3);
                std::array<std::uint8_t, 21 + kKbColourTableLen> data{};
                std::copy(table.begin(), table.end(), data.begin() + 21);
                if (!env.io->SetReport(kKbBlockId, KbCommandBlock(kKbCmdColours, 0xA8, data)))
                    failed("SetProfile error");
                env.Sleep(10);
            }
            if (!stop) PostProgress(sink, 40);
        }
    }

    if (!stop) {
        for (const KbLedTransfer& t : KbLedTransfers(kb, d, flags)) {
            const auto buf = BuildKbLedTransfer(kb, d, t.first_group, env.codec);
            if (env.bDetailedLog) {
                LogPrint("ColorGroup[%d]: Addr=%x", t.first_group, t.addr);
                LogHexDump(buf, 132, nullptr);
            }
            if (!env.io->SetReport(kKbBlockId, KbCommandBlock(kKbCmdLed, t.addr, buf))) {
                LogPrint("SetLedMatrix(0x%X), err=0x%x", t.addr, static_cast<unsigned>(env.io->LastError()));
                stop = !env.bGoWithNoDev;
            }
            env.Sleep(15);
            if (stop) break;
        }
    }

    if (!stop && (flags & kKbApplyKeys)) {
        KbMatrix mx;
        FillMatrix(kb, d, env, mx);
        const int blocks = std::min(4, (mx.macro_keys + 7) / 8);
        for (int i = 0; i < blocks && !stop; ++i) {
            const auto addr = U8(0xCCu + 4u * static_cast<std::uint32_t>(i));
            LogPrint("Macro(0x%X):", addr);
            const auto part = std::span(mx.macros).subspan(1024 * static_cast<std::size_t>(i), 1024);
            // The detailed log shows the first 1024 bytes whichever block is sent.
            if (env.bDetailedLog) LogHexDump(std::span(mx.macros).first(1024), 128, nullptr);
            if (!env.io->SetReport(kKbBlockId, KbCommandBlock(kKbCmdMacro, addr, part))) {
                LogPrint("SetMacroData(%x) error, err=0x%x", addr, static_cast<unsigned>(env.io->LastError()));
                stop = !env.bGoWithNoDev;
            }
            env.Sleep(15);
        }
        if (!stop) {
            if (env.bDetailedLog) {
                // The codes as built, in memory order (little-endian), before the copy
                // between 75, 79 and 80.
                std::array<std::uint8_t, kKbMatrixLen> le{};
                ByteWriter lw(le);
                for (std::size_t k = 0; k < mx.codes.size(); ++k) lw.le32(4 * k, mx.codes[k]);
                LogPrint("Key Matrix----------------------------");
                LogHexDump(std::span(le).first(528), 32, nullptr);
                LogPrint("Fn Matrix (Single key func)----------------------------");
                LogHexDump(std::span(le).subspan(528, 192), 32, nullptr);
                LogPrint("Fn Matrix (Fn Combo key func)----------------------------");
                LogHexDump(std::span(le).subspan(720, 192), 32, nullptr);
            }
            EqualizeKbArrowCodes(mx.codes);
            const auto& c = mx.codes;
            LogPrint("Matrix[79]=0x%08x(|), Matrix[88]=0x%08x(<>)", c[79], c[88]);
            LogPrint("Matrix[%d]=0x%08x, Matrix[%d]=0x%08x", 81, c[81], 130, c[130]);
            LogPrint("LCtrl=0x%08x, LWin=0x%08x, LAlt=0x%08x, LShift=0x%08x", c[5], c[11], c[17], c[4]);
            const auto bytes = EncodeKbMatrix(c);
            if (!env.io->SetReport(kKbBlockId, KbCommandBlock(kKbCmdMatrix, 0xC8, bytes)))
                failed("SetKeyMatrix error");
            env.Sleep(10);
        }
    }

    if (!stop && (flags & kKbApplyHeader)) {
        if (env.bDetailedLog) {
            LogHexDump(std::span(h).first(8), 8, "Cfg(Save-Global): ");
            LogHexDump(std::span(h).subspan(kHeaderProfile, kProfilePartLen), 8, "Cfg(Save-Pro1): ");
        }
        if (!KbSetProfile(env, h)) failed("SetProfile error");
        env.Sleep(10);
    }
    if (!stop) result = 1;

    bReset = 0;
    if (sink != nullptr) {
        PostProgress(sink, 100);
        env.Sleep(500);
    }
    env.Sleep(20);
    return result;
}

}  // namespace quobel
