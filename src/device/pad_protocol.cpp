#include "device/pad_protocol.h"

#include "base/bytes.h"
#include "base/log.h"
#include "device/progress.h"

namespace quobel {

namespace {

std::uint32_t BrightCode(std::int32_t bright) {
    switch (bright) {
    case 32: return 1;
    case 80: return 2;
    case 112: return 3;
    default: return 4;
    }
}

}  // namespace

void EncodePadGeneral(std::span<std::uint8_t, kPadGeneralLen> g, const PadProfile& pad) {
    ByteWriter w(g);
    if (pad.nEffect < 0 || pad.nEffect >= kPadEffects) {
        // A stored index outside the table: lighting off rather than a read past it.
        LogPrint("Pad effect index %d out of range", pad.nEffect);
        for (std::size_t i = 2; i < kPadGeneralLen; ++i) w.u8(i, 0);
        return;
    }
    const LedEffect& e = pad.Effects[pad.nEffect];
    const std::uint32_t code = pad.nEffect == 10 ? 0 : static_cast<std::uint32_t>(pad.nEffect + 1);
    w.u8(2, code);
    w.u8(3, (BrightCode(e.nBright) << 4) | (static_cast<std::uint32_t>(e.nSpeed) & 0x0Fu));
    std::uint32_t t = 0;
    for (std::size_t i = 5; i < kPadGeneralLen; ++i) w.u8(i, 0);
    for (int k = 0; k < 7; ++k) {
        if (((e.dwColorMask >> k) & 1u) == 0) continue;
        const std::size_t at = 5 + 3 * static_cast<std::size_t>(t);
        w.u8(at, Red(e.clr[k]));
        w.u8(at + 1, Green(e.clr[k]));
        w.u8(at + 2, Blue(e.clr[k]));
        ++t;
    }
    std::uint32_t p4 = 0;
    if (code == 4) p4 = t;
    else if (code == 1 || code == 3) p4 = e.nDir == 6 ? 0x80 : 0;
    w.u8(4, p4);
}

int ApplyPad(const ApplyEnv& env, int nPadFw, const ProfileData& p, ProgressSink* sink) {
    LogPrint("Apply_PAD_STD");
    if (nPadFw != kPadFwStd) return 0;
    if (env.io == nullptr || p.dwProfileID == 0) return 0;
    if (sink == nullptr) LogPrint("hWnd=0");
    if (sink != nullptr) sink->SetPos(20);

    std::array<std::uint8_t, kPadGeneralLen> g{};
    if (!env.io->GetReport(kPadGeneralId, g)) {
        LogPrint("Get general data error, err=0x%x", static_cast<unsigned>(env.io->LastError()));
        if (!env.bGoWithNoDev) return 0;
    }
    LogHexDump(g, 10, "General(Load): ");
    EncodePadGeneral(g, p.Pad);
    LogPrint("General(Save):-------------");
    LogHexDump(g, 10, nullptr);
    env.Sleep(20);
    if (!env.io->SetReport(kPadGeneralId, g)) {
        LogPrint("Set general data error, err=0x%x", static_cast<unsigned>(env.io->LastError()));
        if (!env.bGoWithNoDev) return 0;
    }
    PostProgress(sink, 80);
    PostProgress(sink, 100);
    env.Sleep(500);
    return 1;
}

}  // namespace quobel
