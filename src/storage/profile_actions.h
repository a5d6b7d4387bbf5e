// The user's profile actions, one function each: apply, import, export, switch slot, backup,
// and the load from the keyboard at connection. The windows and the command-line front end
// both call these; they hold no state of their own.
//
// Locks, always in this order: dataLock -> appliedLock -> the command connection's
// transaction lock (taken inside the command set). Each function takes what it needs; both
// locks are re-entrant, so a caller may already hold them (in that order).
#pragma once
#include <functional>
#include <string>

#include "model/key_table.h"
#include "storage/profile_file.h"

namespace tarnel {

struct AppContext;
class CommandSet;
class Prompter;
class ProfileWindowPort;

inline constexpr const char* kImportFailedKey = "MAIN_PROMPT_INPORT";
inline constexpr const char* kSwitchEditorOpenKey = "PROFILE_SEELCT_PROMPT2";
inline constexpr const char* kSwitchPendingKey = "PROFILE_SELECT_PROMPT";
inline constexpr const char* kDefaultProfileNameKey = "DEFAULT_PROFILE_NAME";
inline constexpr const char* kProfileTipKey = "PROFILE_TIP";
inline constexpr const char* kMacroNewPrefixKey = "MACRO_NEW_PREFIX";

// Everything the actions work with. Every reference must outlive the call.
struct ProfileEnv {
    AppContext& context;
    CommandSet& commands;  // over the command connection and context.link
    Prompter& prompter;
    ProfileWindowPort& window;
    LangLookup lang;                        // texts of the current language; may be empty
    std::function<void()> ensureUserFiles;  // the user data folder and lighting files; may be empty
    FileChunkWriter writeChunk;             // how file bytes are written; empty = plainly
};

// Apply (the main window's apply command): when changes are pending, SaveCache and
// ApplyToKeyboard (the active profile; all three after an import the keyboard did not take)
// under dataLock; the window is marked clean when both succeeded. 1 when both succeeded or
// nothing was pending, else 0.
int ApplyChanges(ProfileEnv& env);

// Sends the image: snapshots it into the applied snapshot and writes the macro area and the
// key tables (all three profiles when `allProfiles`, else the active one). The writer's result
// (1 = success); 0 with nothing sent when the snapshot cannot be taken.
int ApplyToKeyboard(ProfileEnv& env, bool allProfiles);

// Import of a profile file: validate, load into new buffers, replace the image, SaveCache,
// ApplyToKeyboard (all profiles), refresh the key buttons, mark the window clean. When the
// keyboard write fails the imported image stays, the window is marked pending instead and the
// next Apply sends all three profiles.
// 1 when loaded and written; 0 when refused (MAIN_PROMPT_INPORT shown, nothing changed);
// -1 when loaded but the keyboard write failed.
int ImportProfile(ProfileEnv& env, const std::string& path);

// Export: SaveFile of the image under dataLock. The result is not shown to the user.
bool ExportProfile(ProfileEnv& env, const std::string& path);

// The switch of the keyboard's active slot with its prompts (slot numbers from 3 up mean 0).
// 1 when switched; 0 when refused because the key editor is open.
int SwitchSlot(ProfileEnv& env, int slot);

// Reads the three slots' key tables and the macro memory from the keyboard and writes them as
// a profile file. 1 or 0; nothing is written on failure.
int BackupKeyboard(ProfileEnv& env, const std::string& path);

// The load at connection: back up the keyboard into the active slot's cache file and load it;
// when that fails the image becomes the default one. Unless `quiet`, the window is marked
// clean.
void LoadFromKeyboard(ProfileEnv& env, bool quiet);

// SaveFile to the active slot's cache file, only when that file already exists. 1 or 0.
int SaveCache(ProfileEnv& env, bool takeLock);

// The image becomes a fresh default image (under dataLock).
void CreateDefault(AppContext& context, uint8_t flag = 0);

// The active slot's name on the profile button (DEFAULT_PROFILE_NAME when it is not known),
// and as its tooltip after PROFILE_TIP.
void ShowActiveProfileName(ProfileEnv& env);

}  // namespace tarnel
