#include "ui/skin/color_static.h"

#include "ui/skin/skin_colour.h"

namespace tarnel {

ColorStatic::ColorStatic(QWidget* parent) : QLabel(parent) {
    // No brush: the dialog's background shows through behind the text.
    setAutoFillBackground(false);
    setAttribute(Qt::WA_TranslucentBackground);
    SetTextColor(m_textColour);
}

void ColorStatic::SetTextColor(std::uint32_t colour) {
    m_textColour = colour;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, ToQColor(colour));
    p.setColor(QPalette::Text, ToQColor(colour));
    setPalette(p);
    if (isVisible()) repaint();
}

}  // namespace tarnel
