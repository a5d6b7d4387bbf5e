// The report-descriptor parser on small hand-made descriptors: the item state machine, where fields
// lie, and what a malformed descriptor yields.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "devicelink/hid_caps.h"

namespace tarnel {
namespace {

using Bytes = std::vector<uint8_t>;

// A keyboard collection (modifier bits, a padding byte, a key array inside a nested collection,
// LED output bits) followed by a vendor collection with three reports of its own.
const Bytes kTwoCollections = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01,                                // keyboard
    0x85, 0x01,                                                        //   report 1
    0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01,        //   modifiers
    0x75, 0x01, 0x95, 0x08, 0x81, 0x02,                                //     8 x 1 bit
    0x75, 0x08, 0x95, 0x01, 0x81, 0x01,                                //   padding byte
    0xA1, 0x00,                                                        //   nested collection
    0x19, 0x00, 0x29, 0x65, 0x25, 0x65, 0x95, 0x06, 0x81, 0x00,        //     key array 6 x 8
    0xC0,                                                              //
    0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x25, 0x01,                    //   LEDs
    0x75, 0x01, 0x95, 0x05, 0x91, 0x02, 0x95, 0x03, 0x91, 0x01,        //     5 bits + 3 padding
    0xC0,                                                              //
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,                          // vendor
    0x85, 0x02, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x3F,  //   report 2: 63 bytes
    0x09, 0x02, 0x81, 0x02, 0x09, 0x03, 0x91, 0x02,                    //     in and out
    0x85, 0x03, 0x09, 0x04, 0x95, 0x07, 0xB1, 0x02,                    //   report 3: feature
    0xC0};
constexpr size_t kFirstCollectionEnd = 62;  // bytes up to and including the keyboard's end

TEST(HidDescriptor, OneCapsSetPerTopLevelCollectionWithFieldPositions) {
    std::vector<HidCollectionCaps> out;
    ASSERT_TRUE(ParseReportDescriptor(kTwoCollections, out));
    ASSERT_EQ(out.size(), 2u);  // the nested collection is part of the keyboard's

    const HidCollectionCaps& kb = out[0];
    EXPECT_EQ(kb.usagePage, 0x01);
    EXPECT_EQ(kb.usage, 0x06);
    EXPECT_EQ(kb.input.reportByteLength, 9);  // id + 1 + 1 (padding) + 6
    ASSERT_EQ(kb.input.caps.size(), 2u);      // no cap for the padding byte
    const HidUsageCap& mods = kb.input.caps[0];
    EXPECT_TRUE(mods.isButton && mods.isRange && !mods.isArray);
    EXPECT_EQ(mods.usagePage, 0x07);
    EXPECT_EQ(mods.reportId, 1);
    EXPECT_EQ(mods.usageMin, 0xE0);
    EXPECT_EQ(mods.usageMax, 0xE7);
    EXPECT_EQ(mods.bitSize, 1);
    EXPECT_EQ(mods.reportCount, 8);
    EXPECT_EQ(mods.bitOffset, 0u);
    const HidUsageCap& keys = kb.input.caps[1];
    EXPECT_TRUE(keys.isButton && keys.isRange && keys.isArray);
    EXPECT_EQ(keys.usageMax, 0x65);
    EXPECT_EQ(keys.bitSize, 8);
    EXPECT_EQ(keys.reportCount, 6);
    EXPECT_EQ(keys.logicalMax, 0x65);
    EXPECT_EQ(keys.bitOffset, 16u);
    EXPECT_EQ(kb.output.reportByteLength, 2);
    ASSERT_EQ(kb.output.caps.size(), 1u);
    EXPECT_EQ(kb.output.caps[0].usagePage, 0x08);
    EXPECT_EQ(kb.feature.reportByteLength, 0);
    EXPECT_TRUE(kb.feature.caps.empty());

    const HidCollectionCaps& vendor = out[1];
    EXPECT_EQ(vendor.usagePage, 0xFF00);
    EXPECT_EQ(vendor.usage, 0x01);
    EXPECT_EQ(vendor.input.reportByteLength, 64);
    EXPECT_EQ(vendor.output.reportByteLength, 64);
    EXPECT_EQ(vendor.feature.reportByteLength, 8);
    ASSERT_EQ(vendor.input.caps.size(), 1u);
    const HidUsageCap& data = vendor.input.caps[0];
    EXPECT_FALSE(data.isButton);
    EXPECT_EQ(data.reportId, 2);
    EXPECT_EQ(data.usageMin, 0x02);
    EXPECT_EQ(data.reportCount, 63);
    EXPECT_EQ(data.logicalMax, 255);
    ASSERT_EQ(vendor.feature.caps.size(), 1u);
    EXPECT_EQ(vendor.feature.caps[0].reportId, 3);
    EXPECT_EQ(vendor.feature.caps[0].usageMin, 0x04);
}

struct FieldCase {
    const char* name;
    Bytes descriptor;
    uint16_t inputLength;
    // (usage page, usage, isButton, bit offset, field count, logical maximum) per input cap
    std::vector<std::tuple<uint16_t, uint16_t, bool, uint32_t, uint16_t, int32_t>> caps;
};

class HidDescriptorFields : public testing::TestWithParam<FieldCase> {};

TEST_P(HidDescriptorFields, CapsLieWhereTheirFieldsAre) {
    const FieldCase& c = GetParam();
    std::vector<HidCollectionCaps> out;
    ASSERT_TRUE(ParseReportDescriptor(c.descriptor, out));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].input.reportByteLength, c.inputLength);
    ASSERT_EQ(out[0].input.caps.size(), c.caps.size());
    for (size_t i = 0; i < c.caps.size(); ++i) {
        SCOPED_TRACE(i);
        const HidUsageCap& got = out[0].input.caps[i];
        const auto& [page, usage, button, offset, count, lmax] = c.caps[i];
        EXPECT_EQ(got.usagePage, page);
        EXPECT_EQ(got.usageMin, usage);
        EXPECT_EQ(got.isButton, button);
        EXPECT_EQ(got.bitOffset, offset);
        EXPECT_EQ(got.reportCount, count);
        EXPECT_EQ(got.logicalMax, lmax);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HidDescriptorFields,
    testing::Values(
        // Each usage of a variable item takes one field; the last usage takes what is left.
        FieldCase{"UsagesShareOutAFieldList",
                  {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x05, 0x09, 0x19, 0x01, 0x29, 0x03,
                   0x15, 0x00, 0x25, 0x01, 0x95, 0x08, 0x75, 0x01, 0x81, 0x02, 0x05, 0x01,
                   0x09, 0x30, 0x09, 0x31, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x04,
                   0x81, 0x06, 0xC0},
                  6,
                  {{0x09, 0x01, true, 0, 8, 1},
                   {0x01, 0x30, false, 8, 1, 127},
                   {0x01, 0x31, false, 16, 3, 127}}},
        // Push saves the global state and pop brings it back (page, size, count, maximum).
        FieldCase{"PushAndPop",
                  {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x01, 0x15, 0x00,
                   0x25, 0x7F, 0xA4, 0x05, 0x09, 0x75, 0x01, 0x95, 0x03, 0x25, 0x01, 0x19,
                   0x01, 0x29, 0x03, 0x81, 0x02, 0xB4, 0x09, 0x30, 0x81, 0x02, 0xC0},
                  3,
                  {{0x09, 0x01, true, 0, 3, 1}, {0x01, 0x30, false, 3, 1, 127}}},
        // A long item is skipped; a 4-byte usage names its own page; of a delimited set of
        // aliases only the first usage counts; signed logical limits.
        FieldCase{"LongItemExtendedUsageAndDelimiter",
                  {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xFE, 0x02, 0x10, 0xAA, 0xBB,
                   0x0B, 0x38, 0x02, 0x0C, 0x00, 0xA9, 0x01, 0x09, 0x40, 0x09, 0x41,
                   0xA9, 0x00, 0x16, 0x00, 0x80, 0x26, 0xFF, 0x7F, 0x75, 0x10, 0x95,
                   0x02, 0x81, 0x06, 0xC0},
                  5,
                  {{0x0C, 0x0238, false, 0, 1, 32767}, {0x01, 0x40, false, 16, 1, 32767}}},
        // An array with several usages gives one cap per usage, each over the whole array; a
        // data item without usage still has a cap (usage 0).
        FieldCase{"ArrayOfSeveralUsagesAndItemWithoutUsage",
                  {0x05, 0x01, 0x09, 0x80, 0xA1, 0x01, 0x85, 0x04, 0x75, 0x02, 0x95, 0x01,
                   0x15, 0x01, 0x25, 0x03, 0x09, 0x82, 0x09, 0x81, 0x09, 0x83, 0x81, 0x60,
                   0x75, 0x06, 0x81, 0x02, 0xC0},
                  2,
                  {{0x01, 0x82, true, 0, 1, 3},
                   {0x01, 0x81, true, 0, 1, 3},
                   {0x01, 0x83, true, 0, 1, 3},
                   {0x01, 0x00, false, 2, 1, 3}}}),
    [](const testing::TestParamInfo<FieldCase>& info) { return std::string(info.param.name); });

Bytes repeated(uint8_t byte, size_t n) { return Bytes(n, byte); }

TEST(HidDescriptor, MalformedDescriptorsAreRefused) {
    const std::pair<const char*, Bytes> cases[] = {
        {"item data cut off", {0x05, 0x01, 0x09}},
        {"long item cut off", {0x09, 0x01, 0xA1, 0x01, 0xFE, 0x05, 0x00, 0x01, 0x02, 0xC0}},
        {"end without collection", {0xC0}},
        {"collection left open", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xA1, 0x00, 0xC0}},
        {"pop without push", {0xB4}},
        {"push too deep", repeated(0xA4, 33)},
        {"report id 0", {0x09, 0x01, 0xA1, 0x01, 0x85, 0x00, 0xC0}},
        {"report id above 255", {0x09, 0x01, 0xA1, 0x01, 0x86, 0x00, 0x01, 0xC0}},
        {"field outside a collection", {0x75, 0x08, 0x95, 0x01, 0x81, 0x02}},
        {"nested delimiter", {0xA9, 0x01, 0xA9, 0x01}},
        {"report too long",
         {0x09, 0x01, 0xA1, 0x01, 0x76, 0x00, 0x01, 0x96, 0x00, 0x10, 0x81, 0x02, 0xC0}},
    };
    for (const auto& [name, bytes] : cases) {
        std::vector<HidCollectionCaps> out(3);
        EXPECT_FALSE(ParseReportDescriptor(bytes, out)) << name;
        EXPECT_TRUE(out.empty()) << name;
    }
}

TEST(HidDescriptor, CompleteCollectionsSurviveALaterFault) {
    Bytes bytes(kTwoCollections.begin(), kTwoCollections.begin() + kFirstCollectionEnd);
    bytes.push_back(0xC0);  // an end without a collection
    std::vector<HidCollectionCaps> out;
    EXPECT_FALSE(ParseReportDescriptor(bytes, out));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].usage, 0x06);
    EXPECT_EQ(out[0].input.reportByteLength, 9);
}

// Every cut of a good descriptor, and random bytes, are read within bounds (run under ASan too).
TEST(HidDescriptor, TruncatedAndRandomBytesStayInBounds) {
    for (size_t n = 0; n < kTwoCollections.size(); ++n) {
        Bytes cut(kTwoCollections.begin(), kTwoCollections.begin() + n);
        std::vector<HidCollectionCaps> out;
        const bool ok = ParseReportDescriptor(cut, out);
        // Whole exactly when the cut falls between items outside every collection: at the start,
        // after the keyboard's usage page and usage (no collection is open yet), after the
        // keyboard's end, and after the vendor collection's usage page and usage. Such a cut
        // cannot be told from a shorter descriptor; what it holds is complete, and a cut before
        // any collection simply names none.
        const bool whole = n == 0 || n == 2 || n == 4 || n == kFirstCollectionEnd ||
                           n == kFirstCollectionEnd + 3 || n == kFirstCollectionEnd + 5;
        EXPECT_EQ(ok, whole) << n;
        EXPECT_EQ(out.size(), n >= kFirstCollectionEnd ? 1u : 0u) << n;
    }
    std::mt19937 rng(7);
    for (int i = 0; i < 3000; ++i) {
        Bytes noise(rng() % 96);
        for (uint8_t& b : noise) b = uint8_t(rng());
        std::vector<HidCollectionCaps> out;
        ParseReportDescriptor(noise, out);
    }
}

}  // namespace
}  // namespace tarnel
