// The window's profile combo, add, delete and more buttons, driven as a user does, checked
// against the window's list and against pro.dct, curid.dct and the macro folder on disk.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>

#include "base/utf16.h"
#include "config/key_info.h"
#include "macro/macro_file.h"
#include "macro/macro_folder.h"
#include "macro/new_id.h"
#include "profile/profile_backup.h"
#include "profile/profile_store.h"
#include "ui/main/profile_controls.h"
#include "ui/modals.h"
#include "ui/pages/key_ms_dlg.h"
#include "ui/skin/combo_btn.h"
#include "ui/skin/msg_dlg.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/skin_menu.h"
#include "ui/ui_fixture.h"
#include "ui/window_fixture.h"

namespace quobel::test {
namespace {

namespace fs = std::filesystem;

std::string Name(const ProfileData& p) { return FieldToUtf8(p.szName); }

class ProfileControlsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(f.Start()); }

    // The window's buttons.
    void Click(CQuobelDlg::Button b) { WindowFixture::Click(f.wnd->Btn(b)); }
    void ClickCombo() { WindowFixture::Click(f.wnd->ProfileCombo()); }
    // Chooses a row of the open menu with the mouse.
    static void ChooseRow(int row) {
        CSkinMenu* menu = CSkinMenu::OpenMenu();
        ASSERT_NE(menu, nullptr);
        ASSERT_LT(row, static_cast<int>(menu->Rows().size()));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->RowRect(row).center());
    }
    void More(int cmd) {
        Click(CQuobelDlg::kMore);
        ChooseRow(cmd == CProfileControls::kCmdExport ? 0 : cmd == CProfileControls::kCmdImport ? 1 : 2);
    }

    void AnswerText(const QString& text) {
        f.modals.AnswerNext([text](QDialog& d) {
            auto& box = dynamic_cast<CMsgDlg&>(d);
            box.show();
            // Typed when it is ASCII; anything else arrives as an input method would give it.
            if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 128; })) {
                QTest::keyClicks(box.Edit(), text);
            } else {
                box.Edit()->insert(text);
            }
            QTest::mouseClick(box.OkButton(), Qt::LeftButton);
            return d.result();
        });
    }
    void Answer(int result) {
        f.modals.AnswerNext([result](QDialog&) { return result; });
    }

    CProList& Profiles() { return f.wnd->Profiles(); }
    ProfileData& Current() { return *f.wnd->CurrentProfile(); }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const ProfileData& p : Profiles()) names.push_back(Name(p));
        return names;
    }
    // The profiles as pro.dct holds them.
    std::vector<std::string> NamesOnDisk() {
        CProList disk;
        (void)LoadProfiles(disk, f.config.szDataPath);
        std::vector<std::string> names;
        for (const ProfileData& p : disk) names.push_back(Name(p));
        return names;
    }
    std::uint32_t IdOnDisk() { return ReadCurrentId(f.config.szDataPath); }
    std::string MacroFolder() { return MacroFolderOf(f.config.szDataPath); }
    QString LastMessage() { return f.modals.messages.empty() ? QString() : f.modals.messages.back(); }

    WindowFixture f;
};

TEST_F(ProfileControlsTest, TheComboMenuListsTheProfilesAndSwitches) {
    const std::vector<std::string> names = Names();
    ASSERT_GE(names.size(), 2u);
    EXPECT_EQ(f.wnd->ProfileCombo()->Caption().toStdString(), Name(Current()));

    ClickCombo();
    CSkinMenu* menu = CSkinMenu::OpenMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->Rows().size(), names.size());
    EXPECT_EQ(menu->width(), CProfileControls::kProfileMenuWidth);
    EXPECT_EQ(menu->pos(), f.wnd->ProfileCombo()->mapToGlobal(QPoint(0, f.wnd->ProfileCombo()->height())));
    // Choosing selects; the files keep what the devices were given until an apply.
    const std::uint32_t stored = IdOnDisk();
    ASSERT_EQ(stored, Current().dwProfileID);
    ChooseRow(1);
    const ProfileData& second = *std::next(Profiles().begin());
    EXPECT_EQ(&Current(), &second);
    EXPECT_EQ(f.wnd->ProfileCombo()->Caption().toStdString(), names[1]);
    EXPECT_EQ(IdOnDisk(), stored);

    // The profile already shown: nothing happens (the pages are not refreshed over
    // what they show).
    Current().Ms.nMode = 1;
    ClickCombo();
    ChooseRow(1);
    EXPECT_EQ(&Current(), &second);
    EXPECT_TRUE(f.wnd->MouseButtons()->Radio(0)->IsChecked());
    EXPECT_EQ(f.modals.unanswered, 0);
}

TEST_F(ProfileControlsTest, AddAsksTheNameAndKeepsTheNewProfileCurrent) {
    const std::size_t before = Profiles().Count();
    AnswerText("Racing games at night");  // 21 characters: the record keeps 19
    Click(CQuobelDlg::kAdd);
    ASSERT_EQ(Profiles().Count(), before + 1);
    EXPECT_EQ(&Current(), &*std::prev(Profiles().end()));
    EXPECT_EQ(Name(Current()), "Racing games at nig");
    EXPECT_EQ(f.wnd->ProfileCombo()->Caption(), "Racing games at nig");
    EXPECT_EQ(LastMessage(), f.wnd->Skin().Text("tc_msg3"));
    EXPECT_EQ(NamesOnDisk(), Names());
    EXPECT_EQ(IdOnDisk(), Current().dwProfileID);

    // Cancelled, or left blank: nothing is made.
    Answer(2);
    Click(CQuobelDlg::kAdd);
    AnswerText("   ");
    Click(CQuobelDlg::kAdd);
    EXPECT_EQ(Profiles().Count(), before + 1);
    EXPECT_EQ(f.modals.unanswered, 0);
}

TEST_F(ProfileControlsTest, AddRefusesAProfileThatTheStoreCouldNotKeep) {
    while (!Profiles().Full()) {
        AnswerText("More");
        Click(CQuobelDlg::kAdd);
    }
    ASSERT_EQ(NamesOnDisk().size(), kMaxProfiles);
    const std::size_t boxes = f.modals.opened.size();
    Click(CQuobelDlg::kAdd);  // no name is asked
    EXPECT_EQ(f.modals.opened.size(), boxes + 1);
    EXPECT_EQ(LastMessage(), kTooManyProfilesText);
    EXPECT_EQ(Profiles().Count(), kMaxProfiles);
}

TEST_F(ProfileControlsTest, DeleteAsksAndNeverRemovesTheLastProfile) {
    AnswerText("Second");
    Click(CQuobelDlg::kAdd);
    const std::size_t n = Profiles().Count();
    ASSERT_GE(n, 2u);

    Answer(2);  // the box's exit button
    Click(CQuobelDlg::kDel);
    EXPECT_EQ(LastMessage(), f.wnd->Skin().Text("tc_msg6"));
    EXPECT_EQ(Profiles().Count(), n);
    EXPECT_EQ(Name(Current()), "Second");

    Answer(1);
    Click(CQuobelDlg::kDel);
    ASSERT_EQ(Profiles().Count(), n - 1);
    EXPECT_EQ(&Current(), &*Profiles().begin());
    EXPECT_EQ(NamesOnDisk(), Names());
    EXPECT_EQ(IdOnDisk(), Current().dwProfileID);

    while (Profiles().Count() > 1) {
        Answer(1);
        Click(CQuobelDlg::kDel);
    }
    const std::vector<std::string> last = NamesOnDisk();
    ASSERT_EQ(last.size(), 1u);
    Click(CQuobelDlg::kDel);  // only the message: nothing to answer
    EXPECT_EQ(LastMessage(), f.wnd->Skin().Text("tc_msg8"));
    EXPECT_EQ(Profiles().Count(), 1u);
    EXPECT_EQ(NamesOnDisk(), last);
    EXPECT_EQ(f.modals.unanswered, 1);  // the tc_msg8 box, answered by default
}

TEST_F(ProfileControlsTest, RenameFollowsTheNameRules) {
    const std::uint32_t id = Current().dwProfileID;
    struct Case {
        QString typed;
        std::string kept;
    };
    const Case cases[] = {
        {"Work", "Work"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "ABCDEFGHIJKLMNOPQRS"},
        {"   ", "ABCDEFGHIJKLMNOPQRS"},  // blank: the old name stays
        // A character of two UTF-16 units that does not fit is left out whole.
        {QString("Übung 123456789abc") + QString::fromUtf8("\xF0\x9F\x98\x80") + "x", "Übung 123456789abc"},
    };
    for (const Case& c : cases) {
        AnswerText(c.typed);
        More(CProfileControls::kCmdRename);
        EXPECT_EQ(Name(Current()), c.kept) << c.typed.toStdString();
        EXPECT_EQ(f.wnd->ProfileCombo()->Caption().toStdString(), c.kept);
        EXPECT_EQ(NamesOnDisk(), Names());
    }
    Answer(2);
    More(CProfileControls::kCmdRename);
    EXPECT_EQ(Name(Current()), "Übung 123456789abc");
    EXPECT_EQ(Current().dwProfileID, id);
    EXPECT_EQ(f.modals.unanswered, 0);
}

// Export and import of a .bk through the more menu, with macros in the folder as the
// user has them.
class BackupThroughTheWindow : public ProfileControlsTest {
protected:
    // A macro saved in the macro folder root and known to the window.
    std::uint32_t AddMacro(const char* name, std::uint16_t key) {
        MacroRecord r = NewMacroRecord(name, SystemIdGenerator());
        r.events[0] = {key, 1, 50};
        r.events[1] = {key, 0, 0};
        EXPECT_TRUE(save_macro(r, MacroFolder()));
        return f.wnd->Macros().Add(r)->MacroID;
    }
    static void UseMacro(KeyInfo& key, std::uint32_t macro) {
        key.FunID = kFunMacro << 24;
        key.MacroID = macro;
    }
    std::set<std::string> RootFiles() {
        std::set<std::string> files;
        for (const auto& e : fs::directory_iterator(MacroFolder())) {
            if (e.is_regular_file()) files.insert(e.path().filename().string());
        }
        return files;
    }
    std::string Export(const std::string& file) {
        const std::string path = out / file;
        f.modals.AnswerNextFile(QString::fromStdString(path));
        More(CProfileControls::kCmdExport);
        return path;
    }
    void Import(const std::string& path) {
        f.modals.AnswerNextFile(QString::fromStdString(path));
        More(CProfileControls::kCmdImport);
    }

    TempDir out;
};

TEST_F(BackupThroughTheWindow, MacrosTravelWithTheProfile) {
    const std::uint32_t sprint = AddMacro("Sprint", 'W');
    const std::uint32_t reload = AddMacro("Reload", 'R');
    const std::uint32_t missing = 0x00ABCDEF;  // no such macro
    ASSERT_EQ(f.wnd->Macros().Find(missing), nullptr);
    UseMacro(Current().Ms.Keys[0][2], sprint);
    UseMacro(Current().Ms.Keys[1][4], missing);
    UseMacro(Current().Kb.Keys[30], reload);

    const std::string bk = Export("Game.bk");
    EXPECT_EQ(f.modals.fileAsks.back().filter, CProfileControls::kBackupFilter);
    const std::vector<std::uint8_t> bytes = ReadBytes(bk);
    ASSERT_EQ(bytes.size(), kBackupSize);
    // Slots in key order; the missing macro takes none.
    for (const auto& [slot, id] : {std::pair{0, sprint}, std::pair{1, reload}, std::pair{2, 0u}}) {
        std::uint32_t stored = 0;
        std::memcpy(&stored, bytes.data() + kProfileSize + slot * kMacroRecordSize + 4, 4);
        EXPECT_EQ(stored, id) << slot;
    }

    // The macros still exist in the folder root: nothing is written again and the keys
    // keep the ids of the existing macros.
    const std::set<std::string> files = RootFiles();
    const std::size_t count = Profiles().Count();
    const std::size_t macros = f.wnd->Macros().Count();
    const std::uint32_t exported_id = Current().dwProfileID;
    Import(bk);
    ASSERT_EQ(Profiles().Count(), count + 1);
    EXPECT_EQ(Name(Current()), "Game");
    EXPECT_NE(Current().dwProfileID, exported_id);
    EXPECT_EQ(Current().Ms.Keys[0][2].MacroID, sprint);
    EXPECT_EQ(Current().Kb.Keys[30].MacroID, reload);
    EXPECT_EQ(Current().Ms.Keys[1][4].MacroID, missing);
    EXPECT_EQ(f.wnd->Macros().Find(missing), nullptr);
    EXPECT_EQ(RootFiles(), files);
    EXPECT_EQ(f.wnd->Macros().Count(), macros);
    EXPECT_EQ(NamesOnDisk(), Names());
    EXPECT_EQ(IdOnDisk(), Current().dwProfileID);

    // Only a group folder holds those names now: new files in the root, new ids.
    fs::create_directories(MacroFolder() + "/Games");
    for (const char* name : {"Sprint.mck", "Reload.mck"}) {
        fs::rename(MacroFolder() + "/" + name, MacroFolder() + "/Games/" + name);
    }
    Import(bk);
    EXPECT_EQ(RootFiles(), files);
    const std::uint32_t new_sprint = Current().Ms.Keys[0][2].MacroID;
    const std::uint32_t new_reload = Current().Kb.Keys[30].MacroID;
    EXPECT_NE(new_sprint, sprint);
    EXPECT_NE(new_reload, reload);
    ASSERT_NE(f.wnd->Macros().Find(new_sprint), nullptr);
    ASSERT_NE(f.wnd->Macros().Find(new_reload), nullptr);
    const std::optional<MacroRecord> saved = DecodeMacroFile(ReadBytes(MacroFolder() + "/Sprint.mck"));
    ASSERT_TRUE(saved);
    const std::uint32_t saved_id = saved->MacroID;
    const std::uint16_t saved_key = saved->events[0].wKey;
    EXPECT_EQ(saved_id, new_sprint);
    EXPECT_EQ(saved_key, 'W');
    EXPECT_EQ(Current().Ms.Keys[1][4].MacroID, missing);
    EXPECT_EQ(NamesOnDisk(), Names());
    EXPECT_EQ(f.modals.unanswered, 0);
}

TEST_F(BackupThroughTheWindow, ANineteenCharacterNameKeepsItsExtension) {
    SetField(Current().szName, "abcdefghijklmnopqrs");
    f.modals.AnswerNextFile({});  // cancelled: nothing written
    More(CProfileControls::kCmdExport);
    ASSERT_FALSE(f.modals.fileAsks.empty());
    EXPECT_EQ(fs::path(f.modals.fileAsks.back().dir.toStdString()).filename(), "abcdefghijklmnop.bk");
    EXPECT_TRUE(fs::is_empty(out.path()));

    // A name typed without extension gets it.
    Export("typed");
    EXPECT_EQ(ReadBytes(out / "typed.bk").size(), kBackupSize);
    // The next dialog opens where the last one was.
    Export("again.bk");
    EXPECT_EQ(fs::path(f.modals.fileAsks.back().dir.toStdString()).parent_path(), out.path());
}

TEST_F(BackupThroughTheWindow, FailuresShowTheirMessageAndChangeNothing) {
    const std::string good = Export("good.bk");
    std::vector<std::uint8_t> wrong = ReadBytes(good);
    wrong[4] ^= 0xFF;  // the magic
    WriteBytes(out / "wrong.bk", wrong);
    std::vector<std::uint8_t> no_id = ReadBytes(good);
    std::memset(no_id.data() + 8, 0, 4);
    WriteBytes(out / "noid.bk", no_id);
    WriteBytes(out / "empty.bk", {});
    WriteBytes(out / "short.bk", std::vector<std::uint8_t>(good.size() / 2, 1));

    const std::vector<std::string> names = NamesOnDisk();
    struct Case {
        const char* file;
        const char* message;
    };
    for (const Case& c : {Case{"wrong.bk", kInvalidBackupText}, Case{"noid.bk", kInvalidBackupText},
                          Case{"empty.bk", kEmptyBackupText}, Case{"short.bk", kInvalidBackupText},
                          Case{"absent.bk", kOpenBackupFailedText}}) {
        Import(out / c.file);
        EXPECT_EQ(LastMessage(), c.message) << c.file;
        EXPECT_EQ(NamesOnDisk(), names) << c.file;
    }
    // Export into a folder that cannot exist (a file stands on its path).
    Export("good.bk/inside.bk");
    EXPECT_EQ(LastMessage(), kCreateBackupFailedText);
    EXPECT_EQ(f.modals.unanswered, 6);  // the message boxes, answered by default
}

// The real chooser behind the seam: a name typed without extension is completed with
// the filter's before the dialog accepts (and would ask about replacing that file).
TEST(FileChooser, ASavedNameWithoutExtensionGetsTheFiltersOne) {
    App();
    TempDir dir;
    Modals modals;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        dlg->selectFile(QString::fromStdString(dir / "backup"));
        static_cast<QDialog*>(dlg)->accept();  // as the Save button does
    });
    const QString chosen = modals.SaveFileName(nullptr, "Export", QString::fromStdString(dir.path()),
                                               CProfileControls::kBackupFilter);
    EXPECT_EQ(chosen.toStdString(), dir / "backup.bk");
}

}  // namespace
}  // namespace quobel::test
