// The macro area as read from the keyboard: byte 0 gives the capacity in 128-byte units (the
// information block's byte 11), the rest is the area. Whatever the bytes, the decoded list
// stays within the list's limits, and building it again and decoding that gives the same list.
#include <string>

#include "fuzz_target.h"
#include "macro_codes.h"
#include "model/macro_area.h"

using namespace tarnel;

TARNEL_FUZZ_TARGET(macro_area) {
    fuzz::Input in(data, size);
    const size_t capacity = size_t(in.byte()) * 128;
    const auto area = in.rest();
    const MacroList list = DecodeMacroArea(area, capacity, u"Macro ", fuzz::kMacroCodes);

    FUZZ_CHECK(list.size() <= size_t(kMaxMacros));
    for (size_t i = 0; i < list.size(); ++i) {
        const MacroRecord& r = list[i];
        FUZZ_CHECK(r.actions.size() <= size_t(kMaxMacroActions));
        FUZZ_CHECK(r.name.size() <= kMaxMacroNameUnits + 8);  // a generated name is short too
        FUZZ_CHECK(r.macroId == i + 1);
        for (const MacroAction& a : r.actions) FUZZ_CHECK(a.delayMs <= 0x0FFF * 10);
    }
    if (list.empty()) return 0;

    // Rebuild with names and decode that: the same macros, steps and (stored) names.
    const MacroAreaSize sizes = MacroAreaSizes(list);
    if (sizes.full > kMaxMacroAreaSize) return 0;
    const auto rebuilt = BuildMacroArea(list, sizes.full, true, fuzz::kMacroCodes);
    FUZZ_CHECK(rebuilt.size() == sizes.full);
    const MacroList again = DecodeMacroArea(rebuilt, kMaxMacroAreaSize, u"Macro ", fuzz::kMacroCodes);
    FUZZ_CHECK(again.size() == list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        FUZZ_CHECK(again[i].repeatCount == list[i].repeatCount);
        FUZZ_CHECK(again[i].actions.size() == list[i].actions.size());
        for (size_t s = 0; s < list[i].actions.size(); ++s) {
            FUZZ_CHECK(again[i].actions[s].delayMs == list[i].actions[s].delayMs);
            FUZZ_CHECK(again[i].actions[s].state == list[i].actions[s].state);
        }
        if (!StoredMacroName(list[i]).empty())
            FUZZ_CHECK(again[i].name == StoredMacroName(list[i]));
    }
    return 0;
}
