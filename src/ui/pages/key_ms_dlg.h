#pragma once
// CKeyMsDlg: the mouse button page. One caption per button of the current sensor with
// its number badge, the key-mode radios with their labels, and the function menu that
// assigns a new function to a button of the current mode.
//
// The page keeps no copy of the buttons' functions: captions are rebuilt from the
// current profile, and every assignment goes into the profile at once.

#include <QImage>
#include <QPointer>
#include <QTimer>

#include <array>
#include <cstdint>
#include <vector>

#include "config/key_info.h"
#include "ui/pages/key_mark_dlg.h"
#include "ui/pages/page.h"
#include "ui/skin/skin_menu.h"

namespace quobel {

class CPngBtn;

class CKeyMsDlg : public CPage {
    Q_OBJECT
public:
    static constexpr int kMaxButtons = 21;
    static constexpr int kMenuWidth = 178;
    static constexpr int kHoverMs = 300;   // ID_TIMER_HOVER (112)
    static constexpr std::uint32_t kCaptionDisabledText = 0x646464;

    CKeyMsDlg(PageHost& host, QWidget* parent);

    // The page's size for a configuration: 240 wide, as high as its captions.
    [[nodiscard]] static QSize PageSize(const Config& config);

    // The mouse picture whose marks follow the caption under the cursor; without one
    // the page uses the picture among its siblings.
    void SetMarkDlg(CKeyMarkDlg* marks) { m_pMarks = marks; }

    // Refresh(): captions, badges and radios laid out for the current sensor, the radio
    // of the profile's mode checked, captions of that mode.
    void RefreshFromProfile() override;
    void ReloadTexts() override;
    void ReloadSkin() override;

    // Texts (and tooltips) of the shown captions from the given mode's records.
    void SetCaptions(int mode);
    // Switches the key mode shown (and the profile's Ms.nMode); with bApply the mode
    // block goes to the mouse at once.
    void SwitchMode(int nMode, bool bApply);

    // WM_COMMAND of caption i: opens the function menu below it.
    CSkinMenu* OpenMenu(int button);
    // UM_MENUCMD: translates a menu command into a record for the button and stores it.
    void OnMenuCmd(int cmd, std::intptr_t button);
    // UM_SETKEYFUN: stores a record into a button of the current mode by the page's
    // rules. False when it was refused or there is nothing to store into.
    bool SetKeyFun(int button, const KeyInfo& key);

    // The menu of a button as it would open now (items and parents).
    [[nodiscard]] std::vector<MenuItemEx> BuildMenu(int button) const;

    [[nodiscard]] CPngBtn* Caption(int i) const { return m_captions.at(static_cast<std::size_t>(i)); }
    [[nodiscard]] CPngBtn* Radio(int k) const { return m_radios.at(static_cast<std::size_t>(k)); }
    [[nodiscard]] QWidget* Badge(int i) const { return m_badges.at(static_cast<std::size_t>(i)); }
    [[nodiscard]] int ButtonCount() const;
    [[nodiscard]] int ModeCount() const;
    // The label drawn beside mode radio k ("" for none).
    [[nodiscard]] QString ModeLabel(int k) const;

signals:
    // The key mode changed: the report-rate page shows the mode's rate.
    void ModeSwitched(int mode);
    // The gun-mouse's page set changed (the report-rate and lighting flags).
    void PageSetChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateControls();
    void LoadPictures();
    void UpdateBackgrounds();
    void LayoutControls();
    void SetCaption(int button, const KeyInfo& key);
    void ApplyGunPages(int mode);
    void OnRadio(int k);
    void OnHoverTimer();
    bool MakeKeyFromCommand(int cmd, int button, KeyInfo& key);
    [[nodiscard]] QString CaptionOf(const KeyInfo& key) const;
    [[nodiscard]] bool ValidProfile() const;
    CKeyMarkDlg* Marks();

    QPointer<CKeyMarkDlg> m_pMarks;
    std::array<CPngBtn*, kMaxButtons> m_captions{};
    std::array<QWidget*, kMaxButtons> m_badges{};
    std::array<CPngBtn*, 3> m_radios{};
    QImage m_imgMain;
    QImage m_imgBkg;
    std::array<QImage, kMaxButtons> m_imgNumbers;
    QTimer m_hover;
    int m_nMenuItemsShown = 0;  // top-level items of the last opened menu
    QPoint m_ptDrag;
    bool m_bDragging = false;
};

}  // namespace quobel
