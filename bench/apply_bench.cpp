// A full apply of the default profile to each simulated device, without the pauses
// (they are recorded, not slept): the time the encoders and the transport take. The
// counter wait_ms is what the recorded pauses add up to, the time a real device
// apply takes on top.

#include <memory>

#include <benchmark/benchmark.h>

#include "config/data_init.h"
#include "config/device_ident.h"
#include "device/hid_dev.h"
#include "device/hid_drv.h"
#include "macro/new_id.h"
#include "profile/profile_defaults.h"
#include "sim/sim_backend.h"

namespace quobel {
namespace {

// Counts the pauses of the current apply and returns at once.
class CountingSleeper final : public Sleeper {
public:
    void Sleep(std::chrono::milliseconds ms) override { total += ms.count(); }
    std::int64_t total = 0;
};

struct Setup {
    Config cfg;
    TextTable texts;
    CollectingReporter reporter;
    CountingSleeper sleeper;
    MacroList macros;
    std::unique_ptr<SimBackend> sim;
    ProfileData profile;

    Setup() {
        StartupPaths paths;
        paths.program_dir = QUOBEL_SOURCE_DIR "/data/";
        paths.data_dir = "/tmp/quobel-apply-bench";
        (void)StartCore(paths, cfg, texts, reporter, ProcessLog());
        sim = MakeSimulatedDevices(cfg);
        CreateProfile(profile, PartsOf(cfg), "bench", cfg, SystemIdGenerator());
        // Every key of the description, and per-key colours on the keyboard.
        for (int k = 0; k < cfg.gVar.KbDev.nKeyCount && k < kKbConfigKeys; ++k) profile.Kb.Keys[k] = cfg.g_defKEY[k];
        profile.Kb.nEffect = cfg.gVar.KbDev.byEffectNum;
    }
    DeviceEnv Env() { return {sim.get(), &cfg, &reporter, &sleeper}; }
};

template <class Drv, class Dev>
void RunApply(benchmark::State& state, std::uint32_t flags, Setup& s, Drv& drv, Dev& dev) {
    if (drv.Init([](std::uint32_t) {}) == 0 || drv.FindDev() == 0) {
        state.SkipWithError("no simulated device");
        return;
    }
    std::int64_t wait_ms = 0;
    for (auto _ : state) {
        s.sleeper.total = 0;
        ProfileData snapshot = s.profile;
        benchmark::DoNotOptimize(dev.ApplySetting(snapshot, nullptr, flags));
        wait_ms = s.sleeper.total;
    }
    state.counters["wait_ms"] = static_cast<double>(wait_ms);
    drv.Uninit();
}

void BM_ApplyMouse(benchmark::State& state) {
    static Setup s;
    CDrv5307 drv(s.Env());
    CDev5307 dev(s.cfg.gVar.nMsFw, &drv, &s.macros);
    RunApply(state, 0xF, s, drv, dev);
}

void BM_ApplyKeyboard(benchmark::State& state) {
    static Setup s;
    CDrv642 drv(s.Env());
    CDev642 dev(&drv, &s.macros);
    RunApply(state, 0x7, s, drv, dev);
}

void BM_ApplyPad(benchmark::State& state) {
    static Setup s;
    CDrvPad drv(s.Env());
    CDevPad dev(&drv, &s.macros);
    RunApply(state, 0x7, s, drv, dev);
}

BENCHMARK(BM_ApplyMouse)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ApplyKeyboard)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ApplyPad)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quobel
