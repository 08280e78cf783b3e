#pragma once
// The macro list as the source of macro names for function captions.

#include <optional>
#include <string>

#include "base/utf16.h"
#include "config/key_names.h"
#include "macro/macro_list.h"

namespace quobel {

class MacroListNames final : public MacroNameSource {
public:
    explicit MacroListNames(const MacroList& list) : list_(list) {}

    [[nodiscard]] std::optional<std::string> MacroName(std::uint32_t macro_id) const override {
        const MacroRecord* record = list_.Find(macro_id);
        if (record == nullptr) return std::nullopt;
        return FieldToUtf8(record->szName);
    }

private:
    const MacroList& list_;
};

}  // namespace quobel
