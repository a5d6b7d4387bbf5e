#include "cli/cli_backend.h"

#include "devicelink/hid_backend.h"

namespace tarnel {

std::function<std::unique_ptr<HidBackend>()> SystemBackendFactory() { return {}; }

}  // namespace tarnel
