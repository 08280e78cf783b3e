// The screenshot list of `quobel --simulate --screenshot DIR`.
//
// To add a state: write a function `QWidget* Name(Shot& s)` in the block of your area
// below that puts s.wnd into the state (click its real controls with QTest, or call the
// operations a click would) or builds your dialog into s.owned (initialised, not
// exec'ed), and returns the widget to photograph; then add one line
// `{"your-name", Name},` to kStates. The window is fresh for every state, shown
// offscreen over the simulated devices and a temporary data folder; it is destroyed
// after the picture. Keep names lower-case with '-', prefixed by your area
// ("dpi-...", "macro-...").

#include "ui/main/screenshots.h"

#include <QApplication>
#include <QKeyEvent>
#include <QDir>
#include <QLabel>
#include <QPainter>

#include <algorithm>
#include <cstdio>

#include "config/options.h"
#include "macro/macro_file.h"
#include "macro/macro_folder.h"
#include "platform/ini.h"
#include "profile/profile_defaults.h"
#include "ui/macro/macro_dlg.h"
#include "ui/main/drv_set_dlg.h"
#include "ui/main/profile_controls.h"
#include "ui/main/progress_dlg.h"
#include "ui/pages/color_panel_dlg.h"
#include "ui/pages/dpi_dlg.h"
#include "ui/pages/gun_dialogs.h"
#include "ui/pages/pick_clr_dlg.h"
#include "ui/pages/rate_dlg.h"
#include "ui/pages/sys_dlg.h"
#include "ui/main/quobel_dlg.h"
#include "ui/pages/firekey_dlg.h"
#include "ui/pages/kb_color_dlg.h"
#include "ui/pages/key_fun_pick_dlg.h"
#include "ui/pages/key_mark_dlg.h"
#include "ui/pages/key_ms_dlg.h"
#include "ui/pages/pick_macro_dlg.h"
#include "ui/pages/led_kb_dlg.h"
#include "ui/pages/led_ms_dlg.h"
#include "ui/pages/led_pad_dlg.h"
#include "ui/pages/pad_mark_dlg.h"
#include "ui/skin/msg_dlg.h"
#include "ui/skin/notify_dlg.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/skin_menu.h"
#include "ui/skin/tree_ctrl.h"

namespace quobel {

namespace {

QWidget* SelectKind(Shot& s, DeviceKind kind) {
    s.wnd.ShowKind(kind);
    if (CTreeCtrlEx* list = s.wnd.DeviceList()) {
        if (TreeItem* item = list->FindTopLevel(static_cast<std::uint32_t>(kind))) list->SelectItem(item);
    }
    return &s.wnd;
}

// ---- main window ----
QWidget* MainMouse(Shot& s) { return SelectKind(s, DeviceKind::Mouse); }
QWidget* MainKeyboard(Shot& s) { return SelectKind(s, DeviceKind::Keyboard); }
QWidget* MainPad(Shot& s) { return SelectKind(s, DeviceKind::Pad); }

// The keyboard in key-function mode with F1 given another function; with fn, the Fn
// key held, the Fn layer shown and F1's Fn function changed.
QWidget* MainKeyboardKeys(Shot& s, bool fn) {
    SelectKind(s, DeviceKind::Keyboard);
    CLedKbDlg_642Std* light = s.wnd.KeyboardLight();
    ProfileData* p = s.wnd.CurrentProfile();
    if (!light || !light->KeyModeBox() || !p || !s.wnd.Keyboard()) return nullptr;
    light->KeyModeBox()->click();
    constexpr std::uint32_t kMute = 0x04000028;
    (fn ? p->Kb.Keys[1].FnFun.FunID : p->Kb.Keys[1].FunID) = kMute;
    if (fn) s.wnd.OnKeyClick(97);  // the Fn key's cell
    s.wnd.Keyboard()->RefreshFromProfile();
    return &s.wnd;
}
QWidget* MainKeyboardMain(Shot& s) { return MainKeyboardKeys(s, false); }
QWidget* MainKeyboardFn(Shot& s) { return MainKeyboardKeys(s, true); }

QWidget* Progress(Shot& s) {
    const SkinContext& ctx = s.wnd.Skin();
    auto dlg = std::make_unique<CProgressDlg>(ctx, &s.wnd);
    dlg->SetPictures(ctx.CommonPath("progress_nr.png"), ctx.CommonPath("progress_ov.png"));
    dlg->SetBarRect(QRect(QPoint(45, 101), QPoint(486, 123)));
    dlg->SetCaption(ctx.Text("tc_msg12"), QRect(QPoint(15, 12), QPoint(455, 32)));
    dlg->SetRange(0, 100);
    (void)dlg->Init();
    dlg->OnSetPos(60);
    QWidget* w = dlg.get();
    s.owned = std::move(dlg);
    return w;
}

QWidget* MsgNoDevice(Shot& s) {
    auto dlg = std::make_unique<CMsgDlg>(s.wnd.Skin(), &s.wnd, CMsgDlg::kInfo, s.wnd.Skin().Text("tc_msg13"));
    (void)dlg->Init();
    QWidget* w = dlg.get();
    s.owned = std::move(dlg);
    return w;
}

// ---- profiles ----
// The window with a menu of the profile controls open over it.
QWidget* WindowWithMenu(Shot& s, CSkinMenu* menu);

QWidget* ProfileMenu(Shot& s) {
    SelectKind(s, DeviceKind::Mouse);
    CProfileControls* ctl = s.wnd.ProfileControls();
    if (!ctl) return nullptr;
    // A second profile, so the list shows more than the defaults.
    ProfileData p;
    CreateProfile(p, PartsOf(s.wnd.Cfg()), "Racing (night)", s.wnd.Cfg(), SystemIdGenerator());
    (void)s.wnd.Profiles().AddProfile(p);
    ctl->ShowCurrent();
    return WindowWithMenu(s, ctl->OpenProfileMenu());
}

QWidget* MoreMenu(Shot& s) {
    SelectKind(s, DeviceKind::Mouse);
    CProfileControls* ctl = s.wnd.ProfileControls();
    return ctl ? WindowWithMenu(s, ctl->OpenMoreMenu()) : nullptr;
}

// ---- pages: add your states here ----

// ---- dpi ----
template <class Dlg>
QWidget* Own(Shot& s, std::unique_ptr<Dlg> dlg) {
    QWidget* w = dlg.get();
    s.owned = std::move(dlg);
    return w;
}

QWidget* WindowWithMenu(Shot& s, CSkinMenu* menu) {
    if (menu == nullptr) return nullptr;
    // The menu is a window of its own: drawn over the window where it opened.
    QPixmap picture = s.wnd.grab();
    {
        QPainter p(&picture);
        p.drawPixmap(menu->pos() - s.wnd.pos(), menu->grab());
    }
    CSkinMenu::DestroyMenuEx();
    auto holder = std::make_unique<QLabel>();
    holder->setPixmap(picture);
    holder->resize(picture.deviceIndependentSize().toSize());
    return Own(s, std::move(holder));
}

QWidget* DpiPage(Shot& s) {
    SelectKind(s, DeviceKind::Mouse);
    CDpiDlg* page = s.wnd.DpiPage();
    if (page == nullptr) return nullptr;
    page->SelectDpiLevel(1);
    if (page->XYButton() && !page->XYButton()->IsChecked()) page->XYButton()->click();
    if (page->LevelCount() > 3 && page->Check(3)) page->Check(3)->click();
    return page;
}

QWidget* RatePage(Shot& s) {
    SelectKind(s, DeviceKind::Mouse);
    return s.wnd.RatePage();
}

QWidget* SystemPage(Shot& s) {
    SelectKind(s, DeviceKind::Mouse);
    return s.wnd.SysPage();
}

QWidget* ColourPanel(Shot& s) { return Own(s, std::make_unique<CColorPanelDlg>(s.wnd, &s.wnd, Rgb(255, 128, 0))); }

QWidget* PickColour(Shot& s) {
    auto dlg = std::make_unique<CPickClrDlg>(s.wnd, &s.wnd, s.wnd.Skin().Text("tc_ms8"));
    if (!dlg->HasBackground()) return nullptr;
    return Own(s, std::move(dlg));
}

// The gun dialogs belong to the gun mouse: its description from the shipped example.
const MsDevCfg& GunMouse(Shot& s) {
    static Config gun;
    static bool read = false;
    if (!read) {
        CollectingReporter quiet;
        const IniFile ini = IniFile::Load(s.wnd.Cfg().szAppPath + "examples/cj1-gun/cfg.ini");
        ReadOptions(ini, gun, quiet, ProcessLog(), {});
        read = true;
    }
    return gun.gVar.MsDev;
}

QWidget* Gun(Shot& s) {
    KeyInfo key;
    key.FunID = kGunFunID;
    SetKeyParam(key, OneGunParam({1, 1, 45}));
    if (ProfileData* p = s.wnd.CurrentProfile()) std::copy(GunMouse(s).clrGun.begin(), GunMouse(s).clrGun.end(), p->clrGun);
    auto dlg = std::make_unique<ChijiDlg>(s.wnd, &s.wnd, key, GunMouse(s));
    if (!dlg->Init()) return nullptr;
    return Own(s, std::move(dlg));
}

QWidget* GunMode(Shot& s) {
    KeyInfo key;
    key.FunID = kGunFunID;
    SetKeyParam(key, TwoGunParam({4, 1, 44}, {2, 2, 10}));
    auto dlg = std::make_unique<ChijiModeDlg>(s.wnd, &s.wnd, key, GunMouse(s));
    if (!dlg->Init()) return nullptr;
    return Own(s, std::move(dlg));
}

// ---- macro editor ----
// A macro "Reload" with recorded delays in the group "Games", and one in the root.
std::uint32_t AddSampleMacros(CQuobelDlg& wnd) {
    const std::string folder = MacroFolderOf(wnd.Cfg().szDataPath);
    const auto add = [&](const std::string& path, const char* name, std::initializer_list<MacroEvent> events) {
        MacroRecord r = NewMacroRecord(name, SystemIdGenerator());
        int i = 0;
        for (const MacroEvent& e : events) r.events[i++] = e;
        (void)MyCreateFile(folder + path, EncodeMacroFile(r));
        return wnd.Macros().Add(r)->MacroID;
    };
    (void)add("/Sprint.mck", "Sprint", {{0x10, 1, 0}, {'W', 1, 400}, {'W', 0, 0}, {0x10, 0, 0}});
    return add("/Games/Reload.mck", "Reload",
               {{'R', 1, 62}, {'R', 0, 180}, {0xA3, 1, 35}, {'1', 1, 48}, {'1', 0, 20}, {0xA3, 0, 0}});
}

CMacroDlg* MacroEditor(Shot& s, QWidget* parent) {
    const std::uint32_t id = AddSampleMacros(s.wnd);
    auto* dlg = new CMacroDlg(s.wnd, parent, {}, 1);
    (void)dlg->SelectMacro(id);
    return dlg;
}

// The editor as it shows on screen: the colour key cut away, and with the insert menu
// open (a window of its own) drawn over it.
QWidget* MacroShot(Shot& s, bool with_menu) {
    auto holder = std::make_unique<QLabel>();
    holder->setAttribute(Qt::WA_TranslucentBackground);
    CMacroDlg* dlg = MacroEditor(s, holder.get());
    dlg->show();
    CSkinMenu* menu = nullptr;
    if (with_menu && dlg->InsertButton()) {
        dlg->InsertButton()->click();
        menu = CSkinMenu::OpenMenu();
    }
    const QRect menu_at = menu ? QRect(menu->pos() - dlg->pos(), menu->size()) : QRect();
    QImage face = dlg->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = ToQColor(s.wnd.Skin().gvar->clrMaskMsg).rgb();
    for (int y = 0; y < face.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(face.scanLine(y));
        for (int x = 0; x < face.width(); ++x) {
            if ((line[x] | 0xFF000000u) == key) line[x] = 0;
        }
    }
    QPixmap picture(dlg->size().expandedTo(QSize(menu_at.right() + 1, menu_at.bottom() + 1)) * face.devicePixelRatio());
    picture.setDevicePixelRatio(face.devicePixelRatio());
    picture.fill(Qt::transparent);
    {
        QPainter p(&picture);
        p.drawImage(QPoint(0, 0), face);
        if (menu) p.drawPixmap(menu_at.topLeft(), menu->grab());
    }
    CSkinMenu::DestroyMenuEx();
    dlg->hide();
    holder->setPixmap(picture);
    holder->resize(picture.deviceIndependentSize().toSize());
    QWidget* w = holder.get();
    s.owned = std::move(holder);
    return w;
}

QWidget* MacroEditorShot(Shot& s) { return MacroShot(s, false); }

QWidget* MacroMenuShot(Shot& s) {
    s.wnd.Cfg().gVar.bMacroHasMsKey = 0x7F;  // every mouse entry in the menu
    return MacroShot(s, true);
}

// ---- mouse buttons ----
QWidget* MouseButtons(Shot& s) {
    SelectKind(s, DeviceKind::Mouse);
    if (CKeyMarkDlg* marks = s.wnd.MouseMark()) marks->HighlightMark(2);
    return &s.wnd;
}

// The window with the function menu of button 3 open and its DPI sub-menu drawn over it.
QWidget* MouseMenu(Shot& s) {
    SelectKind(s, DeviceKind::Mouse);
    CKeyMsDlg* page = s.wnd.MouseButtons();
    CSkinMenu* menu = page ? page->OpenMenu(2) : nullptr;
    if (menu == nullptr) return nullptr;
    const std::vector<MenuItemEx> items = page->BuildMenu(2);
    for (int row = 0; row < static_cast<int>(menu->Rows().size()); ++row) {
        if (items[static_cast<std::size_t>(menu->Rows()[static_cast<std::size_t>(row)])].nCmd == 0x8000000) menu->Activate(row);
    }
    auto holder = std::make_unique<QLabel>();
    QPixmap picture = s.wnd.grab();
    {
        QPainter p(&picture);
        for (CSkinMenu* m = menu; m != nullptr; m = m->SubMenu()) p.drawPixmap(m->pos() - s.wnd.pos(), m->grab());
    }
    CSkinMenu::DestroyMenuEx();
    holder->setPixmap(picture);
    holder->resize(picture.deviceIndependentSize().toSize());
    return Own(s, std::move(holder));
}

QWidget* KeyPicker(Shot& s) {
    KeyInfo key;
    if (ProfileData* p = s.wnd.CurrentProfile()) key = p->Kb.Keys[20];
    auto dlg = std::make_unique<CKeyFunPickDlg>(s.wnd, &s.wnd, key, true);
    if (CPngBtn* stroke = dlg->CategoryButton(CKeyFunPickDlg::kStroke)) stroke->click();
    KeyCapture::ResetSharedState();
    for (const auto& [qt, sym, scan] : {std::tuple{Qt::Key_Q, 'q', 24u}, std::tuple{Qt::Key_E, 'e', 26u}}) {
        QKeyEvent press(QEvent::KeyPress, qt, Qt::NoModifier, scan, static_cast<unsigned>(sym), 0);
        QApplication::sendEvent(dlg.get(), &press);
    }
    return Own(s, std::move(dlg));
}

QWidget* MacroPicker(Shot& s) {
    (void)AddSampleMacros(s.wnd);
    s.wnd.Cfg().gVar.nMacroDir = 1;
    auto dlg = std::make_unique<CPickMacroDlg>(s.wnd, &s.wnd);
    if (!dlg->Init()) return nullptr;
    if (CTreeCtrlEx* tree = dlg->Tree(); tree && !tree->TopLevel().empty()) {
        tree->SelectItem(tree->TopLevel().front().get());
    }
    return Own(s, std::move(dlg));
}

QWidget* FireKey(Shot& s) {
    KeyInfo key;
    key.FunID = 0x80000A4;
    key.byFireVk = 0xF4;
    key.bySpeed = 20;
    key.byCount = 3;
    auto dlg = std::make_unique<CFirekeyDlg>(s.wnd, &s.wnd, key);
    if (!dlg->Init()) return nullptr;
    return Own(s, std::move(dlg));
}

// Keyboard lighting: the keyboard shown with an effect chosen as in the effect list.
CLedKbDlg_642Std* KbLighting(Shot& s) {
    SelectKind(s, DeviceKind::Keyboard);
    return s.wnd.KeyboardLight();
}
QWidget* KbEffect(Shot& s) {
    CLedKbDlg_642Std* page = KbLighting(s);
    if (!page || !page->ChooseEffectOfCode(12)) return nullptr;
    s.wnd.Keyboard()->AdvancePreview(9);
    return &s.wnd;
}
QWidget* KbPerKey(Shot& s) {
    CLedKbDlg_642Std* page = KbLighting(s);
    return page && page->ChooseEffect(page->PerKeyEntry()) ? &s.wnd : nullptr;
}
// The preview of a type after 30 frames; the ripple from a press of G.
template <int kType>
QWidget* KbPreview(Shot& s) {
    CLedKbDlg_642Std* page = KbLighting(s);
    if (!page || !page->ChooseEffectOfCode(kType)) return nullptr;
    if (s.wnd.Keyboard()->IsCapturing()) s.wnd.Keyboard()->OnCaptureKey(0x47, false);
    s.wnd.Keyboard()->AdvancePreview(29);
    return &s.wnd;
}

// Mouse lighting: its section open, the colour wave glowing through the mouse picture
// 30 frames in.
QWidget* MsLighting(Shot& s) {
    SelectKind(s, DeviceKind::Mouse);
    CLedMsDlg_5307Std* page = s.wnd.MouseLight();
    if (!page || !s.wnd.MouseMark() || !page->ChooseEffect(0)) return nullptr;
    for (int i = 0; i < CQuobelDlg::kHeaders; ++i) {
        if (s.wnd.SectionPage(i) == page) s.wnd.ExpandSection(i);
    }
    for (int i = 0; i < 30; ++i) s.wnd.MouseMark()->AdvancePreview();
    return &s.wnd;
}
// Pad lighting: effect 3 fading through its seven colours, the second halfway up.
QWidget* PadLighting(Shot& s) {
    SelectKind(s, DeviceKind::Pad);
    CLedPadDlg_Std* page = s.wnd.PadLight();
    if (!page || !s.wnd.PadMark() || !page->ChooseEffect(3)) return nullptr;
    for (int i = 0; i < 70; ++i) s.wnd.PadMark()->AdvancePreview();
    return &s.wnd;
}

// ---- driver settings ----
QWidget* DriverSettings(Shot& s) {
    auto dlg = std::make_unique<CDrvSetDlg>(s.wnd, &s.wnd);
    if (!dlg->Init()) return nullptr;
    return Own(s, std::move(dlg));
}

// ---- device events ----
// The popup after the mouse reported its second DPI level in key mode 2 (bytes 02 02).
QWidget* PopupDpi(Shot& s) {
    s.wnd.OnDeviceBehavior(0x0202);
    CNotifyDlg* popup = s.wnd.Notify();
    return popup && popup->isVisible() ? popup : nullptr;
}

constexpr ScreenshotState kStates[] = {
    {"main-mouse", MainMouse},
    {"main-keyboard", MainKeyboard},
    {"main-pad", MainPad},
    {"main-keyboard-keys", MainKeyboardMain},
    {"main-keyboard-fn", MainKeyboardFn},
    {"progress", Progress},
    {"msg-nodevice", MsgNoDevice},
    {"profile-menu", ProfileMenu},
    {"more-menu", MoreMenu},
    {"dpi-page", DpiPage},
    {"rate-page", RatePage},
    {"system-page", SystemPage},
    {"colour-panel", ColourPanel},
    {"pick-colour", PickColour},
    {"gun", Gun},
    {"gun-mode", GunMode},
    {"mouse-buttons", MouseButtons},
    {"mouse-menu", MouseMenu},
    {"key-picker", KeyPicker},
    {"macro-picker", MacroPicker},
    {"fire-key", FireKey},
    {"macro-editor", MacroEditorShot},
    {"macro-menu", MacroMenuShot},
    {"kb-lighting", KbEffect},
    {"kb-perkey", KbPerKey},
    {"kb-preview-2", KbPreview<2>},
    {"kb-preview-7", KbPreview<7>},
    {"kb-preview-13", KbPreview<13>},
    {"kb-preview-20", KbPreview<20>},
    {"ms-lighting", MsLighting},
    {"pad-lighting", PadLighting},
    {"driver-settings", DriverSettings},
    {"popup-dpi", PopupDpi},
};

}  // namespace

std::span<const ScreenshotState> ScreenshotStates() { return kStates; }

int RenderScreenshots(const QString& dir, const std::function<std::unique_ptr<CQuobelDlg>()>& make_window) {
    QDir().mkpath(dir);
    int failures = 0;
    for (const ScreenshotState& st : kStates) {
        std::unique_ptr<CQuobelDlg> wnd = make_window();
        if (!wnd) {
            std::fprintf(stderr, "%s: the window did not start\n", st.name);
            ++failures;
            continue;
        }
        wnd->show();
        Shot shot{*wnd, nullptr};
        QWidget* target = st.setup(shot);
        if (target && target != wnd.get()) target->show();
        const QString path = QDir(dir).filePath(QString::fromLatin1(st.name) + ".png");
        if (!target || !target->grab().save(path)) {
            std::fprintf(stderr, "%s: no picture\n", st.name);
            ++failures;
            continue;
        }
        std::printf("%s\n", qPrintable(path));
        shot.owned.reset();
    }
    return failures;
}

}  // namespace quobel
