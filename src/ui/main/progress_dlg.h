#pragma once
// CProgressDlg: the small window that shows the progress of an apply.
//
// The apply thread reports through ProgressSink; every call is handed to the GUI
// thread as a queued call, so the sink may be called from any thread while the
// window runs modally.

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

    // ProgressSink, callable from any thread.
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
};

}  // namespace quobel
