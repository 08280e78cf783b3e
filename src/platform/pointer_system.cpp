// The system's pointer settings: SystemParametersInfoW on Windows, GSettings on Linux.
// Apart from the rest of platform/ so that only the programs link GIO.
#include "platform/pointer.h"

#include <cmath>

#ifdef _WIN32
#include <windows.h>
#else
#include <gio/gio.h>
#endif

namespace quobel {

#ifdef _WIN32

namespace {

class WinPointer final : public SystemPointer {
public:
    PointerApplyResult Apply(const PointerSettings& w) override {
        PointerApplyResult r;
        constexpr UINT kFlags = SPIF_UPDATEINIFILE | SPIF_SENDCHANGE;
        auto set = [&](PointerValue v, UINT action, UINT ui, void* pv) {
            if (SystemParametersInfoW(action, ui, pv, kFlags)) {
                r.changed.push_back(v);
                PostMessageW(HWND_BROADCAST, WM_WININICHANGE, action, 0);
            } else {
                r.failed.push_back(v);
            }
        };
        if (GetDoubleClickTime() != static_cast<UINT>(w.nDblClickTime))
            set(PointerValue::DblClickTime, SPI_SETDOUBLECLICKTIME, static_cast<UINT>(w.nDblClickTime), nullptr);
        UINT lines = 0;
        if (SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0) &&
            lines != static_cast<UINT>(w.nWheelLines))
            set(PointerValue::WheelLines, SPI_SETWHEELSCROLLLINES, static_cast<UINT>(w.nWheelLines), nullptr);
        int accel[3] = {};
        int want[3] = {0, 0, 0};
        if (w.bEnhancePrecision) { want[0] = 6; want[1] = 10; want[2] = 1; }
        if (SystemParametersInfoW(SPI_GETMOUSE, 0, accel, 0) &&
            (accel[0] != want[0] || accel[1] != want[1] || accel[2] != want[2]))
            set(PointerValue::EnhancePrecision, SPI_SETMOUSE, 0, want);
        int speed = 0;
        if (SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &speed, 0) && speed != w.nPointerSpeed)
            set(PointerValue::PointerSpeed, SPI_SETMOUSESPEED, 0,
                reinterpret_cast<void*>(static_cast<INT_PTR>(w.nPointerSpeed)));
        int trails = 0;
        if (SystemParametersInfoW(SPI_GETMOUSETRAILS, 0, &trails, 0) && trails != w.nTrails)
            set(PointerValue::Trails, SPI_SETMOUSETRAILS, static_cast<UINT>(w.nTrails), nullptr);
        return r;
    }
};

}  // namespace

std::unique_ptr<SystemPointer> MakeSystemPointer() { return std::make_unique<WinPointer>(); }

std::unique_ptr<SystemPointer> MakeGSettingsPointer(const std::string&) { return MakeSystemPointer(); }

#else

namespace {

// A schema is looked up before any GSettings object is made: creating one for a
// schema that is not installed aborts the process.
class GSettingsPointer final : public SystemPointer {
public:
    explicit GSettingsPointer(const std::string& schema_id) {
        GSettingsSchemaSource* source = g_settings_schema_source_get_default();
        if (source == nullptr) return;
        schema_ = g_settings_schema_source_lookup(source, schema_id.c_str(), TRUE);
        if (schema_ != nullptr) settings_ = g_settings_new_full(schema_, nullptr, nullptr);
    }
    ~GSettingsPointer() override {
        if (settings_ != nullptr) {
            g_settings_sync();
            g_object_unref(settings_);
        }
        if (schema_ != nullptr) g_settings_schema_unref(schema_);
    }
    GSettingsPointer(const GSettingsPointer&) = delete;
    GSettingsPointer& operator=(const GSettingsPointer&) = delete;

    [[nodiscard]] std::vector<PointerValue> Unsupported() const override {
        std::vector<PointerValue> r{PointerValue::WheelLines, PointerValue::Trails};
        if (!HasKey("double-click")) r.push_back(PointerValue::DblClickTime);
        if (!HasKey("speed")) r.push_back(PointerValue::PointerSpeed);
        if (!HasKey("accel-profile")) r.push_back(PointerValue::EnhancePrecision);
        return r;
    }

    PointerApplyResult Apply(const PointerSettings& w) override {
        PointerApplyResult r;
        // The desktop has no wheel-line or trail setting for the mouse.
        r.unsupported.push_back(PointerValue::WheelLines);
        r.unsupported.push_back(PointerValue::Trails);

        if (HasKey("double-click")) {
            if (g_settings_get_int(settings_, "double-click") != w.nDblClickTime)
                Note(r, PointerValue::DblClickTime,
                     g_settings_set_int(settings_, "double-click", w.nDblClickTime));
        } else {
            r.unsupported.push_back(PointerValue::DblClickTime);
        }
        if (HasKey("speed")) {
            const double want = DesktopSpeedOf(w.nPointerSpeed);
            if (std::fabs(g_settings_get_double(settings_, "speed") - want) > 1e-6)
                Note(r, PointerValue::PointerSpeed, g_settings_set_double(settings_, "speed", want));
        } else {
            r.unsupported.push_back(PointerValue::PointerSpeed);
        }
        if (HasKey("accel-profile")) {
            const char* want = w.bEnhancePrecision ? "adaptive" : "flat";
            gchar* now = g_settings_get_string(settings_, "accel-profile");
            const bool same = now != nullptr && g_strcmp0(now, want) == 0;
            g_free(now);
            if (!same) Note(r, PointerValue::EnhancePrecision,
                            g_settings_set_string(settings_, "accel-profile", want));
        } else {
            r.unsupported.push_back(PointerValue::EnhancePrecision);
        }
        return r;
    }

private:
    bool HasKey(const char* key) const {
        return settings_ != nullptr && g_settings_schema_has_key(schema_, key);
    }
    static void Note(PointerApplyResult& r, PointerValue v, gboolean ok) {
        (ok ? r.changed : r.failed).push_back(v);
    }

    GSettingsSchema* schema_ = nullptr;
    GSettings* settings_ = nullptr;
};

}  // namespace

std::unique_ptr<SystemPointer> MakeGSettingsPointer(const std::string& schema_id) {
    return std::make_unique<GSettingsPointer>(schema_id);
}

std::unique_ptr<SystemPointer> MakeSystemPointer() {
    return MakeGSettingsPointer("org.gnome.desktop.peripherals.mouse");
}

#endif

}  // namespace quobel
