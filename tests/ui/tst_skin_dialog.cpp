// The frameless skinned dialog: loading its pictures, its shape from the mask, painting,
// dragging, and what happens when a picture is missing.
#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <map>

#include "ui/skin/base_dialog.h"

using namespace tarnel;

namespace {

// Pixel-by-pixel membership, since equal regions may be built from different rectangles.
bool sameShape(const QRegion& region, const QImage& expectedInside) {
    for (int y = 0; y < expectedInside.height(); ++y)
        for (int x = 0; x < expectedInside.width(); ++x)
            if (region.contains(QPoint(x, y)) != (expectedInside.pixel(x, y) == qRgb(0, 0, 0))) return false;
    return true;
}

QImage solid(int w, int h, QRgb colour) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

// A skin read from memory, so each test states the SCREEN keys it means.
SkinIniReader iniOf(std::map<std::string, std::string> values) {
    return [values = std::move(values)](std::string_view section, std::string_view key) {
        auto it = values.find(std::string(section) + "/" + std::string(key));
        return it == values.end() ? std::string() : it->second;
    };
}

// The smallest GIF: one white pixel (Qt reads GIF but cannot write it).
const QByteArray kOnePixelGif = QByteArray::fromHex(
    "47494638396101000100800000ffffff0000002c00000000010001000002024401003b");

}  // namespace

class SkinDialogTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    QString put(const QString& name, const QImage& img) {
        const QString path = dir.filePath(name);
        if (!img.save(path)) qFatal("cannot write fixture %s", qPrintable(path));
        return path;
    }

private slots:
    void maskShape_data() {
        QTest::addColumn<QImage>("mask");
        QTest::addColumn<QImage>("inside");  // black where the window must be
        QTest::addColumn<bool>("shaped");

        QImage halfWhite = solid(8, 4, qRgb(0, 0, 0));
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) halfWhite.setPixel(x, y, qRgb(255, 255, 255));
        QTest::newRow("left half white keeps the right half") << halfWhite << halfWhite << true;

        for (int c = 0; c < 3; ++c) {
            QImage offByOne = solid(3, 1, qRgb(255, 255, 255));
            offByOne.setPixel(1, 0, qRgb(c == 0 ? 254 : 255, c == 1 ? 254 : 255, c == 2 ? 254 : 255));
            QImage inside = solid(3, 1, qRgb(255, 255, 255));
            inside.setPixel(1, 0, qRgb(0, 0, 0));
            QTest::newRow(qPrintable(QString("one off white in component %1 is inside").arg(c)))
                << offByOne << inside << true;
        }

        // Several runs on one row, a fully transparent row between shaped rows.
        QImage runs = solid(7, 3, qRgb(255, 255, 255));
        for (int x : {0, 2, 3, 6}) runs.setPixel(x, 0, qRgb(10, 200, 30));
        for (int x = 0; x < 7; ++x) runs.setPixel(x, 2, qRgb(0, 0, 255));
        QImage runsInside = solid(7, 3, qRgb(255, 255, 255));
        for (int x : {0, 2, 3, 6}) runsInside.setPixel(x, 0, qRgb(0, 0, 0));
        for (int x = 0; x < 7; ++x) runsInside.setPixel(x, 2, qRgb(0, 0, 0));
        QTest::newRow("runs and a hole row") << runs << runsInside << true;

        QTest::newRow("all white gives no shape") << solid(4, 4, qRgb(255, 255, 255)) << QImage() << false;
    }

    void maskShape() {
        QFETCH(QImage, mask);
        QFETCH(QImage, inside);
        QFETCH(bool, shaped);
        const auto region = ShapeFromMask(mask, 0xFFFFFF, 0);
        QCOMPARE(region.has_value(), shaped);
        if (shaped) QVERIFY(sameShape(*region, inside));
    }

    void maskToleranceWidensTransparency() {
        QImage mask = solid(2, 1, qRgb(250, 252, 255));
        mask.setPixel(1, 0, qRgb(249, 255, 255));
        const auto region = ShapeFromMask(mask, 0xFFFFFF & 0xFAFAFA, 5);  // 250..255 per component
        QVERIFY(region);
        QVERIFY(!region->contains(QPoint(0, 0)));
        QVERIFY(region->contains(QPoint(1, 0)));
    }

    void largeMaskIsGatheredInBatches() {
        // A checkerboard row pattern gives far more than one batch of runs.
        QImage mask = solid(200, 100, qRgb(255, 255, 255));
        for (int y = 0; y < 100; ++y)
            for (int x = y % 2; x < 200; x += 2) mask.setPixel(x, y, qRgb(0, 0, 0));
        const auto region = ShapeFromMask(mask, 0xFFFFFF, 0);
        QVERIFY(region);
        QVERIFY(sameShape(*region, mask));
    }

    void loadPicture_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        QTest::newRow("bmp") << put("p.bmp", solid(5, 3, qRgb(1, 2, 3))) << QSize(5, 3);
        QTest::newRow("jpeg") << put("p.jpg", solid(6, 4, qRgb(1, 2, 3))) << QSize(6, 4);
        QFile gif(dir.filePath("p.gif"));
        QVERIFY(gif.open(QIODevice::WriteOnly) && gif.write(kOnePixelGif) == kOnePixelGif.size());
        gif.close();
        QTest::newRow("gif") << gif.fileName() << QSize(1, 1);
    }

    void loadPicture() {
        QFETCH(QString, file);
        QFETCH(QSize, size);
        QImage img;
        const SkinStatus status = LoadPicture(file, img);
        QVERIFY2(status.ok, qPrintable(status.error));
        QCOMPARE(img.size(), size);
    }

    void skinInitShapesAndPaints() {
        QImage bg = solid(40, 30, qRgb(200, 10, 10));
        put("bg.bmp", bg);
        QImage mask = solid(40, 30, qRgb(0, 0, 0));
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 20; ++x) mask.setPixel(x, y, qRgb(255, 255, 255));
        put("mask.bmp", mask);

        CBaseDialog dlg(nullptr, "Main.ini", dir.path(), iniOf({{"SCREEN/Main", "bg.bmp"}, {"SCREEN/Mask", "mask.bmp"}}));
        dlg.move(50, 60);
        QVERIFY(dlg.prepare());
        QCOMPARE(dlg.size(), QSize(40, 30));
        QCOMPARE(dlg.pos(), QPoint(50, 60));
        QCOMPARE(dlg.mask().boundingRect(), QRect(20, 0, 20, 30));

        const QImage shot = dlg.grab().toImage();
        shot.save(TARNEL_SHOT_DIR "/skin_dialog.png");
        QCOMPARE(shot.pixel(30, 15), qRgb(200, 10, 10));
    }

    void missingMaskKeyUsesBackground() {
        // The background's own white left column becomes a hole.
        QImage bg = solid(10, 10, qRgb(0, 128, 0));
        for (int y = 0; y < 10; ++y) bg.setPixel(0, y, qRgb(255, 255, 255));
        put("self.bmp", bg);
        CBaseDialog dlg(nullptr, "x.ini", dir.path(), iniOf({{"SCREEN/Main", "self.bmp"}}));
        QVERIFY(dlg.prepare());
        QImage inside = solid(10, 10, qRgb(0, 0, 0));
        for (int y = 0; y < 10; ++y) inside.setPixel(0, y, qRgb(255, 255, 255));
        QVERIFY(sameShape(dlg.mask(), inside));
    }

    void allWhiteMaskLeavesWindowRectangular() {
        put("w.bmp", solid(12, 12, qRgb(255, 255, 255)));
        put("b.bmp", solid(12, 12, qRgb(9, 9, 9)));
        CBaseDialog dlg(nullptr, "x.ini", dir.path(), iniOf({{"SCREEN/Main", "b.bmp"}, {"SCREEN/Mask", "w.bmp"}}));
        QVERIFY(dlg.prepare());
        QVERIFY(dlg.mask().isEmpty());
    }

    void readsTheSkinFile() {
        put("f.bmp", solid(7, 5, qRgb(9, 9, 9)));
        QFile ini(dir.filePath("Skin.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[other]\nMain=nothing.bmp\n[screen]\n  MAIN = \"f.bmp\"  \n");
        ini.close();
        CBaseDialog dlg(nullptr, ini.fileName(), dir.path());
        QVERIFY2(dlg.prepare(), qPrintable(dlg.skinError()));
        QCOMPARE(dlg.size(), QSize(7, 5));
    }

    void unloadablePictureIsReported_data() {
        QTest::addColumn<QString>("main");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("named");  // what the error must name
        QFile junk(dir.filePath("junk.bmp"));
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("not a picture") > 0);
        junk.close();
        put("good.bmp", solid(4, 4, qRgb(0, 0, 0)));
        QTest::newRow("missing background") << "absent.bmp" << "" << "absent.bmp";
        QTest::newRow("undecodable background") << "junk.bmp" << "" << "junk.bmp";
        QTest::newRow("missing mask") << "good.bmp" << "nomask.gif" << "nomask.gif";
        QTest::newRow("no Main key") << "" << "" << "Main.ini";
    }

    void unloadablePictureIsReported() {
        QFETCH(QString, main);
        QFETCH(QString, mask);
        QFETCH(QString, named);
        std::map<std::string, std::string> keys;
        if (!main.isEmpty()) keys["SCREEN/Main"] = main.toStdString();
        if (!mask.isEmpty()) keys["SCREEN/Mask"] = mask.toStdString();
        CBaseDialog dlg(nullptr, "Main.ini", dir.path(), iniOf(keys));
        QCOMPARE(dlg.exec(), CBaseDialog::kSkinFailed);
        QVERIFY2(dlg.skinError().contains(named), qPrintable(dlg.skinError()));
        QVERIFY(!dlg.isVisible());
    }

    void showWithoutSkinClosesAndSignals() {
        CBaseDialog dlg(nullptr, "Main.ini", dir.path(), iniOf({{"SCREEN/Main", "absent.bmp"}}));
        QSignalSpy failed(&dlg, &CBaseDialog::skinFailed);
        dlg.show();
        QCOMPARE(failed.count(), 1);
        QTRY_VERIFY(!dlg.isVisible());
    }

    void picturesReleasedOnCloseAndReloadedOnNextShowing() {
        const QString path = put("again.bmp", solid(10, 10, qRgb(1, 1, 1)));
        CBaseDialog dlg(nullptr, "x.ini", dir.path(), iniOf({{"SCREEN/Main", "again.bmp"}}));
        for (int closeWith : {QDialog::Accepted, QDialog::Rejected}) {
            QVERIFY(dlg.prepare());
            dlg.show();
            QVERIFY(!dlg.background().isNull());
            dlg.done(closeWith);
            QVERIFY(dlg.background().isNull() && dlg.maskPicture().isNull());
        }
        // The next showing reads the file as it is now.
        put("again.bmp", solid(16, 8, qRgb(1, 1, 1)));
        dlg.show();
        QCOMPARE(dlg.size(), QSize(16, 8));
        dlg.reject();
    }

    void draggingTheBackgroundMovesTheWindow() {
        put("drag.bmp", solid(50, 50, qRgb(1, 1, 1)));
        CBaseDialog dlg(nullptr, "x.ini", dir.path(), iniOf({{"SCREEN/Main", "drag.bmp"}}));
        dlg.move(100, 100);
        dlg.show();
        const QPoint start = dlg.pos();
        auto send = [&](QEvent::Type type, QPoint local, Qt::MouseButtons buttons) {
            QMouseEvent ev(type, QPointF(local), QPointF(dlg.mapToGlobal(local)), Qt::LeftButton, buttons, Qt::NoModifier);
            QApplication::sendEvent(&dlg, &ev);
        };
        const QPoint grabAt(10, 10);
        const QPoint globalGrab = dlg.mapToGlobal(grabAt);
        send(QEvent::MouseButtonPress, grabAt, Qt::LeftButton);
        QMouseEvent move(QEvent::MouseMove, QPointF(grabAt), QPointF(globalGrab + QPoint(25, -7)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&dlg, &move);
        QCOMPARE(dlg.pos(), start + QPoint(25, -7));
        send(QEvent::MouseButtonRelease, grabAt, Qt::NoButton);
        dlg.reject();
    }
};

QTEST_MAIN(SkinDialogTest)
#include "tst_skin_dialog.moc"
