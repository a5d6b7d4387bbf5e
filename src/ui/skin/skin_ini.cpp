#include "ui/skin/skin_ini.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <fstream>

namespace tarnel {
namespace {

// Values are read into a 260-character buffer by the skin format, so at most 259 count.
constexpr std::size_t kMaxValue = 259;

std::string_view trim(std::string_view s) {
    auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && space(s.front())) s.remove_prefix(1);
    while (!s.empty() && space(s.back())) s.remove_suffix(1);
    return s;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string lookup(const std::string& path, std::string_view section, std::string_view key) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::string line;
    bool inSection = false;
    while (std::getline(in, line)) {
        std::string_view l = trim(line);
        if (l.empty() || l.front() == ';') continue;
        if (l.front() == '[') {
            auto close = l.find(']');
            inSection = close != std::string_view::npos && sameName(trim(l.substr(1, close - 1)), section);
            continue;
        }
        if (!inSection) continue;
        auto eq = l.find('=');
        if (eq == std::string_view::npos || !sameName(trim(l.substr(0, eq)), key)) continue;
        std::string_view v = trim(l.substr(eq + 1));
        if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
        return std::string(v.substr(0, kMaxValue));
    }
    return {};
}

// A decimal number at the start of `field` (after blanks, with an optional sign); 0 when there
// is none, and held within the range of int.
int leadingNumber(std::string_view field) {
    field = trim(field);
    bool negative = false;
    if (!field.empty() && (field.front() == '-' || field.front() == '+')) {
        negative = field.front() == '-';
        field.remove_prefix(1);
    }
    long long value = 0;
    for (char c : field) {
        if (c < '0' || c > '9') break;
        value = std::min<long long>(value * 10 + (c - '0'), static_cast<long long>(INT_MAX) + 1);
    }
    if (negative) value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

}  // namespace

SkinIniReader SkinIniFile(std::string path) {
    return [path = std::move(path)](std::string_view section, std::string_view key) {
        return lookup(path, section, key);
    };
}

SkinPlacement ParsePlacement(std::string_view value) {
    int numbers[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        auto comma = value.find(',');
        numbers[i] = leadingNumber(value.substr(0, comma));
        if (comma == std::string_view::npos) break;
        value.remove_prefix(comma + 1);
    }
    return {numbers[0], numbers[1], numbers[2], numbers[3]};
}

SkinPlacement ReadPlacement(const SkinIniReader& ini, std::string_view section, std::string_view key) {
    std::string value = ini ? ini(section, key) : std::string();
    return ParsePlacement(value.empty() ? kMissingPlacement : std::string_view(value));
}

}  // namespace tarnel
