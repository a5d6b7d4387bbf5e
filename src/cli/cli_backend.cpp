#include "cli/cli_backend.h"

#include "devicelink/hid_backend.h"
#ifdef TARNEL_CLI_SYSTEM_BACKEND
#include "devicelink/linux/system_backend.h"
#endif

namespace tarnel {

std::function<std::unique_ptr<HidBackend>()> SystemBackendFactory() {
#ifdef TARNEL_CLI_SYSTEM_BACKEND
    return [] { return MakeSystemBackend(); };
#else
    return {};
#endif
}

}  // namespace tarnel
