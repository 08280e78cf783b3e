#include "config/mouse_desc.h"

#include <limits>
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include "config/device_readers.h"
#include "desc_fixture.h"

namespace quobel {
namespace {

using test::LoadMouse;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kGreen = Rgb(0, 255, 0);
constexpr Colour kBlue = Rgb(0, 0, 255);
constexpr Colour kWhite = Rgb(255, 255, 255);

struct SensorRow {
    friend void PrintTo(const SensorRow& r, std::ostream* os) { *os << r.name; }
    const char* name;
    std::int32_t sensor;
    int steps;
    std::int32_t first;
    std::int32_t last;
};

class BuiltinSensors : public ::testing::TestWithParam<SensorRow> {};

TEST_P(BuiltinSensors, HaveTheirStepsAscendingWithStepNumbersAsCodes) {
    const SensorRow& row = GetParam();
    const SensorDpiTable table = BuiltinSensorTable();
    const SensorDpi* s = FindSensorDpi(table, row.sensor);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->nNum, row.steps);
    EXPECT_EQ(s->nDpi[0], row.first);
    EXPECT_EQ(s->nDpi[static_cast<std::size_t>(row.steps - 1)], row.last);
    EXPECT_EQ(s->nDpi[static_cast<std::size_t>(row.steps)], 0);
    for (int k = 1; k < s->nNum; ++k) EXPECT_LT(s->nDpi[k - 1], s->nDpi[k]) << "step " << k;
    for (int k = 0; k < s->nNum; ++k) {
        EXPECT_EQ(s->byLk[k], k + 1);
        EXPECT_EQ(s->byHw[k], row.sensor == 0x3310 ? s->nDpi[k] / 50 : k + 1) << "step " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, BuiltinSensors,
                         ::testing::Values(SensorRow{"s3050", 0x3050, 11, 500, 4000},
                                           SensorRow{"s5050", 0x5050, 10, 500, 2750},
                                           SensorRow{"s9800", 0x9800, 21, 500, 16400},
                                           SensorRow{"s3310", 0x3310, 13, 500, 5000},
                                           SensorRow{"s3212", 0x3212, 16, 500, 7200},
                                           SensorRow{"s3320", 0x3320, 19, 500, 7000},
                                           SensorRow{"s3325", 0x3325, 59, 200, 10000},
                                           SensorRow{"s3330", 0x3330, 19, 500, 14400},
                                           SensorRow{"s3360", 0x3360, 21, 500, 24000},
                                           SensorRow{"s3610", 0x3610, 14, 400, 6400},
                                           SensorRow{"s7350", 0x7350, 8, 600, 3200},
                                           SensorRow{"s3327", 0x3327, 73, 200, 12400}),
                         test::RowName());

TEST(SensorCodes, MapTheReportedTypeToASensor) {
    const std::pair<int, std::int32_t> rows[] = {{1, 0x5050}, {2, 0x3050}, {3, 0x9800}, {4, 0x3320},
                                                 {5, 0x3330}, {6, 0x3360}, {7, 0x3610}, {8, 0x3212},
                                                 {9, 0x3310}, {10, 0},     {11, 0x3325}, {12, 0x7350},
                                                 {13, 0},     {14, 0x3327}, {0, 0},     {15, 0}};
    for (const auto& [code, sensor] : rows) EXPECT_EQ(SensorFromCode(code), sensor) << "code " << code;
    EXPECT_EQ(FindSensorDpi(BuiltinSensorTable(), 0), nullptr);
}

TEST(SensorSection, OnlySensorKeyGivesTheBuiltinDefaults) {
    const auto l = LoadMouse("[MS]\n[SENSOR_1]\nSensor=0x3050\n");
    EXPECT_THAT(l->Texts(), ElementsAre());
    const SensorCfg* s = l->config.pSensorCfg();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(l->ms().nCurSensor, 0x3050);
    EXPECT_EQ(s->nDpiNum, 6);
    EXPECT_THAT(s->nDefDpi, ElementsAre(750, 1000, 1500, 2000, 2500, 3000, 0, 0, 0, 0));
    EXPECT_THAT(s->clrDefDpi,
                ElementsAre(kRed, kBlue, kGreen, Rgb(0, 255, 255), Rgb(255, 0, 255), kWhite, 0, 0, 0, 0));
    EXPECT_THAT(s->dwRate, ElementsAre(0x125u, 0x250u, 0x500u, 0x1000u));
    EXPECT_THAT(s->dwDefRate, ElementsAre(0x500u, 0x500u, 0x500u));
    EXPECT_EQ(s->nModeNum, 3);
    EXPECT_EQ(s->nKeyNum, 7);
    EXPECT_EQ(s->nKeyY, 35);
    EXPECT_EQ(s->nKeyH, 6);
    EXPECT_EQ(s->nDefLevel, -1);
    EXPECT_EQ(s->nDpiH, 10);
    EXPECT_EQ(s->nMouseX, 360);
    EXPECT_EQ(s->nMouseY, 50);
}

TEST(SensorSection, WithoutSectionsNoSensorIsCurrentAndNoButtonsAreLaidOut) {
    const auto l = LoadMouse("[MS]\nVID=0x1209\n");
    EXPECT_THAT(l->Texts(), ElementsAre("Error: set_cur_sensor:  pSensorCfg=null for 0x3050"));
    EXPECT_EQ(l->config.pSensorCfg(), nullptr);
    EXPECT_EQ(l->config.DefKeyTable[0][0].rcKey, Rect{});
}

TEST(SensorSection, SetCurSensorSwitchesAndReportsAnUnknownOne) {
    auto l = LoadMouse("[MS]\nSensor=0x3360\n[SENSOR_1]\nSensor=0x3050\n[SENSOR_2]\nSensor=0x3360\n");
    EXPECT_THAT(l->Texts(), ElementsAre());
    ASSERT_NE(l->config.pSensorCfg(), nullptr);
    EXPECT_EQ(l->config.pSensorCfg()->nSensor, 0x3360);
    EXPECT_TRUE(SetCurSensor(l->config, 0x3050, l->reporter));
    EXPECT_EQ(l->config.pSensorCfg(), &l->ms().Sensors[0]);
    EXPECT_FALSE(SetCurSensor(l->config, 0x9800, l->reporter));
    EXPECT_EQ(l->config.pSensorCfg(), nullptr);
    EXPECT_EQ(l->ms().nCurSensor, 0x9800);
    EXPECT_THAT(l->Texts(), ElementsAre("Error: set_cur_sensor:  pSensorCfg=null for 0x9800"));
    // A copied configuration designates its own section.
    ASSERT_TRUE(SetCurSensor(l->config, 0x3360, l->reporter));
    const auto copy = std::make_unique<Config>(l->config);
    EXPECT_EQ(copy->pSensorCfg(), &copy->gVar.MsDev.Sensors[1]);
}

struct MessageRow {
    friend void PrintTo(const MessageRow& r, std::ostream* os) { *os << r.name; }
    const char* name;
    int fw;
    const char* ini;
    std::vector<std::string> messages;
};

class MouseMessages : public ::testing::TestWithParam<MessageRow> {};

TEST_P(MouseMessages, AreReportedInReadingOrder) {
    const auto l = LoadMouse(GetParam().ini, GetParam().fw);
    EXPECT_THAT(l->Texts(), ElementsAreArray(GetParam().messages));
}

INSTANTIATE_TEST_SUITE_P(
    Table, MouseMessages,
    ::testing::Values(
        MessageRow{"UnknownSensor", 5, "[SENSOR_1]\nSensor=0x1234\nDM=3\n[MS]\nSensor=0x1234\n",
                   {"Error: Error, Sensor vaulue of SENSOR_1 section is 0x1234"}},
        MessageRow{"ZeroSensorSkippedQuietly", 5, "[SENSOR_1]\nDM=3\n[SENSOR_2]\nSensor=0x3050\n", {}},
        MessageRow{"DpiCountDiffersFromDm", 5, "[SENSOR_1]\nSensor=0x3050\nDPI=750,1000,1500,2000,2500\n",
                   {"Warning: DPI != DM."}},
        MessageRow{"DefaultDpiNotAStep", 5, "[SENSOR_1]\nSensor=0x3050\nDM=2\nDPI=750,777\n",
                   {"Warning: Wrong default dpi value: 777"}},
        MessageRow{"DpiHwCountDiffers", 5, "[SENSOR_1]\nSensor=0x3050\nDPISET=500,1000,2000\nDPIHW=1,2\nDM=2\n"
                                           "DPI=500,1000\n",
                   {"Warning: DPISET Num != DPIHW Num"}},
        MessageRow{"DpiLkIgnoredWithoutLockMenu", 5, "[SENSOR_1]\nSensor=0x3050\nDPILK=1\n", {}},
        MessageRow{"DpiLkCountDiffers", 5, "[MS]\nSnipMenu=1,2,3,4\n[SENSOR_1]\nSensor=0x3050\nDPILK=1\n",
                   {"Warning: DPISET Num != DPILK Num"}},
        MessageRow{"TooManyLockEntries", 5, "[MS]\nSnipMenu=1,16\n[SENSOR_1]\nSensor=0x3050\n",
                   {"Error: Dpi lock menus > 15"}},
        MessageRow{"FewerKeysThanKm", 5, "[SENSOR_1]\nSensor=0x3050\nKM=4\nK1_1=1,1,0,1\n",
                   {"Error: Key num to small"}},
        MessageRow{"MarkWithThreeNumbers", 5, "[SENSOR_1]\nSensor=0x3050\nMark2=1,2,3\n", {"Error: Mark value error"}},
        MessageRow{"ExKeyUnsetAndOutOfRange", 5,
                   "[MS]\nExKey1=0x1234\n[SENSOR_1]\nSensor=0x3050\nKM=6\nK1_1=b,0,0,1\nK2_1=b,1,0,2\nK3_1=b,3,0,3\n",
                   {"Error: UnSet ExKey Value", "Error: Wrong ExKey Index"}},
        MessageRow{"GunValueCount", 10, "[MS]\nGunValue=1,2,3\n[SENSOR_1]\nSensor=0x3050\n",
                   {"Error: GunValue number!=21"}},
        MessageRow{"GunValueIgnoredOutsideGunMouse", 5, "[MS]\nGunValue=1,2,3\n[SENSOR_1]\nSensor=0x3050\n", {}},
        MessageRow{"GunPresetOutOfTable", 10, "[SENSOR_1]\nSensor=0x3050\nKM=2\nK1_1=8,c0,f,1\n",
                   {"Error: Wrong gun preset 0xf in K1_1"}},
        MessageRow{"DmAboveTheLevelTables", 5, "[SENSOR_1]\nSensor=0x3050\nDM=12\nDPI=500,750,1000,1250,1500,1750,"
                                               "2000,2500,3000,3500\n",
                   {"Warning: DM of SENSOR_1 section is 12, not 0..10"}},
        MessageRow{"MatrixIndexDiffersBetweenModes", 5,
                   "[SENSOR_1]\nSensor=0x3050\nKM=2\nK1_1=1,1,0,1\nK1_2=1,1,0,1\nK1_3=1,1,0,4\n",
                   {"Warning: Matrix index repeat"}}),
    test::RowName());

TEST(SensorSection, MdnumOutsideThreeSixNineStopsTheSection) {
    const auto l = LoadMouse("[SENSOR_1]\nSensor=0x3050\nMDNUM=4\nK1_1=1,1,0,1\nMark1=1,2,3,4\n");
    EXPECT_THAT(l->Texts(), ElementsAre());
    const SensorCfg& s = l->ms().Sensors[0];
    EXPECT_EQ(s.nModeNum, 0);
    EXPECT_EQ(s.nKeyNum, 0);
    EXPECT_EQ(s.DefKeys[0][0].FunID, 0u);
    EXPECT_EQ(s.rcMark[0], Rect{});
    EXPECT_EQ(s.nDpiNum, 6);  // read before MDNUM
}

TEST(SensorSection, OddKmStopsBeforeTheButtons) {
    const auto l = LoadMouse("[SENSOR_1]\nSensor=0x3050\nKM=7\nK1_1=1,1,0,1\n");
    EXPECT_EQ(l->ms().Sensors[0].nModeNum, 3);
    EXPECT_EQ(l->ms().Sensors[0].nKeyNum, 0);
    EXPECT_EQ(l->ms().Sensors[0].DefKeys[0][0].FunID, 0u);
}

TEST(SensorSection, ButtonsOfModeOneFillEveryModeAndKeysFollowTheirType) {
    const auto l = LoadMouse(
        "[MS]\nExKey2=0xAABBCCDD\n"
        "[SENSOR_1]\nSensor=0x3050\nKM=10\n"
        "K1_1=1,1,0,1\n"          // plain
        "K2_1=2,41,3,2\n"         // key with modifiers
        "K3_1=8,a6,2,3\n"         // DPI level: parameter kept
        "K4_1=b,1,0,4\n"          // extra key
        "K5_1=3,1ff,ffff,105\n"   // code and matrix index cut to their low byte, parameter dropped
        "K6_1=1,2,3\n",           // three numbers: ignored
        10);
    EXPECT_THAT(l->Texts(), ElementsAre());
    const SensorCfg& s = l->ms().Sensors[0];
    for (int m = 0; m < 3; ++m) {
        const MouseKeyTable& t = s.DefKeys[m];
        EXPECT_EQ(t[0].FunID, 0x01000001u) << "mode " << m;
        EXPECT_EQ(t[0].nMatrixInx, 1);
        EXPECT_EQ(t[1].FunID, 0x020000a1u);
        EXPECT_EQ(t[1].byVk, 0x41);
        EXPECT_EQ(t[1].byModifier, 3);
        EXPECT_EQ(KeyParam(t[1]), 0u);
        EXPECT_EQ(t[2].FunID, 0x080000a6u);
        EXPECT_EQ(KeyParam(t[2]), 2u);
        EXPECT_EQ(t[3].FunID, 0x0b000001u);
        EXPECT_EQ(KeyParam(t[3]), 0xAABBCCDDu);
        EXPECT_EQ(t[4].FunID, 0x030000ffu);
        EXPECT_EQ(t[4].nMatrixInx, 5);
        EXPECT_EQ(KeyParam(t[4]), 0u);
        EXPECT_EQ(t[5].FunID, 0u);
    }
}

TEST(SensorSection, GunPresetTakesItsValueFromTheGunTable) {
    const auto l = LoadMouse("[MS]\nGunValue=1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21\n"
                             "[SENSOR_1]\nSensor=0x3050\nKM=6\nK1_1=8,c0,12,1\nK2_1=8,c0,10012,2\nK3_1=8,c0,0,3\n",
                             10);
    EXPECT_THAT(l->Texts(), ElementsAre());
    const MouseKeyTable& t = l->ms().Sensors[0].DefKeys[0];
    EXPECT_EQ(KeyParam(t[0]), 0x12u | (8u << 16));  // gun 2, sight 1: byte 7
    EXPECT_EQ(KeyParam(t[1]), 0x10012u);             // upper half given: kept as is
    EXPECT_EQ(KeyParam(t[2]), 1u << 16);
}

TEST(SensorSection, LaterModesOverrideAndMode1StaysEmptyWithoutKeys) {
    const auto l = LoadMouse("[SENSOR_1]\nSensor=0x3050\nKM=2\nK1_2=1,2,0,1\nMDNUM=6\n");
    const SensorCfg& s = l->ms().Sensors[0];
    EXPECT_EQ(s.nModeNum, 2);
    EXPECT_EQ(s.nKeyY, 35);
    EXPECT_EQ(s.DefKeys[0][0].FunID, 0u);
    EXPECT_EQ(s.DefKeys[1][0].FunID, 0x01000002u);
    EXPECT_EQ(s.DefKeys[2][0].FunID, 0u);  // copied from the empty mode 1
}

TEST(SensorSection, ExplicitLevelsColoursRatesAndMarks) {
    const auto l = LoadMouse("[MS]\nSensor=0x3360\n[SENSOR_1]\nSensor=0x3360\nDM=3\nDPI=800,1600,3200\nDC=1,2,3,4,5,6,7,8,9\n"
                             "DR=0x1000\nDR_3=0x250\nRATE4=0x2000\nMDNUM=3\nDEFLEVEL=2\nMark3=10,20,30,40\n");
    EXPECT_THAT(l->Texts(), ElementsAre());
    const SensorCfg& s = l->ms().Sensors[0];
    EXPECT_THAT(s.nDefDpi, ElementsAre(800, 1600, 3200, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(s.clrDefDpi[0], Rgb(1, 2, 3));
    EXPECT_EQ(s.clrDefDpi[2], Rgb(7, 8, 9));
    EXPECT_EQ(s.clrDefDpi[3], Rgb(0, 255, 255));  // the defaults stay beyond DM
    EXPECT_THAT(s.dwDefRate, ElementsAre(0x1000u, 0x1000u, 0x250u));
    EXPECT_EQ(s.dwRate[3], 0x2000u);
    EXPECT_EQ(s.nModeNum, 1);
    EXPECT_EQ(s.nKeyY, 10);
    EXPECT_EQ(s.nDefLevel, 2);
    EXPECT_EQ(s.rcMark[2], (Rect{10, 20, 40, 60}));
}

TEST(SensorSection, DpiSetChangesTheStepsOfItsOwnConfigurationOnly) {
    const auto changed = LoadMouse("[MS]\nSensor=0x3310\n[SENSOR_1]\nSensor=0x3310\nDPISET=400,800,1600\nDM=2\nDPI=400,1600\n");
    EXPECT_THAT(changed->Texts(), ElementsAre());
    const SensorDpi* s = FindSensorDpi(changed->config.SensorDpiList, 0x3310);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->nNum, 3);
    EXPECT_THAT(std::vector<int>(s->nDpi.begin(), s->nDpi.begin() + 4), ElementsAre(400, 800, 1600, 0));
    EXPECT_THAT(std::vector<int>(s->byHw.begin(), s->byHw.begin() + 4), ElementsAre(1, 2, 3, 0));

    const auto other = LoadMouse("[MS]\nSensor=0x3310\n[SENSOR_1]\nSensor=0x3310\nDM=1\nDPI=5000\nDPIHW=1,2,3,4,5,6,7,8,9,10,11,12,100\n");
    EXPECT_THAT(other->Texts(), ElementsAre());
    const SensorDpi* o = FindSensorDpi(other->config.SensorDpiList, 0x3310);
    EXPECT_EQ(o->nNum, 13);
    EXPECT_EQ(o->nDpi[12], 5000);
    EXPECT_EQ(o->byHw[12], 100);
}

TEST(MouseSection, DefaultsOfAnEmptySection) {
    const auto l = LoadMouse("[SENSOR_1]\nSensor=0x3050\n", 10);
    const MsDevCfg& ms = l->ms();
    EXPECT_THAT(ms.nShowLed, ElementsAre(1, 0));
    EXPECT_THAT(ms.nGridRGBIndex, ElementsAre(0, 1, 2));
    EXPECT_EQ(ms.dwShowEx, 0x10101u);
    EXPECT_EQ(ms.nEnhancePrecision, -1);
    EXPECT_EQ(ms.clrChijiBkg, Rgb(4, 106, 157));
    EXPECT_THAT(ms.clrEffectTail, ElementsAre(0, 0, 0, 0, 0, 0, 0));  // ShowEffect 0: not read
    EXPECT_EQ(ms.PickColor[0].clr, kRed);
    EXPECT_EQ(ms.PickColor[6].clr, kWhite);
    EXPECT_EQ(ms.PickColor[6].nCode, 7);
    EXPECT_EQ(ms.PickColor[7].clr, 0u);
    EXPECT_EQ(ms.clrGun[0], kRed);
    EXPECT_EQ(ms.byGunValue[0], 13);
    EXPECT_EQ(ms.byGunValue[20], 8);
    EXPECT_EQ(ms.LedOpt[2].nColorNum, 7);
    EXPECT_EQ(ms.LedOpt[11].clrDef[6], Rgb(250, 0, 250));
    EXPECT_EQ(ms.LedOpt[12].clrDef[0], 0u);
}

TEST(MouseSection, ListsAndLightingOptions) {
    const auto l = LoadMouse("[MS]\nShowLED=0x0102\nShowEffect=1\nclrEffectTail=1,2,3\nGridRGBIndex=2,0,1\n"
                             "LedOpt1=0,1\nLedOpt2=1,1,1,1,2,9,9,9\nLedOpt14=1,1,1,1,1\nLedOpt15=0,0,0,0,200\n"
                             "PickColor=10,0,0,5,0,20,0,6,0,0,0,7,1,1,1,8\nLedParam=a,ff,100000000\n"
                             "SnipMenu=1,2,3,4\n[SENSOR_1]\nSensor=0x3050\n");
    EXPECT_THAT(l->Texts(), ElementsAre());
    const MsDevCfg& ms = l->ms();
    EXPECT_THAT(ms.nShowLed, ElementsAre(2, 1));
    EXPECT_THAT(ms.clrEffectTail, ElementsAre(Rgb(1, 2, 3), 0, 0, 0, 0, 0, 0));
    EXPECT_THAT(ms.nGridRGBIndex, ElementsAre(2, 0, 1));
    EXPECT_EQ(ms.LedOpt[0].bSpeed, 0);
    EXPECT_EQ(ms.LedOpt[0].bBright, 1);
    EXPECT_EQ(ms.LedOpt[0].bDir, 0);            // not given: 0
    EXPECT_EQ(ms.LedOpt[0].clrDef[0], kRed);    // five numbers or fewer keep the colours
    EXPECT_EQ(ms.LedOpt[1].clrDef[0], Rgb(9, 9, 9));
    EXPECT_EQ(ms.LedOpt[1].clrDef[1], 0u);
    EXPECT_EQ(ms.LedOpt[13].nColorNum, 1);
    EXPECT_EQ(ms.LedOpt[14].nColorNum, 7);  // never more swatches than colours
    ASSERT_EQ(ms.PickColor[1].clr, Rgb(0, 20, 0));
    EXPECT_EQ(ms.PickColor[1].nCode, 6);
    EXPECT_EQ(ms.PickColor[2].clr, 0u);  // the black entry ends the list
    EXPECT_EQ(ms.dwLedParam[0], 0xAu);
    EXPECT_EQ(ms.dwLedParam[1], 0xFFu);
    EXPECT_EQ(ms.dwLedParam[2], 0xFFFFFFFFu);
    EXPECT_EQ(SnipMenuEntryCount(ms), 2);
}

TEST(MouseSection, LockMenuCountNeverReachesPastItsBytes) {
    const auto l = LoadMouse("[MS]\nSnipMenu=1,200\n[SENSOR_1]\nSensor=0x3050\n");
    EXPECT_EQ(l->ms().bySnipMenu[1], 200);  // reported, kept
    EXPECT_EQ(SnipMenuEntryCount(l->ms()), 26);
}

TEST(ButtonLayout, PlacesEachRowByKeyYAndKeyH) {
    auto l = LoadMouse("[SENSOR_1]\nSensor=0x3050\nKEYY=20\nKEYH=5\nKM=2\nK1_1=1,1,0,1\n");
    EXPECT_THAT(l->Texts(), ElementsAre());
    for (int m = 0; m < 3; ++m) {
        EXPECT_EQ(l->config.DefKeyTable[m][0].rcKey, (Rect{45, 20, 224, 45}));
        EXPECT_EQ(l->config.DefKeyTable[m][20].rcKey, (Rect{45, 20 + 20 * 30, 224, 45 + 20 * 30}));
        EXPECT_EQ(l->config.DefKeyTable[m][0].FunID, 0x01000001u);
    }
    // The sensor's own table keeps no caption rectangles.
    EXPECT_EQ(l->ms().Sensors[0].DefKeys[0][0].rcKey, Rect{});
}

TEST(ButtonLayout, HugeRowsAndMarksStopAtTheLargestValue) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    auto l = LoadMouse("[SENSOR_1]\nSensor=0x3050\nKEYY=2147483600\nKEYH=2147483647\nKM=2\nK1_1=1,1,0,1\n"
                       "MDNUM=3\nMark1=2147483647,2147483647,10,10\n");
    EXPECT_EQ(l->config.DefKeyTable[0][0].rcKey, (Rect{45, 2147483600, 224, 2147483625}));
    EXPECT_EQ(l->config.DefKeyTable[0][1].rcKey, (Rect{45, kMax, 224, kMax}));
    EXPECT_EQ(l->ms().Sensors[0].rcMark[0], (Rect{kMax, kMax, kMax, kMax}));
}

}  // namespace
}  // namespace quobel
