// Apply, import, export and the cache file of the active slot.
#include "storage/profile_actions.h"

#include <filesystem>
#include <mutex>
#include <system_error>

#include "app/app_context.h"
#include "common/prompter.h"
#include "devicelink/command_set.h"
#include "storage/profile_slots.h"
#include "storage/profile_window_port.h"

namespace tarnel {

int SaveCache(ProfileEnv& env, bool takeLock) {
    std::unique_lock<std::recursive_mutex> data(env.context.dataLock, std::defer_lock);
    if (takeLock) data.lock();
    const int slot = env.commands.GetActiveProfile();
    if (!IsSlot(slot)) return 0;
    const std::string path = SlotCachePath(env.context.paths.userDataDir, slot);
    std::error_code error;
    // Only a cache file that the load at connection wrote is kept up to date.
    if (!std::filesystem::exists(path, error)) return 0;
    return SaveFile(path, env.context.profileImage, env.writeChunk) ? 1 : 0;
}

void CreateDefault(AppContext& context, uint8_t flag) {
    ProfileImage fresh = CreateDefaultImage(flag);
    std::lock_guard<std::recursive_mutex> data(context.dataLock);
    context.profileImage = std::move(fresh);
}

int ApplyChanges(ProfileEnv& env) {
    if (!env.window.hasUnappliedChanges()) return 1;
    int saved = 0;
    int applied = 0;
    {
        std::lock_guard<std::recursive_mutex> data(env.context.dataLock);
        saved = SaveCache(env, false);
        applied = ApplyToKeyboard(env, env.context.applyAllProfiles);
        if (applied == 1) env.context.applyAllProfiles = false;
    }
    if (saved != 1 || applied != 1) return 0;
    env.window.markClean();
    return 1;
}

int ImportProfile(ProfileEnv& env, const std::string& path) {
    // The file is read into new buffers; the image is replaced only once all of it is read.
    std::optional<ProfileImage> loaded;
    if (ValidateFile(path, &env.prompter) == ValidateOk) loaded = LoadFile(path);
    if (!loaded) {
        env.prompter.ask(kImportFailedKey, PromptButtons::Ok, PromptIcon::Warning);
        return 0;
    }
    int applied = 0;
    {
        std::lock_guard<std::recursive_mutex> data(env.context.dataLock);
        env.context.profileImage = std::move(*loaded);
        SaveCache(env, false);
        applied = ApplyToKeyboard(env, true);
        env.context.applyAllProfiles = applied != 1;
        env.window.refreshKeyButtons();
    }
    // A write the keyboard did not take leaves the import pending: the next Apply sends it.
    if (applied == 1)
        env.window.markClean();
    else
        env.window.markPending();
    return applied == 1 ? 1 : -1;
}

bool ExportProfile(ProfileEnv& env, const std::string& path) {
    std::lock_guard<std::recursive_mutex> data(env.context.dataLock);
    return SaveFile(path, env.context.profileImage, env.writeChunk);
}

}  // namespace tarnel
