#include "skin_manifest.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <optional>

#include "model/key_table.h"
#include "storage/ini_file.h"
#include "storage/skin_layout.h"
#include "ui/skin/base_dialog.h"

namespace skingen {
namespace {

std::vector<std::string> numbered(const std::string& prefix, int from, int to, const std::string& suffix = {}) {
    std::vector<std::string> keys;
    for (int i = from; i <= to; ++i) keys.push_back(prefix + std::to_string(i) + suffix);
    return keys;
}

void append(std::vector<std::string>& to, const std::vector<std::string>& more) { to.insert(to.end(), more.begin(), more.end()); }

DialogManifest mainManifest() {
    DialogManifest m;
    m.ini = "Main.ini";
    for (const tarnel::KeyButton& b : tarnel::keyButtons()) m.keyButtons.push_back(tarnel::keySkinName(b.keyId));
    append(m.keyButtons, numbered("FUNC_G", 1, 9));
    m.keyButtons.push_back(std::string(tarnel::kFnSkinName));
    append(m.keyButtons, numbered("KEY_D", 1, 6));  // the flipped top row, 1016..1021
    m.imageButtons = m.keyButtons;
    append(m.imageButtons, {"HALVOR_LINK", "HALVOR_VER", "FUNC_PROFILES", "FUNC_MACRO", "CONTROL_OK", "CONTROL_CANCEL",
                            "CONTROL_HELP", "CONTROL_CLOSE", "CONTROL_MINIMIZE", "CONTROL_MENU", "CONTROL2_APPLY",
                            "LOCK_CAPS", "LOCK_NUM", "LOCK_SCROLL", "LOCK_AB", "FLIP_0", "FLIP_1", "FLIP_2",
                            "FUNC_PROFILE1", "FUNC_PROFILE2", "FUNC_PROFILE3", "FUNC_DEFAULT", "FUNC_REPORT1",
                            "FUNC_REPORT2", "FUNC_REPORT3", "FUNC_REPORT4", "FUNC_MAGICFN"});
    for (const char* side : {"LEFT", "RIGHT"})
        for (const char* dir : {"UP", "DOWN"})
            for (int state : {1, 2})
                m.arrows.push_back({std::string(side) + "_ARROW",
                                    std::string(dir) + "_ARROW_" + side + std::to_string(state)});
    m.plain = {"CONTROL_UsbStatic", "CONTROL_RGBStatic", "CONTROL_DengStatic", "CONTROL_DengStaPic",
               "CONTROL_XGcombox", "CONTROL_JDTStatic", "CONTROL_LightStatic", "CONTROL_LightSlider",
               "CONTROL_SpeedStatic", "CONTROL_SpeedSlider", "CONTROL_BLFXStatic", "CONTROL_BLFXLStaPic",
               "CONTROL_BLFXRStaPic", "CONTROL_FYYSStatic", "CONTROL_FYYSButton", "CONTROL_FYSJSStaPic",
               "CONTROL_FYSJSStatic", "CONTROL_HONGPIC", "CONTROL_HUANGPIC", "CONTROL_LVPIC", "CONTROL_LANPIC",
               "CONTROL_Add", "CONTROL_Sub", "CONTROL_Add2", "CONTROL_Sub2", "CONTROL_HXysStatic",
               "CONTROL_HXysButton", "CONTROL_HXsjsStatic", "CONTROL_HXsjsStaPic", "CONTROL_USERysStatic",
               "CONTROL_USERysButton", "CONTROL_USERjsStatic", "CONTROL_USERjsButton", "CONTROL_USERgjStatic",
               "CONTROL_USERgjStaPic1", "CONTROL_USERgjStaPic2", "CONTROL_Network", "CONTROL_Facebook",
               "CONTROL_twitter", "CONTROL_umCombo", "CONTROL_BLFXStatic2", "CONTROL_BLFXStatic3",
               "CONTROL_BLFXLStaPic2", "CONTROL_BLFXLStaPic3", "CONTROL_BLFXRStaPic2"};
    // Keys of the format for controls no window gives behaviour.
    m.absent = {"FUNC_SWITCH", "COLOR_R", "COLOR_G", "COLOR_B", "CONTROL_FYCFStatic", "CONTROL_FYdjcfStatic",
                "CONTROL_FYggcfStatc", "CONTROL_FYdjcfStaPic", "CONTROL_FYggcfStaPic", "CONTROL_JTysStatic",
                "CONTROL_JTysButton", "CONTROL_TSysStatic", "CONTROL_TSysButton", "CONTROL_TSsjsStatic",
                "CONTROL_TSsjsStaPic", "CONTROL_CDysStatic", "CONTROL_CDysButton", "CONTROL_CDsjsStatic",
                "CONTROL_CDsjsStaPic"};
    append(m.absent, numbered("CONTROL_Color", 1, 8));
    m.statePictures = {"main_normal.jpg", "main_over.jpg", "main_down.jpg", "main_disable.jpg",
                       "main_color0.jpg", "main_color1.jpg"};
    return m;
}

DialogManifest compositeManifest() {
    DialogManifest m;
    m.ini = "Composite.ini";
    m.imageButtons = {"CONTROL_MASK", "CONTROL_TITLE", "CONTROL_OSK", "CONTROL_CLEAR", "CONTROL_MEDIA",
                      "CONTROL_MACRO", "CONTROL_KEY", "CONTROL_FUNCTION", "CONTROL_OK", "CONTROL_CANCEL",
                      "FUNC_MACRO_DELETE", "FUNC_MACRO_ADD", "FUNC_MACRO_UP_TOP", "FUNC_MACRO_UP", "FUNC_MACRO_DOWN",
                      "FUNC_MACRO_DOWN_BOTTOM", "FUNC_MACRO_DELETE2", "FUNC_MACRO_CLEAR", "FUNC_MACRO_RECORD",
                      "CONTROL2_APPLY"};  // the last is our own key for Apply (1015)
    m.plain = {"FUNC_MACRO_RECORD_DELAY", "FUNC_MACRO_RECORD_DELAY2", "FUNC_MACRO_LIST", "FUNC_MACRO_LIST2",
               "FUNC_MACRO_CYCLES", "FUNC_MACRO_CYCLES_PROMPT", "TISHI_SINGLE_STATIC", "MARCO_NAME_SETTING",
               "KEY_SETTING", "MEDIA_SETTING_TISHI", "FUNCTION_KEY_SETTING_TISHI", "FUNC_KEY_INPUT",
               "FUNC_MEDIA_SELECT", "FUNC_FUNCTION_SELECT", "FUNC_KEY_RADIO_KB", "FUNC_KEY_RADIO_KB_STATIC",
               "FUNC_KEY_RADIO_MOU", "FUNC_KEY_RADIO_MOU_STATIC", "FUNC_KEY_COMBO_MOU"};
    for (const char* set : {"key", "macro", "macro2", "media", "function"})
        for (const char* state : {"normal", "over", "down"}) m.statePictures.push_back(std::string(set) + "_" + state + ".jpg");
    append(m.statePictures, {"macro_disable.jpg", "macro2_disable.jpg"});
    return m;
}

DialogManifest profileManifest() {
    DialogManifest m;
    m.ini = "Profile.ini";
    m.imageButtons = {"CONTROL_OK", "CONTROL_CANCEL", "FUNC_ADD", "FUNC_LOAD", "FUNC_DELETE", "CONTROL2_APPLY"};
    m.plain = {"PROGRAM_LIST"};
    m.statePictures = {"Profile_normal.jpg", "Profile_over.jpg", "Profile_down.jpg"};
    return m;
}

DialogManifest magicFnManifest() {
    DialogManifest m;
    m.ini = "MagicFN.ini";
    m.imageButtons = {"CONTROL_OKButton", "CONTROL_CANCELButton"};
    m.plain = {"CONTROL_FN1text", "CONTROL_FN2text", "CONTROL_FN1pic", "CONTROL_FN2pic", "CONTROL_MagicFNtext"};
    m.statePictures = {"FN_normal.jpg", "FN_over.jpg", "FN_down.jpg", "FN_disable.jpg"};
    return m;
}

QRect toRect(const tarnel::SkinRect& r) { return QRect(r.x, r.y, r.w, r.h); }

}  // namespace

std::vector<DialogManifest> SkinManifest() {
    return {mainManifest(), compositeManifest(), profileManifest(), magicFnManifest()};
}

std::vector<std::string> OtherPictures() {
    std::vector<std::string> names = {"Arrow.jpg", "dengup.bmp", "dengdown.bmp", "leftup.bmp", "leftdown.bmp",
                                      "rightup.bmp", "rightdown.bmp", "upup.bmp", "updown.bmp", "downup.bmp",
                                      "downdown.bmp", "kuosan.bmp", "kuosandown.bmp", "julong.bmp",
                                      "julongdown.bmp", "hong.bmp", "hongok.bmp", "huang.bmp", "huangok.bmp",
                                      "lv.bmp", "lvok.bmp", "lan.bmp", "lanok.bmp", "add.bmp", "sub.bmp",
                                      "sjsup.bmp", "sjsdown.bmp", "user1up.bmp", "user1down.bmp", "user2up.bmp",
                                      "user2down.bmp", "icon_128.png", "icon_141.png", "icon_142.png", "tarnel.png"};
    append(names, numbered("", 0, 25, ".bmp"));
    append(names, numbered("jdt", 1, 10, ".bmp"));
    return names;
}

std::vector<std::string> CheckSkin(const std::string& skinDir) {
    std::vector<std::string> faults;
    auto load = [&](const std::string& name, QImage& img) {
        const tarnel::SkinStatus s = tarnel::LoadPicture(QString::fromStdString(skinDir + name), img);
        if (!s.ok) faults.push_back(s.error.toStdString());
        return s.ok;
    };
    for (const DialogManifest& m : SkinManifest()) {
        const std::string file = skinDir + m.ini;
        const tarnel::IniFile ini(file);
        const std::string mainName = ini.readString("SCREEN", "Main", "");
        if (mainName.empty()) {
            faults.push_back(file + ": no SCREEN Main");
            continue;
        }
        QImage background, mask;
        if (!load(mainName, background)) continue;
        const QRect inside(QPoint(0, 0), background.size());
        if (load(ini.readString("SCREEN", "Mask", mainName), mask) && mask.size() != background.size())
            faults.push_back(file + ": the mask is not the background's size");
        if (m.ini == "Main.ini" && ini.readString("SCREEN", "Link", "").empty()) faults.push_back(file + ": no SCREEN Link");
        auto placed = [&](const std::string& key) -> std::optional<QRect> {
            if (!ini.hasKey("BUTTONINFO", key)) {
                faults.push_back(file + ": no BUTTONINFO " + key);
                return std::nullopt;
            }
            const QRect r = toRect(tarnel::ReadPlacement(file, "BUTTONINFO", key));
            if (r.width() <= 0 || r.height() <= 0 || !inside.contains(r) || (r.x() == 1 && r.y() == 1))
                faults.push_back(file + ": BUTTONINFO " + key + " is not a place inside the background");
            return r;
        };
        for (const std::string& key : m.imageButtons) placed(key);
        for (const std::string& key : m.plain) placed(key);
        for (const std::string& key : m.absent)
            if (ini.hasKey("BUTTONINFO", key)) faults.push_back(file + ": BUTTONINFO " + key + " should be absent");
        if (!m.arrows.empty()) {
            QImage sheet;
            if (load("Arrow.jpg", sheet))
                for (const auto& [key, origin] : m.arrows) {
                    const std::optional<QRect> r = placed(key);
                    if (!ini.hasKey("BUTTONINFO2", origin)) {
                        faults.push_back(file + ": no BUTTONINFO2 " + origin);
                        continue;
                    }
                    const tarnel::SkinRect o = tarnel::ReadPlacement(file, "BUTTONINFO2", origin);
                    if (r && !QRect(QPoint(0, 0), sheet.size()).contains(QRect(QPoint(o.x - 1, o.y - 1), r->size())))
                        faults.push_back(file + ": BUTTONINFO2 " + origin + " cuts outside Arrow.jpg");
                }
        }
        std::vector<std::pair<std::string, QRect>> keys;
        for (const std::string& key : m.keyButtons) keys.push_back({key, toRect(tarnel::ReadPlacement(file, "BUTTONINFO", key))});
        for (std::size_t i = 0; i < keys.size(); ++i)
            for (std::size_t j = i + 1; j < keys.size(); ++j)
                if (keys[i].second.intersects(keys[j].second))
                    faults.push_back(file + ": " + keys[i].first + " and " + keys[j].first + " overlap");
        for (const std::string& name : m.statePictures) {
            QImage img;
            if (load(name, img) && img.size() != background.size())
                faults.push_back(skinDir + name + ": not the size of " + mainName);
        }
    }
    for (const std::string& name : OtherPictures()) {
        QImage img;
        load(name, img);
    }
    if (tarnel::IniFile(skinDir + kLightingTemplate).readString("MODENAME", "9", "").empty())
        faults.push_back(skinDir + kLightingTemplate + ": the template has no ten named modes");
    return faults;
}

}  // namespace skingen
