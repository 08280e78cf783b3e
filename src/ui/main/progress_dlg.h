#pragma once
// CProgressDlg: the small window that shows the progress of an apply.
//
// The apply thread reports through the window's ProgressLink (Link()); every call is
// handed to the GUI thread as a queued call. The window withdraws the link when it
// closes and when it is destroyed, so an apply that outlives it reaches nothing.

#include <memory>

#include <QImage>
#include <QString>

#include "device/progress_sink.h"
#include "ui/skin/skin_dlg.h"

namespace quobel {

class CPngBtn;

class CProgressDlg : public CSkinDlg, public ProgressSink {
    Q_OBJECT
public:
    static constexpr const char* kWindowTitle = "MyProgressDlg..";

    CProgressDlg(const SkinContext& ctx, QWidget* parent);
    ~CProgressDlg() override;
    CProgressDlg(const CProgressDlg&) = delete;
    CProgressDlg& operator=(const CProgressDlg&) = delete;

    // What an apply request takes (ApplyThreads::RequestApplyWithProgress).
    [[nodiscard]] std::shared_ptr<ProgressLink> Link() const { return m_link; }
    // Closing withdraws the link.
    void done(int r) override;

    // Set before the window opens.
    void SetPictures(const QString& background_path, const QString& bar_path);
    void SetBarRect(const QRect& r) { m_rcBar = r; }
    void SetCaption(const QString& text, const QRect& r) { m_szCaption = text; m_rcCaption = r; }
    void SetRange(int min, int max) { m_iMin = min; m_iMax = max; }
    void SetDebug(bool on) { m_bDebug = on; }
    // Loads the pictures, creates the exit button, centres and titles the window.
    // False ("ProgressDlg skin loss" shown) when a picture is missing; the window then
    // closes as soon as it runs.
    bool Init();

    // UM_SETPOS: a position outside the range gives the minimum.
    void OnSetPos(int pos);
    [[nodiscard]] int Pos() const { return m_iPos; }
    // The bar's right edge for the current position.
    [[nodiscard]] int BarEnd() const;

    // ProgressSink, callable from any thread (through the link).
    void SetPos(int pos) override;
    void Close() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    QString m_szBkgPath, m_szBarPath;
    QImage m_imgBar;
    CPngBtn* m_pExit = nullptr;
    int m_iMin = 0;
    int m_iMax = 10;
    int m_iPos = 0;
    QString m_szCaption;
    QRect m_rcCaption;
    QRect m_rcBar;
    bool m_bDebug = false;
    QFont m_font;
    std::shared_ptr<ProgressLink> m_link;
};

}  // namespace quobel
