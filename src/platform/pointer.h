#pragma once
// The system pointer settings a mouse profile carries: wheel lines, double-click
// time, pointer speed, pointer precision and trails.
//
// Windows sets them with SystemParametersInfoW; on Linux the desktop's GSettings
// schema org.gnome.desktop.peripherals.mouse holds the ones it knows. A value the
// platform has no setting for is reported as not supported and left alone.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quobel {

struct PointerSettings {
    std::int32_t nWheelLines = 3;      // -1 = one screen per notch
    std::int32_t nDblClickTime = 550;  // milliseconds
    std::int32_t nPointerSpeed = 10;   // 1..20
    std::int32_t bEnhancePrecision = 1;
    std::int32_t nTrails = 0;
    bool operator==(const PointerSettings&) const = default;
};

enum class PointerValue { WheelLines, DblClickTime, PointerSpeed, EnhancePrecision, Trails };

struct PointerApplyResult {
    std::vector<PointerValue> changed;        // values that differed and were set
    std::vector<PointerValue> unsupported;    // values this system has no setting for
    std::vector<PointerValue> failed;         // values the system refused
    [[nodiscard]] bool ok() const { return failed.empty(); }
};

class SystemPointer {
public:
    virtual ~SystemPointer() = default;
    // Compares each value with the system's and sets only those that differ.
    virtual PointerApplyResult Apply(const PointerSettings& wanted) = 0;
    // The values this system has no setting for, without changing anything: what a
    // page tells the user before an apply would silently leave them alone.
    [[nodiscard]] virtual std::vector<PointerValue> Unsupported() const { return {}; }
};

// The platform's pointer settings. Never null: where the desktop has no pointer
// settings every value comes back as not supported.
std::unique_ptr<SystemPointer> MakeSystemPointer();

// The desktop's pointer speed (-1..1) for a speed 1..20, where 10 is the neutral speed.
double DesktopSpeedOf(std::int32_t pointer_speed);
// And back: the nearest speed 1..20.
std::int32_t PointerSpeedOf(double desktop_speed);

// Linux: the GSettings backend on a given schema id; a schema that is not installed
// gives a backend that reports every value as not supported.
std::unique_ptr<SystemPointer> MakeGSettingsPointer(const std::string& schema_id);

const char* PointerValueName(PointerValue v);

}  // namespace quobel
