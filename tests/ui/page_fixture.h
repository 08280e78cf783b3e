#pragma once
// A page host for the page tests: the shipped configuration (or another program
// folder's), a fresh data folder with the start-up profiles, the simulated devices with
// their transports, data objects and apply threads, and scripted answers for every
// modal thing. Pages are built on it exactly as the window builds them.

#include <QDialog>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/log.h"
#include "base/reporter.h"
#include "base/sleeper.h"
#include "common/temp_dir.h"
#include "config/config.h"
#include "config/text_table.h"
#include "device/apply_thread.h"
#include "device/hid_dev.h"
#include "device/hid_drv.h"
#include "macro/macro_list.h"
#include "profile/profile_list.h"
#include "sim/sim_backend.h"
#include "ui/modals.h"
#include "ui/pages/page.h"
#include "ui/skin/skin.h"
#include "ui/ui_fixture.h"

namespace quobel {
class CComboBtn;
}

namespace quobel::test {

// Opens a skinned list and clicks the entry with that item data, as a user does.
void ChooseItem(CComboBtn* combo, std::uint32_t value);

// Answers modal things from a queue. A dialog answer gets the dialog (initialised, not
// yet shown): it may show it, click its controls with QTest and returns the result code.
// Anything opened without a queued answer is recorded and answered 2 (Cancel).
class ScriptedModals final : public Modals {
public:
    using DialogAnswer = std::function<int(QDialog&)>;

    void AnswerNext(DialogAnswer answer) { dialogs_.push_back(std::move(answer)); }
    void AnswerNextFile(QString path) { files_.push_back(std::move(path)); }

    int Exec(QDialog& dlg) override;
    QString OpenFileName(QWidget*, const QString& caption, const QString& dir, const QString& filter) override {
        return NextFile({caption, dir, filter});
    }
    QString SaveFileName(QWidget*, const QString& caption, const QString& dir, const QString& filter) override {
        return NextFile({caption, dir, filter});
    }
    QString ExistingFolder(QWidget*, const QString& caption, const QString& dir) override {
        return NextFile({caption, dir, {}});
    }

    // What each file chooser was opened with, in order.
    struct FileAsk {
        QString caption, dir, filter;
    };
    std::vector<FileAsk> fileAsks;

    // Every dialog that was opened, by window title or class name, in order.
    std::vector<QString> opened;
    // The message texts of the skinned boxes that were opened, in order.
    std::vector<QString> messages;
    int unanswered = 0;

private:
    QString NextFile(FileAsk ask);
    std::deque<DialogAnswer> dialogs_;
    std::deque<QString> files_;
};

class TestPageHost final : public PageHost {
public:
    // program_dir: a program folder with cfg.ini (default: the build's).
    explicit TestPageHost(const std::string& program_dir = {});
    ~TestPageHost() override;

    [[nodiscard]] const SkinContext& Skin() const override { return ctx; }
    [[nodiscard]] Config& Cfg() override { return config; }
    [[nodiscard]] ProfileData* CurrentProfile() override { return profiles.Current(); }
    [[nodiscard]] MacroList& Macros() override { return macros; }
    [[nodiscard]] CHidDrv* Transport(DeviceKind kind) override { return drv[Index(kind)].get(); }
    [[nodiscard]] CHidDev* Device(DeviceKind kind) override { return dev[Index(kind)].get(); }
    void RequestApply(DeviceKind kind, std::uint32_t flags) override;
    void RequestApplyJoining(DeviceKind kind, std::uint32_t flags) override;
    void PausePreview(bool pause) override { paused = pause; }
    [[nodiscard]] Modals& Modal() override { return modals; }
    [[nodiscard]] Log& GetLog() override { return ProcessLog(); }
    [[nodiscard]] QWidget* Window() override { return &window; }

    static std::size_t Index(DeviceKind kind) { return static_cast<std::size_t>(kind) - 1; }

private:
    struct AppFirst {
        AppFirst() { App(); }
    } app_first_;  // the application exists before any widget member

public:
    TempDir data;
    Config config;
    TextTable texts;
    CollectingReporter reporter;
    SkinContext ctx;
    CProList profiles;
    MacroList macros;
    std::unique_ptr<SimBackend> sim;
    RecordingSleeper sleeper;
    std::array<std::unique_ptr<CHidDrv>, 3> drv;
    std::array<std::unique_ptr<CHidDev>, 3> dev;
    LockedProfile published;
    std::unique_ptr<ApplyThreads> threads;
    ScriptedModals modals;
    QWidget window;  // stands in for the main window: pages are its children
    bool paused = false;
    int applyRequests = 0;  // RequestApply(Joining) calls; what reached a device: read sim's blocks

private:
    std::array<std::unique_ptr<DeviceApplyTarget>, 3> targets_;
};

}  // namespace quobel::test
