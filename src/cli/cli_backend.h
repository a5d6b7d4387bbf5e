// The platform's HID backend for tarnelctl, when this build has one.
#pragma once
#include <functional>
#include <memory>

namespace tarnel {

class HidBackend;

// Makes the platform's backend; empty when the build has no hardware access.
std::function<std::unique_ptr<HidBackend>()> SystemBackendFactory();

}  // namespace tarnel
