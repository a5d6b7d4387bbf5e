// A backend that passes through to another one but can hide paths or fail its enumeration.
#pragma once
#include <algorithm>
#include <atomic>
#include <functional>

#include "devicelink/hid_backend.h"

namespace tarnel::testing {

class FilteredBackend : public HidBackend {
public:
    explicit FilteredBackend(HidBackend& inner) : m_inner(inner) {}
    bool enumerate(std::vector<std::string>& paths) override {
        if (failEnumeration) return false;
        if (!m_inner.enumerate(paths)) return false;
        if (hide) std::erase_if(paths, hide);
        return true;
    }
    std::unique_ptr<HidDevice> open(const std::string& path, const HidOpenOptions& options,
                                    HidOpenError* error) override {
        return m_inner.open(path, options, error);
    }
    bool isPresent(const std::string& path) override { return m_inner.isPresent(path); }

    std::atomic<bool> failEnumeration{false};
    std::function<bool(const std::string&)> hide;  // set before use

private:
    HidBackend& m_inner;
};

}  // namespace tarnel::testing
