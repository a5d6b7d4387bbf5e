// Apply: the snapshot of the image that is sent to the keyboard.
#include <algorithm>
#include <mutex>
#include <new>

#include "app/app_context.h"
#include "devicelink/command_set.h"
#include "model/key_writer.h"
#include "storage/profile_actions.h"

namespace tarnel {
namespace {

// The copy that is sent: the image with its header rebuilt and its strings packed (records of
// kind 3 and 6 hold their offsets), and the macro blocks. The edited image is not changed.
AppliedSnapshot takeSnapshot(const ProfileImage& edited) {
    AppliedSnapshot snapshot;
    snapshot.image = edited.image;
    snapshot.image.resize(kProfileImageSize, 0);
    // Only whole blocks are sent, however the count and the buffer disagree.
    const size_t count =
        std::min(size_t(edited.macroCount), edited.macroBlocks.size() / kMacroRecordSize);
    snapshot.macroCount = uint16_t(count);
    snapshot.macroBlocks.assign(edited.macroBlocks.begin(),
                                edited.macroBlocks.begin() + ptrdiff_t(count * kMacroRecordSize));
    BuildHeader(snapshot.image, snapshot.macroCount, edited.actionStrings.total(), 0);
    auto keyArea = std::span(snapshot.image).subspan(kKeyAreaImageOffset, kKeyAreaSize);
    snapshot.stringArea = PackStrings(keyArea, edited.actionStrings);
    return snapshot;
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
    const AppliedSnapshot& snapshot = env.context.appliedImage;
    const DefaultMatrix matrix = env.context.defaultMatrix();
    const KeyboardTarget target{env.commands, env.prompter, matrix,
                                size_t(std::max(env.context.macroCapacity.load(), 0))};
    const AppliedRecords records{snapshot.keyArea(), snapshot.macroBlocks, snapshot.macroCount};
    return WriteToKeyboard(target, records, allProfiles);
}

}  // namespace tarnel
