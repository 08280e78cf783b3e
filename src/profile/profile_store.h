#pragma once
// The profile store: pro.dct (20 fixed slots of ProfileData) and curid.dct (the id of
// the current profile) in the data folder.
//
// Saves never leave a half-written file: each goes to a temporary file that is renamed
// over the old one. A pro.dct that is present but cannot be loaded (wrong size, no
// permission, I/O error, no valid record) is never replaced: it is moved aside to
// pro.dct.bad (or pro.dct.bad.2, .3, ... when that exists) before anything is written,
// and the user is told where it went.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_io.h"
#include "config/config.h"
#include "macro/new_id.h"
#include "profile/profile_list.h"

namespace quobel {

constexpr std::size_t kProDctSize = kProfileSize * kMaxProfiles;  // 635200
inline constexpr const char* kProDctName = "pro.dct";
inline constexpr const char* kProDctBadName = "pro.dct.bad";
inline constexpr const char* kCurIdName = "curid.dct";
inline constexpr const char* kDrvSoundName = "DrvSound.wav";
// Shown when a profile is to be created or imported while the list is full.
inline constexpr const char* kTooManyProfilesText = "The number of profiles is up to the maximum";

// Reads pro.dct into the list (emptied first) and returns how many profiles it holds.
// A missing file gives an empty list; a file of the wrong size is logged and leaves
// the list as it was, returning 0.
int LoadProfiles(CProList& list, const std::string& data_path);

// LoadProfiles that also tells whether the file was there and why it was not read.
struct ProfileStoreLoad {
    enum State { kMissing, kLoaded, kUnreadable } state = kMissing;
    int count = 0;
    std::string why;  // kUnreadable: e.g. "Permission denied", "wrong size: 1000 bytes"
};
ProfileStoreLoad LoadProfileStore(CProList& list, const std::string& data_path);

// Moves pro.dct aside under a name that no earlier kept copy has; the new path, or
// empty (logged) when it could not be moved.
std::string KeepProDctAside(const std::string& data_path);
// The slot walk of LoadProfiles over a whole file image; -1 when the size is wrong.
int LoadProfilesFromImage(CProList& list, std::span<const std::uint8_t> image);

// The pro.dct image: the first 20 records with a non-zero id, in order; empty slots zero.
std::vector<std::uint8_t> BuildProDctImage(const CProList& list);
// Writes pro.dct; false (logged, old file kept) when it could not be written. A pro.dct
// that cannot be read whole is kept aside first; when that fails nothing is written.
[[nodiscard]] bool SaveProfiles(const CProList& list, const std::string& data_path,
                                const BeforeRenameHook& before_rename = {});

// The id in curid.dct; 0 when the file cannot be read or holds fewer than 4 bytes.
std::uint32_t ReadCurrentId(const std::string& data_path);
// Writes the current profile's id; true without writing when there is no current profile.
[[nodiscard]] bool WriteCurrentId(const CProList& list, const std::string& data_path,
                                  const BeforeRenameHook& before_rename = {});

// What start-up did with the store, for the caller to show.
struct ProfileStartup {
    // In: false for a process that only reads (it must not hold the data folder lock):
    // no clean-up of killed saves and nothing moved aside.
    bool writable = true;
    // Out: no stored profile could be loaded and the defaults were made (in memory only;
    // the caller saves them).
    bool defaults_created = false;
    // Out: for the user when pro.dct was present but could not be loaded, naming where
    // it was kept; empty when there is nothing to tell.
    std::string message;
};

// Start-up: removes stale leftovers of killed saves, loads pro.dct and curid.dct; when
// no profile was loaded, keeps an unloadable pro.dct aside and creates the configured
// number of default profiles named "<proname><k>" (with DrvSound.wav of the program
// folder as their sound when it exists); then selects the stored id, else the first
// profile (a missing or zero curid.dct keeps the loaded list). Returns the current one.
// The writer calls it while holding the data folder lock (platform/data_folder_lock.h).
ProfileData* StartupProfiles(CProList& list, const Config& config, std::string_view proname,
                             IdGenerator& ids, ProfileStartup& startup);
// The same for a writer that has no use for the report.
ProfileData* StartupProfiles(CProList& list, const Config& config, std::string_view proname,
                             IdGenerator& ids);

// A profile's szSound holds one of two things: its sound, as a path (it contains a
// '/'), or the name of the program whose start switches to the profile (a file name
// has no '/'). The automatic switch compares running programs with the program name;
// a program name is never played.
[[nodiscard]] bool IsSoundPath(std::string_view sound_field);
// The linked program's name; empty when the profile holds a sound or nothing.
[[nodiscard]] std::string LinkedProgram(const ProfileData& profile);
// Links the profile to a program (its sound is dropped); an empty name unlinks it.
// False (nothing changed) when the name holds a '/' or does not fit the field.
bool LinkProgram(ProfileData& profile, std::string_view program_file_name);
// Sets the profile's sound file. False (nothing changed) when the path names no folder
// (it would read as a program name) or does not fit the field.
bool SetSoundPath(ProfileData& profile, std::string_view path);

// What selecting a profile does with its sound (nothing for a linked program).
struct ProfileSound {
    enum Action { kNone, kPlay, kMissing } action = kNone;
    std::string path;
    std::string message;  // "Open file failed, %s" for kMissing
};
ProfileSound SoundOnSelect(const ProfileData& profile, bool play_sound);

// Makes every text field end within its array, as a record from a file may not.
void TerminateTextFields(ProfileData& profile);

}  // namespace quobel
