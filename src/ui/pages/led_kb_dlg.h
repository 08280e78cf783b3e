#pragma once
// CLedKbDlg_642Std: the keyboard lighting page: the running effect with its speed,
// brightness, direction, multicolour switch and colour, or the per-key colour mode with
// its colour groups, painted on the keyboard picture.

#include <cstdint>

#include "device/apply_flags.h"
#include "ui/pages/led_dlg.h"

namespace quobel {

class CColorBtnDlg;
class CComboBtn;
class CKBColorDlg;
class CPngBtn;
class CPngSliderBar;

class CLedKbDlg_642Std : public CLedDlg {
    Q_OBJECT
public:
    static constexpr int kPaintSwatch = 272;
    static constexpr int kFillSwatch = 273;
    // Apply requests: header; header and every group; header and the current pair.
    static constexpr std::uint32_t kApplyHeader = kKbApplyHeader;
    static constexpr std::uint32_t kApplyAllGroups = kKbApplyHeader | kKbApplyAllGroups;
    static constexpr std::uint32_t kApplyGroupPair = kKbApplyHeader | kKbApplyGroupPair;

    CLedKbDlg_642Std(PageHost& host, QWidget* parent);

    // The keyboard picture this page paints on.
    void SetPicture(CKBColorDlg* picture);
    // A key click or right click passed on by the window in lighting mode.
    void OnKeyClick(int slot);
    void OnKeyRClick(int slot);

    // ShowFromProfile.
    void RefreshFromProfile() override;
    void StoreToProfile() override;
    void ReloadTexts() override;

    // The controls, for the window's screenshots and the tests.
    [[nodiscard]] CComboBtn* EffectList() const { return m_pEffect; }
    [[nodiscard]] CComboBtn* GroupList() const { return m_pGroup; }
    [[nodiscard]] CPngSliderBar* SpeedSlider() const { return m_pSpeed; }
    [[nodiscard]] CPngSliderBar* BrightSlider() const { return m_pBright; }
    [[nodiscard]] CPngBtn* KeyModeBox() const { return m_pKeyMode; }
    [[nodiscard]] CPngBtn* LightModeBox() const { return m_pLightMode; }
    [[nodiscard]] CPngBtn* LeftButton() const { return m_pLeft; }
    [[nodiscard]] CPngBtn* RightButton() const { return m_pRight; }
    [[nodiscard]] CPngBtn* MultiBox() const { return m_pMulti; }
    [[nodiscard]] CColorBtnDlg* EffectSwatch() const { return m_pColour; }
    [[nodiscard]] CColorBtnDlg* PaintSwatch() const { return m_pPaint; }
    [[nodiscard]] CColorBtnDlg* FillSwatch() const { return m_pFill; }
    // Chooses an offered effect (item data) as a choice in the effect list does; false
    // when the list does not offer it.
    bool ChooseEffect(int a);
    // Chooses the first offered effect whose device code is `code` (its preview type).
    bool ChooseEffectOfCode(int code);
    // The item data of the per-key colour entry (the effect count).
    [[nodiscard]] int PerKeyEntry() const;

signals:
    // UM_LEDMODE: 1 lighting mode, 0 key-function mode.
    void ledModeChanged(int mode);

protected:
    bool OnPreviewKey(int vk, bool release) override;

private:
    void FillLists();
    void ShowEffect(int a);
    void StartPreview();
    void ShowGroupKeys();
    void ShowEffectControls(bool shown);
    [[nodiscard]] bool GroupEditable(int group) const;
    [[nodiscard]] int SelectedEffect() const;
    [[nodiscard]] int SelectedGroup() const;
    [[nodiscard]] int SelectedGroupFromProfile() const;
    void StoreAndApply(std::uint32_t code);

    void OnEffectCommand();
    void OnGroupCommand();
    void OnMultiClicked();
    void OnDirection(bool left);
    void OnModeBox(bool lighting);
    void OnSlider(int value, int id, bool released);
    void OnColorClick(Colour c, int id);

    CKBColorDlg* m_pPicture = nullptr;
    CPngBtn* m_pKeyMode = nullptr;
    CPngBtn* m_pLightMode = nullptr;
    CComboBtn* m_pEffect = nullptr;
    CPngSliderBar* m_pSpeed = nullptr;
    CPngSliderBar* m_pBright = nullptr;
    CPngBtn* m_pLeft = nullptr;
    CPngBtn* m_pRight = nullptr;
    CPngBtn* m_pMulti = nullptr;
    CColorBtnDlg* m_pColour = nullptr;
    CComboBtn* m_pGroup = nullptr;
    CColorBtnDlg* m_pPaint = nullptr;
    CColorBtnDlg* m_pFill = nullptr;
    int m_capSpeed = -1, m_capSpeedValue = -1, m_capBright = -1, m_capBrightValue = -1, m_capDir = -1;
    int m_capMulti = -1, m_capColour = -1, m_capGroup = -1, m_capPaint = -1, m_capFill = -1;
};

}  // namespace quobel
