#include "platform/pointer.h"

#include <algorithm>
#include <cmath>

namespace quobel {

double DesktopSpeedOf(std::int32_t pointer_speed) {
    const std::int32_t s = std::clamp(pointer_speed, 1, 20);
    return static_cast<double>(s - 10) / 10.0;
}

std::int32_t PointerSpeedOf(double desktop_speed) {
    const double s = std::clamp(desktop_speed, -1.0, 1.0) * 10.0 + 10.0;
    return std::clamp(static_cast<std::int32_t>(std::lround(s)), 1, 20);
}

const char* PointerValueName(PointerValue v) {
    switch (v) {
    case PointerValue::WheelLines: return "wheel lines";
    case PointerValue::DblClickTime: return "double-click time";
    case PointerValue::PointerSpeed: return "pointer speed";
    case PointerValue::EnhancePrecision: return "pointer precision";
    case PointerValue::Trails: return "mouse trails";
    }
    return "?";
}

}  // namespace quobel
