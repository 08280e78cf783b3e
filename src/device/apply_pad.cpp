// The pad data object's apply: its general block over the pad transport.
#include "device/device_report_io.h"
#include "device/hid_dev.h"
#include "device/pad_protocol.h"

namespace quobel {

int CDevPad::ApplySetting(ProfileData& profile, MacroList& macros, ProgressSink* progress, std::uint32_t) {
    CDrvPad& drv = *m_pPad;
    if (drv.Env().cfg == nullptr) return 0;
    DrvReportIo io(drv, [&drv](std::uint8_t id) { return id == kPadGeneralId ? drv.GeneralHandle() : nullptr; });
    const ApplyEnv env = EnvOf(drv, io, &macros);
    return ApplyPad(env, drv.Env().cfg->gVar.nPadFw, profile, progress);
}

}  // namespace quobel
