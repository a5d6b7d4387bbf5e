// The command set as the keyboard answers it: replies byte for byte, writes landing in the right
// area, and the status of every request that does not fit.
#include <gtest/gtest.h>

#include <vector>

#include "sim_test_support.h"

namespace tarnel::sim::test {
namespace {

std::vector<uint8_t> Payload(const Frame& reply, size_t n) {
    return std::vector<uint8_t>(reply.begin() + 8, reply.begin() + 8 + long(n));
}

std::vector<uint8_t> Slice(const std::vector<uint8_t>& area, size_t at, size_t n) {
    return std::vector<uint8_t>(area.begin() + long(at), area.begin() + long(at + n));
}

TEST(SimCommands, ReadInfoReplyByteForByte) {
    SimKeyboard k;
    auto dev = OpenCommand(k);
    Frame request = Request(3, 0x2C, 0);
    Frame reply = Exchange(*dev, request);
    // Header echoed, status 0, then the block: firmware 0x0102, profile 0, 0x40 units, effects.
    EXPECT_EQ(std::vector<uint8_t>(reply.begin(), reply.begin() + 8),
              (std::vector<uint8_t>{0x04, 0x2F, 0x00, 0x03, 0x2C, 0x00, 0x00, 0x00}));
    std::vector<uint8_t> expected(44, 0);
    expected[8] = 0x02, expected[9] = 0x01, expected[11] = 0x40;
    for (int i = 0; i < 18; ++i) expected[size_t(12 + i)] = uint8_t(i + 1);
    expected[30] = 20, expected[31] = 21;
    EXPECT_EQ(Payload(reply, 44), expected);
    for (size_t i = 8 + 44; i < reply.size(); ++i) EXPECT_EQ(reply[i], 0) << i;
    EXPECT_EQ(k.requests(), std::vector<Frame>{request});
    EXPECT_EQ(k.replies(), std::vector<Frame>{reply});
}

// Each read returns the asked bytes of its area from the address; nothing past the length.
TEST(SimCommands, ReadsCopyTheirAreaFromTheAddress) {
    struct Case {
        uint8_t command;
        uint8_t length;
        uint16_t address;
        SimArea area;
    };
    const Case cases[] = {
        {5, 56, 84, SimArea::Settings},   {7, 42, 1092, SimArea::KeyTables},
        {9, 16, 0, SimArea::Macros},      {15, 56, 0, SimArea::FactoryKeyTable},
        {16, 54, 566, SimArea::KeyColors}, {16, 0, 0, SimArea::KeyColors},
    };
    SimKeyboard k;
    std::vector<uint8_t> colors(1536);
    for (size_t i = 0; i < colors.size(); ++i) colors[i] = uint8_t(i * 7);
    k.setArea(SimArea::KeyColors, 0, colors);
    auto dev = OpenCommand(k);
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.command));
        Frame reply = Exchange(*dev, Request(c.command, c.length, c.address));
        EXPECT_EQ(reply[7], 0);
        EXPECT_EQ(Payload(reply, c.length), Slice(k.area(c.area), c.address, c.length));
        for (size_t i = 8u + c.length; i < reply.size(); ++i) ASSERT_EQ(reply[i], 0) << i;
    }
}

TEST(SimCommands, WritesLandInTheirArea) {
    SimKeyboard k;
    auto dev = OpenCommand(k);
    EXPECT_EQ(Exchange(*dev, Request(6, 1, 0x2E, {0x05}))[7], 0);
    EXPECT_EQ(k.area(SimArea::Settings)[0x2E], 0x05);
    EXPECT_EQ(Exchange(*dev, Request(8, 3, 1131, {0x02, 0x02, 0x04}))[7], 0);  // last code, profile 2
    EXPECT_EQ(Slice(k.area(SimArea::KeyTables), 1131, 3), (std::vector<uint8_t>{2, 2, 4}));
    EXPECT_EQ(Exchange(*dev, Request(17, 3, 512 + 64 * 3, {0x11, 0x22, 0x33}))[7], 0);
    EXPECT_EQ(Slice(k.area(SimArea::KeyColors), 512 + 192, 3), (std::vector<uint8_t>{0x11, 0x22, 0x33}));
    EXPECT_EQ(Exchange(*dev, Request(10, 2, 8190, {0xAB, 0xCD}))[7], 0);
    EXPECT_EQ(Slice(k.area(SimArea::Macros), 8190, 2), (std::vector<uint8_t>{0xAB, 0xCD}));
    // Length 0 is a valid request that changes nothing.
    std::vector<uint8_t> settings = k.area(SimArea::Settings);
    EXPECT_EQ(Exchange(*dev, Request(6, 0, 0x2E, {0x09}))[7], 0);
    EXPECT_EQ(k.area(SimArea::Settings), settings);
}

TEST(SimCommands, InfoWriteKeepsWhatTheHostSent) {
    SimKeyboard k;
    auto dev = OpenCommand(k);
    Frame info = Exchange(*dev, Request(3, 0x2C, 0));
    Frame write = Request(4, 0x2C, 0);
    std::copy(info.begin() + 8, info.begin() + 52, write.begin() + 8);
    write[8 + 10] = 2;  // active profile
    write[8 + 0] = 0x5A;
    EXPECT_EQ(Exchange(*dev, write)[7], 0);
    std::vector<uint8_t> stored = k.area(SimArea::Info);
    EXPECT_EQ(stored, Payload(write, 44));
    EXPECT_EQ(Payload(Exchange(*dev, Request(3, 0x2C, 0)), 44), stored);
}

TEST(SimCommands, RequestsThatDoNotFitAreRefusedAndChangeNothing) {
    struct Case {
        const char* what;
        Frame request;
        uint8_t status;
    };
    Frame badProfile = Request(4, 0x2C, 0);
    badProfile[8 + 10] = 3;
    const Case cases[] = {
        {"unknown command 11", Request(11, 0, 0), 0xFF},
        {"unknown command 0", Request(0, 0, 0), 0xFF},
        {"write to the factory table", Request(14, 3, 0, {1, 2, 3}), 0xFF},
        {"length over 56", Request(6, 57, 0), 0xFE},
        {"settings end", Request(6, 1, 256, {1}), 0xFE},
        {"settings straddling its end", Request(5, 56, 201), 0xFE},
        {"key tables past profile 2", Request(8, 42, 1093), 0xFE},
        {"factory table end", Request(15, 3, 378), 0xFE},
        {"macros past capacity", Request(10, 2, 8191, {1, 2}), 0xFE},
        {"colours past profile 2", Request(17, 3, 1534, {1, 2, 3}), 0xFE},
        {"info at an address", Request(3, 0x2C, 1), 0xFE},
        {"partial info write", Request(4, 10, 0), 0xFE},
        {"info write with profile 3", badProfile, 0xFE},
    };
    SimKeyboard k;
    auto dev = OpenCommand(k);
    std::vector<std::vector<uint8_t>> before;
    for (int a = 0; a <= int(SimArea::KeyColors); ++a) before.push_back(k.area(SimArea(a)));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Frame reply = Exchange(*dev, c.request);
        EXPECT_EQ(reply[7], c.status);
        EXPECT_TRUE(std::equal(reply.begin(), reply.begin() + 7, c.request.begin()));
        for (size_t i = 8; i < reply.size(); ++i) ASSERT_EQ(reply[i], 0) << i;
    }
    for (int a = 0; a <= int(SimArea::KeyColors); ++a) EXPECT_EQ(k.area(SimArea(a)), before[size_t(a)]);
}

TEST(SimCommands, ReportsTheHostCannotSendAreNotTaken) {
    SimKeyboard k;
    auto dev = OpenCommand(k);
    Frame wrongId = Request(3, 0x2C, 0);
    wrongId[0] = 5;
    EXPECT_FALSE(dev->writeReport(wrongId.data(), wrongId.size(), 100));
    uint8_t tooLong[65] = {4, 0, 0, 1};
    EXPECT_FALSE(dev->writeReport(tooLong, sizeof tooLong, 100));
    EXPECT_EQ(k.requestCount(), 0u);
    // A short report is zero-filled to the report length.
    const uint8_t shortBegin[] = {4, 1, 0, 1};
    ASSERT_TRUE(dev->writeReport(shortBegin, sizeof shortBegin, 100));
    Frame reply{};
    ASSERT_TRUE(dev->readReport(reply.data(), reply.size(), 100));
    EXPECT_EQ(reply[7], 0);
    EXPECT_EQ(k.requests().at(0), Request(1, 0, 0));
}

TEST(SimMemoryDefaults, FactoryTableAndKeyTables) {
    SimKeyboard k;
    std::vector<uint8_t> factory = k.area(SimArea::FactoryKeyTable);
    ASSERT_EQ(factory.size(), 378u);
    auto code = [&](int position) { return Slice(factory, size_t(position) * 3, 3); };
    EXPECT_EQ(code(64), (std::vector<uint8_t>{0x02, 0x02, 0x04}));   // A
    EXPECT_EQ(code(0), (std::vector<uint8_t>{0x02, 0x02, 0x35}));    // grave accent
    EXPECT_EQ(code(105), (std::vector<uint8_t>{0x02, 0x02, 0xE0}));  // left Ctrl
    EXPECT_EQ(code(124), (std::vector<uint8_t>{0x02, 0x02, 0x63}));  // Num .
    const int gPositions[] = {1, 17, 18, 19, 20, 75, 77, 78, 79};
    for (int g = 0; g < 9; ++g)
        EXPECT_EQ(code(gPositions[g]), (std::vector<uint8_t>{0x06, 0xA2, uint8_t(g + 1)}));
    int keys = 0, empty = 0;
    for (int p = 0; p < 126; ++p) {
        keys += code(p)[0] == 0x02;
        empty += code(p) == std::vector<uint8_t>{0, 0, 0};
    }
    EXPECT_EQ(keys, 106);
    EXPECT_EQ(empty, 126 - 106 - 9);
    std::vector<uint8_t> tables = k.area(SimArea::KeyTables);
    ASSERT_EQ(tables.size(), 3u * 378);
    for (size_t p = 0; p < 3; ++p) EXPECT_EQ(Slice(tables, p * 378, 378), factory);
}

TEST(SimMemoryDefaults, LightingAndMacroArea) {
    SimKeyboard k;
    std::vector<uint8_t> settings = k.area(SimArea::Settings);
    ASSERT_EQ(settings.size(), 256u);
    for (size_t p = 0; p < 3; ++p) {
        EXPECT_EQ(settings[p * 42 + 0], 1);     // effect
        EXPECT_EQ(settings[p * 42 + 1], 4);     // brightness
        EXPECT_EQ(settings[p * 42 + 5], 0xFF);  // red
    }
    std::vector<uint8_t> macros = k.area(SimArea::Macros);
    ASSERT_EQ(macros.size(), 0x40u * 128);
    EXPECT_EQ(Slice(macros, 0, 8), (std::vector<uint8_t>{0xAA, 0x55, 16, 0, 0, 0, 0, 0}));
    EXPECT_EQ(k.area(SimArea::KeyColors).size(), 1536u);
}

TEST(SimMemoryDefaults, SettersShapeTheInfoBlockAndMacroArea) {
    SimKeyboard k;
    k.setFirmware(0x0101);
    k.setActiveProfile(1);
    k.setEffects({4, 20});
    k.setMacroCapacityByte(2);
    std::vector<uint8_t> info = k.area(SimArea::Info);
    EXPECT_EQ(Slice(info, 8, 6), (std::vector<uint8_t>{0x01, 0x01, 1, 2, 4, 20}));
    EXPECT_EQ(info[14], 0);
    EXPECT_EQ(k.area(SimArea::Macros).size(), 256u);
    auto dev = OpenCommand(k);
    EXPECT_EQ(Exchange(*dev, Request(9, 56, 200))[7], 0);
    EXPECT_EQ(Exchange(*dev, Request(9, 1, 256))[7], 0xFE);
}

TEST(SimMemoryDefaults, ModelBSizesAndAddresses) {
    SimKeyboard k(kModelB);
    EXPECT_EQ(k.area(SimArea::KeyTables).size(), 3u * 512);
    std::vector<uint8_t> factory = k.area(SimArea::FactoryKeyTable);
    ASSERT_EQ(factory.size(), 512u);
    EXPECT_EQ(Slice(factory, 64 * 3, 3), (std::vector<uint8_t>{0x02, 0x02, 0x04}));
    EXPECT_NE(k.commandPath().find("vid_320f&pid_5000"), std::string::npos);
    auto dev = OpenCommand(k);
    EXPECT_EQ(dev->attributes().vendorId, 0x320F);
    EXPECT_EQ(Exchange(*dev, Request(7, 8, 1528))[7], 0);  // last chunk of profile 2
    EXPECT_EQ(Exchange(*dev, Request(7, 9, 1528))[7], 0xFE);
    EXPECT_EQ(Exchange(*dev, Request(15, 8, 504))[7], 0);
    k.replaceWith(kModelA);
    EXPECT_EQ(k.area(SimArea::KeyTables).size(), 3u * 378);
    EXPECT_EQ(k.model().name, 'A');
}

}  // namespace
}  // namespace tarnel::sim::test
