#pragma once
// CLedPadDlg_Std: the pad lighting page: the effect list, speed and brightness, the
// turning direction and seven colour swatches; every change is stored, previewed on the
// pad picture and, with ApplyNow, sent to the pad.

#include <memory>

#include "device/apply_flags.h"
#include "lighting/preview.h"
#include "ui/pages/led_dlg.h"

namespace quobel {

class CComboBtn;
class CPadMarkDlg;
class CPngBtn;
class CPngSliderBar;

class CLedPadDlg_Std : public CLedDlg {
    Q_OBJECT
public:
    static constexpr int kEffects = 11;
    static constexpr std::uint32_t kApplyLighting = kPadApplyGeneral;
    static constexpr std::int32_t kClockwise = 6;
    static constexpr std::int32_t kAnticlockwise = 5;
    // What choosing an effect restores.
    static constexpr Colour kDefaultColours[kSwatches] = {0x0000FF, 0xFF0000, 0x00FF00, 0xFF0080,
                                                         0x03C6FA, 0x6A03FA, 0xFFFFFF};

    CLedPadDlg_Std(PageHost& host, QWidget* parent);
    ~CLedPadDlg_Std() override;

    // The pad picture that shows the preview.
    void SetMarkPage(CPadMarkDlg* page) { m_pMark = page; }
    void RefreshFromProfile() override;
    void StoreToProfile() override;
    void ReloadTexts() override;

    [[nodiscard]] CComboBtn* EffectList() const { return m_pEffect; }
    // Selects effect a in the list as a click on its entry does; false when it is not listed.
    bool ChooseEffect(int a);
    [[nodiscard]] CPngSliderBar* SpeedSlider() const { return m_speed.bar; }
    [[nodiscard]] CPngSliderBar* BrightSlider() const { return m_bright.bar; }
    [[nodiscard]] CPngBtn* ClockwiseButton() const { return m_pCw; }
    [[nodiscard]] CPngBtn* AnticlockwiseButton() const { return m_pAcw; }

private:
    void FillList();
    void ShowOptions(int effect);
    void SetSliders(const LedEffect& e);
    void OnEffectCommand();
    void OnSlider(int value, int id);
    void OnDirection(bool clockwise);
    void Changed() override;
    void StartPreview();
    [[nodiscard]] int SelectedEffect() const;

    CPadMarkDlg* m_pMark = nullptr;
    CComboBtn* m_pEffect = nullptr;
    SliderRow m_speed, m_bright;
    CPngBtn* m_pCw = nullptr;
    CPngBtn* m_pAcw = nullptr;
    int m_capDir = -1;
    bool m_bFilled = false;  // refreshed from a profile at least once
    std::unique_ptr<lighting::RandomSource> m_random;
};

}  // namespace quobel
