#include "ui/pages/led_pad_dlg.h"

#include <algorithm>
#include <string>

#include "lighting/pad_preview.h"
#include "ui/pages/color_btn_dlg.h"
#include "ui/pages/pad_mark_dlg.h"
#include "ui/skin/combo_btn.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/png_slider.h"

namespace quobel {

namespace {

constexpr int kBrightValues[] = {0x20, 0x50, 0x70, 0x100};

// Which controls an effect shows; fixed by the effect index.
struct PadEffectOptions {
    bool speed, bright, dir;
    int swatches;
};

PadEffectOptions OptionsOf(int effect) {
    switch (effect) {
        case 0:
        case 2: return {true, true, true, 0};
        case 1: return {false, true, false, 1};
        case 3: return {true, false, false, 7};
        case 5: return {true, false, false, 0};
        case 10: return {false, false, false, 0};
        default: return {true, true, false, 0};
    }
}

// A stored brightness the slider does not offer shows as the brightest.
int OfferedBright(int value) {
    return std::find(std::begin(kBrightValues), std::end(kBrightValues), value) != std::end(kBrightValues) ? value
                                                                                                          : 0x100;
}

}  // namespace

CLedPadDlg_Std::CLedPadDlg_Std(PageHost& host, QWidget* parent)
    : CLedDlg(host, parent), m_random(std::make_unique<lighting::DefaultRandom>()) {
    AddCaption({10, 10, 220, 18}, "tc_ms14");
    m_pEffect = CComboBtn::Create(host.Skin(), this, Background(), {10, 30}, QStringLiteral("combo2_nr.png"),
                                  QStringLiteral("combo2_ov.png"), QStringLiteral("combo2_dn.png"));
    m_speed = MakeSliderRow(kSpeedSlider, "tc_speed", 3, 64);
    m_bright = MakeSliderRow(kBrightSlider, "tc_brightness", 4, 108);
    if (m_bright.bar && m_bright.bar->Slider()) m_bright.bar->Slider()->SetValueTable(kBrightValues);
    m_capDir = AddCaption({10, 152, 170, 18}, "tc_direct");
    m_pCw = MakeButton({10, 172}, QStringLiteral("cow_nr.png"), QStringLiteral("cow_ov.png"), QStringLiteral("cow_dn.png"));
    m_pAcw = MakeButton({49, 172}, QStringLiteral("acow_nr.png"), QStringLiteral("acow_ov.png"),
                        QStringLiteral("acow_dn.png"));
    MakeSwatchRow(200);
    for (int k = 0; k < kSwatches; ++k) Swatch(k)->SetColor(kDefaultColours[k]);
    if (m_pEffect) connect(m_pEffect, &CComboBtn::Command, this, &CLedPadDlg_Std::OnEffectCommand);
    for (CPngSliderBar* bar : {m_speed.bar, m_bright.bar}) {
        if (bar) connect(bar, &CPngSliderBar::SliderPos, this, &CLedPadDlg_Std::OnSlider);
    }
    if (m_pCw) connect(m_pCw, &CPngBtn::clicked, this, [this] { OnDirection(true); });
    if (m_pAcw) connect(m_pAcw, &CPngBtn::clicked, this, [this] { OnDirection(false); });
    FillList();
}

CLedPadDlg_Std::~CLedPadDlg_Std() = default;

void CLedPadDlg_Std::FillList() {
    if (!m_pEffect) return;
    const std::uint32_t mask = m_host.Cfg().gVar.PadDev.dwLedMask;
    m_pEffect->ClearList(0);
    for (int i = 0; i < kEffects; ++i) {
        if ((mask & (1u << i)) == 0)
            m_pEffect->AddItem(0, m_host.Skin().Text("tc_pad_led" + std::to_string(i + 1)), static_cast<std::uint32_t>(i));
    }
}

void CLedPadDlg_Std::ReloadTexts() {
    const std::int64_t effect = m_pEffect ? m_pEffect->SelectedValue() : -1;
    FillList();
    if (m_pEffect && effect >= 0) m_pEffect->SelectValue(static_cast<std::uint32_t>(effect));
    CLedDlg::ReloadTexts();
}

int CLedPadDlg_Std::SelectedEffect() const { return m_pEffect ? static_cast<int>(m_pEffect->SelectedValue()) : -1; }

void CLedPadDlg_Std::ShowOptions(int effect) {
    const PadEffectOptions o = OptionsOf(effect);
    const auto show = [](QWidget* w, bool on) {
        if (w) w->setVisible(on);
    };
    ShowSliderRow(m_speed, o.speed);
    ShowSliderRow(m_bright, o.bright);
    show(m_pCw, o.dir);
    show(m_pAcw, o.dir);
    ShowCaption(m_capDir, o.dir);
    ShowSwatchRow(o.swatches);
    update();
}

void CLedPadDlg_Std::SetSliders(const LedEffect& e) {
    if (m_speed.bar) m_speed.bar->SetPos(std::clamp(e.nSpeed, 1, 3), false);
    if (m_bright.bar) m_bright.bar->SetPos(OfferedBright(e.nBright), false);
    SetCaptionText(m_speed.value, QString::number(m_speed.bar ? m_speed.bar->GetValue() : e.nSpeed));
    SetCaptionText(m_bright.value, HexPercent(m_bright.bar ? m_bright.bar->GetValue() : e.nBright));
}

void CLedPadDlg_Std::RefreshFromProfile() {
    const ProfileData* pro = m_host.CurrentProfile();
    if (!pro) return;
    const int a = pro->Pad.nEffect;
    if (a >= 0 && a < kEffects && m_pEffect) m_pEffect->SelectValue(static_cast<std::uint32_t>(a));
    const int shown = SelectedEffect();
    if (shown < 0 || shown >= kEffects) return;
    ShowOptions(shown);
    const LedEffect& e = pro->Pad.Effects[shown];
    SetSliders(e);
    if (m_pCw) m_pCw->SetChecked(e.nDir == kClockwise);
    if (m_pAcw) m_pAcw->SetChecked(e.nDir != kClockwise);
    SetSwatches(e);
    m_bFilled = true;
    StartPreview();
}

void CLedPadDlg_Std::StoreToProfile() {
    ProfileData* pro = m_host.CurrentProfile();
    const int a = SelectedEffect();
    if (!pro || a < 0 || a >= kEffects) return;
    pro->Pad.nEffect = a;
    LedEffect& e = pro->Pad.Effects[a];
    if (m_speed.bar) e.nSpeed = m_speed.bar->GetValue();
    if (m_bright.bar) e.nBright = m_bright.bar->GetValue();
    e.nDir = m_pCw && m_pCw->IsChecked() ? kClockwise : kAnticlockwise;
    StoreSwatches(e);
}

void CLedPadDlg_Std::Changed() {
    StoreToProfile();
    StartPreview();
    // While the pad is being written, changes join the one request waiting behind it.
    ApplyNowJoining(DeviceKind::Pad, kApplyLighting);
}

bool CLedPadDlg_Std::ChooseEffect(int a) {
    if (!m_pEffect || a < 0 || !m_pEffect->SelectValue(static_cast<std::uint32_t>(a))) return false;
    OnEffectCommand();
    return true;
}

void CLedPadDlg_Std::OnEffectCommand() {
    const int a = SelectedEffect();
    if (a < 0 || a >= kEffects) return;
    // Choosing an effect restores its colours and speed to the defaults.
    const PadEffectOptions o = OptionsOf(a);
    LedEffect defaults;
    std::copy(std::begin(kDefaultColours), std::end(kDefaultColours), defaults.clr);
    defaults.dwColorMask = (1u << o.swatches) - 1;
    SetSwatches(defaults);
    ShowOptions(a);
    if (o.speed && m_speed.bar) {
        m_speed.bar->SetPos(2, false);
        SetCaptionText(m_speed.value, QString::number(m_speed.bar->GetValue()));
    }
    Changed();
}

void CLedPadDlg_Std::OnSlider(int value, int id) {
    if (id == kSpeedSlider) SetCaptionText(m_speed.value, QString::number(value));
    else SetCaptionText(m_bright.value, HexPercent(value));
    Changed();
}

void CLedPadDlg_Std::OnDirection(bool clockwise) {
    if (m_pCw) m_pCw->SetChecked(clockwise);
    if (m_pAcw) m_pAcw->SetChecked(!clockwise);
    Changed();
}

void CLedPadDlg_Std::StartPreview() {
    if (!m_pMark || !m_bFilled || m_host.Cfg().gVar.PadDev.bShowEffect == 0) return;
    const ProfileData* pro = m_host.CurrentProfile();
    const int a = SelectedEffect();
    if (!pro || a < 0 || a >= kEffects) return;
    lighting::PadPreviewParams p;
    p.effect = a;
    p.speed = m_speed.bar ? m_speed.bar->GetValue() : 2;
    p.bright = m_bright.bar ? m_bright.bar->GetValue() : 0x100;
    p.clockwise = m_pCw && m_pCw->IsChecked();
    p.checked = CheckedSwatchColours(true);
    m_pMark->SetPreview(lighting::MakePadPreview(p, static_cast<int>(m_pMark->Ring().cells.size()), *m_random));
}

}  // namespace quobel
