// .mck reader: decoding, the record checks, the device-size measure and the name rules.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/utf16.h"
#include "macro/macro_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quobel;
    const std::optional<MacroRecord> record = DecodeMacroFile({data, size});
    if (size < kMacroRecordSize) {
        if (record) std::abort();
        return 0;
    }
    if (!record) std::abort();
    (void)CheckMacroRecord(*record, static_cast<std::uint32_t>(data[0]) & 0x7F);
    const int measure = MacroDeviceSize(record->events);
    if (measure < 4 || measure > 4 + 6 * kMacroEventSlots) std::abort();
    const std::u16string_view name = FieldView(record->szName);
    if (name.size() >= std::size(record->szName)) std::abort();
    const std::string utf8 = Utf16ToUtf8(name);
    if (const auto clean = CleanMacroName(utf8)) {
        if (clean->empty() || clean->find('/') != std::string::npos || clean->find('\\') != std::string::npos ||
            *clean == "..") {
            std::abort();
        }
    }
    // Encoding gives back the file bytes, except the in-memory bits and the name's end.
    const MacroFileBytes again = EncodeMacroFile(*record);
    const std::optional<MacroRecord> twice = DecodeMacroFile(again);
    if (!twice || twice->MacroID != record->MacroID || (twice->dwFlags & 0xC0000000u) != 0) std::abort();
    return 0;
}
