#pragma once
// CMacroDlg: the macro editor, titled "QuobelMacroTopWindow" so the main window's Exit
// finds and closes it.
//
// The macro tree shows the groups and macros of the macro folder, the event tree the
// events of the selected macro. The record in the host's macro list is the truth; the
// event tree is turned into its events when the macro is saved (at once with
// AutoSaveMacro, else by the save button, and for every macro when the editor closes).
// The work is split by what it does: macro_dlg.cpp builds the window, selects, records
// and saves; macro_dlg_events.cpp edits events and the loop settings;
// macro_dlg_files.cpp holds the context menus and the file commands.

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/config.h"
#include "macro/macro_record.h"
#include "ui/macro/macro_events.h"
#include "ui/skin/skin_dlg.h"
#include "ui/skin/skin_menu.h"

class QLineEdit;

namespace quobel {

class CPngBtn;
class CTreeCtrlEx;
class IdGenerator;
class MacroList;
class MacroTreeView;
class PageHost;
struct TreeItem;

class CMacroDlg : public CSkinDlg {
    Q_OBJECT
public:
    static constexpr const char* kWindowTitle = "QuobelMacroTopWindow";
    static constexpr int kMacroTreeId = 261;
    static constexpr int kEventTreeId = 262;
    static constexpr int kCountEditId = 263;
    // Context-menu commands.
    enum Cmd : int {
        kCmdNewMacro = 1, kCmdNewGroup = 2, kCmdDelete = 4, kCmdExportMacro = 8, kCmdImportMacro = 16,
        kCmdRename = 32, kCmdChangeEvent = 64, kCmdImportGroup = 256, kCmdExportGroup = 512,
        kCmdDeleteEvent = 1024,
    };
    // Insert-menu commands: press, release, delay, then the mouse codes 240..246.
    enum InsertCmd : int { kInsPress = 1, kInsRelease = 2, kInsDelay = 3, kInsMouseFirst = 10 };
    // Delay of an inserted mouse click between its press and release.
    static constexpr std::uint32_t kClickDelayMs = 50;

    // True when a macro may not be deleted (it is assigned in the current profile); the
    // check shows its own message.
    using InUseCheck = std::function<bool(std::uint32_t macro_id)>;

    // thirdLoopMode: 0 switches the third loop mode off (a mouse and no keyboard).
    CMacroDlg(PageHost& host, QWidget* parent, InUseCheck inUse, int thirdLoopMode);
    ~CMacroDlg() override;

    // The clock of recorded delays, in milliseconds; tests inject their own.
    void SetClock(std::function<std::int64_t()> clock) { m_clock = std::move(clock); }
    // Identifiers of new and imported macros; tests inject one without pauses.
    void SetIdGenerator(IdGenerator& ids) { m_ids = &ids; }

    // Selects and shows the macro's row as a click would; false when the tree has none.
    bool SelectMacro(std::uint32_t macro_id);

    [[nodiscard]] CTreeCtrlEx* MacroTreeCtrl() const { return m_pMacroTree; }
    [[nodiscard]] CTreeCtrlEx* EventTreeCtrl() const { return m_pEventTree; }
    [[nodiscard]] CPngBtn* RecordButton() const { return m_pRecord; }
    [[nodiscard]] CPngBtn* AutoDelayBox() const { return m_pAutoDelay; }
    [[nodiscard]] CPngBtn* Loop2Radio() const { return m_pLoop2; }
    [[nodiscard]] CPngBtn* Loop3Radio() const { return m_pLoop3; }
    [[nodiscard]] CPngBtn* CountRadio() const { return m_pCountRadio; }
    [[nodiscard]] QLineEdit* CountEdit() const { return m_pCountEdit; }
    [[nodiscard]] CPngBtn* InsertButton() const { return m_pInsert; }
    [[nodiscard]] CPngBtn* SaveButton() const { return m_pSave; }
    [[nodiscard]] CPngBtn* ExitButton() const { return m_pExit; }
    // The operation buttons (only with MacOperBtn): new, delete, change, delete event.
    [[nodiscard]] CPngBtn* NewButton() const { return m_pNew; }
    [[nodiscard]] CPngBtn* DeleteButton() const { return m_pDelete; }
    [[nodiscard]] CPngBtn* ChangeButton() const { return m_pChange; }
    [[nodiscard]] CPngBtn* DeleteEventButton() const { return m_pDeleteEvent; }
    [[nodiscard]] bool IsRecording() const { return m_bRecording; }
    [[nodiscard]] const std::string& MacroFolder() const { return m_szMacroFolder; }

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // macro_dlg.cpp
    void BuildLayout();
    CPngBtn* MakeButton(QPoint at, const char* normal, const char* over, const char* pressed, const QString& caption,
                        bool check);
    void LoadTree();
    void OnTreeClick(int id, TreeItem* item);
    void OnTreeDeleteKey(int id);
    void OnTreeDblClk(int id, TreeItem* item);
    void ShowMacro(TreeItem* row);
    void ClearEvents();
    [[nodiscard]] TreeItem* SelectedMacroRow() const;
    [[nodiscard]] MacroRecord* SelectedRecord() const;
    void MarkChanged(std::uint32_t bits);
    // The shown settings and events into the record, by its changed bits.
    void StoreShown(MacroRecord& record);
    void LeaveShownMacro();
    void SaveSelected();
    bool Flush(TreeItem* row);
    void FlushAll();
    bool HandleKey(QObject* target, QEvent* event);
    void OnRecordButton();
    void RecordKey(int vk, bool release);
    // True (and the message shown) while recording: every other command waits.
    bool RefuseWhileRecording();
    int Info(const QString& text);
    // A skinned menu at a screen point; a choice goes to on_cmd.
    void ShowMenu(const std::vector<MenuItemEx>& items, QPoint at, int width, std::function<void(int)> on_cmd);
    [[nodiscard]] QString Text(const char* id) const;

    // macro_dlg_events.cpp
    [[nodiscard]] std::vector<EventRow> Rows() const;
    void SetRows(const std::vector<EventRow>& rows);
    TreeItem* AddEventRow(TreeItem* after, const EventRow& row);
    [[nodiscard]] QString RowCaption(const EventRow& row) const;
    [[nodiscard]] const QImage& RowPicture(std::uint32_t type) const;
    // The key-capture box; the key, or the modifier fallback, or nullopt.
    std::optional<int> AskKey();
    std::optional<int> AskDelay();
    void OnInsertButton();
    void OnInsertCmd(int cmd);
    void ChangeEvent();
    void DeleteEvent(bool from_button);
    void OnCountEdited();
    void OnCountRadio();
    void OnLoopRadio(CPngBtn* radio);
    void OnAutoDelay();
    void ShowCount(bool show);
    void PlaceCountHint();

    // macro_dlg_files.cpp
    void OnTreeRClick(int id, TreeItem* item);
    void OpenMenu(const std::vector<int>& cmds);
    void OnMenuCmd(int cmd);
    [[nodiscard]] TreeItem* SelectedGroup() const;
    [[nodiscard]] std::optional<QString> AskName(const char* prompt_id, const TreeItem* parent,
                                                 const TreeItem* renamed = nullptr);
    [[nodiscard]] std::string PathOf(const TreeItem* row) const;
    void NewMacro();
    void NewGroup();
    void DeleteSelected();
    void ExportMacro();
    void ImportMacro();
    void Rename();
    void ImportGroup();
    void ExportGroup();
    void RemoveMacrosOf(TreeItem* row);

    PageHost& m_host;
    InUseCheck m_inUse;
    int m_nThirdLoopMode;
    MacroList& m_macros;
    const MacroLimits m_limits;
    const int m_nMacroDir;
    const std::uint32_t m_bMacroHasMsKey;
    const bool m_bAutoSaveMacro;
    const bool m_bDebug;
    std::string m_szMacroFolder;
    std::function<std::int64_t()> m_clock;
    IdGenerator* m_ids;
    bool m_bRecording = false;
    bool m_bFlushed = false;

    QImage m_imgUp, m_imgDown, m_imgDelay;
    CTreeCtrlEx* m_pMacroTree = nullptr;
    CTreeCtrlEx* m_pEventTree = nullptr;
    std::unique_ptr<MacroTreeView> m_view;
    TreeItem* m_shownRow = nullptr;  // the macro whose events the event tree shows
    CPngBtn* m_pExit = nullptr;
    CPngBtn* m_pRecord = nullptr;
    CPngBtn* m_pAutoDelay = nullptr;
    CPngBtn* m_pLoop2 = nullptr;
    CPngBtn* m_pLoop3 = nullptr;
    CPngBtn* m_pCountRadio = nullptr;
    QLineEdit* m_pCountEdit = nullptr;
    CPngBtn* m_pInsert = nullptr;
    CPngBtn* m_pSave = nullptr;
    CPngBtn* m_pNew = nullptr;
    CPngBtn* m_pDelete = nullptr;
    CPngBtn* m_pChange = nullptr;
    CPngBtn* m_pDeleteEvent = nullptr;
    QRect m_rcCountHint;
};

}  // namespace quobel
