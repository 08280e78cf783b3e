#include "config/text_table.h"

namespace quobel {

void TextTable::Load(const std::string&) {}
std::string TextTable::Get(std::string_view) const { return {}; }

}  // namespace quobel
