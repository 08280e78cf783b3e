#include "device/device_pair.h"

namespace quobel {

DevicePair MakeDevicePair(DeviceKind kind, const DeviceEnv& env, MacroList* macros) {
    DevicePair p;
    switch (kind) {
        case DeviceKind::Mouse: {
            auto d = std::make_unique<CDrv5307>(env);
            p.dev = std::make_unique<CDev5307>(env.cfg->gVar.nMsFw, d.get(), macros);
            p.drv = std::move(d);
            break;
        }
        case DeviceKind::Keyboard: {
            auto d = std::make_unique<CDrv642>(env);
            p.dev = std::make_unique<CDev642>(d.get(), macros);
            p.drv = std::move(d);
            break;
        }
        case DeviceKind::Pad: {
            auto d = std::make_unique<CDrvPad>(env);
            p.dev = std::make_unique<CDevPad>(d.get(), macros);
            p.drv = std::move(d);
            break;
        }
    }
    return p;
}

}  // namespace quobel
