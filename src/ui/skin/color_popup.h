// The pop-up palette of the colour button: the current colour, an "automatic" colour, a palette
// of forty colours and, one click further, Qt's full colour dialog.
#pragma once
#include <QFrame>
#include <cstdint>
#include <optional>
#include <vector>

class QToolButton;

namespace tarnel {

class CColorPopup : public QFrame {
    Q_OBJECT
public:
    // `current` is empty when the button has no colour.
    CColorPopup(QWidget* parent, std::optional<std::uint32_t> current, std::uint32_t automatic);

    // The palette offered, row by row (red | green << 8 | blue << 16).
    static const std::vector<std::uint32_t>& paletteColours();

    // What a click on the palette's parts does (also used by tests).
    void chooseAutomatic();
    void chooseColour(std::uint32_t colour);
    void chooseMore();

signals:
    // `automatic` is true when the automatic colour was chosen; `colour` is then that colour.
    void picked(std::uint32_t colour, bool automatic);

private:
    QToolButton* swatchButton(std::uint32_t colour, bool isCurrent);

    std::optional<std::uint32_t> m_current;
    std::uint32_t m_automatic;
};

}  // namespace tarnel
