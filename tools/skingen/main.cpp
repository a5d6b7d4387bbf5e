// Draws the default skin into <data root>/Skins and checks it the way the windows will read it.
// With --check <skin folder> it only checks an existing skin; --without-template leaves the user
// lighting template to a hand-written copy that the build puts into the same folder. Every fault is printed with the
// file it concerns, and any fault ends the program with a non-zero exit code.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

#include "skin_manifest.h"
#include "skin_output.h"

namespace {

bool save(const QString& path, const QImage& img) {
    if (path.endsWith(".jpg")) return img.save(path, "JPG", 95);
    if (path.endsWith(".bmp")) return img.convertToFormat(QImage::Format_RGB888).save(path, "BMP");
    return img.save(path, "PNG");
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size() && f.flush();
}

int check(const QString& skinDir) {
    const auto faults = skingen::CheckSkin(QDir(skinDir).absolutePath().toStdString() + "/");
    for (const std::string& f : faults) std::fprintf(stderr, "skin fault: %s\n", f.c_str());
    return faults.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == "--check") return check(args[2]);
    const bool withTemplate = !(args.size() == 3 && args[1] == "--without-template");
    if (args.size() != 2 && withTemplate) {
        std::fprintf(stderr, "usage: tarnel_skingen [--without-template] <data root> | --check <skin folder>\n");
        return 2;
    }
    const QString skinDir = QDir(args.last()).filePath(QStringLiteral("Skins"));
    if (!QDir().mkpath(skinDir)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(skinDir));
        return 1;
    }
    skingen::SkinOutput out;
    skingen::buildMainSkin(out);
    skingen::buildCompositeSkin(out);
    skingen::buildProfileSkin(out);
    skingen::buildMagicFnSkin(out);
    skingen::buildPanelPictures(out);
    skingen::buildIcons(out);
    if (withTemplate) skingen::buildLightingTemplate(out);
    for (const auto& [name, img] : out.pictures)
        if (!save(QDir(skinDir).filePath(name), img)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(QDir(skinDir).filePath(name)));
            return 1;
        }
    for (const auto& [name, bytes] : out.files)
        if (!writeFile(QDir(skinDir).filePath(name), bytes)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(QDir(skinDir).filePath(name)));
            return 1;
        }
    return check(skinDir);
}
