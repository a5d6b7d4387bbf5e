// A HidBackend in front of another one that watches the command interface: every report written
// to or read from it is passed to a sink (the --trace lines), and the last request attempted is
// remembered, so a failure can be put down to the command and the result it had.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "devicelink/hid_backend.h"

namespace tarnel {

// The last exchange on the command interface.
struct FrameWatch {
    int lastCommand = -1;     // command byte of the last request attempted; -1: none yet
    bool written = false;     // that request was written
    bool replied = false;     // a reply was read after it
    uint8_t replyStatus = 0;  // the reply's status byte

    // The device result the exchange came to (1 when it succeeded).
    int result() const;
};

// Called for each report moved on the command interface, with its bytes (at most 64 shown).
using FrameSink = std::function<void(bool outgoing, const uint8_t* report, size_t length)>;

class TapBackend : public HidBackend {
public:
    TapBackend(HidBackend& inner, FrameSink sink);

    bool enumerate(std::vector<std::string>& paths) override { return m_inner.enumerate(paths); }
    std::unique_ptr<HidDevice> open(const std::string& path, const HidOpenOptions& options,
                                    HidOpenError* error = nullptr) override;
    bool isPresent(const std::string& path) override { return m_inner.isPresent(path); }
    bool enumerationIds(const std::string& path, uint16_t& vendorId,
                        uint16_t& productId) override {
        return m_inner.enumerationIds(path, vendorId, productId);
    }

    FrameWatch lastExchange() const;
    // The first exchange that failed since clearFailures(): a reply with status 0xFF or 0xFE,
    // a request that could not be written, or a request left without a reply after every
    // attempt of the transaction. lastCommand is -1 when none failed.
    FrameWatch firstFailure() const;
    void clearFailures();

    // For the tapped devices (any thread).
    void requestAttempted(uint8_t command);
    void requestWritten(const uint8_t* report, size_t length);
    void replyRead(const uint8_t* report, size_t length);

private:
    HidBackend& m_inner;
    FrameSink m_sink;
    mutable std::mutex m_lock;  // guards m_watch; the sink runs outside it
    // Judges the exchange in m_watch once it is complete (the next request, or a query).
    void judge(bool final) const;

    FrameWatch m_watch;
    mutable int m_noReplyRun = 0;  // attempts in a row that got no reply
    mutable FrameWatch m_failure;
    mutable bool m_judged = false;  // m_watch has been judged
};

}  // namespace tarnel
