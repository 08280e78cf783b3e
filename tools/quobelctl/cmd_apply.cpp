// quobelctl apply: writes a profile to the devices through the device code of the
// Apply button.

#include <cstdlib>
#include <memory>
#include <ostream>
#include <string_view>

#include "device/exchange_trace.h"
#include "commands.h"
#include "config/device_kinds.h"
#include "ctl_store.h"
#include "device/apply_flags.h"
#include "device/device_pair.h"
#include "device/hid_dev.h"
#include "device/hid_drv.h"
#include "macro/macro_folder.h"
#include "macro/new_id.h"
#include "platform/hid/hidapi_backend.h"
#include "platform/pointer.h"
#include "profile/profile_store.h"
#include "sim/sim_backend.h"

namespace quobel::ctl {
namespace {

int Usage(const Globals& g) {
    *g.err << "usage: quobelctl apply [--kind mouse|keyboard|pad|all] [--profile NAME|0xID] [--flags HEX] "
              "[--trace]\n";
    return 2;
}

// Boxes raised while a device is searched or written: one line each on standard error.
class ErrReporter final : public Reporter {
public:
    explicit ErrReporter(std::ostream& err) : err_(err) {}
    void Report(std::string_view caption, std::string_view text) override {
        err_ << (caption.empty() ? std::string_view("Message") : caption) << ": " << text << "\n";
    }

private:
    std::ostream& err_;
};

// The configuration as start-up reads it, then the profile store and the macro folder.
// Apply writes the store only to keep default profiles made now; when another process
// holds the data folder it applies without writing.
bool OpenApplyStore(const Globals& g, Store& s, Reporter& reporter) {
    Session session;
    if (LoadSession(g, session, reporter) != StartupResult::Ready) return false;
    s.config = std::move(session.config);
    s.texts = std::move(session.texts);
    s.lock = DataFolderLock::TryAcquire(s.config.szDataPath, "quobelctl");
    ProfileStartup startup;
    startup.writable = s.lock.held();
    StartupProfiles(s.profiles, s.config, s.texts.Get("tc_proname"), SystemIdGenerator(), startup);
    s.defaults_created = startup.defaults_created;
    if (!startup.message.empty()) *g.err << "quobelctl: " << startup.message << "\n";
    MacroScanOptions scan;
    scan.add_to = &s.macros;
    scan.nMacroDir = s.config.gVar.nMacroDir;
    scan.mouse_key_mask = static_cast<std::uint32_t>(s.config.gVar.bMacroHasMsKey);
    (void)ScanMacroFolder(MacroFolder(s), scan);  // a missing macro folder holds no macros
    // Default profiles are kept, so that the next run applies the same ones.
    return !s.defaults_created || !s.lock.held() || SaveStore(g, s);
}

struct Options {
    bool kinds[4] = {false, true, true, true};
    const std::string* profile = nullptr;
    bool has_flags = false;
    std::uint32_t flags = 0;
    bool trace = false;
};

bool ParseArgs(const Args& args, Options& o) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool has_value = i + 1 < args.size();
        if (a == "--trace") {
            o.trace = true;
        } else if (a == "--kind" && has_value) {
            const std::string& k = args[++i];
            for (DeviceKind d : kDeviceKinds) o.kinds[static_cast<int>(d)] = k == "all" || k == KindName(d);
            if (k != "all" && k != "mouse" && k != "keyboard" && k != "pad") return false;
        } else if (a == "--profile" && has_value) {
            o.profile = &args[++i];
        } else if (a == "--flags" && has_value) {
            const std::string& f = args[++i];
            char* end = nullptr;
            const unsigned long v = std::strtoul(f.c_str(), &end, 16);
            if (f.empty() || end == nullptr || *end != '\0' || v > 0xFFFFFFFFul) return false;
            o.has_flags = true;
            o.flags = static_cast<std::uint32_t>(v);
        } else {
            return false;
        }
    }
    return true;
}

// One device: its transport over the (traced) backend, its data object, one apply.
// What the apply stores in its profile (the CJ_1 mouse's second rate) is made to
// `profile` too; `amended` tells that it was.
bool ApplyOne(DeviceKind kind, const Options& o, Store& s, HidBackend& hid, Reporter& reporter, Sleeper& pauses,
              TraceOut& trace, ProfileData& profile, SystemPointer* pointer, bool& amended) {
    const std::string name(KindName(kind));
    TracingBackend traced(hid, name, trace);
    TracingSleeper sleeper(pauses, name, trace);
    const DeviceEnv env{&traced, &s.config, &reporter, &sleeper};
    DevicePair pair = MakeDevicePair(kind, env, &s.macros);
    std::unique_ptr<CHidDrv>& drv = pair.drv;
    std::unique_ptr<CHidDev>& dev = pair.dev;
    if (kind == DeviceKind::Mouse) static_cast<CDev5307&>(*dev).SetSystemPointer(pointer);
    (void)drv->Init([](std::uint32_t) {});
    (void)drv->FindDev();
    auto snapshot = std::make_unique<ProfileData>(profile);
    TracingProgress progress(name, trace);
    const std::uint32_t flags = o.has_flags ? o.flags : ApplyAllFlags(kind);
    const int result = dev->ApplySetting(*snapshot, trace.On() ? &progress : nullptr, flags);
    if (ProfileChange change = dev->Amendment(flags)) {
        change(profile);
        amended = true;
    }
    dev.reset();
    drv->Uninit();
    return result != 0;
}

}  // namespace

int CmdApply(const Globals& g, const Args& args) {
    Options o;
    if (!ParseArgs(args, o)) return Usage(g);
    ErrReporter reporter(*g.err);
    Store s;
    if (!OpenApplyStore(g, s, reporter)) return 1;
    ProfileData* profile = o.profile ? FindProfileArg(g, s, *o.profile) : s.profiles.Current();
    if (profile == nullptr) {
        if (!o.profile) *g.err << "quobelctl: no profile to apply\n";
        return 1;
    }

    std::unique_ptr<HidBackend> hid;
    if (g.simulate) hid = MakeSimulatedDevices(s.config);
    else hid = std::make_unique<HidapiBackend>();
    // Simulated devices: the pauses are recorded, not slept, and the desktop's
    // pointer settings are left alone.
    RecordingSleeper recorded;
    RealSleeper real;
    Sleeper& pauses = g.simulate ? static_cast<Sleeper&>(recorded) : real;
    std::unique_ptr<SystemPointer> pointer = g.simulate ? nullptr : MakeSystemPointer();
    TraceOut trace(o.trace ? g.out : nullptr);

    int exit_code = 0;
    bool amended = false;
    for (DeviceKind kind : kDeviceKinds) {
        if (!o.kinds[static_cast<int>(kind)] || !IsConfigured(s.config.gVar, kind)) continue;
        if (!ApplyOne(kind, o, s, *hid, reporter, pauses, trace, *profile, pointer.get(), amended)) {
            *g.err << "apply failed: " << KindName(kind) << "\n";
            exit_code = 1;
        }
    }
    // The stored profile agrees with what the device now holds, as after the window's
    // Apply; the process holding the data folder keeps its own copy.
    if (amended) {
        if (!s.lock.held()) *g.err << "quobelctl: the data folder is in use; the changed profile is not stored\n";
        else if (!SaveStore(g, s)) exit_code = 1;
    }
    return exit_code;
}

}  // namespace quobel::ctl
