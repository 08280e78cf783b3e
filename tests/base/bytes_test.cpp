#include "base/bytes.h"

#include <array>

#include <gtest/gtest.h>

#include "base/utf16.h"

namespace quobel {
namespace {

TEST(ByteWriter, WritesBothByteOrdersAndRefusesOutOfBounds) {
    std::array<std::uint8_t, 6> buf{};
    ByteWriter w(buf);
    w.le16(0, 0x1234);
    w.be16(2, 0x1234);
    w.u8(4, 0xAB);
    EXPECT_TRUE(w.ok());
    w.le32(4, 0xDDCCBBAA);  // two bytes fit, two do not
    EXPECT_FALSE(w.ok());
    EXPECT_EQ(buf, (std::array<std::uint8_t, 6>{0x34, 0x12, 0x12, 0x34, 0xAA, 0xBB}));
}

TEST(ByteReader, OutOfBoundsReadsGiveZeroAndAreRemembered) {
    const std::array<std::uint8_t, 3> buf{0x01, 0x02, 0x03};
    ByteReader r(buf);
    EXPECT_EQ(r.le16(0), 0x0201);
    EXPECT_EQ(r.be16(1), 0x0203);
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.le32(1), 0x0302u);
    EXPECT_FALSE(r.ok());
}

TEST(Utf16Field, CutsToTheBufferAndNeverSplitsASurrogatePair) {
    char16_t field[4] = {u'x', u'x', u'x', u'x'};
    SetField(field, std::string_view("abcdef"));
    EXPECT_EQ(FieldToUtf8(field), "abc");
    EXPECT_EQ(field[3], 0);
    SetField(field, std::string_view("ab\xF0\x9F\x98\x80"));  // the emoji would need units 3 and 4
    EXPECT_EQ(FieldToUtf8(field), "ab");
    const char16_t unterminated[3] = {u'a', u'b', u'c'};
    EXPECT_EQ(FieldToUtf8(unterminated), "abc");
    EXPECT_EQ(CutToUtf16Units("h\xC3\xA4llo", 2), "h\xC3\xA4");
}

}  // namespace
}  // namespace quobel
