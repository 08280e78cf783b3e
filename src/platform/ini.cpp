#include "platform/ini.h"

#include <algorithm>

#include "base/file_io.h"
#include "base/utf16.h"

namespace quobel {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string_view Unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v.remove_prefix(1);
        v.remove_suffix(1);
    }
    return v;
}

}  // namespace

IniFile IniFile::FromBytes(std::span<const std::uint8_t> bytes) {
    std::string text;
    bool utf16 = false;
    bool bom = false;
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        utf16 = bom = true;
        std::u16string wide;
        wide.reserve(bytes.size() / 2);
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            wide += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        }
        text = Utf16ToUtf8(wide);
    } else {
        std::size_t start = 0;
        if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
            bom = true;
            start = 3;
        }
        text.assign(reinterpret_cast<const char*>(bytes.data()) + start, bytes.size() - start);
    }
    const bool cp1252 = !utf16 && !bom && !IsValidUtf8(text);
    if (cp1252) text = Cp1252ToUtf8(text);
    IniFile ini = FromText(text);
    ini.utf16_ = utf16;
    ini.cp1252_ = cp1252;
    ini.bom_ = bom;
    return ini;
}

IniFile IniFile::FromText(std::string_view utf8) {
    IniFile ini;
    ini.opened_ = true;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        std::size_t end = utf8.find('\n', pos);
        std::string eol;
        if (end == std::string_view::npos) {
            end = utf8.size();
        } else {
            eol = (end > pos && utf8[end - 1] == '\r') ? "\r\n" : "\n";
        }
        const std::size_t text_end = eol == "\r\n" ? end - 1 : end;
        Line line = ParseLine(std::string(utf8.substr(pos, text_end - pos)));
        line.eol = std::move(eol);
        ini.lines_.push_back(std::move(line));
        pos = end + 1;
    }
    // New lines end like the file's first line.
    if (!ini.lines_.empty() && ini.lines_.front().eol == "\n") ini.eol_ = "\n";
    return ini;
}

IniFile IniFile::Load(const std::string& path) {
    auto bytes = ReadWholeFile(path, kMaxFileBytes);
    if (!bytes) return IniFile{};
    return FromBytes(*bytes);
}

IniFile::Line IniFile::ParseLine(std::string text) {
    Line line;
    const std::string_view t = Trim(text);
    if (!t.empty() && t.front() == '[') {
        const auto close = t.find(']');
        line.header = true;
        line.section = Lower(Trim(t.substr(1, close == std::string_view::npos ? t.size() - 1 : close - 1)));
    } else if (!t.empty() && t.front() != ';') {
        const auto eq = t.find('=');
        if (eq != std::string_view::npos) {
            line.is_key = true;
            line.key = Lower(Trim(t.substr(0, eq)));
        }
    }
    line.text = std::move(text);
    return line;
}

std::optional<std::size_t> IniFile::FindSection(std::string_view section) const {
    const std::string want = Lower(Trim(section));
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].header && lines_[i].section == want) return i;
    }
    return std::nullopt;
}

std::optional<std::size_t> IniFile::FindKey(std::size_t header, std::string_view key) const {
    const std::string want = Lower(Trim(key));
    for (std::size_t i = header + 1; i < lines_.size() && !lines_[i].header; ++i) {
        if (lines_[i].is_key && lines_[i].key == want) return i;
    }
    return std::nullopt;
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
    const auto header = FindSection(section);
    if (!header) return std::nullopt;
    const auto at = FindKey(*header, key);
    if (!at) return std::nullopt;
    const std::string_view text = lines_[*at].text;
    return std::string(Unquote(Trim(text.substr(text.find('=') + 1))));
}

std::int32_t ParseProfileInt(std::string_view v) {
    std::uint32_t value = 0;
    if (v.size() >= 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X')) {
        for (std::size_t i = 2; i < v.size(); ++i) {
            const char c = v[i];
            std::uint32_t d = 0;
            if (c >= '0' && c <= '9') d = static_cast<std::uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f') d = static_cast<std::uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F') d = static_cast<std::uint32_t>(c - 'A' + 10);
            else break;
            value = value * 16 + d;  // wraps modulo 2^32 like the platform's reader
        }
        return static_cast<std::int32_t>(value);
    }
    bool negative = false;
    std::size_t i = 0;
    if (!v.empty() && (v[0] == '-' || v[0] == '+')) {
        negative = v[0] == '-';
        i = 1;
    }
    for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i) {
        value = value * 10 + static_cast<std::uint32_t>(v[i] - '0');
    }
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

std::int32_t IniFile::GetInt(std::string_view section, std::string_view key, std::int32_t def) const {
    const auto v = Get(section, key);
    return v && !v->empty() ? ParseProfileInt(*v) : def;
}

std::string IniFile::GetString(std::string_view section, std::string_view key, std::string_view def,
                               std::size_t buf_chars) const {
    const auto v = Get(section, key);
    const std::size_t max_units = buf_chars > 0 ? buf_chars - 1 : 0;
    return CutToUtf16Units(v ? std::string_view(*v) : def, max_units);
}

void IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
    opened_ = true;
    const std::string text = std::string(Trim(key)) + "=" + std::string(value);
    auto new_line = [this](std::string t) {
        // A last line without a line end gets one before anything follows it.
        if (!lines_.empty() && lines_.back().eol.empty()) lines_.back().eol = eol_;
        Line line = ParseLine(std::move(t));
        line.eol = eol_;
        return line;
    };
    auto header = FindSection(section);
    if (!header) {
        Line head = new_line("[" + std::string(Trim(section)) + "]");
        lines_.push_back(std::move(head));
        Line entry = new_line(text);
        lines_.push_back(std::move(entry));
        return;
    }
    if (const auto at = FindKey(*header, key)) {
        // The key keeps the spelling the file gives it.
        const std::string_view old_text = lines_[*at].text;
        Line line = ParseLine(std::string(Trim(old_text.substr(0, old_text.find('=')))) + "=" +
                              std::string(value));
        line.eol = lines_[*at].eol;
        lines_[*at] = std::move(line);
        return;
    }
    // After the section's last key line, so trailing blank lines stay between sections.
    std::size_t insert = *header + 1;
    for (std::size_t i = *header + 1; i < lines_.size() && !lines_[i].header; ++i) {
        if (!Trim(lines_[i].text).empty()) insert = i + 1;
    }
    Line entry = new_line(text);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert), std::move(entry));
}

std::vector<std::uint8_t> IniFile::ToBytes() const {
    std::string text;
    for (const Line& line : lines_) {
        text += line.text;
        text += line.eol;
    }
    if (cp1252_) text = Utf8ToCp1252(text);
    std::vector<std::uint8_t> out;
    if (utf16_) {
        out = {0xFF, 0xFE};
        for (char16_t c : Utf8ToUtf16(text)) {
            out.push_back(static_cast<std::uint8_t>(c));
            out.push_back(static_cast<std::uint8_t>(c >> 8));
        }
    } else {
        // Sized once and copied into: inserting into a vector that may be empty trips a
        // false overread warning of GCC 12 in optimised builds.
        const std::size_t bom = bom_ ? 3 : 0;
        out.resize(bom + text.size());
        if (bom_) {
            out[0] = 0xEF;
            out[1] = 0xBB;
            out[2] = 0xBF;
        }
        std::copy(text.begin(), text.end(), out.begin() + static_cast<std::ptrdiff_t>(bom));
    }
    return out;
}

bool IniFile::Save(const std::string& path) const { return WriteFileAtomic(path, ToBytes()); }

}  // namespace quobel
