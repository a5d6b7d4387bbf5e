// A slider whose whole face is one picture that its owner swaps as the position changes. Every
// change the user makes is clamped to the range and reported to the owner with the slider's
// control id and the new position, always queued (after the input event has been handled).
#pragma once
#include <QImage>
#include <QWidget>

namespace tarnel {

struct SliderGeometry {
    int rangeMin = 0;
    int rangeMax = 100;
    int width = 0;   // of the face, in pixels
    int height = 0;
    bool vertical = false;
};

// The pixel of a position: (position - min) / (max - min) x width (height when vertical),
// truncated toward zero. An empty range gives pixel 0.
int SliderPixelOfPosition(const SliderGeometry& g, int position);
// The position of a pixel: min + p / height x (max - min) when vertical, and
// min + (p + 10) / width x (max - min) when horizontal (the pointer counts 10 pixels further
// right), truncated toward zero. A face without size gives min. Not clamped.
int SliderPositionOfPixel(const SliderGeometry& g, int pixel);

class CBitmapSlider : public QWidget {
    Q_OBJECT
public:
    // The window message this notification stands for in the rest of the program.
    static constexpr int kNotifyMessage = 0x28D1;

    explicit CBitmapSlider(QWidget* parent = nullptr, int controlId = 0);

    int controlId() const { return m_controlId; }
    void setControlId(int id) { m_controlId = id; }

    void SetRange(int min, int max);
    // Returns the previous page size.
    int SetPageSize(int page);
    // Clamped to the range, then repainted.
    void SetPos(int position);
    void SetFace(const QImage& face);
    void SetVertical(bool vertical);
    void SetEnabled(bool enabled);

    int rangeMin() const { return m_geometry.rangeMin; }
    int rangeMax() const { return m_geometry.rangeMax; }
    int position() const { return m_position; }
    int pageSize() const { return m_pageSize; }
    bool vertical() const { return m_geometry.vertical; }
    bool sliderEnabled() const { return m_enabled; }
    bool dragging() const { return m_dragging; }
    bool focused() const { return m_focused; }
    const QImage& face() const { return m_face; }
    SliderGeometry geometryForArithmetic() const { return m_geometry; }

signals:
    // Delivered queued: the slot runs once control has returned to the event loop.
    void positionNotified(int controlId, int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int pointerPixel(const QPointF& local) const;
    void moveTo(int position);  // SetPos, then notify
    void notify();

    int m_controlId = 0;
    SliderGeometry m_geometry;
    int m_position = 0;
    int m_pageSize = 1;
    QImage m_face;
    bool m_enabled = true;
    bool m_dragging = false;
    bool m_focused = false;
};

}  // namespace tarnel
