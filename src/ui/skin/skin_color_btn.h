// The colour-picker button of the lighting panel: a swatch of the current colour beside a grey
// arrow box with a black triangle; a click opens the pop-up palette.
#pragma once
#include <QPointer>
#include <QPushButton>
#include <cstdint>
#include <optional>

#include "ui/skin/color_popup.h"

namespace tarnel {

class CSkinColorBtn : public QPushButton {
    Q_OBJECT
public:
    explicit CSkinColorBtn(QWidget* parent = nullptr);

    // Colours are red | green << 8 | blue << 16; an empty colour is "none".
    void SetColor(std::optional<std::uint32_t> colour);
    std::optional<std::uint32_t> Color() const { return m_colour; }
    void SetAutomaticColor(std::uint32_t colour);
    std::uint32_t AutomaticColor() const { return m_automatic; }
    // What the swatch shows and the lighting panel uses: the current colour, else the automatic.
    std::uint32_t EffectiveColor() const { return m_colour.value_or(m_automatic); }

    // Opens the palette below the button (what a click does).
    void OpenPalette();
    CColorPopup* palette() const { return m_popup; }

    bool hovering() const { return m_hovering; }

    // The parts of the face, in the button's coordinates.
    QRect swatchRect() const;
    QRect arrowRect() const;
    static constexpr std::uint32_t kArrowBoxGrey = 0x8B9294;  // red 0x94, green 0x92, blue 0x8B

signals:
    // A colour was chosen in the palette (the automatic one reports the automatic colour).
    void colorChosen(std::uint32_t colour);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void onPicked(std::uint32_t colour, bool automatic);

    std::optional<std::uint32_t> m_colour;
    std::uint32_t m_automatic = 0;
    bool m_hovering = false;
    QPointer<CColorPopup> m_popup;
};

}  // namespace tarnel
