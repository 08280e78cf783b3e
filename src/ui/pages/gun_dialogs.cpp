#include "ui/pages/gun_dialogs.h"

#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>

#include "ui/modals.h"
#include "ui/pages/color_btn_dlg.h"
#include "ui/pages/page.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/tree_ctrl.h"

namespace quobel {
namespace {

constexpr int kSightX = 240;
constexpr std::array<int, kGunSights> kSightY = {190, 215, 240};
const QRect kValueRect(QPoint(245, 300), QPoint(304, 319));
const QRect kColourRect(QPoint(245, 370), QPoint(269, 394));
constexpr int kSwitchX = 245;
constexpr int kSwitchY = 440;
constexpr int kGunRowHeight = 62;
constexpr int kSlotRowHeight = 70;
constexpr int kEmptyValue = 10;

QString Latin(std::string_view s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

QString GunPicture(int gun, bool over) {
    return QStringLiteral("chiji/") + Latin(kGunPictures[static_cast<std::size_t>(gun)]) +
           (over ? QStringLiteral("-ov.png") : QStringLiteral(".png"));
}

CPngBtn* Radio(const SkinContext& ctx, QWidget* parent, const QImage& bkg, QPoint at) {
    CPngBtn* b = CPngBtn::Create(ctx, parent, bkg, at, QStringLiteral("radio_nr.png"), QStringLiteral("radio_ov.png"),
                                 QStringLiteral("radio_dn.png"), CPngBtn::kCheck, false, {});
    if (b) b->SetRadio(true);
    return b;
}

CPngBtn* MakeCloseButton(const SkinContext& ctx, QWidget* parent, const QImage& bkg) {
    return CPngBtn::Create(ctx, parent, bkg, QPoint(484, 95), QStringLiteral("exit_nr.png"),
                           QStringLiteral("exit_ov.png"), QStringLiteral("exit_ov.png"), CPngBtn::kPush, false, {});
}

CPngBtn* MakeOkButton(const SkinContext& ctx, QWidget* parent, const QImage& bkg) {
    return CPngBtn::Create(ctx, parent, bkg, QPoint(364, 569), QStringLiteral("button3_nr.png"),
                           QStringLiteral("button3_ov.png"), QStringLiteral("button3_ov.png"), CPngBtn::kPush, false,
                           ctx.Text("tc_ok"));
}

// The window ground: the description's colour under the picture, where it has one.
void PaintGround(QPainter& p, const QRect& r, const QImage& picture, Colour ground) {
    if (ground != 0) p.fillRect(r, ToQColor(ground));
    p.drawImage(r, picture);
}

void SetSwitch(std::array<CPngBtn*, 2>& radios, bool on) {
    if (radios[0]) radios[0]->SetChecked(!on);
    if (radios[1]) radios[1]->SetChecked(on);
}

void SetGunFlag(PageHost& host, bool on) {
    if (ProfileData* p = host.CurrentProfile()) {
        p->dwFlags = on ? (p->dwFlags | kProfileFlagGun) : (p->dwFlags & ~kProfileFlagGun);
    }
}

}  // namespace

// ---- gun dialog -------------------------------------------------------------------

ChijiDlg::ChijiDlg(PageHost& host, QWidget* parent, const KeyInfo& key, const MsDevCfg& ms)
    : CSkinDlg(host.Skin(), parent), m_host(host), m_ms(ms), m_nKeyFunID(key.FunID), m_nKeyParam(KeyParam(key)) {
    setWindowTitle(QStringLiteral("QuobelMsgTopWindow"));
}

bool ChijiDlg::Init() {
    if (!SetBackground(LoadPicture(m_ctx.SkinPath(QStringLiteral("chiji/chiji_nr.png"))), m_ctx.gvar->clrMaskMsg)) {
        m_ctx.Box("", QStringLiteral("chiji_nr.png missed"));
        return false;
    }
    m_pClose = MakeCloseButton(m_ctx, this, m_imgBkg);
    if (m_pClose) connect(m_pClose, &CPngBtn::clicked, this, [this] { done(2); });
    m_pOk = MakeOkButton(m_ctx, this, m_imgBkg);
    if (m_pOk) connect(m_pOk, &CPngBtn::clicked, this, &ChijiDlg::OnOk);

    m_pList = new CTreeCtrlImageEx(m_ctx, this);
    m_pList->Create(kListId, m_imgBkg, QRect(QPoint(37, 145), QPoint(193, 584)), {}, {}, m_ctx.font);
    m_pList->SetRowHeight(kGunRowHeight);
    m_pList->SetSelColour(0);
    m_pList->SetHoverHighlight(true);
    m_pList->SetHoverColour(0);
    m_pList->SetAlign(CTreeCtrlImageEx::kCentre);
    m_pList->SetFrameColour(0);
    for (int g = 0; g < kGunCount; ++g) {
        m_items[static_cast<std::size_t>(g)] =
            m_pList->AddImageItem(nullptr, LoadPicture(m_ctx.SkinPath(GunPicture(g, false))),
                                  LoadPicture(m_ctx.SkinPath(GunPicture(g, true))), {}, static_cast<std::uint32_t>(g));
    }
    connect(m_pList, &CTreeCtrlEx::TreeItemClick, this, [this](int, TreeItem* item) {
        if (item != nullptr) SelectGun(static_cast<int>(item->rec.value));
    });

    for (int s = 0; s < kGunSights; ++s) {
        CPngBtn* r = Radio(m_ctx, this, m_imgBkg, QPoint(kSightX, kSightY[static_cast<std::size_t>(s)]));
        if (r) connect(r, &CPngBtn::clicked, this, [this, s] { OnSight(s); });
        m_sights[static_cast<std::size_t>(s)] = r;
    }
    m_pValue = new QLineEdit(this);
    m_pValue->setGeometry(kValueRect);
    m_pValue->setMaxLength(3);
    m_pValue->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_pValue));
    m_pValue->setStyleSheet(QStringLiteral("QLineEdit { background: #1b1e24; color: #e6e6e6; border: 1px solid #3a3f4b; }"));
    connect(m_pValue, &QLineEdit::textChanged, this, &ChijiDlg::OnValueEdited);

    m_pColour = new CColorBtnDlg(m_host, this, 0);
    m_pColour->setGeometry(kColourRect);
    for (int i = 0; i < 2; ++i) {
        CPngBtn* r = Radio(m_ctx, this, m_imgBkg, QPoint(kSwitchX, kSwitchY + 25 * i));
        if (r) {
            connect(r, &CPngBtn::clicked, this, [this, i] { OnSwitch(i == 1); });
            r->setVisible(!m_bHideSwitch);
        }
        m_switch[static_cast<std::size_t>(i)] = r;
    }

    for (int g = 0; g < kGunCount; ++g) m_entries[static_cast<std::size_t>(g)] = {g, 0, DefaultGunValue(m_ms, g, 0)};
    int start = 0;
    int value = DefaultGunValue(m_ms, 0, 0);
    if (FunType(m_nKeyFunID) == 8 && FunCode(m_nKeyFunID) == kGunCode) {
        const GunSetting g = GunOfParam(m_nKeyParam, 0);
        if (g.gun < kGunCount && g.sight < kGunSights) {
            m_entries[static_cast<std::size_t>(g.gun)] = g;
            start = g.gun;
            value = g.value;
        }
    }
    const ProfileData* profile = m_host.CurrentProfile();
    m_bSwitch = profile != nullptr && (profile->dwFlags & kProfileFlagGun) != 0;
    SelectGun(start);
    m_pValue->setText(QString::number(value));
    CentreOverParent();
    return true;
}

void ChijiDlg::SelectGun(int gun) {
    if (gun < 0 || gun >= kGunCount) return;
    m_nGun = gun;
    m_pList->SelectItem(m_items[static_cast<std::size_t>(gun)]);
    const ProfileData* profile = m_host.CurrentProfile();
    if (profile != nullptr) m_pColour->SetColor(profile->clrGun[gun]);
    const int sight = m_entries[static_cast<std::size_t>(gun)].sight;
    for (int s = 0; s < kGunSights; ++s) {
        if (CPngBtn* r = m_sights[static_cast<std::size_t>(s)]) r->SetChecked(s == sight);
    }
    m_pValue->setText(QString::number(DefaultGunValue(m_ms, gun, sight)));
    if (CPngBtn* scope = m_sights[1]) scope->setVisible(GunHasScope(gun));
    SetSwitch(m_switch, m_bSwitch);
    m_szTitle = QStringLiteral("%1 - %2").arg(m_ctx.Text("tc_chiji12"), Latin(kGunNames[static_cast<std::size_t>(gun)]));
    update();
}

void ChijiDlg::OnSight(int sight) {
    for (int s = 0; s < kGunSights; ++s) {
        if (CPngBtn* r = m_sights[static_cast<std::size_t>(s)]) r->SetChecked(s == sight);
    }
    m_pValue->setText(QString::number(DefaultGunValue(m_ms, m_nGun, sight)));
}

void ChijiDlg::OnSwitch(bool on) {
    m_bSwitch = on;
    SetSwitch(m_switch, on);
}

void ChijiDlg::OnValueEdited() {
    bool ok = false;
    const int v = m_pValue->text().toInt(&ok);
    if (ok && v > kGunMaxValue) {
        const QSignalBlocker quiet(m_pValue);
        m_pValue->setText(QString::number(kGunMaxValue));
        m_pValue->setCursorPosition(static_cast<int>(m_pValue->text().size()));
    }
}

int ChijiDlg::CheckedSight() const {
    for (int s = 0; s < kGunSights; ++s) {
        const CPngBtn* r = m_sights[static_cast<std::size_t>(s)];
        if (r && r->IsChecked()) return s;
    }
    return 0;
}

void ChijiDlg::OnOk() {
    const TreeItem* sel = m_pList->Selected();
    m_result.gun = sel != nullptr ? static_cast<int>(sel->rec.value) : 0;
    m_result.sight = CheckedSight();
    bool ok = false;
    const int v = m_pValue->text().toInt(&ok);
    m_result.value = (ok ? v : kEmptyValue) & 0xFF;
    m_bSwitch = m_switch[1] != nullptr && m_switch[1]->IsChecked();
    if (ProfileData* profile = m_host.CurrentProfile()) profile->clrGun[m_result.gun] = m_pColour->Color();
    done(1);
}

void ChijiDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintGround(p, rect(), m_imgBkg, m_ms.clrChijiBkg);
    p.setPen(ToQColor(m_ctx.gvar->clrTxt));
    p.setFont(m_ctx.font);
    const int single = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    QFont title = m_ctx.font;
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(kSightX - 20, kSightY[0] - 35, 240, 20), single, m_szTitle);
    p.setFont(m_ctx.font);
    // Sight 2 reads as everywhere else it is named (slots, button captions).
    const std::array<const char*, kGunSights> sight_texts = {"tc_chiji5", "tc_chiji8", "tc_chiji15"};
    for (int s = 0; s < kGunSights; ++s) {
        const CPngBtn* r = m_sights[static_cast<std::size_t>(s)];
        if (r == nullptr || !r->isVisible()) continue;
        p.drawText(QRect(r->geometry().right() + 8, r->y() - 2, 220, r->height() + 4), single,
                   m_ctx.Text(sight_texts[static_cast<std::size_t>(s)]));
    }
    p.drawText(QRect(kValueRect.left(), kValueRect.top() - 24, 240, 20), single, m_ctx.Text("tc_chiji16"));
    p.drawText(QRect(kValueRect.right() + 10, kValueRect.top(), 100, kValueRect.height()), single,
               QStringLiteral("(0 ~ 63)"));
    p.drawText(QRect(kColourRect.left(), kColourRect.top() - 24, 240, 20), single, m_ctx.Text("tc_chiji18"));
    if (!m_bHideSwitch) {
        p.drawText(QRect(kSwitchX, kSwitchY - 24, 240, 20), single, m_ctx.Text("tc_chiji4"));
        for (int i = 0; i < 2; ++i) {
            const CPngBtn* r = m_switch[static_cast<std::size_t>(i)];
            if (r == nullptr) continue;
            p.drawText(QRect(r->geometry().right() + 8, r->y() - 2, 200, r->height() + 4), single,
                       m_ctx.Text(i == 0 ? "tc_chiji10" : "tc_chiji11"));
        }
    }
}

// ---- gun-mode dialog -------------------------------------------------------------

ChijiModeDlg::ChijiModeDlg(PageHost& host, QWidget* parent, const KeyInfo& key, const MsDevCfg& ms)
    : CSkinDlg(host.Skin(), parent), m_host(host), m_ms(ms), m_key(key) {
    setWindowTitle(QStringLiteral("QuobelMsgTopWindow"));
}

bool ChijiModeDlg::Init() {
    if (!SetBackground(LoadPicture(m_ctx.SkinPath(QStringLiteral("chiji/chijimd_nr.png"))), m_ctx.gvar->clrMaskMsg)) {
        m_ctx.Box("", QStringLiteral("chijimd_nr.png missed"));
        return false;
    }
    m_imgAdd = LoadPicture(m_ctx.SkinPath(QStringLiteral("gunadd_nr.png")));
    m_imgAddOv = LoadPicture(m_ctx.SkinPath(QStringLiteral("gunadd_ov.png")));
    for (int g = 0; g < kGunCount; ++g) {
        m_imgGun[static_cast<std::size_t>(g)] = LoadPicture(m_ctx.SkinPath(GunPicture(g, false)));
        m_imgGunOv[static_cast<std::size_t>(g)] = LoadPicture(m_ctx.SkinPath(GunPicture(g, true)));
    }
    m_pClose = MakeCloseButton(m_ctx, this, m_imgBkg);
    if (m_pClose) connect(m_pClose, &CPngBtn::clicked, this, [this] { done(2); });
    m_pOk = MakeOkButton(m_ctx, this, m_imgBkg);
    if (m_pOk) connect(m_pOk, &CPngBtn::clicked, this, &ChijiModeDlg::OnOk);

    m_pList = new CTreeCtrlImageEx(m_ctx, this);
    m_pList->Create(kListId, m_imgBkg, QRect(QPoint(160, 190), QPoint(419, 329)), {}, {}, m_ctx.font);
    m_pList->SetRowHeight(kSlotRowHeight);
    m_pList->SetSelColour(0);
    m_pList->SetHoverHighlight(true);
    m_pList->SetHoverColour(0);
    m_pList->SetIgnoreSelectedClick(false);
    m_pList->SetAlign(CTreeCtrlImageEx::kLeft10);
    m_pList->SetFrameColour(0);
    m_pList->SetCaptionRect(QRect(172, 0, 84, 0));
    m_pList->SetTextColours(m_ctx.gvar->clrTxt, m_ctx.gvar->clrTxt);
    for (int i = 0; i < 2; ++i) {
        m_items[static_cast<std::size_t>(i)] = m_pList->AddImageItem(nullptr, m_imgAdd, m_imgAddOv, {},
                                                                    static_cast<std::uint32_t>(i));
    }
    connect(m_pList, &CTreeCtrlEx::TreeItemClick, this, [this](int, TreeItem* item) { OnSlotClick(item); });
    connect(m_pList, &CTreeCtrlEx::TreeItemRClick, this, [this](int, TreeItem* item) { OnSlotRClick(item); });

    for (int i = 0; i < 2; ++i) {
        CPngBtn* r = Radio(m_ctx, this, m_imgBkg, QPoint(160, 450 + 30 * i));
        if (r) connect(r, &CPngBtn::clicked, this, [this, i] { OnSwitch(i == 1); });
        m_switch[static_cast<std::size_t>(i)] = r;
    }
    if (IsGunFunction(m_key)) {
        const std::uint32_t param = KeyParam(m_key);
        m_slots[0] = GunOfParam(param, 0);
        m_slots[1] = GunOfParam(param, 1);
    }
    const ProfileData* profile = m_host.CurrentProfile();
    OnSwitch(profile != nullptr && (profile->dwFlags & kProfileFlagGun) != 0);
    ShowSlot(0);
    ShowSlot(1);
    CentreOverParent();
    return true;
}

void ChijiModeDlg::ShowSlot(int i) {
    const GunSetting& s = m_slots[static_cast<std::size_t>(i)];
    TreeItem* item = m_items[static_cast<std::size_t>(i)];
    if (!Filled(s) || s.gun >= kGunCount) {
        m_pList->SetItemPictures(item, m_imgAdd, m_imgAddOv, {});
        return;
    }
    QString sight;
    if (s.sight == 0) sight = m_ctx.Text("tc_chiji6");
    if (s.sight == 1) sight = QStringLiteral("4X");
    if (s.sight == 2) sight = m_ctx.Text("tc_chiji15");
    m_pList->SetItemPictures(item, m_imgGun[static_cast<std::size_t>(s.gun)],
                             m_imgGunOv[static_cast<std::size_t>(s.gun)], sight);
}

int ChijiModeDlg::SlotOf(const TreeItem* item) const {
    for (int i = 0; i < 2; ++i) {
        if (item != nullptr && m_items[static_cast<std::size_t>(i)] == item) return i;
    }
    return -1;
}

void ChijiModeDlg::OnSlotClick(TreeItem* item) {
    const int i = SlotOf(item);
    if (i < 0) return;
    ChijiDlg gun(m_host, this, m_key, m_ms);
    gun.HideSwitch(true);
    if (!gun.Init() || m_host.Modal().Exec(gun) != 1) return;
    m_slots[static_cast<std::size_t>(i)] = gun.Result();
    ShowSlot(i);
}

void ChijiModeDlg::OnSlotRClick(TreeItem* item) {
    const int i = SlotOf(item);
    if (i < 0) return;
    m_slots[static_cast<std::size_t>(i)] = {};
    ShowSlot(i);
}

void ChijiModeDlg::OnSwitch(bool on) {
    m_bSwitch = on;
    SetSwitch(m_switch, on);
}

void ChijiModeDlg::OnOk() {
    m_bSwitch = m_switch[1] != nullptr && m_switch[1]->IsChecked();
    if (Filled(m_slots[0])) {
        m_nCount = 2;
    } else if (Filled(m_slots[1])) {
        m_slots[0] = m_slots[1];
        m_slots[1] = {};
        m_nCount = 1;
    } else {
        done(2);
        return;
    }
    done(1);
}

void ChijiModeDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintGround(p, rect(), m_imgBkg, m_ms.clrChijiBkg);
    p.setPen(ToQColor(m_ctx.gvar->clrTxt));
    p.setFont(m_ctx.font);
    const int single = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    p.drawText(QRect(160, 162, 260, 22), single, m_ctx.Text("tc_chiji13"));
    p.drawText(QRect(160, 422, 260, 22), single, m_ctx.Text("tc_chiji4"));
    for (int i = 0; i < 2; ++i) {
        const CPngBtn* r = m_switch[static_cast<std::size_t>(i)];
        if (r == nullptr) continue;
        p.drawText(QRect(r->geometry().right() + 8, r->y() - 2, 200, r->height() + 4), single,
                   m_ctx.Text(i == 0 ? "tc_chiji10" : "tc_chiji11"));
    }
}

// ---- entry points ------------------------------------------------------------------

bool RunGunDialog(PageHost& host, QWidget* parent, KeyInfo& key) {
    ChijiDlg dlg(host, parent, key, host.Cfg().gVar.MsDev);
    if (!dlg.Init() || host.Modal().Exec(dlg) != 1) return false;
    key.FunID = kGunFunID;
    SetKeyParam(key, OneGunParam(dlg.Result()));
    SetGunFlag(host, dlg.SwitchOn());
    return true;
}

bool RunGunModeDialog(PageHost& host, QWidget* parent, KeyInfo& key) {
    ChijiModeDlg dlg(host, parent, key, host.Cfg().gVar.MsDev);
    if (!dlg.Init() || host.Modal().Exec(dlg) != 1) return false;
    key.FunID = kGunFunID;
    if (dlg.Count() == 1) SetKeyParam(key, OneGunParam(dlg.Slot(0)));
    if (dlg.Count() == 2) SetKeyParam(key, TwoGunParam(dlg.Slot(0), dlg.Slot(1)));
    SetGunFlag(host, dlg.SwitchOn());
    return true;
}

}  // namespace quobel
