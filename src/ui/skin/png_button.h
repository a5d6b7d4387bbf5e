// A push button painted entirely from pictures: its face is cut out of full-dialog state
// pictures at its own position, with an optional caption drawn over it, a toggle mode, a
// "marked" look, an outline mode and a tooltip.
#pragma once
#include <QImage>
#include <QPoint>
#include <QPushButton>
#include <QString>
#include <cstdint>
#include <functional>

namespace tarnel {

// Which picture a button shows, first rule that applies: disabled, toggle mode, pressed,
// hovering, marked, normal.
enum class PngFace { Disabled, ToggleOn, ToggleOff, Pressed, Hover, Marked, Normal };

struct PngFaceState {
    bool enabled = true;
    bool toggleMode = false;
    bool toggledOn = false;
    bool pressed = false;
    bool hovering = false;
    bool marked = false;
};

PngFace ChoosePngFace(const PngFaceState& state);

// The caption colour that goes with a face: index 0 normal, 1 hover, 2 pressed, 3 disabled,
// 4 marked (toggle faces use the normal colour).
int CaptionColourIndex(PngFace face);

// Qt's alignment for a caption text format of the skin (centre 0x1, right 0x2, vertical centre
// 0x4, bottom 0x8, word break 0x10, single line 0x20).
int CaptionAlignment(int textFormat);

class CPngButton : public QPushButton {
    Q_OBJECT
public:
    // Called after every paint with the button and whether the normal picture was used.
    using AfterPaint = std::function<void(CPngButton&, bool usedNormal)>;

    explicit CPngButton(QWidget* parent = nullptr);
    ~CPngButton() override;

    // The face origin and the five state pictures; clears hovering, tracking and pressed.
    void SetImages(int originX, int originY, const QImage& normal, const QImage& hover, const QImage& pressed,
                   const QImage& disabled, const QImage& marked, bool redraw);
    void SetStateImages(const QImage& normal, const QImage& hover, const QImage& pressed, const QImage& disabled,
                        const QImage& marked, bool redraw);
    void SetToggle(const QImage& off, const QImage& on, bool toggleMode, bool toggledOn, bool redraw);
    // Colours are red | green << 8 | blue << 16.
    void SetCaptionStyle(bool captionOn, int pointSize, const QString& fontFace, std::uint32_t normal,
                         std::uint32_t hover, std::uint32_t pressed, std::uint32_t disabled, std::uint32_t marked,
                         int textFormat);
    // Added to the client rectangle's edges before the caption is drawn.
    void SetCaptionOffsets(int left, int right, int top, int bottom);
    // `angle` in tenths of a degree, counter-clockwise.
    void SetCaptionAngle(int angle, bool rotated);
    void SetMarked(bool marked, bool redraw);
    // The amount is kept (at most 100 while on) but not drawn.
    void SetOutline(std::uint32_t colour, int amount, bool on);
    void SetTooltip(const QString& text, bool activate);
    void SetAfterPaint(AfterPaint hook);

    QPoint origin() const { return m_origin; }
    bool hovering() const { return m_hovering; }
    bool trackingMouse() const { return m_trackingMouse; }
    bool marked() const { return m_marked; }
    bool toggleMode() const { return m_toggleMode; }
    bool toggledOn() const { return m_toggledOn; }
    bool captionOn() const { return m_captionOn; }
    int pointSize() const { return m_pointSize; }
    const QString& fontFace() const { return m_fontFace; }
    int textFormat() const { return m_textFormat; }
    int angle() const { return m_angle; }
    bool rotated() const { return m_rotated; }
    bool outlineOn() const { return m_outlineOn; }
    int outlineAmount() const { return m_outlineAmount; }
    const QString& tooltipText() const { return m_tooltipText; }
    bool hasTooltipWindow() const { return m_tip.created; }
    bool tooltipActive() const { return m_tip.active; }
    int tooltipDelayMs() const { return m_tip.delayMs; }

    // The face this button shows now.
    PngFace currentFace() const;
    const QImage& pictureOf(PngFace face) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void onHover(const QPoint& globalPos);
    void paintCaption(QPainter& painter, PngFace face);

    // Indexed by PngFace.
    QImage m_pictures[7];
    QPoint m_origin;
    bool m_toggleMode = false;
    bool m_toggledOn = false;
    bool m_hovering = false;
    bool m_trackingMouse = false;
    bool m_marked = false;

    bool m_captionOn = false;
    int m_pointSize = 8;
    QString m_fontFace = QStringLiteral("Tahoma Unicode MS");
    std::uint32_t m_colours[5] = {0, 0, 0, 0, 0};
    int m_textFormat = 0x25;
    int m_offsetLeft = 0, m_offsetRight = 0, m_offsetTop = 0, m_offsetBottom = 0;
    int m_angle = 0;
    bool m_rotated = false;

    bool m_outlineOn = false;
    std::uint32_t m_outlineColour = 0;
    int m_outlineAmount = 0;

    QString m_tooltipText;
    // The tooltip exists only once a text has been given; it pops up when the pointer rests on
    // the button.
    struct Tooltip {
        bool created = false;
        bool registered = false;
        bool active = false;
        int delayMs = 0;
        QString text;
    } m_tip;
    AfterPaint m_afterPaint;
};

}  // namespace tarnel
