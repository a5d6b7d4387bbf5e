// Colours inside the program are 24-bit values red | green << 8 | blue << 16; these helpers
// turn them into Qt's colours and back.
#pragma once
#include <QColor>
#include <cstdint>

namespace tarnel {

inline QColor ToQColor(std::uint32_t c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

inline std::uint32_t FromQColor(const QColor& c) {
    return static_cast<std::uint32_t>(c.red()) | static_cast<std::uint32_t>(c.green()) << 8 |
           static_cast<std::uint32_t>(c.blue()) << 16;
}

}  // namespace tarnel
