#include "storage/skin_layout.h"

#include <charconv>
#include <climits>

#include "storage/ini_file.h"

namespace tarnel {
namespace {

// Leading blanks, an optional sign and decimal digits; stops at anything else; 0 without digits.
int parseField(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    long long v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec == std::errc::result_out_of_range) return (!s.empty() && s.front() == '-') ? INT_MIN : INT_MAX;
    if (r.ec != std::errc()) return 0;
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

}  // namespace

SkinRect ParsePlacement(std::string_view value) {
    int fields[4] = {0, 0, 0, 0};
    for (int& field : fields) {
        const size_t comma = value.find(',');
        field = parseField(value.substr(0, comma));
        if (comma == std::string_view::npos) break;
        value.remove_prefix(comma + 1);
    }
    return {fields[0], fields[1], fields[2], fields[3]};
}

SkinRect ReadPlacement(const std::string& skinFile, std::string_view section, std::string_view key) {
    return ParsePlacement(IniFile(skinFile).readString(section, key, kMissingPlacement));
}

ImageButtonPlacement PlaceImageButton(const std::string& skinFile, std::string_view section,
                                      std::string_view key) {
    const SkinRect r = ReadPlacement(skinFile, section, key);
    return {r, {r.x, r.y}, !(r.x == 1 && r.y == 1)};
}

SkinRect PlaceControl(const std::string& skinFile, std::string_view section, std::string_view key) {
    return ReadPlacement(skinFile, section, key);
}

ImageButtonPlacement PlaceImageButtonAt(const std::string& skinFile, std::string_view section,
                                        std::string_view key, std::string_view originSection,
                                        std::string_view originKey) {
    const SkinRect r = ReadPlacement(skinFile, section, key);
    const SkinRect origin = ReadPlacement(skinFile, originSection, originKey);
    return {r, {origin.x, origin.y}, true};
}

SkinRect MoveControl(const std::string& skinFile, std::string_view section, std::string_view key,
                     const SkinRect& current) {
    const SkinRect r = ReadPlacement(skinFile, section, key);
    return {r.x, r.y, current.w, current.h};
}

}  // namespace tarnel
