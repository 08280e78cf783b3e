// The profile store and the macro folder at full size: loading and saving a pro.dct
// of 20 profiles (the flush to disk included) and scanning 2000 macro files.

#include <stdlib.h>

#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

#include "base/sleeper.h"
#include "base/utf16.h"
#include "macro/macro_file.h"
#include "macro/macro_folder.h"
#include "profile/profile_defaults.h"
#include "profile/profile_store.h"

namespace quobel {
namespace {

class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quobel-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern + "/";
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    [[nodiscard]] const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Ids without the 20 ms pauses.
IdGenerator& QuickIds() {
    static RecordingSleeper sleeper;
    static int ms = 0;
    static IdGenerator ids(sleeper, [] {
        ms += 20;
        return TimeOfDay{10, ms / 60000 % 60, ms / 1000 % 60, ms % 1000};
    });
    return ids;
}

void FillFullList(CProList& list) {
    const Config config;
    for (std::size_t i = 0; i < kMaxProfiles; ++i) {
        ProfileData p;
        CreateProfile(p, 0, "Profile " + std::to_string(i), config, QuickIds());
        // Touch every part so that the records are not mostly zero pages.
        for (auto& key : p.Kb.Keys) key.FunID = MakeFunID(1, static_cast<std::uint32_t>(i));
        for (auto& group : p.Kb.clrKey) {
            for (auto& clr : group) clr = 0x123456;
        }
        list.AddProfile(p);
    }
}

void BM_SaveProDct(benchmark::State& state) {
    ScratchDir dir;
    CProList list;
    FillFullList(list);
    for (auto _ : state) {
        if (!SaveProfiles(list, dir.path())) state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveProDct)->Unit(benchmark::kMillisecond);

void BM_LoadProDct(benchmark::State& state) {
    ScratchDir dir;
    CProList list;
    FillFullList(list);
    if (!SaveProfiles(list, dir.path())) state.SkipWithError("save failed");
    for (auto _ : state) {
        CProList loaded;
        if (LoadProfiles(loaded, dir.path()) != static_cast<int>(kMaxProfiles)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(loaded.FirstProfile());
    }
}
BENCHMARK(BM_LoadProDct)->Unit(benchmark::kMillisecond);

// The slot walk alone, without the file.
void BM_ParseProDctImage(benchmark::State& state) {
    CProList list;
    FillFullList(list);
    const std::vector<std::uint8_t> image = BuildProDctImage(list);
    for (auto _ : state) {
        CProList loaded;
        benchmark::DoNotOptimize(LoadProfilesFromImage(loaded, image));
    }
}
BENCHMARK(BM_ParseProDctImage)->Unit(benchmark::kMillisecond);

// What a save costs before the flush to disk.
void BM_BuildProDctImage(benchmark::State& state) {
    CProList list;
    FillFullList(list);
    for (auto _ : state) benchmark::DoNotOptimize(BuildProDctImage(list));
}
BENCHMARK(BM_BuildProDctImage)->Unit(benchmark::kMillisecond);

void BM_LoadAndSaveProDct(benchmark::State& state) {
    ScratchDir dir;
    {
        CProList list;
        FillFullList(list);
        if (!SaveProfiles(list, dir.path())) state.SkipWithError("save failed");
    }
    for (auto _ : state) {
        CProList list;
        LoadProfiles(list, dir.path());
        if (!SaveProfiles(list, dir.path())) state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_LoadAndSaveProDct)->Unit(benchmark::kMillisecond);

void BM_ScanMacroFolder2000(benchmark::State& state) {
    ScratchDir dir;
    const std::string mac = dir.path() + "Mac";
    for (int i = 0; i < 2000; ++i) {
        MacroRecord r = NewMacroRecord("Macro " + std::to_string(i), QuickIds());
        for (int e = 0; e < 30; ++e) r.events[e] = {static_cast<std::uint16_t>(0x41 + e % 26), 1, 50};
        // Spread over a few groups, as users keep them.
        const std::string group = i % 4 == 0 ? "" : "/Group" + std::to_string(i % 4);
        const MacroFileBytes bytes = EncodeMacroFile(r);
        if (!MyCreateFile(mac + group + "/Macro " + std::to_string(i) + ".mck", bytes).ok()) {
            state.SkipWithError("setup failed");
        }
    }
    for (auto _ : state) {
        MacroList list;
        MacroScanOptions scan;
        scan.add_to = &list;
        scan.nMacroDir = 1;
        if (!ScanMacroFolder(mac, scan) || list.Count() != 2000) state.SkipWithError("scan failed");
    }
}
BENCHMARK(BM_ScanMacroFolder2000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quobel
