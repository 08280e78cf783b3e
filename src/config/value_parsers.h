#pragma once
// The value syntax shared by every key of cfg.ini: number lists, colours, colour
// lists, points and rectangles.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "base/geometry.h"
#include "base/reporter.h"
#include "platform/ini.h"

namespace quobel {

// Splits text (at most 1023 characters) at commas, skipping empty pieces, and converts
// each piece in base 10 or 16; the first piece that is not a number in full ends the
// list, and so do a full destination and the end of the text. Returns how many values
// were taken. An empty destination only counts (up to most).
int ParseNumberList(std::string_view text, int base, std::span<std::int32_t> dest, int most);
// The same, each value cut to its low byte.
int ParseByteList(std::string_view text, int base, std::span<std::uint8_t> dest, int most);

// Three decimal bytes red, green, blue; components left out are 0.
Colour ParseColour(std::string_view text);
// A missing or empty key gives def.
Colour ReadColour(const IniFile& ini, std::string_view section, std::string_view key, Colour def);

// Up to 30 decimal bytes taken as red, green, blue triples, at most 7 colours; the list
// ends at the first 0,0,0 triple, which is stored but not counted. Returns the count.
int ParseColourList(std::string_view text, std::span<Colour, 7> dest);

// "x,y": dest gets the default first; a present key with fewer than 2 numbers reports
// "Wrong POINT num" and keeps it. Returns true when a value was read.
bool ReadPoint(const IniFile& ini, std::string_view key, Point& dest, std::int32_t def_x,
               std::int32_t def_y, std::string_view section, Reporter& reporter);

// "left,top,right,bottom": a missing key or one with fewer than 4 numbers ("Wrong rect
// num") leaves dest untouched and returns false.
bool ReadRect(const IniFile& ini, std::string_view key, Rect& dest, std::string_view section,
              Reporter& reporter);

}  // namespace quobel
