#include "ui/main/drv_set_dlg.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <array>

#include "base/log.h"
#include "base/utf16.h"
#include "platform/ini.h"
#include "profile/profile_store.h"
#include "ui/main/quobel_dlg.h"
#include "ui/modals.h"
#include "ui/skin/combo_btn.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/skin_menu.h"

namespace quobel {

namespace {

constexpr char kOpt[] = "OPT";
constexpr int kEditLeft = 40;
constexpr int kEditTop = 70;
constexpr int kEditWidth = 350;
constexpr int kEditHeight = 20;
constexpr int kRowGap = 50;
constexpr int kLabelWidth = 200;
// The program link sits beside the language and skin combos.
constexpr int kProgramLeft = 260;
constexpr int kProgramWidth = 200;
constexpr int kProgramLabelWidth = 280;

QString EditStyle(const GVar& g) {
    return QStringLiteral("QLineEdit{background:black;color:rgb(200,200,200);border:1px solid %1;padding:0 3px;}"
                          "QLineEdit:focus{border-color:%2;}")
        .arg(ToQColor(g.clrTxt).darker(200).name(), ToQColor(g.clrBtnTxtDn).name());
}

// The program's own file name: a chosen executable's path loses its folder.
QString ProgramName(const QString& chosen) { return QFileInfo(chosen).fileName(); }

}  // namespace

CDrvSetDlg::CDrvSetDlg(CQuobelDlg& wnd, QWidget* parent) : CSkinDlg(wnd.Skin(), parent), m_wnd(wnd) {
    setModal(true);
    setWindowTitle(m_ctx.Text("tc_ms16"));
    m_szSoundBefore = wnd.PlayingSound();
}

bool CDrvSetDlg::Init() {
    const QImage bkg = LoadPicture(m_ctx.CommonPath("pickfundlg.png"));
    if (bkg.isNull()) {
        QTimer::singleShot(0, this, [this] { done(2); });
        return false;
    }
    SetBackground(bkg, m_ctx.gvar->clrMaskMsg);
    CentreOverParent();
    setFont(DialogFont(14, 400));
    const GVar& g = *m_ctx.gvar;
    const int w = bkg.width();
    const int h = bkg.height();

    m_pExit = CPngBtn::Create(m_ctx, this, bkg, {w - 36, 10}, "exit_nr.png", "exit_ov.png", "exit_ov.png",
                              CPngBtn::kPush, false, {});
    if (m_pExit) connect(m_pExit, &QAbstractButton::clicked, this, &CDrvSetDlg::OnExit);

    m_pSound = new QLineEdit(this);
    m_pSound->setObjectName("sound");  // id 4384
    m_pSound->setGeometry(kEditLeft, kEditTop, kEditWidth, kEditHeight);
    m_pSound->setMaxLength(kMaxPathChars - 1);
    m_pSound->setStyleSheet(EditStyle(g));
    const QRect edit = m_pSound->geometry();

    m_pBrowse = CPngBtn::Create(m_ctx, this, bkg, {edit.right() + 1 + 10, edit.top()}, "dot_nr.png", "dot_ov.png",
                                "dot_nr.png", CPngBtn::kPush, false, {});
    if (m_pBrowse) connect(m_pBrowse, &QAbstractButton::clicked, this, &CDrvSetDlg::OnBrowse);

    m_pCheck = CPngBtn::Create(m_ctx, this, bkg, {edit.left(), edit.bottom() + 1 + 10}, "check_nr.png",
                               "check_ov.png", "check_dn.png", CPngBtn::kCheck, false, {});
    int below_check = edit.bottom() + 1 + 10 + 11;
    if (m_pCheck) {
        m_pCheck->SetAutoToggle(true);
        below_check = m_pCheck->geometry().bottom() + 1;
        connect(m_pCheck, &QAbstractButton::clicked, this, &CDrvSetDlg::OnCheck);
    }

    const auto combo = [&](int top) {
        CComboBtn* c = CComboBtn::Create(m_ctx, this, bkg, {edit.left(), top}, "combo_nr.png", "combo_ov.png",
                                         "combo_nr.png");
        return c;
    };
    const int lang_top = below_check + kRowGap;
    m_pLang = combo(lang_top);
    const int skin_top = (m_pLang ? m_pLang->geometry().bottom() + 1 : lang_top + 25) + kRowGap;
    m_pSkin = combo(skin_top);
    const auto fill = [](CComboBtn* c, const auto& table, int count, int selected) {
        if (!c) return;
        for (int i = 0; i < count && i < static_cast<int>(table.size()); ++i) {
            c->AddItem(0, QString::fromStdString(table[static_cast<std::size_t>(i)].szName),
                       static_cast<std::uint32_t>(i));
        }
        if (selected >= 0) (void)c->SelectValue(static_cast<std::uint32_t>(selected));
        c->setVisible(count > 0);
    };
    fill(m_pLang, g.LangTable, g.nLangNum, g.nLangIndex);
    fill(m_pSkin, g.SkinsTable, g.nSkinsNum, g.nSkinsIndex);
    if (m_pLang) connect(m_pLang, &CComboBtn::Command, this, &CDrvSetDlg::OnLanguage);
    if (m_pSkin) connect(m_pSkin, &CComboBtn::Command, this, &CDrvSetDlg::OnSkin);

    m_pProgram = new QLineEdit(this);
    m_pProgram->setObjectName("program");
    m_pProgram->setGeometry(kProgramLeft, lang_top + (25 - kEditHeight) / 2, kProgramWidth, kEditHeight);
    m_pProgram->setMaxLength(kMaxPathChars - 1);
    m_pProgram->setStyleSheet(EditStyle(g));
    const QRect prog = m_pProgram->geometry();
    m_pProgramBrowse = CPngBtn::Create(m_ctx, this, bkg, {prog.right() + 1 + 10, prog.top()}, "dot_nr.png",
                                       "dot_ov.png", "dot_nr.png", CPngBtn::kPush, false, {});
    if (m_pProgramBrowse) connect(m_pProgramBrowse, &QAbstractButton::clicked, this, &CDrvSetDlg::OnProgramBrowse);

    // The two share the profile's field: what the user puts into one empties the other.
    connect(m_pSound, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (!t.isEmpty()) m_pProgram->clear();
    });
    connect(m_pProgram, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (!t.isEmpty()) m_pSound->clear();
    });

    m_pCancel = CPngBtn::Create(m_ctx, this, bkg, {w - 122, h - 42}, "button3_nr.png", "button3_ov.png",
                                "button3_nr.png", CPngBtn::kPush, false, m_ctx.Text("tc_cancel"));
    if (m_pCancel) {
        m_pCancel->hide();
        connect(m_pCancel, &QAbstractButton::clicked, this, &CDrvSetDlg::OnExit);
    }
    const int cancel_left = w - 122;
    m_pOk = CPngBtn::Create(m_ctx, this, bkg, {cancel_left - 10 - 92, h - 15 - 27}, "button3_nr.png",
                            "button3_ov.png", "button3_nr.png", CPngBtn::kPush, false, m_ctx.Text("tc_ok"));
    if (m_pOk) connect(m_pOk, &QAbstractButton::clicked, this, &CDrvSetDlg::OnOk);

    // The ground of this dialog under its controls too.
    QImage ground = bkg;
    {
        QPainter p(&ground);
        PaintGround(p);
    }
    SetBackground(ground, g.clrMaskMsg);
    for (CPngBtn* b : Buttons()) {
        if (b) b->SetBackground(ground);
    }

    if (const ProfileData* p = m_wnd.CurrentProfile()) {
        const std::string field = FieldToUtf8(p->szSound);
        if (IsSoundPath(field)) m_pSound->setText(QString::fromStdString(field));
        m_pProgram->setText(QString::fromStdString(LinkedProgram(*p)));
        if (m_pCheck) m_pCheck->SetChecked(g.bPlaySound != 0);
    }
    return true;
}

void CDrvSetDlg::Label(QPainter& p, const QWidget* above, const char* text_id) const {
    if (!above || above->isHidden()) return;
    const QRect r = above->geometry();
    const int width = above == m_pProgram ? kProgramLabelWidth : kLabelWidth;
    // The program field is less high than the combo beside it: its label lines up with the combo's.
    const int top = above == m_pProgram && m_pLang ? m_pLang->geometry().top() - 21 : r.top() - 21;
    p.drawText(QRect(r.left(), top, width, 19), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               p.fontMetrics().elidedText(m_ctx.Text(text_id), Qt::ElideRight, width));
}

// The shared dialog picture carries the panels of the function picker; they are painted
// over with the ground of each row, and panels around this dialog's own groups drawn in
// the picture's own panel colours.
void CDrvSetDlg::PaintGround(QPainter& p) const {
    const QImage& bkg = m_imgBkg;
    if (!m_pSound || !m_pOk || bkg.width() < 200) return;
    constexpr int kSide = 10;
    const QColor fill = bkg.pixelColor(80, 200);
    const QColor border = bkg.pixelColor(20, 200);
    const int top = m_pSound->geometry().top() - 25;
    const int bottom = m_pOk->geometry().top() - 8;
    for (int y = std::max(top, 0); y < std::min(bottom, bkg.height()); ++y) {
        p.fillRect(QRect(kSide, y, bkg.width() - 2 * kSide, 1), bkg.pixelColor(kSide, y));
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(border, 1));
    p.setBrush(fill);
    const auto panel = [&](int y0, int y1) {
        p.drawRoundedRect(QRectF(24.5, y0 + 0.5, bkg.width() - 49, y1 - y0), 8, 8);
    };
    const int sound_bottom = m_pCheck ? m_pCheck->geometry().bottom() + 1 : m_pSound->geometry().bottom() + 1;
    panel(top + 2, sound_bottom + 9);
    const QWidget* last = m_pSkin && !m_pSkin->isHidden() ? static_cast<const QWidget*>(m_pSkin) : m_pLang;
    const QWidget* first = m_pLang && !m_pLang->isHidden() ? static_cast<const QWidget*>(m_pLang) : m_pProgram;
    if (first && last) {
        const int y0 = first->geometry().top() - 25;
        const int y1 = std::max(last->geometry().bottom(), m_pProgram->geometry().bottom()) + 11;
        panel(y0, y1);
    }
    p.restore();
}

void CDrvSetDlg::paintEvent(QPaintEvent* event) {
    CSkinDlg::paintEvent(event);
    QPainter p(this);
    p.setFont(font());
    p.setPen(ToQColor(m_ctx.gvar->clrTxt));
    if (m_pExit) {
        // The dialog's name in the title band, beside the exit button.
        p.save();
        p.setFont(DialogFont(15, 600));
        const QRect band(20, 0, m_pExit->geometry().left() - 30, m_pExit->geometry().center().y() * 2);
        p.drawText(band, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   p.fontMetrics().elidedText(m_ctx.Text("tc_ms16"), Qt::ElideRight, band.width()));
        p.restore();
    }
    Label(p, m_pSound, "tc_msg29");
    Label(p, m_pLang, "tc_msg27");
    Label(p, m_pSkin, "tc_msg28");
    Label(p, m_pProgram, "tc_link");
    if (m_pCheck) {
        const QRect c = m_pCheck->geometry();
        p.drawText(QRect(c.right() + 1 + 8, c.top() - 4, kLabelWidth, c.height() + 8),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   p.fontMetrics().elidedText(m_ctx.Text("tc_msg30"), Qt::ElideRight, kLabelWidth));
    }
}

void CDrvSetDlg::OnBrowse() {
    CSkinMenu::DestroyMenuEx();
    const QString dir = m_pSound->text().isEmpty() ? QString() : QFileInfo(m_pSound->text()).absolutePath();
    const QString path =
        m_wnd.Modal().OpenFileName(this, m_ctx.Text("tc_msg29"), dir, QStringLiteral("wav (*.wav)"));
    if (path.isEmpty()) return;
    m_pSound->setText(path);
    m_pProgram->clear();
    if (m_pCheck && !m_pCheck->IsChecked()) {
        m_pCheck->SetChecked(true);
        OnCheck();
    }
}

void CDrvSetDlg::OnProgramBrowse() {
    CSkinMenu::DestroyMenuEx();
    const QString path = m_wnd.Modal().OpenFileName(this, m_ctx.Text("tc_link"), QString(), QString());
    if (path.isEmpty()) return;
    m_pProgram->setText(ProgramName(path));
    m_pSound->clear();
}

void CDrvSetDlg::OnCheck() {
    m_bPreviewed = true;
    if (!m_pCheck || !m_pCheck->IsChecked()) {
        m_wnd.StopSound();
        return;
    }
    const QFileInfo file(m_pSound->text());
    if (!m_pSound->text().isEmpty() && file.isFile()) m_wnd.PlayLoopingSound(file.absoluteFilePath());
}

void CDrvSetDlg::OnLanguage() {
    if (!m_pLang || m_pLang->SelectedValue() < 0) return;
    const auto index = static_cast<std::int32_t>(m_pLang->SelectedValue());
    m_wnd.ChangeConfig([index](Config& c) { c.gVar.nLangIndex = index; });
    m_wnd.ReloadLanguage();
    if (m_pOk) m_pOk->SetCaption(m_ctx.Text("tc_ok"));
    if (m_pCancel) m_pCancel->SetCaption(m_ctx.Text("tc_cancel"));
    setWindowTitle(m_ctx.Text("tc_ms16"));
    update();
}

void CDrvSetDlg::OnSkin() {
    if (!m_pSkin || m_pSkin->SelectedValue() < 0) return;
    const auto index = static_cast<std::int32_t>(m_pSkin->SelectedValue());
    m_wnd.ChangeConfig([index](Config& c) { c.gVar.nSkinsIndex = index; });
    m_wnd.ReloadSkin();
    SkinControls();
    update();
}

// The controls' pictures come from the selected skin folder.
void CDrvSetDlg::SkinControls() {
    for (CPngBtn* b : Buttons()) {
        if (b) b->ReloadPictures();
    }
}

std::array<CPngBtn*, 8> CDrvSetDlg::Buttons() const {
    return {m_pExit, m_pBrowse, m_pProgramBrowse, m_pCheck, m_pLang, m_pSkin, m_pOk, m_pCancel};
}

bool CDrvSetDlg::StoreProfileField() {
    ProfileData* p = m_wnd.CurrentProfile();
    const QString sound = m_pSound->text().left(kMaxPathChars);
    const QString program = m_pProgram->text().trimmed();
    if (!sound.isEmpty()) {
        const QFileInfo file(sound);
        // Stored absolute: a field without a folder would name a program.
        if (!file.isFile() || !SetSoundPath(*p, file.absoluteFilePath().toStdString())) {
            (void)m_wnd.Modal().Info(m_ctx, this, QStringLiteral("Invalid File Path."));
            return false;
        }
        return true;
    }
    if (!program.isEmpty()) {
        if (!LinkProgram(*p, program.toStdString())) {
            (void)m_wnd.Modal().Info(m_ctx, this, QStringLiteral("Invalid Program Name."));
            return false;
        }
        LogPrint("profile 0x%x linked to %s", p->dwProfileID, qPrintable(program));
        return true;
    }
    // Both empty: a sound stays (an empty edit keeps it), a program link is undone.
    if (!LinkedProgram(*p).empty()) (void)LinkProgram(*p, {});
    return true;
}

void CDrvSetDlg::WriteLangIni() {
    const Config& cfg = m_wnd.Cfg();
    const GVar& g = cfg.gVar;
    const std::string path = cfg.szDataPath + "lang.ini";
    IniFile ini = IniFile::Load(path);
    bool changed = false;
    if (ini.GetInt(kOpt, "LangIndex", 0) != g.nLangIndex || ini.GetInt(kOpt, "SkinsIndex", 0) != g.nSkinsIndex) {
        ini.Set(kOpt, "LangIndex", std::to_string(g.nLangIndex));
        ini.Set(kOpt, "SkinsIndex", std::to_string(g.nSkinsIndex));
        changed = true;
    }
    const std::int32_t play = m_pCheck && m_pCheck->IsChecked() ? 1 : 0;
    if (play != g.bPlaySound) {
        m_wnd.ChangeConfig([play](Config& c) { c.gVar.bPlaySound = play; });
        ini.Set(kOpt, "PlaySound", std::to_string(play));
        changed = true;
    }
    if (changed && !ini.Save(path)) LogPrint("WritePrivateProfileString %s failed", path.c_str());
}

void CDrvSetDlg::OnOk() {
    CSkinMenu::DestroyMenuEx();
    if (!m_wnd.CurrentProfile()) return;
    if (!StoreProfileField()) return;
    WriteLangIni();
    done(1);
}

void CDrvSetDlg::OnExit() {
    CSkinMenu::DestroyMenuEx();
    // A preview started or stopped here does not outlive the dialog.
    if (m_bPreviewed) {
        m_wnd.StopSound();
        if (!m_szSoundBefore.isEmpty()) m_wnd.PlayLoopingSound(m_szSoundBefore);
    }
    done(2);
}

}  // namespace quobel
