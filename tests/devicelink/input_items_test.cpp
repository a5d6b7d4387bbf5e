#include "devicelink/input_items.h"

#include <gtest/gtest.h>

namespace tarnel {
namespace {

HidUsageCap consumerArray(uint8_t reportId, uint16_t count) {
    HidUsageCap c;
    c.usagePage = 0x0C, c.reportId = reportId, c.isButton = true, c.isRange = true;
    c.isArray = true, c.usageMin = 0, c.usageMax = 0x2FFF, c.bitSize = 16, c.reportCount = count;
    c.logicalMin = 0, c.logicalMax = 0x2FFF;
    return c;
}

TEST(InputItems, ArrayButtonsListActiveUsagesThenZero) {
    HidCollectionCaps caps;
    caps.input.caps = {consumerArray(3, 2)};
    std::vector<InputItem> items = BuildInputItems(caps);
    ASSERT_EQ(items.size(), 1u);
    ASSERT_EQ(items[0].usages.size(), 2u);

    const uint8_t two[] = {3, 0x01, 0x04, 0x11, 0x18};
    ParseInputReport(items, two, sizeof two);
    EXPECT_EQ(items[0].usages, (std::vector<uint16_t>{0x0401, 0x1811}));

    const uint8_t one[] = {3, 0x10, 0x18, 0x00, 0x00};
    ParseInputReport(items, one, sizeof one);
    EXPECT_EQ(items[0].usages, (std::vector<uint16_t>{0x1810, 0}));

    const uint8_t otherId[] = {4, 0x02, 0x04, 0, 0};
    ParseInputReport(items, otherId, sizeof otherId);
    EXPECT_EQ(items[0].usages[0], 0x1810);  // slots of other reports keep their content

    const uint8_t outOfRange[] = {3, 0xFF, 0x7F, 0x00, 0x00};
    ParseInputReport(items, outOfRange, sizeof outOfRange);
    EXPECT_EQ(items[0].usages[0], 0);
}

TEST(InputItems, ShortReportReadsOnlyWhatIsThere) {
    HidCollectionCaps caps;
    caps.input.caps = {consumerArray(3, 2)};
    std::vector<InputItem> items = BuildInputItems(caps);
    const uint8_t shortReport[] = {3, 0x01, 0x04, 0x11};  // the second field is cut off
    ParseInputReport(items, shortReport, sizeof shortReport);
    EXPECT_EQ(items[0].usages, (std::vector<uint16_t>{0x0401, 0}));
    ParseInputReport(items, shortReport, 1);
    EXPECT_EQ(items[0].usages, (std::vector<uint16_t>{0, 0}));
}

TEST(InputItems, BitButtonsAndValues) {
    HidUsageCap bits;
    bits.usagePage = 0x09, bits.reportId = 1, bits.isButton = true, bits.isRange = true;
    bits.usageMin = 1, bits.usageMax = 8, bits.bitSize = 1, bits.reportCount = 8;
    HidUsageCap wheel;
    wheel.usagePage = 0x01, wheel.reportId = 1, wheel.usageMin = wheel.usageMax = 0x38;
    wheel.bitSize = 8, wheel.reportCount = 1, wheel.logicalMin = -127, wheel.logicalMax = 127;
    wheel.bitOffset = 8;
    HidUsageCap xy;  // a range of two values, 12 bits each
    xy.usagePage = 0x01, xy.reportId = 1, xy.isRange = true, xy.usageMin = 0x30, xy.usageMax = 0x31;
    xy.bitSize = 12, xy.reportCount = 2, xy.logicalMin = 0, xy.logicalMax = 4095;
    xy.physicalMin = 0, xy.physicalMax = 100;
    xy.bitOffset = 16;
    HidCollectionCaps caps;
    caps.input.caps = {bits, wheel, xy};
    std::vector<InputItem> items = BuildInputItems(caps);
    ASSERT_EQ(items.size(), 4u);

    const uint8_t report[] = {1, 0b00100101, 0xFE, 0xFF, 0x0F, 0x00};
    ParseInputReport(items, report, sizeof report);
    EXPECT_EQ(items[0].usages, (std::vector<uint16_t>{1, 3, 6, 0, 0, 0, 0, 0}));
    EXPECT_EQ(items[1].rawValue, -2);
    EXPECT_EQ(items[2].usageMin, 0x30);
    EXPECT_EQ(items[2].rawValue, 4095);
    EXPECT_EQ(items[2].scaledValue, 100);
    EXPECT_EQ(items[3].usageMin, 0x31);
    EXPECT_EQ(items[3].rawValue, 0);
}

TEST(InputItems, HugeValueRangeGivesNoMoreSlotsThanFields) {
    HidUsageCap c;
    c.usagePage = 0xFF00, c.isRange = true, c.usageMin = 0, c.usageMax = 0xFFFF;
    c.bitSize = 8, c.reportCount = 4;
    HidCollectionCaps caps;
    caps.input.caps = {c};
    EXPECT_EQ(BuildInputItems(caps).size(), 4u);
}

// A hostile descriptor: many huge value ranges and huge button arrays stay within the budgets,
// and the first button slot (the event code's) is still built.
TEST(InputItems, SlotsAndUsageListsStayWithinTheirBudgets) {
    HidUsageCap button;
    button.isButton = button.isArray = button.isRange = true;
    button.usageMax = 0xFFFF, button.bitSize = 16, button.reportCount = 0xFFFF;
    HidUsageCap value;
    value.isRange = true, value.usageMax = 0xFFFF, value.bitSize = 0, value.reportCount = 0xFFFF;
    HidCollectionCaps caps;
    caps.input.caps.push_back(button);
    for (int i = 0; i < 500; ++i) caps.input.caps.push_back(i % 2 ? button : value);
    std::vector<InputItem> items = BuildInputItems(caps);
    EXPECT_LE(items.size(), kMaxInputSlots);
    size_t usages = 0;
    for (const InputItem& item : items) usages += item.usages.size();
    EXPECT_LE(usages, kMaxButtonUsages);
    ASSERT_FALSE(items.empty());
    EXPECT_TRUE(items[0].isButton);
    EXPECT_EQ(items[0].usages.size(), 0xFFFFu);
}

}  // namespace
}  // namespace tarnel
