#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

#include <utility>

namespace quobel {

QtTranslations::QtTranslations(QString dir) : dir_(std::move(dir)) {}

QtTranslations::~QtTranslations() {
    if (translator_) QCoreApplication::removeTranslator(translator_.get());
}

QString QtTranslations::DefaultDir() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }

bool QtTranslations::Select(const QString& language_folder) {
    if (translator_) {
        QCoreApplication::removeTranslator(translator_.get());
        translator_.reset();
    }
    const QLocale locale(language_folder);
    if (language_folder.isEmpty() || locale.language() == QLocale::C) return false;
    // Qt's own texts are English already.
    if (locale.language() == QLocale::English) return true;
    // "qt_<lang>" names Qt's modules' catalogs (qtbase, qtmultimedia, ...); the translator
    // loads them with it.
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, QStringLiteral("qt"), QStringLiteral("_"), dir_)) return false;
    if (!QCoreApplication::installTranslator(translator.get())) return false;
    translator_ = std::move(translator);
    return true;
}

}  // namespace quobel
