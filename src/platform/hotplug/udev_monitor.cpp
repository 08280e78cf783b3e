#include "platform/hotplug/udev_monitor.h"

#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>

#include "base/log.h"
#include "platform/hid/hid.h"

namespace quobel {

namespace {

bool ParseHex16(std::string_view s, std::uint16_t& out) {
    std::uint32_t v = 0;
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v, 16);
    if (ec != std::errc{} || p != s.data() + s.size() || v > 0xFFFF) return false;
    out = static_cast<std::uint16_t>(v);
    return true;
}

// "BBBB:VVVV:PPPP.NNNN", the name the kernel gives a HID device.
std::optional<UsbIds> IdsFromHidName(std::string_view name) {
    if (name.size() != 19 || name[4] != ':' || name[9] != ':' || name[14] != '.') return std::nullopt;
    UsbIds ids;
    std::uint16_t bus = 0, inst = 0;
    if (!ParseHex16(name.substr(0, 4), bus) || !ParseHex16(name.substr(5, 4), ids.vid) ||
        !ParseHex16(name.substr(10, 4), ids.pid) || !ParseHex16(name.substr(15, 4), inst)) {
        return std::nullopt;
    }
    return ids;
}

}  // namespace

std::optional<UsbIds> IdsFromHidDevpath(std::string_view devpath) {
    // The HID device is the nearest parent of the hidraw node with that name form.
    std::optional<UsbIds> found;
    std::size_t start = 0;
    while (start <= devpath.size()) {
        const std::size_t end = std::min(devpath.find('/', start), devpath.size());
        if (auto ids = IdsFromHidName(devpath.substr(start, end - start))) found = ids;
        start = end + 1;
    }
    return found;
}

UdevHotplugMonitor::~UdevHotplugMonitor() { Stop(); }

bool UdevHotplugMonitor::Start(DeviceEventHandler handler) {
    std::scoped_lock lock(mutex_);
    if (thread_.joinable()) return false;
    udev* u = udev_new();
    if (u == nullptr) return false;
    udev_monitor* mon = udev_monitor_new_from_netlink(u, "udev");
    if (mon == nullptr || udev_monitor_filter_add_match_subsystem_devtype(mon, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(mon) < 0) {
        if (mon != nullptr) udev_monitor_unref(mon);
        udev_unref(u);
        LogPrint("hot-plug: cannot watch udev events");
        return false;
    }
    const int wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake < 0) {
        udev_monitor_unref(mon);
        udev_unref(u);
        return false;
    }
    udev_ = u;
    monitor_ = mon;
    wake_fd_ = wake;
    handler_ = std::move(handler);
    thread_ = std::jthread([this, wake](std::stop_token stop) { Run(std::move(stop), wake); });
    return true;
}

void UdevHotplugMonitor::Stop() {
    std::scoped_lock lock(mutex_);
    if (!thread_.joinable()) return;
    thread_.request_stop();
    const std::uint64_t one = 1;
    if (::write(wake_fd_, &one, sizeof one) < 0) LogPrint("hot-plug: wake-up failed");
    thread_.join();
    ::close(wake_fd_);
    wake_fd_ = -1;
    udev_monitor_unref(static_cast<udev_monitor*>(monitor_));
    udev_unref(static_cast<udev*>(udev_));
    monitor_ = nullptr;
    udev_ = nullptr;
    handler_ = nullptr;
}

void UdevHotplugMonitor::Run(std::stop_token stop, int wake_fd) {
    auto* mon = static_cast<udev_monitor*>(monitor_);
    pollfd fds[2] = {{udev_monitor_get_fd(mon), POLLIN, 0}, {wake_fd, POLLIN, 0}};
    while (!stop.stop_requested()) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            LogPrint("hot-plug: poll failed, err=%d", errno);
            return;
        }
        if ((fds[1].revents & POLLIN) != 0) return;
        if ((fds[0].revents & POLLIN) == 0) continue;
        udev_device* dev = udev_monitor_receive_device(mon);
        if (dev == nullptr) continue;
        const char* action = udev_device_get_action(dev);
        const char* devpath = udev_device_get_devpath(dev);
        const char* sysname = udev_device_get_sysname(dev);
        std::optional<UsbIds> ids = devpath != nullptr ? IdsFromHidDevpath(devpath) : std::nullopt;
        if (action != nullptr && ids && sysname != nullptr) {
            DeviceEvent ev;
            if (std::strcmp(action, "add") == 0) ev.type = DeviceEvent::Type::Arrival;
            else if (std::strcmp(action, "remove") == 0) ev.type = DeviceEvent::Type::Removal;
            else action = nullptr;
            if (action != nullptr) {
                ev.name = MakeDeviceName(ids->vid, ids->pid, sysname);
                handler_(ev);
            }
        }
        udev_device_unref(dev);
    }
}

}  // namespace quobel
