#include "profile/profile_backup.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <vector>

#include "base/file_io.h"
#include "base/log.h"
#include "base/utf16.h"
#include "macro/macro_folder.h"
#include "profile/profile_store.h"

namespace quobel {
namespace {

// Every key entry that can carry a macro, in slot-filling order.
template <class Profile, class Fn>
void ForEachMacroKey(Profile& profile, Fn&& fn) {
    for (auto& mode : profile.Ms.Keys) {
        for (auto& key : mode) fn(key);
    }
    for (auto& key : profile.Kb.Keys) fn(key);
}

}  // namespace

ProfileBackup BuildBackup(const ProfileData& profile, const MacroList& macros) {
    ProfileBackup backup{};
    backup.profile = profile;
    std::size_t slot = 0;
    ForEachMacroKey(profile, [&](const KeyInfo& key) {
        if (slot == kBackupMacroSlots || FunType(key.FunID) != kFunMacro) return;
        if (const MacroRecord* m = macros.Find(key.MacroID)) backup.macros[slot++] = *m;
    });
    return backup;
}

bool ExportProfile(const std::string& path, const ProfileData& profile, const MacroList& macros) {
    const auto backup = std::make_unique<ProfileBackup>(BuildBackup(profile, macros));
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(backup.get()),
                                              sizeof(ProfileBackup));
    const WriteResult r = WriteFileAtomicEx(path, bytes);
    if (!r.ok()) {
        LogPrint("%s %s err=%d", kCreateBackupFailedText, path.c_str(), r.err);
        return false;
    }
    return true;
}

std::string ProposedBackupName(const ProfileData& profile) {
    // The name gives way, not the extension: a cut ".b" would hide the file from the
    // *.bk filter of the import.
    constexpr std::u16string_view kExt = u".bk";
    char16_t name[20 - kExt.size()] = {};
    SetField(name, FieldView(profile.szName));
    return FieldToUtf8(name) + ".bk";
}

std::optional<ProfileBackup> ParseBackup(std::span<const std::uint8_t> bytes, std::string* error) {
    auto fail = [error](const char* text) {
        if (error) *error = text;
        return std::nullopt;
    };
    if (bytes.empty()) return fail(kEmptyBackupText);
    // Only a whole backup is taken: a short file would leave macro slots half read.
    if (bytes.size() < kBackupSize) return fail(kInvalidBackupText);
    ProfileBackup backup;
    std::memcpy(static_cast<void*>(&backup), bytes.data(), kBackupSize);
    if (!backup.profile.IsValid()) return fail(kInvalidBackupText);
    TerminateTextFields(backup.profile);
    for (MacroRecord& m : backup.macros) m.szName[std::size(m.szName) - 1] = 0;
    return backup;
}

BackupImport ImportBackupBytes(std::span<const std::uint8_t> bytes, std::string_view title,
                               MacroList& macros, const std::string& macro_folder, IdGenerator& ids,
                               const IdInUse& profile_in_use) {
    BackupImport result;
    const auto backup = std::make_unique<ProfileBackup>();
    {
        std::optional<ProfileBackup> parsed = ParseBackup(bytes, &result.error);
        if (!parsed) return result;
        *backup = *parsed;
    }
    // Old macro id -> the id its keys take, once the first key using it was handled.
    std::map<std::uint32_t, std::uint32_t> taken;
    ForEachMacroKey(backup->profile, [&](KeyInfo& key) {
        if (FunType(key.FunID) != kFunMacro) return;
        const std::uint32_t old_id = key.MacroID;
        if (auto it = taken.find(old_id); it != taken.end()) {
            key.MacroID = it->second;
            return;
        }
        for (MacroRecord& slot : backup->macros) {
            if (slot.MacroID != old_id || slot.dwMagic == 0) continue;
            slot.MacroID = ids.NewId([&macros](std::uint32_t id) { return macros.Find(id) != nullptr; });
            if (save_macro(slot, macro_folder)) {
                macros.Add(slot);
                key.MacroID = slot.MacroID;
                ++result.macros_saved;
            }
            taken[old_id] = key.MacroID;
            break;
        }
    });
    ProfileData& p = backup->profile;
    p.dwProfileID = ids.NewId(profile_in_use);
    SetField(p.szName, title);
    result.profile = p;
    return result;
}

BackupImport ImportBackupFile(const std::string& path, MacroList& macros, const std::string& macro_folder,
                              IdGenerator& ids, const IdInUse& profile_in_use) {
    std::ifstream in(path, std::ios::binary);
    std::error_code ec;
    if (!in || std::filesystem::is_directory(path, ec)) {
        LogPrint("Import profile: open %s err=%d", path.c_str(), errno);
        return {std::nullopt, kOpenBackupFailedText, 0};
    }
    // Up to one backup's worth: whatever follows is not part of it.
    std::vector<std::uint8_t> bytes(kBackupSize);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    const std::string title = std::filesystem::path(path).stem().string();
    return ImportBackupBytes(bytes, title, macros, macro_folder, ids, profile_in_use);
}

}  // namespace quobel
