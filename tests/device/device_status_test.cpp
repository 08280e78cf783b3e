#include "device/device_status.h"

#include <gtest/gtest.h>

#include "device_fixture.h"

namespace quobel {
namespace {

std::vector<std::string> Lines(Config& cfg, HidBackend* hid) {
    std::vector<std::string> out;
    for (const DeviceStatus& s : ConfiguredDeviceStatus(cfg, hid)) out.push_back(FormatDeviceStatus(s));
    return out;
}

TEST(DeviceStatus, OneLinePerConfiguredKind) {
    test::DeviceRig rig;
    EXPECT_EQ(Lines(rig.cfg, rig.sim.get()),
              (std::vector<std::string>{"mouse 1a2b:0001 present", "keyboard 1a2b:0002 present", "pad 1a2b:0003 present"}));
    rig.sim->Keyboard()->DenyAccess(true);
    rig.sim->Pad()->Unplug();
    EXPECT_EQ(Lines(rig.cfg, rig.sim.get()),
              (std::vector<std::string>{"mouse 1a2b:0001 present", "keyboard 1a2b:0002 no access", "pad 1a2b:0003 absent"}));
    EXPECT_EQ(Lines(rig.cfg, nullptr),
              (std::vector<std::string>{"mouse 1a2b:0001 absent", "keyboard 1a2b:0002 absent", "pad 1a2b:0003 absent"}));
}

TEST(DeviceStatus, KindsWithoutAFirmwareTypeAreLeftOut) {
    test::DeviceRig rig;
    rig.cfg.gVar.nMsFw = 4;  // no apply variant: no mouse objects
    rig.cfg.gVar.nPadFw = 0;
    EXPECT_EQ(Lines(rig.cfg, rig.sim.get()), (std::vector<std::string>{"keyboard 1a2b:0002 present"}));
}

TEST(DeviceStatus, EveryMouseTypeWithAnApplyVariantIsConfigured) {
    for (int fw : {3, 5, 7, 8, 9, 10}) {
        GVar g;
        g.nMsFw = fw;
        EXPECT_TRUE(IsConfigured(g, DeviceKind::Mouse)) << fw;
    }
    for (int fw : {0, 1, 2, 4, 6, 11}) {
        GVar g;
        g.nMsFw = fw;
        EXPECT_FALSE(IsConfigured(g, DeviceKind::Mouse)) << fw;
    }
}

}  // namespace
}  // namespace quobel
