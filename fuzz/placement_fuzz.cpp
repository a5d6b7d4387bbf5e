// Placement values of skin files ("x,y,w,h"): any text gives four numbers, and writing those
// numbers back as a placement reads as the same rectangle.
#include <string>

#include "fuzz_target.h"
#include "storage/skin_layout.h"

using namespace tarnel;

TARNEL_FUZZ_TARGET(placement) {
    fuzz::Input in(data, size);
    const std::string value = in.restText();
    const SkinRect r = ParsePlacement(value);
    const std::string written = std::to_string(r.x) + "," + std::to_string(r.y) + "," +
                                std::to_string(r.w) + "," + std::to_string(r.h);
    FUZZ_CHECK(ParsePlacement(written) == r);
    return 0;
}
