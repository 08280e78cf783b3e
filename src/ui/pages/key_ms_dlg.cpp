#include "ui/pages/key_ms_dlg.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cerrno>

#include "base/log.h"
#include "config/key_info.h"
#include "config/key_names.h"
#include "config/mouse_desc.h"
#include "config/text_table.h"
#include "device/apply_flags.h"
#include "device/hid_drv.h"
#include "macro/macro_names.h"
#include "ui/key_layout.h"
#include "ui/modals.h"
#include "ui/pages/firekey_dlg.h"
#include "ui/pages/gun_dialogs.h"
#include "ui/pages/key_mark_dlg.h"
#include "ui/pages/pick_macro_dlg.h"
#include "ui/skin/msg_dlg.h"
#include "ui/skin/png_btn.h"

namespace quobel {

namespace {

constexpr std::uint32_t kLeftClick = 0x1000011;
constexpr std::uint32_t kModeSwitch = 0x80000AB;
constexpr std::uint32_t kFireFunction = MakeFunID(kFunSpecial, kCodeFire);
constexpr std::uint32_t kDpiLockFunction = MakeFunID(kFunSpecial, kCodeDpiLock);
constexpr std::uint32_t kFunGun = 10;  // menu group of the gun commands, never stored
constexpr int kGunMouseFw = 10;
constexpr int kMaxGunButtons = 4;
constexpr int kRadioSize = 15;
constexpr int kMenuRowGuess = 20;  // pixels per top-level row when placing the menu

struct MenuRow {
    const char* text;
    std::uint32_t cmd;
};

constexpr MenuRow kFixedRows[] = {
    {"tc_click", 0x1000011}, {"tc_menu", 0x1000013}, {"tc_middle", 0x1000012}, {"tc_forward", 0x1000014},
    {"tc_back", 0x1000015},  {"tc_three", 0x1000017}, {"tc_fire", kFireFunction},  {"tc_combokey", MakeFunID(kFunKeyCombo, kCodeKeyWithMod)},
    {"tc_mac_def", MakeFunID(kFunMacro, 0)},
};

constexpr MenuRow kMediaRows[] = {
    {"tc_kbmedia_msel", 0x4000021}, {"tc_PL", 0x4000022},           {"tc_next_media", 0x4000025},
    {"tc_pre_media", 0x4000024},    {"tc_stop", 0x4000023},         {"tc_mute", 0x4000028},
    {"tc_vol_up", 0x4000026},       {"tc_vol_dw", 0x4000027},       {"tc_kbmedia_mail", 0x3000030},
    {"tc_kbmedia_cal", 0x3000031},  {"tc_kbmedia_explore", 0x3000032}, {"tc_kbmedia_main", 0x3000034},
};

constexpr MenuRow kDpiRows[] = {{"tc_dpiadd", 0x80000A8}, {"tc_dpisub", 0x80000A9}, {"tc_dpiloop", 0x80000AA}};

// A number badge beside a caption.
class NumberBadge final : public QWidget {
public:
    explicit NumberBadge(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_TransparentForMouseEvents); }
    void Set(const QImage& background, const QImage& picture) {
        m_bkg = background;
        m_pic = picture;
        update();
    }
    [[nodiscard]] const QImage& Picture() const { return m_pic; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (!m_bkg.isNull()) p.drawImage(0, 0, m_bkg);
        if (!m_pic.isNull()) p.drawImage(0, 0, m_pic);
    }

private:
    QImage m_bkg, m_pic;
};

const TextTable& NoTexts() {
    static const TextTable empty;
    return empty;
}

}  // namespace

CKeyMsDlg::CKeyMsDlg(PageHost& host, QWidget* parent) : CPage(host, parent) {
    CreateControls();
    LoadPictures();
    connect(&m_hover, &QTimer::timeout, this, &CKeyMsDlg::OnHoverTimer);
    m_hover.start(kHoverMs);
    RefreshFromProfile();
}

QSize CKeyMsDlg::PageSize(const Config& config) {
    const SensorCfg* s = config.pSensorCfg();
    if (s == nullptr) return {240, 290};
    return {240, (s->nKeyH + 25) * s->nKeyNum + s->nKeyY + 2};
}

int CKeyMsDlg::ButtonCount() const {
    const SensorCfg* s = m_host.Cfg().pSensorCfg();
    return s != nullptr ? std::clamp(s->nKeyNum, 0, kMaxButtons) : 0;
}

int CKeyMsDlg::ModeCount() const {
    const SensorCfg* s = m_host.Cfg().pSensorCfg();
    return s != nullptr ? std::clamp(s->nModeNum, 1, kMouseModes) : 1;
}

CKeyMarkDlg* CKeyMsDlg::Marks() {
    if (m_pMarks.isNull() && parentWidget() != nullptr) {
        m_pMarks = parentWidget()->findChild<CKeyMarkDlg*>(QString(), Qt::FindDirectChildrenOnly);
    }
    return m_pMarks;
}

bool CKeyMsDlg::ValidProfile() const {
    const ProfileData* p = m_host.CurrentProfile();
    return p != nullptr && p->dwProfileID != 0;
}

void CKeyMsDlg::CreateControls() {
    const SkinContext& ctx = m_host.Skin();
    for (int i = 0; i < kMaxButtons; ++i) {
        auto* caption = new CPngBtn(ctx, this);
        caption->setObjectName(QStringLiteral("caption%1").arg(i + 1));
        connect(caption, &QAbstractButton::clicked, this, [this, i] { OpenMenu(i); });
        caption->hide();
        m_captions[static_cast<std::size_t>(i)] = caption;
        auto* badge = new NumberBadge(this);
        badge->hide();
        m_badges[static_cast<std::size_t>(i)] = badge;
    }
    for (int k = 0; k < kMouseModes; ++k) {
        auto* radio = new CPngBtn(ctx, this);
        radio->setObjectName(QStringLiteral("mode%1").arg(k + 1));
        radio->SetCheckStyle(CPngBtn::kCheck);
        radio->SetRadio(true);
        connect(radio, &QAbstractButton::clicked, this, [this, k] { OnRadio(k); });
        radio->hide();
        m_radios[static_cast<std::size_t>(k)] = radio;
    }
}

void CKeyMsDlg::LoadPictures() {
    const SkinContext& ctx = m_host.Skin();
    m_imgMain = WindowBackground();
    const QImage nr = LoadPicture(ctx.SkinPath("button2_nr.png"));
    const QImage ov = LoadPicture(ctx.SkinPath("button2_ov.png"));
    const QImage dn = LoadPicture(ctx.SkinPath("button2_dn.png"));
    for (CPngBtn* c : m_captions) c->SetPictures(nr, ov, dn);
    const QImage rnr = LoadPicture(ctx.SkinPath("radio_nr.png"));
    const QImage rdn = LoadPicture(ctx.SkinPath("radio_dn.png"));
    for (CPngBtn* r : m_radios) r->SetPictures(rnr, rnr, rdn);
    for (int i = 0; i < kMaxButtons; ++i) {
        m_imgNumbers[static_cast<std::size_t>(i)] =
            LoadPicture(ctx.SkinPath(QStringLiteral("mouse/number%1.png").arg(i + 1)));
    }
}

void CKeyMsDlg::UpdateBackgrounds() {
    m_imgBkg = BackgroundUnder(m_imgMain);
    for (CPngBtn* c : m_captions) c->SetBackground(m_imgBkg);
    for (CPngBtn* r : m_radios) r->SetBackground(m_imgBkg);
    for (int i = 0; i < kMaxButtons; ++i) {
        auto* badge = static_cast<NumberBadge*>(m_badges[static_cast<std::size_t>(i)]);
        badge->Set(CropBackground(m_imgBkg, badge->geometry()), m_imgNumbers[static_cast<std::size_t>(i)]);
    }
    update();
}

void CKeyMsDlg::LayoutControls() {
    const Config& cfg = m_host.Cfg();
    const MsDevCfg& ms = cfg.gVar.MsDev;
    const SensorCfg* sensor = cfg.pSensorCfg();
    const int count = ButtonCount();
    const std::uint32_t mask = sensor != nullptr ? sensor->dwKeyMask : 0;
    for (int i = 0; i < kMaxButtons; ++i) {
        CPngBtn* caption = m_captions[static_cast<std::size_t>(i)];
        QWidget* badge = m_badges[static_cast<std::size_t>(i)];
        if (i >= count) {
            caption->hide();
            badge->hide();
            continue;
        }
        const Rect& r = cfg.DefKeyTable[0][static_cast<std::size_t>(i)].rcKey;
        caption->setGeometry(QRect(QPoint(r.left, r.top), caption->sizeHint()));
        const bool disabled = (mask >> i) & 1U;
        caption->setEnabled(!disabled);
        if (disabled) {
            caption->SetTextColours(kCaptionDisabledText, kCaptionDisabledText, kCaptionDisabledText);
        } else {
            const GVar& g = cfg.gVar;
            caption->SetTextColours(g.clrBtnTxtNr, g.clrBtnTxtOv, g.clrBtnTxtDn);
        }
        caption->show();
        badge->setGeometry(r.left - 34, r.top - 1, 26, 26);
        badge->show();
    }

    // The radios stand above the first caption.
    const Rect& first = cfg.DefKeyTable[0][0].rcKey;
    const int L = first.left;
    const int T = first.top;
    const int modes = ModeCount();
    std::array<QRect, kMouseModes> at{};
    if (modes == 3) {
        at[0] = QRect(L - 35, T - 30, kRadioSize, kRadioSize);
        at[1] = at[0].translated(77, 0);
        at[2] = at[1].translated(77, 0);
    } else if (modes == 2) {
        at[0] = QRect(L, T - 30, kRadioSize, kRadioSize);
        const int sp = ms.nModeSp > 0 ? ms.nModeSp : 90;
        at[1] = QRect(at[0].right() + 1 + sp, T - 30, kRadioSize, kRadioSize);
    }
    for (int k = 0; k < kMouseModes; ++k) {
        CPngBtn* radio = m_radios[static_cast<std::size_t>(k)];
        radio->setGeometry(at[static_cast<std::size_t>(k)]);
        radio->setVisible(modes > 1 && k < modes && ms.bShowOnlyModeString == 0);
    }
    UpdateBackgrounds();
}

QString CKeyMsDlg::CaptionOf(const KeyInfo& key) const {
    const TextTable& texts = m_host.Skin().texts != nullptr ? *m_host.Skin().texts : NoTexts();
    const MacroListNames macros(m_host.Macros());
    const CurrentSensorDpi sensor(m_host.Cfg());
    return QString::fromStdString(FunctionCaption(key, texts, &macros, &sensor, SessionKeyLayout()));
}

void CKeyMsDlg::SetCaption(int button, const KeyInfo& key) {
    CPngBtn* caption = m_captions[static_cast<std::size_t>(button)];
    const QString text = CaptionOf(key);
    caption->SetCaption(text);
    caption->setToolTip(m_host.Cfg().gVar.bBtnTips ? text : QString());
}

void CKeyMsDlg::SetCaptions(int mode) {
    ProfileData* p = m_host.CurrentProfile();
    if (p == nullptr || mode < 0 || mode >= kMouseModes) return;
    const Config& cfg = m_host.Cfg();
    for (int i = 0; i < ButtonCount(); ++i) {
        KeyInfo& key = p->Ms.Keys[mode][i];
        // A function without a caption is nothing the page can show: the slot falls
        // back to the factory function.
        if (CaptionOf(key).isEmpty()) key = cfg.DefKeyTable[static_cast<std::size_t>(mode)][static_cast<std::size_t>(i)];
        SetCaption(i, key);
    }
}

void CKeyMsDlg::ApplyGunPages(int mode) {
    MsDevCfg& ms = m_host.Cfg().gVar.MsDev;
    const int shown = mode == 1 ? 0 : 1;
    if (ms.bShowUsbRate == shown && ms.nShowLed[0] == shown) return;
    ms.bShowUsbRate = shown;
    ms.nShowLed[0] = shown;
    emit PageSetChanged();
}

void CKeyMsDlg::RefreshFromProfile() {
    LayoutControls();
    const ProfileData* p = m_host.CurrentProfile();
    const int mode = p != nullptr ? std::clamp(p->Ms.nMode, 0, kMouseModes - 1) : 0;
    for (int k = 0; k < kMouseModes; ++k) m_radios[static_cast<std::size_t>(k)]->SetChecked(k == mode);
    SetCaptions(mode);
    if (m_host.Cfg().gVar.nMsFw == kGunMouseFw) ApplyGunPages(mode);
    if (CKeyMarkDlg* marks = Marks()) marks->RefreshFromProfile();
    update();
}

void CKeyMsDlg::ReloadTexts() {
    const ProfileData* p = m_host.CurrentProfile();
    SetCaptions(p != nullptr ? std::clamp(p->Ms.nMode, 0, kMouseModes - 1) : 0);
    update();
}

void CKeyMsDlg::ReloadSkin() {
    LoadPictures();
    LayoutControls();
}

void CKeyMsDlg::SwitchMode(int nMode, bool bApply) {
    Log& log = m_host.GetLog();
    log.Print("SwitchMode: nMode=%d, bApply=%d", nMode, bApply ? 1 : 0);
    if (nMode < 0 || nMode >= kMouseModes) return;
    for (int k = 0; k < kMouseModes; ++k) m_radios[static_cast<std::size_t>(k)]->SetChecked(k == nMode);
    ProfileData* p = m_host.CurrentProfile();
    if (p != nullptr) p->Ms.nMode = nMode;
    emit ModeSwitched(nMode);
    SetCaptions(nMode);

    const GVar& g = m_host.Cfg().gVar;
    if (g.nMsFw == kGunMouseFw) {
        if (nMode == 2) return;
        ApplyGunPages(nMode);
    }
    CHidDrv* drv = m_host.Transport(DeviceKind::Mouse);
    if (bApply && ValidProfile() && drv != nullptr && drv->GetHandle() != nullptr) {
        if (g.nMsFw == kGunMouseFw) p->Ms.dwRate[1] = 0x250;
        errno = 0;
        if (drv->SetMode(p->Ms.nMode, std::span<const std::uint32_t, 3>(p->Ms.dwRate), 0) == 0) {
            log.Print("SetMode err=0x%x", static_cast<unsigned>(errno));
        }
    }
    if (g.MsDev.bShowOnlyModeString) {
        const QRect r = m_radios[0]->geometry();
        update(QRect(r.left(), r.top() - 10, 200, r.height() + 20));
    }
}

void CKeyMsDlg::OnRadio(int k) {
    SwitchMode(k, m_host.Cfg().gVar.MsDev.bModeSWBySw == 0);
    for (int i = 0; i < ModeCount(); ++i) {
        if (m_radios[static_cast<std::size_t>(i)]->IsChecked()) {
            if (ProfileData* p = m_host.CurrentProfile()) p->Ms.nMode = i;
            break;
        }
    }
}

std::vector<MenuItemEx> CKeyMsDlg::BuildMenu(int button) const {
    (void)button;
    std::vector<MenuItemEx> items;
    const Config& cfg = m_host.Cfg();
    const MsDevCfg& ms = cfg.gVar.MsDev;
    const TextTable& texts = m_host.Skin().texts != nullptr ? *m_host.Skin().texts : NoTexts();
    const ProfileData* p = m_host.CurrentProfile();
    const bool valid = ValidProfile();
    const int mode = p != nullptr ? std::clamp(p->Ms.nMode, 0, kMouseModes - 1) : 0;
    const auto add = [&items, &texts](int parent, const char* text, std::uint32_t cmd) {
        items.push_back(MenuItemEx::Make(parent, static_cast<std::int32_t>(cmd), texts.Get(text)));
        return static_cast<int>(items.size()) - 1;
    };
    constexpr int top = MenuItemEx::kTopLevel;

    for (int i = 0; i < 7; ++i) add(top, kFixedRows[i].text, kFixedRows[i].cmd);
    add(top, kFixedRows[7].text, kFixedRows[7].cmd);
    add(top, kFixedRows[8].text, kFixedRows[8].cmd);
    if (ms.bRgbSW) add(top, "tc_rgbsw", 0x80000AE);
    add(top, "tc_key_off", MakeFunID(kFunSpecial, kCodeKeyOff));
    if (valid && ((ms.dwShowEx >> (8 * mode)) & 0xFFU) != 0) {
        constexpr const char* kExtra[] = {"tc_ex1", "tc_ex2", "tc_ex3"};
        for (std::uint32_t n = 0; n < 3; ++n) {
            if (texts.Get(kExtra[n]).empty()) break;
            add(top, kExtra[n], MakeFunID(kFunMsExtra, n));
        }
    }
    if (valid && cfg.gVar.nMsFw == kGunMouseFw && mode == 1) {
        add(top, "tc_chiji1", MakeFunID(kFunGun, kCodeGun));
        add(top, "tc_chiji3", MakeFunID(kFunGun, kCodeGun + 2));
    }
    const int dpi = add(top, "tc_dpi", 0x8000000);
    const int media = ms.bShowMedia ? add(top, "tc_media", 0x4000000) : -1;
    const bool snipe = ms.bySnipMenu[0] != 0;
    const int snipe_parent = snipe ? add(top, "tc_snipe", kDpiLockFunction) : -1;
    if (media >= 0) {
        for (const MenuRow& r : kMediaRows) add(media, r.text, r.cmd);
    }
    for (const MenuRow& r : kDpiRows) add(dpi, r.text, r.cmd);
    if (snipe) {
        const SensorDpi* sensor = FindSensorDpi(cfg.SensorDpiList, ms.nCurSensor);
        const CurrentSensorDpi steps(cfg);
        const int n = std::min(SnipMenuEntryCount(ms), 15);
        for (int j = 0; sensor != nullptr && j < n; ++j) {
            const int level = ms.bySnipMenu[static_cast<std::size_t>(2 + j)];
            // A level the sensor does not have could not be sent; it is not offered.
            const std::optional<int> value = steps.DpiOfStep(level);
            if (!value) continue;
            items.push_back(MenuItemEx::Make(snipe_parent, static_cast<std::int32_t>(kDpiLockFunction + level * 256),
                                             std::to_string(*value)));
        }
    }
    return items;
}

CSkinMenu* CKeyMsDlg::OpenMenu(int button) {
    CSkinMenu::DestroyMenuEx();
    if (!ValidProfile() || button < 0 || button >= ButtonCount()) return nullptr;
    const std::vector<MenuItemEx> items = BuildMenu(button);
    const MenuStyle style = MenuStyle::OfSkin(m_host.Skin(), kMenuWidth);

    m_nMenuItemsShown = static_cast<int>(
        std::count_if(items.begin(), items.end(), [](const MenuItemEx& it) { return it.nParent == MenuItemEx::kTopLevel; }));
    const QRect r = m_captions[static_cast<std::size_t>(button)]->geometry();
    QPoint at = mapToGlobal(r.bottomLeft() + QPoint(0, 1));
    const QScreen* s = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    const int height = kMenuRowGuess * m_nMenuItemsShown;
    if (s != nullptr && at.y() + height > s->geometry().bottom() + 1) {
        at = mapToGlobal(QPoint(r.left(), r.top() - height));
    }
    CSkinMenu* menu = CSkinMenu::CreateMenuEx(this, style, at, button, items);
    if (menu != nullptr) connect(menu, &CSkinMenu::MenuCmd, this, &CKeyMsDlg::OnMenuCmd);
    return menu;
}

bool CKeyMsDlg::MakeKeyFromCommand(int cmd, int button, KeyInfo& key) {
    ProfileData* p = m_host.CurrentProfile();
    const std::uint32_t id = static_cast<std::uint32_t>(cmd);
    const std::uint32_t group = FunType(id);
    const std::uint32_t index = FunCode(id);
    const KeyInfo& current = p->Ms.Keys[std::clamp(p->Ms.nMode, 0, kMouseModes - 1)][button];
    const SkinContext& ctx = m_host.Skin();
    Modals& modal = m_host.Modal();
    key = KeyInfo{};

    if (group == kFunMacro) {
        if (m_host.Macros().Count() == 0) {
            modal.Info(ctx, m_host.Window(), ctx.Text("tc_msg9"));
            return false;
        }
        CPickMacroDlg dlg(m_host, m_host.Window());
        dlg.Init();
        if (modal.Exec(dlg) != 1 || dlg.MacroId() == 0) return false;
        key.FunID = MakeFunID(kFunMacro, 0);
        key.MacroID = dlg.MacroId();
        return true;
    }
    if (group == kFunKeyCombo) {
        m_host.PausePreview(true);
        CMsgDlg dlg(ctx, m_host.Window(), CMsgDlg::kCapture, ctx.Text("tc_msg2"));
        dlg.SetCaptureOptions(false, m_host.Cfg().gVar.bComboRec != 0);
        dlg.Init();
        const int r = modal.Exec(dlg);
        m_host.PausePreview(false);
        const KeyCombo combo = dlg.CaptureResult();
        if (r != 1 || combo == KeyCombo{}) return false;
        key.byModifier = combo.modifiers;
        key.byVk = static_cast<std::uint8_t>(combo.key1);
        key.byVk2 = static_cast<std::uint8_t>(combo.key2);
        key.FunID = MakeFunID(kFunKeyCombo, key.byModifier != 0 ? kCodeKeyWithMod : kCodeKey);
        return true;
    }
    if (index == kCodeFire) {
        m_host.PausePreview(true);
        CFirekeyDlg dlg(m_host, m_host.Window(), current);
        dlg.Init();
        const int r = modal.Exec(dlg);
        m_host.PausePreview(false);
        if (r != 1) return false;
        key.FunID = kFireFunction;
        key.byFireVk = dlg.Key();
        key.bySpeed = dlg.Speed();
        key.byCount = dlg.Count();
        return true;
    }
    if (group == kFunSpecial) {
        if ((id & 0xFF) == kCodeDpiLock) {
            key.FunID = kDpiLockFunction;
            SetKeyParam(key, ((id >> 8) & 0xFF) + 1);
        } else {
            key.FunID = id;
        }
        return true;
    }
    if (group == kFunMsExtra) {
        const auto& ex = m_host.Cfg().gVar.MsDev.dwExKey;
        if (index > 2 || ex[index] == 0) {
            modal.Info(ctx, m_host.Window(), QStringLiteral("Wrong Ex Key Index"));
            return false;
        }
        key.FunID = MakeFunID(kFunMsExtra, index);
        SetKeyParam(key, ex[index]);
        return true;
    }
    if (group == kFunGun) {
        if (index == kCodeGun) {
            if (current.FunID != kGunFunction) {
                int holders = 0;
                for (int i = 0; i < kMsKeysPerMode; ++i) holders += p->Ms.Keys[1][i].FunID == kGunFunction ? 1 : 0;
                if (holders > kMaxGunButtons) {
                    modal.Info(ctx, m_host.Window(), ctx.Text("tc_chiji20"));
                    return false;
                }
            }
            key = current;
            m_host.PausePreview(true);
            const bool ok = RunGunDialog(m_host, m_host.Window(), key);
            m_host.PausePreview(false);
            return ok;
        }
        if (index == kCodeGun + 1) {
            key = current;
            m_host.PausePreview(true);
            const bool ok = RunGunModeDialog(m_host, m_host.Window(), key);
            m_host.PausePreview(false);
            return ok;
        }
        if (index == kCodeGun + 2) key.FunID = MakeFunID(kFunSpecial, kCodeGun + 2);
        return true;
    }
    key.FunID = id;
    return true;
}

void CKeyMsDlg::OnMenuCmd(int cmd, std::intptr_t button) {
    if (!ValidProfile() || button < 0 || button >= ButtonCount()) return;
    KeyInfo key;
    if (!MakeKeyFromCommand(cmd, static_cast<int>(button), key)) return;
    SetKeyFun(static_cast<int>(button), key);
}

bool CKeyMsDlg::SetKeyFun(int c, const KeyInfo& in) {
    if (!ValidProfile() || c < 0 || c >= ButtonCount()) return false;
    ProfileData& p = *m_host.CurrentProfile();
    const Config& cfg = m_host.Cfg();
    const int mode = std::clamp(p.Ms.nMode, 0, kMouseModes - 1);
    if (in.FunID != kLeftClick) {
        bool other = false;
        for (int i = 0; i < ButtonCount() && !other; ++i) other = i != c && p.Ms.Keys[mode][i].FunID == kLeftClick;
        if (!other) {
            m_host.Modal().Info(m_host.Skin(), m_host.Window(), m_host.Skin().Text("tc_ms12"));
            return false;
        }
    }
    KeyInfo key = in;
    key.nMatrixInx = cfg.DefKeyTable[0][static_cast<std::size_t>(c)].nMatrixInx;
    if (key.FunID == kModeSwitch) {
        for (auto& keys : p.Ms.Keys) keys[c] = key;
    } else {
        bool had_switch = false;
        for (const auto& keys : p.Ms.Keys) had_switch = had_switch || keys[c].FunID == kModeSwitch;
        if (had_switch) {
            for (int m = 0; m < kMouseModes; ++m) {
                p.Ms.Keys[m][c] = cfg.DefKeyTable[static_cast<std::size_t>(m)][static_cast<std::size_t>(c)];
            }
        }
        p.Ms.Keys[mode][c] = key;
    }
    SetCaption(c, key);
    if (cfg.gVar.bApplyNow) {
        m_host.RequestApply(DeviceKind::Mouse, key.FunID == kGunFunction ? kMsApplyKeys | kMsApplyGeneral : std::uint32_t{kMsApplyKeys});
    }
    return true;
}

void CKeyMsDlg::OnHoverTimer() {
    CKeyMarkDlg* marks = Marks();
    if (marks == nullptr) return;
    QWidget* window = m_host.Window();
    if (window == nullptr || !window->isActiveWindow()) return;
    const QPoint cursor = QCursor::pos();
    int found = -1;
    for (int i = 0; i < ButtonCount() && found < 0; ++i) {
        const CPngBtn* c = m_captions[static_cast<std::size_t>(i)];
        if (QRect(c->mapToGlobal(QPoint(0, 0)), c->size()).contains(cursor)) found = i;
    }
    if (found != marks->Highlighted()) marks->HighlightMark(found);
}

QString CKeyMsDlg::ModeLabel(int k) const {
    const GVar& g = m_host.Cfg().gVar;
    const SkinContext& ctx = m_host.Skin();
    if (g.MsDev.nPopByte1 == 3) return k == 0 ? ctx.Text("tc_ms18") : k == 1 ? ctx.Text("tc_ms17") : QString();
    if (g.nMsFw == kGunMouseFw) return k == 0 ? ctx.Text("tc_chiji17") : k == 1 ? ctx.Text("tc_chiji19") : QString();
    return ctx.Text("tc_ms7") + QString::number(k + 1);
}

void CKeyMsDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!m_imgBkg.isNull()) p.drawImage(0, 0, m_imgBkg);
    const GVar& g = m_host.Cfg().gVar;
    const bool only_labels = g.MsDev.bShowOnlyModeString != 0;
    const int modes = ModeCount();
    const ProfileData* profile = m_host.CurrentProfile();
    const int current = profile != nullptr ? profile->Ms.nMode : 0;
    p.setFont(m_host.Skin().font);
    for (int k = 0; k < modes && (modes > 1 || only_labels); ++k) {
        const CPngBtn* radio = m_radios[static_cast<std::size_t>(k)];
        if (!radio->isVisible() && !only_labels) continue;
        const QString label = ModeLabel(k);
        if (label.isEmpty()) continue;
        const QRect r = radio->geometry();
        // A label ends where the next radio begins.
        int right = r.right() + 220;
        if (k + 1 < modes) right = std::min(right, m_radios[static_cast<std::size_t>(k + 1)]->geometry().left() - 4);
        const QRect text(r.right() + 5, r.top() - 3, right - r.right() - 5, r.height() + 6);
        p.setPen(ToQColor(only_labels && k == current ? g.clrBtnTxtDn : g.clrTxt));
        p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   p.fontMetrics().elidedText(label, Qt::ElideRight, text.width()));
    }
    if (g.bFrameDebug) {
        p.setPen(QColor(0, 255, 0));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void CKeyMsDlg::mousePressEvent(QMouseEvent* event) {
    CSkinMenu::DestroyMenuEx();
    QWidget* window = m_host.Window();
    if (event->button() == Qt::LeftButton && window != nullptr) {
        m_bDragging = true;
        m_ptDrag = event->globalPosition().toPoint() - window->pos();
    }
    CPage::mousePressEvent(event);
}

void CKeyMsDlg::mouseMoveEvent(QMouseEvent* event) {
    if (m_bDragging && (event->buttons() & Qt::LeftButton) && m_host.Window() != nullptr) {
        m_host.Window()->move(event->globalPosition().toPoint() - m_ptDrag);
    }
    CPage::mouseMoveEvent(event);
}

void CKeyMsDlg::mouseReleaseEvent(QMouseEvent* event) {
    m_bDragging = false;
    CPage::mouseReleaseEvent(event);
}

void CKeyMsDlg::moveEvent(QMoveEvent* event) {
    CPage::moveEvent(event);
    UpdateBackgrounds();
}

void CKeyMsDlg::resizeEvent(QResizeEvent* event) {
    CPage::resizeEvent(event);
    UpdateBackgrounds();
}

}  // namespace quobel
