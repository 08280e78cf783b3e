#include <gtest/gtest.h>

#include "platform/hid/hid.h"
#include "platform/hotplug/hotplug.h"
#include "platform/hotplug/udev_monitor.h"

namespace quobel {
namespace {

TEST(HidNames, PathFilterIgnoresCaseAndEmptyMatchesAll) {
    const std::string path = MakeDeviceName(0x1a2b, 0x3c4d, "hidraw3&col02");
    EXPECT_EQ(path, "USB#VID_1A2B&PID_3C4D#hidraw3&col02");
    EXPECT_TRUE(PathMatches(path, FormatPathFilter(0x1a2b, 0x3c4d, false)));  // "VID_1a2b&PID_3c4d"
    EXPECT_TRUE(PathMatches(path, FormatPathFilter(0x1a2b, 0x3c4d, true)));
    EXPECT_FALSE(PathMatches(path, FormatPathFilter(0x1a2b, 0x3c4e, false)));
    EXPECT_TRUE(PathMatches(path, ""));
    EXPECT_FALSE(PathMatches("USB#VID_1A2B", "VID_1a2b&PID_3c4d"));
}

TEST(HidNames, IdsComeFromTheHidParentOfTheHidrawNode) {
    EXPECT_EQ(IdsFromHidDevpath("/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.1/0003:1A2B:3C4D.0007/hidraw/hidraw3"),
              (UsbIds{0x1a2b, 0x3c4d}));
    EXPECT_EQ(IdsFromHidDevpath("/devices/virtual/misc/uhid/0005:046D:B012.0001/hidraw/hidraw0"),
              (UsbIds{0x046d, 0xb012}));
    EXPECT_FALSE(IdsFromHidDevpath("/devices/pci0000:00/usb1/1-2/hidraw/hidraw3"));
    EXPECT_FALSE(IdsFromHidDevpath("/devices/x/0003:1A2B:3C4D.00G7/hidraw/hidraw3"));
    EXPECT_FALSE(IdsFromHidDevpath(""));
}

}  // namespace
}  // namespace quobel

namespace quobel {
namespace {

// The monitor needs udev's netlink socket; where it cannot have one it says so. Either
// way Stop returns with the thread gone, and a second Stop is harmless.
TEST(UdevHotplug, StartsAndStopsOnRequest) {
    UdevHotplugMonitor monitor;
    const bool started = monitor.Start([](const DeviceEvent&) {});
    if (started) {
        EXPECT_FALSE(monitor.Start([](const DeviceEvent&) {}));  // already running
    }
    monitor.Stop();
    monitor.Stop();
    EXPECT_EQ(monitor.Start([](const DeviceEvent&) {}), started);
}

}  // namespace
}  // namespace quobel
