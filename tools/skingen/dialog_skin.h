// One skinned dialog of the default skin while it is being drawn: its size, its background, the
// placements of its controls, and the full-dialog state pictures the image buttons cut their
// faces from.
#pragma once
#include <QImage>
#include <QRect>
#include <QString>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "paint_kit.h"

namespace skingen {

class DialogSkin {
public:
    using Painter = std::function<void(QPainter&, const QRectF&, Look)>;

    DialogSkin(QString iniName, QSize size);

    QSize size() const { return m_size; }
    const QString& iniName() const { return m_iniName; }

    // The background under everything, the same in every state picture.
    void setBackground(std::function<void(QPainter&)> paint) { m_background = std::move(paint); }
    // An image button: placed in BUTTONINFO and drawn in each state picture in that state.
    void addImageButton(const std::string& key, QRect rect, Painter paint);
    // A control the window creates itself: only its placement.
    void addPlain(const std::string& key, QRect rect);
    void addValue(const std::string& section, const std::string& key, const std::string& value);
    QRect rect(const std::string& key) const;
    // The background picture's file name; written as SCREEN Main.
    void setBackgroundName(const QString& name);
    const QString& backgroundName() const { return m_backgroundName; }

    // The background with every image button drawn in `look`. A button's face is cut one pixel
    // up and to the left of its placement, so it is drawn there.
    // The background picture (SCREEN Main) draws the buttons at their own places instead, so a
    // button's face lies exactly over its picture in the background.
    QImage render(Look look, const std::function<void(QPainter&)>& overlay = {}, bool asBackground = false) const;
    // White outside the window's rounded outline, black inside.
    QImage mask(double radius = 14) const;

    std::string iniText() const;

private:
    struct Button {
        std::string key;
        QRect rect;
        Painter paint;
    };
    QString m_iniName;
    QString m_backgroundName;
    QSize m_size;
    std::function<void(QPainter&)> m_background;
    std::vector<Button> m_buttons;
    std::map<std::string, QRect> m_rects;
    // section -> (key, value) in the order given
    std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> m_sections;
    void put(const std::string& section, const std::string& key, const std::string& value);
};

}  // namespace skingen
