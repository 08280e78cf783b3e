#include "device/device_pair.h"

namespace quobel {

std::unique_ptr<CHidDrv> MakeTransport(DeviceKind kind, const DeviceEnv& env) {
    switch (kind) {
        case DeviceKind::Mouse: return std::make_unique<CDrv5307>(env);
        case DeviceKind::Keyboard: return std::make_unique<CDrv642>(env);
        case DeviceKind::Pad: return std::make_unique<CDrvPad>(env);
    }
    return nullptr;
}

DevicePair MakeDevicePair(DeviceKind kind, const DeviceEnv& env, MacroList* macros) {
    DevicePair p{MakeTransport(kind, env), nullptr};
    CHidDrv* drv = p.drv.get();
    switch (kind) {
        case DeviceKind::Mouse:
            p.dev = std::make_unique<CDev5307>(env.cfg->gVar.nMsFw, static_cast<CDrv5307*>(drv), macros);
            break;
        case DeviceKind::Keyboard: p.dev = std::make_unique<CDev642>(static_cast<CDrv642*>(drv), macros); break;
        case DeviceKind::Pad: p.dev = std::make_unique<CDevPad>(static_cast<CDrvPad*>(drv), macros); break;
    }
    return p;
}

}  // namespace quobel
