#include "config/device_ident.h"

#include "config/mouse_desc.h"

namespace quobel {

DeviceIdent MouseIdent(const Config& cfg) {
    const MsDevCfg& ms = cfg.gVar.MsDev;
    return {ms.wVid, ms.wPid, ms.szUsbString};
}

DeviceIdent KeyboardIdent(const Config& cfg) {
    const KbDevCfg& kb = cfg.gVar.KbDev;
    return {kb.wVid, kb.wPid, kb.szUsbString};
}

// The pad has no product string to match.
DeviceIdent PadIdent(const Config& cfg) { return {cfg.gVar.PadDev.wVid, cfg.gVar.PadDev.wPid, {}}; }

DeviceIdent IdentOf(const Config& cfg, DeviceKind kind) {
    switch (kind) {
        case DeviceKind::Mouse: return MouseIdent(cfg);
        case DeviceKind::Keyboard: return KeyboardIdent(cfg);
        case DeviceKind::Pad: return PadIdent(cfg);
    }
    return {};
}

std::uint32_t SensorIdOfCode(int code) { return static_cast<std::uint32_t>(SensorFromCode(code)); }

std::uint32_t ConfiguredSensor(const Config& cfg) { return static_cast<std::uint32_t>(cfg.gVar.MsDev.nCurSensor); }

bool AutoSwitchSensor(const Config& cfg) { return cfg.gVar.MsDev.bAutoSwitch != 0; }

bool HasSensorDescription(const Config& cfg, std::uint32_t sensor) {
    return FindSensor(cfg.gVar.MsDev, static_cast<std::int32_t>(sensor)) != nullptr;
}

void SelectSensor(Config& cfg, std::uint32_t sensor, Reporter& reporter) {
    (void)SetCurSensor(cfg, static_cast<std::int32_t>(sensor), reporter);
}

int CurrentSensorLevels(const Config& cfg) {
    const SensorCfg* s = cfg.pSensorCfg();
    return s != nullptr ? s->nDpiNum : 0;
}

int CurrentSensorDefLevel(const Config& cfg) {
    const SensorCfg* s = cfg.pSensorCfg();
    return s != nullptr ? s->nDefLevel : -1;
}

int SensorCodeOfId(std::uint32_t sensor) {
    if (sensor == 0) return 0;
    for (int code = 1; code <= 15; ++code) {
        if (SensorIdOfCode(code) == sensor) return code;
    }
    return 0;
}

}  // namespace quobel
