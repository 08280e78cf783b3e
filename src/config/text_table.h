#pragma once
// TextTable: the caption of every tc_ identifier, loaded from a language's text.xml.
//
// The table holds one text per identifier of a fixed list (TextTable::Ids(), in table
// order); each load replaces the whole table, so an identifier the new file lacks is
// empty even if the previous language had it. An empty text is shown as empty: there
// is no fallback to the identifier, except that the report-rate unit tc_hz reads "Hz".

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace quobel {

class XmlReader;

inline constexpr std::size_t kTextCount = 245;

class TextTable {
public:
    // Every identifier, in table order.
    [[nodiscard]] static std::span<const std::string_view, kTextCount> Ids();
    // Position of an identifier in Ids(); -1 when it is not one.
    [[nodiscard]] static int IndexOf(std::string_view id);

    // Loads the texts of one file (text.xml layout: the root's first child element
    // named config holds one element per identifier). A file that cannot be read or
    // parsed leaves every text empty. The reader's status goes to the log.
    void Load(const std::string& path);
    // The same from a document already read and parsed.
    void Load(XmlReader& xml);

    // The text of an identifier; empty when the file has none or id is not one.
    [[nodiscard]] std::string Get(std::string_view id) const;
    // The text at a position of Ids().
    [[nodiscard]] const std::string& At(std::size_t index) const { return texts_.at(index); }

    // Load status and parse status of the last file, for diagnostics.
    [[nodiscard]] const std::string& Status() const { return status_; }

private:
    std::array<std::string, kTextCount> texts_{};
    std::string status_;
};

}  // namespace quobel
