#pragma once
// CProfileControls: the window's profile combo, its add, delete and "more" buttons and
// their menus: choose, add, delete, rename, and export and import of .bk backups.
//
// The window owns it and gives it the controls; the profiles, macros and files are the
// window's (through its PageHost side). Everything runs on the window's thread.

#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>

namespace quobel {

class CComboBtn;
class CPngBtn;
class CQuobelDlg;
class CSkinMenu;
class IdGenerator;

class CProfileControls : public QObject {
    Q_OBJECT
public:
    // The user values of the two menus and the commands of the more menu.
    static constexpr std::intptr_t kProfileMenu = 1;
    static constexpr std::intptr_t kMoreMenu = 2;
    static constexpr int kCmdExport = 3;
    static constexpr int kCmdImport = 4;
    static constexpr int kCmdRename = 7;
    static constexpr int kProfileMenuWidth = 187;
    static constexpr int kMoreMenuWidth = 160;
    static constexpr int kMaxMenuProfiles = 50;
    static constexpr const char* kBackupFilter = "bk (*.bk)";

    CProfileControls(CQuobelDlg& wnd, IdGenerator& ids);

    // Connects the buttons (any may be null).
    void Connect(CComboBtn* combo, CPngBtn* add, CPngBtn* del, CPngBtn* more);
    // Shows the current profile's name on the combo and remembers its id.
    void ShowCurrent();
    [[nodiscard]] std::uint32_t ShownId() const { return m_shownId; }

    // The menus as the buttons open them; null when nothing can be shown.
    CSkinMenu* OpenProfileMenu();
    CSkinMenu* OpenMoreMenu();
    // UM_MENUCMD of the two menus.
    void OnMenuCmd(int cmd, std::intptr_t menu);

    void Add();
    void Delete();
    void Rename();
    void Export();
    void Import();

private:
    [[nodiscard]] QString Text(const char* id) const;
    void Info(const QString& text);
    // The name the user typed for a profile, cut to what the record keeps; nothing
    // when the prompt was cancelled or left blank.
    std::optional<QString> AskName();
    // Makes the new last profile current and keeps the list and the current id.
    void TakeNewProfile(std::uint32_t id);
    // The folder the file dialogs open in: the last one used, else home.
    [[nodiscard]] QString DialogFolder() const;
    void RememberFolder(const QString& file);

    CQuobelDlg& m_wnd;
    IdGenerator& m_ids;
    CComboBtn* m_pCombo = nullptr;
    CPngBtn* m_pMore = nullptr;
    std::uint32_t m_shownId = 0;
    QString m_lastFolder;
};

}  // namespace quobel
