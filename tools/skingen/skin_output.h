// Everything the generator writes into the skin folder, by file name.
#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>
#include <map>

#include "dialog_skin.h"

namespace skingen {

struct SkinOutput {
    std::map<QString, QImage> pictures;  // saved by extension: .jpg, .bmp, .png
    std::map<QString, QByteArray> files;
};

inline constexpr const char* kWebLink = "https://tarnel.example.org/";

void buildMainSkin(SkinOutput& out);
void buildCompositeSkin(SkinOutput& out);
void buildProfileSkin(SkinOutput& out);
void buildMagicFnSkin(SkinOutput& out);
void buildPanelPictures(SkinOutput& out);
void buildIcons(SkinOutput& out);
void buildLightingTemplate(SkinOutput& out);

// The four state pictures of a dialog under the given file names, its mask, and its ini file.
void addDialog(SkinOutput& out, const DialogSkin& skin, const QString& normal, const QString& over,
               const QString& down, const QString& disabled, const QString& maskName);

}  // namespace skingen
