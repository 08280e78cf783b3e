#include "ui/pages/led_ms_dlg.h"

#include <algorithm>
#include <string>

#include "lighting/ms_preview.h"
#include "profile/profile_data.h"
#include "ui/pages/color_btn_dlg.h"
#include "ui/pages/key_mark_dlg.h"
#include "ui/skin/combo_btn.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/png_slider.h"

namespace quobel {

namespace {

constexpr int kBrightValues[] = {0x05, 0x15, 0x25, 0x35, 0x45, 0x55, 0x65, 0x75, 0x85, 0x100};

// A stored value the slider does not offer shows as its nearest end.
int Offered(std::span<const int> values, int v) {
    return std::find(values.begin(), values.end(), v) != values.end() ? v : (v < values.front() ? values.front() : values.back());
}

}  // namespace

CLedMsDlg_5307Std::CLedMsDlg_5307Std(PageHost& host, QWidget* parent) : CLedDlg(host, parent) {
    AddCaption({10, 10, 220, 18}, "tc_ms14");
    m_pEffect = CComboBtn::Create(host.Skin(), this, Background(), {10, 30}, QStringLiteral("combo2_nr.png"),
                                  QStringLiteral("combo2_ov.png"), QStringLiteral("combo2_dn.png"));
    m_speed = MakeSliderRow(kSpeedSlider, "tc_speed", 3, 64);
    m_bright = MakeSliderRow(kBrightSlider, "tc_brightness", static_cast<int>(std::size(kBrightValues)), 108);
    if (m_bright.bar && m_bright.bar->Slider()) m_bright.bar->Slider()->SetValueTable(kBrightValues);
    m_pMulti = MakeCheckBox({10, 154});
    m_capMulti = AddCaption({34, 153, 200, 20}, "tc_adv_str5");
    m_capDir = AddCaption({10, 178, 170, 18}, "tc_direct");
    m_pUp = MakeButton({10, 198}, QStringLiteral("up_nr.png"), QStringLiteral("up_ov.png"), QStringLiteral("up_dn.png"));
    m_pDown = MakeButton({49, 198}, QStringLiteral("down_nr.png"), QStringLiteral("down_ov.png"),
                         QStringLiteral("down_dn.png"));
    MakeSwatchRow(226);
    if (m_pEffect) connect(m_pEffect, &CComboBtn::Command, this, &CLedMsDlg_5307Std::OnEffectCommand);
    for (CPngSliderBar* bar : {m_speed.bar, m_bright.bar}) {
        if (bar) connect(bar, &CPngSliderBar::SliderPos, this, &CLedMsDlg_5307Std::OnSlider);
    }
    if (m_pMulti) {
        connect(m_pMulti, &CPngBtn::clicked, this, [this] {
            m_pMulti->SetChecked(!m_pMulti->IsChecked());
            Changed();
        });
    }
    if (m_pUp) connect(m_pUp, &CPngBtn::clicked, this, [this] { OnDirection(true); });
    if (m_pDown) connect(m_pDown, &CPngBtn::clicked, this, [this] { OnDirection(false); });
    FillList();
}

void CLedMsDlg_5307Std::FillList() {
    if (!m_pEffect) return;
    const std::uint32_t mask = m_host.Cfg().gVar.MsDev.dwLedMask;
    m_pEffect->ClearList(0);
    for (int i = 0; i <= kLastEffect; ++i) {
        if ((mask & (1u << i)) == 0)
            m_pEffect->AddItem(0, m_host.Skin().Text("tc_ms_led" + std::to_string(i + 1)), static_cast<std::uint32_t>(i));
    }
}

void CLedMsDlg_5307Std::ReloadTexts() {
    const std::int64_t effect = m_pEffect ? m_pEffect->SelectedValue() : -1;
    FillList();
    if (m_pEffect && effect >= 0) m_pEffect->SelectValue(static_cast<std::uint32_t>(effect));
    CLedDlg::ReloadTexts();
}

int CLedMsDlg_5307Std::SelectedEffect() const { return m_pEffect ? static_cast<int>(m_pEffect->SelectedValue()) : -1; }

QString CLedMsDlg_5307Std::BrightnessText() const { return HexPercent(m_bright.bar ? m_bright.bar->GetValue() : 0); }

void CLedMsDlg_5307Std::ShowOptions(int a) {
    const ProfileData* pro = m_host.CurrentProfile();
    if (!pro || a < 0 || a > kLastEffect) return;
    const MsLedOpt& o = m_host.Cfg().gVar.MsDev.LedOpt[static_cast<std::size_t>(a)];
    const int n = std::clamp(o.nColorNum, 0, kSwatches);
    const auto show = [](QWidget* w, bool on) {
        if (w) w->setVisible(on);
    };
    ShowSliderRow(m_speed, o.bSpeed != 0);
    ShowSliderRow(m_bright, o.bBright != 0);
    show(m_pMulti, o.bCheck != 0);
    ShowCaption(m_capMulti, o.bCheck != 0);
    // Hidden direction buttons keep their check, so nDir stays as stored.
    show(m_pUp, o.bDir != 0);
    show(m_pDown, o.bDir != 0);
    ShowCaption(m_capDir, o.bDir != 0);
    const LedEffect& e = pro->Ms.Effects[a];
    if (m_speed.bar) m_speed.bar->SetPos(std::clamp(e.nSpeed, 1, 3), false);
    if (m_bright.bar) m_bright.bar->SetPos(Offered(kBrightValues, e.nBright), false);
    SetCaptionText(m_speed.value, QString::number(m_speed.bar ? m_speed.bar->GetValue() : e.nSpeed));
    SetCaptionText(m_bright.value, BrightnessText());
    ShowSwatchRow(n);
    // The shown swatches start checked; effect 7 without swatches runs on all seven.
    LedEffect shown = e;
    shown.dwColorMask = a == 7 && n == 0 ? 0x7Fu : (1u << n) - 1;
    SetSwatches(shown);
    update();
}

void CLedMsDlg_5307Std::RefreshFromProfile() {
    const ProfileData* pro = m_host.CurrentProfile();
    if (!pro) return;
    const int a = pro->Ms.nEffect;
    if (a >= 0 && a <= kLastEffect && m_pEffect) m_pEffect->SelectValue(static_cast<std::uint32_t>(a));
    const int shown = SelectedEffect();
    if (shown < 0 || shown > kLastEffect) return;
    ShowOptions(shown);
    const LedEffect& e = pro->Ms.Effects[shown];
    if (m_pUp) m_pUp->SetChecked(e.nDir == kUp);
    if (m_pDown) m_pDown->SetChecked(e.nDir != kUp);
    if (m_pMulti) m_pMulti->SetChecked(e.bColorful != 0);
    SetSwatches(e);
    m_bFilled = true;
    StartPreview();
}

void CLedMsDlg_5307Std::StoreToProfile() {
    ProfileData* pro = m_host.CurrentProfile();
    const int a = SelectedEffect();
    if (!pro || a < 0 || a > kLastEffect) return;
    pro->Ms.nEffect = a;
    LedEffect& e = pro->Ms.Effects[a];
    if (m_speed.bar) e.nSpeed = m_speed.bar->GetValue();
    if (m_bright.bar) e.nBright = m_bright.bar->GetValue();
    e.bColorful = m_pMulti && m_pMulti->IsChecked() ? 1 : 0;
    e.nDir = m_pUp && m_pUp->IsChecked() ? kUp : kDown;
    StoreSwatches(e);
}

void CLedMsDlg_5307Std::Changed() {
    StoreToProfile();
    StartPreview();
    ApplyNow(DeviceKind::Mouse, kApplyLighting);
}

bool CLedMsDlg_5307Std::ChooseEffect(int a) {
    if (!m_pEffect || a < 0 || !m_pEffect->SelectValue(static_cast<std::uint32_t>(a))) return false;
    OnEffectCommand();
    return true;
}

void CLedMsDlg_5307Std::OnEffectCommand() {
    ShowOptions(SelectedEffect());
    Changed();
}

void CLedMsDlg_5307Std::OnSlider(int value, int id) {
    if (id == kSpeedSlider) SetCaptionText(m_speed.value, QString::number(value));
    else SetCaptionText(m_bright.value, BrightnessText());
    Changed();
}

void CLedMsDlg_5307Std::OnDirection(bool up) {
    if (m_pUp) m_pUp->SetChecked(up);
    if (m_pDown) m_pDown->SetChecked(!up);
    Changed();
}

void CLedMsDlg_5307Std::StartPreview() {
    const MsDevCfg& ms = m_host.Cfg().gVar.MsDev;
    if (!m_pMark || !m_bFilled || ms.bShowEffect == 0) return;
    const int a = SelectedEffect();
    if (a < 0 || a > kLastEffect) return;
    lighting::MsPreviewParams p;
    p.effect = a;
    p.speed = m_speed.bar ? m_speed.bar->GetValue() : 1;
    p.bright = m_bright.bar ? m_bright.bar->GetValue() : 0x100;
    p.dirUp = m_pUp && m_pUp->IsChecked();
    for (int k = 0; k < kSwatches; ++k) p.swatches[static_cast<std::size_t>(k)] = Swatch(k)->Color();
    p.checked = CheckedSwatchColours(false);
    m_pMark->SetPreview(lighting::MakeMsPreview(p, ms));
}

}  // namespace quobel
