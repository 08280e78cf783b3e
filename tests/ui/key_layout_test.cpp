#include <gtest/gtest.h>

#include "ui/key_layout.h"

namespace quobel {
namespace {

TEST(KeyLayout, NamesKeysByWhatTheyTypeOnTheLayout) {
    const KeyLayout de("de");
    EXPECT_EQ(de.Name(0xDB), "Ü");  // right of P
    EXPECT_EQ(de.Name('Y'), "Z");
    EXPECT_EQ(de.Name(0x25), "");   // arrows type nothing
    const KeyLayout us("us");
    EXPECT_EQ(us.Name(0xDB), "[");
    EXPECT_EQ(us.Name('Y'), "Y");
}

}  // namespace
}  // namespace quobel
