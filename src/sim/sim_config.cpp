#include "config/device_ident.h"
#include "sim/sim_backend.h"

namespace quobel {

std::unique_ptr<SimBackend> MakeSimulatedDevices(const Config& cfg) {
    auto sim = std::make_unique<SimBackend>();
    if (IsConfigured(cfg.gVar, DeviceKind::Mouse)) {
        const DeviceIdent id = MouseIdent(cfg);
        sim->Add(std::make_unique<SimMouse>(id.vid, id.pid, cfg.gVar.nMsFw, SensorCodeOfId(ConfiguredSensor(cfg))));
    }
    if (IsConfigured(cfg.gVar, DeviceKind::Keyboard)) {
        const DeviceIdent id = KeyboardIdent(cfg);
        sim->Add(std::make_unique<SimKeyboard>(id.vid, id.pid));
    }
    if (IsConfigured(cfg.gVar, DeviceKind::Pad)) {
        const DeviceIdent id = PadIdent(cfg);
        sim->Add(std::make_unique<SimPad>(id.vid, id.pid));
    }
    return sim;
}

}  // namespace quobel
