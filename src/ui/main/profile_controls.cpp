#include "ui/main/profile_controls.h"

#include <QDir>
#include <QFileInfo>
#include <QScreen>

#include <vector>

#include "base/log.h"
#include "base/utf16.h"
#include "macro/macro_folder.h"
#include "profile/profile_backup.h"
#include "profile/profile_defaults.h"
#include "profile/profile_store.h"
#include "ui/main/quobel_dlg.h"
#include "ui/modals.h"
#include "ui/skin/combo_btn.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/skin_menu.h"

namespace quobel {

namespace {

constexpr const char* kBackupExt = ".bk";
// What a profile record keeps of a name.
constexpr std::size_t kNameUnits = std::size(ProfileData{}.szName) - 1;

QString NameOf(const ProfileData& p) { return QString::fromStdU16String(std::u16string(FieldView(p.szName))); }

// A menu the screen pushed up over its button opens above the button instead.
CSkinMenu* KeepClearOf(CSkinMenu* menu, const QWidget& button) {
    if (!menu) return nullptr;
    const QRect b(button.mapToGlobal(QPoint(0, 0)), button.size());
    const QScreen* screen = button.screen();
    const int top = screen ? screen->availableGeometry().top() : 0;
    if (menu->geometry().intersects(b) && b.top() - menu->height() >= top) {
        menu->move(b.left(), b.top() - menu->height());
    }
    return menu;
}

}  // namespace

CProfileControls::CProfileControls(CQuobelDlg& wnd, IdGenerator& ids) : QObject(&wnd), m_wnd(wnd), m_ids(ids) {}

QString CProfileControls::Text(const char* id) const { return m_wnd.Skin().Text(id); }

void CProfileControls::Info(const QString& text) { (void)m_wnd.Modal().Info(m_wnd.Skin(), &m_wnd, text); }

void CProfileControls::Connect(CComboBtn* combo, CPngBtn* add, CPngBtn* del, CPngBtn* more) {
    m_pCombo = combo;
    m_pMore = more;
    const auto on = [this](QAbstractButton* b, auto fn) {
        if (!b) return;
        connect(b, &QAbstractButton::clicked, this, [this, fn] {
            CSkinMenu::DestroyMenuEx();
            (void)(this->*fn)();
        });
    };
    on(combo, &CProfileControls::OpenProfileMenu);
    on(add, &CProfileControls::Add);
    on(del, &CProfileControls::Delete);
    on(more, &CProfileControls::OpenMoreMenu);
}

void CProfileControls::ShowCurrent() {
    const ProfileData* cur = m_wnd.Profiles().Current();
    m_shownId = cur ? cur->dwProfileID : 0;
    // The combo's own list stays empty: its menu is the window's profile menu.
    if (m_pCombo) m_pCombo->SetCaption(cur ? NameOf(*cur) : QString(), 10);
}

CSkinMenu* CProfileControls::OpenProfileMenu() {
    if (!m_pCombo) return nullptr;
    std::vector<MenuItemEx> items;
    for (const ProfileData& p : m_wnd.Profiles()) {
        if (static_cast<int>(items.size()) == kMaxMenuProfiles) break;
        items.push_back(MenuItemEx::Make(MenuItemEx::kTopLevel, static_cast<std::int32_t>(p.dwProfileID),
                                         FieldToUtf8(p.szName)));
    }
    CSkinMenu* menu = CSkinMenu::CreateMenuEx(&m_wnd, MenuStyle::OfSkin(m_wnd.Skin(), kProfileMenuWidth),
                                              m_pCombo->mapToGlobal(QPoint(0, m_pCombo->height())), kProfileMenu,
                                              items);
    if (menu) connect(menu, &CSkinMenu::MenuCmd, this, &CProfileControls::OnMenuCmd);
    return KeepClearOf(menu, *m_pCombo);
}

CSkinMenu* CProfileControls::OpenMoreMenu() {
    if (!m_pMore) return nullptr;
    const std::vector<MenuItemEx> items = {
        MenuItemEx::Make(MenuItemEx::kTopLevel, kCmdExport, Text("tc_msg4").toStdString()),
        MenuItemEx::Make(MenuItemEx::kTopLevel, kCmdImport, Text("tc_msg5").toStdString()),
        MenuItemEx::Make(MenuItemEx::kTopLevel, kCmdRename, Text("tc_macro_msg20").toStdString()),
    };
    CSkinMenu* menu = CSkinMenu::CreateMenuEx(&m_wnd, MenuStyle::OfSkin(m_wnd.Skin(), kMoreMenuWidth),
                                              m_pMore->mapToGlobal(QPoint(0, m_pMore->height())), kMoreMenu, items);
    if (menu) connect(menu, &CSkinMenu::MenuCmd, this, &CProfileControls::OnMenuCmd);
    return KeepClearOf(menu, *m_pMore);
}

void CProfileControls::OnMenuCmd(int cmd, std::intptr_t menu) {
    CSkinMenu::DestroyMenuEx();
    if (menu == kProfileMenu) {
        const auto id = static_cast<std::uint32_t>(cmd);
        // Only chosen: curid.dct keeps naming the profile the devices were given,
        // until an apply or a profile operation writes it.
        if (id != m_shownId && m_wnd.Profiles().Find(id)) m_wnd.SelectProfile(id);
        return;
    }
    if (menu != kMoreMenu) return;
    switch (cmd) {
        case kCmdExport: Export(); break;
        case kCmdImport: Import(); break;
        case kCmdRename: Rename(); break;
        default: break;
    }
}

std::optional<QString> CProfileControls::AskName() {
    QString text;
    if (m_wnd.Modal().AskText(m_wnd.Skin(), &m_wnd, Text("tc_msg3"), &text) != 1) return std::nullopt;
    // A blank name could not be told apart in the menu, nor give a backup file name.
    if (text.trimmed().isEmpty()) return std::nullopt;
    return QString::fromStdString(CutToUtf16Units(text.toStdString(), kNameUnits));
}

void CProfileControls::TakeNewProfile(std::uint32_t id) {
    m_wnd.SelectProfile(id);
    const std::string& folder = m_wnd.Cfg().szDataPath;
    (void)SaveProfiles(m_wnd.Profiles(), folder);
    (void)WriteCurrentId(m_wnd.Profiles(), folder);
}

void CProfileControls::Add() {
    m_wnd.PausePreview(true);
    CProList& list = m_wnd.Profiles();
    // The store keeps 20 profiles; one more would be lost at the next start.
    if (list.Full()) {
        Info(QString::fromLatin1(kTooManyProfilesText));
    } else if (const std::optional<QString> name = AskName()) {
        ProfileData p;
        const Config& cfg = m_wnd.Cfg();
        CreateProfile(p, PartsOf(cfg), name->toStdString(), cfg, m_ids,
                      [&list](std::uint32_t id) { return list.Find(id) != nullptr; });
        TakeNewProfile(list.AddProfile(p)->dwProfileID);
    }
    m_wnd.PausePreview(false);
}

void CProfileControls::Delete() {
    m_wnd.PausePreview(true);
    CProList& list = m_wnd.Profiles();
    if (list.Count() <= 1) {
        Info(Text("tc_msg8"));
    } else if (m_wnd.Modal().Info(m_wnd.Skin(), &m_wnd, Text("tc_msg6")) == 1) {
        if (const ProfileData* cur = list.Current()) list.RemoveProfile(cur->dwProfileID);
        TakeNewProfile(list.FirstProfile()->dwProfileID);
    }
    m_wnd.PausePreview(false);
}

void CProfileControls::Rename() {
    ProfileData* cur = m_wnd.Profiles().Current();
    if (!cur) return;
    m_wnd.PausePreview(true);
    if (const std::optional<QString> name = AskName()) {
        SetField(cur->szName, name->toStdU16String());
        ShowCurrent();
        (void)SaveProfiles(m_wnd.Profiles(), m_wnd.Cfg().szDataPath);
    }
    m_wnd.PausePreview(false);
}

QString CProfileControls::DialogFolder() const { return m_lastFolder.isEmpty() ? QDir::homePath() : m_lastFolder; }

void CProfileControls::RememberFolder(const QString& file) { m_lastFolder = QFileInfo(file).absolutePath(); }

void CProfileControls::Export() {
    const ProfileData* cur = m_wnd.Profiles().Current();
    if (!cur) return;
    m_wnd.PausePreview(true);
    // A '/' in the name would make the proposal a path into another folder.
    const QString proposed = QString::fromStdString(ProposedBackupName(*cur)).replace(QLatin1Char('/'), QLatin1Char('_'));
    QString path = m_wnd.Modal().SaveFileName(&m_wnd, Text("tc_msg4"), QDir(DialogFolder()).filePath(proposed),
                                              QString::fromLatin1(kBackupFilter));
    if (!path.isEmpty()) {
        if (QFileInfo(path).suffix().isEmpty()) path += QLatin1String(kBackupExt);
        RememberFolder(path);
        if (!ExportProfile(path.toStdString(), *cur, m_wnd.Macros())) Info(QString::fromLatin1(kCreateBackupFailedText));
    }
    m_wnd.PausePreview(false);
}

void CProfileControls::Import() {
    if (!m_wnd.Profiles().Current()) return;
    m_wnd.PausePreview(true);
    CProList& list = m_wnd.Profiles();
    if (list.Full()) {
        Info(QString::fromLatin1(kTooManyProfilesText));
        m_wnd.PausePreview(false);
        return;
    }
    const QString path = m_wnd.Modal().OpenFileName(&m_wnd, Text("tc_msg5"), DialogFolder(),
                                                    QString::fromLatin1(kBackupFilter));
    if (!path.isEmpty()) {
        RememberFolder(path);
        const BackupImport r =
            ImportBackupFile(path.toStdString(), m_wnd.Macros(), MacroFolderOf(m_wnd.Cfg().szDataPath), m_ids,
                             [&list](std::uint32_t id) { return list.Find(id) != nullptr; });
        if (!r.profile) {
            Info(QString::fromStdString(r.error));
        } else {
            LogPrint("Import profile %s: %d macros saved", path.toStdString().c_str(), r.macros_saved);
            TakeNewProfile(list.AddProfile(*r.profile)->dwProfileID);
        }
    }
    m_wnd.PausePreview(false);
}

}  // namespace quobel
