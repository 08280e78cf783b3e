#include "sim/sim_backend.h"

#include <cerrno>
#include <utility>

namespace quobel {

namespace {

// An open interface of a simulated device: fails for good once the device was
// unplugged, even after it is plugged in again.
class SimHandle final : public HidDevice {
public:
    SimHandle(SimDevice& device, std::size_t iface)
        : device_(device), iface_(iface), generation_(device.Generation()) {
        const SimInterface& i = device.Interfaces()[iface];
        info_.path = device.InterfacePath(iface);
        info_.vid = device.Vid();
        info_.pid = device.Pid();
        info_.usage_page = i.usage_page;
        info_.usage = i.usage;
        info_.lengths = i.lengths;
        if (i.input) reader_ = device.OpenReader();
    }
    ~SimHandle() override {
        if (reader_ >= 0) device_.CloseReader(reader_);
    }
    SimHandle(const SimHandle&) = delete;
    SimHandle& operator=(const SimHandle&) = delete;
    HidIo SetFeature(std::span<const std::uint8_t> report) override {
        return device_.SetFeature(iface_, generation_, report);
    }
    HidIo GetFeature(std::span<std::uint8_t> report) override {
        return device_.GetFeature(iface_, generation_, report);
    }
    HidIo ReadInput(std::span<std::uint8_t> report, std::chrono::milliseconds timeout) override {
        return device_.ReadInput(iface_, generation_, reader_, report, timeout);
    }
    bool GetProductString(std::string& out) override {
        if (device_.Generation() != generation_ || !device_.Plugged()) return false;
        out = device_.Product();
        return true;
    }
    const HidInterfaceInfo& Info() const override { return info_; }

private:
    SimDevice& device_;
    const std::size_t iface_;
    const std::uint64_t generation_;
    int reader_ = -1;
    HidInterfaceInfo info_;
};

}  // namespace

SimBackend::~SimBackend() {
    Stop();
    for (auto& d : devices_) d->SetPlugListener(nullptr);
}

SimDevice& SimBackend::Add(std::unique_ptr<SimDevice> device) {
    SimDevice& d = *devices_.emplace_back(std::move(device));
    d.SetPlugListener([this](SimDevice& dev, bool plugged) { OnPlug(dev, plugged); });
    return d;
}

SimMouse* SimBackend::Mouse() const {
    for (const auto& d : devices_) {
        if (auto* m = dynamic_cast<SimMouse*>(d.get())) return m;
    }
    return nullptr;
}

SimKeyboard* SimBackend::Keyboard() const {
    for (const auto& d : devices_) {
        if (auto* k = dynamic_cast<SimKeyboard*>(d.get())) return k;
    }
    return nullptr;
}

SimPad* SimBackend::Pad() const {
    for (const auto& d : devices_) {
        if (auto* p = dynamic_cast<SimPad*>(d.get())) return p;
    }
    return nullptr;
}

SimBackend::Match SimBackend::Find(const OpenRequest& request) const {
    for (const auto& d : devices_) {
        if (!d->Plugged()) continue;
        const auto& ifaces = d->Interfaces();
        for (std::size_t i = 0; i < ifaces.size(); ++i) {
            if (ifaces[i].usage_page != request.usage_page || ifaces[i].usage != request.usage) continue;
            if (!PathMatches(d->InterfacePath(i), request.path_filter)) continue;
            if (request.size_filter && !request.size_filter(ifaces[i].lengths)) continue;
            return {d.get(), i};
        }
    }
    return {};
}

OpenResult SimBackend::Open(const OpenRequest& request) {
    const Match m = Find(request);
    if (m.device == nullptr) return {nullptr, OpenError::NotFound, 0};
    if (m.device->AccessDenied()) return {nullptr, OpenError::NoAccess, EACCES};
    return {std::make_shared<SimHandle>(*m.device, m.iface), OpenError::None, 0};
}

Presence SimBackend::Probe(const OpenRequest& request) {
    const Match m = Find(request);
    if (m.device == nullptr) return Presence::Absent;
    return m.device->AccessDenied() ? Presence::NoAccess : Presence::Present;
}

bool SimBackend::Start(DeviceEventHandler handler) {
    std::scoped_lock lock(handler_mutex_);
    handler_ = std::move(handler);
    return true;
}

void SimBackend::Stop() {
    std::scoped_lock lock(handler_mutex_);
    handler_ = nullptr;
}

void SimBackend::OnPlug(SimDevice& device, bool plugged) {
    std::scoped_lock lock(handler_mutex_);
    if (handler_) {
        handler_({plugged ? DeviceEvent::Type::Arrival : DeviceEvent::Type::Removal, device.DeviceName()});
    }
}

}  // namespace quobel
