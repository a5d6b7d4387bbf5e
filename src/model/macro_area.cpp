#include "model/macro_area.h"

#include <algorithm>
#include <string>

#include "common/le_bytes.h"

namespace tarnel {
namespace {

struct ModifierBit {
    uint16_t keyId;
    uint8_t bit;
};
constexpr ModifierBit kModifierBits[] = {
    {0x01D, 0x01}, {0x02A, 0x02}, {0x038, 0x04}, {0x15B, 0x08},
    {0x11D, 0x10}, {0x036, 0x20}, {0x138, 0x40}, {0x15C, 0x80},
};

constexpr uint16_t kTimingDelayMask = 0x0FFF;
constexpr uint16_t kTimingPressBit = 0x8000;
constexpr int kTimingGroupShift = 12;
constexpr uint8_t kCodeGroupKey = 2;
constexpr uint8_t kCodeGroupSystem = 4;
constexpr uint8_t kKeyByteModifier = 0x01;
constexpr uint8_t kKeyByteUsage = 0x02;

bool isSystemCode(uint8_t code) { return code >= 0x81 && code <= 0x83; }
bool isMouseCode(uint8_t code) { return code >= 0xF1 && code <= 0xF8; }

uint16_t timingOf(const MacroAction& action, uint8_t group) {
    // Twelve bits of tens of milliseconds. A longer delay (only a file can carry one) becomes
    // the longest the keyboard can wait rather than wrapping round to a short one.
    uint32_t tens = std::min<uint32_t>(action.delayMs / 10, kTimingDelayMask);
    uint16_t timing = uint16_t(tens | unsigned(group & 7) << kTimingGroupShift);
    if (action.state != MacroRelease) timing |= kTimingPressBit;
    return timing;
}

size_t entrySize(const MacroRecord& record, bool withNames) {
    size_t size = kMacroEntryHeaderSize + kMacroStepSize * StoredActionCount(record);
    if (withNames) size += 2 * StoredMacroName(record).size();
    return size;
}

size_t areaSize(std::span<const MacroRecord> list, bool withNames) {
    size_t size = kMacroAreaHeaderSize + 2 * list.size();
    for (const MacroRecord& record : list) size += entrySize(record, withNames);
    return size;
}

std::u16string generatedName(std::u16string_view prefix, size_t number) {
    std::u16string name(prefix);
    for (char c : std::to_string(number)) name.push_back(char16_t(c));
    return name;
}

// One entry at `offset`, reading only inside `in`. False when the entry is cut short: its
// header does not fit (nothing is added) or a step runs past the end (the whole steps before
// it are kept); either way the decoding ends there.
bool decodeEntry(const ByteReader& in, size_t offset, size_t index, std::u16string_view prefix,
                 const MacroKeyCodes& codes, MacroList& out) {
    uint16_t declared = 0;
    uint8_t repeat = 0, nameLength = 0;
    if (!in.le16(offset, declared) || !in.u8(offset + 2, repeat) ||
        !in.u8(offset + 3, nameLength))
        return false;

    MacroRecord record;
    record.repeatCount = repeat;
    record.macroId = uint16_t(index + 1);
    // No record holds more than 4000 steps: the rest of a longer entry is left unread.
    size_t count = std::min<size_t>(declared, kMaxMacroActions);
    bool whole = true;
    for (size_t i = 0; i < count; ++i) {
        size_t at = offset + kMacroEntryHeaderSize + kMacroStepSize * i;
        if (!in.has(at, kMacroStepSize)) {
            whole = false;
            break;
        }
        uint16_t timing = getLe16(in.bytes().data() + at);
        uint8_t group = uint8_t((timing >> kTimingGroupShift) & 7);
        uint8_t byte1 = in.bytes()[at + 2], byte2 = in.bytes()[at + 3];
        MacroAction action;
        action.delayMs = uint32_t(timing & kTimingDelayMask) * 10;
        action.keyId = codes.keyIdOfCode ? codes.keyIdOfCode(group, byte1, byte2) : 0;
        action.state = (timing & kTimingPressBit) ? MacroPress : MacroRelease;
        record.actions.push_back(action);
    }

    // The name follows every step the entry declares. One that runs past the end is dropped
    // and the generated name used, as for an entry without a name.
    size_t nameAt = offset + kMacroEntryHeaderSize + kMacroStepSize * size_t(declared);
    if (whole && nameLength > 0 && in.has(nameAt, 2 * size_t(nameLength))) {
        for (size_t i = 0; i < nameLength && record.name.size() < kMaxMacroNameUnits; ++i) {
            char16_t unit = char16_t(getLe16(in.bytes().data() + nameAt + 2 * i));
            if (unit == u'\0') break;
            record.name.push_back(unit);
        }
    } else {
        record.name = generatedName(prefix, index + 1);
    }
    out.push_back(std::move(record));
    return whole;
}

}  // namespace

MacroStepCode StepCodeOfKey(uint16_t keyId, const MacroKeyCodes& codes) {
    for (const ModifierBit& m : kModifierBits)
        if (m.keyId == keyId) return {kCodeGroupKey, kKeyByteModifier, m.bit};
    uint8_t device = codes.deviceCodeOf ? codes.deviceCodeOf(keyId) : 0;
    if (isSystemCode(device)) return {kCodeGroupSystem, device, 0x00};
    if (device == 0x00 || device == 0xFF || isMouseCode(device)) return {};
    return {kCodeGroupKey, kKeyByteUsage, device};
}

MacroAreaSize MacroAreaSizes(std::span<const MacroRecord> list) {
    return {areaSize(list, true), areaSize(list, false)};
}

std::vector<uint8_t> BuildMacroArea(std::span<const MacroRecord> list, size_t size,
                                    bool withNames, const MacroKeyCodes& codes) {
    if (size != areaSize(list, withNames) || size > kMaxMacroAreaSize) return {};
    std::vector<uint8_t> area(size, 0);
    uint8_t* p = area.data();
    putLe16(p, kMacroAreaMagic);
    putLe16(p + 2, uint16_t(size));
    putLe16(p + 4, uint16_t(list.size()));
    putLe16(p + 6, withNames ? 1 : 0);

    size_t pos = kMacroAreaHeaderSize + 2 * list.size();
    for (size_t i = 0; i < list.size(); ++i) {
        const MacroRecord& record = list[i];
        putLe16(p + kMacroAreaHeaderSize + 2 * i, uint16_t(pos));
        size_t count = StoredActionCount(record);
        std::u16string_view name = withNames ? StoredMacroName(record) : std::u16string_view();
        putLe16(p + pos, uint16_t(count));
        p[pos + 2] = record.repeatCount;
        p[pos + 3] = uint8_t(name.size());
        pos += kMacroEntryHeaderSize;
        for (size_t s = 0; s < count; ++s) {
            const MacroAction& action = record.actions[s];
            MacroStepCode code = StepCodeOfKey(action.keyId, codes);
            putLe16(p + pos, timingOf(action, code.group));
            p[pos + 2] = code.byte1;
            p[pos + 3] = code.byte2;
            pos += kMacroStepSize;
        }
        for (char16_t unit : name) {
            putLe16(p + pos, uint16_t(unit));
            pos += 2;
        }
    }
    return area;
}

size_t MacroAreaLength(std::span<const uint8_t> header, size_t capacity) {
    ByteReader in(header);
    uint16_t magic = 0, total = 0;
    if (!in.le16(0, magic) || !in.le16(2, total) || magic != kMacroAreaMagic) return 0;
    // An area shorter than its own header, or longer than the keyboard can hold, is not one
    // the tool wrote: it reads as no macros at all.
    if (total < kMacroAreaHeaderSize || total > capacity) return 0;
    return total;
}

MacroList DecodeMacroArea(std::span<const uint8_t> area, size_t capacity,
                          std::u16string_view newPrefix, const MacroKeyCodes& codes) {
    MacroList list;
    size_t total = MacroAreaLength(area, capacity);
    if (total == 0) return list;
    // Nothing past the bytes actually read, nor past the area's own size, is looked at.
    ByteReader in(area.first(std::min(total, area.size())));
    uint16_t declared = 0;
    if (!in.le16(4, declared)) return list;
    // A list never holds more than 100 macros; further entries are left unread.
    size_t count = std::min<size_t>(declared, kMaxMacros);
    for (size_t i = 0; i < count; ++i) {
        // An offset outside the bytes read ends the decoding: later entries cannot be trusted.
        uint16_t offset = 0;
        if (!in.le16(kMacroAreaHeaderSize + 2 * i, offset)) break;
        if (!decodeEntry(in, offset, i, newPrefix, codes, list)) break;
    }
    return list;
}

int MacroIndexOfId(std::span<const MacroRecord> list, int id) {
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].macroId == id) return int(i);
    return 0;
}

int FreeMacroId(std::span<const MacroRecord> list) {
    for (int id = 1; id <= kMaxMacroId; ++id)
        if (std::none_of(list.begin(), list.end(),
                         [id](const MacroRecord& r) { return r.macroId == id; }))
            return id;
    return 0;
}

}  // namespace tarnel
