#include "profile_view.h"

#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>

#include "base/utf16.h"
#include "config/key_names.h"
#include "json_text.h"
#include "profile/profile_defaults.h"

namespace quobel::ctl {
namespace {

using Json = nlohmann::ordered_json;

// A report-rate code spells the rate in hexadecimal digits.
std::string RateText(std::uint32_t code) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%x Hz", code);
    return buf;
}

class ListMacroNames final : public MacroNameSource {
public:
    explicit ListMacroNames(const MacroList& list) : list_(list) {}
    [[nodiscard]] std::optional<std::string> MacroName(std::uint32_t macro_id) const override {
        const MacroRecord* m = list_.Find(macro_id);
        if (!m) return std::nullopt;
        return FieldToUtf8(m->szName);
    }

private:
    const MacroList& list_;
};

// What a key does: its caption as the pages show it, and the raw values.
Json FunctionView(const KeyInfo& key, const Store& store) {
    const MacroList& macros = store.macros;
    const ListMacroNames names(macros);
    const CurrentSensorDpi sensor(store.config);
    Json j;
    j["caption"] = FunctionCaption(key, store.texts, &names, &sensor);
    j["function"] = Hex(key.FunID, 8);
    if (FunType(key.FunID) == kFunMacro) {
        const MacroRecord* m = macros.Find(key.MacroID);
        j["macro"] = m ? FieldToUtf8(m->szName) : Hex(key.MacroID, 6) + " (missing)";
    } else if (key.byModifier != 0 || key.byVk != 0 || key.byVk2 != 0) {
        j["modifiers"] = Hex(key.byModifier, 2);
        j["key"] = Hex(key.byVk, 2);
        if (key.byVk2 != 0) j["key2"] = Hex(key.byVk2, 2);
    }
    return j;
}

Json EffectView(const LedEffect& e, bool has_mask, bool has_index) {
    Json j;
    j["speed"] = e.nSpeed;
    j["brightness"] = e.nBright;
    j["direction"] = e.nDir;
    j["multicolour"] = e.bColorful != 0;
    Json colours = Json::array();
    for (const Colour c : e.clr) colours.push_back(ColourText(c));
    j["colours"] = colours;
    if (has_mask) j["colour_mask"] = Hex(e.dwColorMask, 2);
    if (has_index) j["colour_index"] = e.nColorIndex;
    return j;
}

template <std::size_t N>
Json LightingView(std::int32_t selected, const LedEffect (&effects)[N], bool has_mask, bool has_index) {
    Json j;
    j["effect"] = selected;
    if (selected >= 0 && static_cast<std::size_t>(selected) < N) {
        j["settings"] = EffectView(effects[selected], has_mask, has_index);
    }
    return j;
}

Json MouseView(const MsProfile& ms, const Store& store) {
    Json j;
    j["mode"] = ms.nMode + 1;
    Json modes = Json::array();
    for (int m = 0; m < kMsModes; ++m) {
        Json mode;
        mode["mode"] = m + 1;
        mode["rate"] = RateText(ms.dwRate[m]);
        Json buttons = Json::array();
        for (int b = 0; b < 10; ++b) {
            const KeyInfo& key = ms.Keys[m][b];
            Json button;
            button["button"] = b + 1;
            button.update(FunctionView(key, store));
            buttons.push_back(button);
        }
        mode["buttons"] = buttons;
        modes.push_back(mode);
    }
    j["modes"] = modes;
    Json dpi;
    dpi["sensor"] = Hex(ms.dwSensor, 4);
    dpi["xy_separate"] = ms.bXYSeparate != 0;
    Json levels = Json::array();
    for (int i = 0; i < kProfileDpiLevels; ++i) {
        const DpiLevel& d = ms.Dpi[i];
        if (d.nDpiX == 0 && d.nDpiY == 0 && d.bOff == 0) continue;
        levels.push_back(Json{{"level", i + 1}, {"x", d.nDpiX}, {"y", d.nDpiY}, {"colour", ColourText(d.clrDpi)},
                              {"on", d.bOff == 0}});
    }
    dpi["levels"] = levels;
    j["dpi"] = dpi;
    j["lighting"] = LightingView(ms.nEffect, ms.Effects, true, false);
    j["pointer"] = Json{{"wheel_lines", ms.nWheelLines},        {"double_click_ms", ms.nDblClickTime},
                        {"speed", ms.nPointerSpeed},             {"enhance_precision", ms.bEnhancePrecision != 0},
                        {"trails", ms.nTrails}};
    return j;
}

Json KeyboardView(const KbProfile& kb, const Store& store) {
    Json j;
    Json keys = Json::array();
    for (int i = 0; i < kKbConfigKeys; ++i) {
        const KeyInfo& now = kb.Keys[i];
        const KeyInfo& def = store.config.g_defKEY[static_cast<std::size_t>(i)];
        // The function part (the first 36 bytes) and the Fn layer's function.
        if (std::memcmp(&now, &def, 4) == 0 && std::memcmp(&now.MacroID, &def.MacroID, 12) == 0 &&
            std::memcmp(&now.FnFun, &def.FnFun, sizeof now.FnFun) == 0) {
            continue;
        }
        Json key;
        key["slot"] = i;
        key["matrix"] = now.nMatrixInx;
        key.update(FunctionView(now, store));
        key["default"] = Hex(def.FunID, 8);
        if (now.nFnInx >= 0 && now.FnFun.FunID != def.FnFun.FunID) key["fn_function"] = Hex(now.FnFun.FunID, 8);
        keys.push_back(key);
    }
    j["changed_keys"] = keys;
    j["lighting"] = LightingView(kb.nEffect, kb.Effects, false, true);
    Json groups = Json::array();
    for (int g = 0; g < kColourGroups; ++g) {
        if (kb.byGroupOn[g] == 0) continue;
        int lit = 0;
        for (const Colour c : kb.clrKey[g]) lit += c != 0 ? 1 : 0;
        groups.push_back(Json{{"group", g}, {"lit_keys", lit}});
    }
    j["colour_group"] = kb.nCurGameGroup;
    j["colour_groups"] = groups;
    return j;
}

}  // namespace

Json ProfileView(const ProfileData& p, const Store& store) {
    Json j;
    j["id"] = Hex(p.dwProfileID, 8);
    j["name"] = FieldToUtf8(p.szName);
    j["current"] = &p == store.profiles.Current();
    j["sound"] = FieldToUtf8(p.szSound);
    j["gun_mode"] = (p.dwFlags & kProfileFlagGun) != 0;
    unsigned parts = PartsOf(store.config);
    if (parts == 0) parts = kPartMouse | kPartKeyboard | kPartPad;
    if (parts & kPartMouse) j["mouse"] = MouseView(p.Ms, store);
    if (parts & kPartKeyboard) j["keyboard"] = KeyboardView(p.Kb, store);
    if (parts & kPartPad) j["pad"] = Json{{"lighting", LightingView(p.Pad.nEffect, p.Pad.Effects, true, false)}};
    return j;
}

Json MacroView(const MacroRecord& m, const TextTable& texts) {
    Json j;
    j["id"] = Hex(m.MacroID, 8);
    j["name"] = FieldToUtf8(m.szName);
    j["auto_delay"] = m.bAutoDelay != 0;  // packed fields are copied, never bound by reference
    j["loop_mode"] = std::uint32_t{m.nLoopMode};
    j["loop_count"] = std::uint16_t{m.nLoopCount};
    Json events = Json::array();
    for (const MacroEvent& e : m.events) {
        if (e.wKey == 0 && e.dwDelay == 0) break;
        events.push_back(Json{{"key", Hex(e.wKey, 2)},
                              {"name", KeyName(e.wKey, texts)},
                              {"press", e.wDir != 0},
                              {"delay_ms", std::uint32_t{e.dwDelay}}});
    }
    j["events"] = events;
    return j;
}

void PrintView(std::ostream& out, const Json& view, int indent) {
    const std::string pad(static_cast<std::size_t>(indent), ' ');
    auto scalar = [](const Json& v) { return v.is_string() ? v.get<std::string>() : v.dump(); };
    for (const auto& [key, value] : view.items()) {
        if (value.is_object()) {
            out << pad << key << ":\n";
            PrintView(out, value, indent + 2);
        } else if (value.is_array() && !value.empty() && value.front().is_object()) {
            out << pad << key << ":\n";
            for (const Json& item : value) {
                // One line per entry when it is flat, else a block.
                bool flat = true;
                for (const auto& [k, v] : item.items()) flat = flat && !v.is_structured();
                if (flat) {
                    out << pad << "  -";
                    for (const auto& [k, v] : item.items()) out << " " << k << "=" << scalar(v);
                    out << "\n";
                } else {
                    out << pad << "  -\n";
                    PrintView(out, item, indent + 4);
                }
            }
        } else if (value.is_array()) {
            out << pad << key << ":";
            for (const Json& v : value) out << " " << scalar(v);
            out << "\n";
        } else {
            out << pad << key << ": " << scalar(value) << "\n";
        }
    }
}

}  // namespace quobel::ctl
