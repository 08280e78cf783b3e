#pragma once
// CColorBtnDlg: the colour swatch. Shows one colour, can be checked, and opens a picker
// (the colour panel or the fixed palette) on a click or a double click.
//
// ColorChanged (UM_COLORCHANGED) tells the parent on every release which check state
// it should set; the parent decides. ColorClick (UM_COLORCLICK) follows a colour chosen
// in a picker. While a picker is open the host's preview is paused.

#include <QWidget>

#include "base/geometry.h"

namespace quobel {

class PageHost;

class CColorBtnDlg : public QWidget {
    Q_OBJECT
public:
    enum OpenMode { kNever = 0, kSingleClick = 1, kDoubleClick = 2 };
    enum PickerKind { kPalette = 0, kPanel = 1 };

    CColorBtnDlg(PageHost& host, QWidget* parent, int id = 0);

    void SetColor(Colour c);
    [[nodiscard]] Colour Color() const { return m_clr; }
    void SetChecked(bool checked);
    [[nodiscard]] bool IsChecked() const { return m_bChecked; }
    void SetId(int id) { m_nId = id; }
    [[nodiscard]] int Id() const { return m_nId; }
    void SetOpenMode(OpenMode mode) { m_nOpenMode = mode; }
    [[nodiscard]] OpenMode GetOpenMode() const { return m_nOpenMode; }
    void SetPickerKind(PickerKind kind) { m_nPicker = kind; }
    void SetFramed(bool framed);
    void SetNoneMark(bool none);
    [[nodiscard]] bool NoneMark() const { return m_bNone; }
    void SetBkColor(Colour c);
    void SetFrameColor(Colour c);
    void SetCheckedFrameColor(Colour c) { m_clrCheckedFrame = c; }

    // Opens the picker as a click of the open mode does; true when a colour was chosen.
    bool OpenPicker();

signals:
    // UM_COLORCHANGED: check = the state the parent should set.
    void ColorChanged(bool check, int id);
    // UM_COLORCLICK: a colour was chosen in a picker and is already shown.
    void ColorClick(Colour colour, int id);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    PageHost& m_host;
    Colour m_clr = 0x00FF00;
    Colour m_clrBk = 0x121212;
    Colour m_clrFrame = 0x969696;
    Colour m_clrCheckedFrame = 0x00FF00;
    OpenMode m_nOpenMode = kDoubleClick;
    PickerKind m_nPicker = kPanel;
    int m_nId = 0;
    bool m_bChecked = false;
    bool m_bFramed = true;
    bool m_bNone = false;
    bool m_bPicking = false;  // a picker opened from this press; its release is not a click
};

}  // namespace quobel
