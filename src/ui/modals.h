#pragma once
// Modals: the one way the window and its pages open anything modal — skinned message
// boxes, dialogs, file choosers. The program runs them for real; a test hands in its own
// Modals that answers them without a person, so no modal loop can hang a headless run.

#include <QString>

class QDialog;
class QWidget;

namespace quobel {

struct SkinContext;

class Modals {
public:
    virtual ~Modals() = default;

    // Runs dlg modally and returns its result code.
    virtual int Exec(QDialog& dlg);
    // A file to read or to write; empty when the user cancelled. filter in Qt's form,
    // e.g. "mck (*.mck)"; a file to write typed without extension gets the filter's.
    virtual QString OpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter);
    virtual QString SaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter);
    // An existing folder; empty when the user cancelled.
    virtual QString ExistingFolder(QWidget* parent, const QString& caption, const QString& dir);

    // The skinned message box through Exec: 1 for OK, 2 otherwise.
    int Info(const SkinContext& ctx, QWidget* parent, const QString& text);
    int Ask(const SkinContext& ctx, QWidget* parent, const QString& text);
    // A text prompt; on OK *text holds the answer.
    int AskText(const SkinContext& ctx, QWidget* parent, const QString& prompt, QString* text);
};

}  // namespace quobel
