#include "cli/cli_tap.h"

#include "devicelink/device_match.h"
#include "devicelink/frame.h"
#include "devicelink/result.h"
#include "devicelink/transaction.h"

namespace tarnel {
namespace {

class TapDevice : public HidDevice {
public:
    TapDevice(std::unique_ptr<HidDevice> inner, TapBackend& tap)
        : m_inner(std::move(inner)), m_tap(tap) {}

    bool writeReport(const uint8_t* data, size_t length, int timeoutMs) override {
        m_tap.requestAttempted(length > 3 ? data[3] : 0);
        bool ok = m_inner->writeReport(data, length, timeoutMs);
        if (ok) m_tap.requestWritten(data, length);
        return ok;
    }
    bool readReport(uint8_t* buffer, size_t length, int timeoutMs) override {
        bool ok = m_inner->readReport(buffer, length, timeoutMs);
        if (ok) m_tap.replyRead(buffer, length);
        return ok;
    }
    void abort() override { m_inner->abort(); }
    HidAttributes attributes() const override { return m_inner->attributes(); }
    const HidCollectionCaps& caps() const override { return m_inner->caps(); }

private:
    std::unique_ptr<HidDevice> m_inner;
    TapBackend& m_tap;
};

}  // namespace

int FrameWatch::result() const {
    if (lastCommand < 0) return ResultNoReply;
    if (!written) return ResultWriteFailed;
    if (!replied) return ResultNoReply;
    if (replyStatus == 0xFF) return ResultStatusFF;
    if (replyStatus == 0xFE) return ResultStatusFE;
    return ResultOk;
}

TapBackend::TapBackend(HidBackend& inner, FrameSink sink) : m_inner(inner), m_sink(std::move(sink)) {}

std::unique_ptr<HidDevice> TapBackend::open(const std::string& path, const HidOpenOptions& options,
                                            HidOpenError* error) {
    std::unique_ptr<HidDevice> device = m_inner.open(path, options, error);
    // Only the command interface is watched; the others pass as they are.
    if (!device || !IsCommandCollection(device->caps())) return device;
    return std::make_unique<TapDevice>(std::move(device), *this);
}

FrameWatch TapBackend::lastExchange() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_watch;
}

FrameWatch TapBackend::firstFailure() const {
    std::lock_guard<std::mutex> lock(m_lock);
    judge(true);
    return m_failure;
}

void TapBackend::clearFailures() {
    std::lock_guard<std::mutex> lock(m_lock);
    m_failure = FrameWatch{};
    m_noReplyRun = 0;
    m_judged = true;
}

void TapBackend::judge(bool final) const {
    if (m_judged || m_watch.lastCommand < 0) return;
    bool failed = false;
    if (m_watch.written && !m_watch.replied) {
        // A request without a reply is tried again: it failed when the transaction gave up
        // (its last attempt), or when nothing came after it (a query at the end).
        if (final) {
            failed = true;
        } else {
            failed = ++m_noReplyRun >= kTransactAttempts;
            if (failed) m_noReplyRun = 0;
            m_judged = true;
        }
    } else {
        m_noReplyRun = 0;
        failed = m_watch.result() != ResultOk;
        m_judged = true;
    }
    if (failed && m_failure.lastCommand < 0) m_failure = m_watch;
}

void TapBackend::requestAttempted(uint8_t command) {
    std::lock_guard<std::mutex> lock(m_lock);
    judge(false);
    m_watch = FrameWatch{command, false, false, 0};
    m_judged = false;
}

void TapBackend::requestWritten(const uint8_t* report, size_t length) {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_watch.written = true;
    }
    if (m_sink) m_sink(true, report, length);
}

void TapBackend::replyRead(const uint8_t* report, size_t length) {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_watch.replied = true;
        m_watch.replyStatus = length > 7 ? report[7] : 0;
    }
    if (m_sink) m_sink(false, report, length);
}

}  // namespace tarnel
