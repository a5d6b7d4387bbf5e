#include "ui/skin/bitmap_slider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <utility>
#include <QStyle>

namespace tarnel {

int SliderPixelOfPosition(const SliderGeometry& g, int position) {
    const double span = double(g.rangeMax) - double(g.rangeMin);
    if (span == 0) return 0;
    const double length = g.vertical ? g.height : g.width;
    return static_cast<int>(std::trunc((double(position) - g.rangeMin) / span * length));
}

int SliderPositionOfPixel(const SliderGeometry& g, int pixel) {
    const double length = g.vertical ? g.height : g.width;
    if (length <= 0) return g.rangeMin;
    const double p = g.vertical ? pixel : pixel + 10.0;
    const double span = double(g.rangeMax) - double(g.rangeMin);
    const double value = std::trunc(p / length * span) + g.rangeMin;
    return static_cast<int>(std::clamp(value, -2147483648.0, 2147483647.0));
}

CBitmapSlider::CBitmapSlider(QWidget* parent, int controlId) : QWidget(parent), m_controlId(controlId) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void CBitmapSlider::SetRange(int min, int max) {
    m_geometry.rangeMin = min;
    m_geometry.rangeMax = max;
    SetPos(m_position);
}

int CBitmapSlider::SetPageSize(int page) { return std::exchange(m_pageSize, page); }

void CBitmapSlider::SetPos(int position) {
    // A reversed range clamps to its lower end rather than failing.
    m_position = std::max(m_geometry.rangeMin, std::min(position, m_geometry.rangeMax));
    update();
}

void CBitmapSlider::SetFace(const QImage& face) {
    m_face = face;
    update();
}

void CBitmapSlider::SetVertical(bool vertical) { m_geometry.vertical = vertical; }

void CBitmapSlider::SetEnabled(bool enabled) {
    m_enabled = enabled;
    update();
}

void CBitmapSlider::resizeEvent(QResizeEvent* event) {
    m_geometry.width = width();
    m_geometry.height = height();
    QWidget::resizeEvent(event);
}

int CBitmapSlider::pointerPixel(const QPointF& local) const {
    return static_cast<int>(m_geometry.vertical ? local.y() : local.x());
}

void CBitmapSlider::moveTo(int position) {
    SetPos(position);
    notify();
}

void CBitmapSlider::notify() {
    const int id = m_controlId, pos = m_position;
    QMetaObject::invokeMethod(
        this, [this, id, pos] { emit positionNotified(id, pos); }, Qt::QueuedConnection);
}

void CBitmapSlider::mousePressEvent(QMouseEvent* event) {
    if (!m_enabled || event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    // The press grabs the mouse (Qt does so for the pressed button) and the focus.
    setFocus(Qt::MouseFocusReason);
    m_focused = m_dragging = true;
    const int p = pointerPixel(event->position());
    if (p != SliderPixelOfPosition(m_geometry, m_position)) moveTo(SliderPositionOfPixel(m_geometry, p));
    update();
}

void CBitmapSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!m_enabled) return;
    const int p = pointerPixel(event->position());
    if (m_dragging && p != SliderPixelOfPosition(m_geometry, m_position))
        moveTo(SliderPositionOfPixel(m_geometry, p));
}

void CBitmapSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_enabled || event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    m_dragging = false;
    notify();
}

void CBitmapSlider::keyPressEvent(QKeyEvent* event) {
    if (!m_enabled) return QWidget::keyPressEvent(event);
    int target = m_position;
    switch (event->key()) {
    case Qt::Key_PageUp: target = m_position - m_pageSize; break;
    case Qt::Key_PageDown: target = m_position + m_pageSize; break;
    case Qt::Key_End: target = m_geometry.rangeMax; break;
    case Qt::Key_Home: target = m_geometry.rangeMin; break;
    case Qt::Key_Right:
    case Qt::Key_Down: target = m_position + 1; break;
    case Qt::Key_Left:
    case Qt::Key_Up: target = m_position - 1; break;
    default: return QWidget::keyPressEvent(event);  // Tab and the rest go to the dialog
    }
    moveTo(target);
}

void CBitmapSlider::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (!m_enabled || !m_focused || delta == 0) return QWidget::wheelEvent(event);
    moveTo(delta > 0 ? m_position - 1 : m_position + 1);
}

void CBitmapSlider::leaveEvent(QEvent* event) {
    m_focused = false;
    update();
    QWidget::leaveEvent(event);
}

void CBitmapSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_focused) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
    if (!m_face.isNull()) painter.drawImage(QPoint(0, 0), m_face);
}

}  // namespace tarnel
