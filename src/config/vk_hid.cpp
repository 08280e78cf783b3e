#include "config/vk_hid.h"

namespace quobel {
namespace {

// Both directions as 256-entry indexes, built at compile time.
struct VkHidIndex {
    std::array<std::int16_t, 256> to_usage{};
    std::array<std::int16_t, 256> to_vk{};
};

constexpr VkHidIndex MakeIndex() {
    VkHidIndex index;
    index.to_usage.fill(-1);
    index.to_vk.fill(-1);
    for (const VkHidPair& p : kVkHidPairs) {
        index.to_usage[p.vk] = p.usage;
        if (index.to_vk[p.usage] < 0) index.to_vk[p.usage] = p.vk;  // the sided modifier wins
    }
    return index;
}

constexpr VkHidIndex kIndex = MakeIndex();

constexpr bool VirtualKeysUnique() {
    std::array<bool, 256> seen{};
    for (const VkHidPair& p : kVkHidPairs) {
        if (seen[p.vk]) return false;
        seen[p.vk] = true;
    }
    return true;
}
static_assert(VirtualKeysUnique(), "each virtual-key code has one usage");

}  // namespace

int VkToHidUsage(std::uint8_t vk) { return kIndex.to_usage[vk]; }
int HidUsageToVk(std::uint8_t usage) { return kIndex.to_vk[usage]; }

}  // namespace quobel
