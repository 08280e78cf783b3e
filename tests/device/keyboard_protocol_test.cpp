#include "device/keyboard_protocol.h"

#include <memory>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "device/device_fixture.h"
#include "device/device_report_io.h"
#include "sim/sim_device.h"

namespace quobel {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The writes on their way to the simulated keyboard, in order.
class RecordingIo final : public ReportIo {
public:
    struct Write {
        std::uint8_t id = 0;
        Bytes data;
    };
    explicit RecordingIo(ReportIo& inner) : inner_(inner) {}
    [[nodiscard]] bool Present() const override { return inner_.Present(); }
    [[nodiscard]] bool SetReport(std::uint8_t id, std::span<const std::uint8_t> data) override {
        log.push_back({id, {data.begin(), data.end()}});
        return inner_.SetReport(id, data);
    }
    [[nodiscard]] bool GetReport(std::uint8_t id, std::span<std::uint8_t> out) override {
        return inner_.GetReport(id, out);
    }
    [[nodiscard]] int LastError() const override { return inner_.LastError(); }
    [[nodiscard]] std::vector<Write> Sets(std::uint8_t id) const {
        std::vector<Write> out;
        for (const Write& w : log)
            if (w.id == id) out.push_back(w);
        return out;
    }
    std::vector<Write> log;

private:
    ReportIo& inner_;
};

KeyInfo Key(std::uint32_t fun, int matrix, int led, int fn = -1) {
    KeyInfo k;
    k.FunID = fun;
    k.nMatrixInx = matrix;
    k.nLedInx = led;
    k.nFnInx = fn;
    return k;
}

// The test's own key codes: type 7 cannot be encoded, macros are 0x10000100, every
// other function is sent as its code.
KeyCodec TestCodec() {
    KeyCodec k;
    k.code = [](const KeyInfo& ki) -> std::uint32_t {
        if (ki.FunID == 0 || FunType(ki.FunID) == 7) return kNoDeviceCode;
        if (FunType(ki.FunID) == 5) return 0x10000100;
        return FunCode(ki.FunID);
    };
    return k;
}

// The keyboard transport open on the simulated keyboard.
struct KbRig {
    test::DeviceRig device;
    std::unique_ptr<CDrv642> drv = device.Make<CDrv642>();
    DrvReportIo link{*drv, [this](std::uint8_t id) -> HidHandle {
        return id == kKbRequestId ? drv->CmdHandle() : id == kKbBlockId ? drv->DeviceHandle() : nullptr;
    }};
    RecordingIo dev{link};
    RecordingSleeper sleeper;
    CollectingReporter reporter;
    MacroList macros;
    ApplyEnv env;
    KeyboardProtoDesc desc;
    std::unique_ptr<ProfileData> p = std::make_unique<ProfileData>();

    KbRig() {
        EXPECT_EQ(drv->FindDev(), 1);
        env.io = &dev;
        env.sleeper = &sleeper;
        env.reporter = &reporter;
        env.macros = &macros;
        env.codec = TestCodec();
        env.limits.nMacroBufSize = 128;
        env.limits.nMacroNum = 32;
        desc.byDefCfg = 0x22;
        desc.byOurCfg = 0x11;
        p->dwMagic = kProfileMagic;
        p->dwProfileID = 7;
        for (auto& e : p->Kb.Effects) e = LedEffect{1, 1, 1, 0, {}, 0, 0, 0};
    }
    // The description's keys, copied into the profile as a new profile does.
    void SetKeys(std::vector<KeyInfo> keys) {
        desc.keys = keys;
        for (std::size_t i = 0; i < keys.size(); ++i) p->Kb.Keys[i] = keys[i];
    }
};

TEST(KeyboardHeader, EffectBytesOverTheHeaderRead) {
    KbRig rig;
    KbProfile& kb = rig.p->Kb;
    kb.nEffect = 2;
    kb.nCurGameGroup = 3;
    kb.Effects[0] = LedEffect{3, 4, 2, 0, {}, 0, 5, 0};
    kb.Effects[1] = LedEffect{1, 16, 1, 1, {}, 0, 5, 0};
    Bytes h(136);
    for (std::size_t i = 0; i < h.size(); ++i) h[i] = static_cast<std::uint8_t>(i);
    Bytes want = h;
    EncodeKbHeader(std::span<std::uint8_t, 136>(h), kb, rig.desc, false);
    want[0] = 0x11;
    want[8 + 4] = 0;        // not per-key colours
    want[8 + 5] = 3;        // effect 2 + base 1
    want[8 + 6] = 32 + 3;   // group + start group
    want[8 + 18] = 0x85;    // colour 5, right
    want[8 + 19] = 0x23;    // speed 3, brightness 4
    want[8 + 20] = 0x07;    // multicolour, left
    want[8 + 21] = 0x0F;
    for (std::size_t i = 22; i < 44; ++i) want[8 + i] = 0;
    want[8 + 62] = 0x5A;
    want[8 + 63] = 0xA5;
    EXPECT_EQ(h, want);

    kb.nEffect = 13;  // per-key colour mode; a reset selects the default configuration
    EncodeKbHeader(std::span<std::uint8_t, 136>(h), kb, rig.desc, true);
    EXPECT_EQ(h[0], 0x22);
    EXPECT_EQ(h[8 + 4], 1);
    EXPECT_EQ(h[8 + 5], 14);
}

TEST(KeyboardColours, TableInDeviceOrder) {
    KbRig rig;
    rig.p->Kb.Effects[0].clr[0] = Rgb(1, 2, 3);
    rig.p->Kb.Effects[12].clr[6] = Rgb(4, 5, 6);
    rig.p->Kb.Effects[13].clr[0] = Rgb(7, 7, 7);  // beyond what the command carries
    rig.desc.byEffectNum = 14;
    const auto t = BuildKbColourTable(rig.p->Kb, rig.desc);
    Bytes want(273, 0);
    want[0] = 3;  // blue, green, red with the default order 2, 1, 0
    want[1] = 2;
    want[2] = 1;
    want[270] = 6;
    want[271] = 5;
    want[272] = 4;
    EXPECT_EQ(Bytes(t.begin(), t.end()), want);
}

TEST(KeyboardLed, TransfersPerFlags) {
    KbRig rig;
    KbProfile& kb = rig.p->Kb;
    kb.nEffect = 13;
    using T = std::vector<std::pair<int, int>>;
    auto list = [&](std::uint32_t flags) {
        T out;
        for (const auto& t : KbLedTransfers(kb, rig.desc, flags)) out.push_back({t.first_group, t.addr});
        return out;
    };
    EXPECT_EQ(list(4), (T{{0, 172}, {2, 176}, {4, 180}}));  // five groups: three transfers
    kb.nCurGameGroup = 3;
    EXPECT_EQ(list(0x10), (T{{2, 176}}));
    kb.nCurGameGroup = 1;
    EXPECT_EQ(list(0x10), (T{{0, 172}}));
    EXPECT_EQ(list(2), T{});
    kb.nEffect = 4;  // lighting effect mode: no per-key colours
    EXPECT_EQ(list(4), T{});
}

TEST(KeyboardLed, PlanesAndTheJoinedLeds) {
    KbRig rig;
    rig.SetKeys({Key(0x02000004, 10, 57), Key(0x02000005, 11, 5), Key(0, 12, 6), Key(0x02000006, 13, 140)});
    KbProfile& kb = rig.p->Kb;
    kb.clrKey[2][10] = Rgb(1, 2, 3);
    kb.clrKey[3][11] = Rgb(4, 5, 6);
    kb.clrKey[2][12] = Rgb(9, 9, 9);  // description entry without a function: skipped
    kb.clrKey[2][13] = Rgb(9, 9, 9);  // LED 140 does not exist: skipped
    const auto buf = BuildKbLedTransfer(kb, rig.desc, 2, {});
    Bytes want(792, 0);
    for (std::size_t led : {35u, 57u, 100u}) {  // a colour at 57 lights 35 and 100 too
        want[led] = 3;
        want[132 + led] = 2;
        want[264 + led] = 1;
    }
    want[396 + 5] = 6;
    want[396 + 132 + 5] = 5;
    want[396 + 264 + 5] = 4;
    EXPECT_EQ(Bytes(buf.begin(), buf.end()), want);

    kb.clrKey[4][11] = Rgb(1, 1, 1);
    kb.clrKey[5][11] = Rgb(2, 2, 2);  // group 5 is past the five configured groups
    const auto last = BuildKbLedTransfer(kb, rig.desc, 4, {});
    EXPECT_EQ(last[5], 1);
    EXPECT_EQ(Bytes(last.begin() + 396, last.end()), Bytes(396, 0));
}

TEST(KeyboardMatrix, FnLayersConflictsGesturesAndMacros) {
    KbRig rig;
    MacroRecord a;  // empty macros: a packed slot starts with the repeat count, big-endian
    a.MacroID = 0x77;
    a.nLoopCount = 0xAA77;
    MacroRecord b;
    b.MacroID = 0x78;
    b.nLoopCount = 0xAA78;
    rig.macros.Add(a);
    rig.macros.Add(b);
    KeyInfo fn = Key(0x02000010, 20, 0, 5);
    fn.FnFun.FunID = 0x03000020;
    KeyInfo bad_fn = Key(0x02000011, 21, 0, 6);
    bad_fn.FnFun.FunID = 0x07000001;
    KeyInfo macro_fn = Key(0x05000000, 41, 0, 7);
    macro_fn.MacroID = 0x78;
    macro_fn.FnFun.FunID = 0x03000030;
    KeyInfo macro = Key(0x05000000, 40, 0);
    macro.MacroID = 0x77;
    rig.SetKeys({Key(0x02000004, 4, 0), fn, bad_fn, Key(0x02000099, 4, 0), Key(0x07000001, 30, 0), macro,
                 macro_fn, Key(0x02000050, 80, 0)});
    rig.p->Kb.Gest[0] = Key(0x02000060, 90, 0);
    rig.p->Kb.Gest[1] = Key(0x05000000, 91, 0);
    rig.p->Kb.Gest[1].MacroID = 0x77;

    KbMatrix mx;
    FillMatrix(rig.p->Kb, rig.desc, rig.env, mx);
    std::array<std::uint32_t, 256> want{};
    want[4] = 0x04;                 // the second key on matrix 4 is only logged
    want[20] = 0x02000005;          // Fn key: points at its Fn index
    want[132 + 5] = 0x10;
    want[180 + 5] = 0x20;
    want[40] = 0x10000100;          // macro 0x77: slot 1
    want[41] = 0x02000007;
    want[132 + 7] = 0x10000101;     // macro 0x78 on the Fn-single code: slot 2
    want[180 + 7] = 0x30;
    want[80] = 0x50;
    want[75] = 0x50;                // 75 follows 80
    want[90] = 0x60;
    want[91] = 0x10000100;          // gesture key with macro 0x77 shares slot 1
    EXPECT_EQ(mx.codes, want);
    EXPECT_EQ(mx.macro_keys, 3);
    EXPECT_EQ(mx.macros[0], 0xAA);
    EXPECT_EQ(mx.macros[1], 0x77);
    EXPECT_EQ(mx.macros[128], 0xAA);
    EXPECT_EQ(mx.macros[129], 0x78);
    EXPECT_EQ(mx.macros[256], 0);
    for (const MacroRecord& m : rig.macros) EXPECT_EQ(m.Macro_Buffer_ID, 0u);
    ASSERT_EQ(rig.reporter.messages.size(), 1u);
    EXPECT_EQ(rig.reporter.messages[0],
              (ReportedMessage{"Warning", "Get Invaild keycode, key index=4, MatrixInx=30"}));
}

TEST(KeyboardMatrix, AMacroKeyWithAnFnIndexPastTheFnLayerIsSentDisabled) {
    for (const int fn : {48, 63, -2}) {
        KbRig rig;
        for (std::uint32_t id : {0x71u, 0x72u, 0x73u, 0x74u, 0x75u}) {
            MacroRecord m;
            m.MacroID = id;
            rig.macros.Add(m);
        }
        // Four macros take slots 1..4, so the fifth key's slot number would be 4 ("A").
        std::vector<KeyInfo> keys;
        for (int i = 0; i < 5; ++i) {
            KeyInfo k = Key(0x05000000, 40 + i, 0, i == 4 ? fn : -1);
            k.MacroID = 0x71 + static_cast<std::uint32_t>(i);
            k.FnFun.FunID = 0x03000030;
            keys.push_back(k);
        }
        rig.SetKeys(keys);
        KbMatrix mx;
        FillMatrix(rig.p->Kb, rig.desc, rig.env, mx);
        EXPECT_EQ(mx.codes[43], 0x10000103u) << fn;
        EXPECT_EQ(mx.codes[44], 0u) << fn;
        EXPECT_EQ(mx.macro_keys, 4) << fn;
        for (std::size_t i = 132; i < 256; ++i) EXPECT_EQ(mx.codes[i], 0u) << fn << " code " << i;
    }
}

TEST(KeyboardMatrix, ArrowCodesAndByteOrder) {
    struct Case {
        std::uint32_t c79, c75, c80, want;
    };
    for (const Case& c : {Case{1, 2, 3, 1}, Case{0, 2, 3, 2}, Case{0, 0, 3, 3}, Case{0, 0, 0, 0}}) {
        std::array<std::uint32_t, 256> codes{};
        codes[79] = c.c79;
        codes[75] = c.c75;
        codes[80] = c.c80;
        EqualizeKbArrowCodes(codes);
        EXPECT_EQ(codes[75], c.want);
        EXPECT_EQ(codes[79], c.want);
        EXPECT_EQ(codes[80], c.want);
    }
    std::array<std::uint32_t, 256> codes{};
    codes[1] = 0x0600E0A1;
    const auto bytes = EncodeKbMatrix(codes);
    EXPECT_EQ(Bytes(bytes.begin() + 4, bytes.begin() + 8), (Bytes{0x06, 0x00, 0xE0, 0xA1}));
}

TEST(KeyboardApply, PerKeyModeSequence) {
    KbRig rig;
    MacroRecord m;
    m.MacroID = 0x77;
    m.nLoopCount = 0xAA77;
    rig.macros.Add(m);
    KeyInfo macro = Key(0x05000000, 40, 1);
    macro.MacroID = 0x77;
    rig.SetKeys({Key(0x02000004, 4, 0), macro});
    rig.p->Kb.nEffect = 13;
    rig.p->Kb.clrKey[0][4] = Rgb(1, 2, 3);
    Bytes stored(1031, 0xEE);  // the header the keyboard holds: command 3, address 0
    stored[0] = 3;
    stored[1] = 0;
    ASSERT_TRUE(rig.link.SetReport(kKbBlockId, stored));
    std::int32_t reset = 1;
    ASSERT_EQ(ApplyKeyboard(rig.env, rig.desc, *rig.p, nullptr, 7, reset), 1);
    EXPECT_EQ(reset, 0);

    std::vector<std::pair<int, int>> sent;  // (report, command) of every write
    for (const auto& e : rig.dev.log) {
        sent.push_back({e.id, e.data[0]});
        if (e.id == 6) {
            EXPECT_EQ(e.data.size(), 1031u);
        }
    }
    EXPECT_EQ(sent, (std::vector<std::pair<int, int>>{{5, 0x83}, {6, 3}, {6, 9}, {6, 9}, {6, 9}, {6, 5}, {6, 4},
                                                      {6, 3}}));
    const auto sets = rig.dev.Sets(6);
    EXPECT_EQ(sets[0].data[7 + 13], 0);  // first pass: H13 and H14 cleared
    EXPECT_EQ(sets[0].data[7 + 15], 0xEE);
    EXPECT_EQ(Bytes(sets[1].data.begin(), sets[1].data.begin() + 7), (Bytes{9, 172, 0, 0x40, 0, 0, 0}));
    EXPECT_EQ(sets[1].data[7 + 0], 3);  // LED 0: blue plane, then green, then red
    EXPECT_EQ(sets[1].data[7 + 132], 2);
    EXPECT_EQ(sets[1].data[7 + 264], 1);
    EXPECT_EQ(sets[3].data[1], 180);
    EXPECT_EQ(sets[4].data[1], 0xCC);
    EXPECT_EQ(sets[4].data[7], 0xAA);  // the macro in slot 1
    EXPECT_EQ(sets[4].data[8], 0x77);
    EXPECT_EQ(sets[5].data[1], 0xC8);
    EXPECT_EQ(Bytes(sets[5].data.begin() + 7 + 16, sets[5].data.begin() + 7 + 20), (Bytes{0, 0, 0, 4}));
    EXPECT_EQ(Bytes(sets[5].data.begin() + 7 + 160, sets[5].data.begin() + 7 + 164), (Bytes{0x10, 0, 1, 0}));
    EXPECT_EQ(sets[6].data[7], 0x22);  // reset: the default configuration byte
    EXPECT_EQ(sets[6].data[7 + 8 + 62], 0x5A);
}

TEST(KeyboardApply, EffectModeSendsColourTableNotLeds) {
    KbRig rig;
    rig.p->Kb.nEffect = 1;
    rig.p->Kb.Effects[0].clr[0] = Rgb(1, 2, 3);
    std::int32_t reset = 0;
    ASSERT_EQ(ApplyKeyboard(rig.env, rig.desc, *rig.p, nullptr, 0x16, reset), 1);
    const auto sets = rig.dev.Sets(6);
    ASSERT_EQ(sets.size(), 3u);  // header pass, colour table, header
    EXPECT_EQ(Bytes(sets[1].data.begin(), sets[1].data.begin() + 7), (Bytes{8, 0xA8, 0, 0x40, 0, 0, 0}));
    EXPECT_EQ(Bytes(sets[1].data.begin() + 7, sets[1].data.begin() + 28), Bytes(21, 0));
    EXPECT_EQ(Bytes(sets[1].data.begin() + 28, sets[1].data.begin() + 31), (Bytes{3, 2, 1}));
}

TEST(KeyboardApply, FailuresStopUnlessGoWithNoDev) {
    for (bool go : {false, true}) {
        KbRig rig;
        rig.env.bGoWithNoDev = go;
        rig.device.sim->Keyboard()->Unplug();
        std::int32_t reset = 1;
        EXPECT_EQ(ApplyKeyboard(rig.env, rig.desc, *rig.p, nullptr, 7, reset), go ? 1 : 0) << go;
        EXPECT_EQ(reset, 0);
    }
    KbRig rig;  // the key matrix write fails, every try of it
    rig.device.sim->Keyboard()->FailNextExchanges(3);
    std::int32_t reset = 0;
    EXPECT_EQ(ApplyKeyboard(rig.env, rig.desc, *rig.p, nullptr, 1, reset), 0);
}

}  // namespace
}  // namespace quobel
