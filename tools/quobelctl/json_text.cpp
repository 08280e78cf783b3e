#include "json_text.h"

#include <cstdio>

namespace quobel::ctl {

std::string Hex(std::uint32_t v, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%0*x", digits, v);
    return buf;
}

std::string ColourText(Colour c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", Red(c), Green(c), Blue(c));
    return buf;
}

std::string DumpJson(const nlohmann::ordered_json& doc) {
    return doc.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace quobel::ctl
