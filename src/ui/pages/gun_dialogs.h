#pragma once
// The gun dialog (one gun) and the gun-mode dialog (two gun slots) of the gun-mode
// mouse, opened from the mouse button page's menu, which stores their result.

#include <QImage>

#include <array>

#include "config/guns.h"
#include "ui/skin/skin_dlg.h"

class QLineEdit;
class QWidget;

namespace quobel {

class CColorBtnDlg;
class CPngBtn;
class CTreeCtrlImageEx;
class PageHost;
struct KeyInfo;
struct MsDevCfg;
struct TreeItem;

// Runs the gun dialog for a button's record; true on OK with key holding the gun
// function and the profile's gun-mode flag set from the dialog's switch.
bool RunGunDialog(PageHost& host, QWidget* parent, KeyInfo& key);
// Runs the gun-mode dialog; true on OK with key holding the one- or two-gun function.
bool RunGunModeDialog(PageHost& host, QWidget* parent, KeyInfo& key);

// The gun dialog: a gun from the list, its sight, its compensation value and colour.
class ChijiDlg : public CSkinDlg {
    Q_OBJECT
public:
    static constexpr int kListId = 0x3E9;

    // ms: the mouse description with the guns' default values (the host's, or another's
    // for a picture of the dialog).
    ChijiDlg(PageHost& host, QWidget* parent, const KeyInfo& key, const MsDevCfg& ms);

    // Before Init: the gun-mode switch is not offered (opened from the gun-mode dialog).
    void HideSwitch(bool hide) { m_bHideSwitch = hide; }
    // Background, controls and the start selection. False when the background is
    // missing ("chiji_nr.png missed" is shown); the dialog then must not run.
    bool Init();

    void SelectGun(int gun);
    [[nodiscard]] int SelectedGun() const { return m_nGun; }
    [[nodiscard]] GunSetting Result() const { return m_result; }
    [[nodiscard]] bool SwitchOn() const { return m_bSwitch; }

    [[nodiscard]] CTreeCtrlImageEx* GunList() const { return m_pList; }
    [[nodiscard]] TreeItem* GunItem(int gun) const { return m_items.at(static_cast<std::size_t>(gun)); }
    [[nodiscard]] CPngBtn* SightRadio(int sight) const { return m_sights.at(static_cast<std::size_t>(sight)); }
    // 0 off, 1 on.
    [[nodiscard]] CPngBtn* SwitchRadio(int i) const { return m_switch.at(static_cast<std::size_t>(i)); }
    [[nodiscard]] QLineEdit* ValueEdit() const { return m_pValue; }
    [[nodiscard]] CColorBtnDlg* ColourButton() const { return m_pColour; }
    [[nodiscard]] CPngBtn* OkButton() const { return m_pOk; }
    [[nodiscard]] CPngBtn* CloseButton() const { return m_pClose; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnSight(int sight);
    void OnSwitch(bool on);
    void OnValueEdited();
    void OnOk();
    [[nodiscard]] int CheckedSight() const;

    PageHost& m_host;
    const MsDevCfg& m_ms;
    std::uint32_t m_nKeyFunID;
    std::uint32_t m_nKeyParam;
    std::array<GunSetting, kGunCount> m_entries{};
    GunSetting m_result;
    int m_nGun = 0;
    bool m_bSwitch = false;
    bool m_bHideSwitch = false;
    QString m_szTitle;
    std::array<TreeItem*, kGunCount> m_items{};
    std::array<CPngBtn*, kGunSights> m_sights{};
    std::array<CPngBtn*, 2> m_switch{};
    CTreeCtrlImageEx* m_pList = nullptr;
    QLineEdit* m_pValue = nullptr;
    CColorBtnDlg* m_pColour = nullptr;
    CPngBtn* m_pOk = nullptr;
    CPngBtn* m_pClose = nullptr;
};

// The gun-mode dialog: two slots, each filled through the gun dialog.
class ChijiModeDlg : public CSkinDlg {
    Q_OBJECT
public:
    static constexpr int kListId = 0x3EA;

    ChijiModeDlg(PageHost& host, QWidget* parent, const KeyInfo& key, const MsDevCfg& ms);
    // False when the background is missing ("chijimd_nr.png missed" is shown).
    bool Init();

    // A slot whose gun number is 0 counts as empty.
    [[nodiscard]] const GunSetting& Slot(int i) const { return m_slots.at(static_cast<std::size_t>(i)); }
    [[nodiscard]] static bool Filled(const GunSetting& s) { return s.gun != 0; }
    // 1 or 2 after OK.
    [[nodiscard]] int Count() const { return m_nCount; }
    [[nodiscard]] bool SwitchOn() const { return m_bSwitch; }

    [[nodiscard]] CTreeCtrlImageEx* SlotList() const { return m_pList; }
    [[nodiscard]] TreeItem* SlotItem(int i) const { return m_items.at(static_cast<std::size_t>(i)); }
    [[nodiscard]] CPngBtn* SwitchRadio(int i) const { return m_switch.at(static_cast<std::size_t>(i)); }
    [[nodiscard]] CPngBtn* OkButton() const { return m_pOk; }
    [[nodiscard]] CPngBtn* CloseButton() const { return m_pClose; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowSlot(int i);
    void OnSlotClick(TreeItem* item);
    void OnSlotRClick(TreeItem* item);
    void OnSwitch(bool on);
    void OnOk();
    [[nodiscard]] int SlotOf(const TreeItem* item) const;

    PageHost& m_host;
    const MsDevCfg& m_ms;
    KeyInfo m_key;
    std::array<GunSetting, 2> m_slots{};
    int m_nCount = 0;
    bool m_bSwitch = false;
    QImage m_imgAdd, m_imgAddOv;
    std::array<QImage, kGunCount> m_imgGun, m_imgGunOv;
    std::array<TreeItem*, 2> m_items{};
    std::array<CPngBtn*, 2> m_switch{};
    CTreeCtrlImageEx* m_pList = nullptr;
    CPngBtn* m_pOk = nullptr;
    CPngBtn* m_pClose = nullptr;
};

}  // namespace quobel
