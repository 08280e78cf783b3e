#include "device/device_status.h"

#include <cstdio>
#include <memory>

#include "base/reporter.h"
#include "base/sleeper.h"
#include "config/device_ident.h"
#include "device/device_pair.h"
#include "device/hid_drv.h"

namespace quobel {

std::vector<DeviceStatus> ConfiguredDeviceStatus(Config& cfg, HidBackend* hid) {
    CollectingReporter reporter;  // probing raises no boxes; kept for the transports' shape
    RecordingSleeper sleeper;
    const DeviceEnv env{hid, &cfg, &reporter, &sleeper};
    std::vector<DeviceStatus> out;
    for (const DeviceKind kind : kDeviceKinds) {
        if (!IsConfigured(cfg.gVar, kind)) continue;
        const std::unique_ptr<CHidDrv> drv = MakeTransport(kind, env);
        const DeviceIdent id = IdentOf(cfg, kind);
        // The base Init only checks HID access; the mouse's service thread is not wanted.
        (void)drv->CHidDrv::Init(nullptr);
        out.push_back({kind, id.vid, id.pid, drv->Probe()});
    }
    return out;
}

std::string FormatDeviceStatus(const DeviceStatus& s) {
    const char* state = s.presence == Presence::Present ? "present"
                        : s.presence == Presence::NoAccess ? "no access"
                                                            : "absent";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s %04x:%04x %s", std::string(KindName(s.kind)).c_str(), unsigned{s.vid},
                  unsigned{s.pid}, state);
    return buf;
}

}  // namespace quobel
