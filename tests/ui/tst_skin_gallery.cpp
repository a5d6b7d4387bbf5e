// The generated default skin: every key and picture the windows ask for is there and fits, and
// each skinned dialog, built from its skin file with an image control at every placement, is
// saved as a screenshot (gallery_*.png in this build folder) for people to look at.
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <map>
#include <memory>

#include "model/key_table.h"
#include "skin_manifest.h"
#include "storage/skin_layout.h"
#include "ui/skin/keyboard_layout.h"
#include "ui/skin/base_dialog.h"
#include "ui/skin/bitmap_slider.h"
#include "ui/skin/color_static.h"
#include "ui/skin/png_button.h"
#include "ui/skin/skin_color_btn.h"
#include "ui/skin/skin_place.h"

using namespace tarnel;

namespace {

const QString kSkinDir = QStringLiteral(TARNEL_SKIN_DIR "/");

QImage picture(const QString& name) {
    QImage img;
    const SkinStatus s = LoadPicture(kSkinDir + name, img);
    if (!s.ok) qWarning("%s", qPrintable(s.error));
    return img;
}

bool endsWith(const std::string& s, const char* tail) {
    const std::string t(tail);
    return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

// Captions the windows take from the language file, in English, so the shots show real buttons.
const std::map<std::string, QString> kCaptions = {
    {"FUNC_PROFILE1", "Profile 1"}, {"FUNC_PROFILE2", "Profile 2"}, {"FUNC_PROFILE3", "Profile 3"},
    {"FUNC_PROFILES", "My profile"}, {"FUNC_MACRO", "Macros"}, {"FUNC_DEFAULT", "Default"},
    {"CONTROL_OK", "OK"}, {"CONTROL_CANCEL", "Cancel"}, {"CONTROL2_APPLY", "Apply"},
    {"CONTROL_KEY", "Single key"}, {"CONTROL_MACRO", "Macro"}, {"CONTROL_MEDIA", "Multimedia"},
    {"CONTROL_FUNCTION", "Function"}, {"FUNC_MACRO_RECORD", "Record"}, {"FUNC_MACRO_CLEAR", "Clear"},
    {"CONTROL_OKButton", "OK"}, {"CONTROL_CANCELButton", "Cancel"}, {"HALVOR_VER", "v1.0"},
};

// One dialog of the skin, with a stand-in for every control the window would create.
struct Gallery {
    std::unique_ptr<CBaseDialog> dialog;
    std::map<std::string, QWidget*> controls;

    Gallery(const skingen::DialogManifest& m, const QString& set) {
        const std::string ini = (kSkinDir + QString::fromStdString(m.ini)).toStdString();
        dialog = std::make_unique<CBaseDialog>(nullptr, QString::fromStdString(ini), kSkinDir);
        if (!dialog->prepare()) qFatal("%s", qPrintable(dialog->skinError()));
        const QImage normal = picture(set + "_normal.jpg"), over = picture(set + "_over.jpg"),
                     down = picture(set + "_down.jpg");
        const QImage disabled = QFile::exists(kSkinDir + set + "_disable.jpg") ? picture(set + "_disable.jpg") : down;
        for (const std::string& key : m.imageButtons) {
            auto* b = new CPngButton(dialog.get());
            PlaceImageButton(*b, ini, "BUTTONINFO", key, normal, over, down, disabled, over);
            if (auto it = kCaptions.find(key); it != kCaptions.end()) {
                b->setText(it->second);
                b->SetCaptionStyle(true, key == "HALVOR_VER" ? 8 : 10, "Arial Unicode MS", 0xFFFFFF, 0xFFFFFF,
                                   0xFFFFFF, 0x7F7F7F, 0xFFFFFF, key == "FUNC_PROFILES" ? 40 : 37);
                if (key == "FUNC_PROFILES") b->SetCaptionOffsets(12, 0, 0, -7);
            }
            controls[key] = b;
        }
        const QImage arrows = picture("Arrow.jpg");
        for (const auto& [key, origin] : m.arrows) {
            if (controls.count(key)) continue;
            auto* b = new CPngButton(dialog.get());
            PlaceImageButtonAt(*b, ini, "BUTTONINFO", key, "BUTTONINFO2", origin, arrows);
            controls[key] = b;
        }
        for (const std::string& key : m.plain) {
            if (endsWith(key, "2") && key.find("BLFX") != std::string::npos) continue;  // moved copies
            if (endsWith(key, "3")) continue;
            QWidget* w = standIn(key);
            PlaceControl(*w, ini, "BUTTONINFO", key);
            controls[key] = w;
        }
    }

    QWidget* standIn(const std::string& key) {
        QWidget* parent = dialog.get();
        auto pictureLabel = [&](const char* name) {
            auto* l = new QLabel(parent);
            l->setPixmap(QPixmap::fromImage(picture(name)));
            return l;
        };
        if (endsWith(key, "Slider")) {
            auto* s = new CBitmapSlider(parent);
            s->SetFace(picture(key.find("Light") != std::string::npos ? "25.bmp" : "12.bmp"));
            return s;
        }
        if (endsWith(key, "Button")) {
            auto* c = new CSkinColorBtn(parent);
            c->SetColor(0x00A0FF);
            return c;
        }
        if (key == "CONTROL_DengStaPic") return pictureLabel("dengdown.bmp");
        if (key == "CONTROL_BLFXLStaPic") return pictureLabel("leftdown.bmp");
        if (key == "CONTROL_BLFXRStaPic") return pictureLabel("rightup.bmp");
        if (key == "CONTROL_FYSJSStaPic" || key == "CONTROL_HXsjsStaPic" || key == "CONTROL_FN1pic") return pictureLabel("sjsdown.bmp");
        if (key == "CONTROL_FN2pic") return pictureLabel("sjsup.bmp");
        if (key == "CONTROL_Add" || key == "CONTROL_Add2") return pictureLabel("add.bmp");
        if (key == "CONTROL_Sub" || key == "CONTROL_Sub2") return pictureLabel("sub.bmp");
        if (key == "CONTROL_HONGPIC") return pictureLabel("hongok.bmp");
        if (key == "CONTROL_HUANGPIC") return pictureLabel("huang.bmp");
        if (key == "CONTROL_LVPIC") return pictureLabel("lv.bmp");
        if (key == "CONTROL_LANPIC") return pictureLabel("lan.bmp");
        if (key == "CONTROL_USERgjStaPic1") return pictureLabel("user1down.bmp");
        if (key == "CONTROL_USERgjStaPic2") return pictureLabel("user2up.bmp");
        if (key == "CONTROL_JDTStatic") return pictureLabel("jdt3.bmp");
        if (key.find("_RADIO_") != std::string::npos && !endsWith(key, "_STATIC")) return new QCheckBox(parent);
        if (key == "FUNC_MACRO_RECORD_DELAY") return new QCheckBox(parent);
        if (key == "CONTROL_Network" || key == "CONTROL_Facebook" || key == "CONTROL_twitter") {
            auto* b = new QPushButton(parent);
            b->setFlat(true);
            return b;
        }
        if (key.find("combo") != std::string::npos || key.find("Combo") != std::string::npos ||
            endsWith(key, "_SELECT") || key == "FUNC_MACRO_LIST" || key == "FUNC_KEY_COMBO_MOU") {
            auto* c = new QComboBox(parent);
            c->addItem(QString::fromStdString(key));
            return c;
        }
        if (key == "PROGRAM_LIST" || key == "FUNC_MACRO_LIST2") {
            auto* l = new QListWidget(parent);
            l->addItems({"$Profile0", "$Profile1", "$Profile2"});
            return l;
        }
        auto* label = new ColorStatic(parent);
        QString text = QString::fromStdString(key);
        text.remove("CONTROL_");
        label->setText(text);
        return label;
    }

    void save(const QString& name) {
        dialog->show();
        const QImage shot = dialog->grab().toImage();
        QVERIFY(shot.save(QStringLiteral(TARNEL_SHOT_DIR "/gallery_%1.png").arg(name)));
    }
};

// The lighting panel as it is for one effect: only that effect's controls are shown.
void showLightingFor(Gallery& g, const std::vector<std::string>& groups) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> owned = {
        {"direction", {"CONTROL_BLFXStatic", "CONTROL_BLFXLStaPic", "CONTROL_BLFXRStaPic"}},
        {"groupA", {"CONTROL_FYYSStatic", "CONTROL_FYYSButton", "CONTROL_FYSJSStatic", "CONTROL_FYSJSStaPic"}},
        {"groupB", {"CONTROL_HXysStatic", "CONTROL_HXysButton", "CONTROL_HXsjsStatic", "CONTROL_HXsjsStaPic"}},
        {"choice", {"CONTROL_HONGPIC", "CONTROL_HUANGPIC", "CONTROL_LVPIC", "CONTROL_LANPIC"}},
        {"user", {"CONTROL_USERysStatic", "CONTROL_USERysButton", "CONTROL_USERjsStatic", "CONTROL_USERjsButton",
                  "CONTROL_USERgjStatic", "CONTROL_USERgjStaPic1", "CONTROL_USERgjStaPic2", "CONTROL_umCombo"}},
    };
    for (const auto& [group, keys] : owned) {
        const bool shown = std::find(groups.begin(), groups.end(), group) != groups.end();
        for (const std::string& key : keys) g.controls.at(key)->setVisible(shown);
    }
}

skingen::DialogManifest manifestOf(const std::string& ini) {
    for (auto& m : skingen::SkinManifest())
        if (m.ini == ini) return m;
    qFatal("no manifest for %s", ini.c_str());
}

}  // namespace

class SkinGalleryTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // A dark palette like the program's, so the stand-in widgets sit on the skin as they will.
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(0x1A, 0x1D, 0x24));
        dark.setColor(QPalette::Base, QColor(0x15, 0x17, 0x1D));
        dark.setColor(QPalette::Button, QColor(0x29, 0x2E, 0x37));
        dark.setColor(QPalette::Mid, QColor(0x3B, 0x41, 0x4C));
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) dark.setColor(role, QColor(0xE8, 0xEB, 0xF0));
        dark.setColor(QPalette::Highlight, QColor(0x23, 0x6C, 0xB8));
        QApplication::setPalette(dark);
    }

    void generatedSkinIsComplete() {
        const auto faults = skingen::CheckSkin(kSkinDir.toStdString());
        std::string all;
        for (const auto& f : faults) all += f + "\n";
        QVERIFY2(faults.empty(), all.c_str());
    }

    void keyGridHoldsEveryKeyButtonOnce() {
        std::map<int, int> seen;
        for (int row = 0; row < kKeyGridRows; ++row)
            for (int column = 0; column < kKeyGridCols; ++column)
                if (int id = keyGridControl(row, column)) ++seen[id];
        QCOMPARE(seen.size(), std::size_t(kKeyButtonCount));
        for (const KeyButton& b : keyButtons()) QCOMPARE(seen[b.controlId], 1);
        // Columns follow the keys' places: A under Q's neighbour, the keypad on the right.
        QCOMPARE(keyGridControl(3, 2), 1058);   // A
        QCOMPARE(keyGridControl(5, 19), 1120);  // Num 0
        QCOMPARE(keyGridControl(0, 6), 0);      // the gap between F4 and F5
        QCOMPARE(keyGridControl(6, 0), 0);
        QCOMPARE(keyGridControl(0, kKeyGridCols), 0);
        QCOMPARE(keyGridControl(-1, 0), 0);
        QCOMPARE(keyboardLayout().size(), std::size_t(kKeyButtonCount + kGKeyCount + 1));
    }

    void everyStateLooksDifferent() {
        // Hover, pressed and disabled must be told apart from normal at a glance: over a key's
        // face, a good share of its pixels differ clearly.
        const std::string ini = (kSkinDir + "Main.ini").toStdString();
        const QImage normal = picture("main_normal.jpg");
        for (const char* state : {"main_over.jpg", "main_down.jpg", "main_disable.jpg"}) {
            const QImage other = picture(state);
            for (const std::string& key : manifestOf("Main.ini").keyButtons) {
                const SkinRect r = ReadPlacement(ini, "BUTTONINFO", key);
                int differing = 0;
                for (int y = r.y - 1; y < r.y - 1 + r.h; ++y)
                    for (int x = r.x - 1; x < r.x - 1 + r.w; ++x) {
                        const QRgb a = normal.pixel(x, y), b = other.pixel(x, y);
                        if (std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) > 24)
                            ++differing;
                    }
                QVERIFY2(differing * 4 > r.w * r.h, (key + " in " + state).c_str());
            }
        }
    }

    void missingOrBrokenPictureIsNamed_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("state picture") << "main_over.jpg";
        QTest::newRow("panel picture") << "sjsdown.bmp";
        QTest::newRow("background") << "FN_normal.jpg";
    }

    void missingOrBrokenPictureIsNamed() {
        QFETCH(QString, file);
        QTemporaryDir copy;
        for (const QString& name : QDir(kSkinDir).entryList(QDir::Files))
            QVERIFY(QFile::copy(kSkinDir + name, copy.filePath(name)));
        for (bool broken : {false, true}) {
            QFile::remove(copy.filePath(file));
            if (broken) {
                QFile junk(copy.filePath(file));
                QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("not a picture") > 0);
            }
            const auto faults = skingen::CheckSkin(copy.path().toStdString() + "/");
            QVERIFY(!faults.empty());
            bool named = false;
            for (const auto& f : faults) named = named || QString::fromStdString(f).contains(file);
            QVERIFY(named);
        }
    }

    void generatorRefusesADamagedSkin() {
        // The check the build runs: a missing picture ends it with a message naming the file.
        QTemporaryDir copy;
        for (const QString& name : QDir(kSkinDir).entryList(QDir::Files))
            QVERIFY(QFile::copy(kSkinDir + name, copy.filePath(name)));
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("ASAN_OPTIONS", "detect_leaks=0");  // the font library's caches outlive the program
        run.setProcessEnvironment(env);
        run.start(QStringLiteral(TARNEL_SKINGEN), {"--check", copy.path()});
        QVERIFY(run.waitForFinished(30000));
        QCOMPARE(run.exitCode(), 0);
        QVERIFY(QFile::remove(copy.filePath("jdt7.bmp")));
        run.start(QStringLiteral(TARNEL_SKINGEN), {"--check", copy.path()});
        QVERIFY(run.waitForFinished(30000));
        QVERIFY(run.exitCode() != 0);
        QVERIFY(QString::fromLocal8Bit(run.readAllStandardError()).contains("jdt7.bmp"));
    }

    void mainWindowShots() {
        Gallery g(manifestOf("Main.ini"), "main");
        showLightingFor(g, {"direction", "groupB"});  // a wave effect
        g.save("main");
        auto* a = static_cast<CPngButton*>(g.controls.at("KEY_01E"));
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(a->mapToGlobal(QPoint(5, 5))), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(a, &move);
        QVERIFY(a->hovering());
        static_cast<CPngButton*>(g.controls.at("KEY_01F"))->setDown(true);
        g.controls.at("KEY_020")->setEnabled(false);
        static_cast<CPngButton*>(g.controls.at("FUNC_PROFILE1"))->setDown(true);
        static_cast<CPngButton*>(g.controls.at("FUNC_REPORT1"))->setDown(true);
        static_cast<CPngButton*>(g.controls.at("LOCK_NUM"))->setDown(true);
        for (int i = 1; i <= 6; ++i) g.controls.at("KEY_D" + std::to_string(i))->setEnabled(false);
        showLightingFor(g, {"user"});  // the user colour mode
        g.save("main_states");
    }

    void editorShots() {
        for (const char* set : {"key", "macro", "media", "function"}) {
            Gallery g(manifestOf("Composite.ini"), set);
            // Each tab shows its own background set and only its own controls.
            const QImage tab = picture(QString(set) + "_normal.jpg");
            auto* mask = static_cast<CPngButton*>(g.controls.at("CONTROL_MASK"));
            mask->SetStateImages(tab, tab, tab, tab, tab, false);
            const std::string pressedTab = std::string(set) == "key" ? "CONTROL_KEY"
                                           : std::string(set) == "macro" ? "CONTROL_MACRO"
                                           : std::string(set) == "media" ? "CONTROL_MEDIA" : "CONTROL_FUNCTION";
            static_cast<CPngButton*>(g.controls.at(pressedTab))->setDown(true);
            const bool macro = std::string(set) == "macro";
            for (auto& [key, w] : g.controls) {
                const bool macroControl = key.rfind("FUNC_MACRO", 0) == 0 || key == "MARCO_NAME_SETTING";
                const bool keyControl = key.rfind("FUNC_KEY", 0) == 0 || key == "TISHI_SINGLE_STATIC";
                const bool mediaControl = key == "FUNC_MEDIA_SELECT" || key == "MEDIA_SETTING_TISHI";
                const bool functionControl = key == "FUNC_FUNCTION_SELECT" || key == "FUNCTION_KEY_SETTING_TISHI";
                w->setVisible((!macroControl || macro) && (!keyControl || std::string(set) == "key") &&
                              (!mediaControl || std::string(set) == "media") &&
                              (!functionControl || std::string(set) == "function"));
            }
            g.save(QStringLiteral("editor_%1").arg(set));
        }
    }

    void pictureSheet() {
        // Every small picture of the skin on one sheet, with its name.
        const auto names = skingen::OtherPictures();
        const int columns = 6, cellW = 200, cellH = 90;
        QImage sheet(columns * cellW, int((names.size() + columns - 1) / columns) * cellH, QImage::Format_RGB32);
        sheet.fill(QColor(0x12, 0x14, 0x19));
        QPainter p(&sheet);
        p.setPen(QColor(0x8A, 0x93, 0xA3));
        for (std::size_t i = 0; i < names.size(); ++i) {
            const QPoint at(int(i % columns) * cellW + 8, int(i / columns) * cellH + 8);
            QImage img = picture(QString::fromStdString(names[i]));
            QVERIFY(!img.isNull());
            if (img.width() > cellW - 16 || img.height() > cellH - 28)
                img = img.scaled(cellW - 16, cellH - 28, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            p.drawImage(at, img);
            p.drawText(at + QPoint(0, cellH - 14), QString::fromStdString(names[i]));
        }
        p.end();
        QVERIFY(sheet.save(TARNEL_SHOT_DIR "/gallery_pictures.png"));
    }

    void profileAndMagicFnShots() {
        Gallery profile(manifestOf("Profile.ini"), "Profile");
        profile.save("profile");
        Gallery magic(manifestOf("MagicFN.ini"), "FN");
        magic.save("magicfn");
    }
};

QTEST_MAIN(SkinGalleryTest)
#include "tst_skin_gallery.moc"
