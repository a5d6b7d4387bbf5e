#include "paint_kit.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <cmath>

namespace skingen {
namespace {

struct Colours {
    QColor top, bottom, border, ink;
};

Colours keyColours(Look look, bool special) {
    switch (look) {
    case Look::Over: return {QColor(0x3A, 0x41, 0x4E), QColor(0x32, 0x38, 0x44), theme::accent, Qt::white};
    case Look::Down: return {QColor(0x23, 0x6C, 0xB8), QColor(0x1C, 0x58, 0x96), QColor(0x7C, 0xC4, 0xFF), Qt::white};
    case Look::Disabled: return {QColor(0x1B, 0x1E, 0x24), QColor(0x19, 0x1B, 0x21), QColor(0x25, 0x29, 0x30), theme::faint};
    case Look::Normal:
    default:
        return {special ? QColor(0x2C, 0x33, 0x3F) : QColor(0x2F, 0x34, 0x3E),
                special ? QColor(0x25, 0x2B, 0x36) : QColor(0x28, 0x2C, 0x35), QColor(0x3D, 0x43, 0x4F), theme::text};
    }
}

QPainterPath rounded(const QRectF& r, double radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

}  // namespace

QFont uiFont(double pixelSize, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(std::max(1, int(std::lround(pixelSize))));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

void drawFittedText(QPainter& p, const QRectF& box, const QString& text, double pixelSize, const QColor& colour,
                    bool bold, int align) {
    double size = pixelSize;
    while (size > 6 && QFontMetricsF(uiFont(size, bold)).horizontalAdvance(text) > box.width() - 4) size -= 0.5;
    p.setFont(uiFont(size, bold));
    p.setPen(colour);
    p.drawText(box, align, text);
}

void drawCard(QPainter& p, const QRectF& r, double radius) {
    p.setPen(QPen(theme::cardLine, 1));
    p.setBrush(theme::card);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

void drawWell(QPainter& p, const QRectF& r, double radius) {
    p.setPen(QPen(QColor(0x24, 0x28, 0x30), 1));
    p.setBrush(theme::well);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

void drawHeading(QPainter& p, QPointF at, const QString& text) {
    QFont f = uiFont(11, true);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
    p.setFont(f);
    p.setPen(theme::muted);
    p.drawText(at, text);
}

void drawKeyCap(QPainter& p, const QRectF& r, const QString& legend, Look look, bool special) {
    const Colours c = keyColours(look, special);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // A soft shadow under the cap, then the cap.
    if (look != Look::Disabled) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 90));
        p.drawPath(rounded(r.translated(0, 2), 6));
    }
    QLinearGradient face(r.topLeft(), r.bottomLeft());
    face.setColorAt(0, c.top);
    face.setColorAt(1, c.bottom);
    p.setBrush(face);
    p.setPen(QPen(c.border, look == Look::Over ? 1.6 : 1));
    p.drawPath(rounded(r.adjusted(0.5, 0.5, -0.5, -0.5), 6));
    if (special && look != Look::Disabled) {
        p.setPen(QPen(look == Look::Normal ? theme::accentDeep : QColor(0x9C, 0xD3, 0xFF), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(r.left() + 8, r.bottom() - 5), QPointF(r.left() + 16, r.bottom() - 5));
    }
    const double size = legend.size() <= 2 ? 14 : 11;
    drawFittedText(p, r.adjusted(3, 1, -3, -1), legend, size, c.ink, legend.size() <= 3);
    p.restore();
}

void drawButton(QPainter& p, const QRectF& r, Look look, bool primary) {
    QColor fill, border;
    switch (look) {
    case Look::Over:
        fill = primary ? QColor(0x3A, 0x95, 0xEE) : QColor(0x33, 0x3A, 0x46);
        border = primary ? QColor(0x8C, 0xCB, 0xFF) : theme::accent;
        break;
    case Look::Down:
        fill = primary ? QColor(0x1E, 0x5F, 0xA4) : QColor(0x23, 0x6C, 0xB8);
        border = QColor(0x7C, 0xC4, 0xFF);
        break;
    case Look::Disabled:
        fill = QColor(0x1B, 0x1E, 0x24);
        border = QColor(0x26, 0x2A, 0x31);
        break;
    case Look::Normal:
    default:
        fill = primary ? QColor(0x2D, 0x7F, 0xD2) : QColor(0x29, 0x2E, 0x37);
        border = primary ? QColor(0x4A, 0xA8, 0xFF) : QColor(0x3B, 0x41, 0x4C);
        break;
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(border, 1));
    p.setBrush(fill);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);
    p.restore();
}

void drawSymbol(QPainter& p, const QRectF& r, const QString& s, const QColor& colour) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c = r.center();
    const double k = std::min(r.width(), r.height()) / 2.0 - 3;  // half the symbol's size
    QPen pen(colour, std::max(1.6, k / 4.5), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    auto line = [&](double x1, double y1, double x2, double y2) {
        p.drawLine(QPointF(c.x() + x1 * k, c.y() + y1 * k), QPointF(c.x() + x2 * k, c.y() + y2 * k));
    };
    auto chevron = [&](double dy) {  // pointing up when dy < 0
        line(-0.55, -dy * 0.3, 0, dy * 0.3);
        line(0, dy * 0.3, 0.55, -dy * 0.3);
    };
    if (s == "menu") {
        line(-0.6, -0.45, 0.6, -0.45), line(-0.6, 0, 0.6, 0), line(-0.6, 0.45, 0.6, 0.45);
    } else if (s == "help") {
        p.setPen(Qt::NoPen);
        drawFittedText(p, r, QStringLiteral("?"), k * 2.0, colour, true);
    } else if (s == "minimise") {
        line(-0.55, 0.35, 0.55, 0.35);
    } else if (s == "close") {
        line(-0.5, -0.5, 0.5, 0.5), line(-0.5, 0.5, 0.5, -0.5);
    } else if (s == "plus" || s == "add") {
        line(-0.55, 0, 0.55, 0), line(0, -0.55, 0, 0.55);
    } else if (s == "minus") {
        line(-0.55, 0, 0.55, 0);
    } else if (s == "up") {
        chevron(-1);
    } else if (s == "down") {
        chevron(1);
    } else if (s == "top") {
        chevron(-1);
        line(-0.55, -0.6, 0.55, -0.6);
    } else if (s == "bottom") {
        chevron(1);
        line(-0.55, 0.6, 0.55, 0.6);
    } else if (s == "left") {
        line(0.3, -0.55, -0.3, 0), line(-0.3, 0, 0.3, 0.55);
    } else if (s == "right") {
        line(-0.3, -0.55, 0.3, 0), line(0.3, 0, -0.3, 0.55);
    } else if (s == "delete" || s == "trash") {
        line(-0.6, -0.45, 0.6, -0.45);
        line(-0.2, -0.65, 0.2, -0.65);
        p.drawRoundedRect(QRectF(c.x() - 0.42 * k, c.y() - 0.3 * k, 0.84 * k, 0.95 * k), 2, 2);
    } else if (s == "clear") {
        p.drawEllipse(c, 0.65 * k, 0.65 * k);
        line(-0.46, 0.46, 0.46, -0.46);
    } else if (s == "keyboard") {
        p.drawRoundedRect(QRectF(c.x() - 0.8 * k, c.y() - 0.5 * k, 1.6 * k, 1.0 * k), 2, 2);
        for (double x : {-0.45, -0.15, 0.15, 0.45}) line(x, -0.18, x, -0.18);
        line(-0.35, 0.22, 0.35, 0.22);
    } else if (s == "record") {
        p.setBrush(theme::danger);
        p.setPen(Qt::NoPen);
        p.drawEllipse(c, 0.5 * k, 0.5 * k);
    } else if (s == "globe") {
        p.drawEllipse(c, 0.75 * k, 0.75 * k);
        p.drawEllipse(c, 0.32 * k, 0.75 * k);
        line(-0.75, 0, 0.75, 0);
    } else if (s == "people") {
        p.drawEllipse(QPointF(c.x(), c.y() - 0.3 * k), 0.28 * k, 0.28 * k);
        p.drawArc(QRectF(c.x() - 0.6 * k, c.y() + 0.05 * k, 1.2 * k, 1.1 * k), 0, 180 * 16);
    } else if (s == "chat") {
        p.drawRoundedRect(QRectF(c.x() - 0.7 * k, c.y() - 0.55 * k, 1.4 * k, 0.95 * k), 3, 3);
        line(-0.3, 0.4, -0.45, 0.7);
    } else if (s == "load") {
        line(0, -0.6, 0, 0.25), line(-0.35, -0.05, 0, 0.25), line(0, 0.25, 0.35, -0.05);
        line(-0.6, 0.6, 0.6, 0.6);
    }
    p.restore();
}

void drawIconButton(QPainter& p, const QRectF& r, const QString& symbol, Look look, bool danger) {
    if (look != Look::Normal || symbol == "record") {
        QColor fill = look == Look::Down ? (danger ? QColor(0xB0, 0x2E, 0x33) : theme::accentDeep)
                      : look == Look::Over ? (danger ? QColor(0xE5, 0x48, 0x4D) : QColor(0x33, 0x3A, 0x46))
                      : look == Look::Disabled ? QColor(0x17, 0x19, 0x1E) : QColor(0x26, 0x2A, 0x33);
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 6, 6);
        p.restore();
    }
    const QColor ink = look == Look::Disabled ? theme::faint : look == Look::Normal ? theme::muted : Qt::white;
    drawSymbol(p, r, symbol, ink);
}

void drawSwitch(QPainter& p, const QRectF& r, bool on) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF track = r.adjusted(2, r.height() * 0.18, -2, -r.height() * 0.18);
    p.setPen(QPen(on ? theme::accent : QColor(0x3B, 0x41, 0x4C), 1));
    p.setBrush(on ? theme::accentDeep : QColor(0x23, 0x27, 0x2F));
    p.drawRoundedRect(track, track.height() / 2, track.height() / 2);
    const double d = track.height() - 6;
    const double x = on ? track.right() - 3 - d : track.left() + 3;
    p.setPen(Qt::NoPen);
    p.setBrush(on ? Qt::white : theme::muted);
    p.drawEllipse(QRectF(x, track.top() + 3, d, d));
    p.restore();
}

}  // namespace skingen
