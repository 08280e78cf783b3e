// Feeds arbitrary cfg.ini and lang.ini text to the [OPT] reader and the language and
// skin lists, and checks that every value start-up uses afterwards is in range.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "base/log.h"
#include "base/reporter.h"
#include "base/utf16.h"
#include "config/config.h"
#include "config/data_init.h"
#include "config/options.h"
#include "platform/ini.h"

namespace {

using namespace quobel;

void CheckAt(bool ok, int line) {
    if (ok) return;
    std::fprintf(stderr, "opt_fuzz: check at line %d failed\n", line);
    std::abort();
}
#define Check(ok) CheckAt((ok), __LINE__)

bool FitsUtf16(const std::string& s, std::size_t units) { return CutToUtf16Units(s, units) == s; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::vector<std::uint8_t> lang_bytes = in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange(0, 512));
    const std::vector<std::uint8_t> cfg_bytes = in.ConsumeRemainingBytes<std::uint8_t>();
    const IniFile cfg = IniFile::FromBytes(cfg_bytes);
    const IniFile lang = IniFile::FromBytes(lang_bytes);

    auto config = std::make_unique<Config>();
    config->szAppPath = "/prog/";
    CollectingReporter reporter;
    // No desktop folder: a Debug=2 in the input cannot make the fuzzer write files.
    Log log([] { return LogTime{}; }, [](std::string_view) {});
    ReadOptions(cfg, *config, reporter, log, "");
    GVar& g = config->gVar;
    ReadLanguagesAndSkins(cfg, lang, g, reporter);

    Check(FitsUtf16(g.szTitle, 99) && FitsUtf16(g.szVer, 9) && FitsUtf16(g.szAppDir, 29));
    Check(FitsUtf16(g.szFontName, 29));
    Check(g.nLangNum >= 0 && g.nLangNum <= static_cast<std::int32_t>(g.LangTable.size()));
    Check(g.nSkinsNum >= 0 && g.nSkinsNum <= static_cast<std::int32_t>(g.SkinsTable.size()));
    if (g.nLangNum > 0) Check(g.nLangIndex >= 0 && g.nLangIndex < g.nLangNum);
    if (g.nSkinsNum > 0) Check(g.nSkinsIndex >= 0 && g.nSkinsIndex < g.nSkinsNum);
    Check(g.nListTrans >= 0 && g.nListTrans <= 0xFFFF);
    (void)TextFilePath(*config);
    (void)SkinFolder(*config);
    const MacroLimits limits = MacroLimitsFor(g);
    Check(limits.nMacroNum >= 0 && limits.nMacroNum <= 64);
    return 0;
}
