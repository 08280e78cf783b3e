#include "ui/window_fixture.h"

#include <gtest/gtest.h>

#include <QTest>

#include "config/data_init.h"
#include "macro/new_id.h"
#include "ui/main/progress_dlg.h"
#include "ui/ui_fixture.h"

namespace quobel::test {

namespace {

class NoPauses final : public Sleeper {
public:
    void Sleep(std::chrono::milliseconds) override {}
};

NoPauses& Pauses() {
    static NoPauses s;
    return s;
}

}  // namespace

WindowFixture::AppFirst::AppFirst() { App(); }

WindowFixture::WindowFixture(const std::string& program_dir) {
    StartupPaths paths;
    paths.executable = std::string(QUOBEL_PROGRAM_DIR) + "/quobel";
    paths.program_dir = program_dir.empty() ? std::string(QUOBEL_PROGRAM_DIR) + "/" : program_dir;
    paths.data_dir = data.path() + "/";
    (void)StartCore(paths, config, texts, reporter, ProcessLog());
}

WindowFixture::~WindowFixture() { wnd.reset(); }

bool WindowFixture::Start() {
    sim = noDevices ? std::make_unique<SimBackend>() : MakeSimulatedDevices(config);
    if (beforeWindow) beforeWindow(*sim);
    WindowEnv env;
    env.config = &config;
    env.texts = &texts;
    env.reporter = &reporter;
    env.modals = &modals;
    env.processes = processList;
    env.ids = &SystemIdGenerator();
    env.font = DialogFont(config.gVar.nFontSize > 0 ? config.gVar.nFontSize : 12, 400);
    env.trayAvailable = false;
    env.qtTexts = qtTexts;
    env.hotplug = sim.get();
    for (std::size_t i = 0; i < 3; ++i) {
        env.hid[i] = sim.get();
        env.sleeper[i] = realPauses ? static_cast<Sleeper*>(&real_) : &Pauses();
    }
    wnd = std::make_unique<CQuobelDlg>(env);
    return wnd->OnInitDialog();
}

void WindowFixture::Click(QAbstractButton* b) {
    ASSERT_NE(b, nullptr);
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
}

ScriptedModals::DialogAnswer WindowFixture::RunProgress() {
    return [this](QDialog& dlg) {
        const int r = dlg.exec();
        if (auto* p = qobject_cast<CProgressDlg*>(&dlg)) progressPos = p->Pos();
        progressResult = r;
        return r;
    };
}

}  // namespace quobel::test
