#pragma once
// Arrival and removal of hidraw devices from udev.

#include <mutex>
#include <thread>

#include "platform/hotplug/hotplug.h"

namespace quobel {

class UdevHotplugMonitor final : public HotplugSource {
public:
    UdevHotplugMonitor() = default;
    ~UdevHotplugMonitor() override;
    UdevHotplugMonitor(const UdevHotplugMonitor&) = delete;
    UdevHotplugMonitor& operator=(const UdevHotplugMonitor&) = delete;

    // Opens the udev monitor and starts its thread; false when udev cannot be watched
    // (no udev, no netlink access) or it already runs.
    [[nodiscard]] bool Start(DeviceEventHandler handler) override;
    // Wakes the thread and joins it.
    void Stop() override;

private:
    void Run(std::stop_token stop, int wake_fd);

    std::mutex mutex_;  // Start and Stop
    DeviceEventHandler handler_;
    void* udev_ = nullptr;     // struct udev*
    void* monitor_ = nullptr;  // struct udev_monitor*
    int wake_fd_ = -1;
    std::jthread thread_;
};

}  // namespace quobel
