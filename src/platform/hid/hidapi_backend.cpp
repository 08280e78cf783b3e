#include "platform/hid/hidapi_backend.h"

#include <hidapi.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <mutex>
#include <set>

#include "base/log.h"
#include "base/utf16.h"
#include "platform/hid/report_descriptor.h"

namespace quobel {

namespace {

constexpr std::size_t kProductChars = 260;
constexpr std::size_t kMaxDescriptor = 4096;  // HID_MAX_DESCRIPTOR_SIZE of the kernel

// The report descriptor of a hidraw node, from sysfs (readable without access to
// the node itself).
std::vector<std::uint8_t> ReadSysfsDescriptor(const std::string& node) {
    const auto slash = node.rfind('/');
    const std::string name = slash == std::string::npos ? node : node.substr(slash + 1);
    std::ifstream in("/sys/class/hidraw/" + name + "/device/report_descriptor", std::ios::binary);
    if (!in) return {};
    std::vector<std::uint8_t> bytes;
    char c = 0;
    while (bytes.size() <= kMaxDescriptor && in.get(c)) bytes.push_back(static_cast<std::uint8_t>(c));
    return bytes;
}

std::vector<std::uint8_t> ReadDescriptor(const std::string& node) {
    std::vector<std::uint8_t> bytes = ReadSysfsDescriptor(node);
#if defined(HID_API_VERSION) && HID_API_VERSION >= HID_API_MAKE_VERSION(0, 14, 0)
    if (bytes.empty()) {
        if (hid_device* dev = hid_open_path(node.c_str())) {
            std::vector<std::uint8_t> buf(HID_API_MAX_REPORT_DESCRIPTOR_SIZE);
            const int n = hid_get_report_descriptor(dev, buf.data(), buf.size());
            if (n > 0) bytes.assign(buf.begin(), buf.begin() + n);
            hid_close(dev);
        }
    }
#endif
    return bytes;
}

// The error of the hidraw call that just failed; hidapi leaves errno as the kernel set
// it. EIO when nothing was recorded.
int SystemError() { return errno != 0 ? errno : EIO; }

class HidapiDevice final : public HidDevice {
public:
    HidapiDevice(hid_device* dev, HidInterfaceInfo info) : dev_(dev), info_(std::move(info)) {}
    ~HidapiDevice() override { hid_close(dev_); }
    HidapiDevice(const HidapiDevice&) = delete;
    HidapiDevice& operator=(const HidapiDevice&) = delete;

    HidIo SetFeature(std::span<const std::uint8_t> report) override {
        std::scoped_lock lock(mutex_);
        // A report longer than the interface's feature report is cut to its length, as
        // the Windows HID driver does (the keyboard's request is one byte longer than
        // its interface declares); the whole report counts as sent.
        const std::size_t own = info_.lengths.feature;
        const std::size_t len = own > 0 && report.size() > own ? own : report.size();
        errno = 0;
        const int n = hid_send_feature_report(dev_, report.data(), len);
        if (n < 0) return {0, SystemError()};
        if (static_cast<std::size_t>(n) != len) return {static_cast<std::size_t>(n), EIO};
        return {report.size(), 0};
    }
    HidIo GetFeature(std::span<std::uint8_t> report) override {
        std::scoped_lock lock(mutex_);
        errno = 0;
        const int n = hid_get_feature_report(dev_, report.data(), report.size());
        if (n < 0) return {0, SystemError()};
        return {static_cast<std::size_t>(n), 0};
    }
    HidIo ReadInput(std::span<std::uint8_t> report, std::chrono::milliseconds timeout) override {
        std::scoped_lock lock(read_mutex_);
        errno = 0;
        const int n = hid_read_timeout(dev_, report.data(), report.size(), static_cast<int>(timeout.count()));
        if (n < 0) return {0, SystemError()};
        if (n == 0) return {0, ETIMEDOUT};
        return {static_cast<std::size_t>(n), 0};
    }
    bool GetProductString(std::string& out) override {
        std::scoped_lock lock(mutex_);
        wchar_t buf[kProductChars] = {};
        if (hid_get_product_string(dev_, buf, kProductChars) != 0) return false;
        buf[kProductChars - 1] = 0;
        out.clear();
        for (const wchar_t* p = buf; *p != 0; ++p) AppendUtf8(out, static_cast<char32_t>(*p));
        return true;
    }
    const HidInterfaceInfo& Info() const override { return info_; }

private:
    hid_device* const dev_;
    const HidInterfaceInfo info_;
    std::mutex mutex_;       // feature reports and strings: one at a time
    std::mutex read_mutex_;  // input reads, apart so a waiting read holds up no feature report
};

}  // namespace

HidapiBackend::HidapiBackend() : initialised_(hid_init() == 0) {}

HidapiBackend::~HidapiBackend() {
    if (initialised_) hid_exit();
}

std::vector<HidapiBackend::Candidate> HidapiBackend::Enumerate(bool verbose) const {
    std::vector<Candidate> out;
    if (!initialised_) return out;
    hid_device_info* list = hid_enumerate(0, 0);
    std::set<std::string> seen;  // hidapi 0.14 lists a node once per collection
    for (const hid_device_info* d = list; d != nullptr; d = d->next) {
        if (d->path == nullptr || !seen.insert(d->path).second) continue;
        const std::string node = d->path;
        const std::vector<std::uint8_t> desc = ReadDescriptor(node);
        const ParsedReportDescriptor parsed = ParseReportDescriptor(desc);
        if (!parsed.ok()) {
            if (verbose) LogPrint("HID %s: report descriptor skipped: %s", node.c_str(), parsed.error.c_str());
            continue;
        }
        for (std::size_t i = 0; i < parsed.collections.size(); ++i) {
            const HidCollection& c = parsed.collections[i];
            Candidate cand;
            char instance[64];
            std::snprintf(instance, sizeof instance, "%s&col%02zu", node.c_str(), i + 1);
            cand.info.path = MakeDeviceName(d->vendor_id, d->product_id, instance);
            cand.info.vid = d->vendor_id;
            cand.info.pid = d->product_id;
            cand.info.usage_page = c.usage_page;
            cand.info.usage = c.usage;
            cand.info.lengths = c.lengths;
            cand.node = node;
            if (verbose) {
                LogPrint("HID %s usage %04x:%04x input %u output %u feature %u", cand.info.path.c_str(),
                         unsigned{c.usage_page}, unsigned{c.usage}, unsigned{c.lengths.input},
                         unsigned{c.lengths.output}, unsigned{c.lengths.feature});
            }
            out.push_back(std::move(cand));
        }
    }
    hid_free_enumeration(list);
    return out;
}

const HidapiBackend::Candidate* HidapiBackend::Match(const std::vector<Candidate>& all,
                                                     const OpenRequest& request) const {
    for (const Candidate& c : all) {
        if (c.info.usage_page != request.usage_page || c.info.usage != request.usage) continue;
        if (!PathMatches(c.info.path, request.path_filter)) continue;
        if (request.size_filter && !request.size_filter(c.info.lengths)) continue;
        return &c;
    }
    return nullptr;
}

OpenResult HidapiBackend::Open(const OpenRequest& request) {
    const std::vector<Candidate> all = Enumerate(request.verbose);
    const Candidate* c = Match(all, request);
    if (c == nullptr) return {nullptr, OpenError::NotFound, 0};
    if (::access(c->node.c_str(), R_OK | W_OK) != 0) {
        const int err = errno;
        return {nullptr, err == EACCES || err == EPERM ? OpenError::NoAccess : OpenError::Failed, err};
    }
    hid_device* dev = hid_open_path(c->node.c_str());
    if (dev == nullptr) {
        const int err = errno != 0 ? errno : EIO;
        return {nullptr, err == EACCES || err == EPERM ? OpenError::NoAccess : OpenError::Failed, err};
    }
    return {std::make_shared<HidapiDevice>(dev, c->info), OpenError::None, 0};
}

Presence HidapiBackend::Probe(const OpenRequest& request) {
    const std::vector<Candidate> all = Enumerate(false);
    const Candidate* c = Match(all, request);
    if (c == nullptr) return Presence::Absent;
    return ::access(c->node.c_str(), R_OK | W_OK) == 0 ? Presence::Present : Presence::NoAccess;
}

}  // namespace quobel
