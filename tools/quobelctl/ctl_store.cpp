#include "ctl_store.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <filesystem>
#include <ostream>

#include "base/utf16.h"
#include "macro/macro_folder.h"
#include "macro/new_id.h"
#include "profile/profile_store.h"

namespace quobel::ctl {

bool OpenConfig(const Globals& g, Store& store) {
    CollectingReporter reporter;
    if (LoadSession(g, store, reporter) != StartupResult::Ready) return false;
    std::error_code ec;
    if (!std::filesystem::is_directory(store.config.szDataPath, ec)) {
        *g.err << "quobelctl: cannot use the data folder " << store.config.szDataPath << "\n";
        return false;
    }
    return true;
}

bool LockForWrite(const Globals& g, Store& store) {
    store.lock = DataFolderLock::TryAcquire(store.config.szDataPath, "quobelctl");
    if (store.lock.held()) return true;
    *g.err << "quobelctl: " << store.lock.message() << "\n";
    return false;
}

bool OpenStore(const Globals& g, Store& store, Access access) {
    if (!OpenConfig(g, store)) return false;
    const bool write = access == Access::kWrite;
    if (write && !LockForWrite(g, store)) return false;
    ProfileStartup startup;
    startup.writable = write;
    StartupProfiles(store.profiles, store.config, store.texts.Get("tc_proname"), SystemIdGenerator(), startup);
    store.defaults_created = startup.defaults_created;
    if (!startup.message.empty()) *g.err << "quobelctl: " << startup.message << "\n";

    const std::uint32_t mask = static_cast<std::uint32_t>(store.config.gVar.bMacroHasMsKey);
    if (write) {
        LoadMacroFolder(MacroFolder(store), store.macros, store.config.gVar.nMacroDir, mask);
    } else {
        MacroScanOptions scan;
        scan.add_to = &store.macros;
        scan.nMacroDir = store.config.gVar.nMacroDir;
        scan.mouse_key_mask = mask;
        (void)ScanMacroFolder(MacroFolder(store), scan);  // a missing macro folder holds no macros
    }
    // Default profiles get stable ids at once, as the window saves them when it closes.
    if (write && store.defaults_created && !SaveStore(g, store)) return false;
    return true;
}

bool SaveStore(const Globals& g, const Store& store) {
    if (!SaveProfiles(store.profiles, store.config.szDataPath) ||
        !WriteCurrentId(store.profiles, store.config.szDataPath)) {
        *g.err << "quobelctl: cannot write the profiles in " << store.config.szDataPath << "\n";
        return false;
    }
    return true;
}

std::string MacroFolder(const Store& store) { return MacroFolderOf(store.config.szDataPath); }

IdInUse ProfileIdsOf(const Store& store) {
    return [&store](std::uint32_t id) { return store.profiles.Find(id) != nullptr; };
}

ProfileData* FindProfileArg(const Globals& g, Store& store, std::string_view arg) {
    if (arg.starts_with("0x") || arg.starts_with("0X")) {
        char* end = nullptr;
        const std::string digits(arg.substr(2));
        const unsigned long id = std::strtoul(digits.c_str(), &end, 16);
        if (!digits.empty() && end && *end == '\0' && id <= 0xFFFFFFFFul) {
            if (ProfileData* p = store.profiles.Find(static_cast<std::uint32_t>(id))) return p;
        }
    }
    for (ProfileData& p : store.profiles) {
        if (FieldToUtf8(p.szName) == arg) return &p;
    }
    *g.err << "quobelctl: no profile " << arg << "\n";
    return nullptr;
}

}  // namespace quobel::ctl
