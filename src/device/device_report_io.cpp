#include "device/device_report_io.h"

#include <algorithm>
#include <cerrno>

namespace quobel {

bool DrvReportIo::SetReport(std::uint8_t id, std::span<const std::uint8_t> data) {
    const HidHandle h = handle_of_(id);
    if (!h) {
        last_error_ = ENODEV;  // never the code of an earlier exchange
        return false;
    }
    const CommandResult r = drv_.SendCommand(data, h, id);
    last_error_ = r.err;
    return r.ok;
}

bool DrvReportIo::GetReport(std::uint8_t id, std::span<std::uint8_t> out) {
    const HidHandle h = handle_of_(id);
    if (!h) {
        last_error_ = ENODEV;
        return false;
    }
    const CommandResult r = drv_.GetCommand(out, h, id);
    last_error_ = r.err;
    return r.ok;
}

MouseProtoDesc MouseDescOf(const Config& cfg) {
    const MsDevCfg& ms = cfg.gVar.MsDev;
    MouseProtoDesc d;
    d.nMsFw = cfg.gVar.nMsFw;
    d.nGridRGBIndex = ms.nGridRGBIndex;
    d.PickColor = ms.PickColor;
    d.nPopByte1 = ms.nPopByte1;
    d.nHandOft = ms.nHandOft;
    d.bModeSWBySw = ms.bModeSWBySw != 0;
    d.bKeyCodeHasIndex = ms.bKeyCodeHasIndex != 0;
    for (std::size_t i = 0; i < d.nButtonMatrixInx.size(); ++i)
        d.nButtonMatrixInx[i] = cfg.DefKeyTable[0][i].nMatrixInx;
    d.nSensor = static_cast<std::uint32_t>(ms.nCurSensor);
    if (const SensorCfg* s = cfg.pSensorCfg()) {
        d.nDpiNum = s->nDpiNum;
        d.nDefLevel = s->nDefLevel;
    }
    if (const SensorDpi* dpi = FindSensorDpi(cfg.SensorDpiList, ms.nCurSensor)) {
        const int n = std::clamp(dpi->nNum, 0, kMaxDpiSteps);
        for (int i = 0; i < n; ++i) d.dpiSteps.push_back({dpi->nDpi[i], dpi->byHw[i]});
    }
    return d;
}

KeyboardProtoDesc KeyboardDescOf(const Config& cfg) {
    const KbDevCfg& kb = cfg.gVar.KbDev;
    KeyboardProtoDesc d;
    d.byDefCfg = kb.byDefCfg;
    d.byOurCfg = kb.byOurCfg;
    d.byLedModeSelectOffset = kb.byLedModeSelectOffset;
    d.byEffectBase = kb.byEffectBase;
    d.byEffectOffset = kb.byEffectOffset;
    d.byEffectNum = kb.byEffectNum;
    d.byStartGp = kb.byStartGp;
    d.byGaoshouAddr = kb.byGaoshouAddr;
    d.byGaoshouGroupNum = kb.byGaoshouGroupNum;
    d.byRGBIndex = kb.byRGBIndex;
    const auto n = static_cast<std::size_t>(std::clamp(kb.nKeyCount, 0, kDefKeySlots));
    d.keys.assign(cfg.g_defKEY.begin(), cfg.g_defKEY.begin() + static_cast<std::ptrdiff_t>(n));
    return d;
}

ApplyEnv EnvOf(CHidDrv& drv, ReportIo& io, MacroList* macros) {
    const DeviceEnv& de = drv.Env();
    ApplyEnv env;
    env.io = &io;
    env.sleeper = de.sleeper;
    env.reporter = de.reporter;
    env.macros = macros;
    if (de.cfg != nullptr) {
        env.limits = de.cfg->limits;
        env.nMacProtocol = de.cfg->gVar.nMacProtocol;
        env.bGoWithNoDev = de.cfg->gVar.bGoWithNoDev != 0;
        env.bDetailedLog = de.cfg->nDebugLevel != 0;
    }
    return env;
}

}  // namespace quobel
