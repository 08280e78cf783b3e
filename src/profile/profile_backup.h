#pragma once
// Profile backup files (.bk): one profile with up to ten of the macros its keys use.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "macro/macro_list.h"
#include "macro/macro_record.h"
#include "macro/new_id.h"
#include "profile/profile_data.h"
#include "profile/profile_list.h"

namespace quobel {

constexpr std::size_t kBackupMacroSlots = 10;
constexpr std::size_t kBackupSize = 40100;

// The file layout; the macros are stored as in memory, without the .mck rotation.
struct ProfileBackup {
    ProfileData profile;
    MacroRecord macros[kBackupMacroSlots];
};
static_assert(sizeof(ProfileBackup) == kBackupSize);
static_assert(offsetof(ProfileBackup, macros) == kProfileSize);

inline constexpr const char* kCreateBackupFailedText = "Create profile failed.";
inline constexpr const char* kOpenBackupFailedText = "Open profile failed";
inline constexpr const char* kEmptyBackupText = "Open profile failed.";
inline constexpr const char* kInvalidBackupText = "This is not a valid profile";

// The backup of a profile: the record, then for every key entry (mouse modes 0..2,
// then the keyboard's 150 keys) that runs a macro found in the list, a copy of the
// macro in the next slot; a macro used by several keys is stored once per key. With
// more than ten such keys the first ten are stored.
ProfileBackup BuildBackup(const ProfileData& profile, const MacroList& macros);

// Writes the backup crash-safely; false with kCreateBackupFailedText logged when not.
[[nodiscard]] bool ExportProfile(const std::string& path, const ProfileData& profile, const MacroList& macros);

// The suggested file name: "<name>.bk" in at most 19 characters, the name cut to fit.
std::string ProposedBackupName(const ProfileData& profile);

struct BackupImport {
    std::optional<ProfileData> profile;  // the new profile, not yet in any list
    std::string error;                   // the message to show when there is none
    int macros_saved = 0;
};

// Checks a backup's bytes and turns it into a new profile: every macro used by a key
// that has a slot gets a new id and is saved as a new file in the macro folder root
// and added to the list; its keys take the new id. A key whose macro could not be
// saved (a file of that name exists) keeps its old id; later keys sharing the macro
// take the id of the copy already saved. The profile gets a new id and `title` as name.
// New ids are never ones the list's macros or (by profile_in_use) the profiles hold.
BackupImport ImportBackupBytes(std::span<const std::uint8_t> bytes, std::string_view title,
                               MacroList& macros, const std::string& macro_folder, IdGenerator& ids,
                               const IdInUse& profile_in_use = {});

// Reads the file and imports it; `title` is the file name without its extension.
BackupImport ImportBackupFile(const std::string& path, MacroList& macros, const std::string& macro_folder,
                              IdGenerator& ids, const IdInUse& profile_in_use = {});

// The checks of an import alone, for readers that must not write anything.
std::optional<ProfileBackup> ParseBackup(std::span<const std::uint8_t> bytes, std::string* error);

}  // namespace quobel
