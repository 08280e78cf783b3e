#include "ui/page_fixture.h"

#include "config/data_init.h"
#include "device/device_pair.h"
#include "macro/macro_folder.h"
#include "macro/new_id.h"
#include "profile/profile_store.h"
#include "ui/skin/msg_dlg.h"

namespace quobel::test {

namespace {

// The simulated devices answer at once; the pauses between reports are skipped. Shared by
// the apply threads, so it keeps nothing.
class NoSleeper final : public Sleeper {
public:
    void Sleep(std::chrono::milliseconds) override {}
};

NoSleeper& Pauses() {
    static NoSleeper s;
    return s;
}

}  // namespace

int ScriptedModals::Exec(QDialog& dlg) {
    opened.push_back(dlg.windowTitle().isEmpty() ? QString(dlg.metaObject()->className()) : dlg.windowTitle());
    if (auto* box = qobject_cast<CMsgDlg*>(&dlg)) messages.push_back(box->Message());
    if (dialogs_.empty()) {
        ++unanswered;
        return 2;
    }
    DialogAnswer answer = std::move(dialogs_.front());
    dialogs_.pop_front();
    return answer(dlg);
}

QString ScriptedModals::NextFile(FileAsk ask) {
    fileAsks.push_back(std::move(ask));
    if (files_.empty()) {
        ++unanswered;
        return {};
    }
    QString f = files_.front();
    files_.pop_front();
    return f;
}

TestPageHost::TestPageHost(const std::string& program_dir) {
    App();
    StartupPaths paths;
    paths.executable = std::string(QUOBEL_PROGRAM_DIR) + "/quobel";
    paths.program_dir = program_dir.empty() ? std::string(QUOBEL_PROGRAM_DIR) + "/" : program_dir;
    paths.data_dir = data.path() + "/";
    (void)StartCore(paths, config, texts, reporter, ProcessLog());

    ctx.gvar = &config.gVar;
    ctx.texts = &texts;
    ctx.reporter = &reporter;
    ctx.szAppPath = config.szAppPath;
    ctx.font = DialogFont(config.gVar.nFontSize > 0 ? config.gVar.nFontSize : 12, 400);

    StartupProfiles(profiles, config, texts.Get("tc_proname"), SystemIdGenerator());
    LoadMacroFolder(MacroFolderOf(config.szDataPath), macros, config.gVar.nMacroDir,
                    static_cast<std::uint32_t>(config.gVar.bMacroHasMsKey));

    sim = MakeSimulatedDevices(config);
    threads = std::make_unique<ApplyThreads>(published, reporter);
    const DeviceEnv env{sim.get(), &config, &reporter, &Pauses()};
    for (DeviceKind kind : kDeviceKinds) {
        if (!IsConfigured(config.gVar, kind)) continue;
        DevicePair p = MakeDevicePair(kind, env, &macros);
        (void)p.drv->Init([](std::uint32_t) {});
        (void)p.drv->FindDev();
        drv[Index(kind)] = std::move(p.drv);
        dev[Index(kind)] = std::move(p.dev);
        // The thread's target lives as long as the threads: they are stopped first.
        targets_[Index(kind)] = std::make_unique<DeviceApplyTarget>(*dev[Index(kind)]);
        threads->StartApplyThread(kind, *targets_[Index(kind)]);
    }
    window.resize(800, 600);
}

TestPageHost::~TestPageHost() {
    threads->StopApplyThreads();
    for (auto& d : drv) {
        if (d) d->Uninit();
    }
}

void TestPageHost::RequestApply(DeviceKind kind, std::uint32_t flags) {
    ++applyRequests;
    if (ProfileData* p = profiles.Current()) published.Set(*p, macros);
    threads->RequestApply(kind, flags);
}

void TestPageHost::RequestApplyJoining(DeviceKind kind, std::uint32_t flags) {
    ++applyRequests;
    if (ProfileData* p = profiles.Current()) published.Set(*p, macros);
    threads->RequestApplyJoining(kind, flags);
}

}  // namespace quobel::test
