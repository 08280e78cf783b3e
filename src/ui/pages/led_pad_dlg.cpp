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

// "%x %%": the hexadecimal digits read as a percentage.
QString BrightText(int value) { return QString::number(value, 16) + QStringLiteral(" %"); }

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
    m_capSpeed = AddCaption({10, 64, 170, 18}, "tc_speed");
    m_pSpeed = MakeSlider(kSpeedSlider, 3, {10, 84});
    m_capSpeedValue = AddValueCaption({190, 78, 46, 20});
    m_capBright = AddCaption({10, 108, 170, 18}, "tc_brightness");
    m_pBright = MakeSlider(kBrightSlider, 4, {10, 128});
    if (m_pBright && m_pBright->Slider()) m_pBright->Slider()->SetValueTable(kBrightValues);
    m_capBrightValue = AddValueCaption({190, 122, 46, 20});
    m_capDir = AddCaption({10, 152, 170, 18}, "tc_direct");
    m_pCw = MakeButton({10, 172}, QStringLiteral("cow_nr.png"), QStringLiteral("cow_ov.png"), QStringLiteral("cow_dn.png"));
    m_pAcw = MakeButton({49, 172}, QStringLiteral("acow_nr.png"), QStringLiteral("acow_ov.png"),
                        QStringLiteral("acow_dn.png"));
    m_capColours = AddCaption({10, 200, 220, 18}, "tc_adv_str4");
    for (int k = 0; k < kSwatches; ++k) {
        auto* sw = new CColorBtnDlg(host, this, k);
        sw->setGeometry(10 + 28 * k, 222, 18, 18);
        sw->SetOpenMode(CColorBtnDlg::kDoubleClick);
        sw->SetColor(kDefaultColours[k]);
        connect(sw, &CColorBtnDlg::ColorChanged, this, &CLedPadDlg_Std::OnColorChanged);
        connect(sw, &CColorBtnDlg::ColorClick, this, &CLedPadDlg_Std::OnColorClick);
        m_swatches[static_cast<std::size_t>(k)] = sw;
    }
    if (m_pEffect) connect(m_pEffect, &CComboBtn::Command, this, &CLedPadDlg_Std::OnEffectCommand);
    for (CPngSliderBar* bar : {m_pSpeed, m_pBright}) {
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
    show(m_pSpeed, o.speed);
    ShowCaption(m_capSpeed, o.speed);
    ShowCaption(m_capSpeedValue, o.speed);
    show(m_pBright, o.bright);
    ShowCaption(m_capBright, o.bright);
    ShowCaption(m_capBrightValue, o.bright);
    show(m_pCw, o.dir);
    show(m_pAcw, o.dir);
    ShowCaption(m_capDir, o.dir);
    ShowCaption(m_capColours, o.swatches > 0);
    for (int k = 0; k < kSwatches; ++k) show(m_swatches[static_cast<std::size_t>(k)], k < o.swatches);
    update();
}

void CLedPadDlg_Std::SetSliders(const LedEffect& e) {
    if (m_pSpeed) m_pSpeed->SetPos(std::clamp(e.nSpeed, 1, 3), false);
    if (m_pBright) m_pBright->SetPos(OfferedBright(e.nBright), false);
    SetCaptionText(m_capSpeedValue, QString::number(m_pSpeed ? m_pSpeed->GetValue() : e.nSpeed));
    SetCaptionText(m_capBrightValue, BrightText(m_pBright ? m_pBright->GetValue() : e.nBright));
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
    for (int k = 0; k < kSwatches; ++k) {
        CColorBtnDlg* sw = m_swatches[static_cast<std::size_t>(k)];
        sw->SetColor(e.clr[k]);
        sw->SetChecked((e.dwColorMask & (1u << k)) != 0);
    }
    m_bFilled = true;
    StartPreview();
}

void CLedPadDlg_Std::StoreToProfile() {
    ProfileData* pro = m_host.CurrentProfile();
    const int a = SelectedEffect();
    if (!pro || a < 0 || a >= kEffects) return;
    pro->Pad.nEffect = a;
    LedEffect& e = pro->Pad.Effects[a];
    if (m_pSpeed) e.nSpeed = m_pSpeed->GetValue();
    if (m_pBright) e.nBright = m_pBright->GetValue();
    e.nDir = m_pCw && m_pCw->IsChecked() ? kClockwise : kAnticlockwise;
    e.dwColorMask = 0;
    for (int k = 0; k < kSwatches; ++k) {
        const CColorBtnDlg* sw = m_swatches[static_cast<std::size_t>(k)];
        e.clr[k] = sw->Color();
        if (sw->IsChecked()) e.dwColorMask |= 1u << k;
    }
}

void CLedPadDlg_Std::Changed() {
    StoreToProfile();
    StartPreview();
    ApplyNow(DeviceKind::Pad, kApplyLighting);
}

void CLedPadDlg_Std::OnEffectCommand() {
    const int a = SelectedEffect();
    if (a < 0 || a >= kEffects) return;
    // Choosing an effect restores its colours and speed to the defaults.
    const PadEffectOptions o = OptionsOf(a);
    for (int k = 0; k < kSwatches; ++k) {
        CColorBtnDlg* sw = m_swatches[static_cast<std::size_t>(k)];
        sw->SetColor(kDefaultColours[k]);
        sw->SetChecked(k < o.swatches);
    }
    ShowOptions(a);
    if (o.speed && m_pSpeed) {
        m_pSpeed->SetPos(2, false);
        SetCaptionText(m_capSpeedValue, QString::number(m_pSpeed->GetValue()));
    }
    Changed();
}

void CLedPadDlg_Std::OnSlider(int value, int id) {
    if (id == kSpeedSlider) SetCaptionText(m_capSpeedValue, QString::number(value));
    else SetCaptionText(m_capBrightValue, BrightText(value));
    Changed();
}

void CLedPadDlg_Std::OnDirection(bool clockwise) {
    if (m_pCw) m_pCw->SetChecked(clockwise);
    if (m_pAcw) m_pAcw->SetChecked(!clockwise);
    Changed();
}

void CLedPadDlg_Std::OnColorChanged(bool check, int id) {
    if (id < 0 || id >= kSwatches) return;
    CColorBtnDlg* sw = m_swatches[static_cast<std::size_t>(id)];
    if (!check) {
        const int checked = static_cast<int>(std::count_if(m_swatches.begin(), m_swatches.end(),
                                                           [](const CColorBtnDlg* s) { return s->IsChecked(); }));
        if (checked <= 1 && sw->IsChecked()) return;  // one colour always stays
    }
    sw->SetChecked(check);
    Changed();
}

void CLedPadDlg_Std::OnColorClick(Colour, int id) {
    if (id < 0 || id >= kSwatches) return;
    m_swatches[static_cast<std::size_t>(id)]->SetChecked(true);
    Changed();
}

void CLedPadDlg_Std::StartPreview() {
    if (!m_pMark || !m_bFilled || m_host.Cfg().gVar.PadDev.bShowEffect == 0) return;
    const ProfileData* pro = m_host.CurrentProfile();
    const int a = SelectedEffect();
    if (!pro || a < 0 || a >= kEffects) return;
    lighting::PadPreviewParams p;
    p.effect = a;
    p.speed = m_pSpeed ? m_pSpeed->GetValue() : 2;
    p.bright = m_pBright ? m_pBright->GetValue() : 0x100;
    p.clockwise = m_pCw && m_pCw->IsChecked();
    for (const CColorBtnDlg* sw : m_swatches) {
        if (sw->IsChecked() && sw->isVisibleTo(this)) p.checked.push_back(sw->Color());
    }
    m_pMark->SetPreview(lighting::MakePadPreview(p, static_cast<int>(m_pMark->Ring().cells.size()), *m_random));
}

}  // namespace quobel
