// The HID backend of the system the program runs on: the front ends' only way to the real
// keyboard. Each platform build provides this function.
#pragma once
#include <memory>

#include "devicelink/hid_backend.h"

namespace tarnel {

std::unique_ptr<HidBackend> MakeSystemBackend();

}  // namespace tarnel
