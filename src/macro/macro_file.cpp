#include "macro/macro_file.h"

#include <bit>
#include <cstring>

#include "base/utf16.h"

namespace quobel {

namespace {

constexpr std::u16string_view kForbidden = u"/\\?+=-*&%!#";

std::u16string_view CutExtension(std::u16string_view name) {
    const auto dot = name.find_last_of(u'.');
    return dot == std::u16string_view::npos ? name : name.substr(0, dot);
}

}  // namespace

bool IsValidMacroName(std::u16string_view name) {
    if (name.empty() || name == u"." || name == u"..") return false;
    for (const char16_t c : name) {
        if (c < 0x20 || c == 0x7F || kForbidden.find(c) != std::u16string_view::npos) return false;
    }
    return true;
}

std::optional<std::string> CleanMacroName(std::string_view name) {
    const std::u16string wide = Utf8ToUtf16(name);
    const std::u16string_view cut = CutExtension(wide);
    if (!IsValidMacroName(cut)) return std::nullopt;
    return Utf16ToUtf8(cut);
}

int MacroDeviceSize(std::span<const MacroEvent> events) {
    int size = 4;
    for (const MacroEvent& e : events) {
        if (e.wKey == 0 && e.dwDelay == 0) break;
        size += 2;
        if (e.dwDelay > 127) size += 4;
    }
    return size;
}

MacroRecord NewMacroRecord(std::string_view name, IdGenerator& ids, const IdInUse& in_use) {
    MacroRecord r;
    r.dwMagic = kMacroMagic;
    r.MacroID = ids.NewId(in_use);
    r.bAutoDelay = 1;
    r.nLoopMode = 0;
    SetField(r.szName, name);
    r.Macro_Buffer_ID = 0;
    r.nLoopCount = 1;
    return r;
}

MacroFileBytes EncodeMacroFile(const MacroRecord& record) {
    MacroRecord clean = record;
    clean.dwFlags &= ~(kMacroFlagSettingsChanged | kMacroFlagEventsChanged);
    auto bytes = std::bit_cast<MacroFileBytes>(clean);
    for (auto& b : bytes) b = RotateRight2(b);
    return bytes;
}

std::optional<MacroRecord> MacroFromRaw(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kMacroRecordSize) return std::nullopt;
    MacroFileBytes raw;
    std::memcpy(raw.data(), bytes.data(), raw.size());
    auto record = std::bit_cast<MacroRecord>(raw);
    record.szName[std::size(record.szName) - 1] = 0;
    return record;
}

std::optional<MacroRecord> DecodeMacroFile(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kMacroRecordSize) return std::nullopt;
    MacroFileBytes raw;
    for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = RotateLeft2(bytes[i]);
    return MacroFromRaw(raw);
}

MacroCheck CheckMacroRecord(const MacroRecord& record, std::uint32_t mouse_key_mask) {
    if (record.dwMagic != kMacroMagic) return MacroCheck::kBadMagic;
    for (const MacroEvent& e : record.events) {
        // The list ends at key 0 with no delay; a pure delay (key 0) is followed by
        // events that one device layout still sends.
        if (e.wKey == 0 && e.dwDelay == 0) break;
        // The encoders send the low byte only, so that is the code to check.
        const auto code = static_cast<std::uint16_t>(e.wKey & 0xFF);
        if (code >= kMacroMouseFirst && code <= kMacroMouseLast && (mouse_key_mask & MouseCodeBit(code)) == 0) {
            return MacroCheck::kUnsupportedKey;
        }
    }
    return MacroCheck::kOk;
}

}  // namespace quobel
