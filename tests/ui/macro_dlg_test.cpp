#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/log.h"
#include "base/utf16.h"
#include "config/key_info.h"
#include "device/apply_thread.h"
#include "device/macro_packing.h"
#include "macro/macro_file.h"
#include "macro/macro_folder.h"
#include "ui/macro/macro_dlg.h"
#include "ui/macro/macro_events.h"
#include "ui/page_fixture.h"
#include "ui/skin/msg_dlg.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/skin_menu.h"
#include "ui/skin/tree_ctrl.h"

namespace quobel::test {
namespace {

namespace fs = std::filesystem;

constexpr std::uint16_t kVkCtrl = 0x11, kVkRCtrl = 0xA3;

// Rows of the macro tree's context menus, in the order they are shown.
enum EmptyMenu { kEmptyNewMacro = 0, kEmptyNewGroup = 1 };
enum GroupMenu { kGroupNewMacro = 0, kGroupRename = 3, kGroupDelete = 4 };
enum MacroMenu { kMacroExport = 2, kMacroImport = 3, kMacroRename = 4, kMacroDelete = 5 };
// Rows of the insert menu with every mouse code allowed.
enum InsertMenu { kInsPressRow = 0, kInsReleaseRow = 1, kInsDelayRow = 2, kInsLeftRow = 3, kInsWheelUpRow = 8 };

std::vector<std::uint8_t> ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Ev {
    std::uint16_t key;
    std::uint16_t dir;
    std::uint32_t delay;
};

// A .mck file written field by field from the record layout, then byte-rotated.
std::vector<std::uint8_t> ExpectedFile(std::uint32_t id, std::u16string_view name, std::uint32_t auto_delay,
                                       std::uint32_t loop_mode, std::uint16_t count, const std::vector<Ev>& events) {
    std::vector<std::uint8_t> b(834, 0);
    const auto put = [&](std::size_t at, std::uint64_t v, int width) {
        for (int i = 0; i < width; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    put(0, 0xFAFB88A0, 4);
    put(4, id, 4);
    put(12, auto_delay, 4);
    put(16, loop_mode, 4);
    for (std::size_t i = 0; i < name.size(); ++i) put(20 + 2 * i, name[i], 2);
    put(104, count, 2);
    for (std::size_t i = 0; i < events.size(); ++i) {
        put(106 + 8 * i, events[i].key, 2);
        put(108 + 8 * i, events[i].dir, 2);
        put(110 + 8 * i, events[i].delay, 4);
    }
    for (std::uint8_t& x : b) x = static_cast<std::uint8_t>((x >> 2) | (x << 6));
    return b;
}

class MacroDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        MacroRecorder::ResetSharedState();
        KeyCapture::ResetSharedState();
        host.config.gVar.bMacroHasMsKey = 0x7F;
        host.config.gVar.nMacroDir = 1;
        host.config.gVar.bAutoSaveMacro = 1;
        host.config.gVar.bMacOperBtn = 1;
    }
    void TearDown() override { CSkinMenu::DestroyMenuEx(); }

    CMacroDlg& Open(CMacroDlg::InUseCheck in_use = {}, int third_loop_mode = 1) {
        dlg = std::make_unique<CMacroDlg>(host, &host.window, std::move(in_use), third_loop_mode);
        dlg->SetClock([this] { return now; });
        dlg->SetIdGenerator(ids);
        dlg->show();
        return *dlg;
    }
    [[nodiscard]] std::string MacroFolder() const { return MacroFolderOf(host.config.szDataPath); }

    // Answers of the boxes the editor opens.
    void AnswerOk() {
        host.modals.AnswerNext([](QDialog&) { return 1; });
    }
    void AnswerText(const QString& text) {
        host.modals.AnswerNext([text](QDialog& d) {
            auto& box = dynamic_cast<CMsgDlg&>(d);
            box.show();
            QTest::keyClicks(box.Edit(), text);
            QTest::mouseClick(box.OkButton(), Qt::LeftButton);
            return d.result();
        });
    }
    void AnswerKey(Qt::Key key) {
        host.modals.AnswerNext([key](QDialog& d) {
            auto& box = dynamic_cast<CMsgDlg&>(d);
            box.show();
            QTest::keyPress(&box, key);
            QTest::keyRelease(&box, key);
            QTest::mouseClick(box.OkButton(), Qt::LeftButton);
            return d.result();
        });
    }

    void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
    void ClickRow(CTreeCtrlEx* tree, TreeItem* item) {
        QTest::mouseClick(tree, Qt::LeftButton, {}, tree->ItemRect(item).center());
    }
    void RightClick(CTreeCtrlEx* tree, TreeItem* item) {
        const QPoint at = item ? tree->ItemRect(item).center() : QPoint(10, tree->height() - 4);
        QTest::mouseClick(tree, Qt::RightButton, {}, at);
    }
    static void ChooseMenuRow(int row) {
        CSkinMenu* menu = CSkinMenu::OpenMenu();
        ASSERT_NE(menu, nullptr);
        ASSERT_LT(row, static_cast<int>(menu->Rows().size()));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->RowRect(row).center());
    }

    // New group and new macro through the context menus; returns the macro's row.
    TreeItem* NewGroup(const QString& name) {
        RightClick(dlg->MacroTreeCtrl(), nullptr);
        AnswerText(name);
        ChooseMenuRow(kEmptyNewGroup);
        return dlg->MacroTreeCtrl()->Selected();
    }
    TreeItem* NewMacroIn(TreeItem* group, const QString& name) {
        AnswerText(name);
        if (group) {
            RightClick(dlg->MacroTreeCtrl(), group);
            ChooseMenuRow(kGroupNewMacro);
        } else {
            RightClick(dlg->MacroTreeCtrl(), nullptr);
            ChooseMenuRow(kEmptyNewMacro);
        }
        return dlg->MacroTreeCtrl()->Selected();
    }

    void Key(Qt::Key key, bool release, std::int64_t at, bool repeat = false) {
        now = at;
        QKeyEvent e(release ? QEvent::KeyRelease : QEvent::KeyPress, key, Qt::NoModifier, QString(), repeat);
        QCoreApplication::sendEvent(dlg.get(), &e);
    }
    // Right Ctrl as X reports it: its own keysym and scan code.
    void RightCtrl(bool release, std::int64_t at) {
        now = at;
        QKeyEvent e(release ? QEvent::KeyRelease : QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier, 105, 0xFFE4, 0);
        QCoreApplication::sendEvent(dlg.get(), &e);
    }

    [[nodiscard]] std::vector<EventRow> Shown() const {
        std::vector<EventRow> rows;
        for (const auto& item : dlg->EventTreeCtrl()->TopLevel()) rows.push_back({item->rec.type, item->rec.value});
        return rows;
    }
    [[nodiscard]] std::vector<QString> ShownCaptions() const {
        std::vector<QString> out;
        for (const auto& item : dlg->EventTreeCtrl()->TopLevel()) out.push_back(item->caption);
        return out;
    }

    TestPageHost host;
    RecordingSleeper pauses;
    int id_ms = 0;
    IdGenerator ids{pauses, [this] { return TimeOfDay{9, 8, 7, ++id_ms}; }};
    std::int64_t now = 1000;
    std::unique_ptr<CMacroDlg> dlg;
};

TEST_F(MacroDlgTest, RecordsEditsAndSavesAMacroInAGroupByteForByte) {
    CMacroDlg& d = Open();
    EXPECT_EQ(d.windowTitle(), "QuobelMacroTopWindow");
    TreeItem* group = NewGroup("Games");
    ASSERT_NE(group, nullptr);
    EXPECT_FALSE(fs::exists(MacroFolder() + "/Games"));  // a group without macros is not on disk
    TreeItem* row = NewMacroIn(group, "Jump.txt");     // the extension is cut off
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->caption, "Jump");
    const std::uint32_t id = row->rec.value;
    ASSERT_NE(host.macros.Find(id), nullptr);
    EXPECT_TRUE(fs::exists(MacroFolder() + "/Games/Jump.mck"));

    Click(d.RecordButton());
    ASSERT_TRUE(d.IsRecording());
    EXPECT_TRUE(d.RecordButton()->IsChecked());
    EXPECT_EQ(d.RecordButton()->Caption(), host.Skin().Text("tc_macro_stop"));
    Key(Qt::Key_Control, false, 1000);
    Key(Qt::Key_A, false, 1100);
    Key(Qt::Key_A, true, 1130, true);   // Qt's auto-repeat pair while A is held
    Key(Qt::Key_A, false, 1130, true);
    Key(Qt::Key_A, false, 1160, true);
    Key(Qt::Key_A, true, 1300);
    RightCtrl(false, 1400);
    RightCtrl(true, 1450);
    Key(Qt::Key_Control, true, 1600);
    // Every other button waits for the recording to stop.
    Click(d.InsertButton());
    ASSERT_FALSE(host.modals.messages.empty());
    EXPECT_EQ(host.modals.messages.back(), host.Skin().Text("tc_macro_msg17"));
    Click(d.RecordButton());
    EXPECT_FALSE(d.IsRecording());
    EXPECT_EQ(d.RecordButton()->Caption(), host.Skin().Text("tc_macro_start"));

    const std::vector<EventRow> recorded{{kRowPress, kVkCtrl}, {kRowDelay, 100},    {kRowPress, 'A'},
                                         {kRowDelay, 200},     {kRowRelease, 'A'},  {kRowDelay, 100},
                                         {kRowPress, kVkRCtrl}, {kRowDelay, 50},    {kRowRelease, kVkRCtrl},
                                         {kRowDelay, 150},     {kRowRelease, kVkCtrl}};
    EXPECT_EQ(Shown(), recorded);
    EXPECT_EQ(ShownCaptions()[1], "100 ms");

    // Edit: change the first delay by a double click, insert a left click after the last row.
    TreeItem* first_delay = d.EventTreeCtrl()->TopLevel()[1].get();
    host.modals.AnswerNext([](QDialog& box) {
        auto& msg = dynamic_cast<CMsgDlg&>(box);
        msg.show();
        QTest::keyClicks(msg.Edit(), "70");
        QTest::mouseClick(msg.OkButton(), Qt::LeftButton);
        return box.result();
    });
    QTest::mouseDClick(d.EventTreeCtrl(), Qt::LeftButton, {}, d.EventTreeCtrl()->ItemRect(first_delay).center());
    ClickRow(d.EventTreeCtrl(), d.EventTreeCtrl()->TopLevel().back().get());
    Click(d.InsertButton());
    ChooseMenuRow(kInsLeftRow);

    const std::vector<Ev> events{{kVkCtrl, 1, 70},  {'A', 1, 200},     {'A', 0, 100},
                                 {kVkRCtrl, 1, 50}, {kVkRCtrl, 0, 150}, {kVkCtrl, 0, 0},
                                 {240, 1, 50},      {240, 0, 0}};
    EXPECT_EQ(ReadAll(MacroFolder() + "/Games/Jump.mck"), ExpectedFile(id, u"Jump", 1, 0, 1, events));
    // What the start-up scan reads back is the same macro.
    MacroList reread;
    LoadMacroFolder(MacroFolder(), reread, 1, 0x7F);
    ASSERT_NE(reread.Find(id), nullptr);
    EXPECT_EQ(reread.Find(id)->events[6].wKey, 240);
}

TEST_F(MacroDlgTest, HeldKeyAutoDelayOffAndTheDeviceSizeLimit) {
    host.config.limits.nMacroBufSize = 16;  // 4 + 2 per event: six events
    CMacroDlg& d = Open();
    NewMacroIn(nullptr, "Spam");
    Click(d.AutoDelayBox());  // auto delay off
    EXPECT_FALSE(d.AutoDelayBox()->IsChecked());
    Click(d.RecordButton());
    Key(Qt::Key_B, false, 1000);
    for (int i = 0; i < 5; ++i) Key(Qt::Key_B, false, 1010 + i * 30, true);
    Key(Qt::Key_B, true, 1200);
    const Qt::Key more[] = {Qt::Key_C, Qt::Key_D, Qt::Key_E};
    std::int64_t t = 1300;
    for (Qt::Key k : more) {
        Key(k, false, t += 100);
        Key(k, true, t += 100);
    }
    EXPECT_TRUE(d.RecordButton()->IsChecked());  // still recording, the list just stops growing
    Click(d.RecordButton());
    EXPECT_EQ(Shown(), (std::vector<EventRow>{{kRowPress, 'B'}, {kRowRelease, 'B'}, {kRowPress, 'C'},
                                             {kRowRelease, 'C'}, {kRowPress, 'D'}, {kRowRelease, 'D'}}));
    const MacroRecord* rec = host.macros.Find(d.MacroTreeCtrl()->Selected()->rec.value);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->bAutoDelay, 0u);
    EXPECT_EQ(rec->events[5].wKey, 'D');
    EXPECT_EQ(rec->events[6].wKey, 0);

    // Without auto delay an inserted click has no 50 ms between press and release.
    Click(d.InsertButton());
    ChooseMenuRow(kInsLeftRow);
    EXPECT_EQ(Shown().size(), 8u);
    EXPECT_EQ(Shown()[6], (EventRow{kRowPress, 240}));
    EXPECT_EQ(Shown()[7], (EventRow{kRowRelease, 240}));

    // The same key again at the start of the next recording is the held key: dropped.
    Click(d.RecordButton());
    Key(Qt::Key_D, true, 5000);
    Key(Qt::Key_F, false, 5100);
    Click(d.RecordButton());
    EXPECT_EQ(Shown(), (std::vector<EventRow>{{kRowPress, 'F'}}));
}

struct TidyCase {
    const char* name;
    std::vector<EventRow> rows;
    std::vector<EventRow> tidied;
    std::vector<Ev> events;
};

class MacroTidy : public ::testing::TestWithParam<TidyCase> {};

TEST_P(MacroTidy, SaveRules) {
    const TidyCase& c = GetParam();
    std::vector<EventRow> rows = c.rows;
    TidyEventRows(rows);
    EXPECT_EQ(rows, c.tidied);
    MacroEvent built[kMacroEventSlots];
    EXPECT_FALSE(BuildEvents(rows, 90, built));
    for (std::size_t i = 0; i < c.events.size(); ++i) {
        EXPECT_EQ(built[i].wKey, c.events[i].key) << i;
        EXPECT_EQ(built[i].wDir, c.events[i].dir) << i;
        EXPECT_EQ(built[i].dwDelay, c.events[i].delay) << i;
    }
    EXPECT_EQ(built[c.events.size()].wKey, 0);
}

INSTANTIATE_TEST_SUITE_P(
    MacroDlg, MacroTidy,
    ::testing::Values(
        TidyCase{"leading_delay_and_release_go", {{2, 40}, {0, 'A'}, {1, 'B'}, {2, 10}, {0, 'B'}},
                 {{1, 'B'}, {2, 10}, {0, 'B'}}, {{'B', 1, 10}, {'B', 0, 0}}},
        TidyCase{"no_press_leaves_nothing", {{2, 40}, {0, 'A'}}, {}, {}},
        TidyCase{"three_delays_saved_as_two_the_second_dropped",
                 {{1, 'A'}, {2, 10}, {2, 20}, {2, 30}, {0, 'A'}},
                 {{1, 'A'}, {2, 30}, {2, 30}, {0, 'A'}}, {{'A', 1, 30}, {'A', 0, 0}}},
        TidyCase{"repeated_press_of_a_key_once", {{1, 'A'}, {1, 'A'}, {0, 'A'}, {0, 'A'}},
                 {{1, 'A'}, {0, 'A'}}, {{'A', 1, 0}, {'A', 0, 0}}},
        TidyCase{"two_keys_pressed_together_stay", {{1, 'A'}, {1, 'B'}, {1, 'B'}},
                 {{1, 'A'}, {1, 'B'}, {1, 'B'}}, {{'A', 1, 0}, {'B', 1, 0}, {'B', 1, 0}}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(MacroDlgTest, LoopModesAndCountLimits) {
    CMacroDlg& d = Open();
    NewMacroIn(nullptr, "Loop");
    const auto record = [&] { return host.macros.Find(d.MacroTreeCtrl()->Selected()->rec.value); };
    ASSERT_TRUE(d.CountRadio()->IsChecked());
    ASSERT_TRUE(d.CountEdit()->isVisible());
    const int max = host.config.limits.nMaxLoop;

    struct Typed {
        const char* text;
        QString shown;
        std::uint16_t saved;
    };
    const Typed cases[] = {{"7", "7", 7}, {"99999999", QString::number(max), static_cast<std::uint16_t>(max)},
                           {"abc", "1", 1}, {"0", "1", 1}};
    for (const Typed& c : cases) {
        d.CountEdit()->clear();
        QTest::keyClicks(d.CountEdit(), c.text);
        EXPECT_EQ(d.CountEdit()->text(), c.shown) << c.text;
        EXPECT_EQ(record()->nLoopCount, c.saved) << c.text;
    }
    Click(d.Loop2Radio());
    EXPECT_FALSE(d.CountEdit()->isVisible());
    EXPECT_EQ(record()->nLoopMode, 2u);
    Click(d.Loop3Radio());
    EXPECT_EQ(record()->nLoopMode, 1u);
    Click(d.CountRadio());
    EXPECT_EQ(d.CountEdit()->text(), "1");
    EXPECT_EQ(record()->nLoopMode, 0u);

    // The window switches the third loop mode off: no third radio.
    dlg.reset();
    CMacroDlg& without = Open({}, 0);
    EXPECT_EQ(without.Loop3Radio(), nullptr);
    EXPECT_EQ(without.CountRadio()->y(), host.config.gVar.rcKeyList.top + 82 + 28);
}

TEST_F(MacroDlgTest, GroupDeleteIsRefusedWhileAMacroInsideIsAssigned) {
    std::uint32_t assigned = 0;
    CMacroDlg& d = Open([&](std::uint32_t id) { return id == assigned; });
    TreeItem* group = NewGroup("Busy");
    TreeItem* macro = NewMacroIn(group, "Used");
    assigned = macro->rec.value;
    ASSERT_TRUE(fs::exists(MacroFolder() + "/Busy/Used.mck"));

    AnswerOk();  // "delete?"
    RightClick(d.MacroTreeCtrl(), group);
    ChooseMenuRow(kGroupDelete);
    EXPECT_EQ(d.MacroTreeCtrl()->TopLevel().size(), 1u);
    EXPECT_TRUE(fs::exists(MacroFolder() + "/Busy/Used.mck"));
    EXPECT_NE(host.macros.Find(assigned), nullptr);

    // Declining the question keeps everything too.
    host.modals.AnswerNext([](QDialog&) { return 2; });
    RightClick(d.MacroTreeCtrl(), group);
    ChooseMenuRow(kGroupDelete);
    EXPECT_EQ(d.MacroTreeCtrl()->TopLevel().size(), 1u);

    // No longer assigned: the group goes with its folder and its macros.
    assigned = 0;
    const std::uint32_t id = macro->rec.value;
    AnswerOk();
    RightClick(d.MacroTreeCtrl(), group);
    ChooseMenuRow(kGroupDelete);
    EXPECT_TRUE(d.MacroTreeCtrl()->TopLevel().empty());
    EXPECT_FALSE(fs::exists(MacroFolder() + "/Busy"));
    EXPECT_EQ(host.macros.Find(id), nullptr);

    // An empty group (only in the tree) goes at once.
    TreeItem* empty = NewGroup("Empty");
    AnswerOk();
    RightClick(d.MacroTreeCtrl(), empty);
    ChooseMenuRow(kGroupDelete);
    EXPECT_TRUE(d.MacroTreeCtrl()->TopLevel().empty());
}

TEST_F(MacroDlgTest, NamesRenameAndTheMacroLimit) {
    CMacroDlg& d = Open();
    TreeItem* a = NewMacroIn(nullptr, "Alpha");
    const std::uint32_t id = a->rec.value;
    // Bad and duplicate names are refused with their messages.
    NewMacroIn(nullptr, "a-b");
    EXPECT_EQ(host.modals.messages.back(), "Invalid name.");
    NewMacroIn(nullptr, "ALPHA");
    EXPECT_EQ(host.modals.messages.back(), host.Skin().Text("tc_macro_msg8"));
    EXPECT_EQ(d.MacroTreeCtrl()->TopLevel().size(), 1u);

    AnswerText("Beta");
    RightClick(d.MacroTreeCtrl(), a);
    ChooseMenuRow(kMacroRename);
    EXPECT_EQ(a->caption, "Beta");
    EXPECT_FALSE(fs::exists(MacroFolder() + "/Alpha.mck"));
    const std::vector<std::uint8_t> renamed = ReadAll(MacroFolder() + "/Beta.mck");
    const std::optional<MacroRecord> r = DecodeMacroFile(renamed);
    ASSERT_TRUE(r);
    EXPECT_EQ(FieldToUtf8(r->szName), "Beta");
    EXPECT_EQ(r->MacroID, id);

    // A group holding a saved macro: the folder moves and the macro keeps its record.
    TreeItem* g = NewGroup("Old");
    TreeItem* inside = NewMacroIn(g, "Inner");
    const std::uint32_t inner = inside->rec.value;
    AnswerText("New");
    RightClick(d.MacroTreeCtrl(), g);
    ChooseMenuRow(kGroupRename);
    EXPECT_TRUE(fs::exists(MacroFolder() + "/New/Inner.mck"));
    EXPECT_FALSE(fs::exists(MacroFolder() + "/Old"));
    EXPECT_NE(host.macros.Find(inner), nullptr);

    // Down and Up move through the shown rows and show the macro reached.
    ClickRow(d.MacroTreeCtrl(), a);
    QTest::keyClick(d.MacroTreeCtrl(), Qt::Key_Down);
    EXPECT_EQ(d.MacroTreeCtrl()->Selected(), g);
    QTest::keyClick(d.MacroTreeCtrl(), Qt::Key_Down);
    EXPECT_EQ(d.MacroTreeCtrl()->Selected(), inside);
    QTest::keyClick(d.MacroTreeCtrl(), Qt::Key_Up);
    QTest::keyClick(d.MacroTreeCtrl(), Qt::Key_Up);
    EXPECT_EQ(d.MacroTreeCtrl()->Selected(), a);

    while (host.macros.Count() < kMaxMacros) host.macros.Add(NewMacroRecord("x", ids));
    Click(d.NewButton());
    EXPECT_EQ(host.modals.messages.back(), "The number of macro is up to the maximum");
}

TEST_F(MacroDlgTest, ImportAndExportOfMacroFiles) {
    CMacroDlg& d = Open();
    TreeItem* row = NewMacroIn(nullptr, "Src");
    Click(d.RecordButton());
    Key(Qt::Key_Q, false, 1000);
    Key(Qt::Key_Q, true, 1040);
    Click(d.RecordButton());
    const std::vector<std::uint8_t> stored = ReadAll(MacroFolder() + "/Src.mck");

    TempDir out;
    host.modals.AnswerNextFile(QString::fromStdString(out.path() + "/copy"));
    RightClick(d.MacroTreeCtrl(), row);
    ChooseMenuRow(kMacroExport);
    EXPECT_EQ(ReadAll(out.path() + "/copy.mck"), stored);

    // Import the export under another name: a new id, written into the macro folder.
    fs::copy_file(out.path() + "/copy.mck", out.path() + "/Other.mck");
    host.modals.AnswerNextFile(QString::fromStdString(out.path() + "/Other.mck"));
    RightClick(d.MacroTreeCtrl(), row);
    ChooseMenuRow(kMacroImport);
    TreeItem* imported = d.MacroTreeCtrl()->Selected();
    ASSERT_NE(imported, row);
    EXPECT_EQ(imported->caption, "Other");
    EXPECT_NE(imported->rec.value, row->rec.value);
    const std::optional<MacroRecord> r = DecodeMacroFile(ReadAll(MacroFolder() + "/Other.mck"));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->MacroID, imported->rec.value);
    EXPECT_EQ(r->events[0].wKey, 'Q');
    EXPECT_EQ(Shown().front(), (EventRow{kRowPress, 'Q'}));

    // Refused files, each with its message.
    std::vector<std::uint8_t> bad = stored;
    bad[0] ^= 0xFF;
    std::ofstream(out.path() + "/Bad.mck", std::ios::binary).write(reinterpret_cast<const char*>(bad.data()), 834);
    MacroRecord mouse = *DecodeMacroFile(stored);
    mouse.events[0].wKey = 242;
    host.config.gVar.bMacroHasMsKey = 0;
    const MacroFileBytes m = EncodeMacroFile(mouse);
    std::ofstream(out.path() + "/Mouse.mck", std::ios::binary).write(reinterpret_cast<const char*>(m.data()), 834);
    dlg.reset();
    CMacroDlg& strict = Open();  // a mask without the middle button
    const std::pair<const char*, const char*> refused[] = {{"/Bad.mck", "This is not a valid macro file."},
                                                           {"/Mouse.mck", "This macro contains unsupported key."},
                                                           {"/Src.mck", nullptr}};
    for (const auto& [file, text] : refused) {
        host.modals.AnswerNextFile(QString::fromStdString(out.path() + file));
        RightClick(strict.MacroTreeCtrl(), nullptr);
        ChooseMenuRow(2);  // import macro
        EXPECT_EQ(host.modals.messages.back(), text ? QString(text) : host.Skin().Text("tc_macro_msg8")) << file;
    }
}

TEST_F(MacroDlgTest, UnsavedChangesAreWrittenWhenTheEditorCloses) {
    host.config.gVar.bAutoSaveMacro = 0;
    CMacroDlg& d = Open();
    TreeItem* first = NewMacroIn(nullptr, "One");
    EXPECT_TRUE(d.SaveButton()->isVisible());
    EXPECT_FALSE(fs::exists(MacroFolder() + "/One.mck"));
    Click(d.RecordButton());
    Key(Qt::Key_W, false, 1000);
    Key(Qt::Key_W, true, 1100);
    Click(d.RecordButton());
    // Another macro is shown before anything was saved: the recording is kept.
    NewMacroIn(nullptr, "Two");
    ClickRow(d.MacroTreeCtrl(), first);
    EXPECT_EQ(Shown(), (std::vector<EventRow>{{kRowPress, 'W'}, {kRowDelay, 100}, {kRowRelease, 'W'}}));
    Click(d.ExitButton());
    const std::optional<MacroRecord> r = DecodeMacroFile(ReadAll(MacroFolder() + "/One.mck"));
    ASSERT_TRUE(r);
    // Copies: the record's fields are packed, and a reference to one would be misaligned.
    const std::uint16_t key = r->events[0].wKey;
    const std::uint32_t delay = r->events[0].dwDelay;
    EXPECT_EQ(key, 'W');
    EXPECT_EQ(delay, 100u);
    EXPECT_TRUE(fs::exists(MacroFolder() + "/Two.mck"));
}

TEST_F(MacroDlgTest, ImportAndExportOfGroups) {
    // A folder elsewhere with two macros, one in a sub-folder.
    TempDir outside;
    const std::string source = outside.path() + "/Shared";
    MacroRecord a = NewMacroRecord("A", ids);
    a.events[0] = {'A', 1, 0};
    MacroRecord b = NewMacroRecord("B", ids);
    b.events[0] = {'B', 1, 0};
    ASSERT_TRUE(MyCreateFile(source + "/A.mck", EncodeMacroFile(a)).ok());
    ASSERT_TRUE(MyCreateFile(source + "/Sub/B.mck", EncodeMacroFile(b)).ok());

    CMacroDlg& d = Open();
    // Recording needs a selected macro.
    Click(d.RecordButton());
    EXPECT_FALSE(d.IsRecording());
    EXPECT_EQ(host.modals.messages.back(), host.Skin().Text("tc_macro_msg1"));

    host.modals.AnswerNextFile(QString::fromStdString(source));
    RightClick(d.MacroTreeCtrl(), nullptr);
    ChooseMenuRow(3);  // import group
    ASSERT_EQ(d.MacroTreeCtrl()->TopLevel().size(), 1u);
    TreeItem* group = d.MacroTreeCtrl()->TopLevel()[0].get();
    EXPECT_EQ(group->caption, "Shared");
    // Both macros are in the list with new ids, and their copied files carry them.
    for (const char* file : {"/Shared/A.mck", "/Shared/Sub/B.mck"}) {
        const std::optional<MacroRecord> r = DecodeMacroFile(ReadAll(MacroFolder() + file));
        ASSERT_TRUE(r) << file;
        EXPECT_NE(r->MacroID, a.MacroID) << file;
        EXPECT_NE(r->MacroID, b.MacroID) << file;
        EXPECT_NE(host.macros.Find(r->MacroID), nullptr) << file;
    }
    // The same folder again is refused: its name is taken.
    host.modals.AnswerNextFile(QString::fromStdString(source));
    RightClick(d.MacroTreeCtrl(), nullptr);
    ChooseMenuRow(3);
    EXPECT_EQ(host.modals.messages.back(), host.Skin().Text("tc_macro_msg8"));
    EXPECT_EQ(d.MacroTreeCtrl()->TopLevel().size(), 1u);

    // Export the group that holds the selected macro: open the group (its box at the
    // left of the row), right-click the macro.
    TempDir target;
    QTest::mouseClick(d.MacroTreeCtrl(), Qt::LeftButton, {},
                      QPoint(5, d.MacroTreeCtrl()->ItemRect(group).center().y()));
    TreeItem* macro_a = nullptr;
    for (const auto& c : group->children) {
        if (c->caption == "A") macro_a = c.get();
    }
    ASSERT_NE(macro_a, nullptr);
    ASSERT_FALSE(d.MacroTreeCtrl()->ItemRect(macro_a).isEmpty());
    host.modals.AnswerNextFile(QString::fromStdString(target.path()));
    RightClick(d.MacroTreeCtrl(), macro_a);
    ChooseMenuRow(7);  // export group
    EXPECT_EQ(ReadAll(target.path() + "/Shared/Sub/B.mck"), ReadAll(MacroFolder() + "/Shared/Sub/B.mck"));

    // The exit button waits for a running recording to stop.
    Click(d.RecordButton());
    ASSERT_TRUE(d.IsRecording());
    Click(d.ExitButton());
    EXPECT_EQ(host.modals.messages.back(), host.Skin().Text("tc_macro_msg17"));
    EXPECT_TRUE(d.isVisible());
}

TEST_F(MacroDlgTest, ARecordedMacroAssignedToAMouseButtonReachesTheMouse) {
    CMacroDlg& d = Open();
    NewMacroIn(nullptr, "Combo");
    Click(d.RecordButton());
    Key(Qt::Key_S, false, 1000);
    Key(Qt::Key_S, true, 1080);
    Click(d.RecordButton());
    const std::uint32_t id = d.MacroTreeCtrl()->Selected()->rec.value;
    Click(d.ExitButton());

    ProfileData* profile = host.CurrentProfile();
    ASSERT_NE(profile, nullptr);
    for (auto& mode : profile->Ms.Keys) {
        mode[2].FunID = MakeFunID(kFunMacro, 0);
        mode[2].MacroID = id;
    }
    std::array<std::uint8_t, kMacroSlotBytes> slot{};
    ASSERT_GT(mouse::StMacro_To_HdMacro(*host.macros.Find(id), slot, host.config.limits,
                                        host.config.gVar.nMacProtocol),
              0u);
    host.RequestApply(DeviceKind::Mouse, 1);
    const auto in_memory = [&] {
        const std::vector<std::uint8_t> block = host.sim->Mouse()->Block(6);
        return block.size() >= slot.size() && std::equal(slot.begin(), slot.end(), block.begin());
    };
    QTRY_VERIFY_WITH_TIMEOUT(in_memory(), 5000);
}

}  // namespace
}  // namespace quobel::test
