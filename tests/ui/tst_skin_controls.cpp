// The image controls: which picture a button shows, where its face is cut, outline and toggle
// modes, clicks and tooltips; the slider's arithmetic, keys and queued notification; the colour
// button's swatch and palette; placement from skin files.
#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "ui/skin/bitmap_slider.h"
#include "ui/skin/color_popup.h"
#include "ui/skin/color_static.h"
#include "ui/skin/png_button.h"
#include "ui/skin/skin_color_btn.h"
#include "ui/skin/skin_place.h"

using namespace tarnel;

Q_DECLARE_METATYPE(PngFace)

namespace {

// Every pixel says where it is, so a grabbed face tells where it was cut from.
QImage coordinatePicture(int w, int h, int blue) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x, y, blue));
    return img;
}

QImage solid(int w, int h, QRgb c) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

void sendMouse(QWidget& w, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease || type == QEvent::MouseMove ? Qt::NoButton : button;
    QMouseEvent ev(type, QPointF(at), QPointF(w.mapToGlobal(at)), type == QEvent::MouseMove ? Qt::NoButton : button,
                   held, Qt::NoModifier);
    QApplication::sendEvent(&w, &ev);
}

}  // namespace

class SkinControlsTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    std::string skinFile(const QByteArray& text) {
        const QString path = dir.filePath("Skin.ini");
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(text) != text.size()) qFatal("fixture");
        return path.toStdString();
    }

private slots:
    void faceChoice_data() {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("toggle");
        QTest::addColumn<bool>("toggledOn");
        QTest::addColumn<bool>("pressed");
        QTest::addColumn<bool>("hovering");
        QTest::addColumn<bool>("marked");
        QTest::addColumn<PngFace>("face");
        QTest::addColumn<int>("colour");
        QTest::newRow("disabled wins over marked and hover") << false << false << false << false << true << true << PngFace::Disabled << 3;
        QTest::newRow("disabled wins over toggle") << false << true << true << true << true << true << PngFace::Disabled << 3;
        QTest::newRow("toggle ignores press and hover (on)") << true << true << true << true << true << false << PngFace::ToggleOn << 0;
        QTest::newRow("toggle ignores press and hover (off)") << true << true << false << true << true << true << PngFace::ToggleOff << 0;
        QTest::newRow("pressed before hover") << true << false << false << true << true << true << PngFace::Pressed << 2;
        QTest::newRow("hover before marked") << true << false << false << false << true << true << PngFace::Hover << 1;
        QTest::newRow("marked") << true << false << false << false << false << true << PngFace::Marked << 4;
        QTest::newRow("normal") << true << false << false << false << false << false << PngFace::Normal << 0;
    }

    void faceChoice() {
        QFETCH(bool, enabled);
        QFETCH(bool, toggle);
        QFETCH(bool, toggledOn);
        QFETCH(bool, pressed);
        QFETCH(bool, hovering);
        QFETCH(bool, marked);
        QFETCH(PngFace, face);
        QFETCH(int, colour);
        const PngFace chosen = ChoosePngFace({enabled, toggle, toggledOn, pressed, hovering, marked});
        QCOMPARE(chosen, face);
        QCOMPARE(CaptionColourIndex(chosen), colour);
    }

    void buttonStateFollowsInput() {
        // The same rules, reached through the widget: hover by a mouse move, press by the button.
        QWidget dialog;
        dialog.resize(100, 100);
        CPngButton button(&dialog);
        button.setGeometry(10, 10, 20, 20);
        dialog.show();
        button.SetMarked(true, true);
        QCOMPARE(button.currentFace(), PngFace::Marked);
        sendMouse(button, QEvent::MouseMove, {5, 5});
        QVERIFY(button.hovering() && button.trackingMouse());
        QCOMPARE(button.currentFace(), PngFace::Hover);
        button.setDown(true);
        QCOMPARE(button.currentFace(), PngFace::Pressed);
        button.SetToggle(QImage(), QImage(), true, false, true);
        QCOMPARE(button.currentFace(), PngFace::ToggleOff);
        button.setEnabled(false);
        QCOMPARE(button.currentFace(), PngFace::Disabled);
        button.setEnabled(true);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&button, &leave);
        QVERIFY(!button.hovering() && !button.trackingMouse());
        // New pictures forget hover, tracking and press.
        sendMouse(button, QEvent::MouseMove, {5, 5});
        button.SetImages(0, 0, QImage(), QImage(), QImage(), QImage(), QImage(), false);
        QVERIFY(!button.hovering() && !button.trackingMouse() && !button.isDown());
    }

    void faceIsCutOnePixelUpAndLeftOfThePlacement() {
        const std::string ini = skinFile("[BUTTONINFO]\nBTN=10,20,30,40\n");
        const QImage normal = coordinatePicture(80, 80, 7);
        QWidget dialog;
        dialog.resize(80, 80);
        CPngButton button(&dialog);
        PlaceImageButton(button, ini, "BUTTONINFO", "BTN", normal, normal, normal, normal, normal);
        QCOMPARE(button.geometry(), QRect(10, 20, 30, 40));
        QCOMPARE(button.origin(), QPoint(10, 20));
        QVERIFY(button.isEnabled());
        const QImage face = button.grab().toImage();
        QCOMPARE(face.pixel(0, 0), qRgb(9, 19, 7));
        QCOMPARE(face.pixel(29, 39), qRgb(38, 58, 7));
    }

    void outlineDrawsOnlyTheFrame() {
        QWidget dialog;
        dialog.resize(60, 60);
        CPngButton button(&dialog);
        button.setGeometry(5, 5, 30, 20);
        const QImage red = solid(60, 60, qRgb(255, 0, 0));
        button.SetImages(5, 5, red, red, red, red, red, false);
        button.SetOutline(0x00FF00, 500, true);
        QCOMPARE(button.outlineAmount(), 100);
        for (bool enabled : {true, false}) {
            button.setEnabled(enabled);
            const QImage shot = button.grab().toImage();
            QCOMPARE(shot.pixel(1, 1), qRgb(0, 255, 0));
            QCOMPARE(shot.pixel(28, 18), qRgb(0, 255, 0));
            QVERIFY(shot.pixel(15, 10) != qRgb(255, 0, 0));
        }
    }

    void placementRules_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("placed") << QByteArray("[BUTTONINFO]\nBTN=10,20,30,40,junk\n") << QRect(10, 20, 30, 40) << true;
        QTest::newRow("at 1,1 is disabled") << QByteArray("[BUTTONINFO]\nBTN=1,1,80,20\n") << QRect(1, 1, 80, 20) << false;
        QTest::newRow("missing key") << QByteArray("[BUTTONINFO]\nOTHER=5,5,5,5\n") << QRect(1, 1, 1, 1) << false;
        QTest::newRow("two numbers") << QByteArray("[buttoninfo]\nbtn = \"5,6\"\n") << QRect(5, 6, 0, 0) << true;
    }

    void placementRules() {
        QFETCH(QByteArray, ini);
        QFETCH(QRect, rect);
        QFETCH(bool, enabled);
        const std::string file = skinFile(ini);
        QWidget dialog;
        CPngButton button(&dialog);
        PlaceImageButton(button, file, "BUTTONINFO", "BTN", {}, {}, {}, {}, {});
        QCOMPARE(button.geometry(), rect);
        QCOMPARE(button.isEnabled(), enabled);
        // A plain control takes the same rectangle and is never disabled by it.
        QWidget plain(&dialog);
        PlaceControl(plain, file, "BUTTONINFO", "BTN");
        QCOMPARE(plain.geometry(), rect);
        QVERIFY(plain.isEnabled());
    }

    void placeAtOriginAndMove() {
        const std::string file =
            skinFile("[BUTTONINFO]\nLEFT_ARROW=40,50,6,8\nMOVED=7,9,1,1\n[BUTTONINFO2]\nUP_ARROW_LEFT1=3,2,0,0\n");
        const QImage sheet = coordinatePicture(30, 30, 1);
        QWidget dialog;
        CPngButton arrow(&dialog);
        PlaceImageButtonAt(arrow, file, "BUTTONINFO", "LEFT_ARROW", "BUTTONINFO2", "UP_ARROW_LEFT1", sheet);
        QCOMPARE(arrow.geometry(), QRect(40, 50, 6, 8));
        QCOMPARE(arrow.origin(), QPoint(3, 2));
        QCOMPARE(arrow.grab().toImage().pixel(0, 0), qRgb(2, 1, 1));
        arrow.setDown(true);
        QCOMPARE(arrow.grab().toImage().pixel(0, 0), qRgb(2, 1, 1));

        QWidget label(&dialog);
        label.setGeometry(100, 100, 33, 44);
        MoveControl(label, file, "BUTTONINFO", "MOVED");
        QCOMPARE(label.geometry(), QRect(7, 9, 33, 44));
        MoveControl(label, file, "BUTTONINFO", "ABSENT");
        QCOMPARE(label.geometry(), QRect(1, 1, 33, 44));
    }

    void doubleClickIsTwoClicks() {
        QWidget dialog;
        CPngButton button(&dialog);
        button.setGeometry(0, 0, 20, 20);
        dialog.show();
        QSignalSpy clicked(&button, &QAbstractButton::clicked);
        sendMouse(button, QEvent::MouseButtonPress, {5, 5});
        sendMouse(button, QEvent::MouseButtonRelease, {5, 5});
        sendMouse(button, QEvent::MouseButtonDblClick, {5, 5});
        sendMouse(button, QEvent::MouseButtonRelease, {5, 5});
        QCOMPARE(clicked.count(), 2);
    }

    void tooltipIsCreatedOnDemand() {
        CPngButton button;
        button.SetTooltip(QString(), true);
        QVERIFY(!button.hasTooltipWindow());
        button.SetTooltip("Apply", false);
        QVERIFY(button.hasTooltipWindow());
        QVERIFY(!button.tooltipActive());
        QCOMPARE(button.tooltipDelayMs(), 300);
        button.SetTooltip("Apply now", true);
        QVERIFY(button.tooltipActive());
        QCOMPARE(button.tooltipText(), QString("Apply now"));
        // Hovering activates it again after it was switched off.
        button.SetTooltip("Apply now", false);
        button.show();
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(button.mapToGlobal(QPoint(2, 2))), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&button, &move);
        QVERIFY(button.tooltipActive());
    }

    void afterPaintTellsWhetherTheNormalPictureWasUsed() {
        QWidget dialog;
        CPngButton button(&dialog);
        button.setGeometry(0, 0, 10, 10);
        std::vector<bool> calls;
        button.SetAfterPaint([&](CPngButton& b, bool usedNormal) {
            QCOMPARE(&b, &button);
            calls.push_back(usedNormal);
        });
        button.grab();
        button.SetMarked(true, false);
        button.grab();
        QCOMPARE(calls, (std::vector<bool>{true, false}));
    }

    void captionUsesTheStateColour() {
        QWidget dialog;
        CPngButton button(&dialog);
        button.setGeometry(0, 0, 60, 24);
        const QImage black = solid(80, 40, qRgb(0, 0, 0));
        button.SetImages(1, 1, black, black, black, black, black, false);
        button.setText(QStringLiteral("\u2588\u2588\u2588\u2588"));  // full blocks: solid ink
        button.SetCaptionStyle(true, 14, "Arial Unicode MS", 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x7F7F7F, 0xFFFFFF, 37);
        auto inkColours = [&] {
            QSet<QRgb> colours;
            const QImage shot = button.grab().toImage();
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x) colours.insert(shot.pixel(x, y));
            return colours;
        };
        QVERIFY(inkColours().contains(qRgb(255, 255, 255)));
        button.setEnabled(false);
        const auto disabled = inkColours();
        QVERIFY(disabled.contains(qRgb(0x7F, 0x7F, 0x7F)));
        QVERIFY(!disabled.contains(qRgb(255, 255, 255)));
    }

    void sliderArithmetic_data() {
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<int>("pixel");
        QTest::addColumn<int>("position");
        QTest::newRow("x 30 counts as 40") << 0 << 4 << 100 << false << 30 << 1;
        QTest::newRow("x 90 counts as 100") << 0 << 4 << 100 << false << 90 << 4;
        QTest::newRow("x 0 counts as 10") << 0 << 4 << 100 << false << 0 << 0;
        QTest::newRow("x 15 reaches the next step") << 0 << 4 << 100 << false << 15 << 1;
        QTest::newRow("vertical has no extra 10") << 0 << 4 << 100 << true << 30 << 1;
        QTest::newRow("vertical 15 stays") << 0 << 4 << 100 << true << 15 << 0;
        QTest::newRow("offset range") << 10 << 20 << 50 << false << 20 << 16;
        QTest::newRow("no size gives min") << 3 << 9 << 0 << false << 40 << 3;
    }

    void sliderArithmetic() {
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(int, length);
        QFETCH(bool, vertical);
        QFETCH(int, pixel);
        QFETCH(int, position);
        SliderGeometry g{min, max, vertical ? 10 : length, vertical ? length : 10, vertical};
        QCOMPARE(SliderPositionOfPixel(g, pixel), position);
    }

    void sliderPixelOfPosition() {
        const SliderGeometry g{0, 4, 100, 10, false};
        QCOMPARE(SliderPixelOfPosition(g, 0), 0);
        QCOMPARE(SliderPixelOfPosition(g, 1), 25);
        QCOMPARE(SliderPixelOfPosition(g, 3), 75);
        const SliderGeometry third{0, 3, 100, 10, false};
        QCOMPARE(SliderPixelOfPosition(third, 1), 33);  // truncated
        const SliderGeometry empty{5, 5, 100, 10, false};
        QCOMPARE(SliderPixelOfPosition(empty, 5), 0);
    }

    void sliderKeysNotifyQueued_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::newRow("page down clamps") << int(Qt::Key_PageDown) << 3 << 4;
        QTest::newRow("page up clamps") << int(Qt::Key_PageUp) << 3 << 0;
        QTest::newRow("end") << int(Qt::Key_End) << 1 << 4;
        QTest::newRow("home") << int(Qt::Key_Home) << 3 << 0;
        QTest::newRow("right") << int(Qt::Key_Right) << 1 << 2;
        QTest::newRow("down") << int(Qt::Key_Down) << 1 << 2;
        QTest::newRow("left") << int(Qt::Key_Left) << 1 << 0;
        QTest::newRow("up at the bottom stays") << int(Qt::Key_Up) << 0 << 0;
    }

    void sliderKeysNotifyQueued() {
        QFETCH(int, key);
        QFETCH(int, from);
        QFETCH(int, to);
        CBitmapSlider slider(nullptr, 1178);
        slider.resize(100, 10);
        slider.SetRange(0, 4);
        QCOMPARE(slider.SetPageSize(5), 1);
        slider.SetPos(from);
        QSignalSpy spy(&slider, &CBitmapSlider::positionNotified);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&slider, &press);
        QCOMPARE(slider.position(), to);
        QCOMPARE(spy.count(), 0);  // not yet: the owner hears of it once the event is handled
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 1178);
        QCOMPARE(spy.at(0).at(1).toInt(), to);
    }

    void sliderMouseAndWheel() {
        QWidget dialog;
        CBitmapSlider slider(&dialog, 1179);
        slider.setGeometry(0, 0, 100, 12);
        slider.SetRange(0, 4);
        dialog.show();
        QSignalSpy spy(&slider, &CBitmapSlider::positionNotified);

        // The wheel does nothing until the slider has been clicked.
        QWheelEvent up(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                       Qt::NoScrollPhase, false);
        QApplication::sendEvent(&slider, &up);
        QCOMPARE(slider.position(), 0);

        sendMouse(slider, QEvent::MouseButtonPress, {30, 5});
        QVERIFY(slider.dragging() && slider.focused());
        QCOMPARE(slider.position(), 1);
        QMouseEvent drag(QEvent::MouseMove, QPointF(90, 5), QPointF(slider.mapToGlobal(QPoint(90, 5))), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&slider, &drag);
        QCOMPARE(slider.position(), 4);
        sendMouse(slider, QEvent::MouseButtonRelease, {90, 5});
        QVERIFY(!slider.dragging());
        QApplication::sendEvent(&slider, &up);  // away from the user: one step down
        QCOMPARE(slider.position(), 3);
        QWheelEvent down(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                         Qt::NoScrollPhase, false);
        QApplication::sendEvent(&slider, &down);
        QCOMPARE(slider.position(), 4);
        QTRY_COMPARE(spy.count(), 5);  // press, drag, release, two wheel steps
        QCOMPARE(spy.at(2).at(1).toInt(), 4);

        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&slider, &leave);
        QVERIFY(!slider.focused());

        slider.SetEnabled(false);
        sendMouse(slider, QEvent::MouseButtonPress, {0, 5});
        QCOMPARE(slider.position(), 4);
    }

    void sliderPaintsItsFace() {
        CBitmapSlider slider;
        slider.resize(20, 6);
        slider.SetFace(solid(20, 6, qRgb(1, 2, 3)));
        QCOMPARE(slider.grab().toImage().pixel(10, 3), qRgb(1, 2, 3));
    }

    void colourButtonSwatch_data() {
        QTest::addColumn<bool>("hasColour");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QRgb>("swatch");
        QTest::newRow("current colour") << true << true << qRgb(10, 20, 30);
        QTest::newRow("none shows the automatic colour") << false << true << qRgb(200, 100, 50);
    }

    void colourButtonSwatch() {
        QFETCH(bool, hasColour);
        QFETCH(bool, enabled);
        QFETCH(QRgb, swatch);
        CSkinColorBtn button;
        button.resize(60, 22);
        button.SetAutomaticColor(0x3264C8);  // red 200, green 100, blue 50
        button.SetColor(hasColour ? std::optional<std::uint32_t>(0x1E140A) : std::nullopt);
        button.setEnabled(enabled);
        const QImage shot = button.grab().toImage();
        const QRect s = button.swatchRect();
        QCOMPARE(shot.pixel(s.center()), swatch);
        // The arrow box is grey with a black triangle pointing down.
        const QRect a = button.arrowRect();
        QCOMPARE(a.left(), 3 + 27 + 3 - 1);
        const int right = a.right() + 1, middle = 11;
        QCOMPARE(shot.pixel(a.left() + 2, a.top() + 2), qRgb(0x94, 0x92, 0x8B));
        QCOMPARE(shot.pixel(right - 8, middle - 1), qRgb(0, 0, 0));
    }

    void disabledColourButtonHasNoFill() {
        CSkinColorBtn button;
        button.resize(60, 22);
        button.SetColor(0x0000FF);
        button.setEnabled(false);
        QVERIFY(button.grab().toImage().pixel(button.swatchRect().center()) != qRgb(255, 0, 0));
    }

    void colourPalette() {
        CSkinColorBtn button;
        button.resize(60, 22);
        button.SetColor(0x00FF00);
        button.SetAutomaticColor(0x123456);
        QSignalSpy chosen(&button, &CSkinColorBtn::colorChosen);
        button.OpenPalette();
        QVERIFY(button.palette());
        QVERIFY(button.palette()->findChild<QObject*>("more"));
        button.palette()->chooseColour(0xFF0000);
        QCOMPARE(button.Color(), std::optional<std::uint32_t>(0xFF0000));
        button.OpenPalette();
        button.palette()->chooseAutomatic();
        QVERIFY(!button.Color());
        QCOMPARE(button.EffectiveColor(), 0x123456u);
        QCOMPARE(chosen.count(), 2);
        QCOMPARE(chosen.at(1).at(0).value<std::uint32_t>(), 0x123456u);
        QCOMPARE(CColorPopup::paletteColours().size(), std::size_t(40));
    }

    void colourLabel() {
        ColorStatic label;
        QCOMPARE(label.textColour(), 0xFFFFFFu);
        label.SetTextColor(0x0000FF);
        QCOMPARE(label.palette().color(QPalette::WindowText), QColor(255, 0, 0));
    }
};

QTEST_MAIN(SkinControlsTest)
#include "tst_skin_controls.moc"
