// .bk import: the checks on any bytes, and the macro import of a backup built from
// the input with a valid header, saving into a scratch macro folder.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "base/sleeper.h"
#include "base/utf16.h"
#include "macro/macro_folder.h"
#include "profile/profile_backup.h"

namespace {

std::uint32_t g_ms = 0;

quobel::IdGenerator& Ids() {
    static quobel::RecordingSleeper sleeper;
    static quobel::IdGenerator ids(sleeper, [] {
        g_ms += 20;
        return quobel::TimeOfDay{static_cast<int>(g_ms / 3600000 % 24), static_cast<int>(g_ms / 60000 % 60),
                                 static_cast<int>(g_ms / 1000 % 60), static_cast<int>(g_ms % 1000)};
    });
    return ids;
}

const std::string& Scratch() {
    static const std::string dir = (std::filesystem::temp_directory_path() /
                                    ("quobel-bk-fuzz-" + std::to_string(::getpid())))
                                       .string();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quobel;
    std::string error;
    const auto parsed = ParseBackup({data, size}, &error);
    if (parsed.has_value() == !error.empty()) std::abort();
    if (size < kBackupSize && parsed) std::abort();

    // A valid header, keys and macro slots taken from the input.
    std::vector<std::uint8_t> bytes(kBackupSize, 0);
    if (size > 0) std::memcpy(bytes.data(), data, std::min(size, bytes.size()));  // data may be null when empty
    auto backup = std::make_unique<ProfileBackup>();
    std::memcpy(static_cast<void*>(backup.get()), bytes.data(), kBackupSize);
    backup->profile.dwMagic = kProfileMagic;
    backup->profile.dwProfileID |= 1;
    // Point a few keys at the slots so that the import path runs.
    for (std::size_t i = 0; i < kBackupMacroSlots && i < size; ++i) {
        KeyInfo& key = (data[i] & 1) ? backup->profile.Kb.Keys[data[i] % 150] : backup->profile.Ms.Keys[0][i];
        key.FunID = MakeFunID(5, 0);
        key.MacroID = backup->macros[i].MacroID;
        if (data[i] & 2) backup->macros[i].dwMagic = kMacroMagic;
    }
    std::memcpy(bytes.data(), backup.get(), kBackupSize);

    MacroList macros;
    const BackupImport r = ImportBackupBytes(bytes, "fuzz", macros, Scratch(), Ids());
    if (!r.profile || !r.profile->IsValid() || r.macros_saved > static_cast<int>(kBackupMacroSlots)) std::abort();
    if (macros.Count() != static_cast<std::size_t>(r.macros_saved)) std::abort();
    // Nothing is written outside the macro folder.
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(Scratch(), ec)) {
        if (!e.is_regular_file() || e.path().extension() != ".mck") std::abort();
    }
    std::filesystem::remove_all(Scratch(), ec);
    return 0;
}
