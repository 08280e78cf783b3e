#pragma once
// CDpiDlg: the DPI page: one row (CDpiGridDlg) per DPI level of the current sensor,
// each with its colour swatch and enable check, an X and a Y slider over the sensor's
// DPI steps and the X/Y-separate switch. Changes go into the current profile at once;
// a slider being dragged only shows its value until it is released.

#include <QImage>
#include <QWidget>

#include <array>

#include "base/geometry.h"
#include "ui/pages/page.h"

namespace quobel {

class CColorBtnDlg;
class CPngBtn;
class CPngSliderBar;
struct SensorCfg;
struct SensorDpi;

// One DPI level's row.
class CDpiGridDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSize = 42;

    CDpiGridDlg(const SkinContext& ctx, int index, QWidget* parent);

    void SetPictures(const QImage& normal, const QImage& focused);
    void SetGround(const QImage& page_ground);
    void SetValues(int x, int y);
    [[nodiscard]] int X() const { return m_nX; }
    [[nodiscard]] int Y() const { return m_nY; }
    void SetFocusRow(bool focus);
    [[nodiscard]] bool IsFocusRow() const { return m_bFocus; }
    void SetCurrent(bool current);
    [[nodiscard]] bool IsCurrent() const { return m_bCurrent; }
    void SetXYLayout(bool xy);
    // A disabled level's row is drawn dimmed.
    void SetOff(bool off);
    [[nodiscard]] int Index() const { return m_nIndex; }

signals:
    // The row was clicked: wasFocused tells whether it already was the focused row.
    void RowClicked(bool notFocused, int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    const SkinContext& m_ctx;
    int m_nIndex;
    int m_nX = 0;
    int m_nY = 0;
    bool m_bFocus = false;
    bool m_bCurrent = false;
    bool m_bXY = false;
    bool m_bOff = false;
    QImage m_imgNormal, m_imgFocus, m_imgGround, m_imgPageGround;
};

class CDpiDlg : public CPage {
    Q_OBJECT
public:
    static constexpr int kLevels = 10;
    static constexpr int kWidth = 245;
    static constexpr int kXSliderId = 131;
    static constexpr int kYSliderId = 132;
    static constexpr int kLineX = 138;

    CDpiDlg(PageHost& host, QWidget* parent);

    // Marks level (0-based) as the device's current DPI level and focuses its row.
    void SelectDpiLevel(int level);

    void RefreshFromProfile() override { LoadFromProfile(); }
    void StoreToProfile() override { SaveToProfile(); }
    void ReloadTexts() override { update(); }
    void ReloadSkin() override;

    // Lays the page out for the current sensor (at creation and when it changes).
    void LayoutForSensor();
    void LoadFromProfile();
    void SaveToProfile();
    void FocusRow(int i);
    void MarkCurrent(int i);

    // The controls, for the window's layout and for tests.
    [[nodiscard]] CDpiGridDlg* Row(int i) const { return m_rows.at(static_cast<std::size_t>(i)); }
    [[nodiscard]] CColorBtnDlg* Swatch(int i) const { return m_swatches.at(static_cast<std::size_t>(i)); }
    [[nodiscard]] CPngBtn* Check(int i) const { return m_checks.at(static_cast<std::size_t>(i)); }
    [[nodiscard]] CPngSliderBar* XSlider() const { return m_pX; }
    [[nodiscard]] CPngSliderBar* YSlider() const { return m_pY; }
    [[nodiscard]] CPngBtn* XYButton() const { return m_pXY; }
    [[nodiscard]] int FocusedRow() const;
    [[nodiscard]] int CurrentLevel() const { return m_nCurrent; }
    [[nodiscard]] int LevelCount() const { return m_nLevels; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void CreateControls();
    void SetupSliders(const SensorDpi* dpi, const SensorCfg* sensor);
    void PlaceRightColumn();
    void OnSliderPos(int value, int id);
    void OnSliderDrag(int value, int id);
    void OnRowClicked(bool notFocused, int index);
    void OnCheck(int index);
    void OnXY();
    void Changed();
    [[nodiscard]] bool Separate() const;

    std::array<CDpiGridDlg*, kLevels> m_rows{};
    std::array<CColorBtnDlg*, kLevels> m_swatches{};
    std::array<CPngBtn*, kLevels> m_checks{};
    CPngSliderBar* m_pX = nullptr;
    CPngSliderBar* m_pY = nullptr;
    CPngBtn* m_pXY = nullptr;
    int m_nCurrent = -1;
    int m_nLevels = 0;
    int m_nMinDpi = 0;
    int m_nMaxDpi = 0;
    bool m_bShowXYButton = false;
    QImage m_imgBkg;
};

}  // namespace quobel
