// The platform's HID access, behind a small interface: the hidraw backend on Linux, the simulated
// keyboard in tests and demo mode. One path names one top-level collection of one device.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "devicelink/hid_caps.h"

namespace tarnel {

struct HidAttributes {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t versionNumber = 0;
};

struct HidOpenOptions {
    bool read = true;
    bool write = true;
    bool overlapped = true;  // kept for the record; every backend here waits with a time limit
    bool exclusive = false;
};

// An open interface. readReport/writeReport move one whole report; timeoutMs < 0 waits without
// limit. Both fail at once after abort() (from any thread), on removal, or when the limit passes.
// A write that is abandoned at its limit must not touch the caller's buffer afterwards.
class HidDevice {
public:
    virtual ~HidDevice() = default;
    virtual bool writeReport(const uint8_t* data, size_t length, int timeoutMs) = 0;
    virtual bool readReport(uint8_t* buffer, size_t length, int timeoutMs) = 0;
    // Wakes every waiting call and makes later calls fail. Safe to call from any thread.
    virtual void abort() = 0;
    virtual HidAttributes attributes() const = 0;
    virtual const HidCollectionCaps& caps() const = 0;
};

// Why an open failed, so a front end can hint at permissions.
enum class HidOpenError { None, NotFound, PermissionDenied, Other };

class HidBackend {
public:
    virtual ~HidBackend() = default;
    // Paths of every present top-level collection. False only when the system enumeration fails.
    virtual bool enumerate(std::vector<std::string>& paths) = 0;
    // Nullptr when the path cannot be opened or its attributes/caps cannot be read.
    virtual std::unique_ptr<HidDevice> open(const std::string& path, const HidOpenOptions& options,
                                            HidOpenError* error = nullptr) = 0;
    // True while the device behind the path is still the one that was there; fails within
    // 100 ms of removal.
    virtual bool isPresent(const std::string& path) = 0;
    // For platforms whose paths carry no "vid_XXXX&pid_XXXX" text: the ids from the
    // enumeration. False when the backend has none (the path text then decides).
    virtual bool enumerationIds(const std::string& path, uint16_t& vendorId, uint16_t& productId) {
        (void)path, (void)vendorId, (void)productId;
        return false;
    }
};

}  // namespace tarnel
