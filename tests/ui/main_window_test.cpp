// The main window through its own buttons, over the simulated devices.

#include <gtest/gtest.h>

#include <QTest>

#include <filesystem>

#include "profile/profile_store.h"
#include "sim/sim_device.h"
#include "ui/main/progress_dlg.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/tree_ctrl.h"
#include "ui/window_fixture.h"

namespace quobel::test {
namespace {

namespace fs = std::filesystem;

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

TEST(MainWindow, ApplyWritesTheProfileAndSavesTheFiles) {
    WindowFixture f;
    ASSERT_TRUE(f.Start());
    f.modals.AnswerNext(f.RunProgress());
    WindowFixture::Click(f.wnd->Btn(CQuobelDlg::kApply));
    EXPECT_EQ(f.progressPos, 100);
    EXPECT_EQ(f.progressResult, 1);
    EXPECT_TRUE(fs::exists(f.data / kProDctName));
    EXPECT_TRUE(fs::exists(f.data / kCurIdName));
    EXPECT_FALSE(f.sim->Mouse()->Block(4).empty());
}

}  // namespace
}  // namespace quobel::test
