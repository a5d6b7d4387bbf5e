// The three editor dialogs: the key-assignment editor with its four tabs, the profile manager
// and the Magic-FN dialog.
#include "skin_output.h"

namespace skingen {

void addDialog(SkinOutput& out, const DialogSkin& skin, const QString& normal, const QString& over,
               const QString& down, const QString& disabled, const QString& maskName) {
    if (!skin.backgroundName().isEmpty()) out.pictures[skin.backgroundName()] = skin.render(Look::Normal, {}, true);
    out.pictures[normal] = skin.render(Look::Normal);
    out.pictures[over] = skin.render(Look::Over);
    out.pictures[down] = skin.render(Look::Down);
    if (!disabled.isEmpty()) out.pictures[disabled] = skin.render(Look::Disabled);
    if (!maskName.isEmpty()) out.pictures[maskName] = skin.mask();
    out.files[skin.iniName()] = QByteArray::fromStdString(skin.iniText());
}

namespace {

DialogSkin::Painter plainButton(bool primary = false) {
    return [primary](QPainter& p, const QRectF& r, Look look) { drawButton(p, r, look, primary); };
}

DialogSkin::Painter textButton(QString text, bool primary = false) {
    return [text, primary](QPainter& p, const QRectF& r, Look look) {
        drawButton(p, r, look, primary);
        drawFittedText(p, r, text, 13, look == Look::Disabled ? theme::faint : Qt::white, false);
    };
}

DialogSkin::Painter iconButton(QString symbol, bool danger = false) {
    return [symbol, danger](QPainter& p, const QRectF& r, Look look) {
        drawButton(p, r, look);
        drawIconButton(p, r, symbol, look == Look::Normal ? Look::Normal : look, danger);
    };
}

void paintFrame(QPainter& p, QSize size, const QString& title) {
    p.fillRect(QRect(QPoint(0, 0), size), theme::window);
    p.setPen(QPen(theme::cardLine, 1));
    p.setBrush(Qt::NoBrush);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), 14, 14);
    if (!title.isEmpty()) drawFittedText(p, QRectF(24, 14, 300, 30), title, 16, theme::text, true, Qt::AlignLeft | Qt::AlignVCenter);
}

// The key-assignment editor: which tab's content its background shows.
enum class Tab { Key, Macro, Media, Function };

DialogSkin compositeSkin(Tab tab, bool macroOnlyDimmed) {
    DialogSkin skin(QStringLiteral("Composite.ini"), QSize(720, 560));
    skin.setBackgroundName(QStringLiteral("composite_back.jpg"));
    skin.addValue("SCREEN", "Mask", "composite_mask.bmp");
    // Buttons that macro-only mode shows as unavailable, in every state.
    auto dimmable = [macroOnlyDimmed](DialogSkin::Painter paint) -> DialogSkin::Painter {
        if (!macroOnlyDimmed) return paint;
        return [paint](QPainter& p, const QRectF& r, Look) { paint(p, r, Look::Disabled); };
    };
    // A tab's own buttons appear only in the pictures of that tab, so the tab background never
    // shows another tab's buttons.
    auto onTab = [tab](Tab owner, DialogSkin::Painter paint) -> DialogSkin::Painter {
        const bool shown = tab == owner;
        if (!shown) return [](QPainter&, const QRectF&, Look) {};
        return paint;
    };
    skin.addImageButton("CONTROL_TITLE", QRect(20, 12, 300, 34), dimmable([](QPainter& p, const QRectF& r, Look look) {
        const QColor ink = look == Look::Disabled ? theme::faint : theme::accent;
        drawSymbol(p, QRectF(r.left() + 2, r.top() + 4, 30, 26), "keyboard", ink);
        drawFittedText(p, QRectF(r.left() + 40, r.top(), r.width() - 40, r.height()), QStringLiteral("Key assignment"), 16,
                       look == Look::Disabled ? theme::faint : theme::text, true, Qt::AlignLeft | Qt::AlignVCenter);
    }));
    const char* tabs[4] = {"CONTROL_KEY", "CONTROL_MACRO", "CONTROL_MEDIA", "CONTROL_FUNCTION"};
    for (int i = 0; i < 4; ++i) {
        auto paint = plainButton();
        skin.addImageButton(tabs[i], QRect(20 + 171 * i, 56, 167, 36), i == 1 ? paint : dimmable(paint));
    }
    skin.addImageButton("CONTROL_MASK", QRect(20, 100, 680, 384), [tab](QPainter& p, const QRectF& r, Look) {
        drawCard(p, r, 12);
        if (tab == Tab::Key) {
            drawWell(p, QRectF(r.left() + 18, r.top() + 48, 304, 44), 8);  // the captured key
        } else if (tab == Tab::Macro) {
            drawWell(p, QRectF(r.left() + 328, r.top() + 44, 284, 296), 8);  // the step list
        }
    });
    skin.addPlain("KEY_SETTING", QRect(40, 112, 640, 24));
    // Single key; Clear and the on-screen keyboard stay in the title bar on every tab.
    skin.addPlain("FUNC_KEY_INPUT", QRect(40, 150, 300, 40));
    skin.addImageButton("CONTROL_OSK", QRect(620, 12, 36, 34), dimmable(iconButton("keyboard")));
    skin.addImageButton("CONTROL_CLEAR", QRect(664, 12, 36, 34), dimmable(iconButton("clear")));
    skin.addPlain("TISHI_SINGLE_STATIC", QRect(40, 202, 640, 40));
    skin.addPlain("FUNC_KEY_RADIO_KB", QRect(40, 258, 20, 20));
    skin.addPlain("FUNC_KEY_RADIO_KB_STATIC", QRect(66, 258, 200, 20));
    skin.addPlain("FUNC_KEY_RADIO_MOU", QRect(40, 292, 20, 20));
    skin.addPlain("FUNC_KEY_RADIO_MOU_STATIC", QRect(66, 292, 200, 20));
    skin.addPlain("FUNC_KEY_COMBO_MOU", QRect(280, 288, 240, 28));
    // Multimedia and function keys.
    skin.addPlain("FUNC_MEDIA_SELECT", QRect(40, 150, 300, 28));
    skin.addPlain("MEDIA_SETTING_TISHI", QRect(40, 192, 640, 40));
    skin.addPlain("FUNC_FUNCTION_SELECT", QRect(40, 150, 300, 28));
    skin.addPlain("FUNCTION_KEY_SETTING_TISHI", QRect(40, 192, 640, 40));
    // Macros.
    skin.addPlain("MARCO_NAME_SETTING", QRect(40, 146, 220, 20));
    skin.addPlain("FUNC_MACRO_LIST", QRect(40, 168, 220, 28));
    skin.addImageButton("FUNC_MACRO_ADD", QRect(266, 168, 28, 28), onTab(Tab::Macro, iconButton("add")));
    skin.addImageButton("FUNC_MACRO_DELETE", QRect(298, 168, 28, 28), onTab(Tab::Macro, iconButton("trash", true)));
    skin.addPlain("FUNC_MACRO_CYCLES_PROMPT", QRect(40, 208, 220, 20));
    skin.addPlain("FUNC_MACRO_CYCLES", QRect(40, 230, 80, 26));
    skin.addPlain("FUNC_MACRO_RECORD_DELAY", QRect(40, 272, 20, 20));
    skin.addPlain("FUNC_MACRO_RECORD_DELAY2", QRect(66, 272, 260, 20));
    skin.addImageButton("FUNC_MACRO_RECORD", QRect(40, 308, 160, 38), onTab(Tab::Macro, [](QPainter& p, const QRectF& r, Look look) {
        drawButton(p, r, look);
        drawSymbol(p, QRectF(r.left() + 6, r.top(), r.height(), r.height()).adjusted(8, 8, -8, -8), "record",
                   theme::danger);
    }));
    skin.addPlain("FUNC_MACRO_LIST2", QRect(350, 146, 280, 290));
    const char* moves[4][2] = {{"FUNC_MACRO_UP_TOP", "top"}, {"FUNC_MACRO_UP", "up"}, {"FUNC_MACRO_DOWN", "down"},
                               {"FUNC_MACRO_DOWN_BOTTOM", "bottom"}};
    for (int i = 0; i < 4; ++i) skin.addImageButton(moves[i][0], QRect(640, 146 + 38 * i, 40, 32), onTab(Tab::Macro, iconButton(moves[i][1])));
    skin.addImageButton("FUNC_MACRO_DELETE2", QRect(640, 310, 40, 32), onTab(Tab::Macro, iconButton("delete", true)));
    skin.addImageButton("FUNC_MACRO_CLEAR", QRect(350, 442, 120, 30), onTab(Tab::Macro, plainButton()));
    // Apply, OK and Cancel.
    skin.addImageButton("CONTROL2_APPLY", QRect(400, 504, 96, 38), plainButton());
    skin.addImageButton("CONTROL_OK", QRect(504, 504, 96, 38), plainButton(true));
    skin.addImageButton("CONTROL_CANCEL", QRect(608, 504, 96, 38), plainButton());
    skin.setBackground([size = skin.size()](QPainter& p) { paintFrame(p, size, QString()); });
    return skin;
}

}  // namespace

void buildCompositeSkin(SkinOutput& out) {
    const std::pair<Tab, const char*> sets[] = {
        {Tab::Key, "key"}, {Tab::Macro, "macro"}, {Tab::Media, "media"}, {Tab::Function, "function"}};
    for (auto [tab, name] : sets) {
        const DialogSkin skin = compositeSkin(tab, false);
        const QString base = QString::fromLatin1(name);
        const bool withDisabled = tab == Tab::Macro;
        addDialog(out, skin, base + "_normal.jpg", base + "_over.jpg", base + "_down.jpg",
                  withDisabled ? base + "_disable.jpg" : QString(), tab == Tab::Key ? "composite_mask.bmp" : QString());
    }
    // The macro-only set: the other tabs, the title and Clear look unavailable in every state.
    const DialogSkin dimmed = compositeSkin(Tab::Macro, true);
    addDialog(out, dimmed, "macro2_normal.jpg", "macro2_over.jpg", "macro2_down.jpg", "macro2_disable.jpg", QString());
    // The background and the skin file are those of the single-key tab.
    const DialogSkin keyTab = compositeSkin(Tab::Key, false);
    out.pictures[keyTab.backgroundName()] = keyTab.render(Look::Normal, {}, true);
    out.files[QStringLiteral("Composite.ini")] = QByteArray::fromStdString(keyTab.iniText());
}

void buildProfileSkin(SkinOutput& out) {
    DialogSkin skin(QStringLiteral("Profile.ini"), QSize(600, 428));
    skin.setBackgroundName(QStringLiteral("profile_back.jpg"));
    skin.addValue("SCREEN", "Mask", "profile_mask.bmp");
    skin.addPlain("PROGRAM_LIST", QRect(20, 56, 560, 268));
    skin.addImageButton("FUNC_ADD", QRect(20, 336, 96, 34), textButton(QStringLiteral("Add")));
    skin.addImageButton("FUNC_LOAD", QRect(122, 336, 96, 34), textButton(QStringLiteral("Load")));
    skin.addImageButton("FUNC_DELETE", QRect(224, 336, 96, 34), textButton(QStringLiteral("Delete")));
    skin.addImageButton("CONTROL2_APPLY", QRect(276, 378, 96, 34), textButton(QStringLiteral("Apply")));
    skin.addImageButton("CONTROL_OK", QRect(380, 378, 96, 34), textButton(QStringLiteral("OK"), true));
    skin.addImageButton("CONTROL_CANCEL", QRect(484, 378, 96, 34), textButton(QStringLiteral("Cancel")));
    skin.setBackground([size = skin.size()](QPainter& p) {
        paintFrame(p, size, QStringLiteral("Profiles"));
        drawWell(p, QRectF(19, 55, 562, 270), 8);
    });
    // The pressed picture stands for the disabled look as well.
    addDialog(out, skin, "Profile_normal.jpg", "Profile_over.jpg", "Profile_down.jpg", QString(), "profile_mask.bmp");
}

void buildMagicFnSkin(SkinOutput& out) {
    DialogSkin skin(QStringLiteral("MagicFN.ini"), QSize(520, 340));
    skin.setBackgroundName(QStringLiteral("magicfn_back.jpg"));
    skin.addValue("SCREEN", "Mask", "magicfn_mask.bmp");
    skin.addPlain("CONTROL_MagicFNtext", QRect(24, 16, 472, 30));
    skin.addPlain("CONTROL_FN1pic", QRect(48, 92, 60, 30));
    skin.addPlain("CONTROL_FN1text", QRect(120, 96, 360, 24));
    skin.addPlain("CONTROL_FN2pic", QRect(48, 172, 60, 30));
    skin.addPlain("CONTROL_FN2text", QRect(120, 176, 360, 24));
    skin.addImageButton("CONTROL_OKButton", QRect(300, 282, 96, 36), plainButton(true));
    skin.addImageButton("CONTROL_CANCELButton", QRect(404, 282, 96, 36), plainButton());
    skin.setBackground([size = skin.size()](QPainter& p) {
        paintFrame(p, size, QString());
        drawCard(p, QRectF(24, 72, 472, 70), 10);
        drawCard(p, QRectF(24, 152, 472, 70), 10);
    });
    addDialog(out, skin, "FN_normal.jpg", "FN_over.jpg", "FN_down.jpg", "FN_disable.jpg", "magicfn_mask.bmp");
}

}  // namespace skingen
