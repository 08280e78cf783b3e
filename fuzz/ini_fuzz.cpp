// Feeds arbitrary bytes to the INI reader and the cfg.ini value parsers, and checks
// the writer's promises: saving is stable, and a key that was set reads back.

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "base/reporter.h"
#include "config/value_parsers.h"
#include "platform/ini.h"

namespace {

using quobel::IniFile;

void CheckAt(bool ok, int line) {
    if (ok) return;
    std::fprintf(stderr, "ini_fuzz: check at line %d failed\n", line);
    std::abort();
}
#define Check(ok) CheckAt((ok), __LINE__)

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// A name or value the writer can hold on one line: printable ASCII without the
// characters that start or end a header, a comment or a key.
std::string Token(FuzzedDataProvider& in, bool name) {
    std::string s = in.ConsumeRandomLengthString(24);
    std::string out;
    for (char c : s) {
        if (c < 0x20 || c > 0x7E) continue;
        if (name && (c == '=' || c == '[' || c == ']' || c == ';')) continue;
        out += c;
    }
    if (name && Trim(out).empty()) out = "k";
    return out;
}

void ParseEveryValue(const IniFile& ini, std::string_view section, std::string_view key) {
    quobel::CollectingReporter reporter;
    const auto v = ini.Get(section, key);
    (void)ini.GetInt(section, key, 7);
    (void)ini.GetString(section, key, "def", 30);
    if (!v) return;
    std::array<std::int32_t, 8> ints{};
    std::array<std::uint8_t, 8> bytes{};
    std::array<quobel::Colour, 7> colours{};
    Check(quobel::ParseNumberList(*v, 10, ints, 8) <= 8);
    Check(quobel::ParseNumberList(*v, 16, {}, 50) <= 50);
    Check(quobel::ParseByteList(*v, 16, bytes, 8) <= 8);
    Check(quobel::ParseColourList(*v, colours) <= 7);
    (void)quobel::ParseColour(*v);
    quobel::Point pt;
    quobel::Rect rc;
    (void)quobel::ReadPoint(ini, key, pt, 1, 2, section, reporter);
    (void)quobel::ReadRect(ini, key, rc, section, reporter);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string section = Token(in, true);
    const std::string key = Token(in, true);
    const std::string value = Token(in, false);
    const std::vector<std::uint8_t> file = in.ConsumeRemainingBytes<std::uint8_t>();

    IniFile ini = IniFile::FromBytes(file);
    ParseEveryValue(ini, section, key);
    ParseEveryValue(ini, "OPT", "Debug");

    // Saving what was read and reading it again changes nothing more.
    const std::vector<std::uint8_t> once = ini.ToBytes();
    Check(IniFile::FromBytes(once).ToBytes() == once);

    // A key that was set reads back, in memory and after a save.
    ini.Set(section, key, value);
    std::string_view want = Trim(value);
    if (want.size() >= 2 && (want.front() == '"' || want.front() == '\'') && want.back() == want.front()) {
        want = want.substr(1, want.size() - 2);
    }
    Check(ini.Get(section, key) == std::string(want));
    Check(IniFile::FromBytes(ini.ToBytes()).Get(section, key) == std::string(want));
    return 0;
}
