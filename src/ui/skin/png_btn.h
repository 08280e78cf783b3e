#pragma once
// CPngBtn: the picture button, also used as check box, radio button and mark.
//
// Draws, into one off-screen picture: the crop of the parent's background under the
// button, the state picture, the icon and the caption. The caption colours are the
// three button text colours of the options.

#include <QAbstractButton>
#include <QImage>

#include "ui/skin/skin.h"

namespace quobel {

class CPngBtn : public QAbstractButton {
    Q_OBJECT
public:
    enum CheckStyle { kPush = 0, kCheck = 1 };

    CPngBtn(const SkinContext& ctx, QWidget* parent);

    // Loads the three pictures from the selected skin folder and makes a button of the
    // normal picture's size at top_left. A missing pressed picture is replaced by the
    // normal one; differing sizes show "The size of %s is not equal". Returns null (and
    // creates nothing) when the normal or over picture is missing.
    static CPngBtn* Create(const SkinContext& ctx, QWidget* parent, const QImage& parent_background,
                           QPoint top_left, const QString& normal, const QString& over, const QString& pressed,
                           CheckStyle style, bool tooltip, const QString& caption);

    void SetPictures(const QImage& normal, const QImage& over, const QImage& pressed,
                     const QImage& disabled = {});
    // After a skin change: the state pictures again from the selected skin folder, by the
    // names Create was given. A button made without names, or a skin that lacks the
    // pictures, keeps the ones it has.
    void ReloadPictures();
    // Takes the crop of the parent's background at the button's rectangle; again after
    // every move and skin change.
    void SetBackground(const QImage& parent_background);
    void SetCaption(const QString& text, int indent = 0);
    [[nodiscard]] QString Caption() const { return m_szCaption; }
    void SetIcon(const QImage& icon, int x);
    void SetTextRect(const QRect& r) { m_rcText = r; update(); }
    // An explicit Qt::AlignmentFlag/TextFlag set replacing the default format.
    void SetTextFormat(int flags) { m_nFormat = flags; update(); }
    void SetTextColours(Colour normal, Colour over, Colour pressed);
    void SetCheckStyle(CheckStyle s) { m_nCheckStyle = s; }
    // A radio button: a click checks it and never unchecks it.
    void SetRadio(bool radio) { m_bRadio = radio; }
    void SetAutoToggle(bool on) { m_bAutoToggle = on; }
    void SetPressShift(bool on) { m_bPressShift = on; }
    // Repaints only on change.
    void SetChecked(bool checked);
    [[nodiscard]] bool IsChecked() const { return m_bChecked; }
    [[nodiscard]] bool IsHover() const { return m_bHover; }
    void SetFrameDebug(bool on) { m_bFrameDebug = on; update(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

    // The names ReloadPictures loads again.
    void RememberPictureNames(const QString& normal, const QString& over, const QString& pressed);

    const SkinContext& m_ctx;

private:
    QString m_szNormal, m_szOver, m_szPressed;
    QImage m_imgNormal, m_imgOver, m_imgDown, m_imgDisabled, m_imgIcon, m_imgBkg, m_imgParentBkg;
    int m_nIconX = 0;
    QString m_szCaption;
    int m_nIndent = 0;
    QRect m_rcText;
    int m_nFormat = 0;
    Colour m_clrNr, m_clrOv, m_clrDn;
    CheckStyle m_nCheckStyle = kPush;
    bool m_bChecked = false;
    bool m_bAutoToggle = false;
    bool m_bRadio = false;
    bool m_bHover = false;
    bool m_bPressShift = true;
    bool m_bFrameDebug = false;
};

}  // namespace quobel
