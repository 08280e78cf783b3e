#include "ui/main/quobel_dlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QSoundEffect>
#include <QSystemTrayIcon>
#include <QUrl>
#include <QWindow>

#include <algorithm>

#include "base/log.h"
#include "base/utf16.h"
#include "config/data_init.h"
#include "config/key_info.h"
#include "config/key_names.h"
#include "device/apply_flags.h"
#include "macro/macro_folder.h"
#include "platform/process.h"
#include "profile/profile_store.h"
#include "ui/key_layout.h"
#include "ui/keymap.h"
#include "ui/macro/macro_dlg.h"
#include "ui/main/profile_controls.h"
#include "ui/main/progress_dlg.h"
#include "ui/main/startup_trace.h"
#include "ui/modals.h"
#include "ui/pages/dpi_dlg.h"
#include "ui/pages/kb_color_dlg.h"
#include "ui/pages/key_mark_dlg.h"
#include "ui/pages/key_ms_dlg.h"
#include "ui/pages/led_kb_dlg.h"
#include "ui/pages/led_ms_dlg.h"
#include "ui/pages/led_pad_dlg.h"
#include "ui/pages/pad_mark_dlg.h"
#include "ui/pages/rate_dlg.h"
#include "ui/pages/sys_dlg.h"
#include "ui/skin/combo_btn.h"
#include "ui/skin/msg_dlg.h"
#include "ui/skin/notify_dlg.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/skin_menu.h"
#include "ui/skin/tree_ctrl.h"

namespace quobel {

namespace {

QRect R(int x, int y, int w, int h) { return {x, y, w, h}; }
// A rectangle's right and bottom edges as the layout table counts them (exclusive).
int Right(const QRect& r) { return r.x() + r.width(); }
int Bottom(const QRect& r) { return r.y() + r.height(); }

constexpr std::array<const char*, CQuobelDlg::kUsedHeaders> kHeaderTexts = {"tc_ms2", "tc_ms3", "tc_ms4", "tc_ms5"};

bool MouseLightingFw(int fw) { return fw == 3 || fw == 5 || fw == 7 || fw == 8 || fw == 9 || fw == 10; }

}  // namespace

MainLayout ComputeMainLayout(const GVar& g, const SensorCfg* sensor, bool mouse_configured) {
    MainLayout l;
    l.minBtn = R(g.ptMinBtn.x, g.ptMinBtn.y, 16, 16);
    l.exitBtn = R(Right(l.minBtn) + 6, l.minBtn.y(), 16, 16);
    l.keyArea = R(g.ptKeyMsDlg.x, g.ptKeyMsDlg.y, 240, 290);
    int ms_h = 290;
    if (mouse_configured && sensor != nullptr) ms_h = (sensor->nKeyH + 25) * sensor->nKeyNum + sensor->nKeyY + 2;
    l.msArea = R(g.ptKeyMsDlg.x, g.ptKeyMsDlg.y, 240, ms_h);
    l.macroMs = R(l.msArea.x() + 80, Bottom(l.msArea) + 20, 100, 24);
    l.macroKb = R(l.keyArea.x() + 70, Bottom(l.keyArea) + 20, 100, 24);
    l.combo = R(l.msArea.x() + 12, g.nProfileGpY, 189, 25);
    l.proCaption = R(l.combo.x(), l.combo.y() - 25, l.combo.width(), 20);
    l.add = R(l.combo.x(), Bottom(l.combo) + 10, 46, 20);
    l.del = R(Right(l.add) + 24, l.add.y(), 46, 20);
    l.more = R(Right(l.del) + 24, l.add.y(), 46, 20);
    l.edit528 = R(l.combo.x(), Bottom(l.add) + 40, 189, 20);
    l.devList = R(l.combo.x(), g.nDevListGpY, 180, 80);
    l.devListCaption = R(l.devList.x() + 2, l.devList.y() - 25, Right(l.devList) - (l.devList.x() + 2), 20);
    const Rect& h = g.rcHomePageBtn;
    if (h.right - h.left >= 1) {
        l.home = R(h.left, h.top, h.right - h.left, h.bottom - h.top);
    } else {
        l.home = R(l.devList.x(), g.nDrvGpY != 0 ? g.nDrvGpY : Bottom(l.devList) + 10, l.devList.width(), 20);
        l.homeCaption = true;
    }
    l.drv = R(l.edit528.x(), Bottom(l.home), l.edit528.width() + 30, 20);
    l.version = R(l.edit528.x(), Bottom(l.drv), l.edit528.width() + 30, 20);
    l.headers = QPoint(g.ptDpiDlg.x, g.ptDpiDlg.y);
    l.restore = R(g.ptResetBtn.x, g.ptResetBtn.y, 92, 27);
    l.apply = R(Right(l.restore) + 8, l.restore.y(), 89, 27);
    l.msMark = QPoint(g.ptMsMarkDlg.x, g.ptMsMarkDlg.y);
    l.padMark = QPoint(g.PadDev.ptPadDlg.x, g.PadDev.ptPadDlg.y);
    return l;
}

// Failures of an apply, reported on an apply thread, shown on the window's thread.
class CQuobelDlg::QueuedReporter final : public Reporter {
public:
    QueuedReporter(QObject* window, Reporter* target) : window_(window), target_(target) {}
    void Report(std::string_view caption, std::string_view text) override {
        QMetaObject::invokeMethod(
            window_, [t = target_, c = std::string(caption), s = std::string(text)] { if (t) t->Report(c, s); },
            Qt::QueuedConnection);
    }

private:
    QObject* window_;
    Reporter* target_;
};

CQuobelDlg::CQuobelDlg(WindowEnv env, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_env(std::move(env)) {
    const Config& cfg = *m_env.config;
    m_ctx.gvar = &cfg.gVar;
    m_ctx.texts = m_env.texts;
    m_ctx.reporter = m_env.reporter;
    m_ctx.szAppPath = cfg.szAppPath;
    m_ctx.font = m_env.font;
    m_bShowPermission = cfg.gVar.nTrayIcon != 1;
    m_icon = QIcon(QString::fromStdString(cfg.szAppPath + "appico.ico"));
    setAttribute(Qt::WA_TranslucentBackground);
    setFont(m_env.font);
    m_applyReporter = std::make_unique<QueuedReporter>(this, m_env.reporter);
    // What an apply stores in its profile (the CJ_1 mouse's forced rate) reaches the
    // live profile on this thread.
    m_published.SetAmendListener([this](std::uint32_t id, ProfileChange change) {
        QMetaObject::invokeMethod(
            this,
            [this, id, change = std::move(change)] {
                if (ProfileData* p = m_profiles.Find(id)) change(*p);
            },
            Qt::QueuedConnection);
    });
    m_threads = std::make_unique<ApplyThreads>(m_published, *m_applyReporter);
    m_threads->SetGoWithNoDev(cfg.gVar.bGoWithNoDev != 0);
    m_autoSwitch.setInterval(kAutoSwitchMs);
    connect(&m_autoSwitch, &QTimer::timeout, this, &CQuobelDlg::AutoSwitch);
    // The key filter sees every key message before it is dispatched.
    qApp->installEventFilter(this);
}

CQuobelDlg::~CQuobelDlg() { Teardown(); }

Log& CQuobelDlg::GetLog() { return ProcessLog(); }

QString CQuobelDlg::Text(const char* id) const { return m_ctx.Text(id); }

void CQuobelDlg::Info(const QString& text) { (void)m_env.modals->Info(m_ctx, this, text); }

bool CQuobelDlg::CreateDevices() {
    Config& cfg = *m_env.config;
    static constexpr std::array<const char*, 3> kNoObjects = {"No Mouse Assigned", "No Keyboard Assigned",
                                                              "No Mouse Pad Assigned"};
    for (DeviceKind kind : kDeviceKinds) {
        if (!IsConfigured(cfg.gVar, kind)) continue;
        const std::size_t i = Index(kind);
        const DeviceEnv denv{m_env.hid[i], &cfg, m_env.reporter, m_env.sleeper[i]};
        m_devs[i] = MakeDevicePair(kind, denv, &m_macros);
        if (!m_devs[i].drv || !m_devs[i].dev) {
            if (m_env.reporter) m_env.reporter->Report("", kNoObjects[i]);
            return false;
        }
        // Set before the apply threads start: they read it.
        if (kind == DeviceKind::Mouse) static_cast<CDev5307&>(*m_devs[i].dev).SetSystemPointer(m_env.pointer);
        // The service thread hands the mouse's reports to the window's thread.
        (void)m_devs[i].drv->Init([this](std::uint32_t report) {
            QMetaObject::invokeMethod(this, [this, report] { OnDeviceBehavior(report); }, Qt::QueuedConnection);
        });
    }
    return true;
}

bool CQuobelDlg::OnInitDialog() {
    Config& cfg = *m_env.config;
    const GVar& g = cfg.gVar;
    if (m_icon.isNull()) {
        LogPrint("Load Icon err=%x", 2);
        m_icon = QIcon(QString::fromStdString(cfg.szAppPath + "appico.png"));
    }
    setWindowIcon(m_icon);
    if (!CreateDevices()) return false;
    StartupMark("devices");
    setWindowTitle(QString::fromStdString(g.pszTitle));

    // Which configured devices are here; one that is attached but may not be opened is
    // named with the way to allow it.
    QStringList no_access;
    for (DeviceKind kind : kDeviceKinds) {
        CHidDrv* drv = Transport(kind);
        if (!drv) continue;
        if (drv->FindDev() == 1) {
            m_nPresent |= 1u << Index(kind);
        } else if (drv->Probe() == Presence::NoAccess) {
            no_access << QString::fromLatin1(KindName(kind).data());
        }
    }
    if (!no_access.isEmpty()) {
        LogPrint("no access to: %s", qPrintable(no_access.join(", ")));
        Info(QStringLiteral("The %1 is connected, but this user may not open it. Install the udev rule "
                            "70-quobel.rules with scripts/udev-rules.sh (or install the package), then "
                            "plug the device in again.")
                 .arg(no_access.join(", ")));
    }
    if (m_nPresent == 0 && g.nSuwnd == 0) {
        Info(Text("tc_msg13"));
        return false;
    }
    StartupMark("found");
    if (!Build()) return false;
    StartupMark("built");

    if (IsConfigured(g, DeviceKind::Mouse)) {
        m_pNotify = new CNotifyDlg(m_ctx, this);
        m_pNotify->Init();
        m_pNotify->SetPosition(QPoint(50, 50));
    }
    for (DeviceKind kind : kDeviceKinds) {
        if (!(m_nPresent & (1u << Index(kind)))) continue;
        m_targets[Index(kind)] = std::make_unique<DeviceApplyTarget>(*m_devs[Index(kind)].dev);
        m_threads->StartApplyThread(kind, *m_targets[Index(kind)]);
    }
    LoadMacroFolder(MacroFolderOf(cfg.szDataPath), m_macros, g.nMacroDir,
                    static_cast<std::uint32_t>(g.bMacroHasMsKey));
    StartHotplug();
    StartupMark("threads-macros");
    m_autoSwitch.start();
    if (g.nTrayIcon == 1 || g.nTrayIcon == 3) AddTray();
    if (m_bShowPermission) OnConfig();
    // Started hidden: no first frame brings the remaining pages.
    if (!m_bShowPermission) QTimer::singleShot(0, this, &CQuobelDlg::BuildLaterPages);
    StartupMark("shown");

    auto* ms = dynamic_cast<CDrv5307*>(Transport(DeviceKind::Mouse));
    if (m_pDpi && cfg.pSensorCfg()) {
        // Only these firmware types report their level when they are found.
        const bool reported = ms && (g.nMsFw == 2 || g.nMsFw == 3 || g.nMsFw == 8);
        m_pDpi->SelectDpiLevel(reported ? ms->CurrentDpiLevel() : std::max(cfg.pSensorCfg()->nDefLevel, 0));
    }
    const int cur_mode = ms ? ms->CurrentMode() : 0;
    if (ProfileData* p = m_profiles.Current(); p && (cur_mode == 1 || cur_mode == 2)) {
        const int md = cur_mode != 1 ? 1 : 0;
        LogPrint("g_nCurMode=%x, md=%x, Ms.nMode=%x", static_cast<unsigned>(cur_mode), static_cast<unsigned>(md),
                 static_cast<unsigned>(p->Ms.nMode));
        if (p->Ms.nMode != md && m_pKeyMs) {
            p->Ms.nMode = md;
            m_pKeyMs->RefreshFromProfile();
        }
    }
    return true;
}

bool CQuobelDlg::Build() {
    const Config& cfg = *m_env.config;
    const GVar& g = cfg.gVar;
    m_imgBkg = LoadPicture(m_ctx.SkinPath("main_nr.png"));
    if (m_imgBkg.isNull()) {
        if (m_env.reporter) m_env.reporter->Report("Error", "Load skins failed.");
        return false;
    }
    setFixedSize(m_imgBkg.size());
    ApplyShape();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->availableGeometry();
        int x = s.x() + (s.width() - width()) / 2;
        int y = s.y() + (s.height() - height()) / 2;
        if (x < 1 || x > s.width()) x = 10;
        if (y < 1 || y > s.height()) y = 10;
        move(x, y);
    }
    m_layout = ComputeMainLayout(g, cfg.pSensorCfg(), IsConfigured(g, DeviceKind::Mouse));
    BuildButtons();
    // Only the selected kind's pages are in the first frame; ShowKind builds them, the
    // others follow once it is on the screen.
    m_nPagesWanted = m_nPresent;
    BuildDeviceList();
    for (DeviceKind kind : kDeviceKinds) {
        if (m_nPresent & (1u << Index(kind))) {
            ShowKind(kind);
            break;
        }
    }
    return true;
}

void CQuobelDlg::BuildPages(DeviceKind kind) {
    const unsigned bit = 1u << Index(kind);
    if (!(m_nPagesWanted & bit) || (m_nPagesBuilt & bit)) return;
    m_nPagesBuilt |= bit;
    switch (kind) {
        case DeviceKind::Mouse: BuildMousePages(); break;
        case DeviceKind::Keyboard: BuildKeyboardPages(); break;
        case DeviceKind::Pad: BuildPadPages(); break;
    }
    // Children made before the window shows would show with it.
    if (kind != m_selKind) SetKindVisible(kind, false);
    // Made after the profile was loaded: refreshed before they are shown or used.
    if (m_profiles.Current()) m_nPagesStale |= bit;
}

void CQuobelDlg::EnsurePages(DeviceKind kind) {
    BuildPages(kind);
    const unsigned bit = 1u << Index(kind);
    if (m_nPagesStale & bit) {
        m_nPagesStale &= ~bit;
        RefreshKindPages(kind);
    }
}

void CQuobelDlg::BuildLaterPages() {
    for (DeviceKind kind : kDeviceKinds) {
        const unsigned bit = 1u << Index(kind);
        if (!(m_nPagesWanted & bit) || (m_nPagesBuilt & bit)) continue;
        BuildPages(kind);
        QTimer::singleShot(0, this, &CQuobelDlg::BuildLaterPages);
        return;
    }
}

void CQuobelDlg::ApplyShape() {
    // Pixels within 10 above the key colour leave the window. Where a compositor draws
    // per-pixel alpha, the edge pixels next to them fade out by how much of the key they
    // hold, so no key-coloured fringe shows at anti-aliased edges.
    const Colour key = m_ctx.gvar->clrMask;
    if (key == 0) return;
    QImage img = m_imgBkg.convertToFormat(QImage::Format_ARGB32);
    const int kr = Red(key), kg = Green(key), kb = Blue(key);
    const auto keyed = [&](QRgb c) {
        return qRed(c) >= kr && qRed(c) <= std::min(kr + 10, 255) && qGreen(c) >= kg &&
               qGreen(c) <= std::min(kg + 10, 255) && qBlue(c) >= kb && qBlue(c) <= std::min(kb + 10, 255);
    };
    const int w = img.width(), h = img.height();
    std::vector<std::uint8_t> cut(static_cast<std::size_t>(w * h));
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            if (keyed(line[x]) || qAlpha(line[x]) == 0) {
                cut[static_cast<std::size_t>(y * w + x)] = 1;
                line[x] = 0;
            }
        }
    }
    // Edge pixels: the share of the key in the colour is estimated against the darkest
    // channel distance, and removed from the colour with it.
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            if (cut[static_cast<std::size_t>(y * w + x)]) continue;
            bool edge = false;
            for (int dy = -1; dy <= 1 && !edge; ++dy) {
                for (int dx = -1; dx <= 1 && !edge; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    edge = nx >= 0 && ny >= 0 && nx < w && ny < h && cut[static_cast<std::size_t>(ny * w + nx)];
                }
            }
            if (!edge) continue;
            // Inward neighbour two pixels away gives the foreground colour.
            QRgb fg = line[x];
            for (int r = 2; r <= 3; ++r) {
                const int nx = std::clamp(x + (x < w / 2 ? r : -r), 0, w - 1);
                const int ny = std::clamp(y + (y < h / 2 ? r : -r), 0, h - 1);
                if (!cut[static_cast<std::size_t>(ny * w + nx)]) fg = img.pixel(nx, ny);
            }
            const QRgb c = line[x];
            const double dk[3] = {double(qRed(c) - kr), double(qGreen(c) - kg), double(qBlue(c) - kb)};
            const double df[3] = {double(qRed(fg) - kr), double(qGreen(fg) - kg), double(qBlue(fg) - kb)};
            const double ff = df[0] * df[0] + df[1] * df[1] + df[2] * df[2];
            if (ff < 1.0) continue;
            const double a = std::clamp((dk[0] * df[0] + dk[1] * df[1] + dk[2] * df[2]) / ff, 0.0, 1.0);
            line[x] = qRgba(qRed(fg), qGreen(fg), qBlue(fg), static_cast<int>(a * qAlpha(c) + 0.5));
        }
    }
    m_imgBkg = img;
    // Without a compositor the shape is the mask; with one the alpha above does the rest.
    QImage mask(w, h, QImage::Format_Mono);
    mask.fill(0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) mask.setPixel(x, y, cut[static_cast<std::size_t>(y * w + x)] ? 0 : 1);
    }
    setMask(QRegion(QBitmap::fromImage(mask)));
}

CPngBtn* CQuobelDlg::MakeButton(const QRect& r, const char* base, const char* over, const char* down,
                                const QString& caption) {
    CPngBtn* b = CPngBtn::Create(m_ctx, this, m_imgBkg, r.topLeft(), QString::fromLatin1(base),
                                 QString::fromLatin1(over), QString::fromLatin1(down), CPngBtn::kPush, false, caption);
    if (b) b->setGeometry(QRect(r.topLeft(), b->size()));
    return b;
}

CPngBtn* CQuobelDlg::MakeHotArea(const QRect& r, const QString& caption) {
    auto* b = new CPngBtn(m_ctx, this);
    const QImage cut = CropBackground(m_imgBkg, r);
    b->SetPictures(cut, cut, cut);
    b->setGeometry(r);
    b->SetBackground(m_imgBkg);
    b->SetCaption(caption);
    return b;
}

void CQuobelDlg::BuildButtons() {
    const GVar& g = *m_ctx.gvar;
    const MainLayout& l = m_layout;
    m_btn[kMin] = MakeButton(l.minBtn, "min_nr.png", "min_ov.png", "min_ov.png", {});
    m_btn[kExit] = MakeButton(l.exitBtn, "exit_nr.png", "exit_ov.png", "exit_ov.png", {});
    m_btn[kRestore] = MakeButton(l.restore, "button3_nr.png", "button3_ov.png", "button3_dn.png", Text("tc_restore"));
    m_btn[kApply] = MakeButton(l.apply, "button3_nr.png", "button3_ov.png", "button3_dn.png", Text("tc_apply"));
    m_btn[kMacro] = MakeButton(l.macroMs, "btn_nr.png", "btn_ov.png", "btn_dn.png", Text("tc_macro"));
    m_btn[kAdd] = MakeButton(l.add, "add_nr.png", "add_ov.png", "add_dn.png", {});
    m_btn[kDel] = MakeButton(l.del, "del_nr.png", "del_ov.png", "del_dn.png", {});
    m_btn[kMore] = MakeButton(l.more, "dot_nr.png", "dot_ov.png", "dot_dn.png", {});
    m_btn[kHome] = MakeHotArea(l.home, l.homeCaption ? Text("tc_web") : QString());
    m_btn[kDrv] = MakeHotArea(l.drv, Text("tc_ms16"));
    m_btn[kDrv]->setVisible(g.bShowDrvOpt != 0);
    m_btn[kHome]->setCursor(Qt::PointingHandCursor);

    m_pCombo = CComboBtn::Create(m_ctx, this, m_imgBkg, l.combo.topLeft(), "combo_nr.png", "combo_ov.png",
                                 "combo_dn.png");
    m_pProfileCtl = new CProfileControls(*this, m_env.ids ? *m_env.ids : SystemIdGenerator());
    m_pProfileCtl->Connect(m_pCombo, m_btn[kAdd], m_btn[kDel], m_btn[kMore]);

    m_pEdit528 = new QLineEdit(this);
    m_pEdit528->setObjectName("edit528");
    m_pEdit528->setFrame(false);
    m_pEdit528->setGeometry(l.edit528);
    m_pEdit528->setStyleSheet(QStringLiteral("QLineEdit { background: black; color: %1; }")
                                  .arg(ToQColor(g.clrBtnTxtNr).name()));
    m_pEdit528->hide();

    const auto on = [this](Button b, void (CQuobelDlg::*fn)()) {
        if (m_btn[b]) {
            connect(m_btn[b], &QAbstractButton::clicked, this, [this, fn] {
                CSkinMenu::DestroyMenuEx();
                (this->*fn)();
            });
        }
    };
    on(kExit, &CQuobelDlg::OnExitButton);
    on(kMin, &CQuobelDlg::showMinimized);
    on(kApply, &CQuobelDlg::OnApply);
    on(kRestore, &CQuobelDlg::OnRestore);
    on(kMacro, &CQuobelDlg::OnMacro);
    on(kHome, &CQuobelDlg::OnHomePage);
    on(kDrv, &CQuobelDlg::OnDriverSettings);
}

void CQuobelDlg::BuildMousePages() {
    const Config& cfg = *m_env.config;
    const GVar& g = cfg.gVar;
    QImage mouse = LoadPicture(m_ctx.SkinPath("mouse/mouse_nr.png"));
    if (mouse.isNull()) mouse = LoadPicture(m_ctx.CommonPath("mouse/mouse_nr.png"));
    if (!mouse.isNull()) {
        m_pKeyMark = new CKeyMarkDlg(*this, this);
        m_pKeyMark->setGeometry(QRect(m_layout.msMark, mouse.size()));
    }
    m_pKeyMs = new CKeyMsDlg(*this, this);
    m_pKeyMs->setGeometry(m_layout.msArea);
    m_pKeyMs->hide();
    for (int i = 0; i < kUsedHeaders; ++i) {
        const QRect r(m_layout.headers + QPoint(0, i * 31), QSize(245, 25));
        CPngBtn* h = MakeButton(r, "header_nr.png", "header_nr.png", "header_ov.png", Text(kHeaderTexts[i]));
        if (!h) continue;
        h->SetCaption(h->Caption(), 12);
        m_headers[static_cast<std::size_t>(i)] = h;
        connect(h, &QAbstractButton::clicked, this, [this, i] {
            CSkinMenu::DestroyMenuEx();
            ExpandSection(i);
        });
    }
    m_pDpi = new CDpiDlg(*this, this);
    m_pSys = new CSysDlg(*this, this);
    m_pRate = new CRateDlg(*this, this);
    // A key-mode switch shows the rate of the new mode.
    connect(m_pKeyMs, &CKeyMsDlg::ModeSwitched, m_pRate, [this](int) { m_pRate->ShowCurrentMode(); });
    // The gun mouse's key mode shows or hides the rate and lighting pages; when the one on
    // display goes, the first page shows.
    connect(m_pKeyMs, &CKeyMsDlg::PageSetChanged, this, [this] {
        if (m_selKind != DeviceKind::Mouse) return;
        const int shown = m_nExpanded;
        ExpandSection(shown);
        if (shown >= 0 && m_nExpanded != shown) ShowKind(DeviceKind::Mouse);
    });
    m_sectionPage[0] = m_pDpi;
    m_sectionPage[2] = m_pSys;
    m_sectionPage[3] = m_pRate;
    if (MouseLightingFw(g.nMsFw)) {
        m_pLedMs = new CLedMsDlg_5307Std(*this, this);
        m_pLedMs->SetMarkPage(m_pKeyMark);
        m_sectionPage[1] = m_pLedMs;
    }
    for (CPage* p : m_sectionPage) {
        if (p) p->hide();
    }
}

void CQuobelDlg::BuildKeyboardPages() {
    m_pKbColor = new CKBColorDlg(*this, this);
    m_pKbColor->SetMode(CKBColorDlg::kModeLighting);
    // The picture places itself from the keyboard description (rcKB).
    connect(m_pKbColor, &CKBColorDlg::keyClicked, this, &CQuobelDlg::OnKeyClick);
    connect(m_pKbColor, &CKBColorDlg::keyRightClicked, this, &CQuobelDlg::OnKeyRClick);
    m_rcKbHint = QRect(m_pKbColor->x() + 4, m_pKbColor->geometry().bottom() + 1 + 5, 496, 40);
    if (m_env.config->gVar.nKbFw == 20) {
        m_pLedKb = new CLedKbDlg_642Std(*this, this);
        m_pLedKb->SetPicture(m_pKbColor);
        m_pLedKb->setGeometry(m_layout.keyArea);
        connect(m_pLedKb, &CLedKbDlg_642Std::ledModeChanged, this, &CQuobelDlg::OnLedMode);
    }
}

void CQuobelDlg::BuildPadPages() {
    const QImage pad = LoadPicture(m_ctx.SkinPath("pad_nr.png"));
    if (!pad.isNull()) {
        m_pPadMark = new CPadMarkDlg(*this, this);
        m_pPadMark->setGeometry(QRect(m_layout.padMark, pad.size()));
    }
    if (m_env.config->gVar.nPadFw == 40) {
        m_pLedPad = new CLedPadDlg_Std(*this, this);
        m_pLedPad->SetMarkPage(m_pPadMark);
        m_pLedPad->setGeometry(m_layout.keyArea);
        m_pLedPad->hide();
    }
}

void CQuobelDlg::BuildDeviceList() {
    const GVar& g = *m_ctx.gvar;
    m_pDevList = new CTreeCtrlEx(m_ctx, this);
    m_pDevList->Create(kDevListId, m_imgBkg, m_layout.devList, {}, {}, m_ctx.font);
    m_pDevList->SetRowHeight(26);
    m_pDevList->SetIconBox(20);
    m_pDevList->SetBkgColour((200u << 24) | (ToQColor(g.clrLstBoxBkg).rgb() & 0xFFFFFF));
    m_pDevList->SetSelColour(ToQColor(g.clrLstBoxItem).rgb() & 0xFFFFFF);
    m_pDevList->SetTextColours(g.clrLstBoxTxtNr, g.clrLstBoxTxtDn);
    bool first = true;
    for (DeviceKind kind : kDeviceKinds) {
        if (!(m_nPresent & (1u << Index(kind)))) continue;
        AddDeviceListItem(kind, first);
        first = false;
    }
    m_pDevList->setVisible(g.bShowDevList != 0);
    connect(m_pDevList, &CTreeCtrlEx::TreeItemClick, this, &CQuobelDlg::OnListItemClick);
}

void CQuobelDlg::AddDeviceListItem(DeviceKind kind, bool select) {
    static constexpr std::array<const char*, 3> kCaptions = {"tc_msg24", "tc_msg25", "tc_msg1"};
    static constexpr std::array<const char*, 3> kIcons = {"ms.png", "kb.png", "pad.png"};
    const std::size_t i = Index(kind);
    const QString icon = m_ctx.SkinPath(kIcons[i]);
    m_pDevList->AddItem(nullptr, false, select, LoadPicture(icon).width() > 0 ? icon : QString(), Text(kCaptions[i]),
                        static_cast<std::uint32_t>(kind), 0, 5);
}

void CQuobelDlg::OnListItemClick(int id, TreeItem* item) {
    if (id != kDevListId || item == nullptr) return;
    const TreeItemRecord* rec = m_pDevList->FindRecord(item);
    if (rec == nullptr) {
        Info(QStringLiteral("OnListItemClick: pItem=0"));
        return;
    }
    ShowKind(static_cast<DeviceKind>(rec->value));
}

void CQuobelDlg::PlaceMacroButton(DeviceKind kind) {
    CPngBtn* b = m_btn[kMacro];
    if (!b) return;
    const QRect r = kind == DeviceKind::Mouse ? m_layout.macroMs : m_layout.macroKb;
    if (b->pos() != r.topLeft()) {
        b->move(r.topLeft());
        b->SetBackground(m_imgBkg);
    }
}

void CQuobelDlg::SetKindVisible(DeviceKind kind, bool on) {
    switch (kind) {
        case DeviceKind::Mouse:
            for (QWidget* w : std::initializer_list<QWidget*>{m_pKeyMark, m_pKeyMs}) {
                if (w) w->setVisible(on);
            }
            if (on) break;  // the sections open by ExpandSection
            for (std::size_t i = 0; i < kHeaders; ++i) {
                if (m_headers[i]) m_headers[i]->hide();
                if (m_sectionPage[i]) m_sectionPage[i]->hide();
            }
            break;
        case DeviceKind::Keyboard:
            for (QWidget* w : std::initializer_list<QWidget*>{m_pKbColor, m_pLedKb}) {
                if (w) w->setVisible(on);
            }
            break;
        case DeviceKind::Pad:
            for (QWidget* w : std::initializer_list<QWidget*>{m_pPadMark, m_pLedPad}) {
                if (w) w->setVisible(on);
            }
            break;
    }
}

void CQuobelDlg::ShowKind(DeviceKind kind) {
    m_selKind = kind;
    EnsurePages(kind);
    const bool ms = kind == DeviceKind::Mouse, pad = kind == DeviceKind::Pad;
    for (DeviceKind k : {DeviceKind::Pad, DeviceKind::Keyboard, DeviceKind::Mouse}) SetKindVisible(k, k == kind);
    if (ms) {
        int first = -1;
        for (int i = 0; i < kUsedHeaders && first < 0; ++i) {
            if (m_headers[static_cast<std::size_t>(i)] && m_sectionPage[static_cast<std::size_t>(i)]) first = i;
        }
        ExpandSection(first);
    }
    PlaceMacroButton(kind);
    if (m_btn[kMacro]) m_btn[kMacro]->setVisible(!pad);
    update();
}

void CQuobelDlg::ExpandSection(int index) {
    CSkinMenu::DestroyMenuEx();
    for (std::size_t i = 0; i < kHeaders; ++i) {
        if (m_headers[i]) m_headers[i]->SetChecked(false);
        if (m_sectionPage[i]) m_sectionPage[i]->hide();
    }
    m_nExpanded = -1;
    const MsDevCfg& ms = m_ctx.gvar->MsDev;
    int top = m_layout.headers.y();
    for (int i = 0; i < kHeaders; ++i) {
        CPngBtn* h = m_headers[static_cast<std::size_t>(i)];
        if (!h) continue;
        const bool hidden = (i == 1 && (ms.nShowLed[0] == 0 || ms.nShowLed[1] != 0 || !m_sectionPage[1])) ||
                            (i == 3 && ms.bShowUsbRate == 0);
        if (hidden) {
            h->hide();
            continue;
        }
        h->setGeometry(m_layout.headers.x(), top, 245, 25);
        h->SetBackground(m_imgBkg);
        h->show();
        top += 30;
        if (i == index) {
            h->SetChecked(true);
            if (CPage* p = m_sectionPage[static_cast<std::size_t>(i)]) {
                p->move(m_layout.headers.x(), h->y() + h->height());
                p->show();
                top += p->height() + 30;
            }
            m_nExpanded = i;
        }
    }
}

void CQuobelDlg::PausePreview(bool pause) {
    CPicturePage* pic = nullptr;
    switch (m_selKind) {
        case DeviceKind::Mouse: pic = m_pKeyMark; break;
        case DeviceKind::Keyboard: pic = m_pKbColor; break;
        case DeviceKind::Pad: pic = m_pPadMark; break;
    }
    if (pic) pic->SetPreviewPause(pause);
}

void CQuobelDlg::Publish() {
    if (ProfileData* p = m_profiles.Current()) m_published.Set(*p, m_macros);
}

void CQuobelDlg::RequestApply(DeviceKind kind, std::uint32_t flags) {
    Publish();
    (void)m_threads->RequestApply(kind, flags);
}

void CQuobelDlg::RequestApplyJoining(DeviceKind kind, std::uint32_t flags) {
    Publish();
    (void)m_threads->RequestApplyJoining(kind, flags);
}

void CQuobelDlg::LoadProfiles() {
    const Config& cfg = *m_env.config;
    m_profiles.Clear();
    ProfileStartup startup;
    (void)StartupProfiles(m_profiles, cfg, m_ctx.texts ? m_ctx.texts->Get("tc_proname") : std::string(),
                          m_env.ids ? *m_env.ids : SystemIdGenerator(), startup);
    const ProfileData* cur = m_profiles.Current();
    SelectProfile(cur ? cur->dwProfileID : 0);
    if (!startup.message.empty()) Info(QString::fromStdString(startup.message));
    // Fresh defaults are kept at once, so the profile ids the devices get stay the same.
    if (startup.defaults_created) SaveProfileFiles();
}

void CQuobelDlg::UpdateProfileCombo() {
    if (m_pProfileCtl) m_pProfileCtl->ShowCurrent();
}

void CQuobelDlg::SelectProfile(std::uint32_t id) {
    m_profiles.Select(id);
    UpdateProfileCombo();
    const SensorCfg* s = m_env.config->pSensorCfg();
    LogPrint("Init UI Layout for 0x%x", s ? static_cast<unsigned>(s->nSensor) : 0u);
    RefreshPages();
    Publish();
}

void CQuobelDlg::RefreshPages() {
    m_nPagesStale |= m_nPagesBuilt;
    EnsurePages(m_selKind);
}

void CQuobelDlg::RefreshKindPages(DeviceKind kind) {
    std::array<CPage*, 6> pages{};
    switch (kind) {
        case DeviceKind::Mouse: pages = {m_pDpi, m_pSys, m_pLedMs, m_pRate, m_pKeyMs, m_pKeyMark}; break;
        case DeviceKind::Keyboard: pages = {m_pKbColor, m_pLedKb}; break;
        case DeviceKind::Pad: pages = {m_pLedPad, m_pPadMark}; break;
    }
    for (CPage* p : pages) {
        if (p) p->RefreshFromProfile();
    }
}

void CQuobelDlg::StorePages(DeviceKind kind) {
    EnsurePages(kind);
    switch (kind) {
        case DeviceKind::Mouse:
            for (CPage* p : std::initializer_list<CPage*>{m_pDpi, m_pSys, m_pLedMs, m_pRate}) {
                if (p) p->StoreToProfile();
            }
            break;
        case DeviceKind::Keyboard:
            if (m_pLedKb) m_pLedKb->StoreToProfile();
            break;
        case DeviceKind::Pad:
            if (m_pLedPad) m_pLedPad->StoreToProfile();
            break;
    }
}

void CQuobelDlg::OnConfig() {
    LogPrint("OnConfig");
    if (isVisible()) {
        if (isMinimized()) showNormal();
        raise();
        activateWindow();
        return;
    }
    LoadProfiles();
    PlayProfileSound();
    LogPrint("OnConfig 2");
    m_bShowPermission = true;
    showNormal();
    raise();
    activateWindow();
}

void CQuobelDlg::PlayProfileSound() {
    const ProfileData* p = m_profiles.Current();
    if (!p) return;
    const ProfileSound s = SoundOnSelect(*p, m_ctx.gvar->bPlaySound != 0);
    if (s.action == ProfileSound::kMissing) {
        Info(QString::fromStdString(s.message));
    } else if (s.action == ProfileSound::kPlay) {
        PlayLoopingSound(QString::fromStdString(s.path));
    }
}

void CQuobelDlg::Exit() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        const QString t = w->windowTitle();
        if (w != this && w->isVisible() && (t == QLatin1String(CMacroDlg::kWindowTitle) ||
                                            t == QLatin1String(CMsgDlg::kWindowTitle))) {
            w->close();
        }
    }
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void CQuobelDlg::OnExitButton() {
    StopSound();
    const int tray = m_ctx.gvar->nTrayIcon;
    if ((tray == 1 || tray == 3) && m_pTray) {
        hide();
    } else {
        Exit();
    }
}

void CQuobelDlg::AddTray() {
    if (!m_env.trayAvailable || !QSystemTrayIcon::isSystemTrayAvailable()) {
        // Hidden behind a tray that does not exist, the program could not be reached.
        LogPrint("no system tray: the window shows and the exit button ends the program");
        m_bShowPermission = true;
        return;
    }
    m_pTray = new QSystemTrayIcon(m_icon, this);
    m_pTray->setToolTip(QString::fromStdString(m_ctx.gvar->pszTitle));
    auto* menu = new QMenu(this);
    menu->addAction(Text("tc_config"), this, &CQuobelDlg::OnConfig);
    menu->addSeparator();
    menu->addAction(Text("tc_exit"), this, &CQuobelDlg::Exit);
    m_pTray->setContextMenu(menu);
    connect(m_pTray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::DoubleClick || r == QSystemTrayIcon::Trigger) OnConfig();
    });
    m_pTray->show();
    m_pTray->showMessage(QString::fromStdString(m_ctx.gvar->pszTitle), QString::fromStdString(m_ctx.gvar->pszTitle),
                         QSystemTrayIcon::Information, 5000);
}

bool CQuobelDlg::GunCheckOk() const {
    const ProfileData* p = m_profiles.Current();
    if (!p) return false;
    if (!(p->dwFlags & kProfileFlagGun)) return true;
    bool on = false, toggle = false;
    for (const KeyInfo& k : p->Ms.Keys[1]) {
        if (FunType(k.FunID) != kFunSpecial) continue;
        on = on || FunCode(k.FunID) == 0xC0;
        toggle = toggle || FunCode(k.FunID) == 0xC2;
    }
    return !(on && !toggle);
}

bool CQuobelDlg::RunProgressApply(DeviceKind kind) {
    CProgressDlg dlg(m_ctx, this);
    dlg.SetPictures(m_ctx.CommonPath("progress_nr.png"), m_ctx.CommonPath("progress_ov.png"));
    dlg.SetBarRect(QRect(QPoint(45, 101), QPoint(486, 123)));
    dlg.SetCaption(Text("tc_msg12"), QRect(QPoint(15, 12), QPoint(455, 32)));
    dlg.SetRange(0, 100);
    dlg.OnSetPos(0);
    (void)dlg.Init();
    Publish();
    if (!m_threads->RequestApplyWithProgress(kind, dlg.Link())) return false;
    m_pProgress = &dlg;
    (void)m_env.modals->Exec(dlg);
    m_pProgress = nullptr;
    return true;
}

void CQuobelDlg::SaveProfileFiles() {
    const std::string& folder = m_env.config->szDataPath;
    (void)SaveProfiles(m_profiles, folder);
    (void)WriteCurrentId(m_profiles, folder);
}

void CQuobelDlg::OnApply() {
    const GVar& g = *m_ctx.gvar;
    if (g.nMsFw == 10 && !GunCheckOk()) {
        Info(Text("tc_chiji7"));
        return;
    }
    PausePreview(true);
    const DeviceKind kind = m_selKind;
    CHidDrv* drv = Transport(kind);
    if ((drv == nullptr || drv->GetHandle() == nullptr) && g.bGoWithNoDev == 0) {
        Info(Text("tc_msg13"));
        PausePreview(false);
        return;
    }
    StorePages(kind);
    (void)RunProgressApply(kind);
    PausePreview(false);
    SaveProfileFiles();
}

void CQuobelDlg::OnRestore() {
    PausePreview(true);
    if (m_env.modals->Ask(m_ctx, this, Text("tc_msg7")) != 1) {
        PausePreview(false);
        return;
    }
    const DeviceKind kind = m_selKind;
    CHidDev* dev = Device(kind);
    ProfileData* p = m_profiles.Current();
    if (!dev || !p) {
        PausePreview(false);
        return;
    }
    SetField(p->szSound, m_ctx.szAppPath + kDrvSoundName);
    dev->FillDefaults(*p);
    dev->bReset = 1;
    const bool open = Transport(kind) && Transport(kind)->GetHandle() != nullptr;
    if (m_pKbColor) m_pKbColor->RefreshFromProfile();
    switch (kind) {
        case DeviceKind::Mouse:
            for (CPage* pg : std::initializer_list<CPage*>{m_pKeyMark, m_pKeyMs, m_pDpi, m_pSys, m_pLedMs, m_pRate}) {
                if (pg) pg->RefreshFromProfile();
            }
            if (m_pDpi && m_env.config->pSensorCfg()) {
                m_pDpi->SelectDpiLevel(std::max(m_env.config->pSensorCfg()->nDefLevel, 0));
            }
            break;
        case DeviceKind::Keyboard:
            if (m_pLedKb) m_pLedKb->RefreshFromProfile();
            break;
        case DeviceKind::Pad:
            if (m_pLedPad) m_pLedPad->RefreshFromProfile();
            break;
    }
    if (open || m_ctx.gvar->bApplyNow != 0) {
        (void)RunProgressApply(kind);
        SaveProfileFiles();
    } else {
        Publish();
    }
    PausePreview(false);
}

bool CQuobelDlg::MacroInUse(std::uint32_t macro_id) {
    const ProfileData* p = m_profiles.Current();
    if (!p) return false;
    const GVar& g = *m_ctx.gvar;
    bool used = false;
    if (IsConfigured(g, DeviceKind::Mouse)) {
        for (const auto& mode : p->Ms.Keys) {
            for (const KeyInfo& k : mode) used = used || (FunType(k.FunID) == kFunMacro && k.MacroID == macro_id);
        }
    }
    if (IsConfigured(g, DeviceKind::Keyboard)) {
        const int n = std::clamp(g.KbDev.nKeyCount, 0, kKbKeySlots);
        for (int i = 0; i < n; ++i) {
            const KeyInfo& k = p->Kb.Keys[i];
            used = used || (FunType(k.FunID) == kFunMacro && k.MacroID == macro_id);
        }
    }
    if (used) Info(Text("tc_macro_msg18"));
    return used;
}

void CQuobelDlg::OnMacro() {
    PausePreview(true);
    const GVar& g = *m_ctx.gvar;
    const int third = IsConfigured(g, DeviceKind::Mouse) && !IsConfigured(g, DeviceKind::Keyboard) ? 0 : 1;
    CMacroDlg dlg(*this, this, [this](std::uint32_t id) { return MacroInUse(id); }, third);
    (void)m_env.modals->Exec(dlg);
    PausePreview(false);
}

void CQuobelDlg::OnHomePage() {
    const QString web = Text("tc_web");
    if (!web.isEmpty()) QDesktopServices::openUrl(QUrl(web));
}

void CQuobelDlg::OnKeyRClick(int slot) {
    if (m_pLedKb) m_pLedKb->OnKeyRClick(slot);
}

void CQuobelDlg::OnLedMode(int mode) {
    if (!m_pKbColor) return;
    m_pKbColor->SetMode(mode != 0 ? CKBColorDlg::kModeLighting : CKBColorDlg::kModeKeys);
    m_pKbColor->SetLayer(CKBColorDlg::kLayerMain);
    m_pKbColor->ClearCellColours();
    m_pKbColor->update();
    update(m_rcKbHint);
}

void CQuobelDlg::AutoSwitch() {
    if (!m_env.processes) return;
    bool open = false;
    for (DeviceKind kind : kDeviceKinds) {
        if (CHidDrv* d = Transport(kind); d && d->GetHandle() != nullptr) open = true;
    }
    if (!open) return;
    // The process list is read only when some profile is linked to a program.
    if (std::none_of(m_profiles.begin(), m_profiles.end(),
                     [](const ProfileData& p) { return !LinkedProgram(p).empty(); })) {
        return;
    }
    const std::vector<std::string> names = m_env.processes->ProgramNames();
    ProfileData* hit = nullptr;
    for (ProfileData& p : m_profiles) {
        const std::string program = LinkedProgram(p);
        if (program.empty()) continue;
        if (std::any_of(names.begin(), names.end(), [&](const std::string& n) { return ContainsNoCase(n, program); })) {
            hit = &p;
            break;
        }
    }
    if (!hit || hit == m_profiles.Current()) return;
    LogPrint("auto switch to profile 0x%x", hit->dwProfileID);
    // Written at once on this thread: a snapshot of the profile, not the one the pages edit.
    ProfileData copy = *hit;
    for (DeviceKind kind : {DeviceKind::Mouse, DeviceKind::Keyboard}) {
        if (CHidDev* d = Device(kind); d && (m_nPresent & (1u << Index(kind)))) {
            (void)d->ApplySetting(copy, nullptr, kKbApplyAll);  // the mouse takes the same bits
        }
    }
    if (isVisible()) {
        SelectProfile(hit->dwProfileID);
    } else {
        m_profiles.Select(hit->dwProfileID);
        Publish();
    }
    (void)WriteCurrentId(m_profiles, m_env.config->szDataPath);
}

void CQuobelDlg::ReloadTexts() {
    const GVar& g = *m_ctx.gvar;
    if (m_btn[kApply]) m_btn[kApply]->SetCaption(Text("tc_apply"));
    if (m_btn[kMacro]) m_btn[kMacro]->SetCaption(Text("tc_macro"));
    if (m_btn[kRestore]) m_btn[kRestore]->SetCaption(Text("tc_restore"));
    if (m_btn[kDrv]) m_btn[kDrv]->SetCaption(Text("tc_ms16"));
    for (int i = 0; i < kUsedHeaders; ++i) {
        if (CPngBtn* h = m_headers[static_cast<std::size_t>(i)]) h->SetCaption(Text(kHeaderTexts[i]), 12);
    }
    const std::string version =
        CutToUtf16Units((Text("tc_version") + " " + QString::fromStdString(g.szVer)).toStdString(), 49);
    ChangeConfig([&version](Config& c) { c.gVar.szVersion = version; });
    for (CPage* p : std::initializer_list<CPage*>{m_pLedMs, m_pKeyMs, m_pDpi, m_pSys, m_pRate, m_pLedKb, m_pLedPad}) {
        if (p) p->ReloadTexts();
    }
    if (m_pDevList) {
        static constexpr std::array<const char*, 3> kCaptions = {"tc_msg24", "tc_msg25", "tc_msg1"};
        for (const auto& item : m_pDevList->TopLevel()) {
            const std::size_t i = static_cast<std::size_t>(item->rec.value) - 1;
            if (i < 3) m_pDevList->SetItem(item.get(), Text(kCaptions[i]), item->rec.value);
        }
    }
    update();
}

void CQuobelDlg::ReloadSkin() {
    m_imgBkg = LoadPicture(m_ctx.SkinPath("main_nr.png"));
    if (m_imgBkg.isNull()) return;
    ApplyShape();
    for (CPngBtn* b : m_btn) {
        if (b) b->ReloadPictures();
        if (b) b->SetBackground(m_imgBkg);
    }
    for (CPngBtn* h : m_headers) {
        if (h) h->ReloadPictures();
        if (h) h->SetBackground(m_imgBkg);
    }
    if (m_btn[kHome]) {
        const QImage c = CropBackground(m_imgBkg, m_btn[kHome]->geometry());
        m_btn[kHome]->SetPictures(c, c, c);
    }
    if (m_btn[kDrv]) {
        const QImage c = CropBackground(m_imgBkg, m_btn[kDrv]->geometry());
        m_btn[kDrv]->SetPictures(c, c, c);
    }
    if (m_pCombo) m_pCombo->ReloadPictures();
    if (m_pCombo) m_pCombo->SetBackground(m_imgBkg);
    if (m_pDevList) m_pDevList->SetBackground(m_imgBkg);
    for (CPage* p : std::initializer_list<CPage*>{m_pKeyMark, m_pKeyMs, m_pDpi, m_pSys, m_pRate, m_pLedMs, m_pKbColor,
                                                  m_pLedKb, m_pPadMark, m_pLedPad}) {
        if (p) p->ReloadSkin();
    }
    update();
}

void CQuobelDlg::paintEvent(QPaintEvent*) {
    if (!m_bPainted) {
        m_bPainted = true;
        StartupMark("first-paint");
        // Runs once the frame with every child has been drawn and handed to the screen;
        // the pages the frame did not show follow.
        QTimer::singleShot(0, this, [this] {
            StartupMark("first-frame");
            BuildLaterPages();
        });
    }
    QPainter p(this);
    if (isMinimized()) {
        const QSize s(32, 32);
        p.drawPixmap(QRect(rect().center() - QPoint(16, 16), s), m_icon.pixmap(s));
        return;
    }
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(rect(), Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.drawImage(rect(), m_imgBkg);
    const GVar& g = *m_ctx.gvar;
    p.setPen(ToQColor(g.clrTxt));
    p.setFont(m_ctx.font);
    const auto line = [&](const QRect& r, const QString& text) {
        p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   p.fontMetrics().elidedText(text, Qt::ElideRight, r.width()));
    };
    line(m_layout.proCaption, Text("tc_protitle"));
    line(m_layout.version, QString::fromStdString(g.szVersion));
    if (m_pDevList && m_pDevList->isVisible()) line(m_layout.devListCaption, Text("tc_msg22"));
    // The keyboard's hint area names the Fn layer while the key cells show it.
    if (m_pKbColor && m_pKbColor->isVisible() && m_pKbColor->Mode() == CKBColorDlg::kModeKeys &&
        m_pKbColor->Layer() == CKBColorDlg::kLayerFn) {
        // Centred: the area starts left of the middle panel's border.
        p.drawText(m_rcKbHint.adjusted(0, 0, 0, -20), Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine,
                   Text("tc_kb5"));
    }
}

void CQuobelDlg::mousePressEvent(QMouseEvent* event) {
    CSkinMenu::DestroyMenuEx();
    if (event->button() == Qt::RightButton) {
        OpenSystemMenu(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    // The compositor moves the window where it can (Wayland needs it); else by hand.
    if (QWindow* w = windowHandle(); w && w->startSystemMove()) return;
    m_bDragging = true;
    m_ptDrag = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void CQuobelDlg::mouseMoveEvent(QMouseEvent* event) {
    if (m_bDragging) move(event->globalPosition().toPoint() - m_ptDrag);
}

void CQuobelDlg::mouseReleaseEvent(QMouseEvent*) { m_bDragging = false; }

bool CQuobelDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return QWidget::eventFilter(watched, event);
    }
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != this) return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (m_pKbColor && m_pKbColor->IsCapturing()) {
        if (event->type() == QEvent::KeyPress) m_pKbColor->OnCaptureKey(KeyEventToVk(*key), false);
        return true;
    }
    if (event->type() == QEvent::KeyPress && key->key() == Qt::Key_Space && key->modifiers() == Qt::AltModifier) {
        OpenSystemMenu(mapToGlobal(QPoint(0, 0)));
        return true;
    }
    return CSkinDlg::IsSwallowedKey(key->key());
}

void CQuobelDlg::closeEvent(QCloseEvent* event) {
    if (m_pProgress) {
        // An apply is running: its window goes first, the apply finishes in teardown.
        m_pProgress->done(2);
    }
    event->accept();
    if (!m_bClosing) {
        m_bClosing = true;
        emit closed();
    }
}

void CQuobelDlg::Teardown() {
    if (m_bTornDown) return;
    m_bTornDown = true;
    LogPrint("DestroyWindow START");
    // No device event reaches the window once this returns.
    if (m_env.hotplug) m_env.hotplug->Stop();
    for (QTimer* t : m_arrival) {
        if (t) t->stop();
    }
    m_autoSwitch.stop();
    StopSound();
    if (m_pTray) m_pTray->hide();
    m_threads->StopApplyThreads();
    for (DevicePair& d : m_devs) {
        if (d.drv) d.drv->Uninit();
    }
    m_macros.Clear();
    m_profiles.Clear();
    LogPrint("DestroyWindow END");
}

}  // namespace quobel
