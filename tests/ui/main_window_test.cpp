// The main window through its own buttons, over the simulated devices.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QMenu>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "base/utf16.h"
#include "profile/profile_store.h"
#include "sim/sim_device.h"
#include "ui/main/progress_dlg.h"
#include "ui/main/single_instance.h"
#include "ui/pages/key_ms_dlg.h"
#include "ui/pages/led_kb_dlg.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/tree_ctrl.h"
#include "ui/window_fixture.h"

namespace quobel::test {
namespace {

namespace fs = std::filesystem;

int OkAnswer(QDialog&) { return 1; }

TEST(MainWindow, StartsWithEveryConfiguredDeviceAndTheMouseShown) {
    WindowFixture f;
    ASSERT_TRUE(f.Start());
    EXPECT_TRUE(f.wnd->isVisible());
    EXPECT_EQ(f.wnd->DeviceList()->TopLevel().size(), 3u);
    EXPECT_EQ(f.wnd->SelectedKind(), DeviceKind::Mouse);
    EXPECT_EQ(f.wnd->ExpandedSection(), 0);
    ASSERT_NE(f.wnd->CurrentProfile(), nullptr);
    EXPECT_EQ(f.modals.unanswered, 0);
}

TEST(MainWindow, WithoutADeviceTheMessageShowsAndTheWindowCloses) {
    WindowFixture f;
    f.noDevices = true;
    EXPECT_FALSE(f.Start());
    ASSERT_EQ(f.modals.messages.size(), 1u);
    EXPECT_EQ(f.modals.messages[0], f.wnd->Skin().Text("tc_msg13"));
    EXPECT_FALSE(f.wnd->isVisible());
}

TEST(MainWindow, ClickingADeviceShowsItsPages) {
    WindowFixture f;
    ASSERT_TRUE(f.Start());
    CTreeCtrlEx* list = f.wnd->DeviceList();
    const TreeItem* kb = list->FindTopLevel(static_cast<std::uint32_t>(DeviceKind::Keyboard));
    ASSERT_NE(kb, nullptr);
    QTest::mouseClick(list, Qt::LeftButton, {}, list->ItemRect(kb).center());
    EXPECT_EQ(f.wnd->SelectedKind(), DeviceKind::Keyboard);
    EXPECT_TRUE(f.wnd->KeyboardLight()->isVisible());
    EXPECT_FALSE(f.wnd->Header(0)->isVisible());
    EXPECT_FALSE(f.wnd->MouseButtons()->isVisible());
    EXPECT_EQ(f.wnd->Btn(CQuobelDlg::kMacro)->pos(), f.wnd->Layout().macroKb.topLeft());
}

TEST(MainWindow, ApplyWritesTheProfileAndSavesTheFiles) {
    WindowFixture f;
    ASSERT_TRUE(f.Start());
    ProfileData* p = f.wnd->CurrentProfile();
    ASSERT_NE(p, nullptr);
    const std::vector<std::uint8_t> before = f.sim->Mouse()->Block(4);
    // A DPI level the device did not have: its general block must change.
    p->Ms.Dpi[0].nDpiX = p->Ms.Dpi[0].nDpiY = p->Ms.Dpi[1].nDpiX;
    f.wnd->SelectProfile(p->dwProfileID);  // the pages show it, and store it back before the apply
    f.modals.AnswerNext(f.RunProgress());
    WindowFixture::Click(f.wnd->Btn(CQuobelDlg::kApply));
    EXPECT_EQ(f.progressPos, 100);
    EXPECT_EQ(f.progressResult, 1);  // closed by the apply thread
    EXPECT_EQ(f.wnd->Progress(), nullptr);
    EXPECT_NE(f.sim->Mouse()->Block(4), before);
    CProList stored;
    ASSERT_GT(LoadProfiles(stored, f.config.szDataPath), 0);
    ASSERT_NE(stored.Find(p->dwProfileID), nullptr);
    EXPECT_EQ(stored.Find(p->dwProfileID)->Ms.Dpi[0].nDpiX, p->Ms.Dpi[1].nDpiX);
    EXPECT_EQ(ReadCurrentId(f.config.szDataPath), p->dwProfileID);
    EXPECT_TRUE(f.reporter.messages.empty());
}

TEST(MainWindow, ApplyWithTheDeviceGoneSendsNothing) {
    WindowFixture f;
    f.config.gVar.bGoWithNoDev = 0;
    ASSERT_TRUE(f.Start());
    const std::vector<std::uint8_t> before = f.sim->Mouse()->Block(4);
    f.wnd->Transport(DeviceKind::Mouse)->ClearHandle();
    WindowFixture::Click(f.wnd->Btn(CQuobelDlg::kApply));
    ASSERT_EQ(f.modals.opened.size(), 1u);  // the message, no progress window
    ASSERT_EQ(f.modals.messages.size(), 1u);
    EXPECT_EQ(f.modals.messages[0], f.wnd->Skin().Text("tc_msg13"));
    EXPECT_EQ(f.sim->Mouse()->Block(4), before);
}

// Restore: the device's part of the profile goes back to its defaults; it is written
// and saved only when the device is open or ApplyNow is set.
TEST(MainWindow, RestoreResetsAndWritesOnlyWhenItCan) {
    struct Case {
        bool open;
        bool applyNow;
        bool written;
    };
    for (const Case c : {Case{true, false, true}, Case{true, true, true}, Case{false, true, true},
                         Case{false, false, false}}) {
        SCOPED_TRACE(testing::Message() << "open=" << c.open << " applyNow=" << c.applyNow);
        WindowFixture f;
        f.config.gVar.bApplyNow = c.applyNow ? 1 : 0;
        f.config.gVar.bGoWithNoDev = 0;
        ASSERT_TRUE(f.Start());
        fs::remove(f.data / kProDctName);
        ProfileData* p = f.wnd->CurrentProfile();
        const std::int32_t def = p->Ms.Dpi[0].nDpiX;
        p->Ms.Dpi[0].nDpiX = def + 100;
        if (!c.open) f.wnd->Transport(DeviceKind::Mouse)->ClearHandle();
        f.modals.AnswerNext(OkAnswer);             // the question
        if (c.written) f.modals.AnswerNext(f.RunProgress());
        WindowFixture::Click(f.wnd->Btn(CQuobelDlg::kRestore));
        EXPECT_EQ(p->Ms.Dpi[0].nDpiX, def);
        EXPECT_EQ(FieldToUtf8(p->szSound), f.config.szAppPath + kDrvSoundName);
        EXPECT_EQ(fs::exists(f.data / kProDctName), c.written);
        EXPECT_EQ(f.modals.opened.size(), c.written ? 2u : 1u);
        EXPECT_EQ(f.modals.unanswered, 0);
    }
}

TEST(MainWindow, RestoreCancelledChangesNothing) {
    WindowFixture f;
    ASSERT_TRUE(f.Start());
    ProfileData* p = f.wnd->CurrentProfile();
    p->Ms.Dpi[0].nDpiX += 100;
    const std::int32_t changed = p->Ms.Dpi[0].nDpiX;
    WindowFixture::Click(f.wnd->Btn(CQuobelDlg::kRestore));  // unanswered: Cancel
    EXPECT_EQ(p->Ms.Dpi[0].nDpiX, changed);
}

TEST(MainWindow, AClickedHeaderExpandsItsSectionAndStaysExpanded) {
    WindowFixture f;
    ASSERT_TRUE(f.Start());
    for (int click = 0; click < 2; ++click) {
        WindowFixture::Click(f.wnd->Header(2));
        EXPECT_EQ(f.wnd->ExpandedSection(), 2);
        EXPECT_TRUE(f.wnd->Header(2)->IsChecked());
        EXPECT_FALSE(f.wnd->Header(0)->IsChecked());
        EXPECT_TRUE(f.wnd->SectionPage(2)->isVisible());
        EXPECT_FALSE(f.wnd->SectionPage(0)->isVisible());
        EXPECT_EQ(f.wnd->SectionPage(2)->y(), f.wnd->Header(2)->y() + f.wnd->Header(2)->height());
    }
}

// A hidden header takes no room: the ones below it move up by 30.
TEST(MainWindow, HiddenHeadersLeaveNoGap) {
    WindowFixture shown;
    ASSERT_TRUE(shown.Start());
    WindowFixture norate;
    norate.config.gVar.MsDev.bShowUsbRate = 0;
    ASSERT_TRUE(norate.Start());
    EXPECT_TRUE(shown.wnd->Header(3)->isVisible());
    EXPECT_FALSE(norate.wnd->Header(3)->isVisible());
    WindowFixture nolight;
    nolight.config.gVar.MsDev.nShowLed[0] = 0;
    ASSERT_TRUE(nolight.Start());
    EXPECT_FALSE(nolight.wnd->Header(1)->isVisible());
    for (int i : {2, 3}) EXPECT_EQ(nolight.wnd->Header(i)->y(), shown.wnd->Header(i)->y() - 30);
    // Collapsed, the headers stand 30 apart.
    shown.wnd->ExpandSection(-1);
    EXPECT_EQ(shown.wnd->Header(3)->y() - shown.wnd->Header(2)->y(), 30);
}

TEST(MainWindow, WithoutASystemTrayTheWindowShowsAndExitEnds) {
    WindowFixture f;
    f.config.gVar.nTrayIcon = 1;  // would start hidden in the tray
    ASSERT_TRUE(f.Start());
    EXPECT_FALSE(f.wnd->HasTray());
    EXPECT_TRUE(f.wnd->isVisible());
    QSignalSpy closed(f.wnd.get(), &CQuobelDlg::closed);
    WindowFixture::Click(f.wnd->Btn(CQuobelDlg::kExit));
    EXPECT_TRUE(closed.wait(2000));
}

TEST(MainWindow, ASecondStartShowsTheFirst) {
    WindowFixture f;
    ASSERT_TRUE(f.Start());
    const QString text = QStringLiteral("quobel-test-%1").arg(QCoreApplication::applicationPid());
    SingleInstance first(text);
    ASSERT_TRUE(first.Acquire());
    QObject::connect(&first, &SingleInstance::activated, f.wnd.get(), &CQuobelDlg::OnConfig);
    f.wnd->hide();
    SingleInstance second(text);
    EXPECT_FALSE(second.Acquire());
    QTRY_VERIFY_WITH_TIMEOUT(f.wnd->isVisible(), 3000);
}

TEST(MainWindow, AStaleSocketDoesNotBlockAStart) {
    const QString text = QStringLiteral("quobel-stale-%1").arg(QCoreApplication::applicationPid());
    SingleInstance probe(text);
    // What a killed instance leaves: a socket file nobody listens on.
    const std::string path = (QDir::tempPath() + "/" + probe.ServerName()).toStdString();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    ::unlink(path.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd);
    ASSERT_TRUE(fs::exists(path));
    EXPECT_TRUE(probe.Acquire());
}

TEST(MainWindow, ARunningProgramSwitchesToItsProfile) {
    const TempDir bin;
    const std::string game = bin / "QuobelGame-test";
    fs::copy_file("/bin/sleep", game);
    fs::permissions(game, fs::perms::owner_all);
    ProcProcessList procs;
    WindowFixture f;
    f.processList = &procs;
    ASSERT_TRUE(f.Start());
    ProfileData* first = f.wnd->CurrentProfile();
    ProfileData linked = *first;
    linked.dwProfileID = first->dwProfileID + 1;
    ASSERT_TRUE(LinkProgram(linked, "quobelgame"));
    const std::uint32_t id = f.wnd->Profiles().AddProfile(linked)->dwProfileID;
    f.wnd->AutoSwitch();
    EXPECT_EQ(f.wnd->CurrentProfile()->dwProfileID, first->dwProfileID);  // not running yet

    QProcess proc;
    // A just-written executable can be busy for a moment (ETXTBSY) while any child of this
    // process still holds the written file open; one more try then.
    proc.start(QString::fromStdString(game), {"30"});
    if (!proc.waitForStarted()) {
        QTest::qWait(200);
        proc.start(QString::fromStdString(game), {"30"});
    }
    ASSERT_TRUE(proc.waitForStarted()) << proc.errorString().toStdString();
    // The window's own timer does the switch.
    QTRY_COMPARE_WITH_TIMEOUT(f.wnd->CurrentProfile()->dwProfileID, id, 5000);
    EXPECT_EQ(ReadCurrentId(f.config.szDataPath), id);
    // Never a program as the sound.
    EXPECT_EQ(SoundOnSelect(*f.wnd->CurrentProfile(), true).action, ProfileSound::kNone);

    // Without an open device nothing switches.
    f.wnd->SelectProfile(first->dwProfileID);
    for (DeviceKind k : kDeviceKinds) f.wnd->Transport(k)->ClearHandle();
    f.wnd->AutoSwitch();
    EXPECT_EQ(f.wnd->CurrentProfile()->dwProfileID, first->dwProfileID);
    proc.kill();
    proc.waitForFinished();
}

TEST(MainWindow, ClosingDuringAnApplyEndsCleanly) {
    WindowFixture f;
    f.realPauses = true;
    ASSERT_TRUE(f.Start());
    QSignalSpy closed(f.wnd.get(), &CQuobelDlg::closed);
    f.modals.AnswerNext([&](QDialog& dlg) {
        QTimer::singleShot(100, f.wnd.get(), [&] { f.wnd->Exit(); });
        const int r = dlg.exec();
        f.progressResult = r;
        return r;
    });
    WindowFixture::Click(f.wnd->Btn(CQuobelDlg::kApply));
    EXPECT_EQ(f.progressResult, 2);  // the window closed it, not the thread
    EXPECT_TRUE(closed.count() == 1 || closed.wait(2000));
    EXPECT_TRUE(f.wnd->Threads().Busy(DeviceKind::Mouse));
    f.wnd.reset();  // waits for the apply, which finishes
    EXPECT_FALSE(f.sim->Mouse()->Block(4).empty());
    EXPECT_TRUE(f.reporter.messages.empty());
}

// The window menu opens on the background's right click and on Alt+Space; its last
// item tells the title and the version.
TEST(MainWindow, TheWindowMenuEndsWithAbout) {
    WindowFixture f;
    ASSERT_TRUE(f.Start());
    QTest::keyClick(f.wnd.get(), Qt::Key_Space, Qt::AltModifier);
    QMenu* menu = f.wnd->SystemMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
    QTest::mouseClick(f.wnd.get(), Qt::RightButton, {}, QPoint(f.wnd->width() / 2, 8));
    ASSERT_TRUE(menu->isVisible());
    QAction* about = menu->actions().back();
    EXPECT_EQ(about->text(), "&About Quobel...");
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(about).center());
    ASSERT_EQ(f.modals.messages.size(), 1u);
    EXPECT_EQ(f.modals.messages[0], QString::fromStdString(f.config.gVar.pszTitle + "\n" + f.config.gVar.szVersion));
    EXPECT_FALSE(menu->isVisible());
}

}  // namespace
}  // namespace quobel::test
