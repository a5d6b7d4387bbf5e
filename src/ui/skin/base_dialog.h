// The borderless dialog every window of the program is built on: painted whole from its skin's
// background picture, shaped by the skin's mask picture and dragged by any point of its
// background.
//
// A concrete dialog passes its skin file and skin folder, overrides OnInitDialog (calling the
// base first) to place and skin its controls, and is shown with exec() or show(). Each showing
// reads the skin again and loads both pictures anew; closing with accept() or reject() releases
// them. A picture that cannot be loaded is a failure the caller must report: exec() then returns
// kSkinFailed and skinError() names the file.
#pragma once
#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QString>
#include <cstdint>
#include <optional>

#include "ui/skin/skin_ini.h"

namespace tarnel {

struct SkinStatus {
    bool ok = true;
    QString error;  // for the user: what failed and which file
};

// Reads the whole file at `path` and decodes it (BMP, JPEG, GIF, ...) into `destination`.
SkinStatus LoadPicture(const QString& path, QImage& destination);

// The window shape of a mask: every pixel whose three colour components do not all lie within
// [component of `transparent`, that component + `tolerance`] belongs to the window; each row
// adds one one-pixel-high rectangle per run of such pixels. No such pixel at all gives nothing,
// and the window keeps its rectangular shape. `transparent` is red | green << 8 | blue << 16.
std::optional<QRegion> ShapeFromMask(const QImage& mask, std::uint32_t transparent, int tolerance);

class CBaseDialog : public QDialog {
    Q_OBJECT
public:
    // What exec() returns when the skin could not be loaded (never a dialog result).
    static constexpr int kSkinFailed = -1;

    // `skinIni`: the dialog's skin file; `skinDir`: the folder its picture names are relative to
    // (ends with a separator or not). `reader`: how the skin file is read; empty means the file
    // `skinIni` itself. Nothing is read yet.
    CBaseDialog(QWidget* parent, QString skinIni, QString skinDir, SkinIniReader reader = {});
    ~CBaseDialog() override;

    int exec() override;
    void done(int result) override;

    // Prepares the dialog for a showing (OnInitDialog) unless already done; false on failure,
    // with skinError() set. exec() and show() call it; callers of show() that need the result
    // call it first.
    bool prepare();
    const QString& skinError() const { return m_error; }

    const QImage& background() const { return m_background; }
    const QImage& maskPicture() const { return m_mask; }
    bool skinning() const { return m_skinning; }

    // Reads SCREEN/Main and SCREEN/Mask (default: the Main picture), loads both pictures, sizes
    // the window to the background and shapes it from the mask.
    SkinStatus SkinInit();

signals:
    // A showing started with show() could not load its skin; the dialog closes itself.
    void skinFailed(const QString& error);

protected:
    // Dialog initialisation of each showing; concrete dialogs call the base first and return
    // its result when it is false.
    virtual bool OnInitDialog();

    const SkinIniReader& skinReader() const { return m_reader; }
    const QString& skinIni() const { return m_skinIni; }
    const QString& skinDir() const { return m_skinDir; }

    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void releasePictures();
    QString pathInSkinDir(const QString& name) const;

    QString m_skinIni;
    QString m_skinDir;
    SkinIniReader m_reader;
    QImage m_background;
    QImage m_mask;
    QString m_error;
    bool m_skinning = false;
    bool m_prepared = false;
    // Dragging by hand where the window system cannot move the window itself.
    std::optional<QPoint> m_dragOffset;
};

}  // namespace tarnel
