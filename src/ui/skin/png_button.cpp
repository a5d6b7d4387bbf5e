#include "ui/skin/png_button.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <utility>

#include "ui/skin/skin_colour.h"

namespace tarnel {
namespace {

std::size_t slot(PngFace face) { return static_cast<std::size_t>(face); }

}  // namespace

PngFace ChoosePngFace(const PngFaceState& s) {
    if (!s.enabled) return PngFace::Disabled;
    if (s.toggleMode) return s.toggledOn ? PngFace::ToggleOn : PngFace::ToggleOff;
    if (s.pressed) return PngFace::Pressed;
    if (s.hovering) return PngFace::Hover;
    if (s.marked) return PngFace::Marked;
    return PngFace::Normal;
}

int CaptionColourIndex(PngFace face) {
    switch (face) {
    case PngFace::Hover: return 1;
    case PngFace::Pressed: return 2;
    case PngFace::Disabled: return 3;
    case PngFace::Marked: return 4;
    default: return 0;
    }
}

int CaptionAlignment(int textFormat) {
    int align = (textFormat & 0x1) ? Qt::AlignHCenter : (textFormat & 0x2) ? Qt::AlignRight : Qt::AlignLeft;
    if (textFormat & 0x4)
        align |= Qt::AlignVCenter;
    else if (textFormat & 0x8)
        align |= Qt::AlignBottom;
    else
        align |= Qt::AlignTop;
    if ((textFormat & 0x10) && !(textFormat & 0x20)) align |= Qt::TextWordWrap;
    return align;
}

CPngButton::CPngButton(QWidget* parent) : QPushButton(parent) {
    setMouseTracking(true);
    setFlat(true);
    setFocusPolicy(Qt::TabFocus);
    // Enter in a skinned dialog presses nothing: the dialogs decide what Enter does.
    setAutoDefault(false);
}

CPngButton::~CPngButton() = default;

void CPngButton::SetImages(int originX, int originY, const QImage& normal, const QImage& hover,
                           const QImage& pressed, const QImage& disabled, const QImage& marked, bool redraw) {
    m_origin = QPoint(originX, originY);
    m_hovering = m_trackingMouse = false;
    setDown(false);
    SetStateImages(normal, hover, pressed, disabled, marked, redraw);
}

void CPngButton::SetStateImages(const QImage& normal, const QImage& hover, const QImage& pressed,
                                const QImage& disabled, const QImage& marked, bool redraw) {
    m_pictures[slot(PngFace::Normal)] = normal;
    m_pictures[slot(PngFace::Hover)] = hover;
    m_pictures[slot(PngFace::Pressed)] = pressed;
    m_pictures[slot(PngFace::Disabled)] = disabled;
    m_pictures[slot(PngFace::Marked)] = marked;
    if (redraw) update();
}

void CPngButton::SetToggle(const QImage& off, const QImage& on, bool toggleMode, bool toggledOn, bool redraw) {
    m_pictures[slot(PngFace::ToggleOff)] = off;
    m_pictures[slot(PngFace::ToggleOn)] = on;
    m_toggleMode = toggleMode;
    m_toggledOn = toggledOn;
    if (redraw) update();
}

void CPngButton::SetCaptionStyle(bool captionOn, int pointSize, const QString& fontFace, std::uint32_t normal,
                                 std::uint32_t hover, std::uint32_t pressed, std::uint32_t disabled,
                                 std::uint32_t marked, int textFormat) {
    m_captionOn = captionOn;
    m_pointSize = pointSize;
    m_fontFace = fontFace;
    m_colours[0] = normal;
    m_colours[1] = hover;
    m_colours[2] = pressed;
    m_colours[3] = disabled;
    m_colours[4] = marked;
    m_textFormat = textFormat;
    update();
}

void CPngButton::SetCaptionOffsets(int left, int right, int top, int bottom) {
    m_offsetLeft = left;
    m_offsetRight = right;
    m_offsetTop = top;
    m_offsetBottom = bottom;
    update();
}

void CPngButton::SetCaptionAngle(int angle, bool rotated) {
    m_angle = angle;
    m_rotated = rotated;
    update();
}

void CPngButton::SetMarked(bool marked, bool redraw) {
    m_marked = marked;
    if (redraw) update();
}

void CPngButton::SetOutline(std::uint32_t colour, int amount, bool on) {
    m_outlineColour = colour;
    m_outlineAmount = on ? std::min(amount, 100) : amount;
    m_outlineOn = on;
    update();
}

void CPngButton::SetTooltip(const QString& text, bool activate) {
    m_tooltipText = text;
    if (text.isEmpty()) return;
    m_tip.created = true;
    m_tip.registered = true;  // the whole client area is the tool
    m_tip.text = text;
    m_tip.delayMs = 300;
    m_tip.active = activate;
}

void CPngButton::SetAfterPaint(AfterPaint hook) { m_afterPaint = std::move(hook); }

PngFace CPngButton::currentFace() const {
    return ChoosePngFace({isEnabled(), m_toggleMode, m_toggledOn, isDown(), m_hovering, m_marked});
}

const QImage& CPngButton::pictureOf(PngFace face) const { return m_pictures[slot(face)]; }

void CPngButton::paintEvent(QPaintEvent*) {
    const PngFace face = currentFace();
    QPainter painter(this);
    if (m_outlineOn) {
        // Only the frame: a 2-pixel pen from (1, 1) to (width - 1, height - 1), nothing inside.
        painter.setPen(QPen(ToQColor(m_outlineColour), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(1, 1, width() - 2, height() - 2));
    } else {
        // The face starts one pixel up and to the left of the origin.
        const QImage& picture = pictureOf(face);
        if (!picture.isNull())
            painter.drawImage(QPoint(0, 0), picture, QRect(m_origin - QPoint(1, 1), size()));
    }
    if (m_captionOn) paintCaption(painter, face);
    painter.end();
    if (m_afterPaint) m_afterPaint(*this, face == PngFace::Normal);
}

void CPngButton::paintCaption(QPainter& painter, PngFace face) {
    const QString caption = text();
    if (caption.isEmpty()) return;
    QFont font(m_fontFace);
    font.setPointSize(std::max(m_pointSize, 1));
    font.setWeight(static_cast<QFont::Weight>(m_rotated ? 956 : 400));
    painter.setFont(font);
    painter.setPen(ToQColor(m_colours[CaptionColourIndex(face)]));
    const QRect box = rect().adjusted(m_offsetLeft, m_offsetTop, m_offsetRight, m_offsetBottom);
    const int align = CaptionAlignment(m_textFormat);
    if (m_angle == 0) {
        painter.drawText(box, align, caption);
        return;
    }
    // The text is turned about the caption rectangle's centre, so a rotated caption stays
    // centred in it.
    painter.save();
    painter.translate(QRectF(box).center());
    painter.rotate(-m_angle / 10.0);
    painter.drawText(QRectF(-box.width() / 2.0, -box.height() / 2.0, box.width(), box.height()), align, caption);
    painter.restore();
}

void CPngButton::mousePressEvent(QMouseEvent* event) {
    if (m_tip.created && m_tip.active) QToolTip::hideText();
    QPushButton::mousePressEvent(event);
}

void CPngButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // A quick second click is a click of its own, not a double click.
    mousePressEvent(event);
}

void CPngButton::mouseMoveEvent(QMouseEvent* event) {
    if (!m_trackingMouse) {
        // Hover is reported as soon as the pointer rests on the button.
        m_trackingMouse = true;
        onHover(event->globalPosition().toPoint());
    }
    QPushButton::mouseMoveEvent(event);
}

void CPngButton::onHover(const QPoint& globalPos) {
    m_hovering = true;
    update();
    // Resting on the button brings its tooltip back, activated, and pops it up at once.
    if (!m_tooltipText.isEmpty()) {
        SetTooltip(m_tooltipText, true);
        QToolTip::showText(globalPos, m_tip.text, this, rect());
    }
}

void CPngButton::leaveEvent(QEvent* event) {
    m_hovering = m_trackingMouse = false;
    update();
    QPushButton::leaveEvent(event);
}

bool CPngButton::event(QEvent* event) {
    // The tooltip is shown by hovering; Qt's own delayed tooltip would show it a second time.
    if (event->type() == QEvent::ToolTip) return true;
    return QPushButton::event(event);
}

}  // namespace tarnel
