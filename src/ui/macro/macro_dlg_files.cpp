// The macro editor's context menus and the commands on macro files and groups.

#include <QCursor>
#include <QFileInfo>

#include <array>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "base/log.h"
#include "base/utf16.h"
#include "macro/macro_file.h"
#include "macro/macro_folder.h"
#include "ui/macro/macro_dlg.h"
#include "ui/macro/macro_tree_view.h"
#include "ui/modals.h"
#include "ui/pages/page.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/skin_menu.h"
#include "ui/skin/tree_ctrl.h"

namespace quobel {

namespace fs = std::filesystem;

namespace {

constexpr int kTreeMenuWidth = 179;
constexpr std::size_t kMaxNameUnits = 39;
// Qt's form of the chooser filter "mck(*.mck)|*.mck|".
constexpr const char* kMckFilter = "mck (*.mck)";
constexpr const char* kMckExt = ".mck";

// The order the entries appear in.
constexpr std::array<int, 10> kMenuOrder{CMacroDlg::kCmdNewMacro,    CMacroDlg::kCmdNewGroup,
                                         CMacroDlg::kCmdExportMacro, CMacroDlg::kCmdImportMacro,
                                         CMacroDlg::kCmdRename,      CMacroDlg::kCmdChangeEvent,
                                         CMacroDlg::kCmdDelete,      CMacroDlg::kCmdDeleteEvent,
                                         CMacroDlg::kCmdImportGroup, CMacroDlg::kCmdExportGroup};

const char* CaptionOf(int cmd) {
    switch (cmd) {
    case CMacroDlg::kCmdNewMacro: return "tc_macro_msg5";
    case CMacroDlg::kCmdNewGroup: return "tc_macro_msg6";
    case CMacroDlg::kCmdDelete: return "tc_macro_msg10";
    case CMacroDlg::kCmdExportMacro: return "tc_macro_msg4";
    case CMacroDlg::kCmdImportMacro: return "tc_macro_msg3";
    case CMacroDlg::kCmdRename: return "tc_macro_msg20";
    case CMacroDlg::kCmdChangeEvent: return "tc_macro_msg7";
    case CMacroDlg::kCmdImportGroup: return "tc_macro_msg21";
    case CMacroDlg::kCmdExportGroup: return "tc_macro_msg22";
    case CMacroDlg::kCmdDeleteEvent: return "tc_macro_msg10";
    default: return "";
    }
}

std::string ToPath(const QString& s) { return s.toStdString(); }

bool IsInside(const fs::path& inner, const fs::path& outer) {
    std::error_code ec;
    const fs::path a = fs::weakly_canonical(inner, ec);
    const fs::path b = fs::weakly_canonical(outer, ec);
    const auto rel = a.lexically_relative(b);
    return !rel.empty() && *rel.begin() != "..";
}

}  // namespace

// ---- context menus --------------------------------------------------------------------

void CMacroDlg::OnTreeRClick(int id, TreeItem* item) {
    if (RefuseWhileRecording()) return;
    if (id == kEventTreeId) {
        if (!item) return;
        m_pEventTree->SelectItem(item);
        OpenMenu({kCmdChangeEvent, kCmdDeleteEvent});
        return;
    }
    if (!item) {
        LeaveShownMacro();
        m_shownRow = nullptr;
        m_pMacroTree->SelectItem(nullptr);
        ClearEvents();
        if (m_nMacroDir) {
            OpenMenu({kCmdNewMacro, kCmdNewGroup, kCmdImportMacro, kCmdImportGroup, kCmdExportGroup});
        } else {
            OpenMenu({kCmdNewMacro, kCmdImportMacro});
        }
        return;
    }
    m_pMacroTree->SelectItem(item);
    OnTreeClick(id, item);
    if (IsGroupRow(item)) {
        OpenMenu({kCmdNewMacro, kCmdNewGroup, kCmdDelete, kCmdImportMacro, kCmdRename, kCmdImportGroup,
                  kCmdExportGroup});
    } else {
        OpenMenu({kCmdNewMacro, kCmdNewGroup, kCmdDelete, kCmdExportMacro, kCmdImportMacro, kCmdRename,
                  kCmdImportGroup, kCmdExportGroup});
    }
}

void CMacroDlg::OpenMenu(const std::vector<int>& cmds) {
    std::vector<MenuItemEx> items;
    for (const int cmd : kMenuOrder) {
        if (std::find(cmds.begin(), cmds.end(), cmd) == cmds.end()) continue;
        items.push_back(MenuItemEx::Make(MenuItemEx::kTopLevel, cmd, Text(CaptionOf(cmd)).toStdString()));
    }
    ShowMenu(items, QCursor::pos() + QPoint(2, 0), kTreeMenuWidth, [this](int cmd) { OnMenuCmd(cmd); });
}

void CMacroDlg::OnMenuCmd(int cmd) {
    if (RefuseWhileRecording()) return;
    switch (cmd) {
    case kCmdNewMacro: NewMacro(); break;
    case kCmdNewGroup: NewGroup(); break;
    case kCmdDelete: DeleteSelected(); break;
    case kCmdExportMacro: ExportMacro(); break;
    case kCmdImportMacro: ImportMacro(); break;
    case kCmdRename: Rename(); break;
    case kCmdChangeEvent: ChangeEvent(); break;
    case kCmdDeleteEvent: DeleteEvent(false); break;
    case kCmdImportGroup: ImportGroup(); break;
    case kCmdExportGroup: ExportGroup(); break;
    default: break;
    }
}

// ---- helpers --------------------------------------------------------------------------

TreeItem* CMacroDlg::SelectedGroup() const {
    TreeItem* sel = m_pMacroTree->Selected();
    return IsGroupRow(sel) ? sel : nullptr;
}

std::string CMacroDlg::PathOf(const TreeItem* row) const {
    return TreeItem_To_FilePath(*m_view, MacroTreeView::ItemOf(row), m_szMacroFolder).value_or(std::string());
}

std::optional<QString> CMacroDlg::AskName(const char* prompt_id, const TreeItem* parent, const TreeItem* renamed) {
    QString text;
    if (m_host.Modal().AskText(m_ctx, this, Text(prompt_id), &text) != 1) return std::nullopt;
    const std::optional<std::string> clean = CleanMacroName(text.toStdString());
    if (!clean) {
        Info(QStringLiteral("Invalid name."));
        return std::nullopt;
    }
    // The record keeps 39 characters of a name; the file is named like the record.
    const QString name = QString::fromStdString(CutToUtf16Units(*clean, kMaxNameUnits));
    const TreeItem* same = FindChildNamed(*m_pMacroTree, parent, name);
    if (same && same != renamed) {
        Info(Text("tc_macro_msg8"));
        return std::nullopt;
    }
    return name;
}

void CMacroDlg::RemoveMacrosOf(TreeItem* row) {
    for (const TreeItem* macro : MacroRowsIn(*m_pMacroTree, row)) (void)m_macros.Remove(macro->rec.value);
}

// ---- commands ---------------------------------------------------------------------------

void CMacroDlg::NewMacro() {
    if (m_macros.Count() >= kMaxMacros) {
        Info(QString::fromLatin1(kTooManyMacrosText));
        return;
    }
    TreeItem* parent = SelectedGroup();
    const std::optional<QString> name = AskName("tc_macro_msg11", parent);
    if (!name) return;
    LeaveShownMacro();
    ClearEvents();
    const MacroRecord* record = m_macros.Add(NewMacroRecord(name->toStdString(), *m_ids));
    TreeItem* row = m_pMacroTree->AddItem(parent, false, true, QString(), *name, record->MacroID, 0, 0);
    if (!row) {
        (void)m_macros.Remove(record->MacroID);
        return;
    }
    ShowMacro(row);
    MarkChanged(kMacroFlagSettingsChanged | kMacroFlagEventsChanged);
}

void CMacroDlg::NewGroup() {
    TreeItem* parent = SelectedGroup();
    LeaveShownMacro();
    m_shownRow = nullptr;
    ClearEvents();
    const std::optional<QString> name = AskName("tc_macro_msg13", parent);
    if (!name) return;
    // No folder yet: saving a macro inside it makes one.
    (void)m_pMacroTree->AddItem(parent, true, true, QString(), *name, 0, 0, 0);
}

void CMacroDlg::DeleteSelected() {
    TreeItem* row = m_pMacroTree->Selected();
    if (!row) return;
    if (Info(Text("tc_msg6")) != 1) return;
    if (m_inUse) {
        for (const TreeItem* macro : MacroRowsIn(*m_pMacroTree, row)) {
            if (m_inUse(macro->rec.value)) return;
        }
    }
    const std::string path = PathOf(row);
    if (path.empty()) {
        Info(QStringLiteral("Get file path failed."));
        return;
    }
    // The files go first: a failure leaves the tree and the list as they were.
    std::error_code ec;
    if (IsGroupRow(row)) {
        if (fs::exists(path, ec) && !DeleteFolderTree(path)) {
            std::error_code why;
            fs::remove(path, why);
            Info(QStringLiteral("Remove Directory failed, err = %1.").arg(why ? why.value() : EIO));
            return;
        }
    } else if (!fs::remove(path, ec) && ec && ec != std::errc::no_such_file_or_directory) {
        LogPrint("DeleteFile %s, err=%d", path.c_str(), ec.value());
        Info(QStringLiteral("Delete File failed, err = %1.").arg(ec.value()));
        return;
    }
    for (const TreeItem* macro : MacroRowsIn(*m_pMacroTree, row)) {
        if (macro == m_shownRow) m_shownRow = nullptr;
    }
    RemoveMacrosOf(row);
    m_pMacroTree->DeleteItem(row);
    ClearEvents();
    if (m_pSave) m_pSave->hide();
}

void CMacroDlg::ExportMacro() {
    const TreeItem* row = SelectedMacroRow();
    if (!row) return;
    QString target = m_host.Modal().SaveFileName(this, Text("tc_macro_msg4"), row->caption + kMckExt, kMckFilter);
    if (target.isEmpty()) return;
    if (QFileInfo(target).suffix().isEmpty()) target += kMckExt;
    std::error_code ec;
    fs::copy_file(PathOf(row), ToPath(target), fs::copy_options::overwrite_existing, ec);
    if (ec) LogPrint("ExportMacro: copy file err=0x%x", static_cast<unsigned>(ec.value()));
}

void CMacroDlg::ImportMacro() {
    TreeItem* parent = SelectedGroup();
    const QString file = m_host.Modal().OpenFileName(this, Text("tc_macro_msg3"), QStringLiteral("*.mck"), kMckFilter);
    if (file.isEmpty()) return;
    const QString title = QString::fromStdString(CutToUtf16Units(QFileInfo(file).completeBaseName().toStdString(),
                                                                  kMaxNameUnits));
    if (FindChildNamed(*m_pMacroTree, parent, title)) {
        Info(Text("tc_macro_msg8"));
        return;
    }
    MacroImport imported = ReadMacroForImport(ToPath(file), m_bMacroHasMsKey, *m_ids);
    if (!imported.record) {
        Info(QString::fromStdString(imported.error));
        return;
    }
    SetField(imported.record->szName, title.toStdString());
    imported.record->dwFlags |= kMacroFlagSettingsChanged | kMacroFlagEventsChanged;
    LeaveShownMacro();
    const MacroRecord* record = m_macros.Add(*imported.record);
    TreeItem* row = m_pMacroTree->AddItem(parent, false, true, QString(), title, record->MacroID, 0, 0);
    if (!row) {
        (void)m_macros.Remove(record->MacroID);
        return;
    }
    ClearEvents();
    ShowMacro(row);
    (void)Flush(row);
    if (m_pSave) m_pSave->hide();
}

void CMacroDlg::Rename() {
    TreeItem* row = m_pMacroTree->Selected();
    if (!row) return;
    const bool group = IsGroupRow(row);
    const std::optional<QString> name = AskName(group ? "tc_macro_msg13" : "tc_macro_msg11", row->parent, row);
    if (!name) return;
    const std::string old_path = PathOf(row);
    if (old_path.empty()) {
        Info(QStringLiteral("Rename failed."));
        return;
    }
    const fs::path old_fs(old_path);
    std::error_code ec;
    if (!group) {
        MacroRecord* record = m_macros.Find(row->rec.value);
        if (!record) return;
        if (row == m_shownRow) StoreShown(*record);
        SetField(record->szName, name->toStdString());
        record->dwFlags |= kMacroFlagSettingsChanged;
        (void)Flush(row);
        const fs::path new_fs = old_fs.parent_path() / (name->toStdString() + kMckExt);
        // A move never replaces a file that is already there.
        if (fs::exists(new_fs, ec) && !fs::equivalent(new_fs, old_fs, ec)) {
            Info(QStringLiteral("Rename failed. err=0x%1").arg(EEXIST, 0, 16));
            return;
        }
        fs::rename(old_fs, new_fs, ec);
        if (ec) {
            Info(QStringLiteral("Rename failed. err=0x%1").arg(ec.value(), 0, 16));
            return;
        }
        m_pMacroTree->SetItem(row, *name, row->rec.value);
        return;
    }
    // A group that is not on disk yet (no macro saved in it) only gets its caption.
    if (row->children.empty() || !fs::is_directory(old_fs, ec)) {
        m_pMacroTree->SetItem(row, *name, row->rec.value);
        return;
    }
    const fs::path new_fs = old_fs.parent_path() / name->toStdString();
    if (fs::exists(new_fs, ec) && !fs::equivalent(new_fs, old_fs, ec)) {
        Info(QStringLiteral("Rename failed. err=0x%1").arg(EEXIST, 0, 16));
        return;
    }
    const fs::path old_picture = old_fs / (old_fs.filename().string() + ".png");
    const fs::path moved_picture = old_fs / (name->toStdString() + ".png");
    const bool had_picture = fs::exists(old_picture, ec);
    if (had_picture) fs::rename(old_picture, moved_picture, ec);
    fs::rename(old_fs, new_fs, ec);
    if (ec) {
        if (had_picture) {
            std::error_code back;
            fs::rename(moved_picture, old_picture, back);
        }
        Info(QStringLiteral("Rename failed. err=0x%1").arg(ec.value(), 0, 16));
        return;
    }
    // The macros keep their records: their paths follow the group's new caption.
    m_pMacroTree->SetItem(row, *name, row->rec.value);
    row->rec.picture = LoadPicture(QString::fromStdString((new_fs / (name->toStdString() + ".png")).string()));
    m_pMacroTree->update();
}

void CMacroDlg::ImportGroup() {
    TreeItem* parent = SelectedGroup();
    const QString chosen = m_host.Modal().ExistingFolder(this, Text("tc_macro_msg21"), QString());
    if (chosen.isEmpty()) return;
    const fs::path source = fs::path(ToPath(chosen)).lexically_normal();
    const std::string name = (source.has_filename() ? source : source.parent_path()).filename().string();
    if (name.empty()) return;
    if (FindChildNamed(*m_pMacroTree, parent, QString::fromStdString(name))) {
        Info(Text("tc_macro_msg8"));
        return;
    }
    const std::string target = parent ? PathOf(parent) : m_szMacroFolder;
    if (target.empty()) return;
    // A folder copied into itself would never end.
    if (IsInside(target, source)) {
        LogPrint("ImportGroup: %s lies inside %s", target.c_str(), source.string().c_str());
        return;
    }
    (void)CopyFolderInto(source.string(), target);
    const fs::path copied = fs::path(target) / name;
    LeaveShownMacro();
    m_shownRow = nullptr;
    ClearEvents();
    TreeItem* group = m_pMacroTree->AddItem(parent, true, true, QString::fromStdString((copied / (name + ".png")).string()),
                                            QString::fromStdString(name), 0, 0, 0);
    if (!group) return;
    MacroScanOptions scan;
    scan.tree = m_view.get();
    scan.parent = MacroTreeView::ItemOf(group);
    scan.new_ids = m_ids;
    scan.add_to = &m_macros;
    scan.nMacroDir = m_nMacroDir;
    scan.mouse_key_mask = m_bMacroHasMsKey;
    (void)ScanMacroFolder(copied.string(), scan);
    // The copied files still carry the ids of where they came from.
    for (TreeItem* macro : MacroRowsIn(*m_pMacroTree, group)) (void)Flush(macro);
}

void CMacroDlg::ExportGroup() {
    const QString chosen = m_host.Modal().ExistingFolder(this, Text("tc_macro_msg22"), QString());
    if (chosen.isEmpty()) return;
    const TreeItem* sel = m_pMacroTree->Selected();
    const TreeItem* group = IsGroupRow(sel) ? sel : (sel ? sel->parent : nullptr);
    const std::string source = group ? PathOf(group) : m_szMacroFolder;
    if (source.empty()) return;
    if (IsInside(ToPath(chosen), source)) {
        LogPrint("ExportGroup: %s lies inside %s", ToPath(chosen).c_str(), source.c_str());
        return;
    }
    (void)CopyFolderInto(source, ToPath(chosen));
}

}  // namespace quobel
