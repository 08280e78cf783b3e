#include "config/value_parsers.h"

#include <array>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quobel {
namespace {

using ::testing::ElementsAre;

struct ListCase {
    const char* name;
    std::string text;
    int base;
    std::vector<std::int32_t> expected;  // what is taken, with a destination of 4
};

class NumberList : public ::testing::TestWithParam<ListCase> {};

TEST_P(NumberList, TakesWholePiecesUntilTheFirstBadOne) {
    const ListCase& c = GetParam();
    std::array<std::int32_t, 4> dest{};
    const int n = ParseNumberList(c.text, c.base, dest, 4);
    EXPECT_EQ(std::vector<std::int32_t>(dest.begin(), dest.begin() + n), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    ValueParsers, NumberList,
    ::testing::Values(ListCase{"Plain", "1,2,3", 10, {1, 2, 3}},
                      ListCase{"LeadingBlanksAllowed", " 1,\t2", 10, {1, 2}},
                      ListCase{"TrailingBlankEndsTheList", "1 ,2", 10, {}},
                      ListCase{"EmptyPiecesSkipped", ",1,,2,", 10, {1, 2}},
                      ListCase{"BadPieceEnds", "1,x,3", 10, {1}},
                      ListCase{"FullDestinationEnds", "1,2,3,4,5", 10, {1, 2, 3, 4}},
                      ListCase{"Hexadecimal", "ff,0x10,A", 16, {255, 16, 10}},
                      ListCase{"HexDigitsAreNotDecimal", "1,a", 10, {1}},
                      ListCase{"MinusWrapsAsUnsigned", "-1", 10, {-1}},
                      ListCase{"Empty", "", 10, {}},
                      ListCase{"OnlyThe1023FirstCharactersCount", std::string(1021, ',') + "7,8", 10, {7}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ValueParsers, CountingWithoutDestinationAndBytesCutToTheLowByte) {
    EXPECT_EQ(ParseNumberList("1,2,3,4,5,6", 10, {}, 5), 5);
    std::array<std::uint8_t, 3> bytes{};
    EXPECT_EQ(ParseByteList("256,511,7", 10, bytes, 3), 3);
    EXPECT_THAT(bytes, ElementsAre(0, 255, 7));
}

TEST(ValueParsers, ColourComponentsLeftOutAreZero) {
    EXPECT_EQ(ParseColour("200,100,50"), Rgb(200, 100, 50));
    EXPECT_EQ(ParseColour("200, 100 ,50"), Rgb(200, 0, 0));  // " 100 " ends the list
    EXPECT_EQ(ParseColour("1,2"), Rgb(1, 2, 0));
    EXPECT_EQ(ParseColour("junk"), Rgb(0, 0, 0));
    EXPECT_EQ(Rgb(1, 2, 3), 0x030201u);

    const IniFile ini = IniFile::FromText("[s]\nempty=\nset=1,2,3\n");
    EXPECT_EQ(ReadColour(ini, "s", "empty", Rgb(6, 6, 7)), Rgb(6, 6, 7));
    EXPECT_EQ(ReadColour(ini, "s", "missing", Rgb(6, 6, 7)), Rgb(6, 6, 7));
    EXPECT_EQ(ReadColour(ini, "s", "set", Rgb(6, 6, 7)), Rgb(1, 2, 3));
}

TEST(ValueParsers, ColourListEndsAtBlackWhichIsStoredButNotCounted) {
    std::array<Colour, 7> dest;
    dest.fill(0xFFFFFF);
    EXPECT_EQ(ParseColourList("1,2,3,4,5,6,0,0,0,7,8,9", dest), 2);
    EXPECT_THAT(dest, ElementsAre(Rgb(1, 2, 3), Rgb(4, 5, 6), 0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF));

    std::string ten;
    for (int i = 1; i <= 30; ++i) ten += std::to_string(i) + ",";
    EXPECT_EQ(ParseColourList(ten, dest), 7);
    EXPECT_EQ(dest[6], Rgb(19, 20, 21));
}

TEST(ValueParsers, PointsAndRectanglesReportTooFewNumbers) {
    const IniFile ini = IniFile::FromText(
        "[s]\npt1=5\npt3=1,2,3\nptEmpty=\nrc3=1,2,3\nrc5=1,2,3,4,5\n");
    CollectingReporter reporter;
    Point pt{9, 9};
    EXPECT_FALSE(ReadPoint(ini, "pt1", pt, 960, 12, "s", reporter));
    EXPECT_EQ(pt, (Point{960, 12}));
    EXPECT_TRUE(ReadPoint(ini, "pt3", pt, 0, 0, "s", reporter));
    EXPECT_EQ(pt, (Point{1, 2}));
    EXPECT_FALSE(ReadPoint(ini, "ptEmpty", pt, 3, 4, "s", reporter));
    EXPECT_FALSE(ReadPoint(ini, "missing", pt, 3, 4, "s", reporter));
    EXPECT_EQ(pt, (Point{3, 4}));

    Rect rc{7, 7, 7, 7};
    EXPECT_FALSE(ReadRect(ini, "rc3", rc, "s", reporter));
    EXPECT_FALSE(ReadRect(ini, "missing", rc, "s", reporter));
    EXPECT_EQ(rc, (Rect{7, 7, 7, 7}));
    EXPECT_TRUE(ReadRect(ini, "rc5", rc, "s", reporter));
    EXPECT_EQ(rc, (Rect{1, 2, 3, 4}));

    EXPECT_THAT(reporter.messages, ElementsAre(ReportedMessage{"Error", "Wrong POINT num"},
                                               ReportedMessage{"Error", "Wrong rect num"}));
}

}  // namespace
}  // namespace quobel
