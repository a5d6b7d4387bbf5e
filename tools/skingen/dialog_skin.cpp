#include "dialog_skin.h"

#include <QPainterPath>

namespace skingen {

DialogSkin::DialogSkin(QString iniName, QSize size) : m_iniName(std::move(iniName)), m_size(size) {}

void DialogSkin::put(const std::string& section, const std::string& key, const std::string& value) {
    for (auto& [name, values] : m_sections)
        if (name == section) {
            values.emplace_back(key, value);
            return;
        }
    m_sections.push_back({section, {{key, value}}});
}

static std::string placement(QRect r) {
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + "," + std::to_string(r.width()) + "," +
           std::to_string(r.height());
}

void DialogSkin::addImageButton(const std::string& key, QRect rect, Painter paint) {
    m_buttons.push_back({key, rect, std::move(paint)});
    m_rects[key] = rect;
    put("BUTTONINFO", key, placement(rect));
}

void DialogSkin::addPlain(const std::string& key, QRect rect) {
    m_rects[key] = rect;
    put("BUTTONINFO", key, placement(rect));
}

void DialogSkin::addValue(const std::string& section, const std::string& key, const std::string& value) {
    put(section, key, value);
}

QRect DialogSkin::rect(const std::string& key) const {
    auto it = m_rects.find(key);
    return it == m_rects.end() ? QRect() : it->second;
}

void DialogSkin::setBackgroundName(const QString& name) {
    m_backgroundName = name;
    put("SCREEN", "Main", name.toStdString());
}

QImage DialogSkin::render(Look look, const std::function<void(QPainter&)>& overlay, bool asBackground) const {
    QImage img(m_size, QImage::Format_RGB32);
    img.fill(theme::window);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    if (m_background) {
        p.save();
        m_background(p);
        p.restore();
    }
    for (const Button& b : m_buttons) {
        p.save();
        b.paint(p, QRectF(asBackground ? b.rect : b.rect.translated(-1, -1)), look);
        p.restore();
    }
    if (overlay) overlay(p);
    return img;
}

QImage DialogSkin::mask(double radius) const {
    QImage img(m_size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(QPointF(0, 0), QSizeF(m_size)), radius, radius);
    p.fillPath(outline, Qt::black);  // no antialiasing: a pixel is in or out
    return img;
}

std::string DialogSkin::iniText() const {
    std::string text = "; Default skin of the keyboard configuration tool, generated at build time.\r\n";
    for (const auto& [section, values] : m_sections) {
        text += "\r\n[" + section + "]\r\n";
        for (const auto& [key, value] : values) text += key + "=" + value + "\r\n";
    }
    return text;
}

}  // namespace skingen
