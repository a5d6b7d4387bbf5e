#include "ui/skin/color_popup.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/skin/skin_colour.h"

namespace tarnel {
namespace {

constexpr int kColumns = 8;
constexpr int kCell = 18;

std::uint32_t rgb(int r, int g, int b) { return std::uint32_t(r) | std::uint32_t(g) << 8 | std::uint32_t(b) << 16; }

QIcon swatchIcon(std::uint32_t colour, int w, int h) {
    QPixmap pixmap(w, h);
    pixmap.fill(ToQColor(colour));
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x50, 0x55, 0x5C));
    painter.drawRect(0, 0, w - 1, h - 1);
    return QIcon(pixmap);
}

}  // namespace

const std::vector<std::uint32_t>& CColorPopup::paletteColours() {
    static const std::vector<std::uint32_t> colours = {
        rgb(0, 0, 0),       rgb(153, 51, 0),    rgb(51, 51, 0),     rgb(0, 51, 0),
        rgb(0, 51, 102),    rgb(0, 0, 128),     rgb(51, 51, 153),   rgb(51, 51, 51),
        rgb(128, 0, 0),     rgb(255, 102, 0),   rgb(128, 128, 0),   rgb(0, 128, 0),
        rgb(0, 128, 128),   rgb(0, 0, 255),     rgb(102, 102, 153), rgb(128, 128, 128),
        rgb(255, 0, 0),     rgb(255, 153, 0),   rgb(153, 204, 0),   rgb(51, 153, 102),
        rgb(51, 204, 204),  rgb(51, 102, 255),  rgb(128, 0, 128),   rgb(153, 153, 153),
        rgb(255, 0, 255),   rgb(255, 204, 0),   rgb(255, 255, 0),   rgb(0, 255, 0),
        rgb(0, 255, 255),   rgb(0, 204, 255),   rgb(153, 51, 102),  rgb(192, 192, 192),
        rgb(255, 153, 204), rgb(255, 204, 153), rgb(255, 255, 153), rgb(204, 255, 204),
        rgb(204, 255, 255), rgb(153, 204, 255), rgb(204, 153, 255), rgb(255, 255, 255),
    };
    return colours;
}

CColorPopup::CColorPopup(QWidget* parent, std::optional<std::uint32_t> current, std::uint32_t automatic)
    : QFrame(parent, Qt::Popup), m_current(current), m_automatic(automatic) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::StyledPanel);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(4);

    auto* automaticButton = new QPushButton(swatchIcon(automatic, 14, 14), tr("Automatic"), this);
    automaticButton->setObjectName(QStringLiteral("automatic"));
    connect(automaticButton, &QPushButton::clicked, this, &CColorPopup::chooseAutomatic);
    column->addWidget(automaticButton);

    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    const auto& colours = paletteColours();
    for (int i = 0; i < int(colours.size()); ++i)
        grid->addWidget(swatchButton(colours[std::size_t(i)], current && *current == colours[std::size_t(i)]),
                        i / kColumns, i % kColumns);
    column->addLayout(grid);

    auto* currentLabel = new QLabel(this);
    currentLabel->setText(current ? tr("Current: %1").arg(ToQColor(*current).name()) : tr("Current: none"));
    column->addWidget(currentLabel);

    auto* more = new QPushButton(tr("More colours\u2026"), this);
    more->setObjectName(QStringLiteral("more"));
    connect(more, &QPushButton::clicked, this, &CColorPopup::chooseMore);
    column->addWidget(more);
}

QToolButton* CColorPopup::swatchButton(std::uint32_t colour, bool isCurrent) {
    auto* cell = new QToolButton(this);
    cell->setIcon(swatchIcon(colour, kCell - 4, kCell - 4));
    cell->setFixedSize(kCell + 2, kCell + 2);
    cell->setAutoRaise(!isCurrent);
    cell->setCheckable(true);
    cell->setChecked(isCurrent);
    cell->setToolTip(ToQColor(colour).name());
    connect(cell, &QToolButton::clicked, this, [this, colour] { chooseColour(colour); });
    return cell;
}

void CColorPopup::chooseAutomatic() {
    emit picked(m_automatic, true);
    close();
}

void CColorPopup::chooseColour(std::uint32_t colour) {
    emit picked(colour, false);
    close();
}

void CColorPopup::chooseMore() {
    hide();
    const QColor start = ToQColor(m_current.value_or(m_automatic));
    const QColor chosen = QColorDialog::getColor(start, parentWidget(), tr("Choose a colour"));
    if (chosen.isValid())
        chooseColour(FromQColor(chosen));
    else
        close();
}

}  // namespace tarnel
