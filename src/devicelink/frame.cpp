#include "devicelink/frame.h"

#include <algorithm>
#include <cstring>

#include "common/le_bytes.h"
#include "devicelink/result.h"

namespace tarnel {

uint16_t FrameChecksum(const uint8_t* report64) {
    unsigned sum = 0;
    for (size_t i = 3; i < kReportSize; ++i) sum += report64[i];
    return uint16_t(sum);
}

void SetChecksum(uint8_t* report64) { putLe16(report64 + 1, FrameChecksum(report64)); }

CommandReport BuildFrame(uint8_t command, int length, uint16_t address, const uint8_t* payload) {
    CommandReport frame;
    frame.bytes[0] = kCommandReportId;
    frame.bytes[3] = command;
    frame.bytes[4] = uint8_t(length);
    putLe16(frame.data() + 5, address);
    frame.bytes[7] = 0;
    if (payload && length > 0)
        std::memcpy(frame.payload(), payload, size_t(std::min(length, kPayloadSize)));
    SetChecksum(frame);
    return frame;
}

int CheckStatus(const uint8_t* reply64) {
    if (reply64[7] == 0xFF) return ResultStatusFF;
    if (reply64[7] == 0xFE) return ResultStatusFE;
    return ResultOk;
}

}  // namespace tarnel
