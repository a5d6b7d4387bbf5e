#include "storage/profile_list.h"

#include "common/safe_format.h"
#include "storage/profile_slots.h"

namespace tarnel {

std::string ProfileListValueName(int number) {
    return SafeFormat("%s%02d", {"PROFILE", std::to_string(number)});
}

bool StoreProfileList(SettingsStore& store, const std::vector<std::string>& paths) {
    bool ok = true;
    for (size_t i = 0; i < paths.size(); ++i)
        ok = store.writeText(kProfilesSection, ProfileListValueName(int(i) + 1), paths[i]) && ok;
    return store.writeText(kProfilesSection, ProfileListValueName(0),
                           std::to_string(paths.size())) &&
           ok;
}

std::vector<std::string> ReadProfileList(const SettingsStore& store) {
    std::vector<std::string> paths;
    const auto count = store.readNumber(kProfilesSection, ProfileListValueName(0));
    for (uint32_t i = 1; count && i <= *count; ++i) {
        auto path = store.readText(kProfilesSection, ProfileListValueName(int(i)));
        if (!path) break;
        paths.push_back(*path);
    }
    return paths;
}

int SlotOfProfileRow(int row) {
    return IsSlot(row) ? row : -1;
}

}  // namespace tarnel
