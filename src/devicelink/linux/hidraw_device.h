// One open hidraw node, seen as one of its top-level collections.
//
// Reads wait in poll() on the node and an eventfd: abort() writes the eventfd, which wakes every
// waiting call and fails every later one; POLLHUP, POLLERR or a zero-length read is a removal.
// Writes go through a writer thread with its own copy of the report: a hidraw write() can block
// for the USB layer's whole timeout, and the caller must return at its own limit while the
// report it handed over is neither lost mid-copy nor read after the caller's buffer is gone.
// The node, the eventfd and the writer share one state block that lives until the last of them
// lets go, so an abandoned write never touches a closed descriptor.
#pragma once
#include <memory>
#include <set>
#include <string>

#include "devicelink/hid_backend.h"

namespace tarnel::hidraw {

struct NodeState;

class HidrawDevice : public HidDevice {
public:
    // Takes ownership of `fd` (opened non-blocking). `withIdByte` is false when the node's
    // reports carry no report id: reads then get a 0 byte in front, as the caps expect.
    HidrawDevice(int fd, std::string path, HidAttributes attributes, HidCollectionCaps caps,
                 bool withIdByte, bool canWrite);
    ~HidrawDevice() override;

    // False when the eventfd or the writer thread cannot be made (the device is then unusable).
    bool ready() const;

    bool writeReport(const uint8_t* data, size_t length, int timeoutMs) override;
    bool readReport(uint8_t* buffer, size_t length, int timeoutMs) override;
    void abort() override;
    HidAttributes attributes() const override { return m_attributes; }
    const HidCollectionCaps& caps() const override { return m_caps; }

    // True once the node has hung up (removal), checked without waiting.
    bool hungUp() const;
    const std::string& path() const { return m_path; }

private:
    std::shared_ptr<NodeState> m_state;
    std::string m_path;
    HidAttributes m_attributes;
    HidCollectionCaps m_caps;
    bool m_withIdByte;
    std::set<uint8_t> m_inputIds;  // the input reports of this collection; empty = take all
};

}  // namespace tarnel::hidraw
