#pragma once
// INI files with the private-profile rules.
//
// Section and key names are matched without regard to case; the first occurrence of a
// section, and of a key within it, wins; blanks around names and values are removed,
// and a value enclosed in one pair of double or single quotes loses them. Files may be
// UTF-8 (with or without BOM) or UTF-16LE with BOM; a file without BOM that is not
// valid UTF-8 is Windows-1252, as Windows editors write it. Writing a key keeps every
// other line of the file as it was, byte for byte: comments, order, line ends and
// encoding included.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quobel {

class IniFile {
public:
    IniFile() = default;

    // Any bytes are accepted; what is not an INI line is kept and ignored.
    static IniFile FromBytes(std::span<const std::uint8_t> bytes);
    static IniFile FromText(std::string_view utf8);
    // Larger files are not read: a configuration is a few kilobytes, and lang.ini lies
    // in the user's folder where anything may be put in its place.
    static constexpr std::size_t kMaxFileBytes = 1u << 20;
    // A file that cannot be read gives an empty IniFile (every key missing), as the
    // private-profile functions behave; opened() tells the two apart. So does a file
    // that is not a regular file or is larger than kMaxFileBytes.
    static IniFile Load(const std::string& path);

    [[nodiscard]] bool opened() const { return opened_; }

    // The value of a key, trimmed and unquoted; nullopt when the key is missing.
    [[nodiscard]] std::optional<std::string> Get(std::string_view section, std::string_view key) const;

    // The integer rules: missing or empty key -> def; otherwise the leading decimal
    // number (a leading minus or plus allowed) or "0x" hexadecimal number; no digits -> 0.
    [[nodiscard]] std::int32_t GetInt(std::string_view section, std::string_view key, std::int32_t def) const;

    // The string rules: missing key -> def; the result is cut to buf_chars - 1 UTF-16
    // code units, as a wide-character buffer of buf_chars would hold.
    [[nodiscard]] std::string GetString(std::string_view section, std::string_view key,
                                        std::string_view def, std::size_t buf_chars) const;

    // Sets a key, adding the section at the end and the key at the end of its section
    // when missing.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    // The file's text as it would be saved (UTF-8, or UTF-16LE with BOM or Windows-1252
    // when read so).
    [[nodiscard]] std::vector<std::uint8_t> ToBytes() const;
    [[nodiscard]] bool Save(const std::string& path) const;

private:
    struct Line {
        std::string text;          // the line as read, without its line end
        std::string eol;           // its line end as read: "\r\n", "\n", or none for the last line
        std::string section;       // lower-cased section name when this is a header
        std::string key;           // lower-cased key name when this is a key line
        bool header = false;
        bool is_key = false;
    };

    static Line ParseLine(std::string text);
    [[nodiscard]] std::optional<std::size_t> FindSection(std::string_view section) const;
    [[nodiscard]] std::optional<std::size_t> FindKey(std::size_t header, std::string_view key) const;

    std::vector<Line> lines_;
    bool utf16_ = false;
    bool cp1252_ = false;
    bool bom_ = false;
    bool opened_ = false;
    std::string eol_ = "\r\n";    // line end of added lines
};

// The leading-integer rule of the private-profile functions on an already read value.
std::int32_t ParseProfileInt(std::string_view value);

}  // namespace quobel
