// The drawing vocabulary of the default skin: one dark theme, and the few shapes every window is
// made of (key caps, buttons, icon buttons, cards, toggles), each in the four looks a skinned
// button can have.
#pragma once
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace skingen {

enum class Look { Normal, Over, Down, Disabled };
inline constexpr Look kLooks[] = {Look::Normal, Look::Over, Look::Down, Look::Disabled};

namespace theme {
inline const QColor window{0x12, 0x14, 0x19};
inline const QColor card{0x1A, 0x1D, 0x24};
inline const QColor cardLine{0x2A, 0x2F, 0x39};
inline const QColor well{0x15, 0x17, 0x1D};
inline const QColor text{0xE8, 0xEB, 0xF0};
inline const QColor muted{0x8A, 0x93, 0xA3};
inline const QColor faint{0x55, 0x5C, 0x68};
inline const QColor accent{0x4A, 0xA8, 0xFF};
inline const QColor accentDeep{0x23, 0x6C, 0xB8};
inline const QColor danger{0xE5, 0x48, 0x4D};
inline const QColor good{0x3C, 0xCB, 0x7F};
}  // namespace theme

QFont uiFont(double pixelSize, bool bold = false);

// A text centred in `box`; shrinks the font until it fits the width.
void drawFittedText(QPainter& p, const QRectF& box, const QString& text, double pixelSize, const QColor& colour,
                    bool bold = false, int align = Qt::AlignCenter);

void drawCard(QPainter& p, const QRectF& r, double radius = 12);
void drawWell(QPainter& p, const QRectF& r, double radius = 6);
void drawHeading(QPainter& p, QPointF at, const QString& text);

// A key cap with its legend (G-keys and extra keys carry an accent mark).
void drawKeyCap(QPainter& p, const QRectF& r, const QString& legend, Look look, bool special = false);
// A rounded button without text (the window draws the caption); `primary` is the accent kind.
void drawButton(QPainter& p, const QRectF& r, Look look, bool primary = false);
// A square button with a drawn symbol: "menu", "help", "minimise", "close", "plus", "minus",
// "up", "down", "top", "bottom", "delete", "clear", "keyboard", "record", "globe", "people",
// "chat", "left", "right", "add", "load", "trash".
void drawIconButton(QPainter& p, const QRectF& r, const QString& symbol, Look look, bool danger = false);
void drawSymbol(QPainter& p, const QRectF& r, const QString& symbol, const QColor& colour);
// A two-state switch (off/on).
void drawSwitch(QPainter& p, const QRectF& r, bool on);

}  // namespace skingen
