#include "model/macro_record.h"

#include <algorithm>
#include <cstring>

#include "common/le_bytes.h"

namespace tarnel {

std::u16string_view StoredMacroName(const MacroRecord& record) {
    std::u16string_view name(record.name);
    name = name.substr(0, name.find(u'\0'));
    return name.substr(0, kMaxMacroNameUnits);
}

size_t StoredActionCount(const MacroRecord& record) {
    return std::min(record.actions.size(), size_t(kMaxMacroActions));
}

void WriteMacroRecord(const MacroRecord& record, std::span<uint8_t, kMacroRecordSize> dest) {
    uint8_t* p = dest.data();
    std::memset(p, 0, kMacroRecordSize);
    std::u16string_view name = StoredMacroName(record);
    for (size_t i = 0; i < name.size(); ++i)
        putLe16(p + kMacroNameOffset + 2 * i, uint16_t(name[i]));
    p[kMacroRepeatOffset] = record.repeatCount;
    putLe16(p + kMacroIsNewOffset, record.isNew);
    putLe16(p + kMacroIdOffset, record.macroId);
    size_t count = StoredActionCount(record);
    putLe16(p + kMacroCountOffset, uint16_t(count));
    for (size_t i = 0; i < count; ++i) {
        uint8_t* step = p + kMacroActionsOffset + kMacroActionSize * i;
        const MacroAction& action = record.actions[i];
        putLe32(step, action.delayMs);
        putLe16(step + 4, action.keyId);
        putLe16(step + 6, action.state);
    }
}

MacroRecord ReadMacroRecord(std::span<const uint8_t, kMacroRecordSize> src) {
    const uint8_t* p = src.data();
    MacroRecord record;
    // Files come from anywhere: a name without its terminator stops at the record's room.
    for (size_t i = 0; i < kMaxMacroNameUnits; ++i) {
        char16_t unit = char16_t(getLe16(p + kMacroNameOffset + 2 * i));
        if (unit == u'\0') break;
        record.name.push_back(unit);
    }
    record.repeatCount = p[kMacroRepeatOffset];
    record.isNew = getLe16(p + kMacroIsNewOffset);
    record.macroId = getLe16(p + kMacroIdOffset);
    // More steps than the record has room for cannot be meant; read the ones it holds.
    size_t count = std::min<size_t>(getLe16(p + kMacroCountOffset), kMaxMacroActions);
    record.actions.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* step = p + kMacroActionsOffset + kMacroActionSize * i;
        record.actions[i] = {getLe32(step), getLe16(step + 4), getLe16(step + 6)};
    }
    return record;
}

std::vector<uint8_t> MacroBlocksOf(const MacroList& list) {
    size_t count = std::min(list.size(), size_t(kMaxMacros));
    std::vector<uint8_t> blocks(count * kMacroRecordSize);
    for (size_t i = 0; i < count; ++i)
        WriteMacroRecord(list[i], std::span<uint8_t, kMacroRecordSize>(
                                      blocks.data() + i * kMacroRecordSize, kMacroRecordSize));
    return blocks;
}

MacroList MacroListOfBlocks(std::span<const uint8_t> blocks, size_t count) {
    count = std::min({count, size_t(kMaxMacros), blocks.size() / kMacroRecordSize});
    MacroList list;
    list.reserve(count);
    for (size_t i = 0; i < count; ++i)
        list.push_back(ReadMacroRecord(std::span<const uint8_t, kMacroRecordSize>(
            blocks.data() + i * kMacroRecordSize, kMacroRecordSize)));
    return list;
}

}  // namespace tarnel
