#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include <array>

#include "device/hid_dev.h"
#include "device_fixture.h"

namespace quobel {
namespace {

using test::DeviceRig;
using test::SaneConfig;

TEST(Discovery, FindsEveryConfiguredSimulatedDevice) {
    DeviceRig rig;
    auto ms = rig.Make<CDrv5307>();
    auto kb = rig.Make<CDrv642>();
    auto pad = rig.Make<CDrvPad>();
    EXPECT_EQ(ms->FindDev(), 1);
    EXPECT_EQ(kb->FindDev(), 1);
    EXPECT_EQ(pad->FindDev(), 1);
    EXPECT_NE(ms->GetHandle(), nullptr);
    EXPECT_NE(ms->GeneralHandle(), nullptr);
    EXPECT_NE(ms->NotifyHandle(), nullptr);
    EXPECT_NE(ms->ModeHandle(), nullptr);
    EXPECT_NE(kb->CmdHandle(), nullptr);
    EXPECT_NE(pad->GetHandle(), nullptr);
    EXPECT_EQ(ms->DeviceSensor(), static_cast<std::uint32_t>(test::kSensorA));
    EXPECT_TRUE(rig.reporter.messages.empty());

    ms->ClearHandle();
    EXPECT_EQ(ms->GetHandle(), nullptr);
    EXPECT_EQ(ms->NotifyHandle(), nullptr);
}

TEST(Discovery, WithoutHidAccessNothingIsFoundAndNothingBreaks) {
    DeviceRig rig;
    rig.env.hid = nullptr;
    CDrv5307 ms(rig.env);
    EXPECT_EQ(ms.Init([](std::uint32_t) {}), 0);
    EXPECT_EQ(ms.FindDev(), 0);
    EXPECT_EQ(ms.IsPresent(), 0);
    EXPECT_EQ(ms.GetHandle(), nullptr);
    EXPECT_EQ(ms.Uninit(), 1);
}

TEST(Discovery, SensorTheConfigurationDoesNotExpectIsRefused) {
    DeviceRig rig;
    std::array<std::uint8_t, 1> type6 = {0x60};
    auto block = rig.sim->Mouse()->Block(4);
    block[2] = type6[0];
    rig.sim->Mouse()->SetBlock(4, block);
    auto ms = rig.Make<CDrv5307>();
    EXPECT_EQ(ms->FindDev(), 0);
    EXPECT_EQ(ms->GetHandle(), nullptr);
    ASSERT_EQ(rig.reporter.messages.size(), 1U);
    EXPECT_EQ(rig.reporter.messages[0], (ReportedMessage{"Warning", "Sensor unmatch: dev=0x3360, cfg=0x3050"}));
}

// Notes whether the mouse's handles were visible when each box was raised.
class HandleWitness final : public Reporter {
public:
    void Report(std::string_view, std::string_view) override { seen.push_back(drv != nullptr && drv->GetHandle()); }
    const CHidDrv* drv = nullptr;
    std::vector<bool> seen;
};

TEST(Discovery, HandlesArePublishedOnlyAfterTheSensorChecksPassed) {
    for (const bool auto_switch : {false, true}) {
        Config cfg = SaneConfig();
        cfg.gVar.MsDev.bAutoSwitch = auto_switch ? 1 : 0;
        DeviceRig rig(cfg);
        HandleWitness witness;
        rig.env.reporter = &witness;
        auto block = rig.sim->Mouse()->Block(4);
        block[2] = auto_switch ? 0x30 : 0x60;  // a sensor without a description / another sensor
        rig.sim->Mouse()->SetBlock(4, block);
        auto ms = rig.Make<CDrv5307>();
        witness.drv = ms.get();
        EXPECT_EQ(ms->FindDev(), 0);
        EXPECT_EQ(witness.seen, std::vector<bool>{false}) << auto_switch;
    }
}

TEST(Discovery, UnknownSensorTypeWarnsButCountsAsFound) {
    DeviceRig rig;
    auto block = rig.sim->Mouse()->Block(4);
    block[2] = 0xA0;  // type 10 names no sensor
    rig.sim->Mouse()->SetBlock(4, block);
    auto ms = rig.Make<CDrv5307>();
    EXPECT_EQ(ms->FindDev(), 1);
    EXPECT_NE(ms->GetHandle(), nullptr);
    ASSERT_EQ(rig.reporter.messages.size(), 1U);
    EXPECT_EQ(rig.reporter.messages[0], (ReportedMessage{"Warning", "     Senr error    "}));
}

TEST(Discovery, AutomaticSwitchFollowsTheReportedSensor) {
    Config cfg = SaneConfig();
    cfg.gVar.MsDev.bAutoSwitch = 1;
    DeviceRig rig(cfg);
    auto block = rig.sim->Mouse()->Block(4);
    block[2] = 0x60;
    rig.sim->Mouse()->SetBlock(4, block);
    auto ms = rig.Make<CDrv5307>();
    EXPECT_EQ(ms->FindDev(), 1);
    EXPECT_EQ(rig.cfg.gVar.MsDev.nCurSensor, test::kSensorB);
    ASSERT_NE(rig.cfg.pSensorCfg(), nullptr);
    EXPECT_EQ(rig.cfg.pSensorCfg()->nSensor, test::kSensorB);

    block[2] = 0x30;  // 0x9800: no section describes it
    rig.sim->Mouse()->SetBlock(4, block);
    EXPECT_EQ(ms->FindDev(), 0);
    ASSERT_FALSE(rig.reporter.messages.empty());
    EXPECT_EQ(rig.reporter.messages.back(), (ReportedMessage{"Info", "Sensor 9800 is not supported"}));
    EXPECT_EQ(rig.cfg.gVar.MsDev.nCurSensor, test::kSensorB);
}

struct ProductRow {
    const char* name;
    int match_str;
    const char* configured;
    int found;
};

class ProductStringCheck : public ::testing::TestWithParam<ProductRow> {};

TEST_P(ProductStringCheck, ComparesIgnoringCaseWhenAsked) {
    Config cfg = SaneConfig();
    cfg.gVar.bMatchStr = GetParam().match_str;
    cfg.gVar.KbDev.szUsbString = GetParam().configured;
    cfg.gVar.MsDev.szUsbString = GetParam().configured;
    DeviceRig rig(cfg);
    auto kb = rig.Make<CDrv642>();
    auto ms = rig.Make<CDrv5307>();
    // The simulated devices are "Quobel Keyboard" and "Quobel Mouse".
    const bool mouse_row = std::string_view(GetParam().configured).find("ouse") != std::string_view::npos;
    const int found = mouse_row ? ms->FindDev() : kb->FindDev();
    EXPECT_EQ(found, GetParam().found);
    EXPECT_EQ((mouse_row ? ms->GetHandle() : kb->GetHandle()) != nullptr, GetParam().found == 1);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProductStringCheck,
    ::testing::Values(ProductRow{"same", 1, "Quobel Keyboard", 1}, ProductRow{"other_case", 1, "QUOBEL keyboard", 1},
                      ProductRow{"mouse_other_case", 1, "quobel mouse", 1},
                      ProductRow{"different", 1, "Quobel Keyboard 2", 0},
                      ProductRow{"mouse_different", 1, "Quobel Mouse X", 0},
                      ProductRow{"check_off", 0, "Other Keyboard", 1}, ProductRow{"nothing_configured", 1, "", 1}),
    [](const ::testing::TestParamInfo<ProductRow>& p) { return std::string(p.param.name); });

TEST(Discovery, AMissingInterfaceMeansNotFound) {
    // A mouse whose general report is longer than the configured type's: no general
    // interface matches.
    Config cfg = SaneConfig(5);
    DeviceRig rig(cfg);
    rig.cfg.gVar.nMsFw = 10;
    auto ms = rig.Make<CDrv5307>();
    EXPECT_EQ(ms->FindDev(), 0);
    EXPECT_EQ(ms->GetHandle(), nullptr);

    // A keyboard without its request interface.
    DeviceRig kb_rig;
    kb_rig.sim->Keyboard()->Unplug();
    kb_rig.sim->Add(std::make_unique<SimDevice>(DeviceKind::Keyboard, test::kTestVid, 0x0002, "Quobel Keyboard",
                                                std::vector<SimInterface>{{{0, 0, 1032}, {6}, false}}));
    auto kb = kb_rig.Make<CDrv642>();
    EXPECT_EQ(kb->FindDev(), 0);
    EXPECT_EQ(kb->GetHandle(), nullptr);
    EXPECT_EQ(kb->IsPresent(), 1);  // the block interface alone is enough to be seen
}

TEST(Discovery, PadThatCannotBeReadIsNotFound) {
    DeviceRig rig;
    rig.sim->Pad()->FailNextExchanges(3);
    auto pad = rig.Make<CDrvPad>();
    EXPECT_EQ(pad->FindDev(), 0);
    EXPECT_EQ(pad->GetHandle(), nullptr);
    EXPECT_EQ(pad->FindDev(), 1);
}

TEST(Discovery, PresenceTellsAbsentAndDeniedApart) {
    DeviceRig rig;
    auto ms = rig.Make<CDrv5307>();
    auto kb = rig.Make<CDrv642>();
    auto pad = rig.Make<CDrvPad>();
    rig.sim->Keyboard()->DenyAccess(true);
    rig.sim->Pad()->Unplug();
    EXPECT_EQ(ms->Probe(), Presence::Present);
    EXPECT_EQ(kb->Probe(), Presence::NoAccess);
    EXPECT_EQ(pad->Probe(), Presence::Absent);
    EXPECT_EQ(pad->IsPresent(), 0);
    EXPECT_EQ(kb->FindDev(), 0);
}

TEST(Discovery, LearnsTheCurrentDpiLevelOrModeByFirmwareType) {
    {
        DeviceRig rig(SaneConfig(3));
        auto block = rig.sim->Mouse()->Block(4);
        block[1] = 0x43;
        rig.sim->Mouse()->SetBlock(4, block);
        auto ms = rig.Make<CDrv5307>();
        ASSERT_EQ(ms->FindDev(), 1);
        EXPECT_EQ(ms->CurrentDpiLevel(), 4);
        block[1] = 0x63;  // level 6 of a sensor with 6 levels
        rig.sim->Mouse()->SetBlock(4, block);
        ASSERT_EQ(ms->FindDev(), 1);
        EXPECT_EQ(ms->CurrentDpiLevel(), 0);
    }
    {
        DeviceRig rig(SaneConfig(10));
        const std::array<std::uint8_t, 8> mode = {2, 0, 0, 0, 0, 0, 0, 0};
        rig.sim->Mouse()->SetBlock(8, mode);
        auto ms = rig.Make<CDrv5307>();
        ASSERT_EQ(ms->FindDev(), 1);
        EXPECT_EQ(ms->CurrentMode(), 2);
    }
}

TEST(Discovery, DataObjectsResetOnlyTheirPartOfAProfile) {
    DeviceRig rig;
    auto ms = rig.Make<CDrv5307>();
    auto pad = rig.Make<CDrvPad>();
    MacroList macros;
    CDev5307 ms_dev(rig.cfg.gVar.nMsFw, ms.get(), &macros);
    CDevPad pad_dev(pad.get(), &macros);
    auto profile = std::make_unique<ProfileData>();
    profile->Ms.dwSensor = 0x1234;
    profile->Pad.nEffect = 77;
    profile->Kb.nEffect = 55;
    ms_dev.FillDefaults(*profile);
    EXPECT_NE(profile->Ms.dwSensor, 0x1234U);
    EXPECT_EQ(profile->Pad.nEffect, 77);
    pad_dev.FillDefaults(*profile);
    EXPECT_NE(profile->Pad.nEffect, 77);
    EXPECT_EQ(profile->Kb.nEffect, 55);
    EXPECT_EQ(ms_dev.m_nType, 5);
    EXPECT_EQ(pad_dev.m_nType, kPadTypeCode);
}

}  // namespace
}  // namespace quobel
