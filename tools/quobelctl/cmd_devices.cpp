#include <memory>
#include <ostream>

#include "commands.h"
#include "device/device_status.h"
#include "platform/hid/hidapi_backend.h"
#include "sim/sim_backend.h"

namespace quobel::ctl {

int CmdDevices(const Globals& g, const Args& args) {
    if (!args.empty()) {
        *g.err << "usage: quobelctl devices\n";
        return 2;
    }
    Session session;
    CollectingReporter reporter;
    const StartupResult result = LoadSession(g, session, reporter);
    for (const ReportedMessage& m : reporter.messages) *g.err << m.caption << ": " << m.text << "\n";
    if (result == StartupResult::NoProgramFolder) return 1;

    std::unique_ptr<HidBackend> hid;
    if (g.simulate) hid = MakeSimulatedDevices(session.config);
    else hid = std::make_unique<HidapiBackend>();
    bool denied = false;
    for (const DeviceStatus& s : ConfiguredDeviceStatus(session.config, hid.get())) {
        *g.out << FormatDeviceStatus(s) << "\n";
        denied = denied || s.presence == Presence::NoAccess;
    }
    if (denied) {
        *g.err << "quobelctl: a device is attached but this user may not open it; install the udev rules "
                  "file 70-quobel.rules (see the README, \"Device access\")\n";
    }
    return 0;
}

}  // namespace quobel::ctl
