#include "ui/skin/base_dialog.h"

#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>
#include <utility>
#include <vector>

namespace tarnel {

SkinStatus LoadPicture(const QString& path, QImage& destination) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {false, QStringLiteral("Cannot open the skin picture \"%1\": %2").arg(path, file.errorString())};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {false, QStringLiteral("Cannot read the skin picture \"%1\": %2").arg(path, file.errorString())};
    QImage picture;
    if (bytes.isEmpty() || !picture.loadFromData(bytes) || picture.isNull())
        return {false, QStringLiteral("Cannot decode the skin picture \"%1\"").arg(path)};
    destination = std::move(picture);
    return {};
}

std::optional<QRegion> ShapeFromMask(const QImage& mask, std::uint32_t transparent, int tolerance) {
    if (mask.isNull()) return std::nullopt;
    const QImage pixels = mask.convertToFormat(QImage::Format_RGB32);
    const int tol = std::max(tolerance, 0);
    const int lo[3] = {int(transparent & 0xFF), int((transparent >> 8) & 0xFF), int((transparent >> 16) & 0xFF)};
    const int hi[3] = {std::min(lo[0] + tol, 255), std::min(lo[1] + tol, 255), std::min(lo[2] + tol, 255)};
    auto isTransparent = [&](QRgb p) {
        const int c[3] = {qRed(p), qGreen(p), qBlue(p)};
        for (int i = 0; i < 3; ++i)
            if (c[i] < lo[i] || c[i] > hi[i]) return false;
        return true;
    };

    // Rows are walked top-down and runs left to right, which is the banded order setRects wants;
    // the runs are gathered 2000 at a time so a large mask never builds one huge array.
    constexpr std::size_t kBatch = 2000;
    std::vector<QRect> runs;
    runs.reserve(kBatch);
    QRegion shape;
    bool any = false;
    auto flush = [&] {
        if (runs.empty()) return;
        QRegion batch;
        batch.setRects(runs.data(), static_cast<int>(runs.size()));
        shape = shape.united(batch);
        runs.clear();
    };
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int x = 0;
        while (x < pixels.width()) {
            while (x < pixels.width() && isTransparent(row[x])) ++x;
            const int x1 = x;
            while (x < pixels.width() && !isTransparent(row[x])) ++x;
            if (x > x1) {
                runs.emplace_back(x1, y, x - x1, 1);
                any = true;
                if (runs.size() == kBatch) flush();
            }
        }
    }
    flush();
    if (!any) return std::nullopt;
    return shape;
}

CBaseDialog::CBaseDialog(QWidget* parent, QString skinIni, QString skinDir, SkinIniReader reader)
    : QDialog(parent), m_skinIni(std::move(skinIni)), m_skinDir(std::move(skinDir)), m_reader(std::move(reader)) {
    if (!m_reader) m_reader = SkinIniFile(m_skinIni.toStdString());
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    // The background picture covers the whole window; nothing is erased before it is painted.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CBaseDialog::~CBaseDialog() = default;

int CBaseDialog::exec() {
    if (!prepare()) return kSkinFailed;
    return QDialog::exec();
}

void CBaseDialog::done(int result) {
    releasePictures();
    m_prepared = false;
    QDialog::done(result);
}

bool CBaseDialog::prepare() {
    if (m_prepared) return true;
    m_error.clear();
    m_prepared = OnInitDialog();
    if (!m_prepared && m_error.isEmpty()) m_error = QStringLiteral("The dialog could not be initialised");
    return m_prepared;
}

bool CBaseDialog::OnInitDialog() {
    const SkinStatus status = SkinInit();
    if (!status.ok) m_error = status.error;
    return status.ok;
}

QString CBaseDialog::pathInSkinDir(const QString& name) const {
    QString relative = name;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir(m_skinDir).filePath(relative);
}

SkinStatus CBaseDialog::SkinInit() {
    m_skinning = true;
    const QString mainName = QString::fromStdString(m_reader("SCREEN", "Main"));
    QString maskName = QString::fromStdString(m_reader("SCREEN", "Mask"));
    if (maskName.isEmpty()) maskName = mainName;

    SkinStatus status;
    QImage background, mask;
    if (mainName.isEmpty())
        status = {false, QStringLiteral("The skin file \"%1\" names no background picture (SCREEN, Main)").arg(m_skinIni)};
    if (status.ok) status = LoadPicture(pathInSkinDir(mainName), background);
    if (status.ok) status = LoadPicture(pathInSkinDir(maskName), mask);
    if (!status.ok) {
        m_skinning = false;
        return status;
    }
    m_background = std::move(background);
    m_mask = std::move(mask);

    setFixedSize(m_background.size());
    if (auto shape = ShapeFromMask(m_mask, 0xFFFFFF, 0))
        setMask(*shape);
    else
        clearMask();
    update();
    m_skinning = false;
    return status;
}

void CBaseDialog::releasePictures() {
    m_background = QImage();
    m_mask = QImage();
}

void CBaseDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_prepared || prepare()) return;
    emit skinFailed(m_error);
    QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
}

void CBaseDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_background);
}

void CBaseDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        // Grabbing the background is grabbing the caption. Where the window system cannot
        // move the window itself, follow the pointer by hand.
        QWindow* window = windowHandle();
        if (!window || !window->startSystemMove())
            m_dragOffset = event->globalPosition().toPoint() - pos();
        update();
    }
    QDialog::mousePressEvent(event);
}

void CBaseDialog::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragOffset && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - *m_dragOffset);
    QDialog::mouseMoveEvent(event);
}

void CBaseDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) m_dragOffset.reset();
    QDialog::mouseReleaseEvent(event);
}

}  // namespace tarnel
