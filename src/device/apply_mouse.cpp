// The mouse data object's apply: the mouse blocks over the mouse transport.
#include <span>

#include "device/device_report_io.h"
#include "device/function_codes.h"
#include "device/hid_dev.h"
#include "device/mouse_protocol.h"

namespace quobel {

int CDev5307::ApplySetting(ProfileData& profile, ProgressSink* progress, std::uint32_t flags) {
    CDrv5307& drv = *m_pMs;
    if (drv.Env().cfg == nullptr) return 0;
    const Config& cfg = *drv.Env().cfg;
    DrvReportIo io(drv, [&drv](std::uint8_t id) -> HidHandle {
        switch (id) {
        case kMouseGeneralId: return drv.GeneralHandle();
        case kMouseMatrixId: return drv.MatrixHandle();
        case kMouseModeId: return drv.ModeHandle();
        default: return nullptr;
        }
    });
    MacroList no_macros;
    MacroList& macros = m_pMacros != nullptr ? *m_pMacros : no_macros;
    ApplyEnv env = EnvOf(drv, io, &macros);

    std::span<const std::uint8_t> lock_codes;
    if (const SensorDpi* s = FindSensorDpi(cfg.SensorDpiList, cfg.gVar.MsDev.nCurSensor))
        lock_codes = std::span(s->byLk).first(static_cast<std::size_t>(std::clamp(s->nNum, 0, kMaxDpiSteps)));
    env.codec.code = [&](const KeyInfo& k) { return mouse::keyinfo_to_hardware_code(k, macros, lock_codes); };

    std::int32_t reset = bReset.load();
    const int result = ApplyMouse(env, MouseDescOf(cfg), profile, progress, flags, reset, m_pPointer);
    bReset = reset;
    return result;
}

}  // namespace quobel
