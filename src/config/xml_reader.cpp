#include "config/xml_reader.h"

#include <array>
#include <cerrno>
#include <filesystem>
#include <limits>
#include <system_error>
#include <unordered_map>

#include "base/file_io.h"
#include "base/utf16.h"
#include "config/xml_entities.h"

namespace quobel {
namespace {

constexpr std::size_t npos = std::u32string::npos;
// The element index keeps offsets in 32 bits.
static_assert(XmlReader::kMaxFileBytes < std::numeric_limits<std::uint32_t>::max() / 4);
constexpr char32_t kReplacement = 0xFFFD;

// ---- Decoding -------------------------------------------------------------------

// One strictly valid UTF-8 sequence at b[i] (no overlong forms, no surrogates, nothing
// above U+10FFFF): its code point and length, or length 0 when invalid.
struct Utf8Seq {
    char32_t cp = 0;
    std::size_t len = 0;
};

Utf8Seq DecodeUtf8At(std::span<const std::uint8_t> b, std::size_t i) {
    const std::uint8_t c = b[i];
    if (c < 0x80) return {c, 1};
    std::size_t len = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2, cp = c & 0x1Fu, min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3, cp = c & 0x0Fu, min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4, cp = c & 0x07u, min = 0x10000;
    } else {
        return {};
    }
    if (b.size() - i < len) return {};
    for (std::size_t k = 1; k < len; ++k) {
        if ((b[i + k] & 0xC0) != 0x80) return {};
        cp = (cp << 6) | (b[i + k] & 0x3Fu);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {};
    return {cp, len};
}

void DecodeUtf8(std::span<const std::uint8_t> b, std::u32string& out) {
    out.reserve(b.size());
    for (std::size_t i = 0; i < b.size();) {
        const Utf8Seq s = DecodeUtf8At(b, i);
        if (s.len == 0) {
            out += kReplacement;
            ++i;
        } else {
            out += s.cp;
            i += s.len;
        }
    }
}

void DecodeSingleByte(std::span<const std::uint8_t> b, bool cp1252, std::u32string& out) {
    out.reserve(b.size());
    for (const std::uint8_t c : b) {
        out += cp1252 ? Cp1252ToCodePoint(c) : char32_t{c};
    }
}

// Decodes whole 16-bit units (an odd last byte is not read); null units are dropped.
// Returns the number of nulls removed.
std::size_t DecodeUtf16(std::span<const std::uint8_t> b, bool big_endian, std::u32string& out) {
    const std::size_t units = b.size() / 2;
    out.reserve(units);
    std::size_t nulls = 0;
    char32_t high = 0;  // pending high surrogate
    for (std::size_t k = 0; k < units; ++k) {
        const std::uint8_t lo = b[2 * k + (big_endian ? 1 : 0)];
        const std::uint8_t hi = b[2 * k + (big_endian ? 0 : 1)];
        const char32_t u = char32_t{lo} | (char32_t{hi} << 8);
        if (u == 0) {
            ++nulls;
            continue;
        }
        if (u >= 0xDC00 && u <= 0xDFFF && high != 0) {
            out += 0x10000 + ((high - 0xD800) << 10) + (u - 0xDC00);
            high = 0;
            continue;
        }
        if (high != 0) out += kReplacement;
        high = 0;
        if (u >= 0xD800 && u <= 0xDBFF) {
            high = u;
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            out += kReplacement;
        } else {
            out += u;
        }
    }
    if (high != 0) out += kReplacement;
    return nulls;
}

// ---- The encoding a document names ----------------------------------------------

using Bytes = std::span<const std::uint8_t>;

bool IsSpaceByte(std::uint8_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
char LowerByte(std::uint8_t c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); }

bool StartsWithNoCase(Bytes b, std::size_t i, std::string_view word) {
    if (b.size() - i < word.size()) return false;
    for (std::size_t k = 0; k < word.size(); ++k) {
        if (LowerByte(b[i + k]) != word[k]) return false;
    }
    return true;
}

std::string LowerAscii(Bytes b) {
    std::string s;
    for (const std::uint8_t c : b) s += LowerByte(c);
    return s;
}

// The value of attribute `name` (lower-case) in the tag bytes b, lower-cased; empty
// when missing. One pass over the tag.
std::string AttributeValue(Bytes b, std::string_view name) {
    std::size_t i = 0;
    while (i < b.size()) {
        while (i < b.size() && (IsSpaceByte(b[i]) || b[i] == '/')) ++i;
        const std::size_t name_start = i;
        while (i < b.size() && !IsSpaceByte(b[i]) && b[i] != '=' && b[i] != '/') ++i;
        const std::string attr = LowerAscii(b.subspan(name_start, i - name_start));
        while (i < b.size() && IsSpaceByte(b[i])) ++i;
        if (i >= b.size() || b[i] != '=') continue;
        ++i;
        while (i < b.size() && IsSpaceByte(b[i])) ++i;
        std::size_t value_start = i;
        std::size_t value_end = i;
        if (i < b.size() && (b[i] == '"' || b[i] == '\'')) {
            const std::uint8_t quote = b[i];
            value_start = ++i;
            while (i < b.size() && b[i] != quote) ++i;
            value_end = i;
            if (i < b.size()) ++i;
        } else {
            while (i < b.size() && !IsSpaceByte(b[i])) ++i;
            value_end = i;
        }
        if (attr == name) return LowerAscii(b.subspan(value_start, value_end - value_start));
    }
    return {};
}

std::string TrimAscii(std::string s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

// The encoding attribute of the XML declaration, else the charset of a meta element
// of type Content-Type; lower-cased, empty when neither names one.
std::string NamedEncoding(Bytes b) {
    std::size_t i = 0;
    while (i < b.size() && IsSpaceByte(b[i])) ++i;
    if (StartsWithNoCase(b, i, "<?xml") && b.size() - i > 5 && IsSpaceByte(b[i + 5])) {
        std::size_t end = i + 5;
        while (end + 1 < b.size() && !(b[end] == '?' && b[end + 1] == '>')) ++end;
        const std::string enc = TrimAscii(AttributeValue(b.subspan(i + 5, end - (i + 5)), "encoding"));
        if (!enc.empty()) return enc;
    }
    for (i = 0; i < b.size(); ++i) {
        if (b[i] != '<' || !StartsWithNoCase(b, i, "<meta")) continue;
        const std::size_t attrs = i + 5;
        if (attrs < b.size() && !IsSpaceByte(b[attrs]) && b[attrs] != '/' && b[attrs] != '>') continue;
        std::size_t gt = attrs;
        while (gt < b.size() && b[gt] != '>') ++gt;
        const Bytes tag = b.subspan(attrs, gt - attrs);
        if (TrimAscii(AttributeValue(tag, "http-equiv")) == "content-type") {
            const std::string content = AttributeValue(tag, "content");
            const auto cs = content.find("charset=");
            if (cs != std::string::npos) {
                std::string enc = content.substr(cs + 8);
                const auto stop = enc.find_first_of("; \t\r\n\"'");
                if (stop != std::string::npos) enc.resize(stop);
                if (!enc.empty()) return enc;
            }
        }
        i = gt;
    }
    return {};
}

enum class Enc { kNone, kUtf8, kUtf16Le, kUtf16Be, kCp1252, kLatin1 };

// The 8-bit encodings a document may name; anything else is detected instead.
Enc EightBitEncoding(const std::string& name) {
    if (name == "utf-8" || name == "utf8") return Enc::kUtf8;
    if (name == "windows-1252" || name == "cp1252" || name == "x-cp1252") return Enc::kCp1252;
    if (name == "iso-8859-1" || name == "iso8859-1" || name == "iso_8859-1" || name == "latin1" ||
        name == "latin-1" || name == "l1" || name == "us-ascii" || name == "ascii") {
        return Enc::kLatin1;
    }
    return Enc::kNone;
}

const char* EncodingName(Enc e) {
    switch (e) {
        case Enc::kUtf8: return "UTF-8";
        case Enc::kUtf16Le: return "UTF-16LE";
        case Enc::kUtf16Be: return "UTF-16BE";
        case Enc::kCp1252: return "windows-1252";
        case Enc::kLatin1: return "ISO-8859-1";
        case Enc::kNone: break;
    }
    return "";
}

// ---- Markup ---------------------------------------------------------------------

bool IsSpace(char32_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameStart(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80;
}

bool IsNameChar(char32_t c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

bool At(std::u32string_view t, std::size_t i, std::u32string_view word) {
    return t.size() - i >= word.size() && t.compare(i, word.size(), word) == 0;
}

std::string ToUtf8(std::u32string_view s) {
    std::string out;
    for (const char32_t c : s) AppendUtf8(out, c);
    return out;
}

std::u32string FromUtf8(std::string_view s) {
    std::u32string out;
    DecodeUtf8({reinterpret_cast<const std::uint8_t*>(s.data()), s.size()}, out);
    return out;
}

enum class Tok {
    kEof,
    kText,
    kStrayLt,       // '<' that starts no markup: kept as text
    kStart,
    kEnd,
    kComment,
    kCData,
    kPI,
    kDoctype,
    kBadBang,       // "<!" that is no comment, CDATA section or doctype
    kBadComment,    // "<!-" without the second '-'
    kUnterminated,  // runs to the end of the text
};

struct Token {
    Tok kind = Tok::kEof;
    std::size_t start = 0;
    std::size_t end = 0;  // one past the token
    std::size_t name_start = 0;
    std::size_t name_len = 0;
    std::size_t bad_char = npos;  // first character that may not be in a tag name
    bool empty = false;           // "<name/>"
    const char* what = "";        // the construct left unterminated
};

// End of a doctype: the '>' outside quotes and outside its internal subset.
std::size_t DoctypeEnd(std::u32string_view t, std::size_t i) {
    int depth = 0;
    while (i < t.size()) {
        const char32_t c = t[i];
        if (c == '"' || c == '\'') {
            const std::size_t q = t.find(c, i + 1);
            if (q == npos) return npos;
            i = q + 1;
            continue;
        }
        if (depth > 0 && At(t, i, U"<!--")) {
            const std::size_t e = t.find(U"-->", i + 4);
            if (e == npos) return npos;
            i = e + 3;
            continue;
        }
        if (c == '[') {
            ++depth;
        } else if (c == ']' && depth > 0) {
            --depth;
        } else if (c == '>' && depth == 0) {
            return i;
        }
        ++i;
    }
    return npos;
}

// The token at pos. Every token ends after it starts, and every scan starts at pos
// and stops at the token's end, so reading a text token by token is linear.
Token NextToken(std::u32string_view t, std::size_t pos) {
    Token tok;
    tok.start = pos;
    const std::size_t n = t.size();
    if (pos >= n) return tok;
    auto unterminated = [&](const char* what) {
        tok.kind = Tok::kUnterminated;
        tok.what = what;
        tok.end = n;
        return tok;
    };
    auto scan_name = [&](std::size_t i) {
        tok.name_start = i;
        while (i < n && !IsSpace(t[i]) && t[i] != '/' && t[i] != '>') {
            const bool ok = i == tok.name_start ? IsNameStart(t[i]) : IsNameChar(t[i]);
            if (!ok && tok.bad_char == npos) tok.bad_char = i;
            ++i;
        }
        tok.name_len = i - tok.name_start;
        if (tok.name_len == 0) tok.bad_char = i;
        return i;
    };

    if (t[pos] != '<') {
        const std::size_t lt = t.find(U'<', pos);
        tok.kind = Tok::kText;
        tok.end = lt == npos ? n : lt;
        return tok;
    }
    const char32_t c = pos + 1 < n ? t[pos + 1] : U'\0';
    if (c == '!') {
        if (At(t, pos, U"<!--")) {
            const std::size_t e = t.find(U"-->", pos + 4);
            if (e == npos) return unterminated("Comment");
            tok.kind = Tok::kComment;
            tok.end = e + 3;
        } else if (At(t, pos, U"<![CDATA[")) {
            const std::size_t e = t.find(U"]]>", pos + 9);
            if (e == npos) return unterminated("CDATA Section");
            tok.kind = Tok::kCData;
            tok.end = e + 3;
        } else if (At(t, pos, U"<!DOCTYPE")) {
            const std::size_t e = DoctypeEnd(t, pos + 9);
            if (e == npos) return unterminated("Doctype");
            tok.kind = Tok::kDoctype;
            tok.end = e + 1;
        } else {
            tok.kind = At(t, pos, U"<!-") ? Tok::kBadComment : Tok::kBadBang;
            const std::size_t gt = t.find(U'>', pos + 2);
            tok.end = gt == npos ? n : gt + 1;
        }
        return tok;
    }
    if (c == '?') {
        const std::size_t e = t.find(U"?>", pos + 2);
        if (e == npos) return unterminated("Processing instruction");
        tok.kind = Tok::kPI;
        tok.end = e + 2;
        return tok;
    }
    if (c == '/') {
        const std::size_t gt = t.find(U'>', scan_name(pos + 2));
        if (gt == npos) return unterminated("Element end tag");
        tok.kind = Tok::kEnd;
        tok.end = gt + 1;
        return tok;
    }
    if (!IsNameStart(c)) {
        tok.kind = Tok::kStrayLt;
        tok.bad_char = pos + 1;
        tok.end = pos + 1;
        return tok;
    }
    std::size_t i = scan_name(pos + 1);
    bool slash = false;
    for (;;) {
        if (i >= n) return unterminated("Element tag");
        const char32_t ch = t[i];
        if (ch == '>') break;
        if (ch == '"' || ch == '\'') {
            const std::size_t q = t.find(ch, i + 1);
            if (q == npos) return unterminated("Element tag");
            i = q + 1;
            slash = false;
            continue;
        }
        slash = ch == '/';
        ++i;
    }
    tok.kind = Tok::kStart;
    tok.empty = slash;
    tok.end = i + 1;
    return tok;
}

bool AllSpace(std::u32string_view t, std::size_t b, std::size_t e) {
    for (std::size_t i = b; i < e; ++i) {
        if (!IsSpace(t[i])) return false;
    }
    return true;
}

// Text with character references and named entities replaced. A reference that is
// malformed, unknown, 0, a surrogate or above U+10FFFF stays as written.
void AppendCharData(std::string& out, std::u32string_view t) {
    const std::size_t n = t.size();
    for (std::size_t i = 0; i < n;) {
        if (t[i] != '&') {
            AppendUtf8(out, t[i++]);
            continue;
        }
        if (i + 1 < n && t[i + 1] == '#') {
            std::size_t j = i + 2;
            const bool hex = j < n && (t[j] == 'x' || t[j] == 'X');
            if (hex) ++j;
            const std::size_t digits = j;
            std::uint32_t value = 0;
            bool too_big = false;
            for (; j < n; ++j) {
                const char32_t d = t[j];
                std::uint32_t v = 0;
                if (d >= '0' && d <= '9') {
                    v = d - '0';
                } else if (hex && d >= 'a' && d <= 'f') {
                    v = d - 'a' + 10;
                } else if (hex && d >= 'A' && d <= 'F') {
                    v = d - 'A' + 10;
                } else {
                    break;
                }
                if (!too_big) value = value * (hex ? 16 : 10) + v;
                if (value > 0x10FFFF) too_big = true;
            }
            const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
            if (j > digits && j < n && t[j] == ';' && !too_big && value != 0 && !surrogate) {
                AppendUtf8(out, value);
                i = j + 1;
                continue;
            }
        } else {
            std::size_t j = i + 1;
            while (j < n && j - i - 1 <= kMaxEntityName && t[j] != ';') ++j;
            if (j < n && t[j] == ';') {
                const char32_t cp = NamedEntity(t.substr(i + 1, j - i - 1));
                if (cp != 0) {
                    AppendUtf8(out, cp);
                    i = j + 1;
                    continue;
                }
            }
        }
        out += '&';
        ++i;
    }
}

}  // namespace

// ---- Loading --------------------------------------------------------------------

void XmlReader::Clear() {
    text_.clear();
    elems_.clear();
    encoding_.clear();
    load_status_.clear();
    parse_status_.clear();
    ResetPos();
}

bool XmlReader::Load(const std::string& path) {
    Clear();
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxFileBytes) {
        load_status_ = "file too large (" + std::to_string(size) + " bytes) ";
        return false;
    }
    // Bounded as well: the size may change after the check, and a pipe is never waited on.
    const auto bytes = ReadWholeFile(path, kMaxFileBytes);
    if (!bytes) {
        load_status_ = errno == EFBIG ? "file too large " : "cannot read file ";
        return false;
    }
    return LoadBytes(*bytes);
}

bool XmlReader::LoadBytes(std::span<const std::uint8_t> b) {
    Clear();
    if (b.size() > kMaxFileBytes) {
        load_status_ = "file too large (" + std::to_string(b.size()) + " bytes) ";
        return false;
    }
    if (b.empty()) {
        load_status_ = "0 length ";
        return true;
    }
    Enc enc = Enc::kNone;
    if (b.size() >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        enc = Enc::kUtf8;
        b = b.subspan(3);
    } else if (b.size() >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        enc = Enc::kUtf16Le;
        b = b.subspan(2);
    } else if (b.size() >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
        enc = Enc::kUtf16Be;
        b = b.subspan(2);
    }
    if (enc != Enc::kNone) {
        load_status_ += std::string(EncodingName(enc)) + " BOM + ";
    } else {
        const std::string named = NamedEncoding(b);
        enc = EightBitEncoding(named);
        if (enc != Enc::kNone) {
            load_status_ += std::string(EncodingName(enc)) + " ";
        } else if (!named.empty()) {
            load_status_ += "(encoding '" + named + "' not supported) ";
        }
    }
    if (enc == Enc::kNone) {
        if (IsValidUtf8(std::string_view(reinterpret_cast<const char*>(b.data()), b.size()))) {
            enc = Enc::kUtf8;
            load_status_ += "UTF-8 (used UTF-8 detection) ";
        } else {
            enc = Enc::kCp1252;
            load_status_ += "ANSI ";
        }
    }
    encoding_ = EncodingName(enc);

    if (enc == Enc::kUtf16Le || enc == Enc::kUtf16Be) {
        if (enc == Enc::kUtf16Be) load_status_ += "endian swap ";
        load_status_ += "length " + std::to_string(b.size() / 2) + " ";
        if (b.size() % 2 != 0) load_status_ += "(odd last byte ignored) ";
        const std::size_t nulls = DecodeUtf16(b, enc == Enc::kUtf16Be, text_);
        if (nulls > 0) load_status_ += "(" + std::to_string(nulls) + " nulls removed) ";
        return true;
    }
    if (enc == Enc::kUtf8) {
        DecodeUtf8(b, text_);
    } else {
        DecodeSingleByte(b, enc == Enc::kCp1252, text_);
    }
    load_status_ += "to " + std::to_string(text_.size()) + " wide chars ";
    return true;
}

// ---- Parsing --------------------------------------------------------------------

std::u32string_view XmlReader::NameOf(std::uint32_t elem) const {
    const Element& e = elems_[elem];
    return std::u32string_view(text_).substr(e.start + 1, e.name_len);
}

void XmlReader::Parse() {
    elems_.assign(1, Element{});
    parse_status_.clear();
    ResetPos();
    const std::u32string_view t = text_;
    // Only the first problem is kept; its text is built only then, so that a document
    // with a problem on every tag costs no more than a clean one.
    const auto first = [this] { return parse_status_.empty(); };
    auto fail = [this](std::string what) {
        if (parse_status_.empty()) parse_status_ = std::move(what);
    };
    auto at = [](std::size_t offset) { return " at offset " + std::to_string(offset); };

    std::vector<std::uint32_t> open;
    // How many open elements carry each name: an end tag that closes none of them is
    // dropped in constant time instead of searching the open list.
    std::unordered_map<std::u32string_view, std::uint32_t> open_names;
    auto close_top = [&](std::size_t content_end, std::size_t end) {
        Element& e = elems_[open.back()];
        e.content_end = static_cast<std::uint32_t>(content_end);
        e.end = static_cast<std::uint32_t>(end);
        const auto it = open_names.find(NameOf(open.back()));
        if (it != open_names.end() && --it->second == 0) open_names.erase(it);
        open.pop_back();
    };

    std::uint32_t last_top = 0;
    bool blank = true;
    std::size_t pos = 0;
    std::size_t cut = t.size();  // where an unterminated construct stopped the scan
    for (;;) {
        const Token tok = NextToken(t, pos);
        if (tok.kind == Tok::kEof) break;
        if (tok.kind != Tok::kText || !AllSpace(t, tok.start, tok.end)) blank = false;
        if (tok.kind == Tok::kUnterminated) {
            fail(std::string(tok.what) + " unterminated");
            cut = tok.start;
            break;
        }
        if (tok.kind == Tok::kBadBang) fail("Incorrect ! tag");
        if (tok.kind == Tok::kBadComment) fail("Incorrect comment tag");
        if (tok.bad_char != npos && first()) fail("Incorrect tag name character" + at(tok.bad_char));

        if (tok.kind == Tok::kStart) {
            Element e;
            e.start = static_cast<std::uint32_t>(tok.start);
            e.name_len = static_cast<std::uint32_t>(tok.name_len);
            e.content_start = e.content_end = e.end = static_cast<std::uint32_t>(tok.end);
            e.parent = open.empty() ? 0 : open.back();
            const auto idx = static_cast<std::uint32_t>(elems_.size());
            elems_.push_back(e);
            if (e.parent != 0) {
                Element& p = elems_[e.parent];
                (p.last_child != 0 ? elems_[p.last_child].next : p.first_child) = idx;
                p.last_child = idx;
            } else {
                if (last_top != 0) {
                    fail("Root element has sibling");
                    elems_[last_top].next = idx;
                }
                last_top = idx;
            }
            if (!tok.empty) {
                open.push_back(idx);
                ++open_names[NameOf(idx)];
            }
        } else if (tok.kind == Tok::kEnd) {
            const std::u32string_view name = t.substr(tok.name_start, tok.name_len);
            if (open.empty()) {
                if (first()) fail("No start tag for end tag '" + ToUtf8(name) + "'" + at(tok.start));
            } else {
                if (NameOf(open.back()) != name) {
                    if (first()) {
                        fail("End tag '" + ToUtf8(name) + "'" + at(tok.start) + " does not match start tag '" +
                             ToUtf8(NameOf(open.back())) + "'" + at(elems_[open.back()].start));
                    }
                    // Close the elements left open inside the one this tag ends; an end
                    // tag that ends no open element is dropped.
                    if (open_names.contains(name)) {
                        while (NameOf(open.back()) != name) close_top(tok.start, tok.start);
                    }
                }
                if (NameOf(open.back()) == name) close_top(tok.start, tok.end);
            }
        }
        pos = tok.end;
    }
    if (!open.empty()) {
        fail("Element '" + ToUtf8(NameOf(open.back())) + "'" + at(elems_[open.back()].start) + " not ended");
        while (!open.empty()) close_top(cut, cut);
    }
    if (elems_.size() == 1) fail(blank ? "Empty document" : "No root element");
}

// ---- Navigation -----------------------------------------------------------------

void XmlReader::ResetPos() { parent_ = current_ = child_ = 0; }

bool XmlReader::FindChildElem(std::string_view name) {
    if (current_ == 0) {
        if (elems_.size() < 2) return false;
        current_ = 1;  // elements are indexed in document order: the first is the root
        parent_ = 0;
    }
    const std::u32string wanted = FromUtf8(name);
    for (std::uint32_t e = child_ != 0 ? elems_[child_].next : elems_[current_].first_child; e != 0;
         e = elems_[e].next) {
        if (wanted.empty() || NameOf(e) == wanted) {
            child_ = e;
            return true;
        }
    }
    return false;
}

bool XmlReader::IntoElem() {
    if (child_ == 0) return false;
    parent_ = current_;
    current_ = child_;
    child_ = 0;
    return true;
}

bool XmlReader::OutOfElem() {
    if (parent_ == 0) return false;
    child_ = current_;
    current_ = parent_;
    parent_ = elems_[parent_].parent;
    return true;
}

std::string XmlReader::GetChildTagName() const { return child_ != 0 ? ToUtf8(NameOf(child_)) : std::string(); }

std::string XmlReader::GetChildData() const {
    if (child_ == 0) return {};
    const Element& e = elems_[child_];
    const std::u32string_view t = text_;
    std::string out;
    std::uint32_t child = e.first_child;
    for (std::size_t p = e.content_start; p < e.content_end;) {
        if (child != 0 && p == elems_[child].start) {
            p = elems_[child].end;
            child = elems_[child].next;
            continue;
        }
        const Token tok = NextToken(t, p);
        if (tok.kind == Tok::kEof || tok.kind == Tok::kUnterminated || tok.end > e.content_end) break;
        if (tok.kind == Tok::kText) {
            AppendCharData(out, t.substr(tok.start, tok.end - tok.start));
        } else if (tok.kind == Tok::kStrayLt) {
            out += '<';
        } else if (tok.kind == Tok::kCData) {
            out += ToUtf8(t.substr(tok.start + 9, tok.end - 3 - (tok.start + 9)));
        }
        p = tok.end;
    }
    return out;
}

}  // namespace quobel
