#include "devicelink/transaction.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "common/le_bytes.h"
#include "devicelink/device_connection.h"
#include "devicelink/frame.h"
#include "devicelink/link_state.h"
#include "devicelink/result.h"

namespace tarnel {

int Transact(DeviceConnection& connection, const LinkState& link, const uint8_t* request,
             size_t requestLength, uint8_t* reply64) {
    if (!link.connected.load()) return ResultNoReply;
    uint8_t frame[kReportSize] = {};
    if (request) std::memcpy(frame, request, std::min(requestLength, kReportSize));
    for (int attempt = 0; attempt < kTransactAttempts; ++attempt) {
        // Held for one write and the read of its reply only (never across attempts), so no
        // other frame is written between a request and its reply.
        std::lock_guard<std::recursive_mutex> lock(connection.transactionLock());
        // A late reply to an earlier request (its read ran out of time) may be waiting; it is
        // not the answer to this frame.
        connection.DiscardPendingInput();
        if (!connection.WriteReport(frame, kReportSize, kWriteLimitMs)) return ResultWriteFailed;
        if (connection.ReadReport(reply64, kReportSize, kReadLimitMs)) return ResultOk;
    }
    return ResultNoReply;
}

namespace {

int transfer(DeviceConnection& connection, const LinkState& link, uint8_t command,
             int baseAddress, int total, uint8_t* dest, const uint8_t* src,
             const ChunkProgress& progress) {
    if (total <= 0) return ResultOk;
    CommandReport frame;  // cleared once for the whole transfer
    frame.bytes[0] = kCommandReportId;
    frame.bytes[3] = command;
    frame.bytes[7] = 0;
    CommandReport reply;
    for (int offset = 0; offset < total; offset += kPayloadSize) {
        int chunk = offset + kPayloadSize < total ? kPayloadSize : total - offset;
        frame.bytes[4] = uint8_t(chunk);
        putLe16(frame.data() + 5, uint16_t(baseAddress + offset));
        if (src) std::memcpy(frame.payload(), src + offset, size_t(chunk));
        SetChecksum(frame);
        int result = Transact(connection, link, frame.data(), kReportSize, reply.data());
        if (result != ResultOk) return result;
        result = CheckStatus(reply);
        if (result != ResultOk) return result;
        if (dest) std::memcpy(dest + offset, reply.payload(), size_t(chunk));
        if (progress) progress(offset + chunk, total);
    }
    return ResultOk;
}

}  // namespace

int ReadArea(DeviceConnection& connection, const LinkState& link, uint8_t command, int baseAddress,
             int total, uint8_t* dest, const ChunkProgress& progress) {
    return transfer(connection, link, command, baseAddress, total, dest, nullptr, progress);
}

int WriteArea(DeviceConnection& connection, const LinkState& link, uint8_t command,
              int baseAddress, int total, const uint8_t* src, const ChunkProgress& progress) {
    return transfer(connection, link, command, baseAddress, total, nullptr, src, progress);
}

}  // namespace tarnel
