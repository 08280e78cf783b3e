// Any bytes through the XML reader: decoding, the element index, a walk over every
// element with its name and data, and the text lookups of the language loader.
// Names and data must come out as valid UTF-8.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "config/xml_reader.h"

namespace {

bool ValidUtf8(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (len == 0 || s.size() - i < len) return false;
        for (std::size_t k = 1; k < len; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        }
        i += len;
    }
    return true;
}

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quobel::XmlReader xml;
    (void)xml.LoadBytes(std::span<const std::uint8_t>(data, size));
    xml.Parse();

    // Depth-first walk without recursion: into every child, back out when none is left.
    xml.ResetPos();
    for (;;) {
        if (xml.FindChildElem()) {
            Check(ValidUtf8(xml.GetChildTagName()));
            Check(ValidUtf8(xml.GetChildData()));
            Check(xml.IntoElem());
            continue;
        }
        if (!xml.OutOfElem()) break;
    }

    xml.ResetPos();
    if (xml.FindChildElem("config") && xml.IntoElem()) {
        while (xml.FindChildElem()) (void)xml.GetChildData();
    }
    return 0;
}
