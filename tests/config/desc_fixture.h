#pragma once
// Loads device descriptions from cfg.ini text the way data init calls the readers.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "base/reporter.h"
#include "config/config.h"
#include "platform/ini.h"

namespace quobel::test {

struct Loaded {
    Config config;
    CollectingReporter reporter;

    [[nodiscard]] std::vector<std::string> Texts() const;
    [[nodiscard]] const MsDevCfg& ms() const { return config.gVar.MsDev; }
    [[nodiscard]] const KbDevCfg& kb() const { return config.gVar.KbDev; }
};

struct Firmware {
    int ms = 0;
    int kb = 0;
    int pad = 0;
    int debug = 0;
};

// Builds the sensor table, then reads the sections of each configured device kind,
// lays out the mouse buttons and reads [FN]/[GEST] (keyboard firmware 20).
std::unique_ptr<Loaded> Load(const IniFile& ini, Firmware fw);
std::unique_ptr<Loaded> Load(std::string_view ini_text, Firmware fw);

inline std::unique_ptr<Loaded> LoadMouse(std::string_view ini_text, int fw = 5) {
    return Load(ini_text, {fw, 0, 0, 0});
}
inline std::unique_ptr<Loaded> LoadKeyboard(std::string_view ini_text, int fw = 20, int debug = 0) {
    return Load(ini_text, {0, fw, 0, debug});
}

// Names a parameterised case by its row's name.
struct RowName {
    template <class T>
    std::string operator()(const ::testing::TestParamInfo<T>& row) const {
        return row.param.name;
    }
};

}  // namespace quobel::test
