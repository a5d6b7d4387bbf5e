#include "devicelink/device_connection.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace tarnel {
namespace {

// Sets a pending flag for the duration of one call.
class PendingScope {
public:
    explicit PendingScope(std::atomic<int>& flag) : m_flag(flag) { ++m_flag; }
    ~PendingScope() { --m_flag; }
    PendingScope(const PendingScope&) = delete;
    PendingScope& operator=(const PendingScope&) = delete;

private:
    std::atomic<int>& m_flag;
};

}  // namespace

DeviceConnection::DeviceConnection(HidBackend& backend) : m_backend(backend) {}

DeviceConnection::~DeviceConnection() { Close(); }

bool DeviceConnection::Enumerate() {
    m_paths.clear();
    m_cursor = 0;
    return m_backend.enumerate(m_paths);
}

bool DeviceConnection::NextPath(std::string& path) {
    if (m_cursor >= m_paths.size()) return false;
    path = m_paths[m_cursor++];
    return true;
}

void DeviceConnection::FreePaths() {
    m_paths.clear();
    m_paths.shrink_to_fit();
    m_cursor = 0;
}

bool DeviceConnection::Open(const std::string& path, bool read, bool write, bool overlapped,
                            bool exclusive, HidOpenError* error) {
    Close();
    HidOpenOptions options;
    options.read = read;
    options.write = write;
    options.overlapped = overlapped;
    options.exclusive = exclusive;
    std::shared_ptr<HidDevice> opened = m_backend.open(path, options, error);
    if (!opened) return false;
    HidAttributes attributes = opened->attributes();
    HidCollectionCaps caps = opened->caps();
    std::vector<InputItem> items = BuildInputItems(caps);

    std::shared_ptr<HidDevice> previous;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        previous = std::move(m_device);  // another thread may have opened meanwhile
        m_device = std::move(opened);
        m_path = path;
        m_attributes = attributes;
        m_caps = std::move(caps);
        m_inputItems = std::move(items);
    }
    if (previous) previous->abort();
    return true;
}

void DeviceConnection::Close() {
    std::shared_ptr<HidDevice> closing;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        closing = std::move(m_device);
        m_device.reset();
        m_path.clear();
        m_attributes = {};
        m_caps = {};
        m_inputItems.clear();
    }
    // A read or write waiting on this device fails at once; it still holds its own reference,
    // so the device is destroyed only after that call has returned.
    if (closing) closing->abort();
}

bool DeviceConnection::isOpen() const { return device() != nullptr; }

std::shared_ptr<HidDevice> DeviceConnection::device() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_device;
}

bool DeviceConnection::WriteReport(const uint8_t* data, size_t length, int timeoutMs) {
    std::shared_ptr<HidDevice> dev = device();
    if (!dev) return false;
    bool ok;
    {
        PendingScope pending(m_writePending);
        ok = dev->writeReport(data, length, timeoutMs);
    }
    if (ok) trace(true, data, length);
    return ok;
}

bool DeviceConnection::ReadReport(uint8_t* buffer, size_t length, int timeoutMs) {
    std::shared_ptr<HidDevice> dev = device();
    if (!dev) return false;
    bool ok;
    {
        PendingScope pending(m_readPending);
        ok = dev->readReport(buffer, length, timeoutMs);
    }
    if (ok) trace(false, buffer, length);
    return ok;
}

void DeviceConnection::DiscardPendingInput() {
    // Bounded, so a device that keeps sending cannot hold the caller here.
    constexpr int kMaxDiscarded = 16;
    std::shared_ptr<HidDevice> dev = device();
    if (!dev) return;
    std::array<uint8_t, 64> scratch{};
    for (int i = 0; i < kMaxDiscarded && dev->readReport(scratch.data(), scratch.size(), 0); ++i) {
    }
}

void DeviceConnection::ParseInputReport(const uint8_t* report, size_t length) {
    std::lock_guard<std::mutex> lock(m_mutex);
    tarnel::ParseInputReport(m_inputItems, report, length);
}

bool DeviceConnection::IsPresent(const std::string& path) { return m_backend.isPresent(path); }

std::string DeviceConnection::path() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_path;
}

HidAttributes DeviceConnection::attributes() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_attributes;
}

HidCollectionCaps DeviceConnection::caps() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_caps;
}

std::vector<InputItem> DeviceConnection::inputItems() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_inputItems;
}

uint16_t DeviceConnection::firstButtonUsage() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const InputItem& item : m_inputItems)
        if (item.isButton) return item.usages.empty() ? 0 : item.usages.front();
    return 0;
}

void DeviceConnection::setTraceSink(TraceSink sink) {
    auto shared = sink ? std::make_shared<const TraceSink>(std::move(sink)) : nullptr;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_trace = std::move(shared);
}

void DeviceConnection::trace(bool outgoing, const uint8_t* report, size_t length) const {
    std::shared_ptr<const TraceSink> sink;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        sink = m_trace;
    }
    if (!sink) return;
    std::array<uint8_t, 64> padded{};
    std::memcpy(padded.data(), report, std::min(length, padded.size()));
    (*sink)(outgoing, padded.data());
}

}  // namespace tarnel
