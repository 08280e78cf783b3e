#pragma once
// The text forms quobelctl prints numbers, colours and JSON documents in, the same in
// every command.

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "base/geometry.h"

namespace quobel::ctl {

// "0x" and the value in lower-case hexadecimal, with at least digits digits.
std::string Hex(std::uint32_t v, int digits = 0);
// A profile or macro id: "0x" and eight digits.
inline std::string HexId(std::uint32_t id) { return Hex(id, 8); }
// "#rrggbb".
std::string ColourText(Colour c);
// The JSON text of a document; bytes that are not UTF-8 (a name from a foreign file)
// are printed as U+FFFD instead of ending the command.
std::string DumpJson(const nlohmann::ordered_json& doc);

}  // namespace quobel::ctl
