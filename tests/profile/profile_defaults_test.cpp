#include "profile/profile_defaults.h"

#include <gtest/gtest.h>

#include "base/utf16.h"
#include "common/fake_ids.h"
#include "common/temp_dir.h"

namespace quobel {
namespace {

constexpr Colour kWhite = 0xFFFFFF;

// A small configuration with all three devices.
Config AllDevices() {
    Config c;
    c.gVar.nMsFw = 5;
    c.gVar.nKbFw = 20;
    c.gVar.nPadFw = 1;

    MsDevCfg& ms = c.gVar.MsDev;
    SensorCfg& s = ms.Sensors[0];
    s.nSensor = 0x3050;
    s.nDpiNum = 3;
    s.nDefDpi = {800, 1600, 3200};
    s.clrDefDpi = {0x0000FF, 0x00FF00, 0xFF0000};
    s.dwDefRate = {0x500, 0x1000, 0x250};
    c.nSensorCfgInx = 0;
    c.DefKeyTable[1][2].FunID = MakeFunID(1, 0x42);
    c.DefKeyTable[1][2].nMatrixInx = 3;
    ms.LedOpt[3].clrDef = {1, 2, 3, 4, 5, 6, 7};
    ms.dwLedParam = {2, 5, 100, 3, 1, 0x7F, 4, 0xABCD};
    ms.nEnhancePrecision = 0;
    ms.nGunOption = 1;
    ms.clrGun = {11, 12, 13, 14, 15, 16, 17};

    KbDevCfg& kb = c.gVar.KbDev;
    c.g_defKEY[0].FunID = MakeFunID(1, 0x04);
    c.g_defKEY[0].byVk = 'A';
    c.g_defKEY[0].nMatrixInx = 7;
    c.g_defKEY[1].FunID = 0x020000a0;
    c.g_defKEY[1].byModifier = 0x02;  // left Shift
    c.g_defKEY[1].nMatrixInx = 9;
    c.g_defKEY[140].FunID = MakeFunID(1, 0x99);  // beyond the 132 a profile takes
    kb.byEffectNum = 2;
    kb.byLEDParam[0] = 0x87;
    kb.byLEDParam[1] = 0x35;
    kb.byLEDParam[2] = 0x03;
    kb.byLEDParam[3] = 0x00;
    kb.dwDefLed = {1, 9, 8, 2, 1};
    kb.byGaoshouGroupNum = 2;
    kb.byGaoshouKey[0][0] = 'A';
    kb.byGaoshouKey[0][1] = 0xA0;
    kb.byGaoshouKey[0][2] = 'Z';  // not on this keyboard: logged and skipped
    kb.byGaoshouKey[1][5] = 'A';
    kb.clrGaoshou = kWhite;
    for (int i = 0; i < 10; ++i) c.GestTable[static_cast<std::size_t>(i)].FunID = MakeFunID(9, 100 + i);

    c.gVar.PadDev.dwLedParam = {3, 4, 5, 6, 1};
    return c;
}

class DefaultsTest : public ::testing::Test {
protected:
    ProfileData Create(const Config& c, unsigned parts) {
        ProfileData p;
        CreateProfile(p, parts, "New", c, ids.ids);
        return p;
    }
    test::FakeIds ids;
};

TEST_F(DefaultsTest, MousePartFromTheCurrentSensorAndTheDescription) {
    const Config c = AllDevices();
    const ProfileData p = Create(c, PartsOf(c));
    const MsProfile& ms = p.Ms;
    EXPECT_EQ(ms.Keys[1][2].FunID, MakeFunID(1, 0x42));
    EXPECT_EQ(ms.dwSensor, 0x3050u);
    EXPECT_EQ(ms.Dpi[1].nDpiX, 1600);
    EXPECT_EQ(ms.Dpi[1].nDpiY, 1600);
    EXPECT_EQ(ms.Dpi[2].clrDpi, 0xFF0000u);
    EXPECT_EQ(ms.Dpi[2].bOff, 0);
    EXPECT_EQ(ms.Dpi[3].bOff, 1);
    EXPECT_EQ(ms.Dpi[9].bOff, 1);
    EXPECT_EQ(ms.dwRate[1], 0x1000u);
    EXPECT_EQ(ms.Effects[0].nSpeed, 2);
    EXPECT_EQ(ms.Effects[0].nBright, 133);
    EXPECT_EQ(ms.Effects[3].clr[6], 7u);
    // LedParam: effect 2 with its own values.
    EXPECT_EQ(ms.nEffect, 2);
    EXPECT_EQ(ms.Effects[2].nSpeed, 5);
    EXPECT_EQ(ms.Effects[2].nBright, 100);
    EXPECT_EQ(ms.Effects[2].nDir, 3);
    EXPECT_EQ(ms.Effects[2].dwColorMask, 0x7Fu);
    EXPECT_EQ(ms.Effects[2].nColorIndex, 4);
    EXPECT_EQ(ms.Effects[2].dwExtra, 0xABCDu);
    EXPECT_EQ(ms.nWheelLines, 3);
    EXPECT_EQ(ms.nDblClickTime, 550);
    EXPECT_EQ(ms.nPointerSpeed, 10);
    EXPECT_EQ(ms.bEnhancePrecision, 0) << "a configured precision replaces the default";
    EXPECT_EQ(p.clrGun[6], 17u);
    EXPECT_TRUE(p.dwFlags & kProfileFlagGun);
}

TEST_F(DefaultsTest, AnUnconfiguredSensorLeavesTheDpiTableZero) {
    Config c = AllDevices();
    c.nSensorCfgInx = -1;
    c.gVar.MsDev.nEnhancePrecision = -1;
    c.gVar.MsDev.nGunOption = 0;
    c.gVar.MsDev.dwLedParam = {200, 1, 1, 1};  // index outside the effects: not used
    const ProfileData p = Create(c, kPartMouse);
    for (const DpiLevel& d : p.Ms.Dpi) {
        EXPECT_EQ(d.nDpiX, 0);
        EXPECT_EQ(d.bOff, 0);
    }
    EXPECT_EQ(p.Ms.dwSensor, 0u);
    EXPECT_EQ(p.Ms.bEnhancePrecision, 1);
    EXPECT_EQ(p.Ms.nEffect, 0);
    EXPECT_FALSE(p.dwFlags & kProfileFlagGun);
}

TEST_F(DefaultsTest, KeyboardPartFromTheKeyTableEffectsAndColourGroups) {
    const Config c = AllDevices();
    const test::LogCapture log;
    const ProfileData p = Create(c, kPartKeyboard);
    EXPECT_NE(log.Text().find("Error Value: GaoshouKey[0][2]=0x5a"), std::string::npos) << log.Text();
    const KbProfile& kb = p.Kb;
    EXPECT_EQ(kb.Keys[0].byVk, 'A');
    EXPECT_EQ(kb.Keys[140].FunID, 0u) << "slots 132..149 stay zero";
    EXPECT_EQ(kb.Effects[0].nDir, 2);
    EXPECT_EQ(kb.Effects[0].bColorful, 1);
    EXPECT_EQ(kb.Effects[0].nSpeed, 4);
    EXPECT_EQ(kb.Effects[0].nBright, 6);
    EXPECT_EQ(kb.Effects[0].clr[1], 0xFF0000u);
    EXPECT_EQ(kb.nEffect, 1);
    EXPECT_EQ(kb.Effects[1].nSpeed, 9) << "DefLed replaces the LEDParam values";
    EXPECT_EQ(kb.Effects[1].nBright, 8);
    EXPECT_EQ(kb.Effects[1].nDir, 2);
    EXPECT_EQ(kb.Effects[1].nColorIndex, 3);
    EXPECT_EQ(kb.Effects[2].nSpeed, 0) << "effects past the configured count stay zero";
    EXPECT_EQ(kb.byGroupOn[0], 1);
    EXPECT_EQ(kb.byGroupOn[1], 1);
    EXPECT_EQ(kb.byGroupOn[2], 0);
    EXPECT_EQ(kb.clrKey[0][7], kWhite);
    EXPECT_EQ(kb.clrKey[0][9], kWhite) << "left Shift found by its modifier bit";
    EXPECT_EQ(kb.clrKey[1][7], kWhite);
    int lit = 0;
    for (const Colour clr : kb.clrKey[0]) lit += clr != 0;
    EXPECT_EQ(lit, 2);
    EXPECT_EQ(kb.Gest[6].FunID, MakeFunID(9, 106));
    EXPECT_EQ(p.Ms.nWheelLines, 0) << "parts not asked for stay zero";
}

TEST_F(DefaultsTest, PadPart) {
    Config c = AllDevices();
    ProfileData p = Create(c, kPartPad);
    EXPECT_EQ(p.Pad.nEffect, 3);
    EXPECT_EQ(p.Pad.Effects[3].nSpeed, 4);
    EXPECT_EQ(p.Pad.Effects[3].bColorful, 1);
    EXPECT_EQ(p.Pad.Effects[0].nBright, 256);
    EXPECT_EQ(p.Pad.Effects[0].nDir, 5);
    EXPECT_EQ(p.Pad.Effects[10].clr[4], 0x03C6FAu);
    EXPECT_EQ(p.Pad.Effects[10].dwColorMask, 0xFFFFu);

    c.gVar.PadDev.dwLedParam = {0, 0, 0, 0, 1};  // the first four add up to 0: ignored
    p = Create(c, kPartPad);
    EXPECT_EQ(p.Pad.nEffect, 0);
    EXPECT_EQ(p.Pad.Effects[0].bColorful, 0);
}

}  // namespace
}  // namespace quobel
