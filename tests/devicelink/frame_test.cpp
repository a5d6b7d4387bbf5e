#include "devicelink/frame.h"

#include <gtest/gtest.h>

#include <vector>

#include "devicelink/result.h"

namespace tarnel {
namespace {

struct WorkedFrame {
    uint8_t command;
    int length;
    uint16_t address;
    std::vector<uint8_t> payload;
    std::vector<uint8_t> head;  // the frame's first bytes; every later byte is zero
};

class WorkedFrames : public ::testing::TestWithParam<WorkedFrame> {};

TEST_P(WorkedFrames, MatchByteForByte) {
    const WorkedFrame& w = GetParam();
    CommandReport f = BuildFrame(w.command, w.length, w.address, w.payload.data());
    for (size_t i = 0; i < kReportSize; ++i)
        EXPECT_EQ(f.bytes[i], i < w.head.size() ? w.head[i] : 0) << "byte " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, WorkedFrames,
    ::testing::Values(WorkedFrame{1, 0, 0, {}, {0x04, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00}},
                      WorkedFrame{3, 0x2C, 0, {}, {0x04, 0x2F, 0x00, 0x03, 0x2C, 0x00, 0x00, 0x00}},
                      WorkedFrame{6, 1, 0x002E, {0x05},
                                  {0x04, 0x3A, 0x00, 0x06, 0x01, 0x2E, 0x00, 0x00, 0x05}}));

TEST(Frame, ChecksumOfAllOnesIsC33C) {
    uint8_t report[kReportSize];
    std::fill(std::begin(report), std::end(report), 0xFF);
    SetChecksum(report);
    EXPECT_EQ(FrameChecksum(report), 15555);
    EXPECT_EQ(report[1], 0xC3);
    EXPECT_EQ(report[2], 0x3C);
}

TEST(Frame, PayloadIsCutAtFiftySixBytesAndNegativeLengthCopiesNothing) {
    std::vector<uint8_t> big(80, 0x11);
    CommandReport f = BuildFrame(6, 80, 0, big.data());
    EXPECT_EQ(f.length(), 80);
    EXPECT_EQ(f.payload()[55], 0x11);
    CommandReport none = BuildFrame(6, -1, 0, big.data());
    for (int i = 0; i < kPayloadSize; ++i) EXPECT_EQ(none.payload()[i], 0);
    EXPECT_EQ(none.checksum(), FrameChecksum(none.data()));
}

TEST(Frame, StatusJudgement) {
    struct Case {
        uint8_t status;
        int result;
    };
    for (Case c : {Case{0xFF, ResultStatusFF}, Case{0xFE, ResultStatusFE}, Case{0x00, ResultOk},
                   Case{0x01, ResultOk}, Case{0xFD, ResultOk}}) {
        CommandReport reply;
        reply.bytes[7] = c.status;
        EXPECT_EQ(CheckStatus(reply), c.result) << int(c.status);
    }
}

}  // namespace
}  // namespace tarnel
