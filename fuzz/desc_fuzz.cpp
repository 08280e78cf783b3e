// Feeds arbitrary cfg.ini text to the device-description readers with every
// firmware combination, and checks that what they build stays inside its tables.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "base/reporter.h"
#include "config/config.h"
#include "config/device_readers.h"
#include "platform/ini.h"

namespace {

using namespace quobel;

void CheckAt(bool ok, int line) {
    if (ok) return;
    std::fprintf(stderr, "desc_fuzz: check at line %d failed\n", line);
    std::abort();
}
#define Check(ok) CheckAt((ok), __LINE__)

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const int ms_fw = in.PickValueInArray({0, 3, 5, 8, 9, 10});
    const int kb_fw = in.PickValueInArray({0, 20, 21});
    const int debug = in.ConsumeIntegralInRange(0, 2);
    const std::int32_t sensor = in.ConsumeIntegral<std::int32_t>();
    const std::uint8_t code = in.ConsumeIntegral<std::uint8_t>();
    const std::vector<std::uint8_t> file = in.ConsumeRemainingBytes<std::uint8_t>();
    const IniFile ini = IniFile::FromBytes(file);

    auto config = std::make_unique<Config>();
    CollectingReporter reporter;
    config->gVar.nMsFw = ms_fw;
    config->gVar.nKbFw = kb_fw;
    config->gVar.nPadFw = 40;
    config->nDebugLevel = debug;
    BuildSensorTable(*config);
    if (ms_fw != 0) ReadMouseDescription(ini, *config, reporter);
    if (kb_fw != 0) ReadKeyboardDescription(ini, *config, reporter);
    ReadPadDescription(ini, *config, reporter);
    if (ms_fw != 0) LayoutButtonLists(*config, reporter);
    ReadFnAndGestures(ini, *config, reporter);

    for (const SensorDpi& s : config->SensorDpiList) Check(s.nNum >= 0 && s.nNum <= kMaxDpiSteps);
    for (const SensorCfg& s : config->gVar.MsDev.Sensors) {
        Check(s.nDpiNum >= 0 && s.nDpiNum <= kSensorDpiLevels);
        Check(s.nModeNum >= 0 && s.nModeNum <= kMouseModes);
        Check(s.nKeyNum >= 0 && s.nKeyNum <= kMaxMouseKeys);
    }
    for (const MsLedOpt& o : config->gVar.MsDev.LedOpt) Check(o.nColorNum >= 0 && o.nColorNum <= 7);
    Check(SnipMenuEntryCount(config->gVar.MsDev) <= kSnipMenuBytes - 2);
    const KbDevCfg& kb = config->gVar.KbDev;
    Check(kb.nKeyCount >= 0 && kb.nKeyCount <= kDefKeySlots);
    Check(kb.byGaoshouGroupNum <= kMaxColorGroups);
    Check(UsableEffectNum(kb) <= kKbLedEffects);
    Check(kb.UnRectKey.nPointNum >= 0 && kb.UnRectKey.nPointNum <= kUnRectPoints);
    for (int i = 0; i < kb.nKeyCount; ++i) {
        const KeyInfo& k = config->g_defKEY[static_cast<std::size_t>(i)];
        Check(k.nMatrixInx >= 0 && k.nMatrixInx <= 149 && k.nLedInx >= 0 && k.nLedInx <= 149);
    }
    if (kb_fw == 20) {
        for (const KeyInfo& k : config->g_defKEY) Check(k.nFnInx >= -1 && k.nFnInx < kFnIndexes);
    }
    (void)MatrixIndexOfKeyCode(config->g_defKEY, code);
    (void)PadStripBands(config->gVar.PadDev);
    if (ms_fw != 0) {
        (void)SetCurSensor(*config, sensor, reporter);
        LayoutButtonLists(*config, reporter);
    }
    return 0;
}
