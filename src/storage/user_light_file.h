// The user lighting files: per onboard profile, ten named user colour modes kept in the per-user
// data folder ("UserDengColor_0.userd" .. "UserDengColor_2.userd"), each made from the template
// "UserDengColor_3.userd" of the skin folder and from then on changed one value at a time.
//
// Layout of a file (an ini file):
//   [PRESENTMODE] mode=<current mode 0..9>                     default 0
//   [MODENAME]    0..9=<name shown in the mode list>           default "0"
//   [Mode<i>]     tool=<0 or 1, the brush>                     default 0
//                 jcolor=<base colour r,g,b>                   default 0,0,0
//                 color=<paint colour r,g,b>                   default 0,0,0
//                 <position>=<r,g,b,linked>                    default 255,0,0,1
// A position is a key's place in the per-key colour table (116 is Fn, 125 the macro keys);
// `linked` is 1 when the key was painted with the base colour. Colours inside the program are
// red | green << 8 | blue << 16 and are written as three decimal numbers red, green, blue.
//
// Nothing here reports errors to the user: a file or value that cannot be read gives the
// default, and a write that fails returns false for the caller to ignore. A profile outside 0..2,
// a mode outside 0..9 or a position outside the colour table reads as the default and is never
// written.
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "model/lighting_state.h"

namespace tarnel {

inline constexpr int kUserLightProfiles = 3;
inline constexpr int kUserModeCount = 10;
inline constexpr int kUserLightTemplateNumber = 3;  // the template's number in the skin folder

struct UserModeSettings {
    int tool = 0;             // 0 paints with paintColor, 1 with baseColor (and links the key)
    uint32_t baseColor = 0;   // "jcolor"
    uint32_t paintColor = 0;  // "color"
    bool operator==(const UserModeSettings&) const = default;
};

struct UserKeyEntry {
    uint32_t color = MakeColor(255, 0, 0);
    bool linked = true;
    bool operator==(const UserKeyEntry&) const = default;
};

struct PlacedKeyEntry {
    int position = 0;
    UserKeyEntry entry;
};

// One flag per position of a profile's key colour table: the key carries the base colour.
using BaseLinkedFlags = std::array<bool, kKeyColorPositions>;

// What LoadMode found besides the key colours.
struct LoadedUserMode {
    int currentMode = 0;
    UserModeSettings settings;
    bool operator==(const LoadedUserMode&) const = default;
};

class UserLightFiles {
public:
    // `userLightPrefix` is the data folder + "/UserDengColor_", `lightTemplatePrefix` the skin
    // folder + "UserDengColor_" (both as the program's paths give them).
    UserLightFiles(std::string userDataDir, std::string userLightPrefix,
                   std::string lightTemplatePrefix);

    // "<prefix><n>.userd"; empty for a profile outside 0..2.
    std::string FilePath(int profile) const;
    std::string TemplatePath() const;

    // When the data folder does not exist: creates it and gives profiles 0..2 a copy of the
    // template. When it exists nothing is done, even if files are missing. True when the folder
    // exists afterwards and every copy made succeeded.
    bool EnsureUserFiles() const;
    // Replaces the profile's file by a copy of the template as a whole (one atomic replace, so
    // a failure leaves the old file). A missing template gives an empty file: every value then
    // reads as its default. A template that exists but cannot be read changes nothing (false).
    bool ResetFromTemplate(int profile) const;

    // The stored current mode; a stored number outside 0..9 reads as 0.
    int ReadPresentMode(int profile) const;
    bool WritePresentMode(int profile, int mode) const;

    std::string ReadModeName(int profile, int mode) const;
    // False for a name holding a line break (it could not be read back).
    bool WriteModeName(int profile, int mode, std::string_view name) const;

    UserModeSettings ReadModeSettings(int profile, int mode) const;
    // The three values in one replace of the file.
    bool WriteModeSettings(int profile, int mode, const UserModeSettings& settings) const;

    UserKeyEntry ReadKeyEntry(int profile, int mode, int position) const;
    bool WriteKeyEntry(int profile, int mode, int position, uint32_t color, bool linked) const;
    // Several key entries of one mode in one replace of the file (recolouring every linked key
    // when the base colour changes). Nothing is written when any position is outside the table.
    bool WriteKeyEntries(int profile, int mode, std::span<const PlacedKeyEntry> entries) const;

    // Loads the profile's current mode: its settings, and for the 106 key buttons' positions and
    // the Fn key's (116) the stored colour into `keyColors` (3 bytes a position) and the link
    // flag into `baseLinked`. Other positions are left as they are. The keyboard is not written.
    LoadedUserMode LoadMode(int profile, KeyColorTable& keyColors, BaseLinkedFlags& baseLinked) const;

private:
    std::string m_dataDir, m_prefix, m_templatePrefix;
};

// "r,g,b" of a colour, and the colour of such a text. Numbers are read as decimal integers
// (missing or unreadable ones count as 0); each channel keeps its low eight bits.
std::string FormatRgb(uint32_t color);
uint32_t ParseRgb(std::string_view text);

}  // namespace tarnel
