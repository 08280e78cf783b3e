#include "config/keyboard_desc.h"

#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "desc_fixture.h"

namespace quobel {
namespace {

using test::LoadKeyboard;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

TEST(KeyTable, KeysTakeTheirRectangleFunctionAndIndexes) {
    const auto l = LoadKeyboard(
        "[KBKEY]\n"
        "K1=10,20,50,60,1,41,0,5,7\n"        // plain key, code hexadecimal
        "K2=0,0,1,1,2,41,3,6,8\n"            // key with modifiers
        "K3=0,0,1,1,2,a1,0,7,9\n"            // right shift alone
        "K4=0,0,1,1,9,12,abcd,8,10\n"        // type 9 keeps its parameter
        "K5=0,0,1,1,1,42,ffff,150,3\n"       // matrix index out of range: dropped
        "K6=0,0,1,1,1,43,0,9\n"              // LED index left out: 0
        "K7=0,0,1,1,1,44,0,10,11,99\n"       // numbers beyond nine ignored
        "K9=0,0,1,1,1,45,0,11,12\n");        // after the gap: not read
    EXPECT_THAT(l->Texts(), ElementsAre("Warning: Wrong matrix index value!"));
    const auto& k = l->config.g_defKEY;
    EXPECT_EQ(l->kb().nKeyCount, 6);
    EXPECT_EQ(l->kb().nMaxEftKeyIndex, 6);

    EXPECT_EQ(k[0].rcKey, (Rect{10, 20, 50, 60}));
    EXPECT_EQ(k[0].FunID, 0x01000041u);
    EXPECT_EQ(k[0].nMatrixInx, 5);
    EXPECT_EQ(k[0].nLedInx, 7);
    EXPECT_EQ(k[1].FunID, 0x020000a0u);
    EXPECT_EQ(k[1].byVk, 0x41);
    EXPECT_EQ(k[1].byModifier, 3);
    EXPECT_EQ(k[2].FunID, 0x020000a0u);
    EXPECT_EQ(k[2].byVk, 0);
    EXPECT_EQ(k[2].byModifier, 0x20);
    EXPECT_EQ(k[2].byModVk, 0xA1);
    EXPECT_EQ(k[3].FunID, 0x09000012u);
    EXPECT_EQ(KeyParam(k[3]), 0xabcdu);
    EXPECT_EQ(k[4].FunID, 0x01000043u);  // the dropped key's slot went to the next one
    EXPECT_EQ(k[4].nLedInx, 0);
    EXPECT_EQ(KeyParam(k[4]), 0u);
    EXPECT_EQ(k[5].nMatrixInx, 10);
    EXPECT_EQ(k[6].FunID, 0u);
    EXPECT_EQ(k[6].nMatrixInx, -1);
}

TEST(KeyTable, WithoutTheFirstKeyIsEmpty) {
    const auto l = LoadKeyboard("[KBKEY]\nK2=0,0,1,1,1,41,0,5,7\n", 1);
    EXPECT_EQ(l->kb().nKeyCount, 0);
    EXPECT_EQ(l->kb().nMaxEftKeyIndex, 0);
    EXPECT_EQ(l->config.g_defKEY[0].nMatrixInx, -1);
}

TEST(KeyTable, APieceThatIsNoNumberEndsTheKeysNumbers) {
    const auto l = LoadKeyboard("[KBKEY]\nK1=1,2,3,4,1,4x,0,5,7\n", 1);
    EXPECT_THAT(l->Texts(), ElementsAre("Error: Data parse error!"));
    const KeyInfo& k = l->config.g_defKEY[0];
    EXPECT_EQ(l->kb().nKeyCount, 1);
    EXPECT_EQ(k.rcKey, (Rect{1, 2, 3, 4}));
    EXPECT_EQ(k.FunID, 0x01000000u);
    EXPECT_EQ(k.nMatrixInx, 0);
}

TEST(KeyTable, SameMatrixIndexIsReportedWhenLogging) {
    const char* ini = "[KBKEY]\nK1=0,0,1,1,1,41,0,5,1\nK2=0,0,1,1,1,42,0,6,2\nK3=0,0,1,1,1,43,0,5,3\n";
    EXPECT_THAT(LoadKeyboard(ini, 1, 0)->Texts(), ElementsAre());
    EXPECT_THAT(LoadKeyboard(ini, 1, 2)->Texts(),
                ElementsAre("Warning: Key0 and Key2 has the same matrix index",
                            "Warning: Key2 and Key0 has the same matrix index"));
}

TEST(KeyboardSection, DefaultsOfAnEmptySection) {
    const auto l = LoadKeyboard("", 1);
    EXPECT_THAT(l->Texts(), ElementsAre());
    const KbDevCfg& kb = l->kb();
    EXPECT_EQ(kb.rcKB, (Rect{280, 180, 954, 365}));
    EXPECT_EQ(kb.nShowEffect, 0xffff);
    EXPECT_THAT(kb.byNeonSpeed, ElementsAre(50, 40, 30, 20, 15));
    EXPECT_THAT(kb.byRGBIndex, ElementsAre(2, 1, 0));
    EXPECT_EQ(kb.byEffectNum, 13);
    EXPECT_EQ(kb.byEffectOffset, 18);
    EXPECT_EQ(kb.byGaoshouGroupNum, 5);
    EXPECT_THAT(kb.byCustomGp, ElementsAre(0, 4));
    EXPECT_EQ(kb.byGaoshouAddr, 172);
    EXPECT_EQ(kb.byStartGp, 32);
    EXPECT_EQ(kb.clrGaoshou, Rgb(255, 255, 255));
    EXPECT_THAT(std::vector<int>(kb.byLEDParam.begin(), kb.byLEDParam.begin() + 30),
                ElementsAre(7, 35, 7, 35, 7, 35, 7, 35, 7, 35, 0, 35, 7, 35, 0, 35, 7, 35, 7, 35, 7, 35, 7, 35, 0,
                            35, 7, 35, 0, 0));
    EXPECT_EQ(kb.LedOpt[0].nEffectCode, 5);
    EXPECT_EQ(kb.LedOpt[12].nEffectCode, 18);
    EXPECT_EQ(kb.LedOpt[12].clrDef[3], Rgb(255, 255, 0));
    EXPECT_EQ(kb.LedOpt[13].nEffectCode, 0);
    EXPECT_EQ(kb.LedOpt[13].clrDef[0], 0u);
}

TEST(KeyboardSection, ValuesAsGiven) {
    const auto l = LoadKeyboard("[KB]\nVID=0x11209\nrcKB=10,20,300,100\nGaoshouGroupNum=12\n"
                                "GaoshouKey1=41,42\nGaoshouKey2=10,a1\nGaoshouKey4=43\n"
                                "LedOpt1=9,0,0\nLedOpt2=1,1,1,1,1,10,20,30\nLedOpt18=4,0,0,0,0,1\n"
                                "UnRectKey=40,10,10,30,10,30,30,10,30,10,10\nDefLed=a,2,3\n",
                                1);
    EXPECT_THAT(l->Texts(), ElementsAre());
    const KbDevCfg& kb = l->kb();
    EXPECT_EQ(kb.wVid, 0x1209);
    EXPECT_EQ(kb.rcKB, (Rect{10, 20, 310, 120}));
    EXPECT_EQ(kb.byGaoshouGroupNum, 10);
    EXPECT_THAT(kb.byCustomGp, ElementsAre(0, 11));
    EXPECT_EQ(kb.byGaoshouKey[0][1], 0x42);
    EXPECT_EQ(kb.byGaoshouKey[1][1], 0xa1);
    EXPECT_EQ(kb.byGaoshouKey[3][0], 0);  // rows stop at the first missing key
    EXPECT_EQ(kb.LedOpt[0].nEffectCode, 9);
    EXPECT_EQ(kb.LedOpt[0].bSpeed, 0);
    EXPECT_EQ(kb.LedOpt[0].bColor, 0);
    EXPECT_EQ(kb.LedOpt[0].clrDef[0], Rgb(255, 0, 0));
    EXPECT_EQ(kb.LedOpt[1].bColor, 10);
    EXPECT_EQ(kb.LedOpt[1].clrDef[0], Rgb(10, 20, 30));
    EXPECT_EQ(kb.LedOpt[1].clrDef[1], 0u);
    EXPECT_EQ(kb.LedOpt[17].nEffectCode, 4);
    EXPECT_EQ(kb.UnRectKey.nKeyId, 40);
    EXPECT_EQ(kb.UnRectKey.nPointNum, 5);
    EXPECT_EQ(kb.UnRectKey.ptOutline[4], (Point{10, 10}));
    EXPECT_EQ(kb.dwDefLed[0], 0xAu);
}

struct KbMessageRow {
    friend void PrintTo(const KbMessageRow& r, std::ostream* os) { *os << r.name; }
    const char* name;
    const char* ini;
    std::vector<std::string> messages;
};

class KeyboardMessages : public ::testing::TestWithParam<KbMessageRow> {};

TEST_P(KeyboardMessages, AreReportedAndReadingGoesOn) {
    EXPECT_THAT(LoadKeyboard(GetParam().ini, 1)->Texts(), ElementsAreArray(GetParam().messages));
}

INSTANTIATE_TEST_SUITE_P(
    Table, KeyboardMessages,
    ::testing::Values(
        KbMessageRow{"EffectOffset", "[KB]\nEffectOffset=61\n", {"Warning: Invalid nEffectOffset"}},
        KbMessageRow{"EffectNum", "[KB]\nEffectNum=18\nLEDParam=1,2\n",
                     {"Warning: Invalid nEffectNum", "Warning: Invalid LEDParam"}},
        KbMessageRow{"RgbIndex", "[KB]\nRGBIndex=0,1,1\n", {"Warning: R G B Index Error"}},
        KbMessageRow{"LedParamShort", "[KB]\nEffectNum=2\nLEDParam=1,2,3\n", {"Warning: Invalid LEDParam"}},
        KbMessageRow{"LedParamOneByteIsDefault", "[KB]\nLEDParam=1\n", {}},
        KbMessageRow{"ColorIndex", "[KB]\nColorIndex=7\n", {"Warning: Invalid gVar.nColorIndex"}},
        KbMessageRow{"OutlineNotClosed", "[KB]\nUnRectKey=40,10,10,30,10,30,30,10,30\n",
                     {"Error: EnterPt[0]!=EnterPt[Last] "}},
        KbMessageRow{"OutlineTooShortIgnored", "[KB]\nUnRectKey=40,10,10,30,10,30,30,10\n", {}},
        KbMessageRow{"KeyboardRectangle", "[KB]\nrcKB=1,2,3\n", {"Error: Wrong rect num"}}),
    test::RowName());

TEST(KeyboardSection, EffectCountBeyondTheTablesIsLimitedForUse) {
    const auto l = LoadKeyboard("[KB]\nEffectNum=200\n", 1);
    EXPECT_EQ(l->kb().byEffectNum, 200);  // reported, kept
    EXPECT_EQ(UsableEffectNum(l->kb()), 18);
    EXPECT_EQ(UsableEffectNum(LoadKeyboard("", 1)->kb()), 13);
}

TEST(FnLayer, IndexesFunctionsAndFreeIndexes) {
    const auto l = LoadKeyboard(
        "[KBKEY]\nK1=0,0,1,1,1,41,0,1,1\nK2=0,0,1,1,1,42,0,2,2\nK3=0,0,1,1,1,43,0,3,3\n"
        "[FN]\n"
        "K1=1,b5,0,0\n"       // index 0
        "K2=8,1234,77,60\n"   // index above 47: 47; code kept to its low byte
        "K3=1,b6,0\n"         // no index: the lowest free one
        "K5=2,a5\n"           // right alt alone, free index
        "K6=2,41,5,2\n");     // key: no modifier from the parameter
    EXPECT_THAT(l->Texts(), ElementsAre());
    const auto& k = l->config.g_defKEY;
    EXPECT_EQ(k[0].nFnInx, 0);
    EXPECT_EQ(k[0].FnFun.FunID, 0x010000b5u);
    EXPECT_EQ(k[1].nFnInx, 47);
    EXPECT_EQ(k[1].FnFun.FunID, 0x08000034u);
    EXPECT_EQ(KeyParam(k[1].FnFun), 0x77u);
    EXPECT_EQ(k[2].nFnInx, 1);
    EXPECT_EQ(k[3].nFnInx, -1);
    EXPECT_EQ(k[4].nFnInx, 3);
    EXPECT_EQ(k[4].FnFun.FunID, 0x020000a0u);
    EXPECT_EQ(k[4].FnFun.byModifier, 0x40);
    EXPECT_EQ(k[4].FnFun.byModVk, 0xA5);
    EXPECT_EQ(k[4].FnFun.byVk, 0);
    EXPECT_EQ(k[5].nFnInx, 2);
    EXPECT_EQ(k[5].FnFun.byVk, 0x41);
    EXPECT_EQ(k[5].FnFun.byModifier, 0);
    EXPECT_EQ(k[0].FunID, 0x01000041u);  // the base layer is untouched
}

TEST(FnLayer, OnlyKeyboardFirmware20ReadsIt) {
    const auto l = LoadKeyboard("[FN]\nK1=1,b5,0,0\n[KB]\nShowGest=1\n[GEST]\nK1=1,2,3,4\n", 21);
    EXPECT_EQ(l->config.g_defKEY[0].nFnInx, 0);  // untouched by the reader
    EXPECT_EQ(l->config.g_defKEY[0].FnFun.FunID, 0u);
    EXPECT_EQ(l->config.GestTable[0].FunID, 0u);
}

TEST(FnLayer, SixtyFourEntriesAtMostAndNoIndexBeyondTheLast) {
    std::string ini = "[FN]\n";
    for (int slot = 1; slot <= 66; ++slot) ini += "K" + std::to_string(slot) + "=1,1,0,20\n";
    ini += "K100=1,1,0\n";
    const auto l = LoadKeyboard(ini);
    EXPECT_THAT(l->Texts(), ElementsAre("Warning: k>=64", "Warning: k>=64", "Warning: k>=64"));
    const auto& k = l->config.g_defKEY;
    EXPECT_EQ(k[63].nFnInx, 20);
    EXPECT_EQ(k[64].nFnInx, -1);
    EXPECT_EQ(k[99].nFnInx, -1);

    // 64 entries asking for a free index: all 64 indexes go, no slot gets one twice.
    std::string all = "[FN]\n";
    for (int slot = 1; slot <= 64; ++slot) all += "K" + std::to_string(slot) + "=1,1,0\n";
    const auto full = LoadKeyboard(all);
    std::vector<int> got;
    for (int s = 0; s < 64; ++s) got.push_back(full->config.g_defKEY[s].nFnInx);
    std::vector<int> want(64);
    for (int i = 0; i < 64; ++i) want[i] = i;
    EXPECT_EQ(got, want);
}

TEST(Gestures, ReadOnlyWhenShownAndKeepTheirPlaces) {
    const char* gest = "[GEST]\nK1=1,41,0,7\nK3=2,a0\nK4=9,5,abc\nK11=1,1,0,1\n";
    const auto off = LoadKeyboard(gest);
    EXPECT_EQ(off->config.GestTable[0].FunID, 0u);

    const auto on = LoadKeyboard(std::string("[KB]\nShowGest=1\n") + gest);
    EXPECT_THAT(on->Texts(), ElementsAre());
    const auto& g = on->config.GestTable;
    EXPECT_EQ(g[0].FunID, 0x01000041u);
    EXPECT_EQ(g[0].nMatrixInx, 7);
    EXPECT_EQ(g[1].FunID, 0u);
    EXPECT_EQ(g[2].FunID, 0x020000a0u);
    EXPECT_EQ(g[2].byModifier, 0x02);
    EXPECT_EQ(g[2].byModVk, 0x10);
    EXPECT_EQ(g[2].nMatrixInx, 0);
    EXPECT_EQ(g[3].FunID, 0x09000005u);
    EXPECT_EQ(KeyParam(g[3]), 0xabcu);
}

TEST(MatrixIndexOfKeyCode, PlainKeysFirstMatchModifiersLastMatch) {
    const auto l = LoadKeyboard("[KBKEY]\n"
                                "K1=0,0,1,1,1,41,0,9,1\n"    // no key code of its own
                                "K2=0,0,1,1,2,41,0,10,1\n"
                                "K3=0,0,1,1,2,41,0,11,2\n"
                                "K4=0,0,1,1,2,a0,0,12,3\n"   // left shift
                                "K5=0,0,1,1,2,10,0,13,4\n"   // shift: same bit, later
                                "K6=0,0,1,1,2,a3,0,14,5\n",  // right control
                                1);
    const std::span<const KeyInfo> keys = l->config.g_defKEY;
    const std::pair<int, int> rows[] = {{0x41, 10}, {0xA0, 13}, {0x10, 13}, {0xA1, -1},
                                        {0xA3, 14}, {0x42, -1}};
    for (const auto& [code, inx] : rows) EXPECT_EQ(MatrixIndexOfKeyCode(keys, static_cast<std::uint8_t>(code)), inx)
        << "code " << code;
}

}  // namespace
}  // namespace quobel
