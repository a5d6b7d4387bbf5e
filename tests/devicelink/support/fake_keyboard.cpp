#include "fake_keyboard.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>

namespace tarnel::fake {
namespace {

enum class Interface { Command, Consumer, Keyboard };
constexpr uint8_t kConsumerReportId = 3;

HidCollectionCaps capsOf(Interface which) {
    HidCollectionCaps caps;
    if (which == Interface::Command) {
        caps.usagePage = 0xFF1C, caps.usage = 0x92;
        caps.input.reportByteLength = caps.output.reportByteLength = 64;
    } else if (which == Interface::Consumer) {
        caps.usagePage = 0x0C, caps.usage = 0x01;
        caps.input.reportByteLength = 3;
        HidUsageCap c;
        c.usagePage = 0x0C, c.reportId = kConsumerReportId, c.isButton = true, c.isRange = true;
        c.isArray = true, c.usageMin = 0, c.usageMax = 0x2FFF, c.bitSize = 16, c.reportCount = 1;
        c.logicalMin = 0, c.logicalMax = 0x2FFF;
        caps.input.caps.push_back(c);
    } else {
        caps.usagePage = 0x01, caps.usage = 0x06;
        caps.input.reportByteLength = 9;
    }
    return caps;
}

}  // namespace

struct Handle {
    Interface which;
    unsigned generation;
    bool aborted = false;
    std::deque<std::vector<uint8_t>> queue;
};

struct FakeKeyboard::Impl {
    mutable std::mutex mutex;
    std::condition_variable cv;
    const KeyboardModel* model;
    bool plugged;
    unsigned generation = 1;
    std::vector<uint8_t> info, settings, keyTables, factory, macros, keyColors;
    std::map<int, FaultKind> faults;
    std::vector<Frame> requests, replies;
    std::vector<std::weak_ptr<Handle>> handles;

    void reset(const KeyboardModel& m) {
        model = &m;
        info.assign(44, 0);
        info[8] = 0x02, info[9] = 0x01, info[11] = 0x40;
        for (int i = 0; i < 18; ++i) info[12 + i] = uint8_t(i + 1);
        info[30] = 20, info[31] = 21;
        settings.assign(256, 0);
        keyTables.resize(size_t(3 * m.keyTableStride));
        factory.resize(size_t(m.keyTableSize));
        for (size_t i = 0; i < keyTables.size(); ++i) keyTables[i] = uint8_t(i * 7 + 1);
        for (size_t i = 0; i < factory.size(); ++i) factory[i] = uint8_t(i * 3 + 5);
        macros.assign(size_t(info[11]) * 128, 0);
        keyColors.assign(3 * 512, 0);
        for (size_t i = 0; i < keyColors.size(); ++i) keyColors[i] = uint8_t(i);
    }
    std::vector<uint8_t>& areaOf(SimArea a) {
        switch (a) {
            case SimArea::Info: return info;
            case SimArea::Settings: return settings;
            case SimArea::KeyTables: return keyTables;
            case SimArea::FactoryKeyTable: return factory;
            case SimArea::Macros: return macros;
            default: return keyColors;
        }
    }
    bool alive(const Handle& h) const { return plugged && h.generation == generation && !h.aborted; }

    static void copyOut(const std::vector<uint8_t>& from, size_t at, size_t n, uint8_t* to) {
        for (size_t i = 0; i < n; ++i) to[i] = at + i < from.size() ? from[at + i] : 0;
    }
    static void copyIn(std::vector<uint8_t>& to, size_t at, size_t n, const uint8_t* from) {
        for (size_t i = 0; i < n && at + i < to.size(); ++i) to[at + i] = from[i];
    }
    void answer(const Frame& q, Frame& r) {
        size_t len = std::min<size_t>(q[4], 56), addr = size_t(q[5] | q[6] << 8);
        switch (q[3]) {
            case 3: copyOut(info, 0, 44, &r[8]); break;
            case 4: copyIn(info, 0, 44, &q[8]); break;
            case 5: copyOut(settings, addr, 56, &r[8]); break;
            case 6: copyIn(settings, addr, len, &q[8]); break;
            case 7: copyOut(keyTables, addr, len, &r[8]); break;
            case 8: copyIn(keyTables, addr, len, &q[8]); break;
            case 9: copyOut(macros, addr, len, &r[8]); break;
            case 10: copyIn(macros, addr, len, &q[8]); break;
            case 15: copyOut(factory, addr, len, &r[8]); break;
            case 16: copyOut(keyColors, addr, 56, &r[8]); break;
            case 17: copyIn(keyColors, addr, len, &q[8]); break;
            default: break;
        }
    }
    // Takes one request on the command interface; returns false when it kills the handle.
    bool request(Handle& h, const uint8_t* data, size_t length) {
        Frame q{};
        std::memcpy(q.data(), data, std::min(length, q.size()));
        requests.push_back(q);
        int n = int(requests.size());
        auto fault = faults.find(n);
        if (fault != faults.end()) {
            FaultKind kind = fault->second;
            faults.erase(fault);
            if (kind == FaultKind::Unplug) {
                plugged = false;
                cv.notify_all();
                return true;
            }
            if (kind == FaultKind::NoReply) return true;
            Frame r{};
            std::memcpy(r.data(), q.data(), 7);
            r[7] = kind == FaultKind::StatusFF ? 0xFF : 0xFE;
            push(h, r);
            return true;
        }
        Frame r{};
        std::memcpy(r.data(), q.data(), 7);
        answer(q, r);
        push(h, r);
        return true;
    }
    void push(Handle& h, const Frame& r) {
        replies.push_back(r);
        h.queue.emplace_back(r.begin(), r.end());
        cv.notify_all();
    }
};

namespace {

class FakeDevice : public HidDevice {
public:
    FakeDevice(std::shared_ptr<FakeKeyboard::Impl> impl, std::shared_ptr<Handle> h,
               HidAttributes attributes)
        : m_impl(std::move(impl)), m_h(std::move(h)), m_attributes(attributes),
          m_caps(capsOf(m_h->which)) {}

    bool writeReport(const uint8_t* data, size_t length, int) override {
        std::lock_guard<std::mutex> lock(m_impl->mutex);
        if (!m_impl->alive(*m_h) || m_h->which != Interface::Command) return false;
        return m_impl->request(*m_h, data, length);
    }
    bool readReport(uint8_t* buffer, size_t length, int timeoutMs) override {
        std::unique_lock<std::mutex> lock(m_impl->mutex);
        auto ready = [&] { return !m_impl->alive(*m_h) || !m_h->queue.empty(); };
        if (timeoutMs < 0)
            m_impl->cv.wait(lock, ready);
        else
            m_impl->cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
        if (!m_impl->alive(*m_h) || m_h->queue.empty()) return false;
        std::vector<uint8_t> r = std::move(m_h->queue.front());
        m_h->queue.pop_front();
        std::memset(buffer, 0, length);
        std::memcpy(buffer, r.data(), std::min(length, r.size()));
        return true;
    }
    void abort() override {
        std::lock_guard<std::mutex> lock(m_impl->mutex);
        m_h->aborted = true;
        m_impl->cv.notify_all();
    }
    HidAttributes attributes() const override { return m_attributes; }
    const HidCollectionCaps& caps() const override { return m_caps; }

private:
    std::shared_ptr<FakeKeyboard::Impl> m_impl;
    std::shared_ptr<Handle> m_h;
    HidAttributes m_attributes;
    HidCollectionCaps m_caps;
};

std::string pathOf(const KeyboardModel& m, unsigned generation, int mi) {
    char text[96];
    std::snprintf(text, sizeof text, "fake:%u/VID_%04X&PID_%04X&MI_%02d", generation,
                  unsigned(m.vendorId), unsigned(m.productId), mi);
    return text;
}

bool parsePath(const std::string& path, unsigned& generation, int& mi) {
    unsigned vid = 0, pid = 0;
    return std::sscanf(path.c_str(), "fake:%u/VID_%04X&PID_%04X&MI_%02d", &generation, &vid, &pid,
                       &mi) == 4;
}

}  // namespace

FakeKeyboard::FakeKeyboard(const KeyboardModel& model, bool plugged)
    : m_impl(std::make_shared<Impl>()) {
    m_impl->plugged = plugged;
    m_impl->reset(model);
}

FakeKeyboard::~FakeKeyboard() { unplug(); }

bool FakeKeyboard::enumerate(std::vector<std::string>& paths) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    if (!m_impl->plugged) return true;
    for (int mi = 0; mi < 3; ++mi) paths.push_back(pathOf(*m_impl->model, m_impl->generation, mi));
    return true;
}

std::unique_ptr<HidDevice> FakeKeyboard::open(const std::string& path, const HidOpenOptions&,
                                              HidOpenError* error) {
    unsigned generation = 0;
    int mi = 0;
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    if (!parsePath(path, generation, mi) || mi > 2 || !m_impl->plugged ||
        generation != m_impl->generation) {
        if (error) *error = HidOpenError::NotFound;
        return nullptr;
    }
    std::erase_if(m_impl->handles, [](const std::weak_ptr<Handle>& w) { return w.expired(); });
    auto h = std::make_shared<Handle>();
    h->which = Interface(mi);
    h->generation = generation;
    m_impl->handles.push_back(h);
    HidAttributes a{m_impl->model->vendorId, m_impl->model->productId, 0x0100};
    return std::make_unique<FakeDevice>(m_impl, h, a);
}

bool FakeKeyboard::isPresent(const std::string& path) {
    unsigned generation = 0;
    int mi = 0;
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return parsePath(path, generation, mi) && m_impl->plugged && generation == m_impl->generation;
}

void FakeKeyboard::plug() {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    if (m_impl->plugged) return;
    m_impl->plugged = true;
    ++m_impl->generation;
}

void FakeKeyboard::unplug() {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->plugged = false;
    m_impl->cv.notify_all();
}

bool FakeKeyboard::isPlugged() const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return m_impl->plugged;
}

void FakeKeyboard::replaceWith(const KeyboardModel& model) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->reset(model);
}

const KeyboardModel& FakeKeyboard::model() const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return *m_impl->model;
}

std::vector<uint8_t> FakeKeyboard::area(SimArea which) const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return m_impl->areaOf(which);
}

void FakeKeyboard::setArea(SimArea which, size_t offset, std::span<const uint8_t> bytes) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    Impl::copyIn(m_impl->areaOf(which), offset, bytes.size(), bytes.data());
}

void FakeKeyboard::setActiveProfile(int profile) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->info[10] = uint8_t(profile);
}

void FakeKeyboard::injectFault(int frameNumber, FaultKind kind) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->faults[frameNumber] = kind;
}

void FakeKeyboard::clearFaults() {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->faults.clear();
}

std::vector<Frame> FakeKeyboard::requests() const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return m_impl->requests;
}

std::vector<Frame> FakeKeyboard::replies() const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return m_impl->replies;
}

size_t FakeKeyboard::requestCount() const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return m_impl->requests.size();
}

void FakeKeyboard::clearLog() {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->requests.clear();
    m_impl->replies.clear();
}

void FakeKeyboard::sendEvent(uint16_t usage) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    std::vector<uint8_t> report{kConsumerReportId, uint8_t(usage), uint8_t(usage >> 8)};
    for (auto& weak : m_impl->handles)
        if (auto h = weak.lock(); h && h->which == Interface::Consumer && m_impl->alive(*h))
            h->queue.push_back(report);
    m_impl->cv.notify_all();
}

}  // namespace tarnel::fake
