// The tray and application icons, and the template of the user lighting files: ten named
// colour layouts, each giving every key button and Fn a colour.
#include <QPainterPath>
#include <cmath>
#include <string>

#include "model/key_table.h"
#include "skin_output.h"
#include "ui/skin/keyboard_layout.h"

namespace skingen {
namespace {

// The program's mark: a rounded key with a small keyboard on it; `dot` shows the state.
QImage iconPicture(int size, QColor dot) {
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 64.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1D, 0x21, 0x29));
    p.drawRoundedRect(QRectF(4 * s, 4 * s, 56 * s, 56 * s), 14 * s, 14 * s);
    p.setBrush(theme::accent);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            p.drawRoundedRect(QRectF((13 + col * 10) * s, (17 + row * 10) * s, 7 * s, 7 * s), 1.5 * s, 1.5 * s);
    p.drawRoundedRect(QRectF(18 * s, 47 * s, 28 * s, 5 * s), 1.5 * s, 1.5 * s);
    if (dot.isValid()) {
        p.setBrush(QColor(0x12, 0x14, 0x19));
        p.drawEllipse(QPointF(50 * s, 50 * s), 12 * s, 12 * s);
        p.setBrush(dot);
        p.drawEllipse(QPointF(50 * s, 50 * s), 8.5 * s, 8.5 * s);
    }
    return img;
}

std::string rgbText(int r, int g, int b) { return std::to_string(r) + "," + std::to_string(g) + "," + std::to_string(b); }

struct Rgb {
    int r, g, b;
};

Rgb hue(double h) {  // h in [0, 1): the colour wheel at full saturation
    const QColor c = QColor::fromHsvF(std::fmod(h, 1.0), 1.0, 1.0);
    return {c.red(), c.green(), c.blue()};
}

// What one mode gives a key: its colour and whether that is the mode's base colour.
struct ModeStyle {
    const char* name;
    Rgb base;
    std::function<std::optional<Rgb>(int row, int column, int controlId)> paint;  // empty = base
};

}  // namespace

void buildIcons(SkinOutput& out) {
    out.pictures[QStringLiteral("icon_128.png")] = iconPicture(64, QColor());
    out.pictures[QStringLiteral("icon_141.png")] = iconPicture(64, theme::good);
    out.pictures[QStringLiteral("icon_142.png")] = iconPicture(64, QColor(0xF5, 0xA5, 0x24));
    out.pictures[QStringLiteral("tarnel.png")] = iconPicture(256, QColor());
}

void buildLightingTemplate(SkinOutput& out) {
    auto none = [](int, int, int) { return std::optional<Rgb>(); };
    const std::vector<ModeStyle> modes = {
        {"Rainbow", {255, 0, 0}, [](int, int col, int) { return std::optional<Rgb>(hue(col / 23.0)); }},
        {"Ocean", {0, 60, 255}, [](int row, int, int) { return std::optional<Rgb>(Rgb{0, 40 + 40 * row, 255}); }},
        {"Ember", {255, 40, 0}, [](int row, int, int) { return std::optional<Rgb>(Rgb{255, 20 * row, 0}); }},
        {"Forest", {0, 200, 40}, none},
        {"Ice", {160, 220, 255}, none},
        {"Sunset", {255, 90, 0}, [](int, int col, int) { return std::optional<Rgb>(hue(0.83 + col / 23.0 * 0.25)); }},
        {"WASD", {0, 40, 120},
         [](int, int, int id) {
             const bool hot = id == 1045 || id == 1058 || id == 1059 || id == 1060 || (id >= 1100 && id <= 1103);
             return hot ? std::optional<Rgb>(Rgb{255, 30, 30}) : std::nullopt;
         }},
        {"Typing", {255, 255, 255},
         [](int row, int col, int) {
             return row == 0 || col >= 15 ? std::optional<Rgb>(Rgb{60, 120, 255}) : std::nullopt;
         }},
        {"White", {255, 255, 255}, none},
        {"Red", {255, 0, 0}, none},
    };
    std::string text = "; Template of the user lighting modes: ten named colour layouts.\r\n";
    text += "\r\n[PRESENTMODE]\r\nmode=0\r\n\r\n[MODENAME]\r\n";
    for (std::size_t i = 0; i < modes.size(); ++i) text += std::to_string(i) + "=" + modes[i].name + "\r\n";
    for (std::size_t i = 0; i < modes.size(); ++i) {
        const ModeStyle& m = modes[i];
        text += "\r\n[Mode" + std::to_string(i) + "]\r\ntool=0\r\n";
        text += "jcolor=" + rgbText(m.base.r, m.base.g, m.base.b) + "\r\n";
        text += "color=255,0,0\r\n";
        for (const tarnel::KeyCap& k : tarnel::keyboardLayout()) {
            int led = tarnel::ledIndexOfControl(k.controlId);
            if (k.controlId == tarnel::kFnControl) led = tarnel::kFnLedIndex;
            else if (k.row < 0) continue;  // the G-keys share one colour of their own
            const auto own = m.paint(std::max(k.row, 0), tarnel::keyGridColumn(k), k.controlId);
            const Rgb c = own.value_or(m.base);
            text += std::to_string(led) + "=" + rgbText(c.r, c.g, c.b) + (own ? ",0" : ",1") + "\r\n";
        }
    }
    out.files[QStringLiteral("UserDengColor_3.userd")] = QByteArray::fromStdString(text);
}

}  // namespace skingen
