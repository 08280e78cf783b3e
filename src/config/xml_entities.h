#pragma once
// Named character entities: the five of XML and those of HTML 4.

#include <string_view>

namespace quobel {

// Names are case-sensitive ("Auml" and "auml" differ). 0 when the name is unknown.
[[nodiscard]] char32_t NamedEntity(std::u32string_view name);

// Longest name in the table, so a reader can stop looking for the ';'.
inline constexpr std::size_t kMaxEntityName = 8;

}  // namespace quobel
