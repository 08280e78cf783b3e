// A profile applied to the simulated devices through the data objects: the blocks the
// devices keep decode back to the profile's settings.

#include <memory>

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "config/data_init.h"
#include "config/device_ident.h"
#include "device/function_codes.h"
#include "device/hid_dev.h"
#include "device/hid_drv.h"
#include "device/keyboard_protocol.h"
#include "device/mouse_protocol.h"
#include "device/pad_protocol.h"
#include "macro/new_id.h"
#include "profile/profile_defaults.h"
#include "sim/sim_backend.h"

namespace quobel {
namespace {

struct RoundTrip : testing::Test {
    test::TempDir data;
    Config cfg;
    TextTable texts;
    CollectingReporter reporter;
    RecordingSleeper sleeper;
    MacroList macros;
    SimBackend sim;
    std::unique_ptr<ProfileData> p = std::make_unique<ProfileData>();

    void SetUp() override {
        StartupPaths paths;
        paths.program_dir = QUOBEL_SOURCE_DIR "/data/";
        paths.data_dir = data.path();
        ASSERT_EQ(StartCore(paths, cfg, texts, reporter, ProcessLog()), StartupResult::Ready);
        CreateProfile(*p, PartsOf(cfg), "rt", cfg, SystemIdGenerator());
    }
    DeviceEnv Env() { return {&sim, &cfg, &reporter, &sleeper}; }
};

const SensorDpi& Sensor(const Config& cfg) {
    const SensorDpi* s = FindSensorDpi(cfg.SensorDpiList, cfg.gVar.MsDev.nCurSensor);
    EXPECT_NE(s, nullptr);
    return *s;
}

TEST_F(RoundTrip, Mouse) {
    const auto id = MouseIdent(cfg);
    int type = 0;  // the sensor type the device reports for the configured sensor
    for (int t = 1; t <= 14; ++t)
        if (SensorFromCode(t) == cfg.gVar.MsDev.nCurSensor) type = t;
    SimMouse& mouse = static_cast<SimMouse&>(sim.Add(std::make_unique<SimMouse>(id.vid, id.pid, cfg.gVar.nMsFw, type)));
    CDrv5307 drv(Env());
    ASSERT_EQ(drv.Init([](std::uint32_t) {}), 1);
    ASSERT_EQ(drv.FindDev(), 1);
    CDev5307 dev(cfg.gVar.nMsFw, &drv, &macros);

    MsProfile& ms = p->Ms;
    const SensorDpi& s = Sensor(cfg);
    ASSERT_GE(s.nNum, 8);
    for (int i = 0; i < kProfileDpiLevels; ++i) ms.Dpi[i] = {s.nDpi[i], s.nDpi[i], 0, i >= 6};
    ms.Dpi[1].bOff = 1;
    ms.nMode = 1;
    ms.dwRate[0] = 0x1000;
    ms.dwRate[2] = 0x125;
    ms.nEffect = 2;
    ms.Effects[2].dwColorMask = 0x03;
    ASSERT_EQ(dev.ApplySetting(*p, nullptr, 0xF), 1);
    drv.Uninit();

    const auto g = mouse.Block(kMouseGeneralId);
    ASSERT_EQ(g.size(), MouseGeneralLength(cfg.gVar.nMsFw));
    int enabled = 0;
    for (int i = 0; i < 8; ++i) {
        const bool off = (g[4 + i] & 0x80) != 0;
        EXPECT_EQ(off, ms.Dpi[i].bOff != 0) << i;
        if (off) continue;
        ++enabled;
        const int step = [&] {
            for (int k = 0; k < s.nNum; ++k)
                if (s.byHw[k] == (g[4 + i] & 0x7F)) return s.nDpi[k];
            return -1;
        }();
        EXPECT_EQ(step, ms.Dpi[i].nDpiX) << i;
    }
    EXPECT_EQ(g[1] & 0x0F, enabled);
    EXPECT_EQ(g[20] >> 4, ms.nEffect + 1);
    EXPECT_EQ(g[21], 2);  // colour count of effect 3
    EXPECT_EQ(Rgb(g[22], g[23], g[24]), ms.Effects[2].clr[0]);
    EXPECT_EQ(Rgb(g[25], g[26], g[27]), ms.Effects[2].clr[1]);

    const auto m = mouse.Block(kMouseModeId);
    EXPECT_EQ(m[0], ms.nMode + 1);
    EXPECT_EQ(m[1], 4);
    EXPECT_EQ(m[2], RateNumber(ms.dwRate[1], 0));
    EXPECT_EQ(m[3], 1);

    const auto mx = mouse.Block(kMouseMatrixId);
    ASSERT_EQ(mx.size(), MouseMatrixLength(cfg.gVar.nMsFw));
    for (int mode = 0; mode < 3; ++mode) {
        for (int b = 0; b < 10; ++b) {
            const KeyInfo& k = ms.Keys[mode][b];
            const int slot = cfg.DefKeyTable[0][b].nMatrixInx - 1;
            if (k.FunID == 0 || FunType(k.FunID) == kFunMacro || slot < 0 || slot > 9) continue;
            const std::size_t at = 1024 + 40 * static_cast<std::size_t>(mode) + 4 * static_cast<std::size_t>(slot);
            const std::uint32_t code = std::uint32_t{mx[at]} | std::uint32_t{mx[at + 1]} << 8 |
                                       std::uint32_t{mx[at + 2]} << 16 | std::uint32_t{mx[at + 3]} << 24;
            const std::uint32_t want = mouse::keyinfo_to_hardware_code(k, macros, std::span(s.byLk).first(s.nNum));
            EXPECT_EQ(code & ~0xFu, want & ~0xFu) << mode << "/" << b;
        }
    }
}

TEST_F(RoundTrip, Keyboard) {
    const auto id = KeyboardIdent(cfg);
    SimKeyboard& kb_dev = static_cast<SimKeyboard&>(sim.Add(std::make_unique<SimKeyboard>(id.vid, id.pid)));
    CDrv642 drv(Env());
    ASSERT_EQ(drv.Init({}), 1);
    ASSERT_EQ(drv.FindDev(), 1);
    CDev642 dev(&drv, &macros);
    KbProfile& kb = p->Kb;
    const KbDevCfg& d = cfg.gVar.KbDev;
    for (int k = 0; k < d.nKeyCount && k < kKbConfigKeys; ++k) kb.Keys[k] = cfg.g_defKEY[k];
    for (int g = 0; g < d.byGaoshouGroupNum; ++g)
        for (int k = 0; k < kKbConfigKeys; ++k) kb.clrKey[g][k] = Rgb(g, k, 0x40 + g);
    kb.nEffect = d.byEffectNum;  // per-key colours
    kb.nCurGameGroup = 1;
    for (int e = 0; e < kKbEffects; ++e) {
        kb.Effects[e].nSpeed = 1 + e % 16;
        kb.Effects[e].nBright = 16 - e % 16;
        kb.Effects[e].nDir = 1 + e % 2;
    }
    ASSERT_EQ(dev.ApplySetting(*p, nullptr, 0x7), 1);

    const auto h = kb_dev.CommandBlock(kKbCmdHeader, 0);
    ASSERT_EQ(h.size(), kKbBlockLen);
    const std::uint8_t* pp = h.data() + 7 + 8;
    EXPECT_EQ(pp[d.byLedModeSelectOffset], 1);
    EXPECT_EQ(pp[d.byLedModeSelectOffset + 1] - d.byEffectBase, kb.nEffect);
    EXPECT_EQ(pp[d.byLedModeSelectOffset + 2] - d.byStartGp, 1);
    for (int e = 0; e < std::min<int>(d.byEffectNum, kKbEffects); ++e) {
        const std::uint8_t b0 = pp[d.byEffectOffset + 2 * e], b1 = pp[d.byEffectOffset + 2 * e + 1];
        EXPECT_EQ((b1 >> 4) + 1, kb.Effects[e].nSpeed) << e;
        EXPECT_EQ((b1 & 0xF) + 1, kb.Effects[e].nBright) << e;
        EXPECT_EQ((b0 & 0x80) != 0, kb.Effects[e].nDir == 2) << e;
    }

    // Per-key colours: every key's LED holds its group colour, blue, green, red planes.
    for (int t = 0; t < (d.byGaoshouGroupNum + 1) / 2; ++t) {
        const auto led = kb_dev.CommandBlock(kKbCmdLed, static_cast<std::uint8_t>(d.byGaoshouAddr + 4 * t));
        ASSERT_EQ(led.size(), kKbBlockLen) << t;
        for (int gi = 0; gi < 2 && 2 * t + gi < d.byGaoshouGroupNum; ++gi) {
            for (int k = 0; k < d.nKeyCount && k < kKbConfigKeys; ++k) {
                const KeyInfo& dk = cfg.g_defKEY[k];
                const int l = kb.Keys[k].nLedInx;
                if (dk.FunID == 0 || l < 0 || l > 131 || l == 35 || l == 57 || l == 100) continue;
                const std::uint8_t* plane = led.data() + 7 + 396 * gi;
                EXPECT_EQ(Rgb(plane[264 + l], plane[132 + l], plane[l]), kb.clrKey[2 * t + gi][dk.nMatrixInx])
                    << "group " << 2 * t + gi << " key " << k;
            }
        }
    }

    // Key matrix: each plain key's code, most significant byte first.
    const auto mx = kb_dev.CommandBlock(kKbCmdMatrix, 0xC8);
    ASSERT_EQ(mx.size(), kKbBlockLen);
    int checked = 0;
    for (int k = 0; k < d.nKeyCount && k < kKbConfigKeys; ++k) {
        const KeyInfo& key = kb.Keys[k];
        const int mi = cfg.g_defKEY[k].nMatrixInx;
        if (key.FunID == 0 || key.nFnInx != -1 || mi < 0 || mi >= 132 || mi == 75 || mi == 79 || mi == 80) continue;
        const std::uint8_t* c = mx.data() + 7 + 4 * mi;
        const std::uint32_t code = std::uint32_t{c[0]} << 24 | std::uint32_t{c[1]} << 16 | std::uint32_t{c[2]} << 8 | c[3];
        const std::uint32_t want = keyboard::keyinfo_to_hardware_code(key, macros);
        if (want == kNoDeviceCode) continue;
        EXPECT_EQ(code, want) << "key " << k;
        ++checked;
    }
    EXPECT_GT(checked, 50);
}

TEST_F(RoundTrip, Pad) {
    const auto id = PadIdent(cfg);
    SimPad& pad_dev = static_cast<SimPad&>(sim.Add(std::make_unique<SimPad>(id.vid, id.pid)));
    CDrvPad drv(Env());
    ASSERT_EQ(drv.Init({}), 1);
    ASSERT_EQ(drv.FindDev(), 1);
    CDevPad dev(&drv, &macros);
    PadProfile& pad = p->Pad;
    pad.nEffect = 3;
    pad.Effects[3].nSpeed = 4;
    pad.Effects[3].nBright = 80;
    pad.Effects[3].dwColorMask = 0x41;
    ASSERT_EQ(dev.ApplySetting(*p, nullptr, 0x7), 1);
    const auto g = pad_dev.Block(kPadGeneralId);
    ASSERT_EQ(g.size(), kPadGeneralLen);
    EXPECT_EQ(g[2], pad.nEffect + 1);
    EXPECT_EQ(g[3], 0x24);
    EXPECT_EQ(g[4], 2);
    EXPECT_EQ(Rgb(g[5], g[6], g[7]), pad.Effects[3].clr[0]);
    EXPECT_EQ(Rgb(g[8], g[9], g[10]), pad.Effects[3].clr[6]);
}

}  // namespace
}  // namespace quobel
