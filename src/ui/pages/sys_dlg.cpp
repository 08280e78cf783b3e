#include "ui/pages/sys_dlg.h"

#include <QPainter>

#include <algorithm>
#include <array>

#include "device/apply_flags.h"
#include "ui/pages/mouse_page_ground.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/png_slider.h"
#include "ui/skin/skin_menu.h"

namespace quobel {
namespace {

constexpr int kLeft = 12;
constexpr int kHeight = 268;

constexpr std::array<int, 11> kSpeeds = {1, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20};
constexpr std::array<int, 10> kDblClicks = {200, 270, 340, 410, 480, 550, 620, 690, 760, 830};

// Rows of the page, top to bottom.
constexpr int kSpeedLabelY = 10;
constexpr int kSpeedY = 32;
constexpr int kPrecisionY = 58;
constexpr int kWheelLabelY = 86;
constexpr int kWheelY = 108;
constexpr int kPageY = 134;
constexpr int kDblLabelY = 162;
constexpr int kDblY = 184;
constexpr int kNoteY = 212;

}  // namespace

CSysDlg::CSysDlg(PageHost& host, QWidget* parent) : CPage(host, parent) {
    resize(kWidth, kHeight);
    m_imgBkg = MousePageGround(host.Skin(), size());
    CreateControls();
    SetUnsupported(MakeSystemPointer()->Unsupported());
}

void CSysDlg::CreateControls() {
    const SkinContext& ctx = m_host.Skin();
    const auto slider = [&](int steps, int id, int y, int initial, std::span<const int> table) {
        auto* bar = new CPngSliderBar(ctx, this);
        if (!bar->Create(QStringLiteral("bar.png"), QStringLiteral("bar_ov.png"), QStringLiteral("slider2.png"),
                         QStringLiteral("bar_dot.png"), steps, id, QPoint(kLeft, y))) {
            return bar;
        }
        bar->SetBackground(m_imgBkg);
        if (!table.empty()) bar->Slider()->SetValueTable(table);
        bar->SetPos(initial, false);
        connect(bar, &CPngSliderBar::SliderPos, this, &CSysDlg::OnSliderPos);
        connect(bar, &CPngSliderBar::SliderDrag, this, &CSysDlg::OnSliderDrag);
        return bar;
    };
    m_pSpeed = slider(static_cast<int>(kSpeeds.size()), kSpeedId, kSpeedY, 2, kSpeeds);
    m_pWheel = slider(10, kWheelId, kWheelY, 3, {});
    m_pDblClick = slider(static_cast<int>(kDblClicks.size()), kDblClickId, kDblY, 200, kDblClicks);
    m_nSpeedText = m_pSpeed->GetValue();
    m_nWheelText = m_pWheel->GetValue();
    m_nDblClickText = m_pDblClick->GetValue();

    const auto check = [&](int y) {
        CPngBtn* b = CPngBtn::Create(ctx, this, m_imgBkg, QPoint(kLeft, y), QStringLiteral("check_nr.png"),
                                     QStringLiteral("check_ov.png"), QStringLiteral("check_dn.png"),
                                     CPngBtn::kCheck, false, {});
        if (b) connect(b, &CPngBtn::clicked, this, [this, b] { OnCheck(b); });
        return b;
    };
    m_pPrecision = check(kPrecisionY);
    m_pPage = check(kPageY);
}

void CSysDlg::ReloadSkin() {
    m_imgBkg = MousePageGround(m_host.Skin(), size());
    for (CPngSliderBar* bar : {m_pSpeed, m_pWheel, m_pDblClick}) bar->SetBackground(m_imgBkg);
    for (CPngBtn* b : {m_pPrecision, m_pPage}) {
        if (b) b->SetBackground(m_imgBkg);
    }
    update();
}

void CSysDlg::SetUnsupported(std::vector<PointerValue> values) {
    // Trails have no control on this page.
    std::erase(values, PointerValue::Trails);
    m_unsupported = std::move(values);
    update();
}

QString CSysDlg::UnsupportedNote() const {
    if (m_unsupported.empty()) return {};
    const SkinContext& ctx = m_host.Skin();
    QStringList names;
    for (PointerValue v : m_unsupported) {
        switch (v) {
        case PointerValue::PointerSpeed: names << ctx.Text("tc_sys_str1"); break;
        case PointerValue::EnhancePrecision: names << ctx.Text("tc_sys_str2"); break;
        case PointerValue::WheelLines: names << ctx.Text("tc_sys_str3") << ctx.Text("tc_sys_str4"); break;
        case PointerValue::DblClickTime: names << ctx.Text("tc_sys_str5"); break;
        case PointerValue::Trails: break;
        }
    }
    return QString::fromLatin1(kUnsupportedText) + QLatin1Char(' ') + names.join(QStringLiteral(", "));
}

void CSysDlg::LoadFromProfile() {
    const ProfileData* profile = m_host.CurrentProfile();
    if (profile == nullptr) return;
    const MsProfile& ms = profile->Ms;
    if (m_pPrecision) m_pPrecision->SetChecked(ms.bEnhancePrecision != 0);
    if (m_pPage) m_pPage->SetChecked(ms.nWheelLines == -1);
    m_pSpeed->SetPos(ms.nPointerSpeed, false);
    // One page per notch keeps the slider where it is: unchecking brings its value back.
    if (ms.nWheelLines != -1) m_pWheel->SetPos(ms.nWheelLines, false);
    m_pDblClick->SetPos(ms.nDblClickTime, false);
    m_nSpeedText = ms.nPointerSpeed;
    m_nWheelText = ms.nWheelLines == -1 ? m_pWheel->GetValue() : ms.nWheelLines;
    m_nDblClickText = ms.nDblClickTime;
    update();
}

void CSysDlg::SaveToProfile() {
    ProfileData* profile = m_host.CurrentProfile();
    if (profile == nullptr) return;
    MsProfile& ms = profile->Ms;
    ms.bEnhancePrecision = (m_pPrecision && m_pPrecision->IsChecked()) ? 1 : 0;
    ms.nPointerSpeed = m_pSpeed->GetValue();
    ms.nDblClickTime = m_pDblClick->GetValue();
    ms.nWheelLines = (m_pPage && m_pPage->IsChecked()) ? -1 : m_pWheel->GetValue();
}

void CSysDlg::Changed() {
    if (m_host.CurrentProfile() == nullptr) return;
    SaveToProfile();
    if (m_host.Cfg().gVar.bApplyNow) m_host.RequestApply(DeviceKind::Mouse, kMsApplyPointer);
}

void CSysDlg::OnSliderDrag(int value, int id) {
    if (id == kSpeedId) m_nSpeedText = value;
    if (id == kWheelId) m_nWheelText = value;
    if (id == kDblClickId) m_nDblClickText = value;
    update();
}

void CSysDlg::OnSliderPos(int value, int id) {
    CSkinMenu::DestroyMenuEx();
    OnSliderDrag(value, id);
    Changed();
}

void CSysDlg::OnCheck(CPngBtn* check) {
    check->SetChecked(!check->IsChecked());
    Changed();
    update();
}

void CSysDlg::mousePressEvent(QMouseEvent* event) {
    CSkinMenu::DestroyMenuEx();
    CPage::mousePressEvent(event);
}

void CSysDlg::paintEvent(QPaintEvent*) {
    const SkinContext& ctx = m_host.Skin();
    PagePainter page(*this, ctx, m_imgBkg);
    QPainter& p = page.p();
    const int single = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    const int width = kWidth - 2 * kLeft;
    const auto label = [&](int y, const char* id) {
        p.drawText(QRect(kLeft, y, width, 20), single, p.fontMetrics().elidedText(ctx.Text(id), Qt::ElideRight, width));
    };
    const auto beside = [&](const CPngBtn* b, const char* id) {
        if (b == nullptr) return;
        const QRect r(b->geometry().right() + 8, b->y() - 1, kWidth - b->geometry().right() - 16, b->height() + 2);
        p.drawText(r, single, p.fontMetrics().elidedText(ctx.Text(id), Qt::ElideRight, r.width()));
    };
    const auto value = [&](const CPngSliderBar* bar, int v) {
        p.drawText(QRect(bar->geometry().right() + 11, bar->y(), 30, bar->height()), single, QString::number(v));
    };
    label(kSpeedLabelY, "tc_sys_str1");
    value(m_pSpeed, m_nSpeedText);
    beside(m_pPrecision, "tc_sys_str2");
    label(kWheelLabelY, "tc_sys_str3");
    value(m_pWheel, m_nWheelText);
    beside(m_pPage, "tc_sys_str4");
    label(kDblLabelY, "tc_sys_str5");
    value(m_pDblClick, m_nDblClickText);
    if (const QString note = UnsupportedNote(); !note.isEmpty()) {
        QFont small = ctx.font;
        small.setPixelSize(std::max(9, ctx.font.pixelSize() - 2));
        p.setFont(small);
        p.setPen(QColor(230, 170, 90));
        p.drawText(QRect(kLeft, kNoteY, width, height() - kNoteY - 6), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                   note);
    }
}

}  // namespace quobel
