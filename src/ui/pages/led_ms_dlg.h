#pragma once
// CLedMsDlg_5307Std: the mouse lighting page: the effect list of the mouse description,
// speed, brightness, the multicolour box, the direction and up to seven colour swatches;
// every change is stored, previewed on the mouse picture and, with ApplyNow, sent.

#include "device/apply_flags.h"
#include "ui/pages/led_dlg.h"

namespace quobel {

class CComboBtn;
class CKeyMarkDlg;
class CPngBtn;
class CPngSliderBar;

class CLedMsDlg_5307Std : public CLedDlg {
    Q_OBJECT
public:
    static constexpr int kLastEffect = 13;
    static constexpr std::uint32_t kApplyLighting = kMsApplyGeneral;
    static constexpr std::int32_t kUp = 3;
    static constexpr std::int32_t kDown = 4;

    CLedMsDlg_5307Std(PageHost& host, QWidget* parent);

    // The mouse picture that shows the preview.
    void SetMarkPage(CKeyMarkDlg* page) { m_pMark = page; }
    void RefreshFromProfile() override;
    void StoreToProfile() override;
    void ReloadTexts() override;

    [[nodiscard]] CComboBtn* EffectList() const { return m_pEffect; }
    // Selects effect a in the list as a click on its entry does; false when it is not listed.
    bool ChooseEffect(int a);
    [[nodiscard]] CPngSliderBar* SpeedSlider() const { return m_speed.bar; }
    [[nodiscard]] CPngSliderBar* BrightSlider() const { return m_bright.bar; }
    [[nodiscard]] CPngBtn* UpButton() const { return m_pUp; }
    [[nodiscard]] CPngBtn* DownButton() const { return m_pDown; }
    [[nodiscard]] CPngBtn* MultiBox() const { return m_pMulti; }
    // The brightness value as the page shows it: "%x %%".
    [[nodiscard]] QString BrightnessText() const;

private:
    void FillList();
    void ShowOptions(int effect);
    void OnEffectCommand();
    void OnSlider(int value, int id);
    void OnDirection(bool up);
    void Changed() override;
    void StartPreview();
    [[nodiscard]] int SelectedEffect() const;

    CKeyMarkDlg* m_pMark = nullptr;
    CComboBtn* m_pEffect = nullptr;
    SliderRow m_speed, m_bright;
    CPngBtn* m_pMulti = nullptr;
    CPngBtn* m_pUp = nullptr;
    CPngBtn* m_pDown = nullptr;
    int m_capDir = -1, m_capMulti = -1;
    bool m_bFilled = false;
};

}  // namespace quobel
