#include "ui/modals.h"

#include <QDialog>
#include <QFileDialog>
#include <QRegularExpression>

#include "ui/skin/msg_dlg.h"

namespace quobel {

int Modals::Exec(QDialog& dlg) { return dlg.exec(); }

QString Modals::OpenFileName(QWidget* parent, const QString& caption, const QString& dir, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString Modals::SaveFileName(QWidget* parent, const QString& caption, const QString& dir, const QString& filter) {
    QFileDialog dlg(parent, caption, dir, filter);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    // A name typed without extension gets the filter's, before the overwrite question.
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("\\(\\*\\.([^ ;)*]+)")).match(filter);
    if (m.hasMatch()) dlg.setDefaultSuffix(m.captured(1));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
    return dlg.selectedFiles().front();
}

QString Modals::ExistingFolder(QWidget* parent, const QString& caption, const QString& dir) {
    return QFileDialog::getExistingDirectory(parent, caption, dir, QFileDialog::ShowDirsOnly);
}

int Modals::Info(const SkinContext& ctx, QWidget* parent, const QString& text) {
    CMsgDlg dlg(ctx, parent, CMsgDlg::kInfo, text);
    dlg.Init();
    return Exec(dlg) == 1 ? 1 : 2;
}

int Modals::Ask(const SkinContext& ctx, QWidget* parent, const QString& text) {
    CMsgDlg dlg(ctx, parent, CMsgDlg::kQuestion, text);
    dlg.Init();
    return Exec(dlg) == 1 ? 1 : 2;
}

int Modals::AskText(const SkinContext& ctx, QWidget* parent, const QString& prompt, QString* text) {
    CMsgDlg dlg(ctx, parent, CMsgDlg::kText, prompt);
    dlg.Init();
    const int r = Exec(dlg) == 1 ? 1 : 2;
    if (r == 1 && text != nullptr) *text = dlg.TextResult();
    return r;
}

}  // namespace quobel
