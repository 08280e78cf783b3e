#pragma once
// A sane configuration with a mouse, a keyboard and a pad, their simulated devices,
// and transports over them; each test copies it and breaks one thing.

#include <memory>

#include "base/reporter.h"
#include "base/sleeper.h"
#include "config/config.h"
#include "config/mouse_desc.h"
#include "device/hid_drv.h"
#include "sim/sim_backend.h"

namespace quobel::test {

constexpr std::uint16_t kTestVid = 0x1a2b;
constexpr std::int32_t kSensorA = 0x3050;  // reported as type 2
constexpr std::int32_t kSensorB = 0x3360;  // reported as type 6

inline Config SaneConfig(int ms_fw = 5) {
    Config cfg;
    cfg.SensorDpiList = BuiltinSensorTable();
    cfg.gVar.nMsFw = ms_fw;
    cfg.gVar.nKbFw = 20;
    cfg.gVar.nPadFw = 40;
    cfg.gVar.bMatchStr = 1;
    MsDevCfg& ms = cfg.gVar.MsDev;
    ms.wVid = kTestVid;
    ms.wPid = 0x0001;
    ms.szUsbString = "Quobel Mouse";
    ms.Sensors[0].nSensor = kSensorA;
    ms.Sensors[0].nDpiNum = 6;
    ms.Sensors[0].nDefLevel = 1;
    ms.Sensors[1].nSensor = kSensorB;
    ms.Sensors[1].nDpiNum = 4;
    ms.Sensors[1].nDefLevel = -1;
    ms.nCurSensor = kSensorA;
    cfg.nSensorCfgInx = 0;
    cfg.gVar.KbDev.wVid = kTestVid;
    cfg.gVar.KbDev.wPid = 0x0002;
    cfg.gVar.KbDev.szUsbString = "Quobel Keyboard";
    cfg.gVar.PadDev.wVid = kTestVid;
    cfg.gVar.PadDev.wPid = 0x0003;
    return cfg;
}

struct DeviceRig {
    explicit DeviceRig(Config c = SaneConfig()) : cfg(std::move(c)), sim(MakeSimulatedDevices(cfg)) {
        env = {sim.get(), &cfg, &reporter, &sleeper};
    }
    // Transports are made on demand so a test can change the rig first.
    template <class Drv>
    std::unique_ptr<Drv> Make() {
        auto d = std::make_unique<Drv>(env);
        (void)d->Init(nullptr);
        return d;
    }

    Config cfg;
    std::unique_ptr<SimBackend> sim;
    CollectingReporter reporter;
    RecordingSleeper sleeper;
    DeviceEnv env;
};

}  // namespace quobel::test
