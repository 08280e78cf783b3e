#pragma once
// MacroList: every macro of the macro folder, shared by the device encoding, the
// macro picker, the backups and the macro editor.

#include <cstddef>
#include <cstdint>
#include <list>

#include "macro/macro_record.h"

namespace quobel {

class MacroList {
public:
    // Adds a copy; the returned pointer stays valid until the record is removed.
    MacroRecord* Add(const MacroRecord& record) { return &records_.emplace_back(record); }
    [[nodiscard]] MacroRecord* Find(std::uint32_t macro_id);
    [[nodiscard]] const MacroRecord* Find(std::uint32_t macro_id) const;
    bool Remove(std::uint32_t macro_id);
    void Clear() { records_.clear(); }
    [[nodiscard]] std::size_t Count() const { return records_.size(); }

    auto begin() { return records_.begin(); }
    auto end() { return records_.end(); }
    [[nodiscard]] auto begin() const { return records_.begin(); }
    [[nodiscard]] auto end() const { return records_.end(); }

private:
    std::list<MacroRecord> records_;  // a list keeps the records where they are
};

// The lowest slot 1..macro_num that no macro holds as Macro_Buffer_ID; -1 when all are
// taken or macro_num is 0.
int FreeBufferID(const MacroList& list, int macro_num);

}  // namespace quobel
