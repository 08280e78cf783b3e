#include "profile/profile_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The whole pro.dct image, or why it cannot be had. ENOENT in *err for a missing file.
std::optional<std::vector<std::uint8_t>> ReadProDct(const std::string& path, int* err, std::string* why) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *err = errno;
        *why = std::strerror(errno);
        return std::nullopt;
    }
    struct stat st {};
    std::optional<std::vector<std::uint8_t>> image;
    *err = 0;
    if (::fstat(fd, &st) != 0) {
        *err = errno;
        *why = std::strerror(errno);
    } else if (!S_ISREG(st.st_mode) || static_cast<std::uint64_t>(st.st_size) != kProDctSize) {
        *err = EINVAL;
        *why = "wrong size: " + std::to_string(static_cast<long long>(st.st_size)) + " bytes, " +
               std::to_string(kProDctSize) + " expected";
    } else {
        std::vector<std::uint8_t> data(kProDctSize);
        std::size_t done = 0;
        while (done < data.size()) {
            const ssize_t n = ::read(fd, data.data() + done, data.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                *err = n < 0 ? errno : EIO;
                *why = n < 0 ? std::strerror(errno)
                             : "short read: " + std::to_string(done) + " of " + std::to_string(kProDctSize) + " bytes";
                break;
            }
            done += static_cast<std::size_t>(n);
        }
        if (done == data.size()) image = std::move(data);
    }
    ::close(fd);
    return image;
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

ProfileStoreLoad LoadProfileStore(CProList& list, const std::string& data_path) {
    ProfileStoreLoad r;
    int err = 0;
    const std::optional<std::vector<std::uint8_t>> image = ReadProDct(data_path + kProDctName, &err, &r.why);
    if (!image) {
        if (err == EINVAL) {
            LogPrint("Profile has wrong size");
        } else {
            LogPrint("Open pro file err=%d", err);
            if (err != ENOENT) list.Clear();
        }
        if (err == ENOENT) {
            list.Clear();
            r.why.clear();
        } else {
            r.state = ProfileStoreLoad::kUnreadable;
        }
        return r;
    }
    r.count = LoadProfilesFromImage(list, *image);
    r.state = ProfileStoreLoad::kLoaded;
    return r;
}

int LoadProfiles(CProList& list, const std::string& data_path) { return LoadProfileStore(list, data_path).count; }

std::string KeepProDctAside(const std::string& data_path) {
    const std::string from = data_path + kProDctName;
    for (int n = 1; n < 1000; ++n) {
        const std::string to = data_path + kProDctBadName + (n == 1 ? std::string() : "." + std::to_string(n));
        // link() never replaces an existing name, so an earlier kept copy survives.
        if (::link(from.c_str(), to.c_str()) == 0) {
            ::unlink(from.c_str());
            LogPrint("Save pro: kept the unreadable %s as %s", kProDctName, to.c_str());
            return to;
        }
        if (errno == EEXIST) continue;
        // A file system without hard links: rename to a name checked to be free.
        std::error_code ec;
        if (fs::exists(to, ec) || ec) continue;
        fs::rename(from, to, ec);
        if (!ec) {
            LogPrint("Save pro: kept the unreadable %s as %s", kProDctName, to.c_str());
            return to;
        }
        LogPrint("Save pro: keep %s err=%d", to.c_str(), ec.value());
        return {};
    }
    LogPrint("Save pro: no free name to keep %s", kProDctName);
    return {};
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
    int err = 0;
    std::string why;
    if (!ReadProDct(path, &err, &why) && err != ENOENT && KeepProDctAside(data_path).empty()) {
        LogPrint("Save pro: %s cannot be read (%s) nor kept aside; not replaced", path.c_str(), why.c_str());
        return false;
    }
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

ProfileData* StartupProfiles(CProList& list, const Config& config, std::string_view proname, IdGenerator& ids,
                             ProfileStartup& startup) {
    const std::string& data_path = config.szDataPath;
    if (startup.writable) RemoveLeftoverTempFiles(data_path, false);
    const ProfileStoreLoad load = LoadProfileStore(list, data_path);
    const std::uint32_t current_id = ReadCurrentId(data_path);
    startup.defaults_created = load.count == 0;
    if (load.count == 0 && load.state != ProfileStoreLoad::kMissing) {
        // Present but nothing loaded: the defaults must not take its place.
        const std::string file = data_path + kProDctName;
        const std::string why = load.why.empty() ? "no valid profile in it" : load.why;
        if (!startup.writable) {
            startup.message = file + " cannot be read (" + why + "); default profiles are shown and the file is left as it is";
        } else if (const std::string kept = KeepProDctAside(data_path); !kept.empty()) {
            startup.message = file + " cannot be read (" + why + "); it was kept as " + kept +
                              " and default profiles were made";
        } else {
            startup.message = file + " cannot be read (" + why + ") nor moved aside; it will not be replaced";
        }
    }
    if (startup.defaults_created) {
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
            CreateProfile(p, parts, std::string(proname) + std::to_string(k), config, ids,
                          [&list](std::uint32_t id) { return list.Find(id) != nullptr; });
            if (has_sound) SetField(p.szSound, sound);
            list.AddProfile(p);
        }
    }
    if (list.Select(current_id) == nullptr && list.FirstProfile() != nullptr) {
        list.Select(list.FirstProfile()->dwProfileID);
    }
    return list.Current();
}

ProfileData* StartupProfiles(CProList& list, const Config& config, std::string_view proname, IdGenerator& ids) {
    ProfileStartup startup;
    return StartupProfiles(list, config, proname, ids, startup);
}

bool IsSoundPath(std::string_view sound_field) { return sound_field.find('/') != std::string_view::npos; }

std::string LinkedProgram(const ProfileData& profile) {
    std::string f = FieldToUtf8(profile.szSound);
    return IsSoundPath(f) ? std::string() : f;
}

namespace {

// The whole text, or nothing: a cut path or name would point elsewhere.
bool SetSoundField(ProfileData& profile, std::string_view text) {
    const std::u16string wide = Utf8ToUtf16(text);
    if (wide.size() >= std::size(profile.szSound)) return false;
    SetField(profile.szSound, std::u16string_view(wide));
    return true;
}

}  // namespace

bool LinkProgram(ProfileData& profile, std::string_view program_file_name) {
    return !IsSoundPath(program_file_name) && SetSoundField(profile, program_file_name);
}

bool SetSoundPath(ProfileData& profile, std::string_view path) {
    return IsSoundPath(path) && SetSoundField(profile, path);
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
