#pragma once
// CRateDlg: the report-rate page: the rates the current sensor offers, for the current
// key mode of the profile. A choice changes only that mode's rate.

#include <QImage>

#include "ui/pages/page.h"

namespace quobel {

class CComboBtn;

class CRateDlg : public CPage {
    Q_OBJECT
public:
    static constexpr int kWidth = 245;
    static constexpr int kHeight = 72;

    CRateDlg(PageHost& host, QWidget* parent);

    // The sensor's rates as items (at creation and when the sensor changes).
    void FillForSensor();
    // Selects the rate of the profile's current key mode; the window calls it after a
    // profile change and the mouse button page after a key-mode switch.
    void ShowCurrentMode();

    void RefreshFromProfile() override { ShowCurrentMode(); }
    void StoreToProfile() override;
    void ReloadTexts() override;
    void ReloadSkin() override;

    [[nodiscard]] CComboBtn* Combo() const { return m_pCombo; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void OnCommand();

    CComboBtn* m_pCombo = nullptr;
    QImage m_imgBkg;
};

}  // namespace quobel
