#include "device/hid_drv.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <utility>

#include "base/log.h"

namespace quobel {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

void LogNoAccess(const std::string& filter) {
    LogPrint("%s: the device is attached but this user may not open it; install the udev rules "
             "file 70-quobel.rules", filter.c_str());
}

}  // namespace

bool MatchStr(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

// ---- CHidDrv ------------------------------------------------------------------------

CHidDrv::CHidDrv(const DeviceEnv& env) : env_(env) {}

unsigned long long CHidDrv::HandleLogValue(const HidHandle& h) {
    return static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(h.get()));
}

CHidDrv::~CHidDrv() = default;

int CHidDrv::IsPresent() { return Probe() != Presence::Absent ? 1 : 0; }

int CHidDrv::OpenAccess() {
    loaded_ = env_.hid != nullptr && env_.hid->Available();
    if (!loaded_) {
        LogPrint("load dll failed.");
        return 0;
    }
    return 1;
}

int CHidDrv::Init(DeviceBehaviorHandler handler) {
    if (OpenAccess() == 0) return 0;
    return StartService(std::move(handler));
}

int CHidDrv::Uninit() {
    StopService();
    return 1;
}

int CHidDrv::StartService(DeviceBehaviorHandler) { return 1; }
void CHidDrv::StopService() {}
HidHandle CHidDrv::GetHandle() const { return nullptr; }
void CHidDrv::ClearHandle() {}
int CHidDrv::SetMode(int, std::span<const std::uint32_t, 3>, int) { return 0; }

bool CHidDrv::VerboseOpen() const { return env_.cfg->nDebugLevel != 0; }

HidHandle CHidDrv::OpenInterface(const std::string& filter, SizeFilter size_filter, bool verbose,
                                 HidAccess access) {
    if (!loaded_) return nullptr;
    OpenRequest req;
    req.path_filter = filter;
    req.size_filter = std::move(size_filter);
    req.verbose = verbose;
    req.access = access;
    OpenResult r = env_.hid->Open(req);
    if (r.error == OpenError::NoAccess) LogNoAccess(filter);
    else if (r.error == OpenError::Failed) LogPrint("%s: open failed, err=%d", filter.c_str(), r.sys_error);
    return std::move(r.device);
}

Presence CHidDrv::ProbeInterface(const std::string& filter, SizeFilter size_filter) {
    if (!loaded_) return Presence::Absent;
    OpenRequest req;
    req.path_filter = filter;
    req.size_filter = std::move(size_filter);
    const Presence p = env_.hid->Probe(req);
    if (p == Presence::NoAccess) LogNoAccess(filter);
    return p;
}

bool CHidDrv::ProductMatches(const HidHandle& h, const std::string& configured) {
    if (env_.cfg->gVar.bMatchStr == 0 || configured.empty()) return true;
    std::string product;
    if (!h->GetProductString(product)) product.clear();
    LogPrint("Usb String=%s, Our Str=%s", product.c_str(), configured.c_str());
    return MatchStr(product, configured);
}

CommandResult CHidDrv::SendCommand(std::span<const std::uint8_t> data, const HidHandle& h,
                                   std::uint8_t report_id) {
    if (data.empty() || data.size() > kMaxCommandData || !h) {
        const int err = h ? EINVAL : ENODEV;
        LogPrint("SendCommand err=%d", err);
        return {false, err};
    }
    std::array<std::uint8_t, kMaxCommandData + 1> buf{};
    buf[0] = report_id;
    std::copy(data.begin(), data.end(), buf.begin() + 1);
    const std::span<const std::uint8_t> report(buf.data(), data.size() + 1);
    int err = 0;
    for (int i = 0; i < kCommandTries; ++i) {
        const HidIo r = h->SetFeature(report);
        if (r.ok() && r.bytes == report.size()) return {true, 0};
        err = r.ok() ? EIO : r.error;
        env_.sleeper->Sleep(kCommandRetryPause);
    }
    LogPrint("SendCommand err=%d", err);
    return {false, err};
}

CommandResult CHidDrv::GetCommand(std::span<std::uint8_t> out, const HidHandle& h, std::uint8_t report_id) {
    if (out.empty() || out.size() > kMaxCommandData || !h) {
        const int err = h ? EINVAL : ENODEV;
        LogPrint("GetCommand err=%d", err);
        return {false, err};
    }
    std::array<std::uint8_t, kMaxCommandData + 1> buf{};
    const std::span<std::uint8_t> report(buf.data(), out.size() + 1);
    int err = 0;
    for (int i = 0; i < kCommandTries; ++i) {
        std::fill(report.begin(), report.end(), std::uint8_t{0});
        report[0] = report_id;
        const HidIo r = h->GetFeature(report);
        if (r.ok() && r.bytes == report.size() && report[0] == report_id) {
            std::copy(report.begin() + 1, report.end(), out.begin());
            return {true, 0};
        }
        if (r.ok()) {
            LogPrint("GetCommand: report %u, %zu bytes expected, %zu found", unsigned{report_id}, report.size(),
                     r.bytes);
            err = EMSGSIZE;
        } else {
            err = r.error;
        }
        env_.sleeper->Sleep(kCommandRetryPause);
    }
    LogPrint("GetCommand err=%d", err);
    return {false, err};
}

}  // namespace quobel
