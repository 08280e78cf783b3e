#include "quobel_app.h"

#include <QDialog>
#include <QFontDatabase>
#include <QMessageBox>
#include <QTemporaryDir>

#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string_view>

#include "base/log.h"
#include "base/sleeper.h"
#include "config/data_init.h"
#include "device/exchange_trace.h"
#include "macro/new_id.h"
#include "platform/data_folder_lock.h"
#include "platform/hid/hidapi_backend.h"
#include "platform/hotplug/udev_monitor.h"
#include "platform/pointer.h"
#include "platform/process.h"
#include "sim/sim_backend.h"
#include "sim/sim_control.h"
#include "ui/main/quobel_dlg.h"
#include "ui/main/screenshots.h"
#include "ui/main/single_instance.h"
#include "ui/main/startup_trace.h"
#include "ui/modals.h"
#include "ui/qt_translations.h"
#include "ui/skin/skin.h"

namespace quobel {

const char* const kAppUsage =
    "usage: quobel [--program-dir DIR] [--data-dir DIR] [--simulate] [--trace] [--screenshot DIR]\n"
    "\n"
    "  --program-dir DIR   the program folder (cfg.ini, Text/, skins/)\n"
    "  --data-dir DIR      the data folder (profiles, macros)\n"
    "  --simulate          simulated devices instead of the connected ones\n"
    "  --trace             print every device exchange on standard output\n"
    "  --screenshot DIR    render the named window states into DIR/<name>.png and end\n"
    "                      (simulated devices, a temporary data folder unless --data-dir)\n";

bool ParseAppOptions(int argc, char** argv, AppOptions& o, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        const bool has_value = i + 1 < argc;
        if (a == "--help" || a == "-h") {
            error->clear();
            return false;
        }
        if (a == "--program-dir" && has_value) {
            o.program_dir = argv[++i];
        } else if (a == "--data-dir" && has_value) {
            o.data_dir = argv[++i];
        } else if (a == "--screenshot" && has_value) {
            o.screenshot_dir = QString::fromLocal8Bit(argv[++i]);
        } else if (a == "--simulate") {
            o.simulate = true;
        } else if (a == "--trace") {
            o.trace = true;
        } else {
            *error = "quobel: unknown option or missing value: " + std::string(a);
            return false;
        }
    }
    if (!o.screenshot_dir.isEmpty()) o.simulate = true;
    return true;
}

namespace {

// Configuration errors in plain boxes; without a display (screenshots) on stderr.
class BoxReporter final : public Reporter {
public:
    explicit BoxReporter(bool boxes) : boxes_(boxes) {}
    void Report(std::string_view caption, std::string_view text) override {
        const QString c = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
        const QString t = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        if (!boxes_) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(c), qPrintable(t));
        } else if (c == QLatin1String("Warning")) {
            QMessageBox::warning(nullptr, c, t);
        } else {
            QMessageBox::critical(nullptr, c, t);
        }
    }

private:
    bool boxes_;
};

// Rendering pictures opens nothing modal: every box is answered Cancel at once.
class NoModals final : public Modals {
public:
    int Exec(QDialog& dlg) override {
        std::fprintf(stderr, "not opened while rendering: %s\n", qPrintable(dlg.windowTitle()));
        return 2;
    }
    QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
};

}  // namespace

CQuobelApp::CQuobelApp(int& argc, char** argv, AppOptions options) : QApplication(argc, argv), m_opt(std::move(options)) {
    setQuitOnLastWindowClosed(false);
}

CQuobelApp::~CQuobelApp() = default;

int CQuobelApp::Run() {
    const int code = RunWindow();
    Shutdown();
    return code;
}

int CQuobelApp::RunWindow() {
    const bool rendering = !m_opt.screenshot_dir.isEmpty();
    std::optional<QTemporaryDir> scratch;
    StartupPaths paths = PlatformStartupPaths();
    paths.program_dir = m_opt.program_dir;
    paths.data_dir = m_opt.data_dir;
    if (rendering && paths.data_dir.empty()) {
        // Pictures never touch the user's profiles.
        scratch.emplace();
        paths.data_dir = scratch->path().toStdString() + "/";
    }

    BoxReporter reporter(!rendering);
    Config config;
    TextTable texts;
    StartupMark("app");
    switch (StartCore(paths, config, texts, reporter, ProcessLog())) {
        case StartupResult::NoProgramFolder: return 1;
        case StartupResult::DataInitFailed: reporter.Report("Error", "     Data Init failed.     "); return 1;
        case StartupResult::NoDataFolder: reporter.Report("Error", kNoDataFolderText); return 1;
        case StartupResult::Ready: break;
    }

    StartupMark("core");
    SingleInstance instance(QString::fromStdString(texts.Get("tc_mutex")));
    if (!rendering && !instance.Acquire()) {
        LogPrint("Mutex already exists, hWnd= 0x%X", 1u);
        return 0;
    }

    // The one writer of the data folder while the window runs.
    const DataFolderLock lock = DataFolderLock::TryAcquire(config.szDataPath, "quobel");
    if (!lock.held()) {
        LogPrint("data folder lock: %s", lock.message().c_str());
        reporter.Report("Error", lock.message());
        return 1;
    }

    StartupMark("instance-lock");
    const GVar& g = config.gVar;
    // Qt's own texts (file dialogs, standard buttons) in the selected language.
    QtTranslations qt_texts;
    if (g.nLangNum > 0 && g.nLangIndex >= 0 && g.nLangIndex < g.nLangNum) {
        const QString lang = QString::fromStdString(g.LangTable[static_cast<std::size_t>(g.nLangIndex)].szFolder);
        if (!qt_texts.Select(lang)) LogPrint("No Qt translation for %s", qPrintable(lang));
    }
    setDesktopFileName(QStringLiteral("quobel"));

    // The application font: the private font file when a face is configured.
    const int size = g.nFontSize > 0 ? g.nFontSize : 12;
    QFont font = DialogFont(size, 400);
    if (!g.szFontName.empty()) {
        m_nFontId = QFontDatabase::addApplicationFont(QString::fromStdString(config.szAppPath + "appfont.ttf"));
        if (m_nFontId >= 0) {
            font = DialogFont(size, 90);
            font.setFamilies({QString::fromStdString(g.szFontName), QStringLiteral("DejaVu Sans")});
        }
    }
    setFont(font);

    // The devices: connected or simulated, each kind's exchanges traced when asked.
    std::unique_ptr<HidBackend> hid;
    if (m_opt.simulate) hid = MakeSimulatedDevices(config);
    else hid = std::make_unique<HidapiBackend>();
    RealSleeper real;
    TraceOut trace(m_opt.trace ? &std::cout : nullptr);
    std::array<std::unique_ptr<TracingBackend>, 3> traced;
    std::array<std::unique_ptr<TracingSleeper>, 3> traced_pauses;
    NoModals no_modals;
    Modals modals;
    ProcProcessList processes;

    // Simulated devices leave the desktop's pointer settings alone.
    const std::unique_ptr<SystemPointer> pointer = m_opt.simulate ? nullptr : MakeSystemPointer();

    WindowEnv env;
    env.pointer = pointer.get();
    env.config = &config;
    env.texts = &texts;
    env.reporter = &reporter;
    env.modals = rendering ? static_cast<Modals*>(&no_modals) : &modals;
    env.processes = &processes;
    env.ids = &SystemIdGenerator();
    env.font = font;
    env.qtTexts = &qt_texts;
    for (DeviceKind kind : kDeviceKinds) {
        const std::size_t i = CQuobelDlg::Index(kind);
        env.hid[i] = hid.get();
        env.sleeper[i] = &real;
        if (m_opt.trace) {
            traced[i] = std::make_unique<TracingBackend>(*hid, std::string(KindName(kind)), trace);
            traced_pauses[i] = std::make_unique<TracingSleeper>(real, std::string(KindName(kind)), trace);
            env.hid[i] = traced[i].get();
            env.sleeper[i] = traced_pauses[i].get();
        }
    }

    if (rendering) {
        // Each state gets a window of its own over fresh simulated devices.
        int failures = RenderScreenshots(m_opt.screenshot_dir, [&]() -> std::unique_ptr<CQuobelDlg> {
            hid = MakeSimulatedDevices(config);
            for (auto& h : env.hid) h = hid.get();
            auto wnd = std::make_unique<CQuobelDlg>(env);
            if (!wnd->OnInitDialog()) return nullptr;
            return wnd;
        });
        return failures == 0 ? 0 : 1;
    }

    // Arrival and removal: from udev, or from the simulated devices, which
    // `quobelctl sim ...` plugs, unplugs and makes report through the control socket.
    UdevHotplugMonitor udev;
    SimControlServer sim_control;
    if (m_opt.simulate) {
        auto& sim = static_cast<SimBackend&>(*hid);
        env.hotplug = &sim;
        std::string why;
        if (sim_control.Start(sim, SimControlSocketPath(), &why)) {
            LogPrint("simulated devices: control socket %s", SimControlSocketPath().c_str());
        } else {
            std::fprintf(stderr, "quobel: the simulated devices cannot be controlled: %s\n", why.c_str());
        }
    } else {
        env.hotplug = &udev;
    }

    StartupMark("env");
    m_bMainWindowRan = true;
    CQuobelDlg wnd(env);
    connect(&wnd, &CQuobelDlg::closed, this, &QApplication::quit, Qt::QueuedConnection);
    connect(&instance, &SingleInstance::activated, &wnd, &CQuobelDlg::OnConfig);
    if (!wnd.OnInitDialog()) return 0;
    return exec();
}

void CQuobelApp::Shutdown() {
    if (m_bMainWindowRan && m_nFontId >= 0) QFontDatabase::removeApplicationFont(m_nFontId);
    LogPrint("Driver exit");
}

}  // namespace quobel
