#pragma once
// Text conversions between the UTF-8 strings used in the code and the UTF-16 fixed
// fields of the file records (profile names, sound paths, macro names).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quobel {

// Invalid UTF-8 bytes become U+FFFD; unpaired surrogates likewise in the other direction.
std::u16string Utf8ToUtf16(std::string_view s);
std::string Utf16ToUtf8(std::u16string_view s);
// Appends one code point; surrogates and values above U+10FFFF become U+FFFD.
void AppendUtf8(std::string& out, char32_t cp);

// True when s is strictly valid UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view s);

// Windows-1252, the code page of text files written by Windows editors: the code point
// of one byte (the five unassigned bytes 0x81, 0x8D, 0x8F, 0x90, 0x9D keep their value,
// as the Windows conversion does).
char32_t Cp1252ToCodePoint(std::uint8_t b);
std::string Cp1252ToUtf8(std::string_view bytes);
// Back to Windows-1252; a character it lacks becomes '?', invalid UTF-8 too.
std::string Utf8ToCp1252(std::string_view utf8);

// Cuts a UTF-8 text so that it takes at most max_units UTF-16 code units, never
// splitting a character (the rule of a fixed wide-character buffer of max_units + 1).
std::string CutToUtf16Units(std::string_view s, std::size_t max_units);

// Reads a fixed field that may lack its terminator: stops at the first 0 or at N.
template <std::size_t N>
std::u16string_view FieldView(const char16_t (&field)[N]) {
    std::size_t n = 0;
    while (n < N && field[n] != 0) ++n;
    return {field, n};
}

template <std::size_t N>
std::string FieldToUtf8(const char16_t (&field)[N]) {
    return Utf16ToUtf8(FieldView(field));
}

// Stores text into a fixed field, cut to N - 1 code units and always terminated;
// the rest of the field is zeroed so records compare and save byte-exactly.
template <std::size_t N>
void SetField(char16_t (&field)[N], std::u16string_view text) {
    std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
    // Do not leave half of a surrogate pair at the cut.
    if (n > 0 && n < text.size() && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
    for (std::size_t i = 0; i < N; ++i) field[i] = i < n ? text[i] : u'\0';
}

template <std::size_t N>
void SetField(char16_t (&field)[N], std::string_view utf8) {
    SetField(field, std::u16string_view(Utf8ToUtf16(utf8)));
}

}  // namespace quobel
