#include "ui/qt_translations.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <string>

#include <gtest/gtest.h>

#include "ui_fixture.h"

namespace quobel {
namespace {

std::string CancelText(QDialogButtonBox& box) {
    // The language change reaches widgets as a posted event.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    return box.button(QDialogButtonBox::Cancel)->text().remove('&').toStdString();
}

TEST(QtTranslations, StandardButtonsFollowTheSelectedLanguage) {
    test::App();
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    ASSERT_EQ(CancelText(box), "Cancel");
    {
        QtTranslations qt;
        ASSERT_TRUE(qt.Select("de")) << "no Qt translations in " << qPrintable(QtTranslations::DefaultDir());
        // A box made now, one that was shown already, and the file dialog's own texts.
        QDialogButtonBox fresh(QDialogButtonBox::Cancel);
        EXPECT_EQ(CancelText(fresh), "Abbrechen");
        EXPECT_EQ(CancelText(box), "Abbrechen");
        EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:").toStdString(), "Suchen in:");

        // Back to English: nothing of German stays installed.
        EXPECT_TRUE(qt.Select("en"));
        EXPECT_EQ(CancelText(box), "Cancel");
        ASSERT_TRUE(qt.Select("de"));
    }
    // Gone with its owner.
    QDialogButtonBox after(QDialogButtonBox::Cancel);
    EXPECT_EQ(CancelText(after), "Cancel");
}

TEST(QtTranslations, NoTranslationLeavesQtEnglish) {
    test::App();
    QTemporaryDir empty;
    struct Case {
        const char* name;
        QString dir;
        QString folder;
    };
    const Case cases[] = {
        {"unknown language", QtTranslations::DefaultDir(), "xx"},
        {"no folder name", QtTranslations::DefaultDir(), ""},
        {"no translations installed", empty.path(), "de"},
    };
    for (const Case& c : cases) {
        QtTranslations qt(c.dir);
        EXPECT_FALSE(qt.Select(c.folder)) << c.name;
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        EXPECT_EQ(CancelText(box), "Cancel") << c.name;
    }
}

}  // namespace
}  // namespace quobel
