#include "ui/pages/color_panel_dlg.h"

#include <QLinearGradient>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

#include "ui/modals.h"
#include "ui/pages/page.h"
#include "ui/skin/png_btn.h"

namespace quobel {
namespace {

// Red first, as the grid shows them.
constexpr std::array<std::uint32_t, CColorPanelDlg::kRows * CColorPanelDlg::kCols> kPresets = {
    0xFFFFFF, 0xFFC0C0, 0xFFE0C0, 0xFFFFC0, 0xC0FFC0, 0xC0FFFF, 0xC0C0FF, 0xFFC0FF,
    0xE0E0E0, 0xFF8080, 0xFFE080, 0xFFFF80, 0x80FF80, 0x80FFFF, 0x8080FF, 0xFF80FF,
    0xC0C0C0, 0xFF0000, 0xFFC000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF, 0xFF69B4,
    0x808080, 0xC00000, 0xFF8000, 0xC0C000, 0x00C000, 0x00C0C0, 0x0000C0, 0xC000C0,
    0x404040, 0x800000, 0x804000, 0x808000, 0x008000, 0x008080, 0x000080, 0x800080,
};

const QColor kPanel(15, 15, 15);
const QColor kLabel(200, 200, 200);

// The panel's face: ground, border, preset grid and spectrum. Picking reads its pixels,
// so what is picked is exactly what is shown.
QImage PanelFace() {
    QImage img(CColorPanelDlg::kWidth, CColorPanelDlg::kHeight, QImage::Format_ARGB32);
    img.fill(kPanel);
    QPainter p(&img);
    p.setPen(FromArgb(0xFF3A3A3A));
    p.drawRect(img.rect().adjusted(0, 0, -1, -1));
    for (int r = 0; r < CColorPanelDlg::kRows; ++r) {
        for (int c = 0; c < CColorPanelDlg::kCols; ++c) {
            p.fillRect(CColorPanelDlg::CellRect(r, c),
                       FromArgb(0xFF000000 | kPresets[static_cast<std::size_t>(r * CColorPanelDlg::kCols + c)]));
        }
    }
    const QRect sr = CColorPanelDlg::SpectrumRect();
    QLinearGradient g(sr.left(), 0, sr.right() + 1, 0);
    g.setColorAt(0.0, FromArgb(0xFF0000FF));
    g.setColorAt(0.15, FromArgb(0xFF670874));
    g.setColorAt(0.3, FromArgb(0xFFFF0080));
    g.setColorAt(0.45, FromArgb(0xFFFF8000));
    g.setColorAt(0.6, FromArgb(0xFFFFFF00));
    g.setColorAt(0.75, FromArgb(0xFF00FF00));
    g.setColorAt(1.0, FromArgb(0xFFFF0000));
    p.fillRect(sr, g);
    return img;
}

QRect FieldRect(int i) { return {300, 110 + 28 * i, 55, 20}; }

}  // namespace

QRect CColorPanelDlg::CellRect(int row, int col) { return {30 + 30 * col, 25 + 29 * row, 20, 19}; }

CColorPanelDlg::CColorPanelDlg(PageHost& host, QWidget* parent, Colour initial)
    : CSkinDlg(host.Skin(), parent), m_host(host), m_clr(initial) {
    setWindowTitle(QStringLiteral("QuobelMsgTopWindow"));
    SetBackground(PanelFace(), 0);
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        auto* e = new QLineEdit(this);
        e->setGeometry(FieldRect(static_cast<int>(i)));
        e->setMaxLength(3);
        e->setFrame(false);
        e->setAlignment(Qt::AlignCenter);
        e->setStyleSheet(QStringLiteral("QLineEdit { background: #262626; color: #e6e6e6; border: 1px solid #3a3a3a; }"));
        connect(e, &QLineEdit::textEdited, this, &CColorPanelDlg::OnEdited);
        m_fields[i] = e;
    }
    ShowFields();
    m_pClose = CPngBtn::Create(m_ctx, this, m_imgBkg, QPoint(350, 5), QStringLiteral("exit_nr.png"),
                               QStringLiteral("exit_ov.png"), QStringLiteral("exit_ov.png"), CPngBtn::kPush, false, {});
    if (m_pClose) connect(m_pClose, &CPngBtn::clicked, this, [this] { done(2); });
    m_pOk = CPngBtn::Create(m_ctx, this, m_imgBkg, QPoint(275, 221), QStringLiteral("btn_nr.png"),
                            QStringLiteral("btn_ov.png"), QStringLiteral("btn_ov.png"), CPngBtn::kPush, false,
                            m_ctx.Text("tc_ok"));
    if (m_pOk) {
        m_pOk->SetTextColours(m_ctx.gvar->clrBtnTxtNr, m_ctx.gvar->clrBtnTxtOv, m_ctx.gvar->clrBtnTxtDn);
        connect(m_pOk, &CPngBtn::clicked, this, &CColorPanelDlg::OnOk);
    }
}

std::optional<Colour> CColorPanelDlg::Run(PageHost& host, Colour initial) {
    CColorPanelDlg dlg(host, host.Window(), initial);
    dlg.CentreOverParent();
    if (host.Modal().Exec(dlg) != 1) return std::nullopt;
    return dlg.Current();
}

std::optional<Colour> CColorPanelDlg::ReadFields() const {
    std::array<std::uint32_t, 3> v{};
    for (std::size_t i = 0; i < v.size(); ++i) {
        bool ok = false;
        const uint n = m_fields[i]->text().trimmed().toUInt(&ok, 10);
        if (!ok || n > 255) return std::nullopt;
        v[i] = n;
    }
    return Rgb(v[0], v[1], v[2]);
}

void CColorPanelDlg::ShowFields() {
    m_fields[0]->setText(QString::number(Red(m_clr)));
    m_fields[1]->setText(QString::number(Green(m_clr)));
    m_fields[2]->setText(QString::number(Blue(m_clr)));
}

void CColorPanelDlg::OnEdited() {
    // A field emptied to type a new number is not yet wrong; OK still refuses it.
    for (const QLineEdit* e : m_fields) {
        if (e->text().trimmed().isEmpty()) return;
    }
    if (const auto c = ReadFields()) {
        m_clr = *c;
        update(PreviewRect());
        return;
    }
    m_host.Modal().Info(m_ctx, this, QString::fromLatin1(kRangeMessage));
}

void CColorPanelDlg::OnOk() {
    const auto c = ReadFields();
    if (!c) {
        m_host.Modal().Info(m_ctx, this, QString::fromLatin1(kRangeMessage));
        return;
    }
    m_clr = *c;
    done(1);
}

void CColorPanelDlg::paintEvent(QPaintEvent* event) {
    CSkinDlg::paintEvent(event);
    QPainter p(this);
    const QRect pr = PreviewRect();
    p.setPen(ToQColor(0xC8C8C8));
    p.setBrush(Qt::NoBrush);
    p.drawRect(pr.adjusted(0, 0, -1, -1));
    p.fillRect(pr.adjusted(1, 1, -1, -1), ToQColor(m_clr));
    p.setPen(kLabel);
    p.setFont(m_ctx.font);
    static const std::array<const char*, 3> labels = {"R", "G", "B"};
    for (int i = 0; i < 3; ++i) {
        const QRect f = FieldRect(i);
        p.drawText(QRect(f.left() - 20, f.top(), 15, f.height()), Qt::AlignCenter,
                   QString::fromLatin1(labels[static_cast<std::size_t>(i)]));
    }
}

void CColorPanelDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) m_bPressed = true;
    CSkinDlg::mousePressEvent(event);
}

void CColorPanelDlg::mouseReleaseEvent(QMouseEvent* event) {
    CSkinDlg::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !m_bPressed) return;
    m_bPressed = false;
    const QPoint at = event->position().toPoint();
    bool pickable = SpectrumRect().contains(at);
    for (int r = 0; r < kRows && !pickable; ++r) {
        for (int c = 0; c < kCols && !pickable; ++c) pickable = CellRect(r, c).contains(at);
    }
    if (!pickable) return;
    const QRgb px = m_imgBkg.pixel(at);
    m_clr = Rgb(static_cast<std::uint32_t>(qRed(px)), static_cast<std::uint32_t>(qGreen(px)),
                static_cast<std::uint32_t>(qBlue(px)));
    ShowFields();
    update();
}

}  // namespace quobel
