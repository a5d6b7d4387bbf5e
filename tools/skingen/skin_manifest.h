// What the windows ask of a skin: per skin file, the keys they read and the pictures they load.
// The generator checks its own output against this, and so does the skin gallery test.
#pragma once
#include <string>
#include <utility>
#include <vector>

namespace skingen {

struct DialogManifest {
    std::string ini;                        // file name in the skin folder
    std::vector<std::string> imageButtons;  // BUTTONINFO keys read as image buttons
    std::vector<std::string> plain;         // BUTTONINFO keys read as plain placements or moves
    std::vector<std::pair<std::string, std::string>> arrows;  // key, BUTTONINFO2 origin key
    std::vector<std::string> absent;        // keys of the format this skin leaves out on purpose
    std::vector<std::string> statePictures; // full-dialog pictures: the background's size
    std::vector<std::string> keyButtons;    // image buttons that must not overlap each other
};

std::vector<DialogManifest> SkinManifest();

// Pictures of no particular size that the windows load from the skin folder.
std::vector<std::string> OtherPictures();
// The user lighting template.
inline constexpr const char* kLightingTemplate = "UserDengColor_3.userd";

// Every fault of the skin in `skinDir` (ending in '/'), each naming its file and key: a missing
// or unreadable picture, a missing key, a key that should be absent, a placement outside its
// background, two key buttons on top of each other, a state picture of the wrong size.
std::vector<std::string> CheckSkin(const std::string& skinDir);

}  // namespace skingen
