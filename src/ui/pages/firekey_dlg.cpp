#include "ui/pages/firekey_dlg.h"

#include <QLineEdit>
#include <QPainter>
#include <QRegularExpression>
#include <QTimer>

#include <optional>

#include "config/key_info.h"
#include "config/key_names.h"
#include "ui/key_layout.h"
#include "ui/modals.h"
#include "ui/pages/page.h"
#include "ui/skin/msg_dlg.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/skin_menu.h"

namespace quobel {

namespace {

constexpr int kMenuStroke = 8;
constexpr int kRowKey = 62;
constexpr int kRowSpeed = 98;
constexpr int kRowCount = 134;
constexpr int kLabelX = 100;
constexpr int kFieldX = 190;

// A whole field of decimal digits in [lo, hi]; nothing before or after the digits.
std::optional<int> DecimalIn(const QString& text, int lo, int hi) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,3}$"));
    if (!digits.match(text).hasMatch()) return std::nullopt;
    const int v = text.toInt();
    if (v < lo || v > hi) return std::nullopt;
    return v;
}

// The key of a lone modifier captured on its own.
std::uint8_t ModifierKey(std::uint8_t bits) {
    constexpr std::pair<std::uint8_t, std::uint8_t> kKeys[] = {
        {kModLCtrl, 0xA2}, {kModLShift, 0xA0}, {kModLAlt, 0xA4}, {kModLWin, 0x5B},
        {kModRCtrl, 0xA3}, {kModRShift, 0xA1}, {kModRAlt, 0xA5}, {kModRWin, 0x5C},
    };
    for (const auto& [bit, vk] : kKeys) {
        if (bits & bit) return vk;
    }
    return 0;
}

}  // namespace

CFirekeyDlg::CFirekeyDlg(PageHost& host, QWidget* parent, const KeyInfo& key)
    : CSkinDlg(host.Skin(), parent), m_host(host), m_key(key) {
    setModal(true);
    if (FunType(key.FunID) == kFunSpecial && FunCode(key.FunID) == kCodeFire) {
        m_byKey = key.byFireVk;
        m_bySpeed = key.bySpeed;
        m_byCount = key.byCount;
    }
}

bool CFirekeyDlg::Init() {
    const QImage bkg = LoadPicture(m_ctx.CommonPath("msg_nr.png"));
    if (bkg.isNull()) {
        m_ctx.Box("", QStringLiteral("msg_nr.png missed"));
        QTimer::singleShot(0, this, [this] { done(2); });
        return false;
    }
    SetBackground(bkg, m_ctx.gvar->clrMaskMsg);
    CentreOverParent();
    m_imgLogo = LoadPicture(m_ctx.CommonPath("firekeylogo.png"));
    const int w = bkg.width();
    const int h = bkg.height();
    const QFont font = DialogFont(16, 600);
    setFont(font);

    m_pExit = CPngBtn::Create(m_ctx, this, bkg, {w - 36, 10}, "exit_nr.png", "exit_ov.png", "exit_ov.png",
                              CPngBtn::kPush, false, {});
    m_pOk = CPngBtn::Create(m_ctx, this, bkg, {w - 122, h - 42}, "button3_nr.png", "button3_ov.png",
                            "button3_dn.png", CPngBtn::kPush, false, m_ctx.Text("tc_ok"));
    m_pKey = CPngBtn::Create(m_ctx, this, bkg, {kFieldX, kRowKey}, "combo_nr.png", "combo_ov.png", "combo_ov.png",
                             CPngBtn::kPush, false, {});
    if (m_pExit) connect(m_pExit, &QAbstractButton::clicked, this, [this] { done(2); });
    if (m_pOk) connect(m_pOk, &QAbstractButton::clicked, this, &CFirekeyDlg::OnOk);
    if (m_pKey) {
        m_pKey->SetCaption({}, 10);
        connect(m_pKey, &QAbstractButton::clicked, this, [this] { OpenKeyMenu(); });
    }

    const QString style = QStringLiteral(
        "QLineEdit{background:#121418;color:%1;border:1px solid #3c4250;border-radius:3px;padding:0 6px;}"
        "QLineEdit:focus{border-color:%2;}")
                              .arg(ToQColor(m_ctx.gvar->clrTxt).name(), ToQColor(m_ctx.gvar->clrBtnTxtDn).name());
    const auto edit = [&](int y, int value) {
        auto* e = new QLineEdit(this);
        e->setGeometry(kFieldX, y, 90, 25);
        e->setFont(font);
        e->setMaxLength(8);
        e->setStyleSheet(style);
        e->setText(QString::number(value));
        return e;
    };
    m_pSpeed = edit(kRowSpeed, m_bySpeed);
    m_pCount = edit(kRowCount, m_byCount);
    ShowKey();
    return true;
}

void CFirekeyDlg::ShowKey() {
    if (m_pKey == nullptr) return;
    m_pKey->SetCaption(QString::fromStdString(FireKeyName(m_byKey, m_ctx.Texts(), SessionKeyLayout())), 10);
}

CSkinMenu* CFirekeyDlg::OpenKeyMenu() {
    CSkinMenu::DestroyMenuEx();
    if (m_pKey == nullptr) return nullptr;
    const std::pair<const char*, int> kItems[] = {{"tc_stroke", kMenuStroke}, {"tc_click", 1}, {"tc_menu", 2},
                                                  {"tc_middle", 3},          {"tc_forward", 4}, {"tc_back", 5}};
    std::vector<MenuItemEx> items;
    for (const auto& [text, id] : kItems) {
        items.push_back(MenuItemEx::Make(MenuItemEx::kTopLevel, id, m_ctx.Text(text).toStdString()));
    }
    CSkinMenu* menu = CSkinMenu::CreateMenuEx(this, MenuStyle::OfSkin(m_ctx, kKeyMenuWidth), m_pKey->mapToGlobal(QPoint(0, m_pKey->height())), 0, items);
    if (menu != nullptr) connect(menu, &CSkinMenu::MenuCmd, this, [this](int cmd, std::intptr_t) { OnKeyMenu(cmd); });
    return menu;
}

void CFirekeyDlg::OnKeyMenu(int cmd) {
    if (cmd >= 1 && cmd <= 7) {
        m_byKey = static_cast<std::uint8_t>(0xF0 + cmd - 1);
        ShowKey();
        return;
    }
    if (cmd != kMenuStroke) return;
    CMsgDlg box(m_ctx, this, CMsgDlg::kCapture, m_ctx.Text("tc_msg10"));
    box.SetCaptureOptions(true, false);
    box.Init();
    if (m_host.Modal().Exec(box) != 1) return;
    const KeyCombo combo = box.CaptureResult();
    if (combo == KeyCombo{}) return;
    const std::uint8_t key = combo.modifiers == 0 ? static_cast<std::uint8_t>(combo.key1) : ModifierKey(combo.modifiers);
    if (key == 0) return;
    m_byKey = key;
    ShowKey();
}

void CFirekeyDlg::OnOk() {
    Modals& modal = m_host.Modal();
    const std::optional<int> speed = DecimalIn(m_pSpeed->text(), kMinSpeed, kMaxSpeed);
    if (!speed) {
        modal.Info(m_ctx, this, QStringLiteral("The value of speed is invalid"));
        return;
    }
    const std::optional<int> count = DecimalIn(m_pCount->text(), 0, kMaxCount);
    if (!count) {
        modal.Info(m_ctx, this, QStringLiteral("The value of count is invalid"));
        return;
    }
    if (m_byKey == 0) {
        modal.Info(m_ctx, this, QStringLiteral("The value of key is invalid"));
        return;
    }
    m_bySpeed = static_cast<std::uint8_t>(*speed);
    m_byCount = static_cast<std::uint8_t>(*count);
    done(1);
}

void CFirekeyDlg::paintEvent(QPaintEvent* event) {
    CSkinDlg::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font());
    p.setPen(ToQColor(m_ctx.gvar->clrTxt));
    const auto label = [&p](const QRect& r, const QString& text, int flags) {
        p.drawText(r, flags, (flags & Qt::TextWordWrap) ? text : p.fontMetrics().elidedText(text, Qt::ElideRight, r.width()));
    };
    constexpr int kLeft = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    label(QRect(12, 9, 100, 20), m_ctx.Text("tc_fire"), kLeft);
    if (!m_imgLogo.isNull()) p.drawImage(30, kRowKey + 10, m_imgLogo);
    label(QRect(kLabelX, kRowKey, kFieldX - kLabelX - 6, 25), m_ctx.Text("tc_fire"), kLeft);
    label(QRect(kLabelX, kRowSpeed, kFieldX - kLabelX - 6, 25), m_ctx.Text("tc_fire2"), kLeft);
    label(QRect(kLabelX, kRowCount, kFieldX - kLabelX - 6, 25), m_ctx.Text("tc_fire1"), kLeft);
    p.setFont(DialogFont(13, 500));
    label(QRect(kFieldX + 100, kRowSpeed, width() - kFieldX - 100 - 20, 61), m_ctx.Text("tc_fire3"),
          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap);
}

}  // namespace quobel
