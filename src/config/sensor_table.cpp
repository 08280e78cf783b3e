// The sensors the program knows, with their DPI steps and default levels.
#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

#include "config/mouse_desc.h"

namespace quobel {
namespace {

// Appends from, from + step, ... up to and including to.
void AddRange(std::vector<std::int32_t>& v, std::int32_t from, std::int32_t to, std::int32_t step) {
    for (std::int32_t d = from; d <= to; d += step) v.push_back(d);
}

struct BuiltinSensor {
    std::int32_t nSensor;
    std::vector<std::int32_t> dpi;
};

std::vector<BuiltinSensor> BuiltinSensors() {
    std::vector<BuiltinSensor> s;
    s.push_back({0x3050, {500, 750, 1000, 1250, 1500, 1750, 2000, 2500, 3000, 3500, 4000}});
    s.push_back({0x5050, {500, 750, 1000, 1250, 1375, 1500, 1750, 2000, 2500, 2750}});
    {
        BuiltinSensor b{0x9800, {}};
        AddRange(b.dpi, 500, 4000, 250);
        b.dpi.insert(b.dpi.end(), {4500, 5000, 6000, 7000, 8200, 16400});
        s.push_back(std::move(b));
    }
    s.push_back({0x3310, {500, 800, 1000, 1200, 1600, 2000, 2400, 3000, 3200, 3500, 4000, 4500, 5000}});
    s.push_back({0x3212,
                 {500, 750, 1000, 1200, 1600, 2000, 2400, 3000, 3200, 3500, 4000, 4500, 5000, 5500, 6000, 7200}});
    {
        BuiltinSensor b{0x3320, {}};
        AddRange(b.dpi, 500, 4000, 250);
        b.dpi.insert(b.dpi.end(), {4500, 5000, 6000, 7000});
        s.push_back(std::move(b));
    }
    {
        BuiltinSensor b{0x3325, {}};
        AddRange(b.dpi, 200, 5000, 100);
        AddRange(b.dpi, 5500, 10000, 500);
        s.push_back(std::move(b));
    }
    {
        BuiltinSensor b{0x3330, {}};
        AddRange(b.dpi, 500, 3500, 250);
        b.dpi.insert(b.dpi.end(), {4000, 4500, 5000, 6000, 7200, 14400});
        s.push_back(std::move(b));
    }
    s.push_back({0x3360, {500, 800, 1000, 1200, 1600, 2000, 2500, 2800, 3000, 3200, 3500, 4000, 4500, 5000,
                          6000, 7000, 8000, 9000, 10000, 12000, 24000}});
    s.push_back({0x3610, {400, 800, 1000, 1200, 1600, 2000, 2400, 2800, 3000, 3200, 4000, 4800, 5600, 6400}});
    s.push_back({0x7350, {600, 800, 1000, 1200, 1600, 2000, 2400, 3200}});
    {
        BuiltinSensor b{0x3327, {}};
        AddRange(b.dpi, 200, 6200, 100);
        b.dpi.insert(b.dpi.end(), {6500, 7000, 7500, 8000, 8500, 9000, 10000, 10500, 11000, 11500, 12000, 12400});
        s.push_back(std::move(b));
    }
    return s;
}

}  // namespace

SensorDpiTable BuiltinSensorTable() {
    SensorDpiTable table{};
    const std::vector<BuiltinSensor> sensors = BuiltinSensors();
    static_assert(kBuiltinSensors == 12);
    for (std::size_t i = 0; i < table.size() && i < sensors.size(); ++i) {
        SensorDpi& e = table[i];
        e.nSensor = sensors[i].nSensor;
        e.nNum = static_cast<std::int32_t>(std::min<std::size_t>(sensors[i].dpi.size(), kMaxDpiSteps));
        for (int k = 0; k < e.nNum; ++k) {
            const std::int32_t dpi = sensors[i].dpi[static_cast<std::size_t>(k)];
            e.nDpi[static_cast<std::size_t>(k)] = dpi;
            // The device takes the step number; this one sensor takes the DPI in units of 50.
            e.byHw[static_cast<std::size_t>(k)] =
                static_cast<std::uint8_t>(e.nSensor == 0x3310 ? dpi / 50 : k + 1);
            e.byLk[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(k + 1);
        }
    }
    return table;
}

const SensorDpi* FindSensorDpi(const SensorDpiTable& table, std::int32_t nSensor) {
    for (const SensorDpi& e : table) {
        if (e.nSensor == nSensor && nSensor != 0) return &e;
    }
    return nullptr;
}

SensorDpi* FindSensorDpi(SensorDpiTable& table, std::int32_t nSensor) {
    return const_cast<SensorDpi*>(FindSensorDpi(std::as_const(table), nSensor));
}

int DpiStepIndex(const SensorDpi& sensor, std::int32_t dpi) {
    const int n = std::clamp(sensor.nNum, 0, kMaxDpiSteps);
    for (int k = 0; k < n; ++k) {
        if (sensor.nDpi[static_cast<std::size_t>(k)] == dpi) return k;
    }
    return -1;
}

std::optional<std::array<std::int32_t, kSensorDpiLevels>> BuiltinDefaultLevels(std::int32_t nSensor) {
    using Levels = std::array<std::int32_t, kSensorDpiLevels>;
    switch (nSensor) {
        case 0x3050: return Levels{750, 1000, 1500, 2000, 2500, 3000};
        case 0x5050: return Levels{750, 1000, 1500, 2000, 2500, 2750};
        case 0x9800: return Levels{1000, 1500, 2000, 3000, 5000, 8200};
        case 0x3212: return Levels{750, 1000, 1600, 2400, 3200, 7200};
        case 0x3320: return Levels{750, 1000, 1500, 2000, 2500, 3500};
        case 0x3325: return Levels{1000, 1500, 2000, 3000, 4000, 5000, 6000, 8000};
        case 0x3330: return Levels{1000, 1500, 2000, 4000, 6000, 7200};
        case 0x3360: return Levels{1000, 1600, 2000, 4000, 6000, 8000};
        case 0x3610: return Levels{1000, 1600, 2000, 2400, 3000, 4000};
        default: return std::nullopt;
    }
}

std::int32_t SensorFromCode(std::int32_t code) {
    switch (code) {
        case 1: return 0x5050;
        case 2: return 0x3050;
        case 3: return 0x9800;
        case 4: return 0x3320;
        case 5: return 0x3330;
        case 6: return 0x3360;
        case 7: return 0x3610;
        case 8: return 0x3212;
        case 9: return 0x3310;
        case 11: return 0x3325;
        case 12: return 0x7350;
        case 14: return 0x3327;
        default: return 0;
    }
}

}  // namespace quobel
