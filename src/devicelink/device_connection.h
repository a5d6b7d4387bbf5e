// One open HID interface with abortable, time-limited report reads and writes.
// Two exist for the whole run: the command connection and the event connection.
//
// Threads: any thread may call WriteReport/ReadReport/Close/Open at any time. The open device
// lives in a shared_ptr; each report call copies it under a small mutex and works on its copy,
// so Close (or the Close inside Open) on another thread aborts the device (the waiting call fails
// at once) and the device is freed only when the last call using it has returned.
// The transaction lock is separate; lock order: dataLock -> appliedLock -> the
// transaction lock. The small device mutex is a leaf: nothing else is taken while it is held.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "devicelink/hid_backend.h"
#include "devicelink/input_items.h"

namespace tarnel {

// Called for every report written (outgoing) or read, with 64 valid bytes (a shorter report is
// passed zero-padded to 64). Runs on the thread that moved the report.
using TraceSink = std::function<void(bool outgoing, const uint8_t* report64)>;

class DeviceConnection {
public:
    explicit DeviceConnection(HidBackend& backend);
    ~DeviceConnection();
    DeviceConnection(const DeviceConnection&) = delete;
    DeviceConnection& operator=(const DeviceConnection&) = delete;

    // Path list of the last enumeration and its cursor (used by one thread at a time).
    bool Enumerate();
    bool NextPath(std::string& path);
    void FreePaths();

    // Closes first, then opens the path; reads attributes and caps, builds inputItems.
    bool Open(const std::string& path, bool read, bool write, bool overlapped, bool exclusive,
              HidOpenError* error = nullptr);
    // Aborts any waiting read or write (it fails at once) and forgets the device and its tables.
    void Close();
    bool isOpen() const;

    // One whole report within the limit (ms; < 0 waits without limit). False when not open,
    // on failure, timeout, abort or removal.
    bool WriteReport(const uint8_t* data, size_t length, int timeoutMs);
    bool ReadReport(uint8_t* buffer, size_t length, int timeoutMs);
    // Drops the input reports that are already waiting, without waiting for more: a reply that
    // came after its read gave up must not be taken for the answer to the next request.
    void DiscardPendingInput();
    // Decodes an input report into inputItems (slots of its report id only).
    void ParseInputReport(const uint8_t* report, size_t length);
    // True while the device behind `path` is still present (backend's check).
    bool IsPresent(const std::string& path);

    // The open interface (copies; empty/zero when closed).
    std::string path() const;
    HidAttributes attributes() const;
    HidCollectionCaps caps() const;
    std::vector<InputItem> inputItems() const;
    // The first usage of the first button slot: the keyboard's event code (0 when none).
    uint16_t firstButtonUsage() const;

    bool readPending() const { return m_readPending.load() > 0; }
    bool writePending() const { return m_writePending.load() > 0; }

    std::recursive_mutex& transactionLock() { return m_transactionLock; }
    void setTraceSink(TraceSink sink);
    HidBackend& backend() { return m_backend; }

private:
    std::shared_ptr<HidDevice> device() const;
    void trace(bool outgoing, const uint8_t* report, size_t length) const;

    HidBackend& m_backend;
    std::vector<std::string> m_paths;
    size_t m_cursor = 0;

    mutable std::mutex m_mutex;  // guards the fields below
    std::shared_ptr<HidDevice> m_device;
    std::string m_path;
    HidAttributes m_attributes;
    HidCollectionCaps m_caps;
    std::vector<InputItem> m_inputItems;
    std::shared_ptr<const TraceSink> m_trace;

    std::atomic<int> m_readPending{0};
    std::atomic<int> m_writePending{0};
    std::recursive_mutex m_transactionLock;
};

}  // namespace tarnel
