#pragma once
// XmlReader: the small, lenient XML reader behind the language texts.
//
// A file is decoded whole into code points (byte-order mark, else the encoding the
// document names, else UTF-8 when the bytes are valid UTF-8, else Windows-1252), then
// Parse() builds an index of the elements. The caller walks the index with a current
// position: a parent, a current element and a current child. A malformed document
// still loads as far as it can; problems only go into the two status strings, which
// are meant for the log.
//
// Every step is linear in the input and uses no recursion, so any bytes are safe to
// read: nesting depth, unterminated constructs and bad references only cost their
// length.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quobel {

class XmlReader {
public:
    // Files above this size are refused: a language file is a few tens of kilobytes,
    // and the element index would otherwise follow any file's size.
    static constexpr std::size_t kMaxFileBytes = 8u << 20;

    // Reads and decodes a file; false when it cannot be opened or read (or is too
    // large), leaving an empty document. The load status is rebuilt either way.
    [[nodiscard]] bool Load(const std::string& path);
    // The same decoding for bytes already in memory; false only when they are too many.
    bool LoadBytes(std::span<const std::uint8_t> bytes);

    // Builds the element index and the parse status; resets the position.
    void Parse();

    // Position: parent, current element and current child all become none.
    void ResetPos();
    // The next child of the current element after the current child whose tag name is
    // name (any name when name is empty) becomes the current child. Without a current
    // element, the root becomes current first. False, position unchanged, when none.
    bool FindChildElem(std::string_view name = {});
    // Steps into the current child: it becomes the current element. False when there
    // is no current child.
    bool IntoElem();
    // Steps back out: the current element becomes the current child again. False at
    // the top.
    bool OutOfElem();

    // Tag name of the current child (UTF-8); empty when there is none.
    [[nodiscard]] std::string GetChildTagName() const;
    // Character data of the current child (UTF-8): its text with character references
    // and named entities replaced, CDATA sections as written; comments, processing
    // instructions and child elements left out. Empty when there is no current child.
    [[nodiscard]] std::string GetChildData() const;

    // Status texts for the log. Offsets in the parse status count characters of the
    // decoded text.
    [[nodiscard]] const std::string& LoadStatus() const { return load_status_; }
    [[nodiscard]] const std::string& ParseStatus() const { return parse_status_; }
    // Encoding the document was decoded from: "UTF-8", "UTF-16LE", "UTF-16BE",
    // "windows-1252", "ISO-8859-1"; empty for an empty document.
    [[nodiscard]] const std::string& Encoding() const { return encoding_; }
    // Decoded text (code points), for diagnostics and tests.
    [[nodiscard]] const std::u32string& Text() const { return text_; }

private:
    struct Element {
        std::uint32_t start = 0;          // offset of '<'
        std::uint32_t name_len = 0;       // name starts at start + 1
        std::uint32_t content_start = 0;  // after the start tag
        std::uint32_t content_end = 0;    // at the end tag, or where the element was cut off
        std::uint32_t end = 0;            // after the end tag
        std::uint32_t parent = 0;
        std::uint32_t first_child = 0;
        std::uint32_t last_child = 0;
        std::uint32_t next = 0;
    };

    [[nodiscard]] std::u32string_view NameOf(std::uint32_t elem) const;
    void Clear();

    std::u32string text_;
    std::vector<Element> elems_;  // [0] is the "none" entry
    std::string load_status_;
    std::string parse_status_;
    std::string encoding_;
    std::uint32_t parent_ = 0;
    std::uint32_t current_ = 0;
    std::uint32_t child_ = 0;
};

}  // namespace quobel
