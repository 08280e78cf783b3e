#pragma once
// The pad lighting preview: the ring of cells around the pad's lit edge, the descriptor
// an effect of the pad lighting page builds, and one frame state machine per kind.
//
// Ring order runs the top strip from right to left, the left strip down, the bottom
// strip from left to right and the right strip up: anticlockwise on the screen, so a
// clockwise turn moves the colours towards lower cell numbers.

#include <memory>
#include <vector>

#include "config/pad_desc.h"
#include "lighting/preview.h"

namespace quobel::lighting {

constexpr int kPadMaxCells = 820;
constexpr int kPadCellLength = 3;
inline constexpr const char* kPadRingOverText = "m_nGridNum over";

struct PadRing {
    std::vector<Rect> cells;          // in ring order, at most kPadMaxCells
    std::array<int, 4> stripCells{};  // cells of the top, left, bottom and right strips
    bool cut = false;                 // more than kPadMaxCells: cut to that many
};

PadRing BuildPadRing(const PadDevCfg& pad);

// The lighting page's state as the preview takes it.
struct PadPreviewParams {
    int effect = 0;
    int speed = 2;                // 1..3
    int bright = 0x100;           // the slider value: 0x20, 0x50, 0x70, 0x100
    bool clockwise = true;        // the clockwise button is checked
    std::vector<Colour> checked;  // the checked swatches' colours, in swatch order
};

// 0x20 -> 2, 0x50 -> 5, 0x70 -> 8, anything else 10.
int PadPreviewLevel(int bright);

// The fixed colours of the ring effects: red, green, blue, orange, magenta, cyan, white.
inline constexpr Colour kPadRingColours[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x0080FF, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

class PadPreview : public Preview {
public:
    // Whole-area kinds tint the whole lit area with the colour of cell 0; ring kinds
    // give every cell its own colour.
    [[nodiscard]] bool WholeArea() const { return whole_; }
    [[nodiscard]] int Kind() const { return kind_; }

protected:
    PadPreview(int kind, bool whole, int interval) : Preview(interval), kind_(kind), whole_(whole) {}

private:
    int kind_;
    bool whole_;
};

// The preview of an effect over a ring of `cells` cells; null for effects without one.
std::unique_ptr<PadPreview> MakePadPreview(const PadPreviewParams& params, int cells, RandomSource& random);

}  // namespace quobel::lighting
