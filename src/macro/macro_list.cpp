#include "macro/macro_list.h"

#include <vector>

namespace quobel {

MacroRecord* MacroList::Find(std::uint32_t macro_id) {
    for (MacroRecord& r : records_) {
        if (r.MacroID == macro_id) return &r;
    }
    return nullptr;
}

const MacroRecord* MacroList::Find(std::uint32_t macro_id) const {
    for (const MacroRecord& r : records_) {
        if (r.MacroID == macro_id) return &r;
    }
    return nullptr;
}

bool MacroList::Remove(std::uint32_t macro_id) {
    for (auto it = records_.begin(); it != records_.end(); ++it) {
        if (it->MacroID == macro_id) {
            records_.erase(it);
            return true;
        }
    }
    return false;
}

int FreeBufferID(const MacroList& list, int macro_num) {
    if (macro_num <= 0) return -1;
    std::vector<bool> taken(static_cast<std::size_t>(macro_num) + 1, false);
    for (const MacroRecord& r : list) {
        if (r.Macro_Buffer_ID >= 1 && r.Macro_Buffer_ID <= static_cast<std::uint32_t>(macro_num)) {
            taken[r.Macro_Buffer_ID] = true;
        }
    }
    for (int id = 1; id <= macro_num; ++id) {
        if (!taken[static_cast<std::size_t>(id)]) return id;
    }
    return -1;
}

}  // namespace quobel
