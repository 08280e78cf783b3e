#pragma once
// CQuobelDlg: the one top-level window. It owns the device objects of the configured
// kinds, their apply threads, the profiles and the macros; it lays out and hosts the
// setting pages of the selected device and carries the buttons, the device list, the
// section headers, the tray icon and the automatic profile switch.
//
// Everything runs on the window's thread. The apply threads and the mouse's service
// thread reach the window only by queued calls; the window reaches them only through
// ApplyThreads and the transports.

#include <QIcon>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "base/reporter.h"
#include "config/config.h"
#include "config/device_kinds.h"
#include "config/text_table.h"
#include "device/apply_thread.h"
#include "device/device_pair.h"
#include "macro/macro_list.h"
#include "platform/hid/hid.h"
#include "platform/hotplug/hotplug.h"
#include "profile/profile_list.h"
#include "ui/pages/page.h"
#include "ui/skin/skin.h"

class QLineEdit;
class QMenu;
class QSoundEffect;
class QSystemTrayIcon;

namespace quobel {

class CComboBtn;
class CDpiDlg;
class CKBColorDlg;
class CKeyMarkDlg;
class CKeyMsDlg;
class CLedKbDlg_642Std;
class CLedMsDlg_5307Std;
class CLedPadDlg_Std;
class CNotifyDlg;
class CPadMarkDlg;
class CPngBtn;
class CProfileControls;
class CProgressDlg;
class CRateDlg;
class CSysDlg;
class CTreeCtrlEx;
class IdGenerator;
class ProcessList;
class QtTranslations;
class Sleeper;
class SystemPointer;
struct TreeItem;

// What the composition root (the application, a test) hands the window. Everything
// outlives the window.
struct WindowEnv {
    Config* config = nullptr;          // read by start-up, with the data folder
    TextTable* texts = nullptr;
    Reporter* reporter = nullptr;      // plain system boxes
    // The HID access of each kind (mouse, keyboard, pad); null: none.
    std::array<HidBackend*, 3> hid{};
    std::array<Sleeper*, 3> sleeper{};  // pauses of the device exchanges, per kind
    Modals* modals = nullptr;
    const ProcessList* processes = nullptr;  // null: no automatic switch
    IdGenerator* ids = nullptr;
    // The desktop's pointer settings, written with the mouse's flag 8; null leaves them
    // alone (simulated devices, tests).
    SystemPointer* pointer = nullptr;
    // Arrival and removal of devices (udev, or the simulated devices); null: none.
    HotplugSource* hotplug = nullptr;
    QFont font;                        // the application font
    // False: the tray icon is not added even where TrayIcon asks for it (no system tray).
    bool trayAvailable = true;
    // Qt's own texts, selected again after a language change; null: left as they are.
    QtTranslations* qtTexts = nullptr;
};

// Positions of the window's elements, from the options and the current sensor.
struct MainLayout {
    QRect minBtn, exitBtn, keyArea, msArea, macroMs, macroKb, combo, proCaption, add, del, more, edit528,
        devList, devListCaption, home, drv, version, restore, apply;
    QPoint headers, msMark, padMark;
    bool homeCaption = false;  // placed automatically: captioned with tc_web
};
[[nodiscard]] MainLayout ComputeMainLayout(const GVar& g, const SensorCfg* sensor, bool mouse_configured);

class CQuobelDlg : public QWidget, public PageHost {
    Q_OBJECT
public:
    enum Button { kMin, kExit, kRestore, kApply, kMacro, kAdd, kDel, kMore, kHome, kDrv, kButtons };
    static constexpr int kHeaders = 6;
    static constexpr int kUsedHeaders = 4;
    static constexpr int kDevListId = 256;
    static constexpr int kAutoSwitchMs = 1300;
    // The window menu's last item; empty: the item and its separator are left out.
    static constexpr const char* kAboutItem = "&About Quobel...";

    explicit CQuobelDlg(WindowEnv env, QWidget* parent = nullptr);
    ~CQuobelDlg() override;

    // Start-up of the window. False when the window must close at once (a message
    // was shown); the caller then ends.
    bool OnInitDialog();

    // PageHost.
    [[nodiscard]] const SkinContext& Skin() const override { return m_ctx; }
    [[nodiscard]] Config& Cfg() override { return *m_env.config; }
    [[nodiscard]] ProfileData* CurrentProfile() override { return m_profiles.Current(); }
    [[nodiscard]] MacroList& Macros() override { return m_macros; }
    [[nodiscard]] CHidDrv* Transport(DeviceKind kind) override { return m_devs[Index(kind)].drv.get(); }
    [[nodiscard]] CHidDev* Device(DeviceKind kind) override { return m_devs[Index(kind)].dev.get(); }
    void RequestApply(DeviceKind kind, std::uint32_t flags) override;
    void RequestApplyJoining(DeviceKind kind, std::uint32_t flags) override;
    void PausePreview(bool pause) override;
    [[nodiscard]] Modals& Modal() override { return *m_env.modals; }
    [[nodiscard]] Log& GetLog() override;
    [[nodiscard]] QWidget* Window() override { return this; }

    // The tray's double click, a second start: shows the window (profiles reloaded
    // when it was hidden).
    void OnConfig();
    // Closes the macro editor and open message boxes, then the window.
    void Exit();
    void SelectProfile(std::uint32_t id);
    void ShowKind(DeviceKind kind);
    void ExpandSection(int index);
    void ReloadTexts();
    void ReloadSkin();
    // Changes the shared configuration while no device thread reads its description.
    void ChangeConfig(const std::function<void(Config&)>& change);
    // After the selected language changed: its texts, Qt's texts, ReloadTexts.
    void ReloadLanguage();
    // The one looping sound of the window: a profile's, or a preview of one.
    void PlayLoopingSound(const QString& path);
    void StopSound();
    // The file that loops now; empty when none does.
    [[nodiscard]] const QString& PlayingSound() const { return m_szPlaying; }
    // One tick of the automatic profile switch.
    void AutoSwitch();
    // UM_KEYCLICK, UM_KEYRCLICK and UM_LEDMODE of the keyboard pages.
    void OnKeyClick(int slot);
    void OnKeyRClick(int slot);
    void OnLedMode(int mode);
    // The window menu at a screen position (right click on the background, Alt+Space).
    void OpenSystemMenu(QPoint global);
    // Its About item: the title and the version in a message box.
    void OnAbout();
    // Device events (quobel_dlg_events.cpp), on the window's thread. A device arrived
    // or was removed: searched or dropped by the kind its name carries.
    void OnDeviceChange(const DeviceEvent& event);
    // A notification report of the mouse: popup, DPI level and key mode.
    void OnDeviceBehavior(std::uint32_t report);
    // Open attempts after an arrival: a pause, then FindDev, at most this many times.
    static constexpr int kArrivalTries = 6;
    static constexpr std::array<int, 3> kArrivalPauseMs = {200, 100, 100};

    // What tests and the screenshots look at.
    [[nodiscard]] CPngBtn* Btn(Button b) const { return m_btn[b]; }
    [[nodiscard]] CPngBtn* Header(int i) const { return m_headers[static_cast<std::size_t>(i)]; }
    [[nodiscard]] int ExpandedSection() const { return m_nExpanded; }
    [[nodiscard]] CTreeCtrlEx* DeviceList() const { return m_pDevList; }
    [[nodiscard]] CComboBtn* ProfileCombo() const { return m_pCombo; }
    [[nodiscard]] CProfileControls* ProfileControls() const { return m_pProfileCtl; }
    [[nodiscard]] DeviceKind SelectedKind() const { return m_selKind; }
    [[nodiscard]] CProList& Profiles() { return m_profiles; }
    [[nodiscard]] ApplyThreads& Threads() { return *m_threads; }
    [[nodiscard]] bool HasTray() const { return m_pTray != nullptr; }
    [[nodiscard]] bool ShowPermission() const { return m_bShowPermission; }
    [[nodiscard]] const MainLayout& Layout() const { return m_layout; }
    [[nodiscard]] CPage* SectionPage(int header) const { return m_sectionPage[static_cast<std::size_t>(header)]; }
    [[nodiscard]] CKeyMarkDlg* MouseMark() const { return m_pKeyMark; }
    [[nodiscard]] CKeyMsDlg* MouseButtons() const { return m_pKeyMs; }
    [[nodiscard]] CDpiDlg* DpiPage() const { return m_pDpi; }
    [[nodiscard]] CSysDlg* SysPage() const { return m_pSys; }
    [[nodiscard]] CRateDlg* RatePage() const { return m_pRate; }
    [[nodiscard]] CLedMsDlg_5307Std* MouseLight() const { return m_pLedMs; }
    [[nodiscard]] CKBColorDlg* Keyboard() const { return m_pKbColor; }
    [[nodiscard]] CLedKbDlg_642Std* KeyboardLight() const { return m_pLedKb; }
    [[nodiscard]] CPadMarkDlg* PadMark() const { return m_pPadMark; }
    [[nodiscard]] CLedPadDlg_Std* PadLight() const { return m_pLedPad; }
    [[nodiscard]] CNotifyDlg* Notify() const { return m_pNotify; }
    // The DPI level the mouse last reported.
    [[nodiscard]] int CurrentDpiIndex() const { return m_nCurDpi; }
    // Open attempts of kind that are still to come after an arrival (0: none pending).
    [[nodiscard]] int ArrivalTriesLeft(DeviceKind kind) const;
    // The text of the last tray balloon shown (empty: none).
    [[nodiscard]] const QString& LastBalloon() const { return m_lastBalloon; }
    // The progress window of the apply that runs now, or null.
    [[nodiscard]] CProgressDlg* Progress() const { return m_pProgress; }
    // The window menu once it was opened, or null.
    [[nodiscard]] QMenu* SystemMenu() const { return m_pSysMenu; }
    // The macro-in-use check the macro editor gets: true (message shown) when the
    // current profile assigns the macro.
    bool MacroInUse(std::uint32_t macro_id);

    static std::size_t Index(DeviceKind kind) { return static_cast<std::size_t>(kind) - 1; }

signals:
    // The window has closed for good; the application ends.
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class QueuedReporter;

    bool CreateDevices();
    bool Build();
    void BuildButtons();
    void BuildMousePages();
    void BuildKeyboardPages();
    void BuildPadPages();
    void BuildDeviceList();
    void AddDeviceListItem(DeviceKind kind, bool select);
    // The pages and device-list item of a kind first found after start.
    void AddKindPages(DeviceKind kind);
    void ApplyShape();
    void AddTray();
    void LoadProfiles();
    void PlayProfileSound();
    void RefreshPages();
    void StorePages(DeviceKind kind);
    // Runs the progress window over an apply of kind's thread; false when nothing ran.
    bool RunProgressApply(DeviceKind kind);
    void SaveProfileFiles();
    void OnApply();
    void OnRestore();
    void OnMacro();
    void OnHomePage();
    void OnDriverSettings();
    void OnExitButton();
    void OnListItemClick(int id, TreeItem* item);
    void PlaceMacroButton(DeviceKind kind);
    void UpdateProfileCombo();
    bool GunCheckOk() const;
    void Publish();
    [[nodiscard]] QString Text(const char* id) const;
    void Info(const QString& text);
    CPngBtn* MakeButton(const QRect& r, const char* base, const char* over, const char* down, const QString& caption);
    CPngBtn* MakeHotArea(const QRect& r, const QString& caption);
    void Teardown();
    void StartHotplug();
    void ArrivalAttempt(DeviceKind kind);
    void OnDeviceOpened(DeviceKind kind);
    void SensorAutoSwitch();
    void OnDeviceGone();
    void ShowBalloon(const QString& text);

    WindowEnv m_env;
    SkinContext m_ctx;
    CProList m_profiles;
    MacroList m_macros;
    std::unique_ptr<QueuedReporter> m_applyReporter;
    LockedProfile m_published;
    std::array<DevicePair, 3> m_devs;
    std::array<std::unique_ptr<DeviceApplyTarget>, 3> m_targets;
    std::unique_ptr<ApplyThreads> m_threads;  // after the targets: stopped before they go
    unsigned m_nPresent = 0;                  // bit 0 mouse, 1 keyboard, 2 pad
    DeviceKind m_selKind = DeviceKind::Mouse;
    bool m_bShowPermission = true;
    bool m_bTornDown = false;
    bool m_bClosing = false;
    QIcon m_icon;
    QImage m_imgBkg;
    MainLayout m_layout;
    std::array<CPngBtn*, kButtons> m_btn{};
    std::array<CPngBtn*, kHeaders> m_headers{};
    std::array<CPage*, kHeaders> m_sectionPage{};
    int m_nExpanded = -1;
    CComboBtn* m_pCombo = nullptr;
    CProfileControls* m_pProfileCtl = nullptr;  // a child of the window
    CTreeCtrlEx* m_pDevList = nullptr;
    QLineEdit* m_pEdit528 = nullptr;
    CKeyMarkDlg* m_pKeyMark = nullptr;
    CKeyMsDlg* m_pKeyMs = nullptr;
    CDpiDlg* m_pDpi = nullptr;
    CSysDlg* m_pSys = nullptr;
    CRateDlg* m_pRate = nullptr;
    CLedMsDlg_5307Std* m_pLedMs = nullptr;
    CKBColorDlg* m_pKbColor = nullptr;
    CLedKbDlg_642Std* m_pLedKb = nullptr;
    CPadMarkDlg* m_pPadMark = nullptr;
    CLedPadDlg_Std* m_pLedPad = nullptr;
    CNotifyDlg* m_pNotify = nullptr;
    CProgressDlg* m_pProgress = nullptr;
    QRect m_rcKbHint;
    QSystemTrayIcon* m_pTray = nullptr;
    QMenu* m_pSysMenu = nullptr;
    QSoundEffect* m_pSound = nullptr;
    QString m_szPlaying;
    QTimer m_autoSwitch;
    QPoint m_ptDrag;
    bool m_bDragging = false;
    bool m_bPainted = false;  // the first paint has been marked
    // Device events.
    std::array<QTimer*, 3> m_arrival{};       // the pause before each open attempt
    std::array<int, 3> m_nArrivalTries{};     // attempts made since the last arrival
    int m_nCurDpi = 0;
    QString m_lastBalloon;
};

}  // namespace quobel
