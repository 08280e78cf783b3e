#pragma once
// The real main window for tests: the shipped configuration (or another program
// folder's), a fresh data folder, the simulated devices, scripted answers for every
// modal thing and a list of running programs the test controls. Change cfg before
// Start(); drive the window's own buttons with Click().
//
//   WindowFixture f;
//   f.config.gVar.bApplyNow = 1;
//   ASSERT_TRUE(f.Start());
//   f.modals.AnswerNext(RunProgress());
//   f.Click(f.wnd->Btn(CQuobelDlg::kApply));

#include <QAbstractButton>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/reporter.h"
#include "base/sleeper.h"
#include "common/temp_dir.h"
#include "config/config.h"
#include "config/text_table.h"
#include "platform/process.h"
#include "sim/sim_backend.h"
#include "ui/main/quobel_dlg.h"
#include "ui/page_fixture.h"

namespace quobel {
class QtTranslations;
}

namespace quobel::test {

// Programs "running" as the test says; empty until set.
class FakeProcessList final : public ProcessList {
public:
    [[nodiscard]] std::vector<std::string> ProgramNames() const override { return names; }
    std::vector<std::string> names;
};

struct WindowFixture {
    // program_dir: a program folder with cfg.ini (default: the build's).
    explicit WindowFixture(const std::string& program_dir = {});
    ~WindowFixture();

    // Builds the window over the simulated devices made from cfg and runs
    // OnInitDialog; false when the window closed at once.
    bool Start();
    // A left click in the middle of a button, as a user makes it.
    static void Click(QAbstractButton* b);
    // Runs the progress window modally until the apply thread closes it, and
    // remembers the highest position it showed.
    ScriptedModals::DialogAnswer RunProgress();

    TempDir data;
    Config config;
    TextTable texts;
    CollectingReporter reporter;
    std::unique_ptr<SimBackend> sim;
    ScriptedModals modals;
    FakeProcessList processes;
    const ProcessList* processList = &processes;  // set to a real one to read /proc
    bool realPauses = false;   // the device exchanges pause as on a device (an apply takes ~1 s)
    bool noDevices = false;    // no simulated device is plugged in
    // Runs on the simulated devices before the window starts (unplug one, say).
    std::function<void(SimBackend&)> beforeWindow;
    QtTranslations* qtTexts = nullptr;  // Qt's own texts the window selects; null: none
    std::unique_ptr<CQuobelDlg> wnd;
    int progressPos = -1;     // position of the last progress window when it closed
    int progressResult = -1;  // its result: 1 when the apply thread closed it

private:
    RealSleeper real_;
    struct AppFirst {
        AppFirst();
    } app_first_;
};

}  // namespace quobel::test
