// Reading [PAD].
#include "config/pad_desc.h"

#include <array>

#include "base/int_math.h"
#include "config/config.h"
#include "config/desc_common.h"
#include "config/device_readers.h"
#include "config/value_parsers.h"

namespace quobel {

PadStrip PadStripBands(const PadDevCfg& pad) {
    const std::int64_t w = pad.nEftGridW;
    const Point p1 = pad.ptEft1;
    const Point p2 = pad.ptEft2;
    return {
        {SumClamped(p1.x, -(w / 2)), SumClamped(p1.y, -w), SumClamped(p2.x, w / 2), p1.y},
        {SumClamped(p1.x, -w), p1.y, p1.x, p2.y},
        {SumClamped(p1.x, -(w / 2)), p2.y, SumClamped(p2.x, w / 2), SumClamped(p2.y, w)},
        {p2.x, p1.y, SumClamped(p2.x, w), p2.y},
    };
}

void ReadPadDescription(const IniFile& ini, Config& config, Reporter& reporter) {
    constexpr std::string_view kPad = "PAD";
    PadDevCfg& pad = config.gVar.PadDev;
    pad = PadDevCfg{};
    pad.wVid = static_cast<std::uint16_t>(ini.GetInt(kPad, "VID", 0));
    pad.wPid = static_cast<std::uint16_t>(ini.GetInt(kPad, "PID", 0));
    pad.bShowEffect = ini.GetInt(kPad, "ShowEffect", 0);
    pad.dwLedMask = static_cast<std::uint32_t>(ini.GetInt(kPad, "LedMask", 0));
    ReadPoint(ini, "ptPadDlg", pad.ptPadDlg, 360, 100, kPad, reporter);
    std::array<std::int32_t, 20> param{};
    ParseNumberList(desc::Value(ini, kPad, "LedParam", 1023), 16, param, 20);
    for (std::size_t i = 0; i < param.size(); ++i) pad.dwLedParam[i] = static_cast<std::uint32_t>(param[i]);
    ReadPoint(ini, "ptEft1", pad.ptEft1, 23, 47, kPad, reporter);
    ReadPoint(ini, "ptEft2", pad.ptEft2, 484, 372, kPad, reporter);
    pad.nEftGridW = ini.GetInt(kPad, "EftGridW", 16);
}

}  // namespace quobel
