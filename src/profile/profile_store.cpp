#include "profile/profile_store.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#include "base/log.h"
#include "base/utf16.h"
#include "macro/macro_folder.h"
#include "profile/profile_defaults.h"

namespace quobel {
namespace fs = std::filesystem;

namespace {

std::uint32_t ReadU32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

void KeepBadProDct(const std::string& path, const std::string& data_path) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec || size == kProDctSize) return;
    fs::rename(path, data_path + kProDctBadName, ec);
    if (ec) {
        LogPrint("Save pro: keep %s err=%d", kProDctBadName, ec.value());
    } else {
        LogPrint("Save pro: kept the unreadable %s (%llu bytes) as %s", kProDctName,
                 static_cast<unsigned long long>(size), kProDctBadName);
    }
}

}  // namespace

void TerminateTextFields(ProfileData& profile) {
    profile.szSound[std::size(profile.szSound) - 1] = 0;
    profile.szName[std::size(profile.szName) - 1] = 0;
}

namespace {

// Appends the record of one slot when it is valid.
bool TakeSlot(CProList& list, std::span<const std::uint8_t> slot) {
    if (ReadU32(slot, 8) == 0 || ReadU32(slot, 4) != kProfileMagic) return false;
    ProfileData* p = list.AddBlankProfile();
    std::memcpy(static_cast<void*>(p), slot.data(), kProfileSize);
    TerminateTextFields(*p);
    return true;
}

}  // namespace

int LoadProfilesFromImage(CProList& list, std::span<const std::uint8_t> image) {
    if (image.size() != kProDctSize) return -1;
    list.Clear();
    int count = 0;
    for (std::size_t slot = 0; slot < kMaxProfiles; ++slot) {
        count += TakeSlot(list, image.subspan(slot * kProfileSize, kProfileSize)) ? 1 : 0;
    }
    return count;
}

int LoadProfiles(CProList& list, const std::string& data_path) {
    const std::string path = data_path + kProDctName;
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        LogPrint("Open pro file err=%d", errno);
        list.Clear();
        return 0;
    }
    if (in.tellg() != static_cast<std::streamoff>(kProDctSize)) {
        LogPrint("Profile has wrong size");
        return 0;
    }
    in.seekg(0);
    // Slot by slot into one record-sized buffer: no 635200-byte allocation per load.
    std::array<std::uint8_t, kProfileSize> slot;
    CProList loaded;
    int count = 0;
    for (std::size_t i = 0; i < kMaxProfiles; ++i) {
        in.read(reinterpret_cast<char*>(slot.data()), static_cast<std::streamsize>(slot.size()));
        if (static_cast<std::size_t>(in.gcount()) != kProfileSize) return 0;
        count += TakeSlot(loaded, slot) ? 1 : 0;
    }
    list.Clear();
    list.Splice(loaded);
    return count;
}

std::vector<std::uint8_t> BuildProDctImage(const CProList& list) {
    std::vector<std::uint8_t> image(kProDctSize, 0);
    std::size_t slot = 0;
    for (const ProfileData& p : list) {
        if (p.dwProfileID == 0) continue;
        if (slot == kMaxProfiles) break;
        std::memcpy(image.data() + slot * kProfileSize, &p, kProfileSize);
        ++slot;
    }
    return image;
}

bool SaveProfiles(const CProList& list, const std::string& data_path, const BeforeRenameHook& before_rename) {
    const std::string path = data_path + kProDctName;
    KeepBadProDct(path, data_path);
    const std::vector<std::uint8_t> image = BuildProDctImage(list);
    const WriteResult r = WriteFileAtomicEx(path, image, before_rename);
    if (r.failed == WriteStep::kCreate) {
        LogPrint("Save pro: CreateFile err=%d", r.err);
    } else if (!r.ok()) {
        LogPrint("Save pro: WriteFile err=%d", r.err);
    }
    return r.ok();
}

std::uint32_t ReadCurrentId(const std::string& data_path) {
    std::ifstream in(data_path + kCurIdName, std::ios::binary);
    std::uint8_t b[4] = {};
    if (!in.read(reinterpret_cast<char*>(b), sizeof b)) return 0;
    return ReadU32(b, 0);
}

bool WriteCurrentId(const CProList& list, const std::string& data_path, const BeforeRenameHook& before_rename) {
    const ProfileData* cur = list.Current();
    if (cur == nullptr) return true;
    const std::uint32_t id = cur->dwProfileID;
    const std::uint8_t b[4] = {static_cast<std::uint8_t>(id), static_cast<std::uint8_t>(id >> 8),
                               static_cast<std::uint8_t>(id >> 16), static_cast<std::uint8_t>(id >> 24)};
    const WriteResult r = WriteFileAtomicEx(data_path + kCurIdName, b, before_rename);
    if (!r.ok()) LogPrint("Save curid: err=%d", r.err);
    return r.ok();
}

ProfileData* StartupProfiles(CProList& list, const Config& config, std::string_view proname, IdGenerator& ids) {
    const std::string& data_path = config.szDataPath;
    RemoveLeftoverTempFiles(data_path, false);
    const int loaded = LoadProfiles(list, data_path);
    const std::uint32_t current_id = ReadCurrentId(data_path);
    if (loaded == 0 || current_id == 0) {
        const std::string sound = config.szAppPath + kDrvSoundName;
        std::error_code ec;
        const bool has_sound = fs::is_regular_file(sound, ec);
        const unsigned parts = PartsOf(config);
        int count = config.gVar.nProfileNum;
        if (count > static_cast<int>(kMaxProfiles)) {
            LogPrint("ProfileNum=%d, only %d profiles are kept", count, static_cast<int>(kMaxProfiles));
            count = static_cast<int>(kMaxProfiles);
        }
        for (int k = 1; k <= count && !list.Full(); ++k) {
            ProfileData p;
            CreateProfile(p, parts, std::string(proname) + std::to_string(k), config, ids);
            if (has_sound) SetField(p.szSound, sound);
            list.AddProfile(p);
        }
    }
    if (list.Select(current_id) == nullptr && list.FirstProfile() != nullptr) {
        list.Select(list.FirstProfile()->dwProfileID);
    }
    return list.Current();
}

bool IsSoundPath(std::string_view sound_field) { return sound_field.find('/') != std::string_view::npos; }

std::string LinkedProgram(const ProfileData& profile) {
    std::string f = FieldToUtf8(profile.szSound);
    return IsSoundPath(f) ? std::string() : f;
}

bool LinkProgram(ProfileData& profile, std::string_view program_file_name) {
    if (IsSoundPath(program_file_name)) return false;
    const std::u16string wide = Utf8ToUtf16(program_file_name);
    if (wide.size() >= std::size(profile.szSound)) return false;
    SetField(profile.szSound, std::u16string_view(wide));
    return true;
}

ProfileSound SoundOnSelect(const ProfileData& profile, bool play_sound) {
    ProfileSound s;
    s.path = FieldToUtf8(profile.szSound);
    if (!IsSoundPath(s.path) || !play_sound) return s;
    std::error_code ec;
    if (fs::exists(s.path, ec)) {
        s.action = ProfileSound::kPlay;
    } else {
        s.action = ProfileSound::kMissing;
        s.message = "Open file failed, " + s.path;
    }
    return s;
}

}  // namespace quobel
