#pragma once
// Qt's own texts (standard buttons, file dialogs, the context menus of edit fields) in
// the language the user picked, from the translations of Qt installed on the system.

#include <QString>
#include <QTranslator>

#include <memory>

namespace quobel {

class QtTranslations {
public:
    // dir holds Qt's .qm files; by default the folder this Qt was installed with.
    explicit QtTranslations(QString dir = DefaultDir());
    // Takes the installed translator out again.
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // Installs Qt's translation for a language folder name ("de", "pt_BR") into the
    // running application, in place of the one selected before; widgets then get a
    // LanguageChange event. English needs none and is true. False when Qt has no
    // translation for the language: Qt's texts stay English.
    bool Select(const QString& language_folder);

    static QString DefaultDir();

private:
    QString dir_;
    std::unique_ptr<QTranslator> translator_;
};

}  // namespace quobel
