#include "ui/pages/rate_dlg.h"

#include <QPainter>

#include <algorithm>

#include "config/mouse_desc.h"
#include "device/apply_flags.h"
#include "ui/pages/mouse_page_ground.h"
#include "ui/skin/combo_btn.h"
#include "ui/skin/skin_menu.h"

namespace quobel {
namespace {


std::uint32_t* ModeRate(ProfileData& p) {
    const int mode = p.Ms.nMode;
    if (mode < 0 || mode >= kMsModes) return nullptr;
    return &p.Ms.dwRate[mode];
}

}  // namespace

CRateDlg::CRateDlg(PageHost& host, QWidget* parent) : CPage(host, parent) {
    resize(kWidth, kHeight);
    m_imgBkg = MousePageGround(host.Skin(), size());
    m_pCombo = CComboBtn::Create(host.Skin(), this, m_imgBkg, QPoint((kWidth - 189) / 2, 36),
                                 QStringLiteral("combo_nr.png"), QStringLiteral("combo_ov.png"),
                                 QStringLiteral("combo_dn.png"));
    if (m_pCombo) connect(m_pCombo, &CComboBtn::Command, this, &CRateDlg::OnCommand);
    FillForSensor();
}

void CRateDlg::FillForSensor() {
    if (m_pCombo == nullptr) return;
    m_pCombo->ClearList(0);
    const SensorCfg* sensor = m_host.Cfg().pSensorCfg();
    if (sensor == nullptr) return;
    const QString unit = m_host.Skin().Text("tc_hz");
    for (std::uint32_t code : sensor->dwRate) {
        // The rate codes read as decimal when written in hexadecimal: 0x125 is 125 Hz.
        if (code != 0) m_pCombo->AddItem(0, QString::number(code, 16) + unit, code);
    }
    if (!m_pCombo->SelectValue(sensor->dwDefRate[0])) m_pCombo->SelectIndex(-1);
}

void CRateDlg::ShowCurrentMode() {
    ProfileData* profile = m_host.CurrentProfile();
    if (m_pCombo == nullptr || profile == nullptr) return;
    const std::uint32_t* rate = ModeRate(*profile);
    if (rate == nullptr || !m_pCombo->SelectValue(*rate)) m_pCombo->SelectIndex(-1);
}

void CRateDlg::StoreToProfile() {
    ProfileData* profile = m_host.CurrentProfile();
    if (m_pCombo == nullptr || profile == nullptr || m_pCombo->SelectedValue() < 0) return;
    if (std::uint32_t* rate = ModeRate(*profile)) *rate = static_cast<std::uint32_t>(m_pCombo->SelectedValue());
}

void CRateDlg::OnCommand() {
    CSkinMenu::DestroyMenuEx();
    if (m_host.CurrentProfile() == nullptr) return;
    StoreToProfile();
    if (m_host.Cfg().gVar.bApplyNow) m_host.RequestApply(DeviceKind::Mouse, kMsApplyGeneral);
}

void CRateDlg::ReloadTexts() {
    const std::int64_t selected = m_pCombo ? m_pCombo->SelectedValue() : -1;
    FillForSensor();
    if (m_pCombo && selected >= 0) m_pCombo->SelectValue(static_cast<std::uint32_t>(selected));
    update();
}

void CRateDlg::ReloadSkin() {
    m_imgBkg = MousePageGround(m_host.Skin(), size());
    if (m_pCombo) m_pCombo->SetBackground(m_imgBkg);
    update();
}

void CRateDlg::mousePressEvent(QMouseEvent* event) {
    CSkinMenu::DestroyMenuEx();
    CPage::mousePressEvent(event);
}

void CRateDlg::paintEvent(QPaintEvent*) {
    const SkinContext& ctx = m_host.Skin();
    PagePainter page(*this, ctx, m_imgBkg);
    QFont title = ctx.font;
    title.setBold(true);
    page.p().setFont(title);
    page.p().drawText(QRect(12, 8, width() - 24, 22), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      ctx.Text("tc_ms6"));
}

}  // namespace quobel
