#include "ctl_store.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>

#include "base/utf16.h"
#include "macro/macro_folder.h"
#include "macro/new_id.h"
#include "profile/profile_store.h"

namespace quobel::ctl {
namespace {

std::string WithSlash(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

}  // namespace

bool OpenConfig(const Globals& g, Store& store) {
    // The folders as start-up finds them; the configuration readers take over here.
    store.config.szAppPath = WithSlash(g.program_dir);
    std::string data = g.data_dir;
    if (data.empty()) {
        const char* xdg = std::getenv("XDG_DATA_HOME");
        const char* home = std::getenv("HOME");
        const std::string base = xdg && xdg[0] == '/' ? xdg : std::string(home ? home : "") + "/.local/share";
        data = base + "/" + (store.config.gVar.szAppDir.empty() ? "quobel" : store.config.gVar.szAppDir);
    }
    store.config.szDataPath = WithSlash(data);
    std::error_code ec;
    std::filesystem::create_directories(store.config.szDataPath, ec);
    if (!std::filesystem::is_directory(store.config.szDataPath, ec)) {
        *g.err << "quobelctl: cannot use the data folder " << store.config.szDataPath << "\n";
        return false;
    }
    if (store.config.gVar.nProfileNum == 0) store.config.gVar.nProfileNum = 3;
    return true;
}

bool OpenStore(const Globals& g, Store& store) {
    if (!OpenConfig(g, store)) return false;
    const std::string before = store.config.szDataPath + kProDctName;
    std::error_code ec;
    const bool had_file = std::filesystem::exists(before, ec);
    const std::uint32_t stored_id = ReadCurrentId(store.config.szDataPath);
    StartupProfiles(store.profiles, store.config, store.texts.Get("tc_proname"), SystemIdGenerator());
    store.defaults_created = !had_file || stored_id == 0 || store.profiles.Find(stored_id) == nullptr;

    const std::string mac = MacroFolder(store);
    RemoveLeftoverTempFiles(mac, true);
    MacroScanOptions scan;
    scan.add_to = &store.macros;
    scan.nMacroDir = store.config.gVar.nMacroDir;
    scan.mouse_key_mask = static_cast<std::uint32_t>(store.config.gVar.bMacroHasMsKey);
    (void)ScanMacroFolder(mac, scan);  // a missing macro folder holds no macros
    // Default profiles get stable ids at once, as the window saves them when it closes.
    if (store.defaults_created && !SaveStore(g, store)) return false;
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

std::string HexId(std::uint32_t id) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08x", id);
    return buf;
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
