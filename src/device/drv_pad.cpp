#include <array>
#include <utility>

#include "base/log.h"
#include "config/device_ident.h"
#include "device/hid_drv.h"
#include "device/pad_protocol.h"

namespace quobel {

CDrvPad::~CDrvPad() { CDrvPad::ClearHandle(); }

std::string CDrvPad::Filter() const {
    const DeviceIdent id = PadIdent(*env_.cfg);
    return FormatPathFilter(id.vid, id.pid, false);
}

int CDrvPad::FindDev() {
    ClearHandle();
    const std::string filter = Filter();
    LogPrint("CDrvPad  FindDev: looking for %s", filter.c_str());
    HidHandle general = OpenInterface(filter, FeatureLengthIs(kPadGeneralLen + 1), VerboseOpen());
    LogPrint("m_hGeneral=0x%llx", HandleLogValue(general));
    if (!general) return 0;
    std::array<std::uint8_t, kPadGeneralLen> block{};
    if (const CommandResult r = GetCommand(block, general, kPadGeneralId); !r) {
        LogPrint("FindDev: Get general data error, err=0x%x", static_cast<unsigned>(r.err));
        ClearHandle();
        return 0;
    }
    std::scoped_lock lock(mutex_);
    m_hGeneral = std::move(general);
    return 1;
}

Presence CDrvPad::Probe() { return ProbeInterface(Filter(), FeatureLengthIs(kPadGeneralLen + 1)); }

void CDrvPad::ClearHandle() {
    LogPrint("CDrvPad::ClearHandle");
    std::scoped_lock lock(mutex_);
    m_hGeneral.reset();
}

HidHandle CDrvPad::GeneralHandle() const {
    std::scoped_lock lock(mutex_);
    return m_hGeneral;
}

}  // namespace quobel
