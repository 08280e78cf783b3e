#pragma once
// The simulated HID backend: the simulated devices behind the HID access interface,
// and their plug and unplug as hot-plug events.

#include <memory>
#include <mutex>
#include <vector>

#include "config/config.h"
#include "platform/hid/hid.h"
#include "platform/hotplug/hotplug.h"
#include "sim/sim_device.h"

namespace quobel {

class SimBackend final : public HidBackend, public HotplugSource {
public:
    SimBackend() = default;
    ~SimBackend() override;
    SimBackend(const SimBackend&) = delete;
    SimBackend& operator=(const SimBackend&) = delete;

    // Adds a device (plugged in); the backend owns it.
    SimDevice& Add(std::unique_ptr<SimDevice> device);
    [[nodiscard]] SimMouse* Mouse() const;
    [[nodiscard]] SimKeyboard* Keyboard() const;
    [[nodiscard]] SimPad* Pad() const;

    [[nodiscard]] bool Available() const override { return true; }
    [[nodiscard]] OpenResult Open(const OpenRequest& request) override;
    [[nodiscard]] Presence Probe(const OpenRequest& request) override;

    [[nodiscard]] bool Start(DeviceEventHandler handler) override;
    void Stop() override;

private:
    struct Match {
        SimDevice* device = nullptr;
        std::size_t iface = 0;
    };
    [[nodiscard]] Match Find(const OpenRequest& request) const;
    void OnPlug(SimDevice& device, bool plugged);

    std::vector<std::unique_ptr<SimDevice>> devices_;  // filled before use, then fixed
    std::mutex handler_mutex_;                         // held while the handler runs
    DeviceEventHandler handler_;
};

// The simulated devices of a configuration: one per configured kind, with the
// configured ids and, for the mouse, the sensor type of the configured sensor.
[[nodiscard]] std::unique_ptr<SimBackend> MakeSimulatedDevices(const Config& cfg);

}  // namespace quobel
