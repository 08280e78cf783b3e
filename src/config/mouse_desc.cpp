// Reading [MS] and [SENSOR_n], the current sensor, and the button list layout.
#include "config/mouse_desc.h"

#include <algorithm>
#include <array>
#include <string>

#include "base/int_math.h"
#include "base/reporter.h"
#include "config/config.h"
#include "config/desc_common.h"
#include "config/device_readers.h"
#include "config/value_parsers.h"

namespace quobel {
namespace {

using desc::Fmt;
using desc::Value;

constexpr std::string_view kMs = "MS";
constexpr std::size_t kShortValue = 49;   // keys read into 50-character buffers
constexpr std::size_t kDpiSetChars = 779;
constexpr std::size_t kDpiCodeChars = 519;
constexpr std::size_t kListChars = 1023;

constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kGreen = Rgb(0, 255, 0);
constexpr Colour kBlue = Rgb(0, 0, 255);
constexpr Colour kWhite = Rgb(255, 255, 255);

constexpr std::array<Colour, 7> kDefTail = {kRed, kBlue, kWhite, kGreen, Rgb(128, 0, 255), Rgb(250, 3, 106),
                                            Rgb(250, 198, 3)};
constexpr std::array<Colour, 7> kDefLedColours = {kRed, kBlue, kGreen, Rgb(128, 0, 255), Rgb(250, 198, 3),
                                                  Rgb(250, 3, 106), Rgb(250, 0, 250)};
constexpr std::array<Colour, kGunColors> kDefGunColours = {kRed, kBlue, kGreen, Rgb(0, 255, 255),
                                                           Rgb(255, 0, 255), Rgb(255, 255, 0), kWhite};
constexpr std::array<std::uint8_t, kGunValues> kDefGunValues = {13, 40, 10, 11, 45, 10, 11, 41, 10, 11, 0,
                                                                10, 12, 44, 10, 12, 0,  10, 8,  0,  8};
constexpr std::array<Colour, kSensorDpiLevels> kDefDpiColours = {kRed, kBlue, kGreen, Rgb(0, 255, 255),
                                                           Rgb(255, 0, 255), kWhite};

// bSpeed, bBright, bDir, bCheck, nColorNum of effects 1 to 12.
constexpr std::array<std::array<std::uint8_t, 5>, 12> kDefLedOpt = {{
    {1, 0, 1, 0, 0}, {0, 1, 0, 0, 1}, {1, 0, 0, 0, 7}, {1, 0, 0, 0, 0}, {1, 0, 0, 0, 0}, {0, 0, 0, 0, 7},
    {0, 0, 0, 0, 2}, {1, 0, 0, 1, 7}, {1, 0, 1, 0, 0}, {1, 0, 0, 0, 0}, {1, 0, 0, 0, 0}, {0, 0, 0, 0, 0},
}};

std::uint16_t Low16(std::int32_t v) { return static_cast<std::uint16_t>(v); }

void ReadLedOpts(const IniFile& ini, MsDevCfg& ms) {
    for (std::size_t i = 0; i < kDefLedOpt.size(); ++i) {
        MsLedOpt& o = ms.LedOpt[i];
        const auto& d = kDefLedOpt[i];
        o = {d[0], d[1], d[2], d[3], d[4], kDefLedColours};
    }
    for (int n = 1; n <= kMsLedEffects; ++n) {
        const std::string v = Value(ini, kMs, Fmt("LedOpt%d", n), kListChars);
        if (v.empty()) continue;
        std::array<std::uint8_t, 26> b{};
        const int got = ParseByteList(v, 10, b, 26);
        MsLedOpt& o = ms.LedOpt[static_cast<std::size_t>(n - 1)];
        o.bSpeed = b[0];
        o.bBright = b[1];
        o.bDir = b[2];
        o.bCheck = b[3];
        // The page shows this many of the seven swatches.
        o.nColorNum = std::min<std::int32_t>(b[4], static_cast<std::int32_t>(o.clrDef.size()));
        if (got > 5) {
            for (std::size_t c = 0; c < o.clrDef.size(); ++c) {
                o.clrDef[c] = Rgb(b[5 + 3 * c], b[6 + 3 * c], b[7 + 3 * c]);
            }
        }
    }
}

void ReadPickColors(const IniFile& ini, MsDevCfg& ms) {
    const std::string v = Value(ini, kMs, "PickColor", kListChars);
    if (v.empty()) {
        const std::array<Colour, 7> def = {kRed, kGreen, kBlue, Rgb(0, 255, 255), Rgb(255, 255, 0),
                                           Rgb(255, 0, 255), kWhite};
        for (std::size_t i = 0; i < def.size(); ++i) {
            ms.PickColor[i] = {def[i], static_cast<std::int32_t>(i + 1)};
        }
        return;
    }
    std::array<std::uint8_t, 128> b{};
    const int got = ParseByteList(v, 10, b, 128);
    for (std::size_t i = 0; i < ms.PickColor.size() && static_cast<int>(4 * i + 3) <= got; ++i) {
        const Colour c = Rgb(b[4 * i], b[4 * i + 1], b[4 * i + 2]);
        if (c == 0) break;
        ms.PickColor[i] = {c, b[4 * i + 3]};
    }
}

// One K<button>_<mode> value into e; false when the value does not hold four numbers.
bool ReadMouseKey(const std::string& v, const MsDevCfg& ms, KeyInfo& e, std::string_view key,
                  Reporter& reporter) {
    std::array<std::int32_t, 4> n{};
    if (v.empty() || ParseNumberList(v, 16, n, 4) < 4) return false;
    const auto type = static_cast<std::uint32_t>(n[0]) & 0xFF;
    const auto code = static_cast<std::uint32_t>(n[1]) & 0xFF;
    const auto param = static_cast<std::uint32_t>(n[2]);
    e.FunID = MakeFunID(type, code);
    e.nMatrixInx = n[3] & 0xFF;
    if (type == kFunSpecial && (code == kCodeFire || code == kCodeDpiLock || code == kCodeRawParam)) {
        SetKeyParam(e, param);
    } else if (type == kFunSpecial && code == kCodeGun) {
        std::uint32_t p = param;
        if ((p >> 16) == 0) {
            // Gun preset: low nibble the gun, next nibble its sight.
            const std::uint32_t at = (p & 0xF) * 3 + ((p >> 4) & 0xF);
            if (at < ms.byGunValue.size()) {
                p |= std::uint32_t{ms.byGunValue[at]} << 16;
            } else {
                reporter.Report("Error", Fmt("Wrong gun preset 0x%x in %.*s", p, static_cast<int>(key.size()),
                                             key.data()));
            }
        }
        SetKeyParam(e, p);
    } else if (type == kFunKeyCombo) {
        e.FunID = MakeFunID(kFunKeyCombo, kCodeKeyWithMod);
        e.byVk = static_cast<std::uint8_t>(code);
        e.byModifier = static_cast<std::uint8_t>(param & 0x0F);
    } else if (type == kFunMsExtra) {
        if (code <= 2) {
            SetKeyParam(e, ms.dwExKey[code]);
            if (ms.dwExKey[code] == 0) reporter.Report("Error", "UnSet ExKey Value");
        } else {
            reporter.Report("Error", "Wrong ExKey Index");
        }
    }
    return true;
}

void ReadSensorSection(const IniFile& ini, int index, Config& config, Reporter& reporter) {
    MsDevCfg& ms = config.gVar.MsDev;
    SensorCfg& s = ms.Sensors[static_cast<std::size_t>(index)];
    s = SensorCfg{};
    const std::string sec = Fmt("SENSOR_%d", index + 1);

    s.nSensor = ini.GetInt(sec, "Sensor", 0);
    if (s.nSensor == 0) return;
    SensorDpi* dpi = FindSensorDpi(config.SensorDpiList, s.nSensor);
    if (dpi == nullptr || dpi->nNum < 1) {
        reporter.Report("Error", Fmt("Error, Sensor vaulue of %s section is 0x%x", sec.c_str(),
                                     static_cast<unsigned>(s.nSensor)));
        return;
    }

    s.dwRate[0] = static_cast<std::uint32_t>(ini.GetInt(sec, "RATE1", 0x125));
    s.dwRate[1] = static_cast<std::uint32_t>(ini.GetInt(sec, "RATE2", 0x250));
    s.dwRate[2] = static_cast<std::uint32_t>(ini.GetInt(sec, "RATE3", 0x500));
    s.dwRate[3] = static_cast<std::uint32_t>(ini.GetInt(sec, "RATE4", 0x1000));
    const std::int32_t dr = ini.GetInt(sec, "DR", 0x500);
    s.dwDefRate[0] = static_cast<std::uint32_t>(dr);
    s.dwDefRate[1] = static_cast<std::uint32_t>(ini.GetInt(sec, "DR_2", dr));
    s.dwDefRate[2] = static_cast<std::uint32_t>(ini.GetInt(sec, "DR_3", dr));
    s.nDpiNum = ini.GetInt(sec, "DM", 6);
    if (s.nDpiNum < 0 || s.nDpiNum > kSensorDpiLevels) {
        // Every level table holds ten entries; a larger count would run past them.
        reporter.Report("Warning", Fmt("DM of %s section is %d, not 0..%d", sec.c_str(), s.nDpiNum, kSensorDpiLevels));
        s.nDpiNum = std::clamp(s.nDpiNum, 0, kSensorDpiLevels);
    }
    s.nDpiH = ini.GetInt(sec, "DPIH", 10);
    s.nDefLevel = ini.GetInt(sec, "DEFLEVEL", -1);

    // DPISET replaces the steps of this sensor for the whole configuration.
    if (const std::string v = Value(ini, sec, "DPISET", kDpiSetChars); !v.empty()) {
        dpi->nDpi.fill(0);
        dpi->nNum = ParseNumberList(v, 10, dpi->nDpi, kMaxDpiSteps);
    }
    const auto steps = static_cast<std::size_t>(dpi->nNum);
    if (const std::string v = Value(ini, sec, "DPIHW", kDpiCodeChars); !v.empty()) {
        dpi->byHw.fill(0);
        if (ParseByteList(v, 10, dpi->byHw, kMaxDpiSteps) != dpi->nNum) {
            reporter.Report("Warning", "DPISET Num != DPIHW Num");
        }
    } else {
        dpi->byHw.fill(0);
        for (std::size_t k = 0; k < steps; ++k) dpi->byHw[k] = static_cast<std::uint8_t>(k + 1);
    }
    if (ms.bySnipMenu[0] != 0) {
        if (const std::string v = Value(ini, sec, "DPILK", kDpiCodeChars); !v.empty()) {
            dpi->byLk.fill(0);
            if (ParseByteList(v, 10, dpi->byLk, kMaxDpiSteps) != dpi->nNum) {
                reporter.Report("Warning", "DPISET Num != DPILK Num");
            }
        } else {
            dpi->byLk.fill(0);
            for (std::size_t k = 0; k < steps; ++k) dpi->byLk[k] = static_cast<std::uint8_t>(k + 1);
        }
    }

    std::array<std::int32_t, kSensorDpiLevels> levels{};
    const int given = ParseNumberList(Value(ini, sec, "DPI", kListChars), 10, levels, kSensorDpiLevels);
    if (given == s.nDpiNum) {
        s.nDefDpi = levels;
    } else {
        if (given > 0) reporter.Report("Warning", "DPI != DM.");
        if (const auto def = BuiltinDefaultLevels(s.nSensor)) s.nDefDpi = *def;
    }
    for (int l = 0; l < s.nDpiNum; ++l) {
        const std::int32_t d = s.nDefDpi[static_cast<std::size_t>(l)];
        if (DpiStepIndex(*dpi, d) < 0) reporter.Report("Warning", Fmt("Wrong default dpi value: %d", d));
    }

    s.clrDefDpi = kDefDpiColours;
    std::array<std::uint8_t, 3 * kSensorDpiLevels> rgb{};
    if (ParseByteList(Value(ini, sec, "DC", kListChars), 10, rgb, 3 * kSensorDpiLevels) == 3 * s.nDpiNum) {
        for (std::size_t l = 0; l < static_cast<std::size_t>(s.nDpiNum); ++l) {
            s.clrDefDpi[l] = Rgb(rgb[3 * l], rgb[3 * l + 1], rgb[3 * l + 2]);
        }
    }

    s.nKeyH = ini.GetInt(sec, "KEYH", 6);
    s.nMouseX = ini.GetInt(sec, "MOUSEX", 360);
    s.nMouseY = ini.GetInt(sec, "MOUSEY", 50);
    s.dwKeyMask = static_cast<std::uint32_t>(ini.GetInt(sec, "KeyMask", 0));
    const std::int32_t mdnum = ini.GetInt(sec, "MDNUM", 9);
    if (mdnum != 3 && mdnum != 6 && mdnum != 9) return;
    s.nModeNum = mdnum / 3;
    s.nKeyY = ini.GetInt(sec, "KEYY", mdnum == 3 ? 10 : 35);
    const std::int32_t km = ini.GetInt(sec, "KM", 14);
    if (km % 2 != 0 || km / 2 < 1 || km / 2 > kMaxMouseKeys) return;
    s.nKeyNum = km / 2;

    for (std::size_t m = 0; m < kMouseModes; ++m) {
        MouseKeyTable table{};
        int read = 0;
        for (int k = 1; k <= kMaxMouseKeys; ++k) {
            const std::string key = Fmt("K%d_%d", k, static_cast<int>(m + 1));
            if (ReadMouseKey(Value(ini, sec, key, kShortValue), ms, table[static_cast<std::size_t>(k - 1)], key,
                             reporter)) {
                ++read;
            }
        }
        if (read > 0) {
            if (read < s.nKeyNum) reporter.Report("Error", "Key num to small");
            s.DefKeys[m] = table;
        } else if (m > 0) {
            s.DefKeys[m] = s.DefKeys[0];
        }
    }

    for (int k = 1; k <= kMaxMouseKeys; ++k) {
        const std::string v = Value(ini, sec, Fmt("Mark%d", k), kShortValue);
        if (v.empty()) continue;
        std::array<std::int32_t, 4> r{};
        if (ParseNumberList(v, 10, r, 4) < 4) {
            reporter.Report("Error", "Mark value error");
            continue;
        }
        s.rcMark[static_cast<std::size_t>(k - 1)] = {r[0], r[1], SumClamped(r[0], r[2]), SumClamped(r[1], r[3])};
    }
}

}  // namespace

int SnipMenuEntryCount(const MsDevCfg& ms) {
    if (ms.bySnipMenu[0] == 0) return 0;
    return std::min<int>(ms.bySnipMenu[1], kSnipMenuBytes - 2);
}

const SensorCfg* FindSensor(const MsDevCfg& ms, std::int32_t nSensor) {
    for (const SensorCfg& s : ms.Sensors) {
        if (s.nSensor != 0 && s.nSensor == nSensor) return &s;
    }
    return nullptr;
}

bool SetCurSensor(Config& config, std::int32_t nSensor, Reporter& reporter) {
    MsDevCfg& ms = config.gVar.MsDev;
    ms.nCurSensor = nSensor;
    config.nSensorCfgInx = -1;
    if (const SensorCfg* s = FindSensor(ms, nSensor)) {
        config.nSensorCfgInx = static_cast<int>(s - ms.Sensors.data());
        return true;
    }
    reporter.Report("Error", Fmt("set_cur_sensor:  pSensorCfg=null for 0x%04x", static_cast<unsigned>(nSensor)));
    return false;
}

void BuildSensorTable(Config& config) { config.SensorDpiList = BuiltinSensorTable(); }

void ReadMouseDescription(const IniFile& ini, Config& config, Reporter& reporter) {
    MsDevCfg& ms = config.gVar.MsDev;
    ms = MsDevCfg{};
    ms.wVid = Low16(ini.GetInt(kMs, "VID", 0));
    ms.wPid = Low16(ini.GetInt(kMs, "PID", 0));
    ms.szUsbString = ini.GetString(kMs, "USBString", "", 30);
    ms.wPop = Low16(ini.GetInt(kMs, "Pop", 0));
    ms.dwLedMask = static_cast<std::uint32_t>(ini.GetInt(kMs, "LedMask", 0));
    ms.bShowEffect = ini.GetInt(kMs, "ShowEffect", 0);
    (void)ini.GetInt(kMs, "LedInd", 1);  // accepted for older files, no effect
    ms.bShowDpiColor = ini.GetInt(kMs, "ShowDpiColor", 1);
    ms.bShowDpiCheck = ini.GetInt(kMs, "ShowDpiCheck", 1);
    ms.bShowUsbRate = ini.GetInt(kMs, "ShowUsbRate", 1);
    ms.bShowXY = ini.GetInt(kMs, "ShowXY", 1);
    ms.nModeSp = ini.GetInt(kMs, "ModeSp", 90);
    const std::int32_t led = ini.GetInt(kMs, "ShowLED", 255);
    ms.nShowLed = led == 255 ? std::array<std::int32_t, 2>{1, 0}
                             : std::array<std::int32_t, 2>{led & 0xFF, (led >> 8) & 0xFF};
    ms.bShowMedia = ini.GetInt(kMs, "ShowMedia", 1);
    ms.bAutoSwitch = ini.GetInt(kMs, "AutoSw", 0);
    ms.bRgbSW = ini.GetInt(kMs, "RgbSW", 0);
    ms.nPopByte1 = ini.GetInt(kMs, "PopByte1", 0);
    ms.bModeSWBySw = ini.GetInt(kMs, "ModeSWBySw", 0);
    ms.bShowOnlyModeString = ini.GetInt(kMs, "ShowOnlyModeString", 0);
    ms.nHandOft = ini.GetInt(kMs, "HandOft", 51);
    ms.bKeyCodeHasIndex = ini.GetInt(kMs, "KeyCodeHasIndex", 1);
    ms.nEnhancePrecision = ini.GetInt(kMs, "EnhancePrecision", -1);
    if (ms.bShowEffect != 0) {
        std::array<Colour, 7> tail{};
        ms.clrEffectTail = ParseColourList(Value(ini, kMs, "clrEffectTail", kListChars), tail) > 0 ? tail : kDefTail;
    }
    ms.bSingleFlowRGB = ini.GetInt(kMs, "SingleFlowRGB", 0);
    std::array<std::uint8_t, 3> grid{0, 1, 2};
    ParseByteList(Value(ini, kMs, "GridRGBIndex", kListChars), 10, grid, 3);
    ms.nGridRGBIndex = {grid[0], grid[1], grid[2]};
    ms.nGunOption = ini.GetInt(kMs, "GunOption", 0);
    ms.clrChijiBkg = ReadColour(ini, kMs, "clrChijiBkg", Rgb(4, 106, 157));
    ms.dwShowEx = static_cast<std::uint32_t>(ini.GetInt(kMs, "ShowEx", 0x10101));
    ms.dwExKey[0] = static_cast<std::uint32_t>(ini.GetInt(kMs, "ExKey1", 0));
    ms.dwExKey[1] = static_cast<std::uint32_t>(ini.GetInt(kMs, "ExKey2", 0));
    ms.dwExKey[2] = static_cast<std::uint32_t>(ini.GetInt(kMs, "ExKey3", 0));

    ReadLedOpts(ini, ms);

    std::array<std::int32_t, 20> param{};
    ParseNumberList(Value(ini, kMs, "LedParam", kListChars), 16, param, 20);
    for (std::size_t i = 0; i < param.size(); ++i) ms.dwLedParam[i] = static_cast<std::uint32_t>(param[i]);
    ParseByteList(Value(ini, kMs, "SnipMenu", kShortValue), 10, ms.bySnipMenu, kSnipMenuBytes);
    if (ms.bySnipMenu[1] > 15) reporter.Report("Error", "Dpi lock menus > 15");

    ReadPickColors(ini, ms);

    if (config.gVar.nMsFw == 10) {
        std::array<Colour, 7> guns{};
        ms.clrGun = ParseColourList(Value(ini, kMs, "GunColor", kListChars), guns) > 0 ? guns : kDefGunColours;
        const std::string v = Value(ini, kMs, "GunValue", kListChars);
        ms.byGunValue = kDefGunValues;
        if (!v.empty()) {
            std::array<std::uint8_t, kGunValues + 1> b{};
            const int got = ParseByteList(v, 10, b, kGunValues + 1);
            std::copy_n(b.begin(), std::min(got, kGunValues), ms.byGunValue.begin());
            if (got != kGunValues) reporter.Report("Error", "GunValue number!=21");
        }
    }

    const std::int32_t cur = ini.GetInt(kMs, "Sensor", 0x3050);
    for (int i = 0; i < kMaxSensorCfgs; ++i) ReadSensorSection(ini, i, config, reporter);
    SetCurSensor(config, cur, reporter);
}

void LayoutButtonLists(Config& config, Reporter& reporter) {
    config.DefKeyTable = {};
    const SensorCfg* s = config.pSensorCfg();
    // Without a current sensor there are no buttons to lay out.
    if (s == nullptr) return;
    config.DefKeyTable = s->DefKeys;
    for (MouseKeyTable& mode : config.DefKeyTable) {
        for (int k = 0; k < kMaxMouseKeys; ++k) {
            const std::int32_t y = SumClamped(s->nKeyY, std::int64_t{k} * (std::int64_t{s->nKeyH} + 25));
            mode[static_cast<std::size_t>(k)].rcKey = {45, y, 224, SumClamped(y, 25)};
        }
    }
    for (std::size_t k = 0; k < kMaxMouseKeys; ++k) {
        const std::int32_t m1 = config.DefKeyTable[0][k].nMatrixInx;
        const std::int64_t avg =
            (std::int64_t{m1} + config.DefKeyTable[1][k].nMatrixInx + config.DefKeyTable[2][k].nMatrixInx) / 3;
        if (m1 != avg) reporter.Report("Warning", "Matrix index repeat");
    }
}

}  // namespace quobel
