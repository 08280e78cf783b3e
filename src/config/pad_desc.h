#pragma once
// The pad description: [PAD] of cfg.ini.

#include <array>
#include <cstdint>

#include "base/geometry.h"

namespace quobel {

struct PadDevCfg {
    std::uint16_t wVid = 0;
    std::uint16_t wPid = 0;
    Point ptPadDlg;                          // pad page in the main window
    std::int32_t bShowEffect = 0;            // pad lighting page shown
    std::array<std::uint32_t, 20> dwLedParam{};  // default lighting of a new profile
    Point ptEft1;                            // top-left corner of the lighting strip
    Point ptEft2;                            // bottom-right corner of the lighting strip
    std::int32_t nEftGridW = 0;              // strip width in pixels
    std::uint32_t dwLedMask = 0;             // lighting effects offered
};

// The four bands of the lighting strip drawn around the pad picture.
struct PadStrip {
    Rect rcTop;
    Rect rcLeft;
    Rect rcBottom;
    Rect rcRight;
};
PadStrip PadStripBands(const PadDevCfg& pad);

}  // namespace quobel
