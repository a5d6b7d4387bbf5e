// The small pictures of the lighting panel and the Magic-FN dialog: toggles, direction and
// colour choices, tools, the 26 slider faces and the ten frames of the busy animation.
#include <QPainterPath>
#include <cmath>

#include "skin_output.h"

namespace skingen {
namespace {

QImage canvas(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(theme::card);
    return img;
}

// A square tile with a symbol; `on` is the pressed or chosen look.
QImage tile(int w, int h, bool on, const std::function<void(QPainter&, const QRectF&, const QColor&)>& symbol) {
    QImage img = canvas(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(1, 1, w - 2, h - 2);
    p.setPen(QPen(on ? theme::accent : QColor(0x3B, 0x41, 0x4C), on ? 1.6 : 1));
    p.setBrush(on ? theme::accentDeep : QColor(0x26, 0x2A, 0x33));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);
    symbol(p, r, on ? Qt::white : theme::muted);
    return img;
}

QImage symbolTile(int w, int h, bool on, const char* symbol) {
    return tile(w, h, on, [symbol](QPainter& p, const QRectF& r, const QColor& ink) {
        drawSymbol(p, r.adjusted(8, 4, -8, -4), symbol, ink);
    });
}

QImage switchPicture(int w, int h, bool on) {
    QImage img = canvas(w, h);
    QPainter p(&img);
    drawSwitch(p, QRectF(0, 0, w, h), on);
    return img;
}

// Spread: arrows pointing out from the centre; converge: pointing in.
QImage radialTile(bool outward, bool on) {
    return tile(52, 36, on, [outward](QPainter& p, const QRectF& r, const QColor& ink) {
        const QPointF c = r.center();
        p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (int side : {-1, 1}) {
            const double tip = outward ? c.x() + side * 15 : c.x() + side * 4;
            const double back = outward ? c.x() + side * 6 : c.x() + side * 14;
            p.drawLine(QPointF(back, c.y()), QPointF(tip, c.y()));
            const double dir = outward ? side : -side;
            p.drawLine(QPointF(tip, c.y()), QPointF(tip - dir * 4, c.y() - 4));
            p.drawLine(QPointF(tip, c.y()), QPointF(tip - dir * 4, c.y() + 4));
        }
    });
}

QImage colourChoice(QColor colour, bool chosen) {
    QImage img = canvas(34, 34);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    if (chosen) {
        p.setPen(QPen(Qt::white, 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(2, 2, 30, 30));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QRectF(7, 7, 20, 20));
    return img;
}

// Tool 0 paints with the paint colour (a brush), tool 1 with the base colour (a drop).
QImage toolPicture(int tool, bool on) {
    return tile(44, 34, on, [tool](QPainter& p, const QRectF& r, const QColor& ink) {
        const QPointF c = r.center();
        p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        if (tool == 0) {
            p.drawLine(QPointF(c.x() + 7, c.y() - 8), QPointF(c.x() - 2, c.y() + 1));
            p.setBrush(ink);
            p.drawEllipse(QPointF(c.x() - 4, c.y() + 4), 3.5, 3.5);
        } else {
            QPainterPath drop;
            drop.moveTo(c.x(), c.y() - 9);
            drop.cubicTo(c.x() + 9, c.y() + 1, c.x() + 6, c.y() + 9, c.x(), c.y() + 9);
            drop.cubicTo(c.x() - 6, c.y() + 9, c.x() - 9, c.y() + 1, c.x(), c.y() - 9);
            p.setBrush(Qt::NoBrush);
            p.drawPath(drop);
        }
    });
}

// Slider face n of 0..25: the track filled up to the thumb.
QImage sliderFace(int n) {
    QImage img = canvas(184, 24);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double left = 10, right = 174, y = 12;
    const double x = left + (right - left) * n / 25.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2C, 0x31, 0x3B));
    p.drawRoundedRect(QRectF(left - 3, y - 3, right - left + 6, 6), 3, 3);
    QLinearGradient fill(QPointF(left, y), QPointF(right, y));
    fill.setColorAt(0, theme::accentDeep);
    fill.setColorAt(1, theme::accent);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(left - 3, y - 3, x - left + 6, 6), 3, 3);
    p.setBrush(Qt::white);
    p.setPen(QPen(theme::accent, 2));
    p.drawEllipse(QPointF(x, y), 7.5, 7.5);
    return img;
}

// Busy frame n of 1..10: a ring with a bright arc that moves on by a tenth of a turn.
QImage busyFrame(int n) {
    QImage img(24, 24, QImage::Format_RGB32);
    img.fill(theme::window);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF ring(3, 3, 18, 18);
    p.setPen(QPen(QColor(0x2C, 0x31, 0x3B), 3));
    p.drawEllipse(ring);
    p.setPen(QPen(theme::accent, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(ring, int((90 - 36 * (n - 1)) * 16), -100 * 16);
    return img;
}

}  // namespace

void buildPanelPictures(SkinOutput& out) {
    auto put = [&](const char* name, QImage img) { out.pictures[QString::fromLatin1(name)] = std::move(img); };
    put("dengup.bmp", switchPicture(60, 30, false));
    put("dengdown.bmp", switchPicture(60, 30, true));
    put("sjsup.bmp", switchPicture(60, 30, false));
    put("sjsdown.bmp", switchPicture(60, 30, true));
    put("leftup.bmp", symbolTile(52, 36, false, "left"));
    put("leftdown.bmp", symbolTile(52, 36, true, "left"));
    put("rightup.bmp", symbolTile(52, 36, false, "right"));
    put("rightdown.bmp", symbolTile(52, 36, true, "right"));
    put("upup.bmp", symbolTile(52, 36, false, "up"));
    put("updown.bmp", symbolTile(52, 36, true, "up"));
    put("downup.bmp", symbolTile(52, 36, false, "down"));
    put("downdown.bmp", symbolTile(52, 36, true, "down"));
    put("kuosan.bmp", radialTile(true, false));
    put("kuosandown.bmp", radialTile(true, true));
    put("julong.bmp", radialTile(false, false));
    put("julongdown.bmp", radialTile(false, true));
    const std::pair<const char*, QColor> choices[] = {{"hong", QColor(0xF0, 0x3E, 0x3E)},
                                                      {"huang", QColor(0xF5, 0xC8, 0x2E)},
                                                      {"lv", QColor(0x3C, 0xCB, 0x6A)},
                                                      {"lan", QColor(0x3D, 0x7E, 0xF5)}};
    for (const auto& [name, colour] : choices) {
        out.pictures[QString::fromLatin1(name) + ".bmp"] = colourChoice(colour, false);
        out.pictures[QString::fromLatin1(name) + "ok.bmp"] = colourChoice(colour, true);
    }
    for (auto [name, symbol] : {std::pair{"add.bmp", "plus"}, std::pair{"sub.bmp", "minus"}}) {
        QImage img = canvas(22, 22);
        QPainter p(&img);
        drawSymbol(p, QRectF(0, 0, 22, 22), symbol, theme::muted);
        p.end();
        put(name, img);
    }
    put("user1up.bmp", toolPicture(0, false));
    put("user1down.bmp", toolPicture(0, true));
    put("user2up.bmp", toolPicture(1, false));
    put("user2down.bmp", toolPicture(1, true));
    for (int n = 0; n <= 25; ++n) out.pictures[QString::number(n) + ".bmp"] = sliderFace(n);
    for (int n = 1; n <= 10; ++n) out.pictures[QStringLiteral("jdt%1.bmp").arg(n)] = busyFrame(n);
}

}  // namespace skingen
