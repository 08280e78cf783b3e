#include "platform/hid/hid.h"

#include <algorithm>
#include <cstdio>

namespace quobel {

namespace {
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

SizeFilter FeatureLengthIs(std::size_t len) {
    return [len](const ReportLengths& l) { return l.feature == len; };
}

SizeFilter InputLengthIs(std::size_t len) {
    return [len](const ReportLengths& l) { return l.input == len; };
}

std::string FormatPathFilter(std::uint16_t vid, std::uint16_t pid, bool upper) {
    char buf[32];
    std::snprintf(buf, sizeof buf, upper ? "VID_%04X&PID_%04X" : "VID_%04x&PID_%04x", unsigned{vid}, unsigned{pid});
    return buf;
}

bool PathMatches(std::string_view path, std::string_view filter) {
    if (filter.empty()) return true;
    const auto it = std::search(path.begin(), path.end(), filter.begin(), filter.end(),
                                [](char a, char b) { return Lower(a) == Lower(b); });
    return it != path.end();
}

std::string MakeDeviceName(std::uint16_t vid, std::uint16_t pid, std::string_view instance) {
    std::string name = "USB#" + FormatPathFilter(vid, pid, true) + "#";
    name += instance;
    return name;
}

}  // namespace quobel
