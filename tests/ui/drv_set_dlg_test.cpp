// The driver settings dialog through the window's settings button: language and skin
// at once, lang.ini only for changed choices, the exit button, the sound and the
// program link of the current profile.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include <filesystem>
#include <algorithm>
#include <functional>

#include "base/utf16.h"
#include "platform/ini.h"
#include "profile/profile_store.h"
#include "ui/main/drv_set_dlg.h"
#include "ui/qt_translations.h"
#include "ui/skin/combo_btn.h"
#include "ui/skin/png_btn.h"
#include "ui/window_fixture.h"

namespace quobel::test {
namespace {

namespace fs = std::filesystem;

// Opens the dialog with the window's settings button; `use` clicks its controls and
// leaves it through OK or the exit button. Returns the dialog's result.
int RunSettings(WindowFixture& f, const std::function<void(CDrvSetDlg&)>& use) {
    int result = -1;
    f.modals.AnswerNext([&](QDialog& d) {
        auto* dlg = qobject_cast<CDrvSetDlg*>(&d);
        EXPECT_NE(dlg, nullptr);
        if (!dlg) return 2;
        dlg->show();
        use(*dlg);
        result = dlg->result();
        return result;
    });
    WindowFixture::Click(f.wnd->Btn(CQuobelDlg::kDrv));
    return result;
}

std::string LangIni(const WindowFixture& f) { return f.config.szDataPath + "lang.ini"; }

std::string SoundField(const ProfileData& p) { return FieldToUtf8(p.szSound); }

TEST(DriverSettings, LanguageRelabelsTheWindowAtOnceAndExitStoresNothing) {
    QtTranslations qt;
    WindowFixture f;
    f.qtTexts = &qt;
    ASSERT_TRUE(f.Start());
    ASSERT_TRUE(f.wnd->Btn(CQuobelDlg::kDrv)->isVisible());
    const std::string sound_before = SoundField(*f.wnd->CurrentProfile());
    EXPECT_EQ(f.wnd->Btn(CQuobelDlg::kApply)->Caption(), "Apply");

    QString ok_caption;
    const int r = RunSettings(f, [&](CDrvSetDlg& dlg) {
        ChooseItem(dlg.LanguageCombo(), 1);  // Deutsch
        ok_caption = dlg.OkButton()->Caption();
        EXPECT_EQ(f.wnd->Btn(CQuobelDlg::kApply)->Caption(), QString::fromUtf8("Übernehmen"));
        // Qt's own texts (file dialogs) follow.
        EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), "Suchen in:");
        QTest::mouseClick(dlg.SoundCheck(), Qt::LeftButton);
        WindowFixture::Click(dlg.ExitButton());
    });
    EXPECT_EQ(r, 2);
    EXPECT_EQ(ok_caption, "OK");
    // The language stays for this run; nothing else changed and nothing was written.
    EXPECT_EQ(f.wnd->Btn(CQuobelDlg::kApply)->Caption(), QString::fromUtf8("Übernehmen"));
    EXPECT_EQ(f.wnd->Btn(CQuobelDlg::kDrv)->Caption(), "Einstellungen");
    EXPECT_EQ(f.config.gVar.nLangIndex, 1);
    EXPECT_EQ(f.config.gVar.bPlaySound, 0);
    EXPECT_EQ(SoundField(*f.wnd->CurrentProfile()), sound_before);
    EXPECT_TRUE(f.wnd->PlayingSound().isEmpty());
    EXPECT_FALSE(fs::exists(LangIni(f)));
}

TEST(DriverSettings, OkWritesLangIniOnlyWithTheChoicesThatChanged) {
    struct Case {
        const char* name;
        bool language;  // choose the second language
        bool sound;     // switch sounds on
        int langIndex;  // what lang.ini holds afterwards; -1: no such key
        int playSound;
    };
    const Case cases[] = {
        {"nothing", false, false, -1, -1},
        {"language", true, false, 1, -1},
        {"sound switch", false, true, -1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowFixture f;
        ASSERT_TRUE(f.Start());
        const std::string sound_before = SoundField(*f.wnd->CurrentProfile());
        ASSERT_TRUE(IsSoundPath(sound_before));
        const int r = RunSettings(f, [&](CDrvSetDlg& dlg) {
            if (c.language) ChooseItem(dlg.LanguageCombo(), 1);
            if (c.sound) QTest::mouseClick(dlg.SoundCheck(), Qt::LeftButton);
            // An emptied sound field keeps the profile's sound.
            dlg.SoundEdit()->clear();
            WindowFixture::Click(dlg.OkButton());
        });
        EXPECT_EQ(r, 1);
        EXPECT_EQ(SoundField(*f.wnd->CurrentProfile()), sound_before);
        EXPECT_EQ(f.config.gVar.bPlaySound, c.sound ? 1 : 0);
        if (c.langIndex < 0 && c.playSound < 0) {
            EXPECT_FALSE(fs::exists(LangIni(f)));
            continue;
        }
        const IniFile ini = IniFile::Load(LangIni(f));
        ASSERT_TRUE(ini.opened());
        EXPECT_EQ(ini.Get("OPT", "LangIndex"), c.langIndex < 0 ? std::nullopt
                                                                : std::optional(std::to_string(c.langIndex)));
        EXPECT_EQ(ini.Get("OPT", "SkinsIndex"), c.langIndex < 0 ? std::nullopt : std::optional(std::string("0")));
        EXPECT_EQ(ini.Get("OPT", "PlaySound"), c.playSound < 0 ? std::nullopt
                                                                : std::optional(std::to_string(c.playSound)));
    }
}

TEST(DriverSettings, SkinSwitchRecutsTheWindowsButtons) {
    // A program folder with a second skin whose window ground differs.
    TempDir prog;
    const fs::path bin = QUOBEL_PROGRAM_DIR;
    for (const auto& e : fs::directory_iterator(bin)) fs::create_symlink(e.path(), fs::path(prog.path()) / e.path().filename());
    const fs::path second = fs::path(prog.path()) / "second";
    fs::create_directory(second);
    const fs::path dark = bin / "skins" / "dark";
    for (const auto& e : fs::directory_iterator(dark)) {
        if (e.path().filename() != "main_nr.png") fs::create_symlink(e.path(), second / e.path().filename());
    }
    QImage ground(QString::fromStdString((dark / "main_nr.png").string()));
    ASSERT_FALSE(ground.isNull());
    ground.invertPixels(QImage::InvertRgb);
    ASSERT_TRUE(ground.save(QString::fromStdString((second / "main_nr.png").string())));
    // And its push buttons another picture.
    for (const char* name : {"button3_nr.png", "add_nr.png"}) {
        fs::remove(second / name);
        QImage b(QString::fromStdString((dark / name).string()));
        b.invertPixels(QImage::InvertRgb);
        ASSERT_TRUE(b.save(QString::fromStdString((second / name).string())));
    }
    const auto with_second_skin = [&](WindowFixture& w) {
        w.config.gVar.SkinsTable[1] = {"Second", "second"};
        w.config.gVar.nSkinsNum = 2;
    };
    // What the buttons look like in a window started with the second skin.
    WindowFixture started(prog.path() + "/");
    with_second_skin(started);
    started.config.gVar.nSkinsIndex = 1;
    ASSERT_TRUE(started.Start());

    WindowFixture f(prog.path() + "/");
    with_second_skin(f);
    ASSERT_TRUE(f.Start());
    const CQuobelDlg::Button kCompared[] = {CQuobelDlg::kMin,   CQuobelDlg::kExit, CQuobelDlg::kRestore,
                                            CQuobelDlg::kApply, CQuobelDlg::kAdd,  CQuobelDlg::kDel,
                                            CQuobelDlg::kMore,  CQuobelDlg::kHome};
    const QImage apply_before = f.wnd->Btn(CQuobelDlg::kApply)->grab().toImage();

    const int r = RunSettings(f, [&](CDrvSetDlg& dlg) {
        ChooseItem(dlg.SkinCombo(), 1);
        EXPECT_EQ(f.config.gVar.nSkinsIndex, 1);
        EXPECT_NE(f.wnd->Btn(CQuobelDlg::kApply)->grab().toImage(), apply_before);
        for (CQuobelDlg::Button b : kCompared) {
            EXPECT_EQ(f.wnd->Btn(b)->grab().toImage(), started.wnd->Btn(b)->grab().toImage()) << "button " << b;
        }
        EXPECT_EQ(f.wnd->Header(0)->grab().toImage(), started.wnd->Header(0)->grab().toImage());
        WindowFixture::Click(dlg.OkButton());
    });
    EXPECT_EQ(r, 1);
    const IniFile ini = IniFile::Load(LangIni(f));
    EXPECT_EQ(ini.Get("OPT", "SkinsIndex"), "1");
    EXPECT_EQ(ini.Get("OPT", "LangIndex"), "0");
    EXPECT_EQ(ini.Get("OPT", "PlaySound"), std::nullopt);
}

TEST(DriverSettings, SoundPreviewLoopsStopsAndRefusesAMissingFile) {
    WindowFixture f;
    ASSERT_TRUE(f.Start());
    const std::string sound_before = SoundField(*f.wnd->CurrentProfile());
    const QString wav = QString::fromStdString(f.config.szAppPath + "DrvSound.wav");
    ASSERT_TRUE(fs::exists(wav.toStdString()));

    bool stayed_open = false;
    const int r = RunSettings(f, [&](CDrvSetDlg& dlg) {
        dlg.ProgramEdit()->setText("SomeGame");
        // Choosing a file switches sounds on, plays it, and empties the program field.
        f.modals.AnswerNextFile(wav);
        WindowFixture::Click(dlg.BrowseButton());
        EXPECT_EQ(dlg.SoundEdit()->text(), wav);
        EXPECT_TRUE(dlg.ProgramEdit()->text().isEmpty());
        EXPECT_TRUE(dlg.SoundCheck()->IsChecked());
        EXPECT_EQ(f.wnd->PlayingSound(), wav);
        QTest::mouseClick(dlg.SoundCheck(), Qt::LeftButton);
        EXPECT_TRUE(f.wnd->PlayingSound().isEmpty());
        QTest::mouseClick(dlg.SoundCheck(), Qt::LeftButton);
        EXPECT_EQ(f.wnd->PlayingSound(), wav);

        dlg.SoundEdit()->setText("/nonexistent/quobel.wav");
        WindowFixture::Click(dlg.OkButton());
        stayed_open = dlg.isVisible();
        WindowFixture::Click(dlg.ExitButton());
    });
    EXPECT_EQ(r, 2);
    EXPECT_TRUE(stayed_open);
    ASSERT_FALSE(f.modals.messages.empty());
    EXPECT_EQ(f.modals.messages.back(), "Invalid File Path.");
    // The preview ends with the dialog; nothing was stored.
    EXPECT_TRUE(f.wnd->PlayingSound().isEmpty());
    EXPECT_EQ(f.config.gVar.bPlaySound, 0);
    EXPECT_EQ(SoundField(*f.wnd->CurrentProfile()), sound_before);
    EXPECT_FALSE(fs::exists(LangIni(f)));
}

TEST(DriverSettings, ProgramLinkReachesTheProfileAndItsSwitchPlaysNothing) {
    WindowFixture f;
    f.config.gVar.bPlaySound = 1;
    ASSERT_TRUE(f.Start());
    ASSERT_GE(f.wnd->Profiles().Count(), 2u);
    const std::uint32_t linked = f.wnd->CurrentProfile()->dwProfileID;

    const int r = RunSettings(f, [&](CDrvSetDlg& dlg) {
        f.modals.AnswerNextFile("/opt/games/QuobelGame.x86_64");
        WindowFixture::Click(dlg.ProgramButton());
        EXPECT_EQ(dlg.ProgramEdit()->text(), "QuobelGame.x86_64");
        EXPECT_TRUE(dlg.SoundEdit()->text().isEmpty());
        // A typed name is taken as typed.
        dlg.ProgramEdit()->clear();
        QTest::keyClicks(dlg.ProgramEdit(), "QuobelGame");
        WindowFixture::Click(dlg.OkButton());
    });
    EXPECT_EQ(r, 1);
    EXPECT_EQ(LinkedProgram(*f.wnd->CurrentProfile()), "QuobelGame");
    // Sounds are on, yet a program name is never played.
    EXPECT_TRUE(f.wnd->PlayingSound().isEmpty());

    // Another profile is current; the program starts: the linked profile comes back.
    const auto other = std::find_if(f.wnd->Profiles().begin(), f.wnd->Profiles().end(),
                                    [&](const ProfileData& p) { return p.dwProfileID != linked; });
    ASSERT_NE(other, f.wnd->Profiles().end());
    f.wnd->SelectProfile(other->dwProfileID);
    f.wnd->StopSound();
    f.processes.names = {"quobelgame.x86_64"};
    f.wnd->AutoSwitch();
    EXPECT_EQ(f.wnd->CurrentProfile()->dwProfileID, linked);
    EXPECT_TRUE(f.wnd->PlayingSound().isEmpty());

    // The dialog shows the link, not as a sound; emptying it undoes the link.
    (void)RunSettings(f, [&](CDrvSetDlg& dlg) {
        EXPECT_EQ(dlg.ProgramEdit()->text(), "QuobelGame");
        EXPECT_TRUE(dlg.SoundEdit()->text().isEmpty());
        dlg.ProgramEdit()->clear();
        WindowFixture::Click(dlg.OkButton());
    });
    EXPECT_TRUE(SoundField(*f.wnd->CurrentProfile()).empty());
}

}  // namespace
}  // namespace quobel::test
