// backup, restore, show, assign and macro: the key assignments and macros of the three onboard
// profiles, through the profile store's actions (the same ones the windows call).
#include <filesystem>
#include <functional>
#include <mutex>
#include <system_error>

#include "app/app_context.h"
#include "cli/cli_command.h"
#include "cli/cli_keys.h"
#include "cli/cli_macro_file.h"
#include "devicelink/result.h"
#include "model/key_writer.h"
#include "model/key_button_port.h"
#include "model/macro_area.h"
#include "model/macro_working_list.h"
#include "storage/profile_file.h"
#include "storage/profile_slots.h"

namespace tarnel {
namespace {

constexpr int kLastGButtonSlot = kFirstSpecialSlot + kGButtonSlotCount - 1;

// A file argument that can be read: exit code 2 with a message otherwise.
int checkReadable(CommandContext& context, const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return context.inputError("cannot read the file '" + path + "'");
    return ExitOk;
}

std::string kindName(uint16_t kind) {
    switch (kind) {
        case KindDefault: return "default";
        case KindDisabled: return "disabled";
        case KindKey: return "key";
        case KindRunProgram: return "program";
        case KindMacro: return "macro";
        case KindStopMacro: return "stop macro";
        case KindTextBlock: return "text";
        case KindMedia: return "media";
        case KindFunction: return "function";
        default: return "kind " + std::to_string(kind);
    }
}

// The name of a record slot as the key buttons show it.
std::string slotName(int slot, const LangLookup& lang) {
    if (slot < kFirstSpecialSlot) return keyDisplayName(KeyOfSlot(slot), lang);
    if (slot <= kLastGButtonSlot) return "G" + std::to_string(slot - kFirstSpecialSlot + 1);
    return "special key " + std::to_string(slot - kFirstSpecialSlot + 1);
}

MacroNameLookup macroNames(const MacroList& list) {
    std::vector<std::pair<uint32_t, std::string>> names;
    for (const auto& m : list) names.emplace_back(m.macroId, Utf8Of(StoredMacroName(m)));
    return [names](uint32_t id) {
        for (const auto& [macroId, name] : names)
            if (macroId == id) return name;
        return std::string();
    };
}

// Every macro of the list with its steps.
void emitMacros(CommandContext& context, const MacroList& macros) {
    const LangLookup lang = context.lookup();
    nlohmann::json macroList = nlohmann::json::array();
    if (!context.json()) context.out() << "Macros: " << macros.size() << '\n';
    for (const auto& m : macros) {
        nlohmann::json steps = nlohmann::json::array();
        std::string stepText;
        for (size_t i = 0; i < StoredActionCount(m); ++i) {
            const MacroAction& a = m.actions[i];
            std::string key = a.keyId ? keyDisplayName(a.keyId, lang) : std::string("-");
            std::string state = a.state == MacroRelease ? "release" : "press";
            steps.push_back({{"key", key}, {"state", state}, {"delayMs", a.delayMs}});
            stepText += (stepText.empty() ? "" : ", ") + state + " " + key +
                        (a.delayMs ? " " + std::to_string(a.delayMs) + " ms" : "");
        }
        std::string name = Utf8Of(StoredMacroName(m));
        macroList.push_back({{"id", m.macroId}, {"name", name}, {"repeat", m.repeatCount},
                             {"steps", steps}});
        if (!context.json())
            context.out() << "  " << m.macroId << "  " << name << " (repeat " << int(m.repeatCount)
                          << ", " << StoredActionCount(m) << " steps): " << stepText << '\n';
    }
    if (context.json()) context.document()["macros"] = macroList;
}

// Every assigned record of banks 0..2 and every macro of the list.
void emitProfiles(CommandContext& context, const ProfileImage& image) {
    const LangLookup lang = context.lookup();
    const MacroList macros = MacroListOfBlocks(image.macroBlocks, image.macroCount);
    const MacroNameLookup names = macroNames(macros);
    nlohmann::json profiles = nlohmann::json::array();
    for (int bank = 0; bank < kSlotCount; ++bank) {
        OutputTable keys{{{"key", "KEY"}, {"slot", "SLOT"}, {"kind", "KIND"}, {"text", "ASSIGNMENT"}}, {}};
        for (int slot = 0; slot < kBankSlots; ++slot) {
            KeyAction action = ReadKeyAction(image.keyArea(), RecordOf(bank, slot));
            if (action.kind == KindDefault) continue;
            std::string name = slotName(slot, lang);
            keys.addRow({name, slot, kindName(action.kind),
                         DescribeKeyAction(name, action, lang, names).text});
        }
        if (context.json()) {
            profiles.push_back({{"profile", bank}, {"keys", keys.toJson()}});
        } else {
            context.out() << "Profile " << bank << ": " << keys.rows.size() << " keys assigned\n";
            if (!keys.rows.empty()) PrintTable(context.out(), keys);
        }
    }
    if (context.json()) context.document()["profiles"] = profiles;
    emitMacros(context, macros);
}

// The keyboard's answer to an operation of the profile store that gave 0: a failed exchange,
// a macro list too long for the keyboard, or (otherwise) a file that could not be written.
int storeFailure(CommandContext& context, CliSession& keyboard, const std::string& file) {
    if (keyboard.firstFailure().lastCommand >= 0) return context.deviceFailure(keyboard);
    if (context.prompter().shown(kMacroTooLongKey)) return ExitUsage;
    return context.inputError(file.empty() ? "the profiles could not be read or written"
                                           : "cannot write the file '" + file + "'");
}

// ACTION of `assign` as a record (param and value filled in by the caller's slot rules).
std::optional<KeyAction> parseAction(CommandContext& context, const std::string& text,
                                     std::string& error) {
    KeyAction action;
    std::string lower = Lower(text);
    size_t colon = text.find(':');
    std::string kind = Lower(text.substr(0, colon));
    std::string arg = colon == std::string::npos ? std::string() : text.substr(colon + 1);
    if (colon == std::string::npos && lower == "default") return action;
    if (colon == std::string::npos && lower == "disabled") {
        action.kind = KindDisabled;
        return action;
    }
    std::optional<int> n;
    if (kind == "key") {
        std::optional<KeyRef> key = ParseKey(arg, context.lookup());
        if (key && key->keyId) {
            action.kind = KindKey;
            action.value = key->keyId;
            return action;
        }
        error = "unknown key '" + arg + "'";
    } else if (kind == "mouse") {
        const char* const names[] = {"left", "right", "middle", "wheel-up", "wheel-down"};
        for (int i = 0; i < kMouseChoiceCount; ++i)
            if (Lower(arg) == names[i]) {
                action.kind = KindKey;
                action.value = mouseChoices()[size_t(i)].keyId;
                return action;
            }
        error = "mouse:" + arg + ": not left, right, middle, wheel-up or wheel-down";
    } else if (kind == "media" && (n = ParseIntInRange(arg, 0, kMediaCount - 1))) {
        action.kind = KindMedia;
        action.value = uint32_t(*n);
        return action;
    } else if (kind == "function" && (n = ParseIntInRange(arg, 0, kFunctionCount - 1))) {
        action.kind = KindFunction;
        action.value = uint32_t(*n);
        return action;
    } else if (kind == "macro" && (n = ParseIntInRange(arg, 1, kMaxMacroId))) {
        action.kind = KindMacro;
        action.value = uint32_t(*n);
        return action;
    } else if (kind == "media" || kind == "function" || kind == "macro") {
        error = text + ": " + (kind == "media" ? "not 0..17" : kind == "function" ? "not 0..10" : "not 1..100");
    } else {
        error = "unknown action '" + text + "'";
    }
    return std::nullopt;
}

// LoadFromKeyboard, and whether it read the keyboard: a read that failed leaves a default
// image, and applying that would wipe every assignment. The active profile, or -1 after a
// reported failure (`exitCode` then says how to end).
int loadFromKeyboard(CommandContext& context, CliSession& keyboard, ProfileEnv& env,
                     int& exitCode) {
    LoadFromKeyboard(env, true);
    int active = keyboard.commands().GetActiveProfile();
    std::error_code ec;
    if (keyboard.firstFailure().lastCommand >= 0 || !IsSlot(active) ||
        !std::filesystem::exists(SlotCachePath(keyboard.context().paths.userDataDir, active), ec)) {
        exitCode = storeFailure(context, keyboard, "");
        return -1;
    }
    return active;
}


// The key buttons of the windows: tarnelctl has none, and applies at once anyway.
class NoKeyButtons : public KeyButtonPort {
public:
    void SetKeyButtonAssignment(int, bool, const std::string&) override {}
    void SetApplyPending(int) override {}
};

// The editor's questions as the command line answers them: removing a macro that keys use is
// what `macro remove` asked for (its output counts those keys), so that one is not shown.
class MacroPrompter : public Prompter {
public:
    explicit MacroPrompter(Prompter& shown) : m_shown(shown) {}
    PromptAnswer ask(std::string_view langKey, PromptButtons buttons, PromptIcon icon,
                     const std::vector<std::string>& args, bool topmost) override {
        if (langKey == kMacroDeleteConfirmKey) return PromptAnswer::Yes;
        return m_shown.ask(langKey, buttons, icon, args, topmost);
    }

private:
    Prompter& m_shown;
};

// The keyboard's macro list in the editor's working list, then whatever `edit` does to it,
// stored into the profile image and applied to all three profiles (a removed macro moves the
// later ones up, and keys of every profile name macros by their place in the list). `edit`
// returns ExitOk to go on. dataLock is held from the copy to the apply.
int editMacros(CommandContext& context,
               const std::function<int(MacroWorkingList&, ProfileImage&)>& edit) {
    int exitCode = ExitOk;
    CliSession* keyboard = context.keyboard(exitCode);
    if (!keyboard) return exitCode;
    ProfileEnv* env = context.profileEnv(*keyboard);
    if (!env) return ExitUsage;
    if (loadFromKeyboard(context, *keyboard, *env, exitCode) < 0) return exitCode;
    AppContext& app = keyboard->context();
    std::lock_guard<std::recursive_mutex> data(app.dataLock);
    ProfileImage& image = app.profileImage;
    MacroPrompter prompter(context.prompter());
    MacroWorkingList list(prompter, Utf16Of(context.text(kMacroNewPrefixKey)));
    list.FillFrom(MacroListOfBlocks(image.macroBlocks, image.macroCount));
    if (int rc = edit(list, image); rc != ExitOk) return rc;
    NoKeyButtons buttons;
    if (StoreWorkingList(list, image.keyArea(), image.macroBlocks, image.macroCount, buttons) != 1)
        return context.inputError("not enough memory for the macro list");
    SaveCache(*env, false);
    if (ApplyToKeyboard(*env, true) != 1) return storeFailure(context, *keyboard, "");
    return ExitOk;
}

int macroAdd(CommandContext& context, const std::string& file) {
    if (int rc = checkReadable(context, file); rc != ExitOk) return rc;
    std::string error;
    std::optional<MacroFile> macro = ReadMacroFile(file, context.lookup(), error);
    if (!macro) return context.inputError(error);
    MacroRecord added;
    int rc = editMacros(context, [&](MacroWorkingList& list, ProfileImage&) {
        if (list.AddMacro() < 0) return int(ExitUsage);  // MACRO_ERR_MAX has said why
        if (!macro->name.empty()) list.RenameCurrent(macro->name);
        list.SetRepeatCount(macro->repeat);
        list.setRecordDelays(true);
        for (const MacroAction& step : macro->steps) list.AddRecordedStep(step.keyId, step.state, 0);
        for (size_t i = 0; i < macro->steps.size(); ++i)
            list.SetStepDelay(int(i), macro->steps[i].delayMs);
        added = *list.current();
        return int(ExitOk);
    });
    if (rc != ExitOk) return rc;
    const std::string name = Utf8Of(added.name);
    if (!macro->name.empty() && added.name != macro->name)
        context.warn("the name '" + Utf8Of(macro->name) +
                     "' is empty or begins another macro's name; the macro is named '" + name + "'");
    context.emit({{"id", "Macro", added.macroId, ""},
                  {"name", "Name", name, ""},
                  {"repeat", "Repeat", added.repeatCount, ""},
                  {"steps", "Steps", added.actions.size(), ""}});
    return ExitOk;
}

int macroRemove(CommandContext& context, const std::string& idText) {
    std::optional<int> id = ParseIntInRange(idText, 1, kMaxMacroId);
    if (!id) return context.inputError("macro id '" + idText + "' is not 1..100");
    std::string name;
    int keysReset = 0;
    int rc = editMacros(context, [&](MacroWorkingList& list, ProfileImage& image) {
        if (list.indexOfId(*id) < 0) {
            context.inputError("the keyboard has no macro " + std::to_string(*id));
            return int(ExitUsage);
        }
        for (int r = 0; r < kKeyAreaRecords; ++r) {
            KeyAction a = ReadKeyAction(image.keyArea(), r);
            keysReset += a.kind == KindMacro && a.value == uint32_t(*id);
        }
        list.SelectMacroById(*id);
        name = Utf8Of(list.current()->name);
        return list.DeleteMacro(image.keyArea()) ? int(ExitOk) : int(ExitUsage);
    });
    if (rc != ExitOk) return rc;
    context.emit({{"id", "Removed macro", *id, ""},
                  {"name", "Name", name, ""},
                  {"keysReset", "Keys back to their factory function", keysReset, ""}});
    return ExitOk;
}
}  // namespace

int RunMacro(CommandContext& context) {
    const auto& args = context.args();
    const std::string sub = args.empty() ? std::string() : args[0];
    if (sub == "add" && args.size() == 2) return macroAdd(context, args[1]);
    if (sub == "remove" && args.size() == 2) return macroRemove(context, args[1]);
    if (sub != "list" || args.size() != 1)
        return context.usageError(sub.empty() ? "a subcommand is missing"
                                  : sub == "list" || sub == "add" || sub == "remove"
                                      ? "wrong arguments for '" + sub + "'"
                                      : "unknown subcommand '" + sub + "'");
    int exitCode = ExitOk;
    CliSession* keyboard = context.keyboard(exitCode);
    if (!keyboard) return exitCode;
    ProfileEnv* env = context.profileEnv(*keyboard);
    if (!env) return ExitUsage;
    if (loadFromKeyboard(context, *keyboard, *env, exitCode) < 0) return exitCode;
    std::lock_guard<std::recursive_mutex> data(keyboard->context().dataLock);
    const ProfileImage& image = keyboard->context().profileImage;
    emitMacros(context, MacroListOfBlocks(image.macroBlocks, image.macroCount));
    return ExitOk;
}

int RunBackup(CommandContext& context) {
    if (context.args().size() != 1) return context.usageError("FILE is missing");
    const std::string& file = context.args()[0];
    int exitCode = ExitOk;
    CliSession* keyboard = context.keyboard(exitCode);
    if (!keyboard) return exitCode;
    ProfileEnv* env = context.profileEnv(*keyboard);
    if (!env) return ExitUsage;
    if (BackupKeyboard(*env, file) != 1) return storeFailure(context, *keyboard, file);
    context.emit({{"file", "Backup written to", file, ""}});
    return ExitOk;
}

int RunRestore(CommandContext& context) {
    if (context.args().size() != 1) return context.usageError("FILE is missing");
    const std::string& file = context.args()[0];
    if (int rc = checkReadable(context, file); rc != ExitOk) return rc;
    int exitCode = ExitOk;
    CliSession* keyboard = context.keyboard(exitCode);
    if (!keyboard) return exitCode;
    ProfileEnv* env = context.profileEnv(*keyboard);
    if (!env) return ExitUsage;
    context.prompter().setImportFile(file);
    int rc = ImportProfile(*env, file);
    if (rc == 0) return ExitUsage;  // refused: the messages name the file
    if (rc != 1) {
        if (keyboard->firstFailure().lastCommand >= 0) return context.deviceFailure(*keyboard);
        return context.prompter().shown(kMacroTooLongKey) ? ExitUsage : ExitRefused;
    }
    std::lock_guard<std::recursive_mutex> data(keyboard->context().dataLock);
    context.emit({{"file", "Restored from", file, ""},
                  {"macros", "Macros", keyboard->context().profileImage.macroCount, ""}});
    return ExitOk;
}

int RunShow(CommandContext& context) {
    if (context.args().size() != 1) return context.usageError("FILE is missing");
    const std::string& file = context.args()[0];
    if (int rc = checkReadable(context, file); rc != ExitOk) return rc;
    std::optional<ProfileImage> image;
    if (ValidateFile(file, &context.prompter()) == ValidateOk) image = LoadFile(file);
    if (!image) {
        if (!context.prompter().shown(kProfileFormatErrorKey))
            context.inputError("'" + file + "' is not a valid profile file");
        return ExitUsage;
    }
    if (context.json()) context.document()["file"] = file;
    emitProfiles(context, *image);
    return ExitOk;
}

int RunAssign(CommandContext& context) {
    if (context.args().size() != 2) return context.usageError("KEY and ACTION are needed");
    std::optional<KeyRef> key = ParseKey(context.args()[0], context.lookup());
    if (!key) return context.inputError("unknown key '" + context.args()[0] + "'");
    if (key->slot() <= 0) return context.inputError("the key '" + context.args()[0] + "' takes no assignment");
    std::string error;
    std::optional<KeyAction> action = parseAction(context, context.args()[1], error);
    if (!action) return context.inputError(error);

    int exitCode = ExitOk;
    CliSession* keyboard = context.keyboard(exitCode);
    if (!keyboard) return exitCode;
    ProfileEnv* env = context.profileEnv(*keyboard);
    if (!env) return ExitUsage;
    AppContext& app = keyboard->context();
    int active = loadFromKeyboard(context, *keyboard, *env, exitCode);
    if (active < 0) return exitCode;
    int bank = context.options().profile.value_or(active);

    std::lock_guard<std::recursive_mutex> data(app.dataLock);
    ProfileImage& image = app.profileImage;
    const int slot = key->slot();
    const int record = RecordOf(bank, slot);
    KeyAction written = ReadKeyAction(image.keyArea(), record);
    // The editor's rules: a special slot keeps its fixed code, a key given itself keeps its
    // factory function, a macro carries its repeat count.
    written.param = slot >= kFirstSpecialSlot ? written.param : 0;
    written.kind = action->kind;
    written.value = action->value;
    if (action->kind == KindKey && SlotOfKey(action->value) == slot) written.kind = KindDefault;
    if (action->kind == KindMacro) {
        MacroList macros = MacroListOfBlocks(image.macroBlocks, image.macroCount);
        int index = MacroIndexOfId(macros, int(action->value));
        if (macros.empty() || macros[size_t(index)].macroId != action->value)
            return context.inputError("the keyboard has no macro " + std::to_string(action->value));
        written.param = macros[size_t(index)].repeatCount;
    }
    image.actionStrings.clear(record);
    WriteKeyAction(image.keyArea(), record, written);
    SaveCache(*env, false);
    // A profile other than the active one is written with the other two, as they were read.
    if (ApplyToKeyboard(*env, bank != active) != 1) return storeFailure(context, *keyboard, "");
    std::string text = DescribeKeyAction(key->name, written, context.lookup(),
                                         macroNames(MacroListOfBlocks(image.macroBlocks, image.macroCount)))
                           .text;
    context.emit({{"profile", "Profile", bank, ""},
                  {"key", "Key", key->name, ""},
                  {"kind", "Kind", kindName(written.kind), ""},
                  {"text", "Assignment", text, ""}});
    return ExitOk;
}

}  // namespace tarnel
