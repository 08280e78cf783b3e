#include "platform/hid/report_descriptor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quobel {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Building blocks of descriptors, in the item encoding devices send.
const Bytes kVendorApp = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01};  // page FF00, usage 1, application
const Bytes kEnd = {0xC0};
Bytes Id(std::uint8_t id) { return {0x85, id}; }
Bytes Size(std::uint8_t bits) { return {0x75, bits}; }
Bytes Count16(std::uint16_t n) {
    return {0x96, static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8)};
}
const Bytes kInput = {0x81, 0x02};
const Bytes kOutput = {0x91, 0x02};
const Bytes kFeature = {0xB1, 0x02};

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

struct LengthCase {
    std::string name;
    Bytes desc;
    std::vector<HidCollection> expected;
};

class ReportLengthsTest : public ::testing::TestWithParam<LengthCase> {};

TEST_P(ReportLengthsTest, CountsLikeWindows) {
    const ParsedReportDescriptor parsed = ParseReportDescriptor(GetParam().desc);
    EXPECT_TRUE(parsed.ok()) << parsed.error;
    EXPECT_EQ(parsed.collections, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Descriptors, ReportLengthsTest,
    ::testing::Values(
        LengthCase{"mouse_general_block",
                   Cat({kVendorApp, Id(4), Size(8), Count16(58), {0x09, 0x01}, kFeature, kEnd}),
                   {{0xFF00, 1, {0, 0, 59}}}},
        LengthCase{"largest_report_of_a_kind_wins",
                   Cat({kVendorApp, Id(5), Size(8), Count16(6), kFeature, Id(6), Count16(1031), kFeature, kEnd}),
                   {{0xFF00, 1, {0, 0, 1032}}}},
        LengthCase{"no_report_ids_still_counts_the_id_byte",
                   Cat({kVendorApp, Size(8), Count16(4), kInput, Count16(2), kOutput, kEnd}),
                   {{0xFF00, 1, {5, 3, 0}}}},
        LengthCase{"bits_round_up_to_bytes",
                   Cat({kVendorApp, Id(7), Size(1), Count16(3), kInput, Count16(2), kInput, kEnd}),
                   {{0xFF00, 1, {2, 0, 0}}}},
        LengthCase{"fields_of_one_report_add_up",
                   Cat({kVendorApp, Id(7), Size(8), Count16(1), kInput, Count16(3), kInput, kEnd}),
                   {{0xFF00, 1, {5, 0, 0}}}},
        LengthCase{"each_top_level_collection_apart",
                   Cat({{0x05, 0x01, 0x09, 0x02, 0xA1, 0x01}, Id(1), Size(8), Count16(7), kInput, kEnd,
                        kVendorApp, Id(8), Count16(8), kFeature, kEnd}),
                   {{0x0001, 2, {8, 0, 0}}, {0xFF00, 1, {0, 0, 9}}}},
        LengthCase{"nested_collections_count_for_their_top",
                   Cat({kVendorApp, {0x09, 0x02, 0xA1, 0x00}, Id(4), Size(8), Count16(10), kFeature, kEnd,
                        Count16(20), kInput, kEnd}),
                   {{0xFF00, 1, {21, 0, 11}}}},
        LengthCase{"four_byte_usage_carries_its_page",
                   Cat({{0x05, 0x01, 0x0B, 0x01, 0x00, 0x00, 0xFF, 0xA1, 0x01}, Size(8), Count16(4), kInput, kEnd}),
                   {{0xFF00, 1, {5, 0, 0}}}},
        LengthCase{"pop_restores_the_report_size",
                   Cat({kVendorApp, Size(8), {0xA4}, Size(1), {0xB4}, Count16(4), kInput, kEnd}),
                   {{0xFF00, 1, {5, 0, 0}}}},
        LengthCase{"long_items_are_skipped",
                   Cat({kVendorApp, {0xFE, 0x02, 0x10, 0xAA, 0xBB}, Size(8), Count16(1), kInput, kEnd}),
                   {{0xFF00, 1, {2, 0, 0}}}}),
    [](const ::testing::TestParamInfo<LengthCase>& p) { return p.param.name; });

struct BadCase {
    std::string name;
    Bytes desc;
};

class MalformedDescriptorTest : public ::testing::TestWithParam<BadCase> {};

TEST_P(MalformedDescriptorTest, IsReportedNotTrusted) {
    const ParsedReportDescriptor parsed = ParseReportDescriptor(GetParam().desc);
    EXPECT_FALSE(parsed.ok());
    EXPECT_FALSE(parsed.error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Descriptors, MalformedDescriptorTest,
    ::testing::Values(BadCase{"truncated_item", Cat({kVendorApp, {0x96, 0x07}})},
                      BadCase{"truncated_long_item", Cat({kVendorApp, {0xFE, 0x09, 0x10, 0x00}})},
                      BadCase{"pop_without_push", Cat({kVendorApp, {0xB4}, kEnd})},
                      BadCase{"end_never_opened", Bytes{0xC0}},
                      BadCase{"collection_not_closed", kVendorApp},
                      BadCase{"report_outside_collection", Cat({Size(8), Count16(1), kInput})},
                      BadCase{"report_id_zero", Cat({kVendorApp, Id(0), kEnd})},
                      BadCase{"absurd_report_length",
                              Cat({kVendorApp, {0x77, 0xFF, 0xFF, 0xFF, 0xFF}, {0x97, 0xFF, 0xFF, 0xFF, 0xFF},
                                   kFeature, kEnd})}),
    [](const ::testing::TestParamInfo<BadCase>& p) { return p.param.name; });

TEST(ReportDescriptor, EmptyDescriptorHasNoCollections) {
    const ParsedReportDescriptor parsed = ParseReportDescriptor({});
    EXPECT_TRUE(parsed.ok());
    EXPECT_TRUE(parsed.collections.empty());
}

}  // namespace
}  // namespace quobel
