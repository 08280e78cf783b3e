#include "ui/pages/led_dlg.h"

#include <QKeyEvent>
#include <QPainter>
#include <QWindow>

#include <algorithm>

#include "ui/keymap.h"
#include "ui/pages/color_btn_dlg.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/png_slider.h"
#include "ui/skin/skin.h"

namespace quobel {

QImage MainBackgroundUnder(const SkinContext& ctx, const QWidget* widget) {
    const QWidget* top = widget->window();
    if (top == widget) return {};
    const QImage main = LoadPicture(ctx.SkinPath(QStringLiteral("main_nr.png")));
    if (main.isNull()) return {};
    return CropBackground(main, QRect(widget->mapTo(top, QPoint(0, 0)), widget->size()));
}

CLedDlg::CLedDlg(PageHost& host, QWidget* parent) : CPage(host, parent) {
    resize(240, 290);
    setFocusPolicy(Qt::ClickFocus);
    LoadBackground();
}

void CLedDlg::LoadBackground() {
    m_imgBkg = MainBackgroundUnder(m_host.Skin(), this);
    if (m_imgBkg.isNull()) {
        m_imgBkg = QImage(size(), QImage::Format_ARGB32_Premultiplied);
        m_imgBkg.fill(ToQColor(m_host.Cfg().gVar.clrPopWndBkg));
    }
}

void CLedDlg::RefreshChildBackgrounds() {
    for (CPngBtn* b : findChildren<CPngBtn*>(Qt::FindDirectChildrenOnly)) b->SetBackground(m_imgBkg);
    for (CPngSliderBar* s : findChildren<CPngSliderBar*>(Qt::FindDirectChildrenOnly)) s->SetBackground(m_imgBkg);
}

void CLedDlg::ReloadSkin() {
    LoadBackground();
    RefreshChildBackgrounds();
    update();
}

void CLedDlg::ReloadTexts() {
    for (Caption_& c : m_captions)
        if (!c.id.empty()) c.text = m_host.Skin().Text(c.id);
    update();
}

QString CLedDlg::Caption(const std::string& id) const {
    for (const Caption_& c : m_captions)
        if (c.id == id) return c.text;
    return {};
}

int CLedDlg::AddCaption(const QRect& rc, const std::string& id, int flags) {
    m_captions.push_back({rc, id, m_host.Skin().Text(id), flags ? flags : int(Qt::AlignLeft | Qt::AlignVCenter)});
    return static_cast<int>(m_captions.size()) - 1;
}

int CLedDlg::AddValueCaption(const QRect& rc) {
    m_captions.push_back({rc, {}, {}, int(Qt::AlignLeft | Qt::AlignVCenter)});
    return static_cast<int>(m_captions.size()) - 1;
}

void CLedDlg::SetCaptionText(int caption, const QString& text) {
    Caption_& c = m_captions.at(static_cast<std::size_t>(caption));
    if (c.text == text) return;
    c.text = text;
    update(c.rc);
}

void CLedDlg::ShowCaption(int caption, bool shown) {
    Caption_& c = m_captions.at(static_cast<std::size_t>(caption));
    if (c.shown == shown) return;
    c.shown = shown;
    update(c.rc);
}

CPngBtn* CLedDlg::MakeCheckBox(QPoint top_left) {
    CPngBtn* b = CPngBtn::Create(m_host.Skin(), this, m_imgBkg, top_left, QStringLiteral("check_nr.png"),
                                 QStringLiteral("check_ov.png"), QStringLiteral("check_dn.png"), CPngBtn::kCheck,
                                 false, {});
    return b;
}

CPngBtn* CLedDlg::MakeButton(QPoint top_left, const QString& normal, const QString& over, const QString& pressed) {
    return CPngBtn::Create(m_host.Skin(), this, m_imgBkg, top_left, normal, over, pressed, CPngBtn::kCheck, false,
                           {});
}

CPngSliderBar* CLedDlg::MakeSlider(int id, int n, QPoint top_left) {
    auto* bar = new CPngSliderBar(m_host.Skin(), this);
    if (!bar->Create(QStringLiteral("bar.png"), QStringLiteral("bar_ov.png"), QStringLiteral("slider2.png"),
                     QStringLiteral("bar_dot.png"), std::max(n, 1), id, top_left)) {
        delete bar;
        return nullptr;
    }
    bar->SetBackground(m_imgBkg);
    return bar;
}

QString CLedDlg::HexPercent(int value) { return QString::number(value, 16) + QStringLiteral(" %"); }

CLedDlg::SliderRow CLedDlg::MakeSliderRow(int id, const std::string& text_id, int n, int top, int value_width) {
    SliderRow row;
    row.caption = AddCaption({10, top, 170, 18}, text_id);
    row.bar = MakeSlider(id, n, {10, top + 20});
    row.value = AddValueCaption({190, top + 14, value_width, 20});
    return row;
}

void CLedDlg::ShowSliderRow(const SliderRow& row, bool shown) {
    if (row.bar) row.bar->setVisible(shown);
    ShowCaption(row.caption, shown);
    ShowCaption(row.value, shown);
}

void CLedDlg::MakeSwatchRow(int top) {
    m_capSwatches = AddCaption({10, top, 220, 18}, "tc_adv_str4");
    for (int k = 0; k < kSwatches; ++k) {
        auto* sw = new CColorBtnDlg(m_host, this, k);
        sw->setGeometry(10 + 28 * k, top + 22, 18, 18);
        sw->SetOpenMode(CColorBtnDlg::kDoubleClick);
        connect(sw, &CColorBtnDlg::ColorChanged, this, &CLedDlg::OnSwatchToggle);
        connect(sw, &CColorBtnDlg::ColorClick, this, [this](Colour, int id) { OnSwatchColour(id); });
        m_swatches[static_cast<std::size_t>(k)] = sw;
    }
}

void CLedDlg::ShowSwatchRow(int n) {
    ShowCaption(m_capSwatches, n > 0);
    for (int k = 0; k < kSwatches; ++k) {
        if (CColorBtnDlg* sw = m_swatches[static_cast<std::size_t>(k)]) sw->setVisible(k < n);
    }
}

void CLedDlg::SetSwatches(const LedEffect& e) {
    for (int k = 0; k < kSwatches; ++k) {
        CColorBtnDlg* sw = m_swatches[static_cast<std::size_t>(k)];
        if (!sw) continue;
        sw->SetColor(e.clr[k]);
        sw->SetChecked((e.dwColorMask & (1u << k)) != 0);
    }
}

void CLedDlg::StoreSwatches(LedEffect& e) const {
    e.dwColorMask = 0;
    for (int k = 0; k < kSwatches; ++k) {
        const CColorBtnDlg* sw = m_swatches[static_cast<std::size_t>(k)];
        if (!sw) continue;
        e.clr[k] = sw->Color();
        if (sw->IsChecked()) e.dwColorMask |= 1u << k;
    }
}

std::vector<Colour> CLedDlg::CheckedSwatchColours(bool shown_only) const {
    std::vector<Colour> colours;
    for (const CColorBtnDlg* sw : m_swatches) {
        if (sw && sw->IsChecked() && (!shown_only || sw->isVisibleTo(this))) colours.push_back(sw->Color());
    }
    return colours;
}

void CLedDlg::OnSwatchToggle(bool check, int id) {
    if (id < 0 || id >= kSwatches) return;
    CColorBtnDlg* sw = m_swatches[static_cast<std::size_t>(id)];
    if (!check) {
        const auto checked =
            std::count_if(m_swatches.begin(), m_swatches.end(), [](const CColorBtnDlg* s) { return s && s->IsChecked(); });
        if (checked <= 1 && sw->IsChecked()) return;  // one colour always stays
    }
    sw->SetChecked(check);
    Changed();
}

void CLedDlg::OnSwatchColour(int id) {
    if (id < 0 || id >= kSwatches) return;
    m_swatches[static_cast<std::size_t>(id)]->SetChecked(true);
    Changed();
}

void CLedDlg::ApplyNow(DeviceKind kind, std::uint32_t code) {
    if (m_host.Cfg().gVar.bApplyNow != 0 && m_host.CurrentProfile() != nullptr) m_host.RequestApply(kind, code);
}

void CLedDlg::ApplyNowJoining(DeviceKind kind, std::uint32_t code) {
    if (m_host.Cfg().gVar.bApplyNow != 0 && m_host.CurrentProfile() != nullptr) m_host.RequestApplyJoining(kind, code);
}

void CLedDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, m_imgBkg);
    p.setFont(m_host.Skin().font);
    p.setPen(ToQColor(m_host.Cfg().gVar.clrTxt));
    for (const Caption_& c : m_captions)
        if (c.shown && !c.text.isEmpty()) p.drawText(c.rc, c.flags, c.text);
    p.setPen(ToQColor(m_host.Cfg().gVar.clrPopWndFrame));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CLedDlg::mousePressEvent(QMouseEvent*) {
    // The background drags the main window and gives it the focus.
    if (QWidget* w = m_host.Window()) {
        w->setFocus();
        if (QWindow* handle = w->windowHandle(); handle && w->isVisible()) handle->startSystemMove();
    }
}

void CLedDlg::keyPressEvent(QKeyEvent* event) {
    if (OnPreviewKey(KeyEventToVk(*event), false)) return;
    switch (event->key()) {
        case Qt::Key_Return: case Qt::Key_Enter: case Qt::Key_Escape: case Qt::Key_Space: case Qt::Key_F1:
            return;  // swallowed: a page is no dialog that closes
        default: CPage::keyPressEvent(event);
    }
}

void CLedDlg::keyReleaseEvent(QKeyEvent* event) {
    if (OnPreviewKey(KeyEventToVk(*event), true)) return;
    CPage::keyReleaseEvent(event);
}

void CLedDlg::moveEvent(QMoveEvent*) {
    LoadBackground();
    RefreshChildBackgrounds();
}

void CLedDlg::showEvent(QShowEvent*) {
    LoadBackground();
    RefreshChildBackgrounds();
}

}  // namespace quobel
