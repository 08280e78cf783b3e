#include "config/vk_hid.h"

#include <gtest/gtest.h>

namespace quobel {
namespace {

TEST(VkHid, MapsKeysOfEachKeyboardBlock) {
    struct Case {
        std::uint8_t vk;
        int usage;
    };
    const Case cases[] = {
        {0x41, 0x04}, {0x5A, 0x1D},                // A, Z
        {0x31, 0x1E}, {0x30, 0x27},                // 1, 0 (0 follows 9 in HID order)
        {0x0D, 0x28}, {0x20, 0x2C},                // Enter, Space
        {0xBA, 0x33}, {0xDC, 0x31}, {0xC0, 0x35},  // ; \ `
        {0x70, 0x3A}, {0x7B, 0x45},                // F1, F12
        {0x2C, 0x46}, {0x13, 0x48}, {0x26, 0x52},  // Print Screen, Pause, Up
        {0x60, 0x62}, {0x61, 0x59}, {0x6E, 0x63},  // keypad 0, 1, .
        {0xE2, 0x64}, {0x5D, 0x65},                // 105th key, application key
        {0x10, 0xE1}, {0xA1, 0xE5}, {0x5C, 0xE7},  // Shift, right Shift, right Win
        {0x00, -1},   {0xF0, -1},   {0xFA, -1},    // none, left mouse button, Fn
        {0x7C, -1},   {0xFF, -1},                  // F13 is not on a 104-key board
    };
    for (const Case& c : cases) EXPECT_EQ(VkToHidUsage(c.vk), c.usage) << "vk " << int(c.vk);
}

TEST(VkHid, ReverseLookupPrefersTheSidedModifier) {
    EXPECT_EQ(HidUsageToVk(0xE0), 0xA2);
    EXPECT_EQ(HidUsageToVk(0xE1), 0xA0);
    EXPECT_EQ(HidUsageToVk(0xE2), 0xA4);
    EXPECT_EQ(HidUsageToVk(0x04), 0x41);
    EXPECT_EQ(HidUsageToVk(0x58), -1);  // keypad Enter has no virtual-key code of its own
    for (const VkHidPair& p : kVkHidPairs) EXPECT_EQ(VkToHidUsage(p.vk), p.usage);
}

}  // namespace
}  // namespace quobel
