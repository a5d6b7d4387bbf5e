#include "storage/user_light_file.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "model/key_table.h"
#include "storage/ini_file.h"

namespace tarnel {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPresentSection = "PRESENTMODE";
constexpr std::string_view kPresentKey = "mode";
constexpr std::string_view kNameSection = "MODENAME";
constexpr std::string_view kToolKey = "tool";
constexpr std::string_view kBaseColorKey = "jcolor";
constexpr std::string_view kPaintColorKey = "color";
constexpr std::string_view kDefaultName = "0";
constexpr std::string_view kDefaultKeyEntry = "255,0,0,1";

bool validProfile(int n) { return n >= 0 && n < kUserLightProfiles; }
bool validMode(int mode) { return mode >= 0 && mode < kUserModeCount; }
bool validPosition(int position) { return position >= 0 && position < kKeyColorPositions; }

std::string modeSection(int mode) { return "Mode" + std::to_string(mode); }

// Blanks, an optional sign, then decimal digits up to the first other character; 0 without
// digits. Values beyond the range of int stop at its limits, as the platform's parse does.
long long parseNumber(std::string_view s) {
    constexpr long long kLimit = 0x7FFFFFFF;
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    const bool negative = !s.empty() && s.front() == '-';
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) s.remove_prefix(1);
    long long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') break;
        v = std::min(v * 10 + (c - '0'), kLimit + 1);
    }
    return negative ? -v : std::min(v, kLimit);
}

// Up to N comma-separated numbers; missing ones are 0.
template <size_t N>
std::array<long long, N> parseNumbers(std::string_view text) {
    std::array<long long, N> out{};
    for (size_t i = 0; i < N; ++i) {
        const size_t comma = text.find(',');
        out[i] = parseNumber(text.substr(0, comma));
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return out;
}

uint8_t channel(long long v) { return static_cast<uint8_t>(static_cast<unsigned long long>(v) & 0xFF); }

// The whole template, or nothing when it cannot be read; a missing template is empty.
std::optional<std::string> readTemplate(const std::string& path) {
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) return std::string();
    if (!fs::is_regular_file(status)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(std::istreambuf_iterator<char>(in), {});
    if (in.bad()) return std::nullopt;
    return bytes;
}

}  // namespace

std::string FormatRgb(uint32_t color) {
    return std::to_string(RedOf(color)) + "," + std::to_string(GreenOf(color)) + "," +
           std::to_string(BlueOf(color));
}

uint32_t ParseRgb(std::string_view text) {
    const auto v = parseNumbers<3>(text);
    return MakeColor(channel(v[0]), channel(v[1]), channel(v[2]));
}

UserLightFiles::UserLightFiles(std::string userDataDir, std::string userLightPrefix,
                               std::string lightTemplatePrefix)
    : m_dataDir(std::move(userDataDir)),
      m_prefix(std::move(userLightPrefix)),
      m_templatePrefix(std::move(lightTemplatePrefix)) {}

std::string UserLightFiles::FilePath(int profile) const {
    if (!validProfile(profile)) return {};
    return m_prefix + std::to_string(profile) + ".userd";
}

std::string UserLightFiles::TemplatePath() const {
    return m_templatePrefix + std::to_string(kUserLightTemplateNumber) + ".userd";
}

bool UserLightFiles::EnsureUserFiles() const {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(m_dataDir, ec))) return fs::is_directory(m_dataDir, ec);
    if (!fs::create_directories(m_dataDir, ec) && !fs::is_directory(m_dataDir, ec)) return false;
    bool copied = true;
    for (int n = 0; n < kUserLightProfiles; ++n) copied = ResetFromTemplate(n) && copied;
    return copied;
}

bool UserLightFiles::ResetFromTemplate(int profile) const {
    if (!validProfile(profile)) return false;
    const auto bytes = readTemplate(TemplatePath());
    return bytes && WriteFileAtomically(FilePath(profile), *bytes);
}

int UserLightFiles::ReadPresentMode(int profile) const {
    if (!validProfile(profile)) return 0;
    const int mode = IniFile(FilePath(profile)).readInt(kPresentSection, kPresentKey, 0);
    return validMode(mode) ? mode : 0;
}

bool UserLightFiles::WritePresentMode(int profile, int mode) const {
    if (!validProfile(profile) || !validMode(mode)) return false;
    return IniFile(FilePath(profile)).writeString(kPresentSection, kPresentKey, std::to_string(mode));
}

std::string UserLightFiles::ReadModeName(int profile, int mode) const {
    if (!validProfile(profile) || !validMode(mode)) return std::string(kDefaultName);
    return IniFile(FilePath(profile)).readString(kNameSection, std::to_string(mode), kDefaultName);
}

bool UserLightFiles::WriteModeName(int profile, int mode, std::string_view name) const {
    if (!validProfile(profile) || !validMode(mode)) return false;
    return IniFile(FilePath(profile)).writeString(kNameSection, std::to_string(mode), name);
}

UserModeSettings UserLightFiles::ReadModeSettings(int profile, int mode) const {
    if (!validProfile(profile) || !validMode(mode)) return {};
    const IniFile file(FilePath(profile));
    const std::string section = modeSection(mode);
    UserModeSettings s;
    s.tool = file.readInt(section, kToolKey, 0);
    s.baseColor = ParseRgb(file.readString(section, kBaseColorKey, "0,0,0"));
    s.paintColor = ParseRgb(file.readString(section, kPaintColorKey, "0,0,0"));
    return s;
}

bool UserLightFiles::WriteModeSettings(int profile, int mode, const UserModeSettings& s) const {
    if (!validProfile(profile) || !validMode(mode)) return false;
    const IniValue values[] = {{std::string(kToolKey), std::to_string(s.tool)},
                               {std::string(kBaseColorKey), FormatRgb(s.baseColor)},
                               {std::string(kPaintColorKey), FormatRgb(s.paintColor)}};
    return IniFile(FilePath(profile)).writeStrings(modeSection(mode), values);
}

UserKeyEntry UserLightFiles::ReadKeyEntry(int profile, int mode, int position) const {
    if (!validProfile(profile) || !validMode(mode) || !validPosition(position)) return {};
    const std::string value = IniFile(FilePath(profile))
                                  .readString(modeSection(mode), std::to_string(position),
                                              kDefaultKeyEntry);
    const auto v = parseNumbers<4>(value);
    return {MakeColor(channel(v[0]), channel(v[1]), channel(v[2])), v[3] != 0};
}

bool UserLightFiles::WriteKeyEntry(int profile, int mode, int position, uint32_t color,
                                   bool linked) const {
    const PlacedKeyEntry one{position, {color, linked}};
    return WriteKeyEntries(profile, mode, std::span<const PlacedKeyEntry>(&one, 1));
}

bool UserLightFiles::WriteKeyEntries(int profile, int mode,
                                     std::span<const PlacedKeyEntry> entries) const {
    if (!validProfile(profile) || !validMode(mode)) return false;
    std::vector<IniValue> values;
    values.reserve(entries.size());
    for (const PlacedKeyEntry& e : entries) {
        if (!validPosition(e.position)) return false;
        values.push_back({std::to_string(e.position),
                          FormatRgb(e.entry.color) + (e.entry.linked ? ",1" : ",0")});
    }
    return IniFile(FilePath(profile)).writeStrings(modeSection(mode), values);
}

LoadedUserMode UserLightFiles::LoadMode(int profile, KeyColorTable& keyColors,
                                        BaseLinkedFlags& baseLinked) const {
    LoadedUserMode loaded;
    loaded.currentMode = ReadPresentMode(profile);
    loaded.settings = ReadModeSettings(profile, loaded.currentMode);
    auto load = [&](int position) {
        if (!validPosition(position)) return;
        const UserKeyEntry entry = ReadKeyEntry(profile, loaded.currentMode, position);
        const size_t at = static_cast<size_t>(position) * 3;
        keyColors[at] = RedOf(entry.color);
        keyColors[at + 1] = GreenOf(entry.color);
        keyColors[at + 2] = BlueOf(entry.color);
        baseLinked[static_cast<size_t>(position)] = entry.linked;
    };
    for (const KeyButton& button : keyButtons()) load(button.ledIndex);
    load(kFnLedIndex);
    return loaded;
}

}  // namespace tarnel
