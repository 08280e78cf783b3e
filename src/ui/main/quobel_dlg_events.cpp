// The window's device events: arrival and removal of devices, and the mouse's
// notification reports.

#include <QSystemTrayIcon>

#include <algorithm>
#include <cstdio>

#include "base/log.h"
#include "config/device_ident.h"
#include "profile/profile_defaults.h"
#include "ui/main/device_behavior.h"
#include "ui/main/quobel_dlg.h"
#include "ui/pages/dpi_dlg.h"
#include "ui/pages/key_ms_dlg.h"
#include "ui/skin/notify_dlg.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/tree_ctrl.h"

namespace quobel {

namespace {

// "USB#VID_xxxx&PID_xxxx": what an event's device name carries for a kind.
std::string SearchString(const DeviceIdent& id) { return "USB#" + FormatPathFilter(id.vid, id.pid, false); }

// The kind an event's device name belongs to: mouse, then keyboard, then pad.
std::optional<DeviceKind> KindOfDeviceName(const Config& cfg, std::string_view name) {
    for (const DeviceKind kind : kDeviceKinds) {
        if (PathMatches(name, SearchString(IdentOf(cfg, kind)))) return kind;
    }
    return std::nullopt;
}

constexpr std::array<const char*, 3> kInText = {"Device MS IN", "Device KB IN", "Device PAD IN"};
constexpr std::array<const char*, 3> kOutText = {"Device MS OUT", "Device KB OUT", "Device PAD OUT"};

}  // namespace

void CQuobelDlg::StartHotplug() {
    if (!m_env.hotplug) return;
    // The source calls on its own thread; the window hears of it only by a queued call.
    const bool started = m_env.hotplug->Start([this](const DeviceEvent& ev) {
        QMetaObject::invokeMethod(this, [this, ev] { OnDeviceChange(ev); }, Qt::QueuedConnection);
    });
    if (!started) LogPrint("device arrival and removal are not watched");
}

int CQuobelDlg::ArrivalTriesLeft(DeviceKind kind) const {
    const QTimer* t = m_arrival[Index(kind)];
    return t && t->isActive() ? kArrivalTries - m_nArrivalTries[Index(kind)] : 0;
}

void CQuobelDlg::OnDeviceChange(const DeviceEvent& event) {
    if (m_bTornDown) return;
    const std::optional<DeviceKind> kind = KindOfDeviceName(*m_env.config, event.name);
    if (event.type == DeviceEvent::Type::Arrival) {
        if (!kind) return;
        const std::size_t i = Index(*kind);
        LogPrint("%s", kInText[i]);
        // Each attempt waits first: the system may still be creating the interfaces.
        // A timer, so the window keeps running meanwhile; a further arrival of the same
        // kind (another interface of one device) starts the count again.
        if (!m_arrival[i]) {
            m_arrival[i] = new QTimer(this);
            m_arrival[i]->setInterval(kArrivalPauseMs[i]);
            connect(m_arrival[i], &QTimer::timeout, this, [this, k = *kind] { ArrivalAttempt(k); });
        }
        m_nArrivalTries[i] = 0;
        m_arrival[i]->start();
        return;
    }
    if (kind) {
        const std::size_t i = Index(*kind);
        LogPrint("%s", kOutText[i]);
        if (m_arrival[i]) m_arrival[i]->stop();
        if (CHidDrv* drv = Transport(*kind)) drv->ClearHandle();
    }
    // Whatever was removed: is any device still open?
    for (DeviceKind k : kDeviceKinds) {
        if (CHidDrv* drv = Transport(k); drv && drv->GetHandle() != nullptr) return;
    }
    OnDeviceGone();
}

void CQuobelDlg::ArrivalAttempt(DeviceKind kind) {
    const std::size_t i = Index(kind);
    ++m_nArrivalTries[i];
    CHidDrv* drv = Transport(kind);
    const bool found = drv && drv->FindDev() == 1;
    if (found || m_nArrivalTries[i] >= kArrivalTries) m_arrival[i]->stop();
    if (!found) {
        if (m_nArrivalTries[i] >= kArrivalTries) LogPrint("%s: not opened after %d tries", kInText[i], kArrivalTries);
        return;
    }
    OnDeviceOpened(kind);
}

void CQuobelDlg::OnDeviceOpened(DeviceKind kind) {
    const std::size_t i = Index(kind);
    m_nPresent |= 1u << i;
    // A kind that was absent at start gets its apply thread now.
    if (!m_targets[i] && m_devs[i].dev) {
        m_targets[i] = std::make_unique<DeviceApplyTarget>(*m_devs[i].dev);
        m_threads->StartApplyThread(kind, *m_targets[i]);
    }
    AddKindPages(kind);
    if (kind == DeviceKind::Mouse) SensorAutoSwitch();
}

void CQuobelDlg::AddKindPages(DeviceKind kind) {
    if (!m_pDevList || m_pDevList->FindTopLevel(static_cast<std::uint32_t>(kind))) return;
    LogPrint("pages for the %s", KindName(kind).data());
    const bool first = m_pDevList->TopLevel().empty();
    m_nPagesWanted |= 1u << Index(kind);
    BuildPages(kind);
    AddDeviceListItem(kind, first);
    RefreshPages();
    // The new pages show only when their kind is the selected one; the open section stays.
    const int expanded = m_nExpanded;
    ShowKind(first ? kind : m_selKind);
    if (!first && m_selKind == DeviceKind::Mouse) ExpandSection(expanded);
}

void CQuobelDlg::SensorAutoSwitch() {
    Config& cfg = *m_env.config;
    ProfileData* p = m_profiles.Current();
    const auto* ms = dynamic_cast<const CDrv5307*>(Transport(DeviceKind::Mouse));
    if (!AutoSwitchSensor(cfg) || !p || !ms) return;
    const std::uint32_t sensor = ms->DeviceSensor();
    if (sensor == p->Ms.dwSensor) return;
    LogPrint("Init UI Layout for 0x%x", static_cast<unsigned>(sensor));
    // FindDev has made the mouse's sensor the current one where the description has it.
    if (const SensorCfg* s = FindSensor(cfg.gVar.MsDev, static_cast<std::int32_t>(sensor))) FillDpiDefaults(p->Ms, *s);
    // The mouse pages take the new sensor's layout.
    m_layout = ComputeMainLayout(cfg.gVar, cfg.pSensorCfg(), IsConfigured(cfg.gVar, DeviceKind::Mouse));
    if (m_pKeyMs) {
        m_pKeyMs->setGeometry(m_layout.msArea);
        m_pKeyMs->RefreshFromProfile();
    }
    if (m_pDpi) {
        m_pDpi->LayoutForSensor();
        m_pDpi->RefreshFromProfile();
    }
    if (m_selKind == DeviceKind::Mouse) {
        PlaceMacroButton(DeviceKind::Mouse);
        ExpandSection(m_nExpanded);
    }
    Publish();
}

void CQuobelDlg::OnDeviceGone() {
    const GVar& g = *m_ctx.gvar;
    if (g.bExitOnPlugOut != 0) {
        LogPrint("no device left: closing");
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    } else if (g.nTrayIcon == 1) {
        // Hidden only behind a tray icon that exists: else nothing would bring it back.
        if (m_pTray) hide();
    } else {
        ShowBalloon(Text("tc_msg13"));
    }
}

void CQuobelDlg::ShowBalloon(const QString& text) {
    if (!m_pTray) return;
    m_lastBalloon = text;
    // Three seconds: long enough to read, where the desktop honours the time-out.
    m_pTray->showMessage(QStringLiteral("Info"), text, QSystemTrayIcon::Information, 3000);
}

void CQuobelDlg::OnDeviceBehavior(std::uint32_t report) {
    const GVar& g = *m_ctx.gvar;
    LogPrint("OnDeviceBehavior  Buffer= %x %x %x %x, nPopByte1=%d", ReportByte(report, 0), ReportByte(report, 1),
             ReportByte(report, 2), ReportByte(report, 3), g.MsDev.nPopByte1);
    if (ReportByte(report, 1) == 0) return;
    ProfileData* p = m_profiles.Current();
    const SensorCfg* sensor = m_env.config->pSensorCfg();
    CHidDev* dev = Device(DeviceKind::Mouse);
    if (!p || !sensor || !dev) {
        LogPrint("pFile=0x%llx, pSensorCfg=0x%llx, pDevMs=0x%llx", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(p)),
                 static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(sensor)),
                 static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(dev)));
        return;
    }
    if (CHidDrv* drv = Transport(DeviceKind::Mouse); !drv || drv->GetHandle() == nullptr) {
        LogPrint("589");
        return;
    }
    static const TextTable kNoTexts;
    const std::optional<DeviceBehavior> b =
        DecodeDeviceBehavior(report, *p, *sensor, g, m_ctx.texts ? *m_ctx.texts : kNoTexts);
    if (!b) return;
    m_nCurDpi = b->level;
    const auto q = [](const std::string& s) { return QString::fromStdString(s); };
    if (m_pNotify && g.MsDev.wPop != 0) {
        LogPrint("popup: %s %s %s %s", b->caption.c_str(), b->value1.c_str(), b->value2.c_str(), b->mode.c_str());
        m_pNotify->Notify(q(b->caption), q(b->value1), q(b->value2), q(b->mode));
    }
    // The level and mode land on pages that are up to date, hidden or not.
    EnsurePages(DeviceKind::Mouse);
    if (m_pDpi) m_pDpi->SelectDpiLevel(b->level);
    if (b->newMode >= 0 && m_pKeyMs && b->newMode != p->Ms.nMode) m_pKeyMs->SwitchMode(b->newMode, false);
}

}  // namespace quobel
