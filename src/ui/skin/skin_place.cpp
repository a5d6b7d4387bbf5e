#include "ui/skin/skin_place.h"

#include "storage/skin_layout.h"

namespace tarnel {
namespace {

QRect toRect(const SkinRect& r) { return QRect(r.x, r.y, r.w, r.h); }

}  // namespace

void PlaceImageButton(CPngButton& button, const std::string& skinFile, std::string_view section,
                      std::string_view key, const QImage& normal, const QImage& hover, const QImage& pressed,
                      const QImage& disabled, const QImage& marked) {
    const ImageButtonPlacement p = tarnel::PlaceImageButton(skinFile, section, key);
    button.setGeometry(toRect(p.rect));
    button.SetImages(p.faceOrigin.x, p.faceOrigin.y, normal, hover, pressed, disabled, marked, false);
    button.setEnabled(p.enabled);
}

void PlaceControl(QWidget& control, const std::string& skinFile, std::string_view section, std::string_view key) {
    control.setGeometry(toRect(tarnel::PlaceControl(skinFile, section, key)));
}

void PlaceImageButtonAt(CPngButton& button, const std::string& skinFile, std::string_view section,
                        std::string_view key, std::string_view originSection, std::string_view originKey,
                        const QImage& image) {
    const ImageButtonPlacement p = tarnel::PlaceImageButtonAt(skinFile, section, key, originSection, originKey);
    button.setGeometry(toRect(p.rect));
    button.SetImages(p.faceOrigin.x, p.faceOrigin.y, image, image, image, image, image, false);
}

void MoveControl(QWidget& control, const std::string& skinFile, std::string_view section, std::string_view key) {
    const QRect now = control.geometry();
    const SkinRect r = tarnel::MoveControl(skinFile, section, key, {now.x(), now.y(), now.width(), now.height()});
    control.move(r.x, r.y);
}

}  // namespace tarnel
