// The keyboard data object's apply: the command blocks over the keyboard transport.
#include "device/device_report_io.h"
#include "device/function_codes.h"
#include "device/hid_dev.h"
#include "device/keyboard_protocol.h"

namespace quobel {

int CDev642::ApplySetting(ProfileData& profile, MacroList& macros, ProgressSink* progress, std::uint32_t flags) {
    CDrv642& drv = *m_pKb;
    if (drv.Env().cfg == nullptr) return 0;
    const Config& cfg = *drv.Env().cfg;
    DrvReportIo io(drv, [&drv](std::uint8_t id) -> HidHandle {
        return id == kKbRequestId ? drv.CmdHandle() : id == kKbBlockId ? drv.DeviceHandle() : nullptr;
    });
    KeyboardProtoDesc desc;
    ApplyEnv env;
    {
        const std::unique_lock lock = drv.LockDescription();
        desc = KeyboardDescOf(cfg);
        env = EnvOf(drv, io, &macros);
    }
    env.codec.code = [&](const KeyInfo& k) { return keyboard::keyinfo_to_hardware_code(k, macros); };

    std::int32_t reset = bReset.load();
    const int result = ApplyKeyboard(env, desc, profile, progress, flags, reset);
    bReset = reset;
    return result;
}

}  // namespace quobel
