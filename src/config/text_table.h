#pragma once
// TextTable: the caption of every tc_ identifier, loaded from a language's text.xml.
// (Filled in by the language-text work; until then every text is empty.)

#include <string>
#include <string_view>

namespace quobel {

class TextTable {
public:
    // Loads the texts of one file; failures leave every text empty.
    void Load(const std::string& path);
    // The text of an identifier; empty when the file has none.
    [[nodiscard]] std::string Get(std::string_view id) const;
};

}  // namespace quobel
