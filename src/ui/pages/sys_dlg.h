#pragma once
// CSysDlg: the system page: the pointer settings a profile carries (speed, precision,
// wheel lines or one page per notch, double-click time). Changes go into the current
// profile at once; the mouse apply sets them on the system. Values the desktop has no
// setting for are named on the page as not supported here.

#include <QImage>

#include <vector>

#include "platform/pointer.h"
#include "ui/pages/page.h"

namespace quobel {

class CPngBtn;
class CPngSliderBar;

class CSysDlg : public CPage {
    Q_OBJECT
public:
    static constexpr int kWidth = 245;
    static constexpr int kSpeedId = 129;
    static constexpr int kDblClickId = 130;
    static constexpr int kWheelId = 131;
    static constexpr const char* kUnsupportedText = "Not supported here:";

    CSysDlg(PageHost& host, QWidget* parent);

    void LoadFromProfile();
    void SaveToProfile();
    void RefreshFromProfile() override { LoadFromProfile(); }
    void StoreToProfile() override { SaveToProfile(); }
    void ReloadTexts() override { update(); }
    void ReloadSkin() override;

    // The values this desktop cannot set (asked of the system pointer at creation).
    void SetUnsupported(std::vector<PointerValue> values);
    [[nodiscard]] const std::vector<PointerValue>& Unsupported() const { return m_unsupported; }
    // The note the page shows for them; empty when everything is supported.
    [[nodiscard]] QString UnsupportedNote() const;

    [[nodiscard]] CPngSliderBar* SpeedSlider() const { return m_pSpeed; }
    [[nodiscard]] CPngSliderBar* WheelSlider() const { return m_pWheel; }
    [[nodiscard]] CPngSliderBar* DblClickSlider() const { return m_pDblClick; }
    [[nodiscard]] CPngBtn* PrecisionCheck() const { return m_pPrecision; }
    [[nodiscard]] CPngBtn* PageCheck() const { return m_pPage; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void CreateControls();
    void OnSliderPos(int value, int id);
    void OnSliderDrag(int value, int id);
    void OnCheck(CPngBtn* check);
    void Changed();

    CPngSliderBar* m_pSpeed = nullptr;
    CPngSliderBar* m_pWheel = nullptr;
    CPngSliderBar* m_pDblClick = nullptr;
    CPngBtn* m_pPrecision = nullptr;
    CPngBtn* m_pPage = nullptr;
    int m_nSpeedText = 0;
    int m_nWheelText = 0;
    int m_nDblClickText = 0;
    std::vector<PointerValue> m_unsupported;
    QImage m_imgBkg;
};

}  // namespace quobel
