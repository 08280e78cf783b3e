#include "ui/pages/led_kb_dlg.h"

#include <algorithm>
#include <string>

#include "base/log.h"
#include "config/keyboard_desc.h"
#include "lighting/kb_preview.h"
#include "ui/pages/color_btn_dlg.h"
#include "ui/pages/kb_color_dlg.h"
#include "ui/skin/combo_btn.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/png_slider.h"

namespace quobel {

namespace {

// The seven effect swatches' initial colours, the visible one first; the other six are
// never shown and keep these.
constexpr Colour kSwatchColours[7] = {0x0000FF, 0xFF0000, 0x00FF00, 0x00FFFF, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
constexpr int kLastGroup = kColourGroups - 1;

int SliderValue(const CPngSliderBar* bar) {
    if (!bar || !bar->Slider()) return 0;
    const CPngSlider* s = bar->Slider();
    const int v = s->GetValue();
    return v >= s->Min() && v <= s->Max() ? v : 0;
}

}  // namespace

CLedKbDlg_642Std::CLedKbDlg_642Std(PageHost& host, QWidget* parent) : CLedDlg(host, parent) {
    const KbDevCfg& kb = host.Cfg().gVar.KbDev;
    m_pKeyMode = MakeCheckBox({10, 15});
    m_pLightMode = MakeCheckBox({10, 41});
    AddCaption({34, 14, 200, 20}, "tc_kb1");
    AddCaption({34, 40, 200, 20}, "tc_kb2");

    m_pEffect = CComboBtn::Create(host.Skin(), this, Background(), {10, 72}, QStringLiteral("combo2_nr.png"),
                                  QStringLiteral("combo2_ov.png"), QStringLiteral("combo2_ov.png"));
    m_capSpeed = AddCaption({10, 102, 170, 18}, "tc_speed");
    m_pSpeed = MakeSlider(kSpeedSlider, kb.nSpeedNum, {10, 122});
    m_capSpeedValue = AddValueCaption({190, 116, 40, 20});
    m_capBright = AddCaption({10, 146, 170, 18}, "tc_brightness");
    m_pBright = MakeSlider(kBrightSlider, kb.nBriNum, {10, 166});
    m_capBrightValue = AddValueCaption({190, 160, 40, 20});
    m_capDir = AddCaption({10, 190, 170, 18}, "tc_direct");
    m_pLeft = MakeButton({10, 210}, QStringLiteral("lbtn_nr.png"), QStringLiteral("lbtn_ov.png"),
                         QStringLiteral("lbtn_ov.png"));
    m_pRight = MakeButton({59, 210}, QStringLiteral("rbtn_nr.png"), QStringLiteral("rbtn_ov.png"),
                          QStringLiteral("rbtn_ov.png"));
    m_pMulti = MakeCheckBox({10, 236});
    m_capMulti = AddCaption({34, 235, 200, 20}, "tc_adv_str5");
    m_capColour = AddCaption({10, 260, 120, 20}, "tc_ms8");
    m_pColour = new CColorBtnDlg(host, this, 0);
    m_pColour->setGeometry(140, 261, 18, 18);
    m_pColour->SetOpenMode(CColorBtnDlg::kSingleClick);
    m_pColour->SetColor(kSwatchColours[0]);

    m_capGroup = AddCaption({10, 102, 170, 18}, "tc_adv_str6");
    m_pGroup = CComboBtn::Create(host.Skin(), this, Background(), {10, 122}, QStringLiteral("combo2_nr.png"),
                                 QStringLiteral("combo2_ov.png"), QStringLiteral("combo2_ov.png"));
    m_capPaint = AddCaption({10, 156, 120, 20}, "tc_adv_str7");
    m_pPaint = new CColorBtnDlg(host, this, kPaintSwatch);
    m_pPaint->setGeometry(140, 157, 18, 18);
    m_pPaint->SetOpenMode(CColorBtnDlg::kSingleClick);
    m_pPaint->SetColor(kb.clrGaoshou != 0 ? kb.clrGaoshou : Rgb(255, 255, 255));
    m_capFill = AddCaption({10, 184, 120, 20}, "tc_adv_str8");
    m_pFill = new CColorBtnDlg(host, this, kFillSwatch);
    m_pFill->setGeometry(140, 185, 18, 18);
    m_pFill->SetOpenMode(CColorBtnDlg::kSingleClick);
    m_pFill->SetColor(m_pPaint->Color());

    if (m_pKeyMode) connect(m_pKeyMode, &CPngBtn::clicked, this, [this] { OnModeBox(false); });
    if (m_pLightMode) connect(m_pLightMode, &CPngBtn::clicked, this, [this] { OnModeBox(true); });
    if (m_pEffect) connect(m_pEffect, &CComboBtn::Command, this, &CLedKbDlg_642Std::OnEffectCommand);
    if (m_pGroup) connect(m_pGroup, &CComboBtn::Command, this, &CLedKbDlg_642Std::OnGroupCommand);
    if (m_pMulti) connect(m_pMulti, &CPngBtn::clicked, this, &CLedKbDlg_642Std::OnMultiClicked);
    if (m_pLeft) connect(m_pLeft, &CPngBtn::clicked, this, [this] { OnDirection(true); });
    if (m_pRight) connect(m_pRight, &CPngBtn::clicked, this, [this] { OnDirection(false); });
    for (CPngSliderBar* bar : {m_pSpeed, m_pBright}) {
        if (!bar) continue;
        connect(bar, &CPngSliderBar::SliderPos, this, [this](int v, int id) { OnSlider(v, id, true); });
        connect(bar, &CPngSliderBar::SliderDrag, this, [this](int v, int id) { OnSlider(v, id, false); });
    }
    for (CColorBtnDlg* sw : {m_pColour, m_pPaint, m_pFill})
        connect(sw, &CColorBtnDlg::ColorClick, this, &CLedKbDlg_642Std::OnColorClick);
    FillLists();
}

void CLedKbDlg_642Std::SetPicture(CKBColorDlg* picture) { m_pPicture = picture; }

int CLedKbDlg_642Std::PerKeyEntry() const { return UsableEffectNum(m_host.Cfg().gVar.KbDev); }

bool CLedKbDlg_642Std::GroupEditable(int group) const {
    const KbDevCfg& kb = m_host.Cfg().gVar.KbDev;
    return group >= kb.byCustomGp[0] && group <= kb.byCustomGp[1];
}

void CLedKbDlg_642Std::FillLists() {
    const KbDevCfg& kb = m_host.Cfg().gVar.KbDev;
    const int n = PerKeyEntry();
    const auto name = [&](int i) { return m_host.Skin().Text("tc_kb_led" + std::to_string(i + 1)); };
    if (m_pEffect) {
        m_pEffect->ClearList(0);
        for (int i = 0; i < n; ++i)
            if ((kb.dwLedMask & (1u << i)) == 0) m_pEffect->AddItem(0, name(i), static_cast<std::uint32_t>(i));
        m_pEffect->AddItem(0, name(n), static_cast<std::uint32_t>(n));
    }
    if (m_pGroup) {
        m_pGroup->ClearList(0);
        const int groups = std::min<int>(kb.byGaoshouGroupNum, kMaxColorGroups);
        for (int g = 0; g < groups; ++g)
            m_pGroup->AddItem(0, m_host.Skin().Text("tc_game_mode" + std::to_string(g + 1)),
                              static_cast<std::uint32_t>(g));
    }
}

void CLedKbDlg_642Std::ReloadTexts() {
    const std::int64_t effect = m_pEffect ? m_pEffect->SelectedValue() : -1;
    const std::int64_t group = m_pGroup ? m_pGroup->SelectedValue() : -1;
    FillLists();
    if (m_pEffect && effect >= 0) m_pEffect->SelectValue(static_cast<std::uint32_t>(effect));
    if (m_pGroup && group >= 0) m_pGroup->SelectValue(static_cast<std::uint32_t>(group));
    CLedDlg::ReloadTexts();
}

int CLedKbDlg_642Std::SelectedEffect() const {
    return m_pEffect ? static_cast<int>(m_pEffect->SelectedValue()) : -1;
}

int CLedKbDlg_642Std::SelectedGroup() const {
    const ProfileData* pro = m_host.CurrentProfile();
    int g = m_pGroup && m_pGroup->SelectedValue() >= 0 ? static_cast<int>(m_pGroup->SelectedValue())
                                                        : (pro ? pro->Kb.nCurGameGroup : 0);
    if (g > kLastGroup) {
        LogPrint("Get wrong nCurGameGroup value");
        g = 0;
    }
    return g;
}

void CLedKbDlg_642Std::RefreshFromProfile() {
    const ProfileData* pro = m_host.CurrentProfile();
    if (!pro) return;
    ShowEffect(pro->Kb.nEffect);
}

void CLedKbDlg_642Std::ShowEffectControls(bool shown) {
    for (QWidget* w : std::initializer_list<QWidget*>{m_pEffect, m_pSpeed, m_pBright, m_pLeft, m_pRight, m_pMulti,
                                                      m_pColour, m_pGroup, m_pPaint, m_pFill})
        if (w) w->setVisible(shown);
    for (int c : {m_capSpeed, m_capSpeedValue, m_capBright, m_capBrightValue, m_capDir, m_capMulti, m_capColour,
                  m_capGroup, m_capPaint, m_capFill})
        ShowCaption(c, shown);
}

void CLedKbDlg_642Std::ShowEffect(int a) {
    ProfileData* pro = m_host.CurrentProfile();
    if (!pro) return;
    const KbDevCfg& kb = m_host.Cfg().gVar.KbDev;
    const int n = PerKeyEntry();
    if (a < 0 || a > n) a = 0;
    const bool per_key = a == n;
    if (m_pEffect) m_pEffect->SelectValue(static_cast<std::uint32_t>(a));
    if (m_pPicture) {
        m_pPicture->SetMode(CKBColorDlg::kModeLighting);
        m_pPicture->ClearCellColours();
    }
    if (m_pLightMode) m_pLightMode->SetChecked(true);
    if (m_pKeyMode) m_pKeyMode->SetChecked(false);

    const KbLedOpt opt = per_key || a >= kKbLedEffects ? KbLedOpt{} : kb.LedOpt[a];
    const LedEffect eff = per_key || a >= kKbEffects ? LedEffect{} : pro->Kb.Effects[a];
    SetCaptionText(m_capBrightValue, QString::number(eff.nBright));
    SetCaptionText(m_capSpeedValue, QString::number(eff.nSpeed));
    const auto show = [](QWidget* w, bool on) {
        if (w) w->setVisible(on);
    };
    show(m_pEffect, true);
    show(m_pSpeed, !per_key && opt.bSpeed);
    ShowCaption(m_capSpeed, !per_key && opt.bSpeed);
    ShowCaption(m_capSpeedValue, !per_key && opt.bSpeed);
    show(m_pBright, !per_key && opt.bBright);
    ShowCaption(m_capBright, !per_key && opt.bBright);
    ShowCaption(m_capBrightValue, !per_key && opt.bBright);
    show(m_pLeft, !per_key && opt.bDir);
    show(m_pRight, !per_key && opt.bDir);
    ShowCaption(m_capDir, !per_key && opt.bDir);
    show(m_pMulti, !per_key && opt.bCheck);
    ShowCaption(m_capMulti, !per_key && opt.bCheck);
    show(m_pColour, !per_key && opt.bColor);
    ShowCaption(m_capColour, !per_key && opt.bColor);
    show(m_pGroup, per_key);
    ShowCaption(m_capGroup, per_key);

    if (!per_key) {
        const bool rainbow_label =
            std::find(kb.byColorfulEffect.begin(), kb.byColorfulEffect.end(), a + 1) != kb.byColorfulEffect.end();
        SetCaptionText(m_capMulti, m_host.Skin().Text(rainbow_label ? "tc_adv_str1" : "tc_adv_str5"));
        m_pColour->SetColor(eff.clr[std::clamp(eff.nColorIndex, 0, 6)]);
        if (m_pMulti) m_pMulti->SetChecked(eff.bColorful != 0);
        if (m_pLeft) m_pLeft->SetChecked(eff.nDir == 1);
        if (m_pRight) m_pRight->SetChecked(eff.nDir != 1);
        if (m_pSpeed) m_pSpeed->SetPos(eff.nSpeed, false);
        if (m_pBright) m_pBright->SetPos(kb.nKbDrawType == 1 && !opt.bBright ? kb.nBriNum : eff.nBright, false);
    }

    if (per_key) {
        if (m_pPicture) m_pPicture->StopPreview();
        const int g = SelectedGroupFromProfile();
        if (m_pGroup) m_pGroup->SelectValue(static_cast<std::uint32_t>(g));
        ShowGroupKeys();
    } else {
        show(m_pPaint, false);
        show(m_pFill, false);
        ShowCaption(m_capPaint, false);
        ShowCaption(m_capFill, false);
        if (m_pPicture) {
            m_pPicture->ClearCellColours();
            m_pPicture->SetSelectedKey(-1);
            m_pPicture->SetPaintMode(false);
        }
        StartPreview();
    }
}

int CLedKbDlg_642Std::SelectedGroupFromProfile() const {
    const ProfileData* pro = m_host.CurrentProfile();
    int g = pro ? pro->Kb.nCurGameGroup : 0;
    if (g > kLastGroup) {
        LogPrint("Get wrong nCurGameGroup value");
        g = 0;
    }
    return g;
}

void CLedKbDlg_642Std::ShowGroupKeys() {
    const ProfileData* pro = m_host.CurrentProfile();
    if (!pro) return;
    const int g = SelectedGroup();
    const bool editable = GroupEditable(g);
    for (QWidget* w : std::initializer_list<QWidget*>{m_pPaint, m_pFill})
        if (w) w->setVisible(editable);
    ShowCaption(m_capPaint, editable);
    ShowCaption(m_capFill, editable);
    if (!m_pPicture) return;
    const auto& keys = m_host.Cfg().g_defKEY;
    for (int j = 0; j < m_pPicture->KeyCount(); ++j) {
        const int m = keys[j].nMatrixInx;
        m_pPicture->SetCellColour(j, m >= 0 && m < kKbKeySlots ? pro->Kb.clrKey[g][m] : 0);
    }
    m_pPicture->SetSelectedKey(-1);
    m_pPicture->SetPaintMode(editable);
}

void CLedKbDlg_642Std::StartPreview() {
    if (!m_pPicture) return;
    const int a = SelectedEffect();
    if (a < 0 || a >= PerKeyEntry()) return;
    const KbDevCfg& kb = m_host.Cfg().gVar.KbDev;
    lighting::KbPreviewParams p;
    p.effect = a;
    p.speed = SliderValue(m_pSpeed);
    p.bright = SliderValue(m_pBright);
    p.dir = m_pRight && m_pRight->IsChecked() ? 2 : 1;
    p.colour = m_pColour->Color();
    p.multi = m_pMulti && m_pMulti->IsChecked();
    p.dirShown = a < kKbLedEffects && kb.LedOpt[a].bDir != 0;
    const int type = lighting::KbPreviewType(kb, a, p.bright);
    m_pPicture->ClearCellColours();
    m_pPicture->SetSelectedKey(-1);
    if (type == lighting::kNoPreview) {
        m_pPicture->StopPreview();
        return;
    }
    m_pPicture->StartPreview(type, p);
}

void CLedKbDlg_642Std::StoreToProfile() {
    ProfileData* pro = m_host.CurrentProfile();
    const int a = SelectedEffect();
    if (!pro || a < 0) return;
    const int n = PerKeyEntry();
    pro->Kb.nEffect = a;
    if (a < kKbEffects) {
        LedEffect& e = pro->Kb.Effects[a];
        e.nSpeed = SliderValue(m_pSpeed);
        e.nBright = SliderValue(m_pBright);
        for (int k = 1; k < 7; ++k) e.clr[k] = kSwatchColours[k];
        if (a != n) e.clr[std::clamp(e.nColorIndex, 0, 6)] = m_pColour->Color();
        e.bColorful = m_pMulti && m_pMulti->IsChecked() ? 1 : 0;
        e.nDir = m_pLeft && m_pLeft->IsChecked() ? 1 : 2;
    }
    pro->Kb.bGameColor = m_pLightMode && m_pLightMode->IsChecked() ? 0 : 1;
    const int g = SelectedGroup();
    pro->Kb.nCurGameGroup = static_cast<std::uint16_t>(g);
    if (a == n && m_pPicture) {
        const auto& keys = m_host.Cfg().g_defKEY;
        const int count = std::min(m_pPicture->KeyCount(), kKbConfigKeys);
        for (int j = 0; j < count; ++j) {
            const int m = keys[j].nMatrixInx;
            if (m >= 0 && m < kKbKeySlots) pro->Kb.clrKey[g][m] = m_pPicture->CellColour(j);
        }
    }
}

void CLedKbDlg_642Std::StoreAndApply(std::uint32_t code) {
    StoreToProfile();
    ApplyNow(DeviceKind::Keyboard, code);
}

void CLedKbDlg_642Std::OnEffectCommand() {
    ProfileData* pro = m_host.CurrentProfile();
    if (!pro) return;
    ShowEffect(SelectedEffect());
    const int g = SelectedGroup();
    pro->Kb.byGroupOn[g] = 1;
    if (QWidget* w = m_host.Window()) w->setFocus();
    StoreAndApply(GroupEditable(g) ? kApplyAllGroups : kApplyHeader);
}

bool CLedKbDlg_642Std::ChooseEffect(int a) {
    if (!m_pEffect || a < 0 || !m_pEffect->SelectValue(static_cast<std::uint32_t>(a))) return false;
    OnEffectCommand();
    return true;
}

bool CLedKbDlg_642Std::ChooseEffectOfCode(int code) {
    const KbDevCfg& kb = m_host.Cfg().gVar.KbDev;
    if (!m_pEffect) return false;
    for (const auto& item : m_pEffect->Items(0)) {
        const int a = static_cast<int>(item.value);
        if (a < PerKeyEntry() && a < kKbLedEffects && kb.LedOpt[a].nEffectCode == code) return ChooseEffect(a);
    }
    return false;
}

void CLedKbDlg_642Std::OnGroupCommand() {
    ProfileData* pro = m_host.CurrentProfile();
    if (!pro) return;
    const int g = SelectedGroup();
    pro->Kb.nCurGameGroup = static_cast<std::uint16_t>(g);
    ShowGroupKeys();
    StoreAndApply(GroupEditable(g) ? kApplyGroupPair : kApplyHeader);
}

void CLedKbDlg_642Std::OnMultiClicked() {
    if (!m_host.CurrentProfile() || !m_pMulti) return;
    m_pMulti->SetChecked(!m_pMulti->IsChecked());
    StoreAndApply(kApplyAllGroups);
    StartPreview();
}

void CLedKbDlg_642Std::OnDirection(bool left) {
    if (!m_host.CurrentProfile() || !m_pLeft || !m_pRight) return;
    m_pLeft->SetChecked(left);
    m_pRight->SetChecked(!left);
    StoreAndApply(kApplyAllGroups);
    StartPreview();
}

void CLedKbDlg_642Std::OnModeBox(bool lighting) {
    if (m_pKeyMode) m_pKeyMode->SetChecked(!lighting);
    if (m_pLightMode) m_pLightMode->SetChecked(lighting);
    emit ledModeChanged(lighting ? 1 : 0);
    if (lighting) {
        const ProfileData* pro = m_host.CurrentProfile();
        ShowEffect(SelectedEffect() >= 0 ? SelectedEffect() : (pro ? pro->Kb.nEffect : 0));
    } else {
        ShowEffectControls(false);
    }
}

void CLedKbDlg_642Std::OnSlider(int value, int id, bool released) {
    SetCaptionText(id == kSpeedSlider ? m_capSpeedValue : m_capBrightValue, QString::number(value));
    if (!released || !m_host.CurrentProfile()) return;
    StoreToProfile();
    StartPreview();
    ApplyNow(DeviceKind::Keyboard, kApplyHeader);
}

void CLedKbDlg_642Std::OnColorClick(Colour c, int id) {
    ProfileData* pro = m_host.CurrentProfile();
    if (!pro) return;
    const bool per_key = SelectedEffect() == PerKeyEntry();
    if (!per_key) {
        m_pColour->SetColor(c);
        m_pColour->SetChecked(true);
        if (m_pMulti) m_pMulti->SetChecked(false);
        if (m_host.Cfg().gVar.KbDev.nShowEffect != 0) {
            StartPreview();
        } else if (m_pPicture) {
            m_pPicture->ClearCellColours();
        }
        StoreAndApply(kApplyAllGroups);
    } else if (id == kPaintSwatch) {
        m_pPaint->SetColor(c);
    } else if (id == kFillSwatch) {
        m_pFill->SetColor(c);
        if (m_pPicture)
            for (int j = 0; j < std::min(m_pPicture->KeyCount(), kKbConfigKeys); ++j) m_pPicture->SetCellColour(j, c);
        StoreAndApply(kApplyGroupPair);
    }
    if (QWidget* w = m_host.Window()) w->setFocus();
}

void CLedKbDlg_642Std::OnKeyClick(int slot) {
    ProfileData* pro = m_host.CurrentProfile();
    if (!pro || !m_pPicture || pro->Kb.nEffect != PerKeyEntry() || !GroupEditable(SelectedGroup())) return;
    if (slot < 0 || slot >= m_pPicture->KeyCount()) return;
    m_pPicture->SetCellColour(slot, m_pPicture->CellColour(slot) != 0 ? 0 : m_pPaint->Color());
    StoreAndApply(kApplyGroupPair);
}

void CLedKbDlg_642Std::OnKeyRClick(int slot) {
    ProfileData* pro = m_host.CurrentProfile();
    if (!pro || !m_pPicture || pro->Kb.nEffect != PerKeyEntry() || !GroupEditable(SelectedGroup())) return;
    bool changed = false;
    for (int s : m_pPicture->Selection()) {
        const int k = s < 0 ? slot : s;
        if (k < 0 || k >= m_pPicture->KeyCount() || m_pPicture->CellColour(k) == m_pPaint->Color()) continue;
        m_pPicture->SetCellColour(k, m_pPaint->Color());
        changed = true;
    }
    if (changed) StoreAndApply(kApplyGroupPair);
}

bool CLedKbDlg_642Std::OnPreviewKey(int vk, bool release) {
    if (!m_pPicture || !m_pPicture->IsCapturing()) return false;
    if (!release) m_pPicture->OnCaptureKey(vk, false);
    return true;
}

}  // namespace quobel
