// The 64-byte report of the command interface, used in both directions:
// byte 0 report id 4, bytes 1-2 checksum (LE), 3 command, 4 length, 5-6 address (LE),
// 7 status (0 in requests), 8-63 payload.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace tarnel {

inline constexpr size_t kReportSize = 64;
inline constexpr uint8_t kCommandReportId = 4;
inline constexpr size_t kPayloadOffset = 8;
inline constexpr int kPayloadSize = 56;

struct CommandReport {
    std::array<uint8_t, kReportSize> bytes{};

    uint8_t* data() { return bytes.data(); }
    const uint8_t* data() const { return bytes.data(); }
    uint8_t* payload() { return bytes.data() + kPayloadOffset; }
    const uint8_t* payload() const { return bytes.data() + kPayloadOffset; }
    uint8_t command() const { return bytes[3]; }
    uint8_t length() const { return bytes[4]; }
    uint16_t address() const { return uint16_t(bytes[5] | bytes[6] << 8); }
    uint8_t status() const { return bytes[7]; }
    uint16_t checksum() const { return uint16_t(bytes[1] | bytes[2] << 8); }
};

// The 16-bit sum of bytes 3..63 (never wraps: at most 61 x 255 = 15555).
uint16_t FrameChecksum(const uint8_t* report64);
// Stores FrameChecksum in bytes 1 (low) and 2 (high). Call it last, after every other byte.
void SetChecksum(uint8_t* report64);
inline void SetChecksum(CommandReport& frame) { SetChecksum(frame.data()); }

// A request: id 4, the given fields, status 0, the first `length` payload bytes (at most 56;
// none when length <= 0 or payload is null) copied from byte 8, zero elsewhere, checksum set.
CommandReport BuildFrame(uint8_t command, int length, uint16_t address, const uint8_t* payload);

// -102 for reply status 0xFF, -103 for 0xFE, else 1.
int CheckStatus(const uint8_t* reply64);
inline int CheckStatus(const CommandReport& reply) { return CheckStatus(reply.data()); }

}  // namespace tarnel
