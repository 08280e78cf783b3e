#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include <unistd.h>

#include "common/temp_dir.h"
#include "ui/key_layout.h"
#include "ui/keymap.h"

namespace quobel {
namespace {

TEST(KeyLayout, NamesCharacterKeysByWhatTheyTypeOnTheLayout) {
    const auto de = KeyLayout::FromNames("de");
    ASSERT_TRUE(de);
    EXPECT_EQ(de->TypedName(0xDB), "Ü");  // right of P
    EXPECT_EQ(de->TypedName(0xBA), "Ö");
    EXPECT_EQ(de->TypedName(0xBD), "ß");  // no single capital: kept
    EXPECT_EQ(de->TypedName(0xC0), "^");  // a dead key, named by its accent
    EXPECT_EQ(de->TypedName(0x25), "");   // arrows type nothing
    const auto us = KeyLayout::FromNames("us");
    ASSERT_TRUE(us);
    EXPECT_EQ(us->TypedName(0xDB), "[");
    EXPECT_EQ(us->TypedName(0xBA), ";");
    EXPECT_FALSE(KeyLayout::FromNames("no-such-layout"));
}

TEST(KeyLayout, ReadsAKeymapText) {
    const auto fr = KeyLayout::FromKeymapText(
        "xkb_keymap { xkb_keycodes { include \"evdev\" }; xkb_types { include \"complete\" };"
        " xkb_compat { include \"complete\" }; xkb_symbols { include \"pc+fr\" }; };");
    ASSERT_TRUE(fr);
    EXPECT_EQ(fr->TypedName('2'), "É");
    EXPECT_EQ(fr->TypedName(0xBA), "M");
    EXPECT_FALSE(KeyLayout::FromKeymapText("xkb_keymap { broken"));
}

// Sets or clears an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(KeyLayout, ConfiguredLayoutFromTheEnvironmentElseTheKeyboardDefaults) {
    const test::TempDir dir;
    const std::string file = dir.path() + "/keyboard";
    std::ofstream(file) << "# KEYBOARD CONFIGURATION FILE\nXKBMODEL=\"pc105\"\nXKBLAYOUT=\"de\"\nXKBVARIANT=\"\"\n";
    {
        const ScopedEnv layout("XKB_DEFAULT_LAYOUT", nullptr);
        const auto de = KeyLayout::Configured(file);
        ASSERT_TRUE(de);
        EXPECT_EQ(de->TypedName(0xDB), "Ü");
        EXPECT_FALSE(KeyLayout::Configured(dir.path() + "/missing"));
    }
    const ScopedEnv layout("XKB_DEFAULT_LAYOUT", "us");
    const auto us = KeyLayout::Configured(file);
    ASSERT_TRUE(us);
    EXPECT_EQ(us->TypedName(0xDB), "[");
}

TEST(KeyLayout, TakesTheX11ServersKeymap) {
    EXPECT_FALSE(KeyLayout::FromX11(":9999"));  // no server there
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    const QString setxkbmap = QStandardPaths::findExecutable("setxkbmap");
    if (xvfb.isEmpty() || setxkbmap.isEmpty()) GTEST_SKIP() << "Xvfb or setxkbmap not installed";
    const QString display = QStringLiteral(":%1").arg(300 + getpid() % 400);
    QProcess server;
    server.start(xvfb, {display, "-nolisten", "tcp", "-screen", "0", "64x64x24"});
    if (!server.waitForStarted(5000)) GTEST_SKIP() << "Xvfb did not start";
    std::unique_ptr<KeyLayout> probe;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!probe && std::chrono::steady_clock::now() < until && server.state() == QProcess::Running) {
        QThread::msleep(50);
        probe = KeyLayout::FromX11(display.toStdString());
    }
    if (!probe) {
        server.kill();
        server.waitForFinished();
        GTEST_SKIP() << "Xvfb did not answer on " << display.toStdString();
    }
    // The server's own layout first (Xvfb starts with a US one), then a German one.
    EXPECT_EQ(probe->TypedName(0xDB), "[");
    QProcess::execute(setxkbmap, {"-display", display, "de"});
    QProcess query;
    query.start(setxkbmap, {"-display", display, "-query"});
    query.waitForFinished(5000);
    const bool german = QString::fromUtf8(query.readAllStandardOutput()).contains(QRegularExpression("layout:\\s+de"));
    const auto de = KeyLayout::FromX11(display.toStdString());
    server.kill();
    server.waitForFinished();
    ASSERT_TRUE(de);
    if (!german) GTEST_SKIP() << "this X server did not take the German layout";
    EXPECT_EQ(de->TypedName(0xDB), "Ü");
    EXPECT_EQ(de->TypedName(0xBA), "Ö");
}

// Keys are taken by where they are: the X key code (evdev + 8) of a digit or
// punctuation key gives the US key's code at that place, whatever the layout makes Qt
// report; letters go by what they type unless that is no Latin letter.
TEST(KeyPlaces, CharacterKeysOfEveryLayoutGetTheCodeOfTheirPlace) {
    struct Case {
        const char* what;
        int qt_key;
        unsigned keysym;
        unsigned scan;
        int vk;
    };
    const Case cases[] = {
        {"German Ü, right of P", Qt::Key_Udiaeresis, 0xFC, 34, 0xDB},
        {"German Ö", Qt::Key_Odiaeresis, 0xF6, 47, 0xBA},
        {"German +, where US has ]", Qt::Key_Plus, '+', 35, 0xDD},
        {"German <, beside left Shift", Qt::Key_Less, '<', 94, 0xE2},
        {"French é on the 2 key", Qt::Key_Eacute, 0xE9, 11, '2'},
        {"US ! with Shift", Qt::Key_Exclam, '!', 10, '1'},
        {"German Z, where US has Y", Qt::Key_Z, 'z', 29, 'Z'},
        {"Cyrillic letter on the Q key", 0x0419, 0x6CA, 24, 'Q'},
        {"no scan code: by the Qt key", Qt::Key_Plus, 0, 0, 0xBB},
        {"no scan code, unknown key", Qt::Key_Udiaeresis, 0, 0, 0},
        {"function keys keep their code", Qt::Key_F5, 0xFFC2, 71, 0x74},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(QtKeyToVk(c.qt_key, c.keysym, c.scan, ModifierSides::KeyMessage), c.vk) << c.what;
    }
    // Every character key's place and code go both ways.
    for (int vk = 0; vk < 256; ++vk) {
        if (const int evdev = CharacterKeyPosition(vk)) {
            EXPECT_EQ(CharacterKeyVk(evdev), vk) << vk;
        }
    }
}

}  // namespace
}  // namespace quobel
