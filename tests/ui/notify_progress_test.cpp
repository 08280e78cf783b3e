#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <semaphore>
#include <thread>

#include "device/apply_thread.h"
#include "ui/main/progress_dlg.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/notify_dlg.h"
#include "ui/ui_fixture.h"

namespace quobel {
namespace {

class NotifyTest : public ::testing::Test {
protected:
    void SetUp() override { dlg.Init(); }
    // Fade ticks until the popup hides; the count of ticks taken.
    int TicksUntilHidden(int limit = 100) {
        for (int n = 1; n <= limit; ++n) {
            dlg.OnTimer(CNotifyDlg::kFadeTimerId);
            if (!dlg.isVisible()) return n;
        }
        return -1;
    }
    test::UiEnv env;
    CNotifyDlg dlg{env.ctx, nullptr};
};

TEST_F(NotifyTest, ShowsForTheDisplayTimeThenFadesOutInTensFromTheStartAlpha) {
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.size(), QSize(180, 180));
    dlg.Notify("DPI", "1600", "", "Mode 1");
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.Alpha(), 200);
    EXPECT_TRUE(dlg.DisplayTimerActive());
    EXPECT_FALSE(dlg.FadeTimerActive());

    dlg.OnTimer(CNotifyDlg::kDisplayTimerId);
    EXPECT_FALSE(dlg.DisplayTimerActive());
    EXPECT_TRUE(dlg.FadeTimerActive());
    // 200, 190, ... 30 keep it shown; the tick at 20 hides it and ends the fade.
    EXPECT_EQ(TicksUntilHidden(), 19);
    EXPECT_FALSE(dlg.FadeTimerActive());
}

TEST_F(NotifyTest, ANewNotifyWhileFadingRestartsAtFullStartAlpha) {
    dlg.Notify("DPI", "800", "", "");
    dlg.OnTimer(CNotifyDlg::kDisplayTimerId);
    for (int i = 0; i < 5; ++i) dlg.OnTimer(CNotifyDlg::kFadeTimerId);
    EXPECT_EQ(dlg.Alpha(), 150);
    dlg.Notify("DPI", "1600", "3200", "Mode 2");
    EXPECT_EQ(dlg.Alpha(), 200);
    EXPECT_TRUE(dlg.DisplayTimerActive());
    EXPECT_FALSE(dlg.FadeTimerActive());
    EXPECT_EQ(dlg.Texts()[1], "1600");
    EXPECT_EQ(dlg.Texts()[2], "3200");
}

TEST_F(NotifyTest, AStartAlphaThatSkipsTheHidingBandStillEndsTheFade) {
    dlg.SetStartAlpha(5);
    dlg.Notify("DPI", "800", "", "");
    dlg.OnTimer(CNotifyDlg::kDisplayTimerId);
    EXPECT_EQ(TicksUntilHidden(), 1);
    EXPECT_FALSE(dlg.FadeTimerActive());
}

TEST_F(NotifyTest, TheRealTimersRunTheSameCourse) {
    dlg.SetDisplayTime(10);
    dlg.Notify("DPI", "800", "", "");
    EXPECT_TRUE(QTest::qWaitFor([this] { return !dlg.isVisible(); }, 5000));
}

class ProgressTest : public ::testing::Test {
protected:
    void SetUp() override {
        dlg.SetPictures(env.ctx.CommonPath("progress_nr.png"), env.ctx.CommonPath("progress_ov.png"));
        dlg.SetBarRect(QRect(QPoint(45, 101), QPoint(486, 123)));
        dlg.SetCaption("Updating", QRect(15, 12, 440, 20));
        dlg.SetRange(0, 100);
    }
    test::UiEnv env;
    CProgressDlg dlg{env.ctx, nullptr};
};

TEST_F(ProgressTest, OutOfRangePositionsGiveTheMinimum) {
    ASSERT_TRUE(dlg.Init());
    EXPECT_EQ(dlg.windowTitle(), "MyProgressDlg..");
    dlg.OnSetPos(60);
    EXPECT_EQ(dlg.Pos(), 60);
    EXPECT_EQ(dlg.BarEnd(), 60 * 441 / 100 + 45);
    dlg.OnSetPos(150);
    EXPECT_EQ(dlg.Pos(), 0);
    EXPECT_EQ(dlg.BarEnd(), 45);
    dlg.OnSetPos(-1);
    EXPECT_EQ(dlg.Pos(), 0);
    dlg.OnSetPos(100);
    EXPECT_EQ(dlg.BarEnd(), 486);
}

TEST_F(ProgressTest, KeysDoNotCloseItAndTheApplyThreadDrivesItByQueuedCalls) {
    ASSERT_TRUE(dlg.Init());
    dlg.show();
    for (Qt::Key k : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Space}) QTest::keyClick(&dlg, k);
    EXPECT_TRUE(dlg.isVisible());

    ProgressSink& sink = dlg;
    std::thread apply([&sink] {
        sink.SetPos(40);
        sink.SetPos(100);
        sink.Close();
    });
    apply.join();
    EXPECT_EQ(dlg.Pos(), 0);  // nothing happens on the calling thread
    EXPECT_TRUE(QTest::qWaitFor([this] { return !dlg.isVisible(); }, 5000));
    EXPECT_EQ(dlg.Pos(), 100);
    EXPECT_EQ(dlg.result(), 1);
}

TEST_F(ProgressTest, MissingPicturesCloseTheWindowAtOnce) {
    dlg.SetPictures(env.ctx.CommonPath("progress_nr.png"), env.ctx.CommonPath("missing.png"));
    EXPECT_FALSE(dlg.Init());
    EXPECT_EQ(env.reporter.messages, (std::vector<ReportedMessage>{{"", "ProgressDlg skin loss"}}));
    EXPECT_EQ(dlg.exec(), 2);
}

// An apply that waits at a gate, then reports to the window it was given.
class HeldApply final : public ApplyTarget {
public:
    [[nodiscard]] unsigned long long Handle() const override { return 1; }
    int ApplySetting(ProfileData&, ProgressSink* sink, std::uint32_t) override {
        running.release();
        gate.acquire();
        if (sink != nullptr) sink->SetPos(100);
        return 1;
    }
    std::binary_semaphore running{0};
    std::binary_semaphore gate{0};
};

TEST(ProgressLifetime, ClosingWithTheExitButtonThenDestroyingTheWindowDuringAnApplyIsSafe) {
    test::UiEnv env;
    LockedProfile profile;
    CollectingReporter reporter;
    HeldApply target;
    ApplyThreads threads(profile, reporter);
    ASSERT_TRUE(threads.StartApplyThread(DeviceKind::Mouse, target));

    auto dlg = std::make_unique<CProgressDlg>(env.ctx, nullptr);
    dlg->SetPictures(env.ctx.CommonPath("progress_nr.png"), env.ctx.CommonPath("progress_ov.png"));
    dlg->SetRange(0, 100);
    ASSERT_TRUE(dlg->Init());
    dlg->show();
    const std::shared_ptr<ProgressLink> link = dlg->Link();
    ASSERT_TRUE(threads.RequestApplyWithProgress(DeviceKind::Mouse, link));
    target.running.acquire();

    auto* exit = dlg->findChild<CPngBtn*>();
    ASSERT_NE(exit, nullptr);
    QTest::mouseClick(exit, Qt::LeftButton);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), 2);
    EXPECT_TRUE(link->Withdrawn());
    dlg.reset();

    target.gate.release();  // the apply now reports to a window that is gone
    threads.StopApplyThreads();
    EXPECT_TRUE(reporter.messages.empty());
}

}  // namespace
}  // namespace quobel
