// lighting, lighting set, lighting default, keycolors and keycolor: the backlight of a profile,
// through the lighting operations the lighting panel uses.
#include <functional>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_keys.h"
#include "devicelink/result.h"
#include "model/lighting_control.h"
#include "model/magic_fn.h"

namespace tarnel {
namespace {

const char* const kColorChoices[] = {"red", "yellow", "green", "blue"};

// One FIELD=VALUE of `lighting set`, checked and ready to write.
struct LightingWrite {
    std::string word;  // as given, for messages
    std::function<int(LightingControl&)> write;
    int effect = -1;  // effect=N: the number, checked against the keyboard's list
};

std::optional<int> parseChoice(const std::string& value, std::span<const char* const> names) {
    for (size_t i = 0; i < names.size(); ++i)
        if (Lower(value) == names[i]) return int(i);
    return std::nullopt;
}

// The value of one field, or a message naming what is wrong.
std::optional<LightingWrite> parseLightingWrite(const std::string& word, std::string& error) {
    auto pair = SplitAssignment(word);
    if (!pair) {
        error = "'" + word + "' is no FIELD=VALUE";
        return std::nullopt;
    }
    const auto& [field, value] = *pair;
    LightingWrite w{word, {}, -1};
    auto range = [&](int low, int high) { return ParseIntInRange(value, low, high); };
    if (field == "effect") {
        std::optional<int> n = range(0, 255);
        if (n && EffectInfoOf(*n).known) {
            w.effect = *n;
            w.write = [n](LightingControl& l) { return l.WriteEffect(*n); };
        } else {
            error = "effect=" + value + ": no effect the tool knows (1-18, 20, 21)";
        }
    } else if (field == "brightness" || field == "speed") {
        if (std::optional<int> n = range(0, 4))
            w.write = [n, speed = field == "speed"](LightingControl& l) {
                return speed ? l.SetSpeed(*n) : l.SetBrightness(*n);
            };
        else
            error = field + "=" + value + ": not 0..4";
    } else if (field == "direction") {
        if (value == "255" || value == "0")
            w.write = [first = value == "255"](LightingControl& l) { return l.SetDirection(first); };
        else
            error = "direction=" + value + ": not 255 or 0";
    } else if (field == "multicolor") {
        if (value == "on" || value == "off")
            w.write = [on = value == "on"](LightingControl& l) { return l.SetMulticolor(on); };
        else
            error = "multicolor=" + value + ": not on or off";
    } else if (field == "color") {
        if (std::optional<uint32_t> c = ParseColor(value))
            w.write = [c](LightingControl& l) { return l.SetColor(*c); };
        else
            error = "color=" + value + ": not a colour RRGGBB";
    } else if (field == "color-choice") {
        if (std::optional<int> n = parseChoice(value, kColorChoices))
            w.write = [n](LightingControl& l) { return l.SetColorChoice(*n); };
        else
            error = "color-choice=" + value + ": not red, yellow, green or blue";
    } else if (field == "report-rate") {
        if (std::optional<int> n = range(0, 3))
            w.write = [n](LightingControl& l) { return l.SetReportRate(*n); };
        else
            error = "report-rate=" + value + ": not 0..3";
    } else if (field == "magic-fn") {
        if (std::optional<int> n = range(1, 2))
            w.write = [n](LightingControl& l) { return WriteMagicFn(l, *n - 1); };
        else
            error = "magic-fn=" + value + ": not 1 or 2";
    } else {
        error = "unknown field '" + field + "'";
    }
    if (!error.empty()) return std::nullopt;
    return w;
}

std::string directionText(int effect, int direction) {
    bool first = direction == kDirectionFirst;
    switch (EffectInfoOf(effect).direction) {
        case DirectionKind::LeftRight: return first ? "255 (left)" : "0 (right)";
        case DirectionKind::UpDown: return first ? "255 (up)" : "0 (down)";
        case DirectionKind::Spread: return first ? "255 (spread outward)" : "0 (converge inward)";
        default: return std::to_string(direction);
    }
}

void emitLighting(CommandContext& context, const LightingControl& lighting, int profile) {
    const LightingFields& f = lighting.fields();
    std::string effectName = context.lang().Mode(f.effect, 0);
    nlohmann::json magicFn = nullptr;
    if (f.magicFnChoice == kMagicFn1 || f.magicFnChoice == kMagicFn2) magicFn = f.magicFnChoice + 1;
    int speed = SpeedSliderOf(f.speed);
    context.emit({
        {"profile", "Profile", profile, ""},
        {"effect", "Effect", f.effect, std::to_string(f.effect) + " " + effectName},
        {"effectName", "Effect name", effectName, ""},
        {"brightness", "Brightness", f.brightness, std::to_string(f.brightness) + " of 4"},
        {"speed", "Speed", speed, std::to_string(speed) + " of 4 (stored " + std::to_string(f.speed) + ")"},
        {"direction", "Direction", f.direction, directionText(f.effect, f.direction)},
        {"multicolor", "Multicolour", f.multicolor, f.multicolor ? "on" : "off"},
        {"color", "Colour", ColorText(f.color), ""},
        {"colorChoice", "Colour choice", kColorChoices[f.colorChoice & 3], ""},
        {"reportRate", "Report rate", f.reportRate, ""},
        {"groupAMulticolor", "Group A multicolour", f.groupAMulticolor, f.groupAMulticolor ? "on" : "off"},
        {"triggerMode", "Trigger mode", f.triggerMode, f.triggerMode ? "grid" : "single key"},
        {"stoneColor", "Stone colour", ColorText(f.stoneColor), ""},
        {"stoneMulticolor", "Stone multicolour", f.stoneMulticolor, f.stoneMulticolor ? "on" : "off"},
        {"ribbonColor", "Ribbon colour", ColorText(f.ribbonColor), ""},
        {"ribbonMulticolor", "Ribbon multicolour", f.ribbonMulticolor, f.ribbonMulticolor ? "on" : "off"},
        {"magicFn", "Magic FN", magicFn, magicFn.is_null() ? "neither" : "FN" + magicFn.dump()},
    });
}

// Connects, settles the profile and reads the lighting state, as the panel has it before any
// change. Null after a reported failure (`exitCode` then says how to end).
CliSession* readLighting(CommandContext& context, std::unique_ptr<LightingControl>& lighting,
                         int& profile, int& exitCode) {
    CliSession* keyboard = context.keyboard(exitCode);
    if (!keyboard) return nullptr;
    profile = context.profile(*keyboard);
    if (profile < 0) {
        exitCode = ExitRefused;
        return nullptr;
    }
    lighting = std::make_unique<LightingControl>(keyboard->commands());
    if (int rc = lighting->ReadLightingState(); rc != ResultOk) {
        exitCode = context.deviceFailure(*keyboard, rc);
        return nullptr;
    }
    return keyboard;
}

int runLightingSet(CommandContext& context) {
    std::vector<LightingWrite> writes;
    for (size_t i = 1; i < context.args().size(); ++i) {
        std::string error;
        std::optional<LightingWrite> w = parseLightingWrite(context.args()[i], error);
        if (!w) return context.inputError(error);
        writes.push_back(std::move(*w));
    }
    if (writes.empty()) return context.usageError("lighting set: FIELD=VALUE is missing");
    std::unique_ptr<LightingControl> lighting;
    int profile = 0, exitCode = ExitOk;
    CliSession* keyboard = readLighting(context, lighting, profile, exitCode);
    if (!keyboard) return exitCode;
    for (const auto& w : writes)
        if (w.effect >= 0 && lighting->effectSlots().EffectIndex(w.effect) < 0)
            return context.inputError("effect=" + std::to_string(w.effect) +
                                      ": not in this keyboard's effect list");
    for (const auto& w : writes)
        if (int rc = w.write(*lighting); rc != ResultOk) return context.deviceFailure(*keyboard, rc);
    emitLighting(context, *lighting, profile);
    return ExitOk;
}

}  // namespace

int RunLighting(CommandContext& context) {
    const auto& args = context.args();
    std::string sub = args.empty() ? "" : args[0];
    if (sub == "set") return runLightingSet(context);
    if (!sub.empty() && sub != "default") return context.usageError("unknown subcommand '" + sub + "'");
    if (args.size() > 1) return context.usageError("too many arguments");
    std::unique_ptr<LightingControl> lighting;
    int profile = 0, exitCode = ExitOk;
    CliSession* keyboard = readLighting(context, lighting, profile, exitCode);
    if (!keyboard) return exitCode;
    if (sub == "default") {
        if (int rc = lighting->WriteDefaultLighting(); rc != ResultOk)
            return context.deviceFailure(*keyboard, rc);
        lighting->DecodeCurrent();
    }
    emitLighting(context, *lighting, profile);
    return ExitOk;
}

int RunKeyColors(CommandContext& context) {
    if (!context.args().empty()) return context.usageError("takes no arguments");
    int exitCode = ExitOk;
    CliSession* keyboard = context.keyboard(exitCode);
    if (!keyboard) return exitCode;
    int profile = context.profile(*keyboard);
    if (profile < 0) return ExitRefused;
    LightingControl lighting(keyboard->commands());
    if (int rc = lighting.ReadKeyColors(profile); rc != ResultOk)
        return context.deviceFailure(*keyboard, rc);
    const KeyColorTable& table = lighting.keyColors(profile);
    std::vector<KeyRef> keys;
    for (const KeyButton& button : keyButtons()) keys.push_back(KeyRefOf(button.keyId, context.lookup()));
    keys.push_back(*ParseKey("KEY_FN", context.lookup()));
    for (int g = 1; g <= kGKeyCount; ++g) keys.push_back(*ParseKey("G" + std::to_string(g), context.lookup()));
    OutputTable out{{{"key", "KEY"}, {"skin", "SKIN"}, {"position", "POSITION"}, {"color", "COLOUR"}}, {}};
    for (const KeyRef& key : keys) {
        size_t at = size_t(key.colorPosition()) * 3;
        out.addRow({key.name, key.skinName(), key.colorPosition(),
                    ColorText(table[at], table[at + 1], table[at + 2])});
    }
    context.emit({{"profile", "Profile", profile, ""}});
    context.emit(out, "keys");
    return ExitOk;
}

int RunKeyColor(CommandContext& context) {
    struct Paint {
        KeyRef key;
        uint32_t color;
    };
    std::vector<Paint> paints;
    for (const std::string& word : context.args()) {
        auto pair = SplitAssignment(word);
        if (!pair) return context.inputError("'" + word + "' is no KEY=RRGGBB");
        std::optional<KeyRef> key = ParseKey(pair->first, context.lookup());
        if (!key) return context.inputError("unknown key '" + pair->first + "'");
        if (key->colorPosition() < 0)
            return context.inputError("the key '" + pair->first + "' has no colour of its own");
        std::optional<uint32_t> color = ParseColor(pair->second);
        if (!color) return context.inputError("'" + pair->second + "' is not a colour RRGGBB");
        paints.push_back({*key, *color});
    }
    if (paints.empty()) return context.usageError("KEY=RRGGBB is missing");
    int exitCode = ExitOk;
    CliSession* keyboard = context.keyboard(exitCode);
    if (!keyboard) return exitCode;
    int profile = context.profile(*keyboard);
    if (profile < 0) return ExitRefused;
    LightingControl lighting(keyboard->commands());
    OutputTable out{{{"key", "KEY"}, {"position", "POSITION"}, {"color", "COLOUR"}}, {}};
    for (const Paint& p : paints) {
        int rc = lighting.WriteKeyColor(p.key.colorPosition(), RedOf(p.color), GreenOf(p.color),
                                        BlueOf(p.color));
        if (rc != ResultOk) return context.deviceFailure(*keyboard, rc);
        out.addRow({p.key.name, p.key.colorPosition(), ColorText(p.color)});
    }
    context.emit({{"profile", "Profile", profile, ""}});
    context.emit(out, "written");
    return ExitOk;
}

}  // namespace tarnel
