// A text label drawn transparently in a chosen colour straight onto the dialog's background.
#pragma once
#include <QLabel>
#include <cstdint>

namespace tarnel {

class ColorStatic : public QLabel {
    Q_OBJECT
public:
    explicit ColorStatic(QWidget* parent = nullptr);

    // red | green << 8 | blue << 16; the label is redrawn at once.
    void SetTextColor(std::uint32_t colour);
    std::uint32_t textColour() const { return m_textColour; }

private:
    std::uint32_t m_textColour = 0xFFFFFF;
};

}  // namespace tarnel
