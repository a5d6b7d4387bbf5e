#include "common/le_bytes.h"

#include <gtest/gtest.h>

#include <array>

namespace tarnel {
namespace {

TEST(LeBytes, RoundTripsLowByteFirst) {
    std::array<uint8_t, 6> b{};
    putLe16(b.data(), 0x3CC3);
    putLe32(b.data() + 2, 0x11223344);
    EXPECT_EQ(b, (std::array<uint8_t, 6>{0xC3, 0x3C, 0x44, 0x33, 0x22, 0x11}));
    EXPECT_EQ(getLe16(b.data()), 0x3CC3);
    EXPECT_EQ(getLe32(b.data() + 2), 0x11223344u);
}

TEST(ByteReader, RefusesEveryReadPastTheEnd) {
    const std::array<uint8_t, 3> b{1, 2, 3};
    ByteReader r(b);
    uint8_t v8 = 0xAA;
    uint16_t v16 = 0xAAAA;
    uint32_t v32 = 0xAAAAAAAA;
    EXPECT_TRUE(r.u8(2, v8));
    EXPECT_EQ(v8, 3);
    EXPECT_TRUE(r.le16(1, v16));
    EXPECT_EQ(v16, 0x0302);
    EXPECT_FALSE(r.le16(2, v16));
    EXPECT_FALSE(r.le32(0, v32));
    EXPECT_FALSE(r.u8(3, v8));
    EXPECT_FALSE(r.has(SIZE_MAX, 2));  // an offset near the top does not wrap around
    EXPECT_EQ(v16, 0x0302);            // failed reads leave the output alone
    EXPECT_EQ(v32, 0xAAAAAAAAu);
}

}  // namespace
}  // namespace tarnel
