// The request/reply transaction and the chunked area transfer.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>

namespace tarnel {

class DeviceConnection;
struct LinkState;

inline constexpr int kTransactAttempts = 4;
inline constexpr int kWriteLimitMs = 1000;
inline constexpr int kReadLimitMs = 300;

// Called after each chunk that succeeded: bytes moved so far, total bytes. Lets Apply repaint
// its busy picture during a long transfer.
using ChunkProgress = std::function<void(int done, int total)>;

// One request/reply exchange: 0 when not connected (nothing sent); up to 4 attempts, each
// holding the transaction lock for its write (1000 ms) and the read of its reply (300 ms);
// -1 at once when a write fails; 1 when a reply arrived in reply64 (64 bytes); else 0.
// The request is zero-filled past requestLength and cut at 64 bytes.
int Transact(DeviceConnection& connection, const LinkState& link, const uint8_t* request,
             size_t requestLength, uint8_t* reply64);

// Chunked transfer of `total` bytes from `baseAddress` in frames of at most 56 bytes. The frame
// is cleared once per transfer (a short last write chunk carries the previous chunk's tail).
// Stops at the first chunk whose transaction or status fails and returns that result.
int ReadArea(DeviceConnection& connection, const LinkState& link, uint8_t command, int baseAddress,
             int total, uint8_t* dest, const ChunkProgress& progress = {});
int WriteArea(DeviceConnection& connection, const LinkState& link, uint8_t command,
              int baseAddress, int total, const uint8_t* src, const ChunkProgress& progress = {});

}  // namespace tarnel
