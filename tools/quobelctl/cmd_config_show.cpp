// quobelctl config show: the configuration as the program sees it after reading.
//
// One document describes it (options, mouse with its sensors and laid-out buttons,
// keyboard keys with their Fn layer, gesture keys, colour groups, pad); --json prints
// it as JSON, otherwise it is printed as indented text.

#include <cstdio>
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "commands.h"
#include "config/device_readers.h"
#include "json_text.h"
#include "profile_view.h"

namespace quobel::ctl {
namespace {

using Json = nlohmann::ordered_json;

Json RectJson(const Rect& r) { return Json::array({r.left, r.top, r.right, r.bottom}); }
Json PointJson(const Point& p) { return Json::array({p.x, p.y}); }

template <class Range>
Json Colours(const Range& r, std::size_t n) {
    Json a = Json::array();
    for (std::size_t i = 0; i < n && i < std::size(r); ++i) a.push_back(ColourText(r[i]));
    return a;
}

template <class Range>
Json Numbers(const Range& r) {
    Json a = Json::array();
    for (const auto v : r) a.push_back(v);
    return a;
}

// One function as stored in a key entry.
Json FunctionJson(const KeyFunction& f) {
    Json j;
    j["funId"] = Hex(f.FunID, 8);
    j["type"] = FunType(f.FunID);
    j["code"] = Hex(FunCode(f.FunID));
    if (f.byModifier != 0) j["modifier"] = Hex(f.byModifier, 2);
    if (f.byVk != 0) j["vk"] = Hex(f.byVk, 2);
    if (f.byModVk != 0) j["modVk"] = Hex(f.byModVk, 2);
    if (KeyParam(f) != 0) j["param"] = Hex(KeyParam(f));
    return j;
}

Json OptionsJson(const Config& c) {
    const GVar& g = c.gVar;
    Json j;
    j["title"] = g.szTitle;
    j["effectiveTitle"] = g.pszTitle;
    j["version"] = g.szVer;
    j["appdir"] = g.szAppDir;
    j["programFolder"] = c.szAppPath;
    j["dataFolder"] = c.szDataPath;
    j["debug"] = c.nDebugLevel;
    j["msFw"] = g.nMsFw;
    j["kbFw"] = g.nKbFw;
    j["padFw"] = g.nPadFw;
    j["macProtocol"] = g.nMacProtocol;
    j["goWithNoDev"] = g.bGoWithNoDev;
    j["matchString"] = g.bMatchStr;
    j["applyNow"] = g.bApplyNow;
    j["trayIcon"] = g.nTrayIcon;
    j["profileNum"] = g.nProfileNum;
    j["fontName"] = g.szFontName;
    j["fontSize"] = g.nFontSize;
    j["colours"] = {{"text", ColourText(g.clrTxt)},
                    {"buttonNormal", ColourText(g.clrBtnTxtNr)},
                    {"buttonOver", ColourText(g.clrBtnTxtOv)},
                    {"buttonDown", ColourText(g.clrBtnTxtDn)},
                    {"menuNormal", ColourText(g.clrMenuTxtNr)},
                    {"menuOver", ColourText(g.clrMenuTxtOv)},
                    {"menuDown", ColourText(g.clrMenuTxtDn)},
                    {"listBackground", ColourText(g.clrLstBoxBkg)},
                    {"listItem", ColourText(g.clrLstBoxItem)},
                    {"listTextNormal", ColourText(g.clrLstBoxTxtNr)},
                    {"listTextSelected", ColourText(g.clrLstBoxTxtDn)},
                    {"mask", ColourText(g.clrMask)},
                    {"maskMessage", ColourText(g.clrMaskMsg)},
                    {"popupBackground", ColourText(g.clrPopWndBkg)},
                    {"popupFrame", ColourText(g.clrPopWndFrame)}};
    auto folders = [](const auto& table, int n) {
        Json a = Json::array();
        for (int i = 0; i < n && i < static_cast<int>(table.size()); ++i) {
            a.push_back({{"name", table[i].szName}, {"folder", table[i].szFolder}});
        }
        return a;
    };
    j["languages"] = folders(g.LangTable, g.nLangNum);
    j["languageIndex"] = g.nLangIndex;
    j["skins"] = folders(g.SkinsTable, g.nSkinsNum);
    j["skinIndex"] = g.nSkinsIndex;
    j["macroLimits"] = {{"minDelay", c.limits.nMinDelay}, {"bufSize", c.limits.nMacroBufSize},
                        {"maxLoop", c.limits.nMaxLoop},   {"maxEvent", c.limits.nMaxEvent},
                        {"maxDelay", c.limits.nMaxDelay}, {"macroNum", c.limits.nMacroNum}};
    return j;
}

Json SensorJson(const Config& c, const SensorCfg& s, int index) {
    Json j;
    j["section"] = "SENSOR_" + std::to_string(index + 1);
    j["sensor"] = Hex(static_cast<std::uint32_t>(s.nSensor), 4);
    j["current"] = c.pSensorCfg() == &s;
    Json steps = Json::array();
    if (const SensorDpi* d = FindSensorDpi(c.SensorDpiList, s.nSensor)) {
        for (int k = 0; k < d->nNum && k < kMaxDpiSteps; ++k) {
            steps.push_back({{"dpi", d->nDpi[k]}, {"hw", d->byHw[k]}, {"lock", d->byLk[k]}});
        }
    }
    j["dpiSteps"] = steps;
    Json levels = Json::array();
    for (int l = 0; l < s.nDpiNum && l < kSensorDpiLevels; ++l) {
        levels.push_back({{"dpi", s.nDefDpi[l]}, {"colour", ColourText(s.clrDefDpi[l])}});
    }
    j["levels"] = levels;
    j["defaultLevel"] = s.nDefLevel;
    Json rates = Json::array();
    for (auto r : s.dwRate) rates.push_back(Hex(r));
    j["rates"] = rates;
    Json def_rates = Json::array();
    for (auto r : s.dwDefRate) def_rates.push_back(Hex(r));
    j["defaultRates"] = def_rates;
    j["modes"] = s.nModeNum;
    j["buttons"] = s.nKeyNum;
    j["keyY"] = s.nKeyY;
    j["keyH"] = s.nKeyH;
    j["dpiRowGap"] = s.nDpiH;
    j["mouse"] = Json::array({s.nMouseX, s.nMouseY});
    j["keyMask"] = Hex(s.dwKeyMask);
    Json marks = Json::array();
    for (int k = 0; k < s.nKeyNum && k < kMaxMouseKeys; ++k) marks.push_back(RectJson(s.rcMark[k]));
    j["marks"] = marks;
    return j;
}

Json MouseJson(const Config& c) {
    const MsDevCfg& ms = c.gVar.MsDev;
    Json j;
    j["vid"] = Hex(ms.wVid, 4);
    j["pid"] = Hex(ms.wPid, 4);
    j["usbString"] = ms.szUsbString;
    j["currentSensor"] = Hex(static_cast<std::uint32_t>(ms.nCurSensor), 4);
    j["show"] = {{"effect", ms.bShowEffect},   {"dpiColor", ms.bShowDpiColor}, {"dpiCheck", ms.bShowDpiCheck},
                 {"usbRate", ms.bShowUsbRate}, {"xy", ms.bShowXY},             {"led", Numbers(ms.nShowLed)},
                 {"media", ms.bShowMedia},     {"rgbSwitch", ms.bRgbSW},       {"extraKeys", Hex(ms.dwShowEx)}};
    j["autoSwitch"] = ms.bAutoSwitch;
    j["ledMask"] = Hex(ms.dwLedMask);
    j["gridRGBIndex"] = Numbers(ms.nGridRGBIndex);
    j["effectTail"] = Colours(ms.clrEffectTail, ms.clrEffectTail.size());
    Json leds = Json::array();
    for (const MsLedOpt& o : ms.LedOpt) {
        leds.push_back({{"speed", o.bSpeed}, {"bright", o.bBright}, {"dir", o.bDir}, {"check", o.bCheck},
                        {"colours", Colours(o.clrDef, static_cast<std::size_t>(std::clamp(o.nColorNum, 0, 7)))}});
    }
    j["ledOptions"] = leds;
    Json ledparam = Json::array();
    for (auto v : ms.dwLedParam) ledparam.push_back(Hex(v));
    j["ledParam"] = ledparam;
    Json pick = Json::array();
    for (const PickColorEntry& p : ms.PickColor) {
        if (p.clr == 0) break;
        pick.push_back({{"colour", ColourText(p.clr)}, {"code", p.nCode}});
    }
    j["pickColors"] = pick;
    Json lock = Json::array();
    for (int i = 0; i < SnipMenuEntryCount(ms); ++i) lock.push_back(ms.bySnipMenu[static_cast<std::size_t>(2 + i)]);
    j["dpiLockMenu"] = {{"offered", ms.bySnipMenu[0] != 0}, {"entries", lock}};
    Json ex = Json::array();
    for (auto v : ms.dwExKey) ex.push_back(Hex(v));
    j["extraKeys"] = ex;
    if (c.gVar.nMsFw == 10) {
        j["gunColours"] = Colours(ms.clrGun, ms.clrGun.size());
        j["gunValues"] = Numbers(ms.byGunValue);
    }
    Json sensors = Json::array();
    for (int i = 0; i < kMaxSensorCfgs; ++i) {
        if (ms.Sensors[i].nSensor != 0) sensors.push_back(SensorJson(c, ms.Sensors[i], i));
    }
    j["sensors"] = sensors;
    // The laid-out default buttons of the current sensor, per mode.
    Json modes = Json::array();
    if (const SensorCfg* s = c.pSensorCfg()) {
        for (int m = 0; m < s->nModeNum && m < kMouseModes; ++m) {
            Json buttons = Json::array();
            for (int k = 0; k < s->nKeyNum && k < kMaxMouseKeys; ++k) {
                const KeyInfo& key = c.DefKeyTable[m][k];
                Json b = {{"button", k + 1}, {"rect", RectJson(key.rcKey)}, {"matrix", key.nMatrixInx}};
                b.update(FunctionJson(FunctionOf(key)));
                buttons.push_back(b);
            }
            modes.push_back({{"mode", m + 1}, {"buttons", buttons}});
        }
    }
    j["modes"] = modes;
    return j;
}

Json KeyboardJson(const Config& c) {
    const KbDevCfg& kb = c.gVar.KbDev;
    Json j;
    j["vid"] = Hex(kb.wVid, 4);
    j["pid"] = Hex(kb.wPid, 4);
    j["usbString"] = kb.szUsbString;
    j["picture"] = RectJson(kb.rcKB);
    j["keyCount"] = kb.nKeyCount;
    j["maxEffectKeyIndex"] = kb.nMaxEftKeyIndex;
    j["ledMask"] = Hex(kb.dwLedMask);
    j["showEffect"] = Hex(static_cast<std::uint32_t>(kb.nShowEffect));
    j["keyOver"] = ColourText(kb.clrKeyOv);
    j["keyDown"] = ColourText(kb.clrKeyDn);
    j["effectNum"] = kb.byEffectNum;
    j["effectOffset"] = kb.byEffectOffset;
    j["effectBase"] = kb.byEffectBase;
    j["rgbIndex"] = Numbers(kb.byRGBIndex);
    Json leds = Json::array();
    for (int e = 0; e < UsableEffectNum(kb); ++e) {
        const KbLedOpt& o = kb.LedOpt[static_cast<std::size_t>(e)];
        leds.push_back({{"effect", e + 1},
                        {"code", o.nEffectCode},
                        {"speed", o.bSpeed},
                        {"bright", o.bBright},
                        {"dir", o.bDir},
                        {"check", o.bCheck},
                        {"color", o.bColor},
                        {"defaultBytes", Json::array({kb.byLEDParam[2 * e], kb.byLEDParam[2 * e + 1]})}});
    }
    j["effects"] = leds;
    Json keys = Json::array();
    for (int i = 0; i < kb.nKeyCount && i < kDefKeySlots; ++i) {
        const KeyInfo& k = c.g_defKEY[static_cast<std::size_t>(i)];
        Json key = {{"slot", i + 1}, {"rect", RectJson(k.rcKey)}};
        key.update(FunctionJson(FunctionOf(k)));
        key["matrix"] = k.nMatrixInx;
        key["led"] = k.nLedInx;
        key["fnIndex"] = k.nFnInx;
        if (k.FnFun.FunID != 0) key["fn"] = FunctionJson(k.FnFun);
        keys.push_back(key);
    }
    j["keys"] = keys;
    if (kb.UnRectKey.nPointNum > 0) {
        Json outline = Json::array();
        for (int p = 0; p < kb.UnRectKey.nPointNum && p < kUnRectPoints; ++p) {
            outline.push_back(PointJson(kb.UnRectKey.ptOutline[static_cast<std::size_t>(p)]));
        }
        j["outlineKey"] = {{"slot", kb.UnRectKey.nKeyId}, {"outline", outline}};
    }
    Json gest = Json::array();
    for (int i = 0; i < kGestTableKeys; ++i) {
        const KeyInfo& k = c.GestTable[static_cast<std::size_t>(i)];
        if (k.FunID == 0) continue;
        Json g = {{"index", i + 1}, {"matrix", k.nMatrixInx}};
        g.update(FunctionJson(FunctionOf(k)));
        gest.push_back(g);
    }
    j["gestures"] = gest;
    Json groups = Json::array();
    const std::span<const KeyInfo> table(c.g_defKEY.data(), static_cast<std::size_t>(std::clamp(kb.nKeyCount, 0, 150)));
    for (int g = 0; g < kb.byGaoshouGroupNum && g < kMaxColorGroups; ++g) {
        Json members = Json::array();
        for (std::uint8_t code : kb.byGaoshouKey[static_cast<std::size_t>(g)]) {
            if (code != 0) members.push_back({{"vk", Hex(code, 2)}, {"matrix", MatrixIndexOfKeyCode(table, code)}});
        }
        groups.push_back({{"group", g + 1}, {"keys", members}});
    }
    j["colourGroups"] = groups;
    j["groupColour"] = ColourText(kb.clrGaoshou);
    j["editableGroups"] = Numbers(kb.byCustomGp);
    return j;
}

Json PadJson(const Config& c) {
    const PadDevCfg& pad = c.gVar.PadDev;
    const PadStrip strip = PadStripBands(pad);
    Json ledparam = Json::array();
    for (auto v : pad.dwLedParam) ledparam.push_back(Hex(v));
    return {{"vid", Hex(pad.wVid, 4)},
            {"pid", Hex(pad.wPid, 4)},
            {"showEffect", pad.bShowEffect},
            {"ledMask", Hex(pad.dwLedMask)},
            {"page", PointJson(pad.ptPadDlg)},
            {"ledParam", ledparam},
            {"strip",
             {{"corner1", PointJson(pad.ptEft1)},
              {"corner2", PointJson(pad.ptEft2)},
              {"width", pad.nEftGridW},
              {"top", RectJson(strip.rcTop)},
              {"left", RectJson(strip.rcLeft)},
              {"bottom", RectJson(strip.rcBottom)},
              {"right", RectJson(strip.rcRight)}}}};
}

bool IsFlat(const Json& v) {
    for (const Json& e : v) {
        if (e.is_array() ? !IsFlat(e) : e.is_object()) return false;
    }
    return true;
}

std::string Inline(const Json& v) {
    if (v.is_string()) return v.get<std::string>();
    if (!v.is_structured()) return v.dump();
    std::string s;
    for (auto it = v.begin(); it != v.end(); ++it) {
        if (!s.empty()) s += " ";
        if (v.is_object()) s += it.key() + "=";
        s += it->is_object() ? "{" + Inline(*it) + "}" : Inline(*it);
    }
    return v.is_array() ? "[" + s + "]" : s;
}

// Records whose fields are all plain (or lists of plain values, or small records)
// fit on one line.
bool OneLine(const Json& record) {
    for (const Json& e : record) {
        if (e.is_array() && !IsFlat(e)) return false;
    }
    return true;
}

// Text form: objects as indented "key: value" lines, lists of records one record a
// line, and records holding lists of records as indented blocks.
void PrintText(std::ostream& out, const Json& j, int indent);

void PrintItems(std::ostream& out, const Json& list, int indent) {
    const std::string pad(static_cast<std::size_t>(indent), ' ');
    for (const Json& e : list) {
        if (e.is_object() && !OneLine(e)) {
            out << pad << "-\n";
            PrintText(out, e, indent + 2);
        } else if (e.is_array() && !IsFlat(e)) {
            out << pad << "-\n";
            PrintItems(out, e, indent + 2);
        } else {
            out << pad << "- " << Inline(e) << "\n";
        }
    }
}

void PrintText(std::ostream& out, const Json& j, int indent) {
    const std::string pad(static_cast<std::size_t>(indent), ' ');
    for (auto it = j.begin(); it != j.end(); ++it) {
        const Json& v = *it;
        if (v.is_object()) {
            out << pad << it.key() << ":\n";
            PrintText(out, v, indent + 2);
        } else if (v.is_array() && !IsFlat(v)) {
            out << pad << it.key() << ":\n";
            PrintItems(out, v, indent + 2);
        } else {
            out << pad << it.key() << ": " << Inline(v) << "\n";
        }
    }
}

nlohmann::ordered_json ConfigDocument(const Config& config) {
    Json doc;
    doc["options"] = OptionsJson(config);
    doc["mouse"] = config.gVar.nMsFw != 0 ? MouseJson(config) : Json(nullptr);
    doc["keyboard"] = config.gVar.nKbFw != 0 ? KeyboardJson(config) : Json(nullptr);
    doc["pad"] = config.gVar.nPadFw != 0 ? PadJson(config) : Json(nullptr);
    return doc;
}

}  // namespace

int ConfigShow(const Globals& g, const Args& args) {
    bool json = false;
    for (const std::string& a : args) {
        if (a == "--json") {
            json = true;
        } else {
            *g.err << "usage: quobelctl config show [--json]\n";
            return 2;
        }
    }
    auto session = std::make_unique<Session>();
    CollectingReporter reporter;
    const StartupResult result = LoadSession(g, *session, reporter);
    // Messages go to standard error so that standard output stays one document.
    for (const ReportedMessage& m : reporter.messages) *g.err << m.caption << ": " << m.text << "\n";
    if (result != StartupResult::Ready) return 1;
    const Json doc = ConfigDocument(session->config);
    if (json) {
        *g.out << DumpJson(doc) << "\n";
    } else {
        PrintText(*g.out, doc, 0);
    }
    return 0;
}

}  // namespace quobel::ctl
