#include <utility>

#include "base/log.h"
#include "config/device_ident.h"
#include "device/hid_drv.h"
#include "device/keyboard_protocol.h"

namespace quobel {

namespace {
// Feature lengths of the two interfaces, counted with the ID byte. The request
// interface's length is its own fact, not derived from the request's data.
constexpr std::size_t kKbDeviceFeature = kKbBlockLen + 1;
constexpr std::size_t kKbCmdFeature = 6;

}  // namespace

CDrv642::~CDrv642() { CDrv642::ClearHandle(); }

std::string CDrv642::Filter() const {
    const DeviceIdent id = KeyboardIdent(*env_.cfg);
    return FormatPathFilter(id.vid, id.pid, true);
}

int CDrv642::FindDev() {
    ClearHandle();
    const std::string filter = Filter();
    LogPrint("FindDev: looking for %s", filter.c_str());
    HidHandle device = OpenInterface(filter, FeatureLengthIs(kKbDeviceFeature), VerboseOpen());
    HidHandle cmd = OpenInterface(filter, FeatureLengthIs(kKbCmdFeature), false);
    LogPrint("m_hDevice=0x%llx, m_hCmd=0x%llx", HandleLogValue(device), HandleLogValue(cmd));
    if (!device || !cmd || !ProductMatches(device, KeyboardIdent(*env_.cfg).usb_string)) {
        ClearHandle();
        return 0;
    }
    std::scoped_lock lock(mutex_);
    m_hDevice = std::move(device);
    m_hCmd = std::move(cmd);
    return 1;
}

Presence CDrv642::Probe() { return ProbeInterface(Filter(), FeatureLengthIs(kKbDeviceFeature)); }

void CDrv642::ClearHandle() {
    LogPrint("CDrv642::ClearHandle");
    std::scoped_lock lock(mutex_);
    m_hDevice.reset();
    m_hCmd.reset();
}

HidHandle CDrv642::DeviceHandle() const {
    std::scoped_lock lock(mutex_);
    return m_hDevice;
}

HidHandle CDrv642::CmdHandle() const {
    std::scoped_lock lock(mutex_);
    return m_hCmd;
}

}  // namespace quobel
