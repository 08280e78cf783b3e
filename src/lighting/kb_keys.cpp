#include "lighting/kb_keys.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>

namespace quobel::lighting {
namespace {

int CentreX(const Rect& r) { return (r.left + r.right) / 2; }
int CentreY(const Rect& r) { return (r.top + r.bottom) / 2; }
bool IsKey(const KbKey& k) { return k.rc.right > k.rc.left && k.rc.bottom > k.rc.top; }

std::vector<int> Slots(const KbPreviewSetup& setup, int slot_limit) {
    std::vector<int> out;
    const int n = std::min(slot_limit, setup.keyCount);
    for (int i = 0; i < n; ++i)
        if (IsKey(setup.keys[i])) out.push_back(i);
    return out;
}

bool IsArrow(int vk) { return vk >= 0x25 && vk <= 0x28; }

}  // namespace

int NormalisedVk(int vk) {
    switch (vk) {
        case 0x10: return 0xA0;
        case 0x11: return 0xA2;
        case 0x12: return 0xA4;
        default: return vk;
    }
}

int KeyIdOf(const KeyInfo& key) {
    if (key.FunID == 0) return 0;
    if (key.byModVk != 0) return NormalisedVk(key.byModVk);
    if (key.byVk != 0) return NormalisedVk(key.byVk);
    return FunType(key.FunID) == 2 ? 0 : NormalisedVk(static_cast<int>(FunCode(key.FunID) & 0xFF));
}

KbPreviewSetup KbPreviewSetupFrom(const Config& cfg) {
    const KbDevCfg& kb = cfg.gVar.KbDev;
    KbPreviewSetup s;
    s.keyCount = std::clamp(kb.nKeyCount, 0, kKbSlots);
    for (int i = 0; i < s.keyCount; ++i) s.keys[i] = {cfg.g_defKEY[i].rcKey, KeyIdOf(cfg.g_defKEY[i])};
    s.animated = kb.nMaxEftKeyIndex;
    s.picture = {0, 0, kb.rcKB.right - kb.rcKB.left, kb.rcKB.bottom - kb.rcKB.top};
    s.drawType = kb.nKbDrawType;
    for (std::size_t i = 0; i < s.neonSpeed.size(); ++i) s.neonSpeed[i] = kb.byNeonSpeed[i];
    s.paomaType = kb.byPaomaType;
    s.kbLayout = kb.byKbLayout;
    return s;
}

int SlotOfVk(const KbPreviewSetup& setup, int vk) {
    vk = NormalisedVk(vk);
    if (vk == 0) return -1;
    for (int i = 0; i < setup.keyCount; ++i)
        if (setup.keys[i].vk == vk) return i;
    return -1;
}

KeySets KeyRows(const KbPreviewSetup& setup, int slot_limit) {
    std::vector<int> slots = Slots(setup, slot_limit);
    std::stable_sort(slots.begin(), slots.end(),
                     [&](int a, int b) { return setup.keys[a].rc.top < setup.keys[b].rc.top; });
    KeySets rows;
    int row_top = 0;
    for (int s : slots) {
        const Rect& r = setup.keys[s].rc;
        if (rows.empty() || r.top - row_top > (r.bottom - r.top) / 2) {
            rows.emplace_back();
            row_top = r.top;
        }
        rows.back().push_back(s);
    }
    for (auto& row : rows)
        std::stable_sort(row.begin(), row.end(),
                         [&](int a, int b) { return setup.keys[a].rc.left < setup.keys[b].rc.left; });
    return rows;
}

KeySets KeyColumns(const KbPreviewSetup& setup, int slot_limit, int n) {
    KeySets cols(static_cast<std::size_t>(std::max(n, 0)));
    const std::vector<int> slots = Slots(setup, slot_limit);
    if (slots.empty() || n <= 0) return cols;
    int left = setup.keys[slots[0]].rc.left, right = setup.keys[slots[0]].rc.right;
    for (int s : slots) {
        left = std::min(left, setup.keys[s].rc.left);
        right = std::max(right, setup.keys[s].rc.right);
    }
    const int width = std::max(1, right - left);
    for (int s : slots) {
        const int c = std::clamp((CentreX(setup.keys[s].rc) - left) * n / width, 0, n - 1);
        cols[c].push_back(s);
    }
    for (auto& col : cols)
        std::stable_sort(col.begin(), col.end(),
                         [&](int a, int b) { return setup.keys[a].rc.top < setup.keys[b].rc.top; });
    return cols;
}

KeySets KeyBands(const KbPreviewSetup& setup, int slot_limit, int n) {
    KeySets bands(static_cast<std::size_t>(std::max(n, 0)));
    if (n <= 0) return bands;
    const std::vector<int> slots = Slots(setup, slot_limit);
    int ax = 0, ay = 0, arrows = 0;
    for (int s : slots)
        if (IsArrow(setup.keys[s].vk)) {
            ax += CentreX(setup.keys[s].rc);
            ay += CentreY(setup.keys[s].rc);
            ++arrows;
        }
    if (arrows > 0) {
        ax /= arrows;
        ay /= arrows;
    }
    const auto dist = [&](int s) {
        return std::abs(CentreX(setup.keys[s].rc) + CentreY(setup.keys[s].rc) - ax - ay);
    };
    int dmax = 0;
    for (int s : slots) dmax = std::max(dmax, dist(s));
    for (int s : slots) {
        if (IsArrow(setup.keys[s].vk) || n == 1) {
            bands[0].push_back(s);
        } else {
            bands[1 + dist(s) * (n - 1) / (dmax + 1)].push_back(s);
        }
    }
    return bands;
}

KeySets KeyRings(const KbPreviewSetup& setup, int slot_limit, int n) {
    KeySets rings(static_cast<std::size_t>(std::max(n, 0)));
    if (n <= 0) return rings;
    const std::vector<int> slots = Slots(setup, slot_limit);
    const int space = SlotOfVk(setup, 0x20);
    const Rect centre = space >= 0 ? setup.keys[space].rc : setup.picture;
    const double cx = CentreX(centre), cy = CentreY(centre);
    const auto dist = [&](int s) {
        return std::hypot(CentreX(setup.keys[s].rc) - cx, CentreY(setup.keys[s].rc) - cy);
    };
    double dmax = 0;
    for (int s : slots) dmax = std::max(dmax, dist(s));
    for (int s : slots) {
        if (s == space || n == 1) {
            rings[0].push_back(s);
        } else {
            rings[1 + static_cast<int>(dist(s) * (n - 1) / (dmax + 1))].push_back(s);
        }
    }
    return rings;
}

std::vector<int> RunningPath(const KbPreviewSetup& setup, int slot_limit) {
    std::vector<int> path;
    std::vector<bool> used(kKbSlots, false);
    const auto add_slot = [&](int s) {
        if (s >= 0 && s < slot_limit && !used[s]) {
            used[s] = true;
            path.push_back(s);
        }
    };
    const auto add = [&](std::initializer_list<int> vks) {
        for (int vk : vks) add_slot(SlotOfVk(setup, vk));
    };
    // Esc, F1..F12, Print Screen, Scroll Lock, Pause.
    add({0x1B, 0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x7B, 0x2C, 0x91, 0x13});
    const KeySets rows = KeyRows(setup, slot_limit);
    if (setup.paomaType == 1) {
        // Keypad point and 0, the arrows, then snaking through the rows from the bottom.
        add({0x6E, 0x60, 0x27, 0x28, 0x25, 0x26});
        bool right_to_left = true;
        for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
            if (right_to_left) {
                for (auto s = row->rbegin(); s != row->rend(); ++s) add_slot(*s);
            } else {
                for (int s : *row) add_slot(s);
            }
            right_to_left = !right_to_left;
        }
        return path;
    }
    // Keypad minus, multiply, divide, Num Lock, the navigation keys, the number row
    // from right to left.
    add({0x6D, 0x6A, 0x6F, 0x90});
    switch (setup.kbLayout) {
        case 1: add({0x21, 0x24, 0x2D}); break;
        case 2: add({0x22, 0x23, 0x2E, 0x2D, 0x24, 0x21}); break;
        case 3: add({0x21, 0x24, 0x2D, 0x2E, 0x23, 0x22}); break;
        default: add({0x21, 0x24, 0x2D, 0x08}); break;
    }
    const int backspace = SlotOfVk(setup, 0x08);
    for (const auto& row : rows) {
        if (std::find(row.begin(), row.end(), backspace) == row.end()) continue;
        for (auto s = row.rbegin(); s != row.rend(); ++s) {
            const int vk = setup.keys[*s].vk;
            if (CentreX(setup.keys[*s].rc) <= CentreX(setup.keys[backspace].rc) && vk != 0x2D && vk != 0x24 &&
                vk != 0x21)
                add_slot(*s);
        }
        break;
    }
    return path;
}

}  // namespace quobel::lighting
