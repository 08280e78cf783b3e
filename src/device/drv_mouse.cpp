#include <algorithm>
#include <array>
#include <cerrno>
#include <utility>

#include "base/bytes.h"
#include "base/log.h"
#include "config/device_ident.h"
#include "device/device_report_io.h"
#include "device/hid_drv.h"
#include "device/mouse_protocol.h"

namespace quobel {

namespace {
// How long one read of the service thread waits: bounds how late a stop is seen.
constexpr std::chrono::milliseconds kServiceReadTimeout{100};
constexpr std::chrono::milliseconds kServiceLoopPause{20};
}  // namespace

CDrv5307::~CDrv5307() {
    CDrv5307::StopService();
    CDrv5307::ClearHandle();
}

std::string CDrv5307::Filter() const {
    const DeviceIdent id = MouseIdent(*env_.cfg);
    return FormatPathFilter(id.vid, id.pid, false);
}

int CDrv5307::StartService(DeviceBehaviorHandler handler) {
    if (service_.joinable()) return 1;
    on_behavior_ = std::move(handler);
    service_ = std::jthread([this](std::stop_token stop) { ServiceThread(std::move(stop)); });
    return 1;
}

void CDrv5307::StopService() {
    if (service_.joinable()) {
        service_.request_stop();
        service_.join();
    }
}

int CDrv5307::FindDev() {
    ClearHandle();
    const std::string filter = Filter();
    LogPrint("CDrv5307  FindDev: looking for %s", filter.c_str());
    const int fw = env_.cfg->gVar.nMsFw;
    HidHandle matrix = OpenInterface(filter, FeatureLengthIs(MouseMatrixLength(fw) + 1), VerboseOpen());
    HidHandle general = OpenInterface(filter, FeatureLengthIs(MouseGeneralLength(fw) + 1), false);
    HidHandle notify = OpenInterface(filter, InputLengthIs(kNotifyReportLength), false, HidAccess::ReadWrite);
    HidHandle mode = OpenInterface(filter, FeatureLengthIs(kMouseModeLen + 1), false);
    LogPrint("m_hMatrix=0x%llx, m_hGeneral=0x%llx, m_hNotify=0x%llx, m_hMode=0x%llx", HandleLogValue(matrix), HandleLogValue(general),
             HandleLogValue(notify), HandleLogValue(mode));
    if (!matrix || !general || !ProductMatches(general, MouseIdent(*env_.cfg).usb_string)) {
        ClearHandle();
        return 0;
    }

    std::array<std::uint8_t, kMouseGeneralMax> block{};
    const std::span<std::uint8_t> gen(block.data(), MouseGeneralLength(fw));
    if (const CommandResult r = GetCommand(gen, general, kMouseGeneralId); !r) {
        LogPrint("FindDev: Get general data error, err=0x%x", static_cast<unsigned>(r.err));
        ClearHandle();
        return 0;
    }

    // The sensor checks run before any handle is published, and the sensor switch holds
    // the description lock, so an apply never copies a half-switched description. The
    // boxes are raised after the lock is let go.
    Config& cfg = *env_.cfg;
    const std::uint32_t sensor = SensorIdOfCode(gen[2] >> 4);
    m_nMsSensor = sensor;
    const bool auto_switch = AutoSwitchSensor(cfg);
    LogPrint("nMsSensor=0x%x, bAutoSwitch=%x", sensor, auto_switch ? 1U : 0U);
    char text[64] = {};
    const char* caption = nullptr;
    bool found = true;
    bool checked = sensor != 0;
    CollectingReporter switch_messages;
    if (sensor == 0) {
        caption = "Warning";
        std::snprintf(text, sizeof text, "%s", "     Senr error    ");
    } else {
        std::unique_lock lock = LockDescription();
        if (auto_switch) {
            if (!HasSensorDescription(cfg, sensor)) {
                caption = "Info";
                std::snprintf(text, sizeof text, "Sensor %04x is not supported", sensor);
                found = false;
            } else {
                SelectSensor(cfg, sensor, switch_messages);
            }
        } else if (sensor != ConfiguredSensor(cfg)) {
            caption = "Warning";
            std::snprintf(text, sizeof text, "Sensor unmatch: dev=0x%04x, cfg=0x%04x", sensor,
                          ConfiguredSensor(cfg));
            LogPrint("%s", text);
            found = false;
        }
        if (found && (cfg.gVar.nMsFw == 2 || cfg.gVar.nMsFw == 3 || cfg.gVar.nMsFw == 8)) {
            int level = gen[1] >> 4;
            if (level >= CurrentSensorLevels(cfg)) {
                LogPrint("Current Dpi value err");
                level = 0;
            }
            m_nCurDpiLevel = level;
        }
    }
    for (const ReportedMessage& m : switch_messages.messages) env_.reporter->Report(m.caption, m.text);
    if (!found) {
        env_.reporter->Report(caption, text);
        ClearHandle();
        return 0;
    }
    if (checked && cfg.gVar.nMsFw == 10) {
        std::array<std::uint8_t, kMouseModeLen> modeblk{};
        if (GetModeOn(mode, modeblk)) m_nCurMode = modeblk[0];
    }

    {
        std::scoped_lock lock(mutex_);
        m_hMatrix = std::move(matrix);
        m_hGeneral = std::move(general);
        m_hNotify = std::move(notify);
        m_hMode = std::move(mode);
    }
    notify_changed_.notify_all();
    if (!checked) {
        env_.reporter->Report(caption, text);  // counts as found
        return 1;
    }
    LogPrint("g_nCurMode=%x", static_cast<unsigned>(m_nCurMode.load()));
    return 1;
}

Presence CDrv5307::Probe() {
    return ProbeInterface(Filter(), FeatureLengthIs(MouseGeneralLength(env_.cfg->gVar.nMsFw) + 1));
}

void CDrv5307::ClearHandle() {
    LogPrint("CDrv5307::ClearHandle");
    {
        std::scoped_lock lock(mutex_);
        m_hMatrix.reset();
        m_hGeneral.reset();
        m_hNotify.reset();
        m_hMode.reset();
    }
    notify_changed_.notify_all();
}

HidHandle CDrv5307::MatrixHandle() const {
    std::scoped_lock lock(mutex_);
    return m_hMatrix;
}
HidHandle CDrv5307::GeneralHandle() const {
    std::scoped_lock lock(mutex_);
    return m_hGeneral;
}
HidHandle CDrv5307::ModeHandle() const {
    std::scoped_lock lock(mutex_);
    return m_hMode;
}
HidHandle CDrv5307::NotifyHandle() const {
    std::scoped_lock lock(mutex_);
    return m_hNotify;
}

// The mode block's bytes belong to the mouse protocol; these run it over m_hMode.
int CDrv5307::GetMode(std::span<std::uint8_t, 8> out) { return GetModeOn(ModeHandle(), out); }

int CDrv5307::GetModeOn(const HidHandle& h, std::span<std::uint8_t, 8> out) {
    if (!h) return 0;
    DrvReportIo io(*this, [&h](std::uint8_t id) { return id == kMouseModeId ? h : nullptr; });
    std::array<std::uint8_t, kMouseModeLen> mode{};
    if (!MouseGetMode(EnvOf(*this, io, nullptr), mode)) return 0;
    std::copy(mode.begin(), mode.end(), out.begin());
    return 1;
}

int CDrv5307::SetMode(int mode, std::span<const std::uint32_t, 3> rates, int reset) {
    if (!ModeHandle()) return 0;
    DrvReportIo io(*this, [this](std::uint8_t id) { return id == kMouseModeId ? ModeHandle() : nullptr; });
    return MouseSetMode(EnvOf(*this, io, nullptr), mode, rates, reset != 0, CurrentSensorDefLevel(*env_.cfg)) ? 1 : 0;
}

void CDrv5307::ServiceThread(std::stop_token stop) {
    LogPrint("ServiceThread Start");
    HidHandle gone;  // an interface that reported the device gone: wait for the next search
    bool stopped_in_read = false;
    while (!stop.stop_requested()) {
        HidHandle notify;
        {
            std::unique_lock lock(mutex_);
            // The pause of every loop; a stop ends it at once.
            (void)notify_changed_.wait_for(lock, stop, kServiceLoopPause, [] { return false; });
            if (stop.stop_requested()) break;
            if (!notify_changed_.wait(lock, stop, [&] { return m_hNotify && m_hNotify != gone; })) break;
            notify = m_hNotify;
        }
        gone.reset();
        std::array<std::uint8_t, kNotifyReportLength> buf{};
        buf[0] = kNotifyReportId;
        // A report already waiting is taken at once ("2 Buffer="); else the read waits.
        bool at_once = true;
        HidIo r = notify->ReadInput(buf, std::chrono::milliseconds{0});
        if (r.error == ETIMEDOUT) {
            at_once = false;
            r = notify->ReadInput(buf, kServiceReadTimeout);
        }
        if (r.error == ETIMEDOUT) {
            if (stop.stop_requested()) stopped_in_read = true;
            continue;
        }
        if (!r.ok()) {
            LogPrint("GetLastError=%d", r.error);
            // Only a device that is gone stops the reads; anything else (a signal) is
            // retried in the next loop.
            if (r.error == ENODEV || r.error == EBADF) gone = std::move(notify);
            continue;
        }
        LogPrint("%sBuffer= %x %x %x %x, NumberOfBytesRead=%d", at_once ? "2 " : "", buf[1], buf[2], buf[3], buf[4],
                 static_cast<int>(r.bytes));
        // Only a whole notification report carries the four bytes the window reads.
        if (r.bytes != kNotifyReportLength || buf[0] != kNotifyReportId) continue;
        if (on_behavior_) on_behavior_(ByteReader(buf).le32(1));
    }
    if (stopped_in_read) LogPrint("hObject[1] is signal");
    LogPrint("Thread exit!");
}

}  // namespace quobel
