// Reading the keyboard's contents into a profile file, and the load at connection.
#include <array>
#include <new>

#include "app/app_context.h"
#include "common/le_bytes.h"
#include "devicelink/command_set.h"
#include "model/macro_area.h"
#include "storage/profile_actions.h"
#include "storage/profile_slots.h"
#include "storage/profile_window_port.h"

namespace tarnel {
namespace {

// UTF-8 text to UTF-16 units; a malformed sequence gives U+FFFD.
std::u16string toUtf16(std::string_view text) {
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        const auto lead = uint8_t(text[i]);
        const int extra = lead < 0x80         ? 0
                          : (lead >> 5) == 6  ? 1
                          : (lead >> 4) == 14 ? 2
                          : (lead >> 3) == 30 ? 3
                                              : -1;
        uint32_t code = extra <= 0 ? lead : lead & (0x7Fu >> (extra + 1));
        bool ok = extra >= 0 && i + size_t(extra) < text.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const auto next = uint8_t(text[i + size_t(k)]);
            ok = (next & 0xC0) == 0x80;
            code = code << 6 | (next & 0x3F);
        }
        if (!ok || code > 0x10FFFF) {
            out.push_back(u'\xFFFD');
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(char16_t(0xD800 + (code >> 10)));
            out.push_back(char16_t(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(char16_t(code));
        }
        i += size_t(extra) + 1;
    }
    return out;
}

using KeyTables = std::array<std::array<uint8_t, kMaxKeyTableSize>, kSlotCount>;

bool readKeyTables(CommandSet& commands, KeyTables& tables) {
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (commands.CmdReadKeyTable(tables[size_t(slot)].data(), slot) != ResultOk) return false;
    return true;
}

// The keyboard's macro list; false when a read failed. A header without the area's magic
// (or with a size the keyboard cannot hold) is an empty list.
bool readMacros(ProfileEnv& env, MacroList& macros) {
    uint8_t header[kMacroAreaHeaderSize] = {};
    if (env.commands.CmdReadMacros(header, int(sizeof header)) != ResultOk) return false;
    const int capacityBytes = env.context.macroCapacity.load();
    const size_t capacity = capacityBytes > 0 ? size_t(capacityBytes) : kMaxMacroAreaSize;
    const size_t length = MacroAreaLength(header, capacity);
    if (length == 0) return true;
    std::vector<uint8_t> area(length);
    if (env.commands.CmdReadMacros(area.data(), int(length)) != ResultOk) return false;
    const std::u16string prefix = env.lang ? toUtf16(env.lang(kMacroNewPrefixKey)) : u"";
    macros = DecodeMacroArea(area, capacity, prefix);
    if (macros.size() > size_t(kMaxMacros)) macros.resize(size_t(kMaxMacros));
    return true;
}

ProfileImage imageOfKeyboard(ProfileEnv& env, const KeyTables& tables, const MacroList& macros) {
    ProfileImage image;
    WriteIdentityBlock(image.image);
    const KeyboardModel& model = env.commands.link().keyboardModel();
    const DefaultMatrix matrix = env.context.defaultMatrix();
    for (int slot = 0; slot < kSlotCount; ++slot)
        DecodeKeyTable(
            image.keyArea(), slot,
            std::span<const uint8_t>(tables[size_t(slot)]).first(size_t(model.keyTableSize)),
            matrix, model.keyCount);
    image.macroBlocks = MacroBlocksOf(macros);
    image.macroCount = uint16_t(macros.size());
    BuildHeader(image.image, image.macroCount, 0, 0);
    return image;
}

}  // namespace

int BackupKeyboard(ProfileEnv& env, const std::string& path) {
    // Only slots 0..2 exist; an active profile outside them is not a keyboard to copy.
    if (!IsSlot(env.commands.GetActiveProfile())) return 0;
    try {
        KeyTables tables{};
        MacroList macros;
        if (!readKeyTables(env.commands, tables) || !readMacros(env, macros)) return 0;
        ProfileImage image = imageOfKeyboard(env, tables, macros);
        return SaveFile(path, image, env.writeChunk) ? 1 : 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

void LoadFromKeyboard(ProfileEnv& env, bool quiet) {
    if (env.ensureUserFiles) env.ensureUserFiles();
    // The keyboard is read outside dataLock: the image is not touched until the file is loaded.
    std::optional<ProfileImage> loaded;
    const int slot = env.commands.GetActiveProfile();
    if (IsSlot(slot)) {
        const std::string path = SlotCachePath(env.context.paths.userDataDir, slot);
        if (BackupKeyboard(env, path) == 1) loaded = LoadFile(path);
    }
    {
        std::lock_guard<std::recursive_mutex> data(env.context.dataLock);
        env.context.profileImage = loaded ? std::move(*loaded) : CreateDefaultImage(0);
        env.context.applyAllProfiles = false;
        env.window.refreshKeyButtons();
    }
    if (!quiet) env.window.markClean();
}

}  // namespace tarnel
