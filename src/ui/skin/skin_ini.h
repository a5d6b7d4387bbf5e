// How the skin toolkit reads a dialog's skin file: one value per (section, key). The dialog
// base and the placement helpers take such a reader, so tests hand them a table in memory and
// the program hands them the skin file itself.
#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace tarnel {

// The value of `key` in `section`, or an empty text when the file, the section or the key is
// missing (or the value is empty).
using SkinIniReader = std::function<std::string(std::string_view section, std::string_view key)>;

// A reader over the skin file at `path` (UTF-8). The file is read again at every lookup, so a
// dialog that initialises again sees the file as it is then.
SkinIniReader SkinIniFile(std::string path);

// One control's rectangle from a skin file: left, top, width, height in the dialog's client area.
struct SkinPlacement {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

// The value a missing placement key stands for: a 1 x 1 control at (1, 1).
inline constexpr std::string_view kMissingPlacement = "1,1,1,1,x";

// "x,y,w,h[,anything]": up to four comma-separated decimal numbers; a number that is missing or
// cannot be read counts as 0, and anything after the fourth is ignored.
SkinPlacement ParsePlacement(std::string_view value);

// Reads `key` of `section` as a placement; a missing or empty key gives kMissingPlacement.
SkinPlacement ReadPlacement(const SkinIniReader& ini, std::string_view section, std::string_view key);

}  // namespace tarnel
