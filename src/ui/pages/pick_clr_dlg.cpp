#include "ui/pages/pick_clr_dlg.h"

#include <QPainter>

#include "ui/modals.h"
#include "ui/pages/color_btn_dlg.h"
#include "ui/pages/page.h"
#include "ui/skin/png_btn.h"

namespace quobel {

int CPickClrDlg::Gap(int count) {
    if (count <= 9) return 20;
    if (count <= 12) return 10;
    return 6;
}

CPickClrDlg::CPickClrDlg(PageHost& host, QWidget* parent, const QString& title)
    : CSkinDlg(host.Skin(), parent), m_szTitle(title) {
    setWindowTitle(QStringLiteral("QuobelMsgTopWindow"));
    if (!SetBackground(LoadPicture(m_ctx.CommonPath(QStringLiteral("msg_nr.png"))), m_ctx.gvar->clrMaskMsg)) return;

    std::vector<Colour> colours;
    for (const PickColorEntry& e : host.Cfg().gVar.MsDev.PickColor) {
        if (e.clr == 0) break;
        colours.push_back(e.clr);
    }
    const int n = static_cast<int>(colours.size());
    const int gap = Gap(n);
    const int row = n * kSwatch + (n > 0 ? (n - 1) * gap : 0);
    int x = (width() - row) / 2;
    for (int i = 0; i < n; ++i) {
        auto* s = new CColorBtnDlg(host, this, i);
        s->SetOpenMode(CColorBtnDlg::kNever);
        s->SetColor(colours[static_cast<std::size_t>(i)]);
        s->setGeometry(x, kSwatchTop, kSwatch, kSwatch);
        connect(s, &CColorBtnDlg::ColorChanged, this, [this](bool, int id) { Check(id); });
        m_swatches.push_back(s);
        x += kSwatch + gap;
    }
    Check(0);

    const auto button = [&](QPoint at, const QString& caption) {
        CPngBtn* b = CPngBtn::Create(m_ctx, this, m_imgBkg, at, QStringLiteral("button3_nr.png"),
                                     QStringLiteral("button3_ov.png"), QStringLiteral("button3_dn.png"),
                                     CPngBtn::kPush, false, caption);
        if (b) b->SetTextColours(m_ctx.gvar->clrBtnTxtNr, m_ctx.gvar->clrBtnTxtOv, m_ctx.gvar->clrBtnTxtDn);
        return b;
    };
    m_pOk = button(QPoint(315, 150), m_ctx.Text("tc_ok"));
    if (m_pOk) connect(m_pOk, &CPngBtn::clicked, this, [this] { done(1); });
    m_pCancel = button(QPoint(315 - 100, 150), m_ctx.Text("tc_cancel"));
    if (m_pCancel) {
        m_pCancel->hide();
        connect(m_pCancel, &CPngBtn::clicked, this, [this] { done(2); });
    }
    m_pClose = CPngBtn::Create(m_ctx, this, m_imgBkg, QPoint(489, 8), QStringLiteral("exit_nr.png"),
                               QStringLiteral("exit_ov.png"), QStringLiteral("exit_ov.png"), CPngBtn::kPush, false, {});
    if (m_pClose) connect(m_pClose, &CPngBtn::clicked, this, [this] { done(2); });
}

std::optional<Colour> CPickClrDlg::Run(PageHost& host, const QString& title) {
    CPickClrDlg dlg(host, host.Window(), title);
    if (!dlg.HasBackground()) return std::nullopt;
    dlg.CentreOverParent();
    if (host.Modal().Exec(dlg) != 1 || dlg.Swatches().empty()) return std::nullopt;
    return dlg.Checked();
}

Colour CPickClrDlg::Checked() const {
    for (const CColorBtnDlg* s : m_swatches) {
        if (s->IsChecked()) return s->Color();
    }
    return 0;
}

void CPickClrDlg::Check(int index) {
    for (std::size_t i = 0; i < m_swatches.size(); ++i) m_swatches[i]->SetChecked(static_cast<int>(i) == index);
}

void CPickClrDlg::paintEvent(QPaintEvent* event) {
    CSkinDlg::paintEvent(event);
    QPainter p(this);
    p.setPen(QColor(200, 200, 200));
    p.setFont(m_ctx.font);
    p.drawText(QRect(20, 8, width() - 80, 30), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_szTitle);
}

}  // namespace quobel
