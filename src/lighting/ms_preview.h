#pragma once
// The mouse lighting preview: the descriptor an effect of the mouse lighting page builds,
// and one frame state machine per descriptor kind over the mouse picture's lighting zones.
//
// Kinds 1..4 light every zone with one colour; kinds 5, 8 and 9 give each zone its own
// colour, and the picture paints the zones as horizontal bands of RowsPerZone() rows.

#include <memory>
#include <span>
#include <vector>

#include "config/mouse_desc.h"
#include "lighting/preview.h"

namespace quobel::lighting {

constexpr int kMsMaxZones = 153;
// Kind 2 walks a gradient of this many steps through its eight colours (the page does
// not say how long it is; 256 gives one breath of about 51 s at the slowest speed).
constexpr int kMsBreathSteps = 256;

// The lighting page's state as the preview takes it.
struct MsPreviewParams {
    int effect = 0;
    int speed = 1;                   // 1..3
    int bright = 0x100;              // the slider value, 0x05..0x100
    bool dirUp = true;               // the up button is checked
    std::array<Colour, 7> swatches{};  // every swatch's colour
    std::vector<Colour> checked;     // the checked swatches' colours, in swatch order
};

// The preview level of a brightness value: 0x05 -> 1 ... 0x85 and 0x100 -> 9.
int MsPreviewLevel(int bright);

// A mouse preview: its kind (1..5, 8, 9) and how many zones it colours.
class MsPreview : public Preview {
public:
    [[nodiscard]] int Kind() const { return kind_; }
    [[nodiscard]] int Zones() const { return zones_; }
    // Rows of the picture per zone band. A wave moves only 2 or 4 of its 1000 steps from
    // one zone to the next, so it takes one row each: at three, the lit part of the mouse
    // spanned a few percent of the rainbow and looked one colour. The flowing head and
    // the colour bands (about 60 rows a colour) take three, so 146 zones cover the picture.
    [[nodiscard]] int RowsPerZone() const { return kind_ == 5 ? 1 : 3; }

protected:
    MsPreview(int kind, int zones, int interval) : Preview(interval), kind_(kind), zones_(zones) {}

private:
    int kind_;
    int zones_;
};

// The preview of an effect; null for effects without one (the picture shows no glow).
std::unique_ptr<MsPreview> MakeMsPreview(const MsPreviewParams& params, const MsDevCfg& ms);

}  // namespace quobel::lighting
