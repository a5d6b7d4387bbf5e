// The main window: the keyboard picture with every key button, the profile and tool buttons on
// the left, the window buttons on top and the lighting panel below the keyboard.
#include <QPainterPath>

#include "model/key_table.h"
#include "skin_output.h"
#include "ui/skin/keyboard_layout.h"

namespace skingen {
namespace {

constexpr int kWidth = 1280, kHeight = 720;
constexpr int kUnit = 42;           // one key, in pixels
constexpr int kKeysLeft = 272;      // the keyboard's left edge
constexpr int kStripTop = 86;       // the G-key strip
constexpr int kStripHeight = 32;
constexpr int kFunctionTop = 132;   // the function row
constexpr int kRowsTop = 184;       // the number row; the rows below follow every kUnit

int rowTop(int row) { return row < 0 ? kStripTop : row == 0 ? kFunctionTop : kRowsTop + (row - 1) * kUnit; }
int columnX(int x4) { return kKeysLeft + (x4 * kUnit + 2) / 4; }

QRect keyRect(int row, int x4, int w4, int rows) {
    const int top = rowTop(row);
    const int height = row < 0 ? kStripHeight : rows * kUnit;
    return QRect(QPoint(columnX(x4) + 2, top + 2), QPoint(columnX(x4 + w4) - 3, top + height - 3));
}

DialogSkin::Painter key(QString legend, bool special = false) {
    return [legend, special](QPainter& p, const QRectF& r, Look look) { drawKeyCap(p, r, legend, look, special); };
}

DialogSkin::Painter button(bool primary = false) {
    return [primary](QPainter& p, const QRectF& r, Look look) { drawButton(p, r, look, primary); };
}

DialogSkin::Painter labelledButton(QString text, QString symbol = {}) {
    return [text, symbol](QPainter& p, const QRectF& r, Look look) {
        drawButton(p, r, look);
        const QColor ink = look == Look::Disabled ? theme::faint : look == Look::Normal ? theme::text : Qt::white;
        QRectF textBox = r;
        if (!symbol.isEmpty()) {
            drawSymbol(p, QRectF(r.left() + 8, r.top(), r.height(), r.height()).adjusted(4, 6, -4, -6), symbol, ink);
            textBox.setLeft(r.left() + r.height() + 4);
            drawFittedText(p, textBox, text, 13, ink, false, Qt::AlignLeft | Qt::AlignVCenter);
        } else {
            drawFittedText(p, textBox, text, 13, ink);
        }
    };
}

DialogSkin::Painter icon(QString symbol, bool danger = false) {
    return [symbol, danger](QPainter& p, const QRectF& r, Look look) { drawIconButton(p, r, symbol, look, danger); };
}

DialogSkin::Painter lockLight(QString label) {
    return [label](QPainter& p, const QRectF& r, Look look) {
        const bool lit = look == Look::Down;
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(lit ? theme::good : look == Look::Disabled ? QColor(0x22, 0x25, 0x2B) : QColor(0x33, 0x38, 0x42));
        p.drawEllipse(QPointF(r.center().x(), r.top() + 10), 4.5, 4.5);
        drawFittedText(p, QRectF(r.left(), r.top() + 18, r.width(), r.height() - 18), label, 9,
                       look == Look::Disabled ? theme::faint : theme::muted, true);
    };
}

// The report-rate choice: a segment with its number; the chosen one is shown pressed.
DialogSkin::Painter segment(QString label) {
    return [label](QPainter& p, const QRectF& r, Look look) {
        drawButton(p, r, look);
        drawFittedText(p, r, label, 13, look == Look::Disabled ? theme::faint : look == Look::Normal ? theme::muted : Qt::white, true);
    };
}

DialogSkin::Painter brand() {
    return [](QPainter& p, const QRectF& r, Look look) {
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF mark(r.left() + 4, r.top() + 5, r.height() - 10, r.height() - 10);
        p.setPen(Qt::NoPen);
        p.setBrush(look == Look::Over || look == Look::Down ? theme::accent : theme::accentDeep);
        p.drawRoundedRect(mark, 6, 6);
        p.setBrush(theme::window);
        p.drawRoundedRect(mark.adjusted(6, 6, -6, -6), 2, 2);
        QFont f = uiFont(19, true);
        f.setLetterSpacing(QFont::AbsoluteSpacing, 3);
        p.setFont(f);
        p.setPen(look == Look::Over ? Qt::white : theme::text);
        p.drawText(QRectF(mark.right() + 10, r.top(), r.width(), r.height()), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("TARNEL"));
    };
}

DialogSkin::Painter nothing() {
    return [](QPainter&, const QRectF&, Look) {};
}

// The arrows beside the flip buttons: one picture holding both arrows, released and pressed,
// in two animation frames.
QImage arrowSheet(QSize cell, DialogSkin& skin) {
    QImage sheet(4 * cell.width() + 2, 2 * cell.height() + 2, QImage::Format_RGB32);
    sheet.fill(QColor(0x1C, 0x20, 0x28));  // the keyboard plate behind the arrows
    QPainter p(&sheet);
    const char* words[4] = {"UP_ARROW_LEFT", "DOWN_ARROW_LEFT", "UP_ARROW_RIGHT", "DOWN_ARROW_RIGHT"};
    for (int column = 0; column < 4; ++column)
        for (int frame = 1; frame <= 2; ++frame) {
            const QRectF r(1 + column * cell.width(), 1 + (frame - 1) * cell.height(), cell.width(), cell.height());
            const bool pressed = column % 2 == 1;
            const bool left = column < 2;
            const QColor ink = pressed ? theme::accent : frame == 1 ? theme::faint : theme::muted;
            const double shift = (frame == 2 ? 2 : 0) * (left ? -1 : 1);
            drawSymbol(p, r.translated(shift, 0).adjusted(1, 4, -1, -4), left ? "left" : "right", ink);
            // The face is cut one pixel up and left of the origin: the origin is the cell + (1, 1).
            skin.addValue("BUTTONINFO2", std::string(words[column]) + std::to_string(frame),
                          std::to_string(int(r.left()) + 1) + "," + std::to_string(int(r.top()) + 1) + ",0,0");
        }
    return sheet;
}

void placeKeys(DialogSkin& skin) {
    for (const tarnel::KeyCap& k : tarnel::keyboardLayout()) {
        const std::string name = tarnel::skinNameOfControl(k.controlId);
        const bool special = k.row < 0 || k.controlId == tarnel::kFnControl;
        skin.addImageButton(name, keyRect(k.row, k.x4, k.w4, k.rows), key(QString::fromUtf8(k.legend), special));
    }
    // The six extra keys that take the place of F1-F4 when the top row is flipped, over the
    // navigation block and the keypad.
    const int x4[6] = {61, 65, 69, 74, 78, 82};
    for (int i = 0; i < 6; ++i)
        skin.addImageButton("KEY_D" + std::to_string(i + 1), keyRect(-1, x4[i], 4, 1),
                            key(QStringLiteral("D%1").arg(i + 1), true));
    // The lock lights sit in the empty corner above the keypad.
    const char* locks[4][2] = {{"LOCK_CAPS", "CAPS"}, {"LOCK_NUM", "NUM"}, {"LOCK_SCROLL", "SCRL"}, {"LOCK_AB", "A/B"}};
    for (int i = 0; i < 4; ++i)
        skin.addImageButton(locks[i][0], keyRect(0, 74 + 4 * i, 4, 1), lockLight(locks[i][1]));
    // Flip: its two buttons, the state between them and the arrows that point at the flipped keys.
    skin.addImageButton("FLIP_1", keyRect(-1, 38, 4, 1), icon("left"));
    skin.addImageButton("FLIP_0", keyRect(-1, 44, 10, 1), [](QPainter& p, const QRectF& r, Look look) {
        drawWell(p, r);
        const QColor ink = look == Look::Disabled ? theme::faint : theme::muted;
        drawFittedText(p, r, QStringLiteral("F1\u2013F4  \u21C4  D1\u2013D6"), 11, ink, true);
    });
    skin.addImageButton("FLIP_2", keyRect(-1, 56, 4, 1), icon("right"));
}

void placeSidebar(DialogSkin& skin) {
    for (int i = 0; i < 3; ++i)
        skin.addImageButton("FUNC_PROFILE" + std::to_string(i + 1), QRect(20, 104 + 44 * i, 190, 36), button());
    // The profile manager's button shows the active profile's name at its bottom left; the
    // picture carries a small heading above it and a chevron.
    skin.addImageButton("FUNC_PROFILES", QRect(20, 240, 190, 52), [](QPainter& p, const QRectF& r, Look look) {
        drawButton(p, r, look);
        QFont f = uiFont(9, true);
        f.setLetterSpacing(QFont::AbsoluteSpacing, 1);
        p.setFont(f);
        p.setPen(look == Look::Disabled ? theme::faint : look == Look::Normal ? theme::muted : Qt::white);
        p.drawText(QRectF(r.left() + 12, r.top() + 6, r.width() - 40, 14), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("ACTIVE PROFILE"));
        drawSymbol(p, QRectF(r.right() - 30, r.top() + 14, 24, 24), "right",
                   look == Look::Disabled ? theme::faint : theme::muted);
    });
    skin.addImageButton("FUNC_MACRO", QRect(20, 328, 190, 36), button());
    skin.addImageButton("FUNC_MAGICFN", QRect(20, 372, 190, 36), labelledButton(QStringLiteral("Magic FN"), "keyboard"));
    skin.addImageButton("FUNC_DEFAULT", QRect(20, 416, 190, 36), button());
    skin.addPlain("CONTROL_UsbStatic", QRect(20, 470, 190, 20));
    for (int i = 0; i < 4; ++i)
        skin.addImageButton("FUNC_REPORT" + std::to_string(i + 1), QRect(20 + 48 * i, 494, 46, 32),
                            segment(QString::number(i + 1)));
    skin.addPlain("CONTROL_Network", QRect(20, 672, 30, 30));
    skin.addPlain("CONTROL_Facebook", QRect(56, 672, 30, 30));
    skin.addPlain("CONTROL_twitter", QRect(92, 672, 30, 30));
}

void placeTopBar(DialogSkin& skin) {
    skin.addImageButton("HALVOR_LINK", QRect(18, 14, 160, 40), brand());
    skin.addImageButton("HALVOR_VER", QRect(184, 26, 150, 18), nothing());
    const char* names[4][2] = {{"CONTROL_MENU", "menu"}, {"CONTROL_HELP", "help"}, {"CONTROL_MINIMIZE", "minimise"},
                               {"CONTROL_CLOSE", "close"}};
    for (int i = 0; i < 4; ++i)
        skin.addImageButton(names[i][0], QRect(1106 + 38 * i, 16, 34, 30), icon(names[i][1], i == 3));
}

void placeLightingPanel(DialogSkin& skin) {
    skin.addPlain("CONTROL_DengStaPic", QRect(248, 444, 60, 30));
    skin.addPlain("CONTROL_DengStatic", QRect(318, 448, 300, 22));
    skin.addPlain("CONTROL_RGBStatic", QRect(1180, 448, 62, 22));
    skin.addPlain("CONTROL_XGcombox", QRect(248, 490, 240, 30));
    skin.addPlain("CONTROL_LightStatic", QRect(248, 530, 160, 20));
    skin.addPlain("CONTROL_Sub", QRect(248, 555, 22, 22));
    skin.addPlain("CONTROL_LightSlider", QRect(276, 554, 184, 24));
    skin.addPlain("CONTROL_Add", QRect(466, 555, 22, 22));
    skin.addPlain("CONTROL_SpeedStatic", QRect(248, 586, 160, 20));
    skin.addPlain("CONTROL_Sub2", QRect(248, 611, 22, 22));
    skin.addPlain("CONTROL_SpeedSlider", QRect(276, 610, 184, 24));
    skin.addPlain("CONTROL_Add2", QRect(466, 611, 22, 22));
    for (const char* suffix : {"", "2", "3"}) {
        skin.addPlain(std::string("CONTROL_BLFXStatic") + suffix, QRect(520, 490, 160, 20));
        skin.addPlain(std::string("CONTROL_BLFXLStaPic") + suffix, QRect(520, 516, 52, 36));
    }
    skin.addPlain("CONTROL_BLFXRStaPic", QRect(580, 516, 52, 36));
    skin.addPlain("CONTROL_BLFXRStaPic2", QRect(580, 516, 52, 36));
    // The colour groups share one place: no effect shows two of them.
    for (const char* group : {"FYYS", "HXys", "USERys"}) {
        skin.addPlain(std::string("CONTROL_") + group + "Static", QRect(700, 490, 140, 20));
        skin.addPlain(std::string("CONTROL_") + group + "Button", QRect(700, 516, 84, 30));
    }
    skin.addPlain("CONTROL_FYSJSStatic", QRect(860, 490, 160, 20));
    skin.addPlain("CONTROL_FYSJSStaPic", QRect(860, 516, 60, 30));
    skin.addPlain("CONTROL_HXsjsStatic", QRect(860, 490, 160, 20));
    skin.addPlain("CONTROL_HXsjsStaPic", QRect(860, 516, 60, 30));
    const char* choices[4] = {"CONTROL_HONGPIC", "CONTROL_HUANGPIC", "CONTROL_LVPIC", "CONTROL_LANPIC"};
    for (int i = 0; i < 4; ++i) skin.addPlain(choices[i], QRect(700 + 42 * i, 514, 34, 34));
    skin.addPlain("CONTROL_USERjsStatic", QRect(860, 490, 140, 20));
    skin.addPlain("CONTROL_USERjsButton", QRect(860, 516, 84, 30));
    skin.addPlain("CONTROL_USERgjStatic", QRect(1010, 490, 140, 20));
    skin.addPlain("CONTROL_USERgjStaPic1", QRect(1010, 514, 44, 34));
    skin.addPlain("CONTROL_USERgjStaPic2", QRect(1060, 514, 44, 34));
    skin.addPlain("CONTROL_umCombo", QRect(700, 572, 244, 30));
}

void placeActions(DialogSkin& skin) {
    skin.addPlain("CONTROL_JDTStatic", QRect(876, 664, 24, 24));
    skin.addImageButton("CONTROL2_APPLY", QRect(914, 656, 110, 40), button());
    skin.addImageButton("CONTROL_OK", QRect(1032, 656, 110, 40), button(true));
    skin.addImageButton("CONTROL_CANCEL", QRect(1150, 656, 110, 40), button());
}

void paintBackground(QPainter& p, const DialogSkin& skin) {
    p.fillRect(QRect(QPoint(0, 0), skin.size()), theme::window);
    // A hairline under the title bar, the keyboard's case and the lighting panel.
    p.setPen(QColor(0x20, 0x23, 0x2A));
    p.drawLine(18, 62, kWidth - 18, 62);
    QRectF keyboard(228, 72, 1034, 342);
    QLinearGradient plate(keyboard.topLeft(), keyboard.bottomLeft());
    plate.setColorAt(0, QColor(0x1D, 0x21, 0x29));
    plate.setColorAt(1, QColor(0x17, 0x1A, 0x20));
    p.setPen(QPen(theme::cardLine, 1));
    p.setBrush(plate);
    p.drawRoundedRect(keyboard.adjusted(0.5, 0.5, -0.5, -0.5), 16, 16);
    // The key well under the main block, the navigation block and the keypad.
    for (auto [x1, x2] : {std::pair{0, 60}, std::pair{61, 73}, std::pair{74, 90}}) {
        const QRect first = keyRect(0, x1, x2 - x1, 1), last = keyRect(5, x1, x2 - x1, 1);
        drawWell(p, QRectF(first.topLeft() - QPoint(6, 6), last.bottomRight() + QPoint(7, 7)), 8);
    }
    drawCard(p, QRectF(228, 426, 1034, 218), 14);
    p.setPen(theme::cardLine);
    p.drawLine(QPointF(504.5, 488), QPointF(504.5, 632));
    p.drawLine(QPointF(684.5, 488), QPointF(684.5, 632));
    drawHeading(p, QPointF(24, 94), QStringLiteral("PROFILES"));
    drawHeading(p, QPointF(24, 318), QStringLiteral("TOOLS"));
    const char* symbols[3][2] = {{"CONTROL_Network", "globe"}, {"CONTROL_Facebook", "people"}, {"CONTROL_twitter", "chat"}};
    for (auto& s : symbols) drawSymbol(p, QRectF(skin.rect(s[0])).adjusted(4, 4, -4, -4), s[1], theme::muted);
}

}  // namespace

void buildMainSkin(SkinOutput& out) {
    DialogSkin skin(QStringLiteral("Main.ini"), QSize(kWidth, kHeight));
    skin.setBackgroundName(QStringLiteral("main_back.jpg"));
    skin.addValue("SCREEN", "Mask", "main_mask.bmp");
    skin.addValue("SCREEN", "Link", kWebLink);
    placeTopBar(skin);
    placeKeys(skin);
    placeSidebar(skin);
    placeLightingPanel(skin);
    placeActions(skin);
    const QRect arrowLeft = keyRect(-1, 42, 2, 1), arrowRight = keyRect(-1, 54, 2, 1);
    skin.addPlain("LEFT_ARROW", arrowLeft);
    skin.addPlain("RIGHT_ARROW", arrowRight);
    out.pictures[QStringLiteral("Arrow.jpg")] = arrowSheet(arrowLeft.size(), skin);
    skin.setBackground([&skin](QPainter& p) { paintBackground(p, skin); });
    addDialog(out, skin, "main_normal.jpg", "main_over.jpg", "main_down.jpg", "main_disable.jpg", "main_mask.bmp");
    // The two colour pictures: the keyboard as the lighting view shows it, dimmed and lit.
    QImage dim = skin.render(Look::Normal, [](QPainter& p) { p.fillRect(p.window(), QColor(0, 0, 0, 110)); });
    out.pictures[QStringLiteral("main_color0.jpg")] = dim;
    out.pictures[QStringLiteral("main_color1.jpg")] = skin.render(Look::Over);
}

}  // namespace skingen
