#include "ui/skin/skin_color_btn.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStyle>

#include "ui/skin/color_popup.h"
#include "ui/skin/skin_colour.h"

namespace tarnel {
namespace {

// The face is drawn inside the button's 3-pixel border.
constexpr int kBorder = 3;

}  // namespace

CSkinColorBtn::CSkinColorBtn(QWidget* parent) : QPushButton(parent) {
    setMouseTracking(true);
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, &CSkinColorBtn::OpenPalette);
}

void CSkinColorBtn::SetColor(std::optional<std::uint32_t> colour) {
    m_colour = colour;
    update();
}

void CSkinColorBtn::SetAutomaticColor(std::uint32_t colour) {
    m_automatic = colour;
    update();
}

QRect CSkinColorBtn::swatchRect() const {
    // The left half plus 5 pixels, enlarged by 1 pixel on each side.
    const QRect inner = rect().adjusted(kBorder, kBorder, -kBorder, -kBorder);
    return QRect(inner.left(), inner.top(), inner.width() / 2 + 5, inner.height()).adjusted(-1, -1, 1, 1);
}

QRect CSkinColorBtn::arrowRect() const {
    // The rest from the middle + 3 pixels, enlarged by 1 pixel sideways and 2 vertically.
    const QRect inner = rect().adjusted(kBorder, kBorder, -kBorder, -kBorder);
    const int left = inner.left() + inner.width() / 2 + 3;
    return QRect(QPoint(left, inner.top()), inner.bottomRight()).adjusted(-1, -2, 1, 2);
}

void CSkinColorBtn::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor frame = QWidget::palette().color(QPalette::Mid);
    painter.fillRect(rect(), QWidget::palette().color(isDown() ? QPalette::Dark : QPalette::Button));

    const QRect swatch = swatchRect();
    painter.setPen(frame);
    if (isEnabled())
        painter.setBrush(ToQColor(EffectiveColor()));
    else
        painter.setBrush(Qt::NoBrush);
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));

    const QRect arrow = arrowRect();
    painter.setBrush(ToQColor(kArrowBoxGrey));
    painter.drawRect(arrow.adjusted(0, 0, -1, -1));

    const int right = arrow.right() + 1;
    const int middle = height() / 2;
    const QPoint triangle[3] = {{right - 11, middle - 2}, {right - 5, middle - 2}, {right - 8, middle + 1}};
    painter.setPen(Qt::black);
    painter.setBrush(Qt::black);
    painter.drawPolygon(triangle, 3);

    if (hasFocus()) {
        // Three pixels outside the usual focus rectangle.
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void CSkinColorBtn::OpenPalette() {
    if (m_popup) m_popup->close();
    m_popup = new CColorPopup(this, m_colour, m_automatic);
    connect(m_popup, &CColorPopup::picked, this, &CSkinColorBtn::onPicked);
    m_popup->adjustSize();
    m_popup->move(mapToGlobal(QPoint(0, height())));
    m_popup->show();
    update();
}

void CSkinColorBtn::onPicked(std::uint32_t colour, bool automatic) {
    SetColor(automatic ? std::nullopt : std::optional<std::uint32_t>(colour));
    emit colorChosen(colour);
}

void CSkinColorBtn::mouseMoveEvent(QMouseEvent* event) {
    if (!m_hovering) {
        m_hovering = true;
        update();
    }
    QPushButton::mouseMoveEvent(event);
}

void CSkinColorBtn::leaveEvent(QEvent* event) {
    m_hovering = false;
    update();
    QPushButton::leaveEvent(event);
}

void CSkinColorBtn::focusOutEvent(QFocusEvent* event) {
    // Losing the focus lets go of the mouse and of every pressed or highlighted look.
    if (QWidget::mouseGrabber() == this) releaseMouse();
    setDown(false);
    m_hovering = false;
    QPushButton::focusOutEvent(event);
    repaint();
}

}  // namespace tarnel
