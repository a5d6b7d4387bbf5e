#include "model/key_writer.h"

#include <new>
#include <vector>

#include "common/prompter.h"
#include "devicelink/command_set.h"
#include "devicelink/link_state.h"
#include "devicelink/result.h"
#include "model/key_action.h"
#include "model/macro_area.h"
#include "model/macro_record.h"

namespace tarnel {
namespace {

struct EncodedTable {
    int profile;
    std::vector<uint8_t> bytes;
};

void tell(Prompter& prompter, const char* langKey) {
    prompter.ask(langKey, PromptButtons::Ok, PromptIcon::Warning, {}, /*topmost=*/true);
}

// The profiles to write: all three, or the active one. Empty when the active profile cannot be
// read: writing "some" profile's table then could overwrite a profile the user never edited.
std::vector<int> profilesToWrite(CommandSet& commands, bool allProfiles) {
    if (allProfiles) return {0, 1, 2};
    int active = commands.GetActiveProfile();
    if (active < 0 || active >= kProfileCount) return {};
    return {active};
}

// Every table is encoded before anything is sent, so a table that cannot be encoded stops the
// write before the keyboard has been touched.
std::vector<EncodedTable> encodeTables(const KeyboardTarget& target, const AppliedRecords& records,
                                       std::span<const int> profiles, const MacroList& macros) {
    const KeyboardModel& model = target.commands.link().keyboardModel();
    std::vector<EncodedTable> tables;
    for (int p : profiles) {
        std::vector<uint8_t> bytes =
            EncodeKeyTable(records.keyArea, p, target.defaultMatrix, model, macros);
        if (bytes.empty()) return {};
        tables.push_back({p, std::move(bytes)});
    }
    return tables;
}

int writeGroup(CommandSet& commands, const std::vector<uint8_t>& area,
               const std::vector<EncodedTable>& tables) {
    // The apply succeeded only when the keyboard took the whole group: the opening, every data
    // write and the closing. A refused opening sends no data; the group is closed in any case.
    bool ok = commands.CmdBegin() == ResultOk;
    if (ok) ok = commands.CmdWriteMacros(area.data(), int(area.size())) == ResultOk;
    for (const EncodedTable& t : tables) {
        if (!ok) break;
        ok = commands.CmdWriteKeyTable(t.bytes.data(), t.profile) == ResultOk;
    }
    ok = commands.CmdEnd() == ResultOk && ok;
    return ok ? 1 : 0;
}

int writeRecords(const KeyboardTarget& target, const AppliedRecords& records, bool allProfiles) {
    const MacroList macros = MacroListOfBlocks(records.macroBlocks, records.macroCount);
    const MacroAreaSize sizes = MacroAreaSizes(macros);
    if (sizes.bare > target.macroCapacity) {
        tell(target.prompter, kMacroTooLongKey);
        return 0;
    }
    const bool withNames = sizes.full <= target.macroCapacity;
    const std::vector<uint8_t> area =
        BuildMacroArea(macros, withNames ? sizes.full : sizes.bare, withNames);
    if (area.empty()) return 0;

    const std::vector<int> profiles = profilesToWrite(target.commands, allProfiles);
    if (profiles.empty()) return 0;
    const std::vector<EncodedTable> tables = encodeTables(target, records, profiles, macros);
    if (tables.size() != profiles.size()) return 0;

    int result = writeGroup(target.commands, area, tables);
    if (!withNames) tell(target.prompter, kProfileSpaceTightKey);
    return result;
}

}  // namespace

int WriteToKeyboard(const KeyboardTarget& target, const AppliedRecords& records, bool allProfiles) {
    try {
        return writeRecords(target, records, allProfiles);
    } catch (const std::bad_alloc&) {
        return 0;  // the area or a table could not be allocated; nothing more is sent
    }
}

}  // namespace tarnel
