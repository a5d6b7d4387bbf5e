#include "sim/sim_keyboard.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

#include "common/le_bytes.h"
#include "sim/sim_interfaces.h"
#include "sim/sim_memory.h"
#include "sim/sim_state_file.h"

namespace tarnel::sim {
namespace {

using Clock = std::chrono::steady_clock;

// The log keeps the most recent frames; a long demo session must not grow without bound.
constexpr size_t kLogLimit = 1u << 18;

struct Pending {
    std::vector<uint8_t> bytes;
    Clock::time_point readyAt;
};

// One open handle. Replies go to the handle that wrote the request; events go to every open
// consumer-control handle.
struct Handle {
    SimInterface which = SimInterface::Command;
    unsigned generation = 0;
    bool canRead = true;
    bool canWrite = true;
    bool aborted = false;
    std::deque<Pending> queue;
};

// The wire time of one report is about a millisecond, which a timed sleep or wait overshoots by
// the timer's slack (some 50 us, and more on a busy machine): the last stretch is spun instead.
constexpr std::chrono::microseconds kSpin{200};

void spinUntil(Clock::time_point until) {
    while (Clock::now() < until) std::this_thread::yield();
}

// Sleeps to within a few microseconds of the deadline.
void sleepPrecisely(std::chrono::microseconds duration) {
    if (duration.count() <= 0) return;
    Clock::time_point until = Clock::now() + duration;
    if (duration > kSpin) std::this_thread::sleep_until(until - kSpin);
    spinUntil(until);
}

void appendLimited(std::vector<Frame>& log, const Frame& frame) {
    if (log.size() >= kLogLimit) log.erase(log.begin(), log.begin() + long(kLogLimit / 2));
    log.push_back(frame);
}

}  // namespace

struct SimKeyboard::Impl {
    mutable std::mutex mutex;
    std::condition_variable cv;
    SimMemory memory;
    bool plugged = true;
    unsigned generation = 1;
    std::map<int, FaultKind> faults;
    int frameCount = 0;  // requests since construction or clearLog, for the faults
    int replyDelayMs = 0;
    int latencyUs = 0;
    std::vector<Frame> requests, replies;
    std::vector<std::weak_ptr<Handle>> handles;

    bool alive(const Handle& h) const {
        return plugged && h.generation == generation && !h.aborted;
    }
    // A different keyboard in the same socket: every old handle and path goes dead.
    void newArrival() {
        ++generation;
        cv.notify_all();
    }
    void setUnplugged() {
        plugged = false;
        cv.notify_all();
    }
    void pushReply(Handle& h, const Frame& reply) {
        appendLimited(replies, reply);
        auto delay = std::chrono::milliseconds(replyDelayMs) + std::chrono::microseconds(latencyUs);
        h.queue.push_back({std::vector<uint8_t>(reply.begin(), reply.end()), Clock::now() + delay});
        cv.notify_all();
    }
    // One request on the command interface, with the fault planned for its frame number.
    void takeRequest(Handle& h, const Frame& request) {
        appendLimited(requests, request);
        ++frameCount;
        auto fault = faults.find(frameCount);
        if (fault == faults.end()) {
            Frame reply;
            memory.answer(request, reply);
            pushReply(h, reply);
            return;
        }
        FaultKind kind = fault->second;
        faults.erase(fault);
        switch (kind) {
            case FaultKind::NoReply: return;
            case FaultKind::Unplug: setUnplugged(); return;
            case FaultKind::StatusFF:
            case FaultKind::StatusFE: {
                Frame reply{};
                std::memcpy(reply.data(), request.data(), 7);
                reply[7] = kind == FaultKind::StatusFF ? kSimStatusUnknownCommand
                                                       : kSimStatusOutOfRange;
                pushReply(h, reply);
                return;
            }
        }
    }
    void pruneHandles() {
        std::erase_if(handles, [](const std::weak_ptr<Handle>& w) { return w.expired(); });
    }
};

namespace {

class SimDevice : public HidDevice {
public:
    SimDevice(std::shared_ptr<SimKeyboard::Impl> impl, std::shared_ptr<Handle> handle,
              HidAttributes attributes)
        : m_impl(std::move(impl)), m_handle(std::move(handle)), m_attributes(attributes) {}

    bool writeReport(const uint8_t* data, size_t length, int timeoutMs) override;
    bool readReport(uint8_t* buffer, size_t length, int timeoutMs) override;
    void abort() override {
        std::lock_guard<std::mutex> lock(m_impl->mutex);
        m_handle->aborted = true;
        m_impl->cv.notify_all();
    }
    HidAttributes attributes() const override { return m_attributes; }
    const HidCollectionCaps& caps() const override { return CapsOf(m_handle->which); }

private:
    std::shared_ptr<SimKeyboard::Impl> m_impl;
    std::shared_ptr<Handle> m_handle;
    HidAttributes m_attributes;
};

// Only the command interface takes output reports here, and only whole ones of report id 4.
bool SimDevice::writeReport(const uint8_t* data, size_t length, int) {
    if (!data || length == 0 || length > kCommandReportSize || data[0] != kCommandReportId)
        return false;
    Frame request{};
    std::memcpy(request.data(), data, length);
    int latencyUs = 0;
    {
        std::lock_guard<std::mutex> lock(m_impl->mutex);
        if (!m_impl->alive(*m_handle) || !m_handle->canWrite ||
            m_handle->which != SimInterface::Command)
            return false;
        latencyUs = m_impl->latencyUs;
    }
    sleepPrecisely(std::chrono::microseconds(latencyUs));
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    if (!m_impl->alive(*m_handle)) return false;
    m_impl->takeRequest(*m_handle, request);
    return true;
}

bool SimDevice::readReport(uint8_t* buffer, size_t length, int timeoutMs) {
    std::unique_lock<std::mutex> lock(m_impl->mutex);
    Handle& h = *m_handle;
    if (!h.canRead || !buffer) return false;
    const bool limited = timeoutMs >= 0;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        if (!m_impl->alive(h)) return false;
        Clock::time_point now = Clock::now();
        if (!h.queue.empty() && h.queue.front().readyAt <= now) break;
        if (limited && now >= deadline) return false;
        if (!h.queue.empty()) {
            const Clock::time_point wake =
                limited ? std::min(h.queue.front().readyAt, deadline) : h.queue.front().readyAt;
            if (wake - now > kSpin) {
                m_impl->cv.wait_until(lock, wake - kSpin);
            } else {
                // Due within the spin: wait it out precisely, without holding the lock (an
                // unplug meanwhile is seen on the next turn of the loop).
                lock.unlock();
                spinUntil(wake);
                lock.lock();
            }
        } else if (limited) {
            m_impl->cv.wait_until(lock, deadline);
        } else {
            m_impl->cv.wait(lock);
        }
    }
    std::vector<uint8_t> report = std::move(h.queue.front().bytes);
    h.queue.pop_front();
    std::memset(buffer, 0, length);
    std::memcpy(buffer, report.data(), std::min(length, report.size()));
    return true;
}

}  // namespace

SimKeyboard::SimKeyboard(const KeyboardModel& model, bool plugged)
    : m_impl(std::make_shared<Impl>()) {
    m_impl->plugged = plugged;
    m_impl->memory.reset(model);
}

// Open handles may outlive the keyboard object; they see an unplugged keyboard.
SimKeyboard::~SimKeyboard() { unplug(); }

bool SimKeyboard::enumerate(std::vector<std::string>& paths) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    if (!m_impl->plugged) return true;
    for (int i = 0; i < kSimInterfaceCount; ++i)
        paths.push_back(PathOf(m_impl->memory.model, m_impl->generation, SimInterface(i)));
    return true;
}

std::unique_ptr<HidDevice> SimKeyboard::open(const std::string& path, const HidOpenOptions& options,
                                             HidOpenError* error) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    unsigned generation = 0;
    SimInterface which = SimInterface::Command;
    const KeyboardModel& model = m_impl->memory.model;
    if (!m_impl->plugged || !ParsePath(path, model, generation, which) ||
        generation != m_impl->generation) {
        if (error) *error = HidOpenError::NotFound;
        return nullptr;
    }
    m_impl->pruneHandles();
    auto handle = std::make_shared<Handle>();
    handle->which = which;
    handle->generation = generation;
    handle->canRead = options.read;
    handle->canWrite = options.write;
    m_impl->handles.push_back(handle);
    if (error) *error = HidOpenError::None;
    HidAttributes attributes{model.vendorId, model.productId, 0x0100};
    return std::make_unique<SimDevice>(m_impl, std::move(handle), attributes);
}

bool SimKeyboard::isPresent(const std::string& path) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    unsigned generation = 0;
    SimInterface which = SimInterface::Command;
    return m_impl->plugged && ParsePath(path, m_impl->memory.model, generation, which) &&
           generation == m_impl->generation;
}

void SimKeyboard::plug() {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    if (m_impl->plugged) return;
    m_impl->plugged = true;
    m_impl->newArrival();
}

void SimKeyboard::unplug() {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->setUnplugged();
}

bool SimKeyboard::isPlugged() const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return m_impl->plugged;
}

void SimKeyboard::replaceWith(const KeyboardModel& model) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->memory.reset(model);
    if (m_impl->plugged) m_impl->newArrival();
}

const KeyboardModel& SimKeyboard::model() const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return m_impl->memory.model;
}

std::string SimKeyboard::commandPath() const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return PathOf(m_impl->memory.model, m_impl->generation, SimInterface::Command);
}

std::string SimKeyboard::consumerPath() const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return PathOf(m_impl->memory.model, m_impl->generation, SimInterface::Consumer);
}

std::string SimKeyboard::keyboardPath() const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return PathOf(m_impl->memory.model, m_impl->generation, SimInterface::Keyboard);
}

std::vector<uint8_t> SimKeyboard::area(SimArea which) const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return m_impl->memory.areaOf(which);
}

void SimKeyboard::setArea(SimArea which, size_t offset, std::span<const uint8_t> bytes) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    std::vector<uint8_t>& area = m_impl->memory.areaOf(which);
    if (offset >= area.size()) return;
    size_t n = std::min(bytes.size(), area.size() - offset);
    std::copy_n(bytes.begin(), n, area.begin() + long(offset));
}

void SimKeyboard::setFirmware(uint16_t version) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    putLe16(&m_impl->memory.info[8], version);
}

void SimKeyboard::setActiveProfile(int profile) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->memory.info[10] = uint8_t(profile);
}

void SimKeyboard::setMacroCapacityByte(uint8_t units) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->memory.setMacroCapacityByte(units);
}

void SimKeyboard::setEffects(const std::vector<uint8_t>& effects) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    std::vector<uint8_t>& info = m_impl->memory.info;
    std::fill(info.begin() + 12, info.end(), uint8_t(0));
    size_t n = std::min(effects.size(), size_t(32));
    std::copy_n(effects.begin(), n, info.begin() + 12);
}

void SimKeyboard::injectFault(int frameNumber, FaultKind kind) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->faults[frameNumber] = kind;
}

void SimKeyboard::clearFaults() {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->faults.clear();
}

void SimKeyboard::setReplyDelayMs(int ms) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->replyDelayMs = std::max(ms, 0);
}

void SimKeyboard::setLatencyUs(int us) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->latencyUs = std::max(us, 0);
}

std::vector<Frame> SimKeyboard::requests() const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return m_impl->requests;
}

std::vector<Frame> SimKeyboard::replies() const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return m_impl->replies;
}

size_t SimKeyboard::requestCount() const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return m_impl->requests.size();
}

void SimKeyboard::clearLog() {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->requests.clear();
    m_impl->replies.clear();
    m_impl->frameCount = 0;
}

void SimKeyboard::sendEvent(uint16_t usage) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    std::vector<uint8_t> report{kConsumerReportId, uint8_t(usage), uint8_t(usage >> 8)};
    m_impl->pruneHandles();
    for (auto& weak : m_impl->handles)
        if (auto h = weak.lock(); h && h->which == SimInterface::Consumer && m_impl->alive(*h))
            h->queue.push_back({report, Clock::now()});
    m_impl->cv.notify_all();
}

bool SimKeyboard::saveState(const std::string& path) const {
    SimMemory copy;
    {
        std::lock_guard<std::mutex> lock(m_impl->mutex);
        copy = m_impl->memory;
    }
    return WriteStateFile(path, copy);
}

bool SimKeyboard::loadState(const std::string& path) {
    SimMemory loaded;
    if (!ReadStateFile(path, loaded)) return false;
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    bool otherModel = loaded.model.vendorId != m_impl->memory.model.vendorId ||
                      loaded.model.productId != m_impl->memory.model.productId;
    m_impl->memory = std::move(loaded);
    if (otherModel && m_impl->plugged) m_impl->newArrival();
    return true;
}

std::span<const uint8_t> SimKeyboard::commandDescriptor() { return DescriptorOf(SimInterface::Command); }
std::span<const uint8_t> SimKeyboard::consumerDescriptor() { return DescriptorOf(SimInterface::Consumer); }
std::span<const uint8_t> SimKeyboard::keyboardDescriptor() { return DescriptorOf(SimInterface::Keyboard); }

}  // namespace tarnel::sim
