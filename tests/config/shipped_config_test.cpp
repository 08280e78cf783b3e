// The configurations we ship read without errors and describe sane devices.
#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "config/device_readers.h"
#include "desc_fixture.h"
#include "platform/ini.h"

namespace quobel {
namespace {

namespace fs = std::filesystem;

std::unique_ptr<test::Loaded> LoadShipped(const fs::path& path) {
    const IniFile ini = IniFile::Load(path.string());
    EXPECT_TRUE(ini.opened()) << path;
    return test::Load(ini, {ini.GetInt("OPT", "MsFw", 0), ini.GetInt("OPT", "KbFw", 0),
                                      ini.GetInt("OPT", "PadFw", 0), 2});
}

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(ShippedConfig, DefaultProductLine) {
    const auto l = LoadShipped(fs::path(QUOBEL_SOURCE_DIR) / "data" / "cfg.ini");
    EXPECT_THAT(l->Texts(), ::testing::ElementsAre());

    // Mouse: sensor 0x3360, eight buttons in three modes with marks.
    const SensorCfg* s = l->config.pSensorCfg();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->nSensor, 0x3360);
    EXPECT_EQ(s->nKeyNum, 8);
    EXPECT_EQ(s->nModeNum, 3);
    for (int k = 0; k < s->nKeyNum; ++k) {
        EXPECT_GT(s->rcMark[k].right, s->rcMark[k].left) << "mark " << k;
        for (int m = 0; m < 3; ++m) EXPECT_NE(s->DefKeys[m][k].FunID, 0u) << "button " << k << " mode " << m;
    }

    // Keyboard: a full-size board whose keys tile the picture without overlapping.
    const KbDevCfg& kb = l->kb();
    EXPECT_EQ(kb.nKeyCount, 105);
    const Rect area{0, 0, kb.rcKB.right - kb.rcKB.left, kb.rcKB.bottom - kb.rcKB.top};
    std::set<int> matrix;
    std::set<int> led;
    for (int i = 0; i < kb.nKeyCount; ++i) {
        const KeyInfo& k = l->config.g_defKEY[i];
        EXPECT_TRUE(matrix.insert(k.nMatrixInx).second) << "slot " << i;
        EXPECT_TRUE(led.insert(k.nLedInx).second) << "slot " << i;
        EXPECT_LE(k.nMatrixInx, 131);
        EXPECT_LE(k.nLedInx, 131);
        EXPECT_GE(k.rcKey.left, area.left);
        EXPECT_GE(k.rcKey.top, area.top);
        EXPECT_LE(k.rcKey.right, area.right);
        EXPECT_LE(k.rcKey.bottom, area.bottom);
        for (int j = 0; j < i; ++j) EXPECT_FALSE(Overlap(k.rcKey, l->config.g_defKEY[j].rcKey)) << i << " " << j;
    }
    // The device's own Enter and keypad Enter positions, and the modifiers it logs.
    const std::span<const KeyInfo> keys(l->config.g_defKEY.data(), static_cast<std::size_t>(kb.nKeyCount));
    const auto enter = std::count_if(keys.begin(), keys.end(), [](const KeyInfo& k) {
        return k.byVk == 0x0D && (k.nMatrixInx == 81 || k.nMatrixInx == 130);
    });
    EXPECT_EQ(enter, 2);
    EXPECT_EQ(MatrixIndexOfKeyCode(keys, 0xA2), 5);
    EXPECT_EQ(MatrixIndexOfKeyCode(keys, 0x5B), 11);
    EXPECT_EQ(MatrixIndexOfKeyCode(keys, 0xA4), 17);
    EXPECT_EQ(MatrixIndexOfKeyCode(keys, 0xA0), 4);
    // LED positions 35, 57 and 100 are lit together by the device: only one key may use them.
    EXPECT_LE(led.count(35) + led.count(57) + led.count(100), 1u);
    // Every colour-group key exists on the board.
    for (int g = 0; g < kb.byGaoshouGroupNum; ++g) {
        for (std::uint8_t code : kb.byGaoshouKey[g]) {
            if (code != 0) {
                EXPECT_GE(MatrixIndexOfKeyCode(keys, code), 0) << "group " << g << " code " << static_cast<int>(code);
            }
        }
    }
    // The Fn layer: F1..F12 and more, each with its own index.
    std::set<int> fn;
    for (const KeyInfo& k : keys) {
        if (k.FnFun.FunID != 0) {
            EXPECT_TRUE(fn.insert(k.nFnInx).second);
        }
    }
    EXPECT_GE(fn.size(), 12u);
    EXPECT_LE(*fn.rbegin(), 47);

    EXPECT_EQ(l->config.gVar.PadDev.wPid, 0x0640);
}

TEST(ShippedConfig, ExamplesReadWithoutErrors) {
    const fs::path dir = fs::path(QUOBEL_SOURCE_DIR) / "data" / "examples";
    std::set<int> firmware;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const fs::path cfg = entry.path() / "cfg.ini";
        if (!fs::exists(cfg)) continue;
        const auto l = LoadShipped(cfg);
        for (const std::string& m : l->Texts()) EXPECT_FALSE(m.starts_with("Error")) << cfg << ": " << m;
        EXPECT_NE(l->config.pSensorCfg(), nullptr) << cfg;
        firmware.insert(l->config.gVar.nMsFw);
    }
    EXPECT_EQ(firmware, (std::set<int>{3, 5, 8, 9, 10}));
}

}  // namespace
}  // namespace quobel
