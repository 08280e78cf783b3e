#pragma once
// The profiles and macros of quobelctl: the same files, read the way the window reads
// them at start.

#include <cstdint>
#include <string>
#include <string_view>

#include "commands.h"
#include "config/config.h"
#include "config/text_table.h"
#include "macro/macro_list.h"
#include "macro/new_id.h"
#include "platform/data_folder_lock.h"
#include "profile/profile_list.h"

namespace quobel::ctl {

struct Store : Session {
    CProList profiles;
    MacroList macros;
    bool defaults_created = false;  // no stored profiles: the start-up defaults were made
    DataFolderLock lock;            // held by a command that writes
};

// Reads the configuration, folders and texts as start-up does; false when they cannot
// be read. The configuration's own messages are left to "config check".
[[nodiscard]] bool OpenConfig(const Globals& g, Store& store);

// A command that only reads never writes the data folder and takes no lock; one that
// writes holds the data folder lock for the whole command and fails at once, changing
// nothing, while another process holds it.
enum class Access { kRead, kWrite };
// OpenConfig, then the profile store with the start-up rule and the macro folder.
// kWrite also saves default profiles made at start, so they keep their ids.
[[nodiscard]] bool OpenStore(const Globals& g, Store& store, Access access);
// Takes the data folder lock for a write; false with the holder named on g.err.
[[nodiscard]] bool LockForWrite(const Globals& g, Store& store);
// Writes pro.dct and curid.dct; false with a note on g.err.
[[nodiscard]] bool SaveStore(const Globals& g, const Store& store);

// The macro folder of the store.
std::string MacroFolder(const Store& store);

// A profile by name or by "0x<id>"; null with a note on g.err when none matches.
ProfileData* FindProfileArg(const Globals& g, Store& store, std::string_view arg);

// The ids the store's profiles hold, for drawing a new one.
IdInUse ProfileIdsOf(const Store& store);

}  // namespace quobel::ctl
