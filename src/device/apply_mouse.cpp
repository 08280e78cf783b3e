// The mouse data object's apply: the mouse blocks over the mouse transport.
#include <span>
#include <vector>

#include "device/device_report_io.h"
#include "device/function_codes.h"
#include "device/hid_dev.h"
#include "device/mouse_protocol.h"

namespace quobel {

int CDev5307::ApplySetting(ProfileData& profile, MacroList& macros, ProgressSink* progress, std::uint32_t flags) {
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
    // What the apply reads of the description is copied under the description lock:
    // discovery may switch the sensor on the window's thread meanwhile.
    MouseProtoDesc desc;
    ApplyEnv env;
    std::vector<std::uint8_t> lock_codes;
    {
        const std::unique_lock lock = drv.LockDescription();
        desc = MouseDescOf(cfg);
        env = EnvOf(drv, io, &macros);
        const std::span<const std::uint8_t> codes = mouse::DpiLockCodes(cfg);
        lock_codes.assign(codes.begin(), codes.end());
    }
    env.codec.code = [&](const KeyInfo& k) { return mouse::keyinfo_to_hardware_code(k, macros, lock_codes); };

    std::int32_t reset = bReset.load();
    const int result = ApplyMouse(env, desc, profile, progress, flags, reset, m_pPointer);
    bReset = reset;
    return result;
}

}  // namespace quobel
