#include "ui/pages/key_fun_pick_dlg.h"

#include <QKeyEvent>
#include <QPainter>

#include <chrono>

#include "config/key_info.h"
#include "config/key_names.h"
#include "config/text_table.h"
#include "macro/macro_names.h"
#include "ui/key_capture.h"
#include "ui/key_layout.h"
#include "ui/modals.h"
#include "ui/pages/page.h"
#include "ui/pages/pick_macro_dlg.h"
#include "ui/skin/combo_btn.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/tree_ctrl.h"

namespace quobel {

namespace {

constexpr int kTreeId = 1002;
constexpr QPoint kComboAt(245, 110);
constexpr QPoint kMediaAt(245, 144);
const QRect kTreeRect(190, 100, 330, 210);
const QRect kTitleRect(190, 70, 330, 22);
constexpr std::array<const char*, 4> kCategoryTexts{"tc_stroke", "tc_mac_def", "tc_media", "tc_kb4"};
constexpr std::array<const char*, 4> kBoxNames{"Shift", "Ctrl", "Alt", "Win"};
constexpr std::array<std::uint8_t, 4> kBoxBits{kModLShift, kModLCtrl, kModLAlt, kModLWin};

struct MediaRow {
    const char* text;
    std::uint32_t fun;
};
constexpr MediaRow kMediaRows[] = {
    {"tc_kbmedia_msel", 0x4000021}, {"tc_PL", 0x4000022},           {"tc_next_media", 0x4000025},
    {"tc_pre_media", 0x4000024},    {"tc_stop", 0x4000023},         {"tc_mute", 0x4000028},
    {"tc_vol_up", 0x4000026},       {"tc_vol_dw", 0x4000027},       {"tc_kbmedia_mail", 0x4000030},
    {"tc_kbmedia_cal", 0x4000031},  {"tc_kbmedia_explore", 0x4000032}, {"tc_kbmedia_main", 0x4000034},
};

std::int64_t SteadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

CKeyFunPickDlg::CKeyFunPickDlg(PageHost& host, QWidget* parent, const KeyInfo& key, bool comboRec)
    : CSkinDlg(host.Skin(), parent), m_host(host), m_key(key), m_bComboRec(comboRec),
      m_capture(false, comboRec), m_clock(SteadyMs) {
    setModal(true);
    setFocusPolicy(Qt::StrongFocus);
    Init();
}

CPngBtn* CKeyFunPickDlg::CategoryButton(Category c) const {
    return c >= kStroke && c <= kDefault ? m_categories[static_cast<std::size_t>(c - 1)] : nullptr;
}

void CKeyFunPickDlg::Init() {
    const QImage bkg = LoadPicture(m_ctx.CommonPath("pickfundlg.png"));
    if (bkg.isNull()) {
        resize(560, 380);
    } else {
        SetBackground(bkg, m_ctx.gvar->clrMaskMsg);
    }
    CentreOverParent();
    const int w = width();
    const int h = height();

    m_pExit = CPngBtn::Create(m_ctx, this, bkg, {w - 36, 10}, "exit_nr.png", "exit_ov.png", "exit_ov.png",
                              CPngBtn::kPush, false, {});
    m_pCancel = CPngBtn::Create(m_ctx, this, bkg, {w - 112, h - 44}, "button3_nr.png", "button3_ov.png",
                                "button3_dn.png", CPngBtn::kPush, false, m_ctx.Text("tc_cancel"));
    m_pOk = CPngBtn::Create(m_ctx, this, bkg, {w - 214, h - 44}, "button3_nr.png", "button3_ov.png",
                            "button3_dn.png", CPngBtn::kPush, false, m_ctx.Text("tc_ok"));
    if (m_pExit) connect(m_pExit, &QAbstractButton::clicked, this, [this] { done(2); });
    if (m_pCancel) connect(m_pCancel, &QAbstractButton::clicked, this, [this] { done(2); });
    if (m_pOk) connect(m_pOk, &QAbstractButton::clicked, this, &CKeyFunPickDlg::OnOk);

    for (int i = 0; i < 4; ++i) {
        CPngBtn* b = CPngBtn::Create(m_ctx, this, bkg, {30, 75 + 55 * i}, "btn_nr.png", "btn_nr.png", "btn_ov.png",
                                     CPngBtn::kCheck, false, m_ctx.Text(kCategoryTexts[static_cast<std::size_t>(i)]));
        if (b) {
            b->SetRadio(true);
            const auto c = static_cast<Category>(i + 1);
            connect(b, &QAbstractButton::clicked, this, [this, c] { Choose(c); });
        }
        m_categories[static_cast<std::size_t>(i)] = b;
    }

    m_pCombo = CPngBtn::Create(m_ctx, this, bkg, kComboAt, "button_nr.png", "button_nr.png", "button_nr.png",
                               CPngBtn::kPush, false, {});
    if (m_pCombo) {
        // A display: key presses belong to the dialog, clicks do nothing.
        m_pCombo->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_pCombo->hide();
    }
    int x = kComboAt.x() + 2;
    const int y = kComboAt.y() + 34 + 15;
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        CPngBtn* box = CPngBtn::Create(m_ctx, this, bkg, {x, y}, "Check_nr.png", "Check_nr.png", "Check_dn.png",
                                       CPngBtn::kCheck, false, {});
        if (box) {
            box->setFixedSize(17, 17);
            box->SetAutoToggle(true);
            box->hide();
        }
        m_boxes[i] = box;
        x += 17 + 40;
    }

    m_pMedia = CComboBtn::Create(m_ctx, this, bkg, kMediaAt, "combo_nr.png", "combo_ov.png", "combo_ov.png");
    if (m_pMedia) {
        for (const MediaRow& r : kMediaRows) m_pMedia->AddItem(0, m_ctx.Text(r.text), r.fun);
        m_pMedia->SetCaption({}, 10);
        connect(m_pMedia, &CComboBtn::Command, this, [this] {
            if (m_pMedia->SelectedValue() < 0) return;
            m_media = static_cast<std::uint32_t>(m_pMedia->SelectedValue());
            KeyInfo k;
            k.FunID = *m_media;
            m_pMedia->SetCaption(QString::fromStdString(FunctionCaption(k, m_ctx.Texts())), 10);
        });
        m_pMedia->hide();
    }

    m_pTree = new CTreeCtrlEx(m_ctx, this);
    m_pTree->Create(kTreeId, bkg, kTreeRect, m_ctx.CommonPath("open.png"), m_ctx.CommonPath("close.png"), m_ctx.font);
    m_pTree->SetTextColours(m_ctx.gvar->clrLstBoxTxtNr, m_ctx.gvar->clrLstBoxTxtDn);
    m_pTree->hide();

    if (const TextTable* t = m_ctx.texts) {
        const MacroListNames macros(m_host.Macros());
        const CurrentSensorDpi sensor(m_host.Cfg());
        m_szHeader = m_ctx.Text("tc_kb3") +
                     QString::fromStdString(FunctionCaption(m_key, *t, &macros, &sensor, SessionKeyLayout()));
    }
}

void CKeyFunPickDlg::Choose(Category c) {
    m_category = c;
    for (int i = 0; i < 4; ++i) {
        if (CPngBtn* b = m_categories[static_cast<std::size_t>(i)]) b->SetChecked(i + 1 == c);
    }
    if (m_pCombo) m_pCombo->setVisible(c == kStroke);
    for (CPngBtn* box : m_boxes) {
        if (box) box->setVisible(c == kStroke && m_bComboRec);
    }
    if (m_pMedia) m_pMedia->setVisible(c == kMedia);
    if (c == kMacro && !m_bTreeFilled) {
        FillMacroTree(m_host, *m_pTree);
        m_bTreeFilled = true;
    }
    m_pTree->setVisible(c == kMacro && !m_pTree->TopLevel().empty());
    if (c == kStroke) setFocus();
    update();
}

void CKeyFunPickDlg::OnCaptureKey(int vk, bool release) {
    if (vk <= 0) return;
    if (m_capture.Step(vk, release, m_clock()) && m_pCombo) {
        m_pCombo->SetCaption(QString::fromStdString(m_capture.Text(m_ctx.Texts(), SessionKeyLayout())));
    }
}

bool CKeyFunPickDlg::CaptureKeyEvent(QEvent* event) {
    return TakeCaptureKey(event, [this](int vk, bool release) { OnCaptureKey(vk, release); });
}

bool CKeyFunPickDlg::event(QEvent* event) {
    if (m_category == kStroke && CaptureKeyEvent(event)) return true;
    return CSkinDlg::event(event);
}

std::optional<KeyInfo> CKeyFunPickDlg::PickedRecord() const {
    KeyInfo out;
    switch (m_category) {
    case kNoCategory:
        return m_key;
    case kStroke: {
        KeyCombo combo = m_capture.Combo();
        if (combo == KeyCombo{}) return std::nullopt;
        if (m_bComboRec) {
            for (std::size_t i = 0; i < m_boxes.size(); ++i) {
                if (m_boxes[i] && m_boxes[i]->IsChecked()) combo.modifiers |= kBoxBits[i];
            }
        }
        out.FunID = MakeFunID(kFunKeyCombo, 0);
        out.byModifier = combo.modifiers;
        out.byVk = static_cast<std::uint8_t>(combo.key1);
        out.byVk2 = static_cast<std::uint8_t>(combo.key2);
        return out;
    }
    case kMacro: {
        const std::uint32_t id = MacroIdOfRow(m_pTree->Selected());
        if (id == 0) return std::nullopt;
        out.FunID = MakeFunID(kFunMacro, 0);
        out.MacroID = id;
        return out;
    }
    case kMedia:
        if (!m_media) return std::nullopt;
        out.FunID = *m_media;
        return out;
    case kDefault: {
        // The key's entry of the keyboard description: the one at the same matrix place.
        for (const KeyInfo& def : m_host.Cfg().g_defKEY) {
            if (def.nMatrixInx == m_key.nMatrixInx && def.rcKey == m_key.rcKey) return def;
        }
        for (const KeyInfo& def : m_host.Cfg().g_defKEY) {
            if (def.nMatrixInx == m_key.nMatrixInx && def.FunID != 0) return def;
        }
        return std::nullopt;
    }
    }
    return std::nullopt;
}

void CKeyFunPickDlg::OnOk() {
    const std::optional<KeyInfo> picked = PickedRecord();
    if (!picked) {
        m_host.Modal().Info(m_ctx, this, m_ctx.Text("tc_kb6"));
        return;
    }
    m_result = m_category == kNoCategory ? kNone : kFunction;
    m_key = *picked;
    done(1);
}

void CKeyFunPickDlg::paintEvent(QPaintEvent* event) {
    CSkinDlg::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(DialogFont(16, 600));
    p.setPen(QColor(200, 200, 200));
    constexpr int kLine = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    const QRect header(20, 15, 230, 20);
    p.drawText(header, kLine, p.fontMetrics().elidedText(m_szHeader, Qt::ElideRight, header.width()));

    QPen dash(QColor(0x2B, 0x2B, 0x2B));
    dash.setDashPattern({7.0, 5.0});
    p.save();
    p.setPen(dash);
    p.drawLine(170, 50, 170, 280);
    p.restore();

    QString title;
    if (m_category == kStroke) title = m_ctx.Text("tc_msg2");
    if (m_category == kMacro) title = m_ctx.Text("tc_macro_list");
    if (m_category == kMedia) title = m_ctx.Text("tc_media");
    p.drawText(kTitleRect, kLine, p.fontMetrics().elidedText(title, Qt::ElideRight, kTitleRect.width()));
    if (m_category == kMacro && m_pTree->TopLevel().empty()) {
        p.setFont(DialogFont(13, 500));
        p.drawText(QRect(kTitleRect.left(), kTitleRect.bottom() + 8, kTitleRect.width(), 60),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                   m_ctx.Text("tc_msg9"));
    }
    if (m_category == kStroke && m_bComboRec) {
        p.setFont(DialogFont(12, 500));
        for (std::size_t i = 0; i < m_boxes.size(); ++i) {
            if (!m_boxes[i]) continue;
            const QRect b = m_boxes[i]->geometry();
            p.drawText(QRect(b.right() + 1 + 5, b.top() - 2, 40, b.height() + 4), kLine,
                       QString::fromLatin1(kBoxNames[i]));
        }
    }
}

}  // namespace quobel
