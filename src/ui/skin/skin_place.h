// Placing skinned controls on a dialog from its skin file: each call reads one key of section
// `section` and moves and sizes the control (a missing key places it as 1 x 1 at (1, 1)); image
// buttons also get their pictures, cut at their own position, and are disabled when placed at
// (1, 1).
#pragma once
#include <QImage>
#include <QWidget>
#include <string>
#include <string_view>

#include "ui/skin/png_button.h"

namespace tarnel {

void PlaceImageButton(CPngButton& button, const std::string& skinFile, std::string_view section,
                      std::string_view key, const QImage& normal, const QImage& hover, const QImage& pressed,
                      const QImage& disabled, const QImage& marked);

void PlaceControl(QWidget& control, const std::string& skinFile, std::string_view section, std::string_view key);

// The rectangle from `key`; the face origin, the same in `image` for every state, from the x and
// y of `originKey` in `originSection`.
void PlaceImageButtonAt(CPngButton& button, const std::string& skinFile, std::string_view section,
                        std::string_view key, std::string_view originSection, std::string_view originKey,
                        const QImage& image);

// Moves the control to the key's x and y and keeps its size.
void MoveControl(QWidget& control, const std::string& skinFile, std::string_view section, std::string_view key);

}  // namespace tarnel
