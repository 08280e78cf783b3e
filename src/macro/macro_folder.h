#pragma once
// The macro folder: "Mac" in the data folder, one .mck file per macro, sub-folders as
// macro groups. Reading it into MacroList and a tree, writing macros back, and the
// folder operations of the macro editor.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/file_io.h"
#include "macro/macro_file.h"
#include "macro/macro_list.h"
#include "macro/macro_tree.h"
#include "macro/new_id.h"

namespace quobel {

// "%sMac" of the data folder (which ends with a separator).
std::string MacroFolderOf(const std::string& data_path);

struct MacroScanOptions {
    bool recurse = true;
    MacroTree* tree = nullptr;                 // rows are added here when given
    MacroTreeItem parent = kMacroTreeRoot;
    IdGenerator* new_ids = nullptr;            // given: every macro gets a new id and its settings bit,
                                               // one that add_to does not hold yet
    MacroList* add_to = nullptr;               // given: a copy of every macro is added
    int nMacroDir = 0;                         // sub-folders are groups only when set
    std::uint32_t mouse_key_mask = 0;          // bMacroHasMsKey
};

// Reads every macro file of a folder. Unreadable, short and foreign files are skipped;
// false when the folder path is too long or cannot be listed (a failed sub-scan stops
// the scan).
bool ScanMacroFolder(const std::string& folder, const MacroScanOptions& options);

// Start-up: removes what killed saves left behind and reads every macro of the folder
// (groups too when nMacroDir is set) into the list, keeping their ids. A missing
// folder holds no macros.
void LoadMacroFolder(const std::string& macro_folder, MacroList& list, int nMacroDir,
                     std::uint32_t mouse_key_mask);

// The file of a tree row below the macro folder: groups as folders, a macro as
// "<caption>.mck". nullopt for no row, more than 20 levels, or a caption that is not
// a single path component.
std::optional<std::string> TreeItem_To_FilePath(const MacroTree& tree, MacroTreeItem item,
                                                const std::string& macro_folder);

// Writes the macro of a row back when its record in the list carries a changed bit.
// True when nothing needed writing or the write succeeded. A failed write keeps the
// old file and the changed bits, so the change is not lost and a later flush retries.
bool Flush_Dirty_Macro(const MacroTree* tree, MacroTreeItem item, MacroList& list,
                       const std::string& macro_folder, const BeforeRenameHook& before_rename = {});

// Writes a record as a new file "<name>.mck" in the root of the macro folder; fails
// without writing when the root already has a file of that name (case-insensitive) or
// the name is not a valid macro name. Clears the record's changed bits.
bool save_macro(MacroRecord& record, const std::string& macro_folder);

// True when the folder (not its sub-folders) holds "<name>.mck", case-insensitively.
bool MacroFileExistsInRoot(const std::string& macro_folder, std::string_view name);

// Creates every missing folder of a file path (the last component is the file).
bool MakeSureFolderExist(const std::string& file_path);
// Writes a whole file crash-safely, replacing it and creating missing folders.
WriteResult MyCreateFile(const std::string& path, std::span<const std::uint8_t> data,
                         const BeforeRenameHook& before_rename = {});
// Copies without overwriting, creating missing folders of the target.
bool MyCopyFile(const std::string& from, const std::string& to);
// Deletes a folder with all its files and sub-folders.
bool DeleteFolderTree(const std::string& folder);
// Copies a folder with its own name and all contents into target; existing files are
// not overwritten. True when every file is there afterwards.
bool CopyFolderInto(const std::string& folder, const std::string& target);

// Removes the temporary files of saves that a killed process left behind.
void RemoveLeftoverTempFiles(const std::string& folder, bool recurse);

// The .mck import of the macro editor and quobelctl: reads and checks a file and
// gives the record named after the file's title with a new id; or the message.
struct MacroImport {
    std::optional<MacroRecord> record;
    std::string error;
};
// The new id is one that in_use does not claim (give the ids of MacroList).
MacroImport ReadMacroForImport(const std::string& path, std::uint32_t mouse_key_mask, IdGenerator& ids,
                               const IdInUse& in_use = {});

}  // namespace quobel
