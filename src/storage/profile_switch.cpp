// The switch of the keyboard's active slot and the name on the profile button.
#include <atomic>
#include <mutex>

#include "app/app_context.h"
#include "common/prompter.h"
#include "devicelink/command_set.h"
#include "storage/profile_actions.h"
#include "storage/profile_slots.h"
#include "storage/profile_window_port.h"

namespace tarnel {
namespace {

// Set while the pending-changes question is on screen: a switch asked for meanwhile (another
// profile button clicked under the box) switches without asking again.
std::atomic<bool> g_switchPromptShowing{false};

std::string text(const ProfileEnv& env, const char* key) {
    return env.lang ? env.lang(key) : std::string();
}

// The edits are dropped by reading the active slot's cache file again. The image is replaced
// only when the file was read whole.
void discardEdits(ProfileEnv& env) {
    env.window.markClean();
    const int active = env.commands.GetActiveProfile();
    if (!IsSlot(active)) return;
    std::optional<ProfileImage> loaded =
        LoadFile(SlotCachePath(env.context.paths.userDataDir, active));
    if (!loaded) return;
    std::lock_guard<std::recursive_mutex> data(env.context.dataLock);
    env.context.profileImage = std::move(*loaded);
}

void settlePendingChanges(ProfileEnv& env) {
    if (g_switchPromptShowing.exchange(true)) return;
    const PromptAnswer answer =
        env.prompter.ask(kSwitchPendingKey, PromptButtons::YesNo, PromptIcon::Question);
    g_switchPromptShowing = false;
    if (answer == PromptAnswer::Yes)
        env.window.runApplyCommand();
    else
        discardEdits(env);
}

}  // namespace

int SwitchSlot(ProfileEnv& env, int slot) {
    if (slot >= kSlotCount) slot = 0;
    if (!IsSlot(slot)) return 0;
    if (env.window.keyEditorOpen()) {
        env.prompter.ask(kSwitchEditorOpenKey, PromptButtons::Ok, PromptIcon::Warning);
        return 0;
    }
    if (env.window.hasUnappliedChanges()) {
        settlePendingChanges(env);
        env.commands.SetActiveProfile(slot);
    } else {
        env.commands.SetActiveProfile(slot);
        if (env.window.managerOpen()) env.window.checkManagerRow(slot);
    }
    {
        std::lock_guard<std::recursive_mutex> data(env.context.dataLock);
        env.window.refreshKeyButtons();
    }
    ShowActiveProfileName(env);
    return 1;
}

void ShowActiveProfileName(ProfileEnv& env) {
    const int slot = env.commands.GetActiveProfile();
    const std::string name =
        IsSlot(slot) ? SlotDisplayName(slot) : text(env, kDefaultProfileNameKey);
    env.window.setProfileButton(name, text(env, kProfileTipKey) + name);
}

}  // namespace tarnel
