// Apply: the snapshot of the image that is sent to the keyboard.
#include <mutex>
#include <new>

#include "app/app_context.h"
#include "common/prompter.h"
#include "devicelink/command_set.h"
#include "model/macro_area.h"
#include "storage/profile_actions.h"
#include "storage/profile_macro_codes.h"

namespace tarnel {
namespace {

// The copy that is sent: the image with its header rebuilt and its strings packed (records of
// kind 3 and 6 hold their offsets), and the macro blocks. The edited image is not changed.
AppliedSnapshot takeSnapshot(const ProfileImage& edited) {
    AppliedSnapshot snapshot;
    snapshot.image = edited.image;
    snapshot.image.resize(kProfileImageSize, 0);
    const size_t blockBytes = size_t(edited.macroCount) * kMacroRecordSize;
    snapshot.macroCount = edited.macroCount;
    snapshot.macroBlocks.assign(
        edited.macroBlocks.begin(),
        edited.macroBlocks.begin() + ptrdiff_t(std::min(blockBytes, edited.macroBlocks.size())));
    BuildHeader(snapshot.image, snapshot.macroCount, edited.actionStrings.total(), 0);
    auto keyArea = std::span(snapshot.image).subspan(kKeyAreaImageOffset, kKeyAreaSize);
    snapshot.stringArea = PackStrings(keyArea, edited.actionStrings);
    return snapshot;
}

// Interim writer of the snapshot until the model's keyboard writer is in place.
int writeSnapshot(ProfileEnv& env, const AppliedSnapshot& snapshot, bool allProfiles) {
    const MacroList macros = MacroListOfBlocks(snapshot.macroBlocks, snapshot.macroCount);
    const MacroAreaSize sizes = MacroAreaSizes(macros);
    const size_t capacity = size_t(std::max(env.context.macroCapacity.load(), 0));
    if (sizes.bare > capacity) {
        env.prompter.ask("EXTRA_MACRO_TOO_LONG", PromptButtons::Ok, PromptIcon::Warning, {}, true);
        return 0;
    }
    const bool withNames = sizes.full <= capacity;
    const std::vector<uint8_t> area =
        BuildMacroArea(macros, withNames ? sizes.full : sizes.bare, withNames, ProfileMacroCodes());
    if (area.empty()) return 0;
    CommandSet& commands = env.commands;
    const int active = commands.GetActiveProfile();
    if (!allProfiles && (active < 0 || active > 2)) return 0;
    const DefaultMatrix matrix = env.context.defaultMatrix();
    const KeyboardModel& model = commands.link().keyboardModel();
    std::vector<std::vector<uint8_t>> tables;
    for (int p = 0; p < 3; ++p)
        if (allProfiles || p == active)
            tables.push_back(EncodeKeyTable(snapshot.keyArea(), p, matrix, model, macros));
    commands.CmdBegin();
    commands.CmdWriteMacros(area.data(), int(area.size()));
    int last = 0;
    int index = 0;
    for (int p = 0; p < 3; ++p)
        if (allProfiles || p == active)
            last = commands.CmdWriteKeyTable(tables[size_t(index++)].data(), p);
    commands.CmdEnd();
    if (!withNames)
        env.prompter.ask("EXTRA_PROFILE_SPACE_TIGHT", PromptButtons::Ok, PromptIcon::Warning, {},
                         true);
    return last == ResultOk ? 1 : 0;
}

}  // namespace

int ApplyToKeyboard(ProfileEnv& env, bool allProfiles) {
    // Lock order: dataLock, then appliedLock; the command set takes the transaction lock.
    std::lock_guard<std::recursive_mutex> data(env.context.dataLock);
    std::lock_guard<std::recursive_mutex> applied(env.context.appliedLock);
    try {
        env.context.appliedImage = takeSnapshot(env.context.profileImage);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return writeSnapshot(env, env.context.appliedImage, allProfiles);
}

}  // namespace tarnel
