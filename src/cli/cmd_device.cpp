// list, info and profile: the keyboard itself.
#include <cstdint>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "common/le_bytes.h"
#include "devicelink/command_set.h"
#include "devicelink/device_match.h"
#include "devicelink/hid_backend.h"
#include "devicelink/result.h"
#include "model/lighting_state.h"

namespace tarnel {
namespace {

std::string roleOf(const HidCollectionCaps& caps) {
    if (IsCommandCollection(caps)) return "command";
    if (IsConsumerCollection(caps)) return "consumer control";
    return "other (" + HexText(caps.usagePage, 4) + "/" + HexText(caps.usage, 4) + ")";
}

std::string openErrorText(HidOpenError error) {
    switch (error) {
        case HidOpenError::PermissionDenied: return "no access (permission denied)";
        case HidOpenError::NotFound: return "gone";
        default: return "cannot be opened";
    }
}

std::string modelName(const KeyboardModel& model) { return std::string(1, model.name); }

// The effect numbers of the information block, in list order, empty slots left out.
std::vector<int> effectsOf(const uint8_t* info) {
    std::vector<int> effects;
    for (int i = kInfoEffectsOffset; i < kInfoBlockSize; ++i)
        if (info[i]) effects.push_back(info[i]);
    return effects;
}

}  // namespace

int RunList(CommandContext& context) {
    if (!context.args().empty()) return context.usageError("takes no arguments");
    int exitCode = ExitOk;
    CliSession* session = context.backendOnly(exitCode);
    if (!session) return exitCode;
    HidBackend& backend = *session->backend();
    std::vector<std::string> paths;
    if (!backend.enumerate(paths)) {
        context.warn("the system's HID enumeration failed");
        return ExitNoKeyboard;
    }
    OutputTable table{{{"model", "MODEL"}, {"vendorId", "VENDOR"}, {"productId", "PRODUCT"},
                       {"interface", "INTERFACE"}, {"path", "PATH"}},
                      {}};
    bool found = false;
    for (const auto& path : paths) {
        const KeyboardModel* model = CandidateModel(backend, path);
        if (!model) continue;
        HidOpenError error = HidOpenError::None;
        std::unique_ptr<HidDevice> device = backend.open(path, HidOpenOptions{}, &error);
        std::string role = device ? roleOf(device->caps()) : openErrorText(error);
        found = found || (device && IsCommandCollection(device->caps()));
        table.addRow({modelName(*model), HexText(model->vendorId, 4), HexText(model->productId, 4),
                      role, path});
    }
    if (!table.rows.empty() || context.json()) context.emit(table, "interfaces");
    if (found) return ExitOk;
    context.err() << "tarnelctl: "
                  << (context.options().simulate
                          ? std::string("no supported keyboard found (the simulated keyboard is "
                                        "unplugged)")
                          : NoKeyboardHint(backend))
                  << '\n';
    return ExitNoKeyboard;
}

int RunInfo(CommandContext& context) {
    if (!context.args().empty()) return context.usageError("takes no arguments");
    int exitCode = ExitOk;
    CliSession* keyboard = context.keyboard(exitCode);
    if (!keyboard) return exitCode;
    uint8_t info[kInfoBlockSize] = {};
    if (int rc = keyboard->commands().CmdReadInfo(info); rc != ResultOk)
        return context.deviceFailure(*keyboard, rc);
    const KeyboardModel& model = keyboard->model();
    std::vector<int> effects = effectsOf(info);
    bool userMode = IsUserModeSupported(std::span<const uint8_t, kEffectListSize>(
        info + kInfoEffectsOffset, kEffectListSize));
    std::string effectText;
    for (int effect : effects) {
        std::string name = context.lang().Mode(effect, 0);
        effectText += (effectText.empty() ? "" : ", ") + std::to_string(effect);
        if (name != kLangMissingText && !name.empty()) effectText += " " + name;
    }
    int firmware = getLe16(info + kInfoFirmwareOffset);
    context.emit({
        {"model", "Model", modelName(model), ""},
        {"vendorId", "Vendor id", model.vendorId, HexText(model.vendorId, 4)},
        {"productId", "Product id", model.productId, HexText(model.productId, 4)},
        {"firmware", "Firmware", firmware, HexText(unsigned(firmware), 4)},
        {"activeProfile", "Active profile", info[kInfoActiveProfileOffset], ""},
        {"macroCapacity", "Macro capacity", info[kInfoMacroUnitsOffset] * kMacroCapacityUnit,
         std::to_string(info[kInfoMacroUnitsOffset] * kMacroCapacityUnit) + " bytes"},
        {"effects", "Effects", effects, effectText.empty() ? "none" : effectText},
        {"userModeSupported", "User colour mode", userMode, userMode ? "supported" : "not supported"},
        {"path", "Path", keyboard->connection().path(), ""},
    });
    return ExitOk;
}

int RunProfile(CommandContext& context) {
    if (context.args().size() > 1) return context.usageError("takes at most one argument");
    std::optional<int> wanted;
    if (!context.args().empty()) {
        wanted = ParseIntInRange(context.args()[0], 0, 2);
        if (!wanted)
            return context.inputError("'" + context.args()[0] + "' is no profile (0, 1 or 2)");
    }
    int exitCode = ExitOk;
    CliSession* keyboard = context.keyboard(exitCode);
    if (!keyboard) return exitCode;
    CommandSet& commands = keyboard->commands();
    int active = -1;
    if (wanted) {
        commands.SetActiveProfile(*wanted);
        active = keyboard->context().link.activeProfileCache.load();
        if (active != *wanted) return context.deviceFailure(*keyboard);
    } else {
        active = commands.GetActiveProfile();
        if (active < 0) return context.deviceFailure(*keyboard);
    }
    context.emit({{"activeProfile", "Active profile", active, ""}});
    return ExitOk;
}

}  // namespace tarnel
