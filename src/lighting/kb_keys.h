#pragma once
// The keyboard picture's keys as the previews see them, and the key sets the previews
// walk (rows, columns, bands, rings, the running-light path), all derived from the
// physical arrangement of the configured keys so that any keyboard picture works.

#include <array>
#include <cstdint>
#include <vector>

#include "base/geometry.h"
#include "config/config.h"

namespace quobel::lighting {

constexpr int kKbSlots = 150;
constexpr int kMaxAnimatedKeys = 140;

struct KbKey {
    Rect rc;     // on the picture; empty for slots without a key
    int vk = 0;  // key id: virtual-key code, left-hand modifiers as 0xA0, 0xA2, 0xA4
};

// What the keyboard previews read of the description.
struct KbPreviewSetup {
    std::array<KbKey, kKbSlots> keys{};
    int keyCount = 0;   // slots with a key
    int animated = 0;   // MaxEftKeyIndex: slots 0..animated-1 are animated
    Rect picture;       // 0, 0, width, height of the keyboard picture
    int drawType = 0;   // KbDrawType
    std::array<int, 5> neonSpeed{50, 40, 30, 20, 15};
    int paomaType = 0;
    int kbLayout = 0;
};

KbPreviewSetup KbPreviewSetupFrom(const Config& cfg);

// The key id of a key-table entry (a lone modifier by its key, generic modifiers as
// the left ones), 0 when the entry is no key.
int KeyIdOf(const KeyInfo& key);
// Generic Shift, Ctrl and Alt as the left keys; other codes unchanged.
int NormalisedVk(int vk);
// The first slot below keyCount with that key id, or -1.
int SlotOfVk(const KbPreviewSetup& setup, int vk);

using KeySets = std::vector<std::vector<int>>;  // lists of slot numbers

// Key rows from top to bottom, each from left to right (keys whose tops lie within
// half a key of the row's first key).
KeySets KeyRows(const KbPreviewSetup& setup, int slot_limit);
// n equal columns from the leftmost key's left edge to the rightmost key's right edge,
// each from top to bottom.
KeySets KeyColumns(const KbPreviewSetup& setup, int slot_limit, int n);
// n diagonal bands, the first the arrow keys, then by diagonal distance from them.
KeySets KeyBands(const KbPreviewSetup& setup, int slot_limit, int n);
// n rings, the first the space bar, then by distance from its centre.
KeySets KeyRings(const KbPreviewSetup& setup, int slot_limit, int n);
// The running-light path.
std::vector<int> RunningPath(const KbPreviewSetup& setup, int slot_limit);

}  // namespace quobel::lighting
