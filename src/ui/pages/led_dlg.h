#pragma once
// CLedDlg: what the mouse, keyboard and pad lighting pages share: the page background
// under the page, captions drawn in the page text colour, the page frame, skinned
// check boxes and sliders, apply requests when ApplyNow is on, dragging the window by
// the background and swallowing the dialog keys.

#include <QImage>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "profile/profile_data.h"
#include "ui/pages/page.h"

namespace quobel {

class CColorBtnDlg;
class CPngBtn;
class CPngSliderBar;

// The crop of the window background (main_nr.png) under a child widget of the window.
QImage MainBackgroundUnder(const SkinContext& ctx, const QWidget* widget);

class CLedDlg : public CPage {
    Q_OBJECT
public:
    // The speed and brightness sliders of every lighting page.
    static constexpr int kSpeedSlider = 148;
    static constexpr int kBrightSlider = 149;
    static constexpr int kSwatches = 7;

    CLedDlg(PageHost& host, QWidget* parent);

    // ShowFromProfile: the profile's lighting into the controls, the picture reset.
    void RefreshFromProfile() override {}
    void ReloadTexts() override;
    void ReloadSkin() override;

    [[nodiscard]] const QImage& Background() const { return m_imgBkg; }
    // The caption of text id, as drawn now (tests find controls by it).
    [[nodiscard]] QString Caption(const std::string& id) const;
    // A swatch of the row (MakeSwatchRow); null before it is made.
    [[nodiscard]] CColorBtnDlg* Swatch(int k) const { return m_swatches.at(static_cast<std::size_t>(k)); }

    // "%x %%": a brightness code's hexadecimal digits read as a percentage.
    static QString HexPercent(int value);

protected:
    // A slider with its caption above it and its value caption right of it.
    struct SliderRow {
        CPngSliderBar* bar = nullptr;
        int caption = -1;
        int value = -1;
    };
    // The caption text_id at top, the slider of n steps under it, the value beside it.
    SliderRow MakeSliderRow(int id, const std::string& text_id, int n, int top, int value_width = 46);
    void ShowSliderRow(const SliderRow& row, bool shown);

    // The caption "tc_adv_str4" at top and seven swatches under it, opened by a double
    // click. A click asks to toggle a swatch: unchecking the last checked one is refused.
    // A colour chosen in a picker checks its swatch. Both call Changed().
    void MakeSwatchRow(int top);
    // The first n swatches and, with any, the caption shown.
    void ShowSwatchRow(int n);
    // The colours of e, checked as its colour mask says.
    void SetSwatches(const LedEffect& e);
    // The colours and the mask of the checked swatches into e.
    void StoreSwatches(LedEffect& e) const;
    // The checked swatches' colours in swatch order; shown_only skips hidden swatches.
    [[nodiscard]] std::vector<Colour> CheckedSwatchColours(bool shown_only) const;
    // What every change of a control does: store it, preview it, send it with ApplyNow.
    virtual void Changed() {}

    // A caption of text id drawn at rc (in the page) in the page text colour.
    int AddCaption(const QRect& rc, const std::string& id, int flags = 0);
    // A caption whose text the page sets (a slider's value).
    int AddValueCaption(const QRect& rc);
    void SetCaptionText(int caption, const QString& text);
    void ShowCaption(int caption, bool shown);
    // A skinned check box (check_nr/ov/dn.png) at top_left.
    CPngBtn* MakeCheckBox(QPoint top_left);
    // A picture button of three pictures at top_left.
    CPngBtn* MakeButton(QPoint top_left, const QString& normal, const QString& over, const QString& pressed);
    // A slider of n steps (values 1..n) over the 170-pixel track at top_left.
    CPngSliderBar* MakeSlider(int id, int n, QPoint top_left);
    // A device apply request with code, when the option ApplyNow is on.
    void ApplyNow(DeviceKind kind, std::uint32_t code);
    // The same, joining a request that still waits behind a running apply.
    void ApplyNowJoining(DeviceKind kind, std::uint32_t code);
    // Children take their background crops again (after a move or a skin change).
    virtual void RefreshChildBackgrounds();

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // A key press or release while a reactive preview runs; true: consumed.
    virtual bool OnPreviewKey(int vk, bool release) {
        (void)vk;
        (void)release;
        return false;
    }

private:
    struct Caption_ {
        QRect rc;
        std::string id;  // empty: a value caption
        QString text;
        int flags = 0;
        bool shown = true;
    };
    void LoadBackground();
    void OnSwatchToggle(bool check, int id);
    void OnSwatchColour(int id);

    QImage m_imgBkg;
    std::array<CColorBtnDlg*, kSwatches> m_swatches{};
    int m_capSwatches = -1;
    std::vector<Caption_> m_captions;
};

}  // namespace quobel
