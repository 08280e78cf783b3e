#pragma once
// The transport and the data object of one configured device kind, made the same way
// by every program that talks to the devices.

#include <memory>

#include "config/device_kinds.h"
#include "device/hid_dev.h"
#include "device/hid_drv.h"
#include "macro/macro_list.h"

namespace quobel {

struct DevicePair {
    std::unique_ptr<CHidDrv> drv;  // declared first: the data object refers to it
    std::unique_ptr<CHidDev> dev;
};

// The kind's transport over env, not opened yet.
[[nodiscard]] std::unique_ptr<CHidDrv> MakeTransport(DeviceKind kind, const DeviceEnv& env);

// The kind's objects over env; macros is the macro list the data object packs from.
// Nothing is opened yet (Init, then FindDev).
[[nodiscard]] DevicePair MakeDevicePair(DeviceKind kind, const DeviceEnv& env, MacroList* macros);

}  // namespace quobel
