#include "config/key_names.h"

#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

#include "config/config.h"
#include "config/mouse_desc.h"
#include "config/text_table.h"

namespace quobel {
namespace {

// Every text reads as its own identifier, so a caption shows which texts it used.
const TextTable& IdTexts() {
    static const TextTable texts = [] {
        // One file per process: ctest runs the tests of this program in parallel processes.
        const auto path = std::filesystem::path(::testing::TempDir()) /
                          ("key_names_texts-" + std::to_string(::getpid()) + ".xml");
        std::string doc = "<t><config>";
        for (const std::string_view id : TextTable::Ids()) {
            doc += "<" + std::string(id) + ">" + std::string(id) + "</" + std::string(id) + ">";
        }
        std::ofstream(path, std::ios::binary) << doc << "</config></t>";
        TextTable t;
        t.Load(path.string());
        return t;
    }();
    return texts;
}

TEST(KeyName, FixedNamesMouseButtonsAndUsLayout) {
    struct Case {
        int vk;
        const char* name;
    };
    const Case cases[] = {
        {0x41, "A"},      {0x5A, "Z"},       {0x30, "0"},          {0x0D, "Enter"},
        {0x2B, "Enter"},  {0x60, "Num 0"},   {0x6C, "\\"},         {0x7B, "F12"},
        {0x91, "Scroll Lock"},               {0xA5, "R_Alt"},      {0xE2, "<"},
        {0xF0, "tc_click"}, {0xF1, "tc_menu"}, {0xF2, "tc_middle"}, {0xFA, "Fn"},
        {0xBA, ";"},      {0xDE, "'"},       {0xC0, "`"},          {0xDC, "\\"},
        {0xFF, ""},       {0x00, ""},        {0x7C, ""},           {0xF3, ""},
        {0x141, ""},      {-1, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(KeyName(c.vk, IdTexts()), c.name) << "vk " << c.vk;
}

TEST(KeyName, CombinationTexts) {
    struct Case {
        std::uint8_t mod;
        int vk1;
        int vk2;
        const char* short_form;
        const char* long_form;
    };
    const Case cases[] = {
        {0x11, 0x41, 0, "Ctrl + A", "L-Ctrl + R-Ctrl + A"},
        {0x06, 0x41, 0x42, "Alt + Shift + A + B", "L-Alt + L-Shift + A + B"},
        {0xFF, 0, 0, "Ctrl + Alt + Shift + Win",
         "L-Ctrl + L-Alt + L-Shift + L-Win + R-Ctrl + R-Alt + R-Shift + R-Win"},
        {0x80, 0, 0x70, "Win + F1", "R-Win + F1"},
        {0, 0xF0, 0, "tc_click", "tc_click"},
        {0x01, 0xFF, 0, "Ctrl", "L-Ctrl"},  // a key without a name leaves no dangling " + "
        {0, 0, 0, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.short_form);
        EXPECT_EQ(ComboTextShort(c.mod, c.vk1, c.vk2, IdTexts()), c.short_form);
        EXPECT_EQ(ComboTextLong(c.mod, c.vk1, c.vk2, IdTexts()), c.long_form);
    }
}

class FakeMacros : public MacroNameSource {
public:
    std::optional<std::string> MacroName(std::uint32_t id) const override {
        const auto it = names.find(id);
        return it != names.end() ? std::optional(it->second) : std::nullopt;
    }
    std::map<std::uint32_t, std::string> names;
};

class FakeSensor : public SensorDpiSource {
public:
    std::optional<int> DpiOfStep(std::int64_t step) const override {
        if (step < 0 || step >= static_cast<std::int64_t>(dpi.size())) return std::nullopt;
        return dpi[static_cast<std::size_t>(step)];
    }
    std::vector<int> dpi;
};

KeyInfo Key(std::uint32_t fun_id, std::uint32_t param = 0) {
    KeyInfo k;
    k.FunID = fun_id;
    k.byCount = static_cast<std::uint8_t>(param);
    k.bySpeed = static_cast<std::uint8_t>(param >> 8);
    k.byFireVk = static_cast<std::uint8_t>(param >> 16);
    k.byExtra = static_cast<std::uint8_t>(param >> 24);
    return k;
}

KeyInfo Combo(std::uint8_t mod, std::uint8_t vk, std::uint8_t vk2 = 0) {
    KeyInfo k = Key(0x020000A1);
    k.byModifier = mod;
    k.byVk = vk;
    k.byVk2 = vk2;
    return k;
}

KeyInfo Macro(std::uint32_t id) {
    KeyInfo k = Key(0x05000000);
    k.MacroID = id;
    return k;
}

// A German-like layout that also answers for keys the fixed table names, to show it is
// not asked for them.
class FakeLayout : public KeyLayoutSource {
public:
    std::string TypedName(int vk) const override {
        switch (vk) {
            case 0xDB: return "Ü";
            case 'Y': return "Z";
            default: return {};
        }
    }
};

TEST(KeyName, KeysOutsideTheFixedTableFollowTheLayout) {
    const FakeLayout de;
    EXPECT_EQ(KeyName(0xDB, IdTexts(), &de), "Ü");
    EXPECT_EQ(KeyName('Y', IdTexts(), &de), "Y");   // fixed names win
    EXPECT_EQ(KeyName(0xBA, IdTexts(), &de), ";");  // the layout names nothing: US last
    EXPECT_EQ(ComboTextShort(0x01, 0xDB, 'Y', IdTexts(), &de), "Ctrl + Ü + Y");
    EXPECT_EQ(ComboTextLong(0x10, 0xDB, 0, IdTexts(), &de), "R-Ctrl + Ü");
    EXPECT_EQ(FireKeyName(0xDB, IdTexts(), &de), "Ü");
    EXPECT_EQ(FireKeyName(0xF4, IdTexts(), &de), "tc_back");
    EXPECT_EQ(FunctionCaption(Combo(0x02, 0xDB), IdTexts(), nullptr, nullptr, &de), "Shift + Ü");
    EXPECT_EQ(FunctionCaption(Key(0x080000A4, 0xDB0000), IdTexts(), nullptr, nullptr, &de), "tc_fire - Ü");
}

TEST(FunctionCaption, EveryKindOfFunction) {
    FakeMacros macros;
    macros.names[7] = "Reload";
    FakeSensor sensor;
    sensor.dpi = {800, 1600, 3200};
    struct Case {
        const char* name;
        KeyInfo key;
        const char* caption;
    };
    const Case cases[] = {
        {"macro", Macro(7), "tc_mac_def - Reload"},
        {"macro_missing", Macro(8), ""},
        {"fn", Combo(0, 250), "Fn"},
        {"fn_with_modifier", Combo(0x01, 250), "Ctrl + Fn"},
        {"combo", Combo(0x11, 0x41), "Ctrl + A"},
        {"combo_two_keys", Combo(0x24, 0x41, 0x42), "Alt + Shift + A + B"},
        {"fire_left", Key(0x080000A4, 0xF00000), "tc_fire - tc_click"},
        {"fire_tilt", Key(0x080000A4, 0xF60000), "tc_fire - tc_titlt2"},
        {"fire_key", Key(0x080000A4, 0x410000), "tc_fire - A"},
        {"fire_any_type", Key(0x010000A4, 0xF40000), "tc_fire - tc_back"},
        {"extra_1", Key(0x0B000000), "tc_ex1"},
        {"extra_3", Key(0x0B000002), "tc_ex3"},
        {"extra_out_of_range", Key(0x0B000003), ""},
        {"extra_type_wins_over_code", Key(0x0B000011), ""},
        {"left_click", Key(0x01000011), "tc_click"},
        {"browser_back", Key(0x03000035), "tc_back"},
        {"volume_up", Key(0x03000026), "tc_vol_up"},
        {"favourites", Key(0x04000039), "tc_kbmedia_favor"},
        {"key_off", Key(0x080000A2), "tc_key_off"},
        {"shift", Key(0x080000A3), "Shift"},
        {"report_rate", Key(0x080000AC), "tc_reportsw"},
        {"speed_up", Key(0x080000B2), "tc_speed +"},
        {"speed_down", Key(0x080000B3), "tc_speed -"},
        {"brightness_up", Key(0x080000B5), "tc_brightness +"},
        {"brightness_down", Key(0x080000B6), "tc_brightness -"},
        {"b4", Key(0x080000B4), "tc_msg20"},
        {"b7", Key(0x080000B7), "tc_msg20"},
        {"gun_switch", Key(0x080000C2), "tc_chiji3"},
        {"dpi_lock_level_2", Key(0x080000A6, 2), "tc_snipe - 1600"},
        {"dpi_lock_level_3", Key(0x080000A6, 3), "tc_snipe - 3200"},
        {"dpi_lock_no_such_level", Key(0x080000A6, 4), "tc_snipe - 0"},
        {"dpi_lock_level_0", Key(0x080000A6, 0), "tc_snipe - 0"},
        {"gun_m16_4x", Key(0x080000C0, 0x00280012), "tc_chiji14 M16 + 4X"},
        {"gun_tompson_no_scope", Key(0x080000C0, 0x05), "tc_chiji14 TOMPSON + tc_chiji6"},
        {"gun_scope_2", Key(0x080000C0, 0x26), "tc_chiji14 UZI + tc_chiji15"},
        {"gun_unknown", Key(0x080000C0, 0x3F), "tc_chiji14  + "},
        {"gun_two", Key(0x080000C0, 0x0113), "tc_chiji2"},
        {"gun_second_byte_only", Key(0x080000C0, 0x0100), "tc_chiji14 M4 + tc_chiji6"},
        {"unknown_code", Key(0x080000FF), ""},
        {"empty", Key(0), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FunctionCaption(c.key, IdTexts(), &macros, &sensor), c.caption);
    }
}

TEST(FunctionCaption, WithoutMacroListOrSensor) {
    EXPECT_EQ(FunctionCaption(Macro(7), IdTexts()), "");
    EXPECT_EQ(FunctionCaption(Key(0x080000A6, 2), IdTexts()), "tc_snipe - 0");
    // The words come from the loaded language.
    EXPECT_EQ(FunctionCaption(Key(0x01000011), TextTable()), "");
}

TEST(FunctionCaption, DpiLockReadsTheCurrentSensorsSteps) {
    Config config;
    config.SensorDpiList = BuiltinSensorTable();
    config.gVar.MsDev.nCurSensor = 0x3360;
    const CurrentSensorDpi sensor(config);
    const SensorDpi* steps = FindSensorDpi(config.SensorDpiList, 0x3360);
    ASSERT_NE(steps, nullptr);
    const std::uint32_t last = static_cast<std::uint32_t>(steps->nNum);
    EXPECT_EQ(FunctionCaption(Key(0x080000A6, 2), IdTexts(), nullptr, &sensor), "tc_snipe - 800");
    EXPECT_EQ(FunctionCaption(Key(0x080000A6, last), IdTexts(), nullptr, &sensor),
              "tc_snipe - " + std::to_string(steps->nDpi[last - 1]));
    EXPECT_EQ(FunctionCaption(Key(0x080000A6, last + 1), IdTexts(), nullptr, &sensor), "tc_snipe - 0");

    config.gVar.MsDev.nCurSensor = 0x1234;  // not a known sensor
    EXPECT_EQ(FunctionCaption(Key(0x080000A6, 2), IdTexts(), nullptr, &sensor), "tc_snipe - 0");
}

}  // namespace
}  // namespace quobel
