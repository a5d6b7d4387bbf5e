#include "devicelink/linux/system_backend.h"

#include "devicelink/linux/hidraw_backend.h"

namespace tarnel {

std::unique_ptr<HidBackend> MakeSystemBackend() {
    return std::make_unique<hidraw::HidrawBackend>();
}

}  // namespace tarnel
