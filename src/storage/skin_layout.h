// Placing skinned controls from a skin file's placement values.
//
// A placement is "x,y,w,h": the control's left and top edge in the dialog's client area and its
// width and height in pixels. Up to four comma-separated decimal integers are read; anything
// after the fourth is ignored and a number that is missing or unreadable counts as 0. A missing
// file or key reads as "1,1,1,1,x". These functions only compute; the widget layer applies the
// result (moving and sizing without repainting).
#pragma once
#include <string>
#include <string_view>

namespace tarnel {

inline constexpr std::string_view kMissingPlacement = "1,1,1,1,x";

struct SkinRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const SkinRect&) const = default;
};

struct SkinPoint {
    int x = 0, y = 0;
    bool operator==(const SkinPoint&) const = default;
};

// What an image button gets: its rectangle, the origin of its face in each full-dialog state
// image, and whether it stays enabled.
struct ImageButtonPlacement {
    SkinRect rect;
    SkinPoint faceOrigin;
    bool enabled = true;
    bool operator==(const ImageButtonPlacement&) const = default;
};

SkinRect ParsePlacement(std::string_view value);
SkinRect ReadPlacement(const std::string& skinFile, std::string_view section, std::string_view key);

// The face is cut out of each state image at the control's own position; a placement at (1, 1)
// (a missing key among them) disables the button.
ImageButtonPlacement PlaceImageButton(const std::string& skinFile, std::string_view section,
                                      std::string_view key);

SkinRect PlaceControl(const std::string& skinFile, std::string_view section, std::string_view key);

// The rectangle from `key`; the face origin, used in the one image for every state, from the x
// and y of `originKey` in `originSection`.
ImageButtonPlacement PlaceImageButtonAt(const std::string& skinFile, std::string_view section,
                                        std::string_view key, std::string_view originSection,
                                        std::string_view originKey);

// Moves to the placement's x and y and keeps the current width and height.
SkinRect MoveControl(const std::string& skinFile, std::string_view section, std::string_view key,
                     const SkinRect& current);

}  // namespace tarnel
