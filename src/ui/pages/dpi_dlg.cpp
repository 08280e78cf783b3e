#include "ui/pages/dpi_dlg.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "config/mouse_desc.h"
#include "device/apply_flags.h"
#include "device/hid_drv.h"
#include "ui/modals.h"
#include "ui/pages/color_btn_dlg.h"
#include "ui/pages/mouse_page_ground.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/png_slider.h"
#include "ui/skin/skin_menu.h"

namespace quobel {
namespace {

constexpr int kRowX = 40;
constexpr int kRowTop = 45;
constexpr int kRightX = 146;
constexpr int kRightW = 92;
constexpr int kXBarY = 72;
constexpr int kYBarY = 132;
constexpr int kXYButtonY = 178;

const QRect kXLabel(kRightX, 50, kRightW, 18);
const QRect kYLabel(kRightX, 110, kRightW, 18);
const QRect kRangeLabels(kRightX, 92, kRightW, 16);
const QRect kXYText(kRightX + 24, kXYButtonY - 6, kRightW - 22, 30);
const QRect kCurrentText(kRightX, 218, kRightW, 36);

// Windows-style rectangles of the row layout (left, top, right, bottom).
QRect R(int l, int t, int r, int b) { return QRect(QPoint(l, t), QPoint(r - 1, b - 1)); }

QFont RowFont(const QFont& base) {
    QFont f = base;
    f.setPixelSize(10);
    return f;
}

}  // namespace

// ---- row ----------------------------------------------------------------------------

CDpiGridDlg::CDpiGridDlg(const SkinContext& ctx, int index, QWidget* parent)
    : QWidget(parent), m_ctx(ctx), m_nIndex(index) {
    resize(kSize, kSize);
}

void CDpiGridDlg::SetPictures(const QImage& normal, const QImage& focused) {
    m_imgNormal = normal;
    m_imgFocus = focused.isNull() ? normal : focused;
    update();
}

void CDpiGridDlg::SetGround(const QImage& page_ground) {
    m_imgPageGround = page_ground;
    m_imgGround = CropBackground(page_ground, geometry());
    update();
}

void CDpiGridDlg::moveEvent(QMoveEvent* event) {
    if (!m_imgPageGround.isNull()) m_imgGround = CropBackground(m_imgPageGround, geometry());
    QWidget::moveEvent(event);
}

void CDpiGridDlg::SetValues(int x, int y) {
    if (x == m_nX && y == m_nY) return;
    m_nX = x;
    m_nY = y;
    update();
}

void CDpiGridDlg::SetFocusRow(bool focus) {
    if (focus == m_bFocus) return;
    m_bFocus = focus;
    update();
}

void CDpiGridDlg::SetCurrent(bool current) {
    if (current == m_bCurrent) return;
    m_bCurrent = current;
    update();
}

void CDpiGridDlg::SetXYLayout(bool xy) {
    if (xy == m_bXY) return;
    m_bXY = xy;
    update();
}

void CDpiGridDlg::SetOff(bool off) {
    if (off == m_bOff) return;
    m_bOff = off;
    update();
}

void CDpiGridDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!m_imgGround.isNull()) p.drawImage(0, 0, m_imgGround);
    const QImage& picture = m_bFocus ? m_imgFocus : m_imgNormal;
    if (!picture.isNull()) p.drawImage(0, 0, picture);
    p.setFont(RowFont(m_ctx.font));
    const QColor text = m_bFocus ? QColor(Qt::white) : ToQColor(m_ctx.gvar->clrTxt, m_bOff ? 90 : 255);
    const QColor value = m_bCurrent ? ToQColor(0x0000FF, m_bOff ? 90 : 255) : text;
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    if (m_bXY) {
        p.setPen(text);
        p.drawText(R(2, 0, 40, 13), flags, QString::number(m_nIndex + 1));
        p.setPen(value);
        p.drawText(R(5, 13, 38, 26), flags, QString::number(m_nX));
        p.drawText(R(5, 28, 38, 41), flags, QString::number(m_nY));
    } else {
        p.setPen(text);
        p.drawText(R(2, 2, 40, 20), flags, QStringLiteral("DPI %1").arg(m_nIndex + 1));
        p.setPen(value);
        p.drawText(R(5, 22, 38, 38), flags, QString::number(m_nX));
    }
}

void CDpiGridDlg::mousePressEvent(QMouseEvent* event) {
    CSkinMenu::DestroyMenuEx();
    if (event->button() == Qt::LeftButton) emit RowClicked(!m_bFocus, m_nIndex);
}

// ---- page ---------------------------------------------------------------------------

CDpiDlg::CDpiDlg(PageHost& host, QWidget* parent) : CPage(host, parent) {
    CreateControls();
    LayoutForSensor();
}

void CDpiDlg::CreateControls() {
    const SkinContext& ctx = m_host.Skin();
    resize(kWidth, 300);
    m_imgBkg = MousePageGround(ctx, size());
    const QImage nr = LoadPicture(ctx.SkinPath(QStringLiteral("mouse/dpigrid_nr.png")));
    const QImage dn = LoadPicture(ctx.SkinPath(QStringLiteral("mouse/dpigrid_dn.png")));
    for (int i = 0; i < kLevels; ++i) {
        const auto at = static_cast<std::size_t>(i);
        auto* row = new CDpiGridDlg(ctx, i, this);
        row->SetPictures(nr, dn);
        connect(row, &CDpiGridDlg::RowClicked, this, &CDpiDlg::OnRowClicked);
        m_rows[at] = row;

        auto* swatch = new CColorBtnDlg(m_host, this, i);
        swatch->resize(12, 12);
        // The device knows a DPI level's colour by its palette code.
        swatch->SetPickerKind(CColorBtnDlg::kPalette);
        connect(swatch, &CColorBtnDlg::ColorClick, this, [this](Colour, int) { Changed(); });
        m_swatches[at] = swatch;

        CPngBtn* check = CPngBtn::Create(ctx, this, m_imgBkg, QPoint(0, 0), QStringLiteral("check_nr.png"),
                                         QStringLiteral("check_ov.png"), QStringLiteral("check_dn.png"),
                                         CPngBtn::kCheck, false, {});
        if (check) connect(check, &CPngBtn::clicked, this, [this, i] { OnCheck(i); });
        m_checks[at] = check;
    }
    m_pX = new CPngSliderBar(ctx, this);
    m_pY = new CPngSliderBar(ctx, this);
    for (CPngSliderBar* bar : {m_pX, m_pY}) {
        connect(bar, &CPngSliderBar::SliderPos, this, &CDpiDlg::OnSliderPos);
        connect(bar, &CPngSliderBar::SliderDrag, this, &CDpiDlg::OnSliderDrag);
    }
    m_pXY = CPngBtn::Create(ctx, this, m_imgBkg, QPoint(kRightX, kXYButtonY), QStringLiteral("check_nr.png"),
                            QStringLiteral("check_ov.png"), QStringLiteral("check_dn.png"), CPngBtn::kCheck,
                            false, {});
    if (m_pXY) connect(m_pXY, &CPngBtn::clicked, this, &CDpiDlg::OnXY);
}

void CDpiDlg::ReloadSkin() {
    const SkinContext& ctx = m_host.Skin();
    const QImage nr = LoadPicture(ctx.SkinPath(QStringLiteral("mouse/dpigrid_nr.png")));
    const QImage dn = LoadPicture(ctx.SkinPath(QStringLiteral("mouse/dpigrid_dn.png")));
    for (CDpiGridDlg* row : m_rows) row->SetPictures(nr, dn);
    LayoutForSensor();
    LoadFromProfile();
}

bool CDpiDlg::Separate() const { return m_pXY != nullptr && m_pXY->IsChecked(); }

void CDpiDlg::LayoutForSensor() {
    Config& cfg = m_host.Cfg();
    const MsDevCfg& ms = cfg.gVar.MsDev;
    const SensorCfg* sensor = cfg.pSensorCfg();
    const SensorDpi* dpi = FindSensorDpi(cfg.SensorDpiList, ms.nCurSensor);
    m_nLevels = sensor ? std::clamp(sensor->nDpiNum, 0, kLevels) : 0;
    const int step = (sensor ? std::max(0, sensor->nDpiH) : 10) + CDpiGridDlg::kSize;

    m_bShowXYButton = (ms.nCurSensor == 0x9800 || ms.nCurSensor == 0x3360) && ms.bShowXY != 0;
    const int rows_bottom = kRowTop + m_nLevels * step;
    resize(kWidth, std::max(rows_bottom + 6, kCurrentText.bottom() + 10));
    m_imgBkg = MousePageGround(m_host.Skin(), size());

    for (int i = 0; i < kLevels; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const int top = kRowTop + i * step;
        const bool shown = i < m_nLevels;
        m_rows[at]->move(kRowX, top);
        m_rows[at]->SetGround(m_imgBkg);
        m_rows[at]->setVisible(shown);
        m_swatches[at]->move(kRowX - 18, top + (CDpiGridDlg::kSize - 12) / 2);
        m_swatches[at]->setVisible(shown && ms.bShowDpiColor != 0);
        if (CPngBtn* c = m_checks[at]) {
            c->move(kRowX + CDpiGridDlg::kSize + 6, top + (CDpiGridDlg::kSize - c->height()) / 2);
            c->SetBackground(m_imgBkg);
            c->setVisible(shown && ms.bShowDpiCheck != 0);
        }
    }
    if (m_pXY) {
        m_pXY->SetBackground(m_imgBkg);
        m_pXY->setVisible(m_bShowXYButton);
    }
    SetupSliders(dpi, sensor);
    PlaceRightColumn();
    update();
}

void CDpiDlg::SetupSliders(const SensorDpi* dpi, const SensorCfg* sensor) {
    const int n = dpi ? std::clamp(dpi->nNum, 1, kMaxDpiSteps) : 1;
    std::vector<int> table;
    if (dpi) table.assign(dpi->nDpi.begin(), dpi->nDpi.begin() + n);
    m_nMinDpi = table.empty() ? 0 : table.front();
    m_nMaxDpi = table.empty() ? 0 : table.back();
    const int start = sensor ? sensor->nDefDpi[0] : m_nMinDpi;
    for (CPngSliderBar* bar : {m_pX, m_pY}) {
        const int id = bar == m_pX ? kXSliderId : kYSliderId;
        const int y = bar == m_pX ? kXBarY : kYBarY;
        if (!bar->Create(QStringLiteral("mouse/dpibar.png"), QStringLiteral("mouse/dpibar_ov.png"),
                         QStringLiteral("slider2.png"), {}, n, id, QPoint(kRightX, y))) {
            continue;
        }
        bar->SetBackground(m_imgBkg);
        if (CPngSlider* s = bar->Slider()) {
            s->SetValueTable(table);
            bar->SetPos(start, false);
        }
    }
}

void CDpiDlg::PlaceRightColumn() {
    m_pY->setVisible(Separate() && m_pY->Slider() != nullptr);
    for (CDpiGridDlg* row : m_rows) row->SetXYLayout(Separate());
    update();
}

int CDpiDlg::FocusedRow() const {
    for (int i = 0; i < kLevels; ++i) {
        if (m_rows[static_cast<std::size_t>(i)]->IsFocusRow()) return i;
    }
    return -1;
}

void CDpiDlg::LoadFromProfile() {
    const ProfileData* profile = m_host.CurrentProfile();
    if (profile == nullptr) return;
    const MsProfile& ms = profile->Ms;
    for (int i = 0; i < m_nLevels; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const DpiLevel& lv = ms.Dpi[i];
        m_rows[at]->SetValues(lv.nDpiX, lv.nDpiY);
        m_swatches[at]->SetColor(lv.clrDpi);
        if (m_checks[at]) m_checks[at]->SetChecked(lv.bOff == 0);
        m_rows[at]->SetOff(lv.bOff != 0);
    }
    if (m_pXY) m_pXY->SetChecked(ms.bXYSeparate != 0);
    PlaceRightColumn();
    const auto* drv = dynamic_cast<const CDrv5307*>(m_host.Transport(DeviceKind::Mouse));
    const int current = drv ? drv->CurrentDpiLevel() : -1;
    if (current >= 0 && current < m_nLevels) {
        MarkCurrent(current);
        FocusRow(current);
    } else if (const int f = FocusedRow(); f >= 0) {
        FocusRow(f);  // the sliders follow the reloaded values
    }
}

void CDpiDlg::SaveToProfile() {
    ProfileData* profile = m_host.CurrentProfile();
    if (profile == nullptr) return;
    MsProfile& ms = profile->Ms;
    for (int i = 0; i < m_nLevels; ++i) {
        const auto at = static_cast<std::size_t>(i);
        DpiLevel& lv = ms.Dpi[i];
        lv.nDpiX = m_rows[at]->X();
        lv.nDpiY = m_rows[at]->Y();
        lv.clrDpi = m_swatches[at]->Color();
        if (m_checks[at]) lv.bOff = m_checks[at]->IsChecked() ? 0 : 1;
    }
    ms.bXYSeparate = Separate() ? 1 : 0;
}

void CDpiDlg::FocusRow(int i) {
    if (i < 0 || i >= kLevels) return;
    for (CDpiGridDlg* row : m_rows) row->SetFocusRow(row->Index() == i);
    const CDpiGridDlg* row = m_rows[static_cast<std::size_t>(i)];
    m_pX->SetPos(row->X(), false);
    m_pY->SetPos(row->Y(), false);
    update(kCurrentText);
}

void CDpiDlg::MarkCurrent(int i) {
    for (CDpiGridDlg* row : m_rows) row->SetCurrent(row->Index() == i);
    m_nCurrent = i;
    update(kCurrentText);
}

void CDpiDlg::SelectDpiLevel(int level) {
    if (level < 0 || level >= m_nLevels) return;
    MarkCurrent(level);
    FocusRow(level);
}

void CDpiDlg::Changed() {
    SaveToProfile();
    if (m_host.Cfg().gVar.bApplyNow) m_host.RequestApply(DeviceKind::Mouse, kMsApplyGeneral);
    update();
}

void CDpiDlg::OnSliderPos(int value, int id) {
    CSkinMenu::DestroyMenuEx();
    const int f = FocusedRow();
    ProfileData* profile = m_host.CurrentProfile();
    if (f < 0 || profile == nullptr) return;
    CDpiGridDlg* row = m_rows[static_cast<std::size_t>(f)];
    DpiLevel& lv = profile->Ms.Dpi[f];
    const bool joined = !Separate();
    int x = row->X();
    int y = row->Y();
    if (id == kXSliderId) {
        x = value;
        lv.nDpiX = value;
        if (joined) {
            y = value;
            lv.nDpiY = value;
            m_pY->SetPos(value, false);
        }
    } else if (id == kYSliderId) {
        y = value;
        lv.nDpiY = value;
        if (joined) {
            x = value;
            lv.nDpiX = value;
            m_pX->SetPos(value, false);
        }
    } else {
        return;
    }
    row->SetValues(x, y);
    Changed();
}

void CDpiDlg::OnSliderDrag(int value, int id) {
    const int f = FocusedRow();
    if (f < 0) return;
    CDpiGridDlg* row = m_rows[static_cast<std::size_t>(f)];
    if (id == kXSliderId) row->SetValues(value, Separate() ? row->Y() : value);
    if (id == kYSliderId) row->SetValues(row->X(), value);
}

void CDpiDlg::OnRowClicked(bool notFocused, int index) {
    if (!notFocused || index < 0 || index >= m_nLevels) return;
    const CPngBtn* check = m_checks[static_cast<std::size_t>(index)];
    if (check != nullptr && !check->IsChecked()) return;  // a disabled level takes no focus
    FocusRow(index);
}

void CDpiDlg::OnCheck(int index) {
    CPngBtn* check = m_checks[static_cast<std::size_t>(index)];
    if (check == nullptr || m_host.CurrentProfile() == nullptr) return;
    if (check->IsChecked()) {
        int off = 0;
        for (int i = 0; i < m_nLevels; ++i) {
            const CPngBtn* c = m_checks[static_cast<std::size_t>(i)];
            if (c != nullptr && !c->IsChecked()) ++off;
        }
        if (off >= m_nLevels - 1) {
            m_host.Modal().Info(m_host.Skin(), m_host.Window(), m_host.Skin().Text("tc_ms13"));
            return;
        }
    }
    check->SetChecked(!check->IsChecked());
    m_rows[static_cast<std::size_t>(index)]->SetOff(!check->IsChecked());
    Changed();
}

void CDpiDlg::OnXY() {
    if (m_pXY == nullptr || m_host.CurrentProfile() == nullptr) return;
    m_pXY->SetChecked(!m_pXY->IsChecked());
    if (!Separate()) {
        m_pY->SetPos(m_pX->GetValue(), false);
        for (int i = 0; i < m_nLevels; ++i) {
            CDpiGridDlg* row = m_rows[static_cast<std::size_t>(i)];
            row->SetValues(row->X(), row->X());
        }
    }
    PlaceRightColumn();
    Changed();
}

void CDpiDlg::mousePressEvent(QMouseEvent* event) {
    CSkinMenu::DestroyMenuEx();
    CPage::mousePressEvent(event);
}

void CDpiDlg::paintEvent(QPaintEvent*) {
    const SkinContext& ctx = m_host.Skin();
    const MsDevCfg& ms = m_host.Cfg().gVar.MsDev;
    QImage frame(size(), QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::transparent);
    QPainter p(&frame);
    p.drawImage(0, 0, m_imgBkg);
    PaintPageFrame(p, ctx, size());

    QPen dash(FromArgb(0xFF646464), 1);
    dash.setDashPattern({7, 5});
    p.setPen(dash);
    p.drawLine(kLineX, 42, kLineX, height() - 6);

    const QColor text = ToQColor(ctx.gvar->clrTxt);
    p.setPen(text);
    QFont title = ctx.font;
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(12, 8, kLineX - 20, 22), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               ctx.Text("tc_dpi"));
    QFont small = ctx.font;
    small.setPixelSize(10);
    p.setFont(small);
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    if (ms.bShowDpiColor) p.drawText(QRect(kRowX - 34, 28, 44, 15), flags, ctx.Text("tc_ms8"));
    if (ms.bShowDpiCheck) p.drawText(QRect(kRowX + CDpiGridDlg::kSize - 4, 28, 44, 15), flags, ctx.Text("tc_ms1"));

    p.setFont(ctx.font);
    if (Separate()) {
        p.drawText(kXLabel, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, ctx.Text("tc_ms10"));
        p.drawText(kYLabel, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, ctx.Text("tc_ms11"));
    } else {
        p.setFont(small);
        p.drawText(kRangeLabels, Qt::AlignLeft | Qt::AlignVCenter, QString::number(m_nMinDpi));
        p.drawText(kRangeLabels, Qt::AlignRight | Qt::AlignVCenter, QString::number(m_nMaxDpi));
        p.setFont(ctx.font);
    }
    if (m_bShowXYButton) p.drawText(kXYText, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, ctx.Text("tc_ms9"));
    const int shown = m_nCurrent >= 0 && m_nCurrent < m_nLevels ? m_rows[static_cast<std::size_t>(m_nCurrent)]->X() : 0;
    if (m_nCurrent >= 0 && m_nCurrent < m_nLevels) {
        p.drawText(kCurrentText, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                   QStringLiteral("%1%2").arg(ctx.Text("tc_ms15")).arg(shown));
    }
    p.end();
    QPainter(this).drawImage(0, 0, frame);
}

}  // namespace quobel
