#include "ui/skin/msg_dlg.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QTextLayout>
#include <QTimer>

#include <chrono>

#include "ui/key_capture.h"
#include "ui/skin/png_btn.h"

namespace quobel {

namespace {

std::int64_t SteadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

constexpr std::array<const char*, 4> kBoxNames{"Shift", "Ctrl", "Alt", "Win"};
constexpr std::array<std::uint8_t, 4> kBoxBits{kModLShift, kModLCtrl, kModLAlt, kModLWin};

}  // namespace

void DrawWrappedElided(QPainter& p, const QRect& rect, const QString& text) {
    const QFontMetrics fm(p.font());
    QTextLayout layout(text, p.font());
    layout.beginLayout();
    int y = 0;
    QString shown;
    std::vector<std::pair<QString, int>> lines;
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) break;
        line.setLineWidth(rect.width());
        const int next = y + fm.height();
        QString part = text.mid(line.textStart(), line.textLength());
        if (next + fm.height() > rect.height() && line.textStart() + line.textLength() < text.size()) {
            // The last line that fits: the rest of the text goes into it, cut with an ellipsis.
            part = fm.elidedText(text.mid(line.textStart()).simplified(), Qt::ElideRight, rect.width());
            lines.emplace_back(part, y);
            break;
        }
        lines.emplace_back(part.trimmed(), y);
        y = next;
    }
    layout.endLayout();
    for (const auto& [part, top] : lines) {
        p.drawText(QRect(rect.left(), rect.top() + top, rect.width(), fm.height()),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, part);
    }
}

CMsgDlg::CMsgDlg(const SkinContext& ctx, QWidget* parent, Mode mode, const QString& message)
    : CSkinDlg(ctx, parent), m_nMode(mode), m_szMessage(message), m_clock(SteadyMs),
      m_font(DialogFont(16, 600)) {
    setWindowTitle(QString::fromLatin1(kWindowTitle));
    setModal(true);
}

void CMsgDlg::SetCaptureOptions(bool single_key, bool modifier_box) {
    m_bSingleKey = single_key;
    m_bModifierBox = modifier_box;
}

bool CMsgDlg::Init() {
    const QImage bkg = LoadPicture(m_ctx.CommonPath("msg_nr.png"));
    if (bkg.isNull()) {
        QTimer::singleShot(0, this, [this] { done(2); });
        return false;
    }
    m_imgIcon = LoadPicture(m_ctx.CommonPath("msgico.png"));
    SetBackground(bkg, m_ctx.gvar->clrMaskMsg);
    CentreOverParent();
    const int w = bkg.width();
    const int h = bkg.height();

    m_pExit = CPngBtn::Create(m_ctx, this, bkg, {w - 36, 10}, "exit_nr.png", "exit_ov.png", "exit_ov.png",
                              CPngBtn::kPush, false, {});
    const QPoint cancel_at(w - 122, h - 42);
    m_pCancel = CPngBtn::Create(m_ctx, this, bkg, cancel_at, "button3_nr.png", "button3_ov.png",
                                "button3_dn.png", CPngBtn::kPush, false, m_ctx.Text("tc_cancel"));
    const QPoint ok_at = m_nMode == kInfo ? cancel_at : cancel_at - QPoint(102, 0);
    m_pOk = CPngBtn::Create(m_ctx, this, bkg, ok_at, "button3_nr.png", "button3_ov.png", "button3_dn.png",
                            CPngBtn::kPush, false, m_ctx.Text("tc_ok"));
    if (m_nMode == kInfo && m_pCancel) m_pCancel->hide();
    if (m_pExit) connect(m_pExit, &QAbstractButton::clicked, this, [this] { done(2); });
    if (m_pCancel) connect(m_pCancel, &QAbstractButton::clicked, this, [this] { done(2); });
    if (m_pOk) connect(m_pOk, &QAbstractButton::clicked, this, &CMsgDlg::OnOk);

    if (m_nMode == kText || m_nMode == kNumber || m_nMode == kCapture) {
        m_pEdit = new QLineEdit(this);
        m_pEdit->setObjectName(QString::number(kEditId));
        m_pEdit->setGeometry((w - 400) / 2, 100, 400, 24);
        m_pEdit->setFont(m_font);
        m_pEdit->setMaxLength(kMaxText);
        m_pEdit->setStyleSheet(QStringLiteral(
            "QLineEdit{background:#121418;color:%1;border:1px solid #3c4250;border-radius:3px;padding:0 6px;}"
            "QLineEdit:focus{border-color:%2;}")
                                   .arg(ToQColor(m_ctx.gvar->clrTxt).name(), ToQColor(m_ctx.gvar->clrBtnTxtDn).name()));
        if (m_nMode == kNumber) {
            m_pEdit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), m_pEdit));
        }
        if (m_nMode == kCapture) {
            m_pEdit->setReadOnly(true);
            m_pEdit->setFocusPolicy(Qt::NoFocus);
            setFocusPolicy(Qt::StrongFocus);
            m_capture.emplace(m_bSingleKey, m_bModifierBox);
            int x = m_pEdit->geometry().left() + 2;
            const int y = m_pEdit->geometry().top() + 24 + 15;
            for (std::size_t i = 0; i < m_boxes.size(); ++i) {
                auto* box = CPngBtn::Create(m_ctx, this, bkg, {x, y}, "Check_nr.png", "Check_nr.png",
                                            "Check_dn.png", CPngBtn::kCheck, false, {});
                if (box) {
                    box->setFixedSize(17, 17);
                    box->SetAutoToggle(true);
                    box->setVisible(m_bModifierBox);
                }
                m_boxes[i] = box;
                x += 17 + 40;
            }
        } else {
            m_pEdit->setFocus();
        }
    }
    return true;
}

QString CMsgDlg::EditText() const { return m_pEdit ? m_pEdit->text() : QString(); }

void CMsgDlg::OnOk() {
    switch (m_nMode) {
    case kNumber:
        m_nNumber = m_pEdit ? m_pEdit->text().toInt() : 0;
        done(1);
        return;
    case kText:
        m_szText = m_pEdit ? m_pEdit->text().left(kMaxText) : QString();
        done(m_szText.isEmpty() ? 2 : 1);
        return;
    case kCapture:
        if (m_capture) m_combo = m_capture->Combo();
        if (m_bModifierBox) {
            for (std::size_t i = 0; i < m_boxes.size(); ++i) {
                if (m_boxes[i] && m_boxes[i]->IsChecked()) m_combo.modifiers |= kBoxBits[i];
            }
        }
        done(1);
        return;
    default:
        done(1);
    }
}

void CMsgDlg::OnCaptureKey(int vk, bool release) {
    if (!m_capture || vk <= 0) return;
    if (m_capture->Step(vk, release, m_clock())) {
        const auto name = [this](int code) { return m_ctx.KeyName(code).toStdString(); };
        if (m_pEdit) m_pEdit->setText(QString::fromStdString(m_capture->Text(name)));
        m_combo = m_capture->Combo();
    }
}

bool CMsgDlg::CaptureKeyEvent(QEvent* event) {
    return TakeCaptureKey(event, [this](int vk, bool release) { OnCaptureKey(vk, release); });
}

bool CMsgDlg::event(QEvent* event) {
    if (m_nMode == kCapture && CaptureKeyEvent(event)) return true;
    return CSkinDlg::event(event);
}

bool CMsgDlg::eventFilter(QObject* watched, QEvent* event) {
    if (m_nMode == kCapture && CaptureKeyEvent(event)) return true;
    return CSkinDlg::eventFilter(watched, event);
}

void CMsgDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (!event->isAutoRepeat()) OnOk();
        event->accept();
        return;
    }
    CSkinDlg::keyPressEvent(event);
}

void CMsgDlg::paintEvent(QPaintEvent* event) {
    CSkinDlg::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    if (m_nMode == kInfo && !m_imgIcon.isNull()) p.drawImage(45, 85, m_imgIcon);
    p.setFont(m_font);
    p.setPen(ToQColor(m_ctx.gvar->clrTxt));
    if (!m_szCaption.isEmpty()) {
        p.drawText(QRect(12, 9, 100, 20), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   p.fontMetrics().elidedText(m_szCaption, Qt::ElideRight, 100));
    }
    if (!m_szMessage.isEmpty()) {
        const QRect r = (m_nMode == kInfo || m_nMode == kQuestion) ? QRect(100, 100, 370, 30) : QRect(65, 75, 400, 20);
        DrawWrappedElided(p, r, m_szMessage);
    }
    if (m_nMode == kCapture && m_bModifierBox) {
        // The boxes stand 40 pixels apart: their names take a smaller face to fit.
        p.setFont(DialogFont(12, 500));
        for (std::size_t i = 0; i < m_boxes.size(); ++i) {
            if (!m_boxes[i]) continue;
            const QRect b = m_boxes[i]->geometry();
            p.drawText(QRect(b.right() + 1 + 5, b.top() - 2, 40, b.height() + 4),
                       Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, QString::fromLatin1(kBoxNames[i]));
        }
    }
}

namespace {

int Run(CMsgDlg& dlg) {
    dlg.Init();
    return dlg.exec();
}

}  // namespace

int CMsgDlg::ShowInfo(const SkinContext& ctx, QWidget* parent, const QString& text) {
    CMsgDlg dlg(ctx, parent, kInfo, text);
    return Run(dlg);
}

int CMsgDlg::Ask(const SkinContext& ctx, QWidget* parent, const QString& text) {
    CMsgDlg dlg(ctx, parent, kQuestion, text);
    return Run(dlg);
}

int CMsgDlg::AskText(const SkinContext& ctx, QWidget* parent, const QString& prompt, QString* text) {
    CMsgDlg dlg(ctx, parent, kText, prompt);
    const int r = Run(dlg);
    if (r == 1 && text) *text = dlg.TextResult();
    return r;
}

int CMsgDlg::AskNumber(const SkinContext& ctx, QWidget* parent, const QString& prompt, int* number) {
    CMsgDlg dlg(ctx, parent, kNumber, prompt);
    const int r = Run(dlg);
    if (r == 1 && number) *number = dlg.NumberResult();
    return r;
}

int CMsgDlg::CaptureKey(const SkinContext& ctx, QWidget* parent, const QString& prompt, bool single_key,
                        bool modifier_box, KeyCombo* combo) {
    CMsgDlg dlg(ctx, parent, kCapture, prompt);
    dlg.SetCaptureOptions(single_key, modifier_box);
    const int r = Run(dlg);
    if (r == 1 && combo) *combo = dlg.CaptureResult();
    return r;
}

}  // namespace quobel
