#include "ui/main/device_behavior.h"

#include <algorithm>

#include "base/log.h"
#include "base/utf16.h"

namespace quobel {

namespace {

constexpr int kGunMouseFw = 10;

std::string Cut(const std::string& s) { return CutToUtf16Units(s, kBehaviorTextChars); }

}  // namespace

std::optional<DeviceBehavior> DecodeDeviceBehavior(std::uint32_t report, const ProfileData& profile,
                                                   const SensorCfg& sensor, const GVar& g, const TextTable& texts) {
    const int n = ReportByte(report, 1) & 0x0F;
    if (n == 0) return std::nullopt;
    // The report counts the enabled levels only.
    DeviceBehavior b;
    const int levels = std::clamp(sensor.nDpiNum, 0, kProfileDpiLevels);
    for (int i = 0, count = 0; i < levels; ++i) {
        if (profile.Ms.Dpi[i].bOff != 0) continue;
        if (++count == n) {
            b.level = i;
            break;
        }
    }
    if (b.level < 0) return std::nullopt;
    const DpiLevel& lv = profile.Ms.Dpi[b.level];
    b.caption = "DPI-" + std::to_string(b.level + 1);
    if (sensor.nSensor == 0x9800 || sensor.nSensor == 0x3360) {
        b.value1 = Cut("X " + std::to_string(lv.nDpiX));
        b.value2 = Cut("Y " + std::to_string(lv.nDpiY));
    } else {
        b.value1 = Cut(std::to_string(lv.nDpiX));
    }

    const int v = ReportByte(report, 0);
    switch (g.MsDev.nPopByte1) {
        case 1:
            if (g.nMsFw != kGunMouseFw) {
                if (v >= 1 && v <= 3) {
                    b.mode = Cut(texts.Get("tc_ms7") + " " + std::to_string(v));
                    b.newMode = v - 1;
                }
            } else if (v == 1) {
                b.mode = Cut(texts.Get("tc_chiji17"));
                b.newMode = 0;
            } else if (v == 2) {
                b.mode = Cut(texts.Get("tc_chiji19"));
                b.newMode = 1;
            } else if (v == 3) {
                b.newMode = 2;
            }
            break;
        case 2: {
            static constexpr const char* kRates[] = {"125 Hz", "250 Hz", "500 Hz", "1000 Hz"};
            if (v >= 1 && v <= 4) b.mode = kRates[v - 1];
            break;
        }
        case 3:
            if (v == 1) {
                b.mode = Cut(texts.Get("tc_ms18"));
                b.newMode = 0;
            } else if (v == 2) {
                b.mode = Cut(texts.Get("tc_ms17"));
                b.newMode = 1;
            } else if (v == 3) {
                LogPrint("Wrong handle value");
                return std::nullopt;
            }
            break;
        default:
            break;
    }
    return b;
}

}  // namespace quobel
