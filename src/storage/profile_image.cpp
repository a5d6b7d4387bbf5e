#include "storage/profile_image.h"

#include <algorithm>
#include <array>
#include <limits>

#include "common/le_bytes.h"

namespace tarnel {
namespace {

// The identity block every file carries: bytes 16..19 are the vendor and product id of
// model A. The tool writes it and never reads it.
constexpr std::array<uint8_t, kIdentitySize> kIdentityBlock = {
    0x4B, 0x48, 0x20, 0x00, 0x20, 0x80, 0x00, 0x00, 0x04, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00,
    0x45, 0x0C, 0x04, 0x50, 0x4F, 0x1C, 0x0E, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

bool validRecord(int record) {
    return record >= 0 && record < kKeyAreaRecords;
}

}  // namespace

std::u16string_view ActionStrings::text(int record) const {
    std::u16string_view s = stored(record);
    return s.empty() ? s : s.substr(0, s.size() - 1);
}

uint32_t ActionStrings::byteLength(int record) const {
    return uint32_t(stored(record).size() * 2);
}

std::u16string_view ActionStrings::stored(int record) const {
    if (!validRecord(record)) return {};
    return m_entries[size_t(record)];
}

bool ActionStrings::set(int record, std::u16string_view text) {
    if (!validRecord(record)) return false;
    clear(record);
    std::u16string& entry = m_entries[size_t(record)];
    entry.assign(text.substr(0, text.find(u'\0')));
    entry.push_back(u'\0');
    m_total += entry.size() * 2;
    return true;
}

void ActionStrings::clear(int record) {
    if (!validRecord(record)) return;
    std::u16string& entry = m_entries[size_t(record)];
    m_total -= entry.size() * 2;
    entry.clear();
}

void ActionStrings::clearAll() {
    for (auto& entry : m_entries) entry.clear();
    m_total = 0;
}

uint8_t HeaderChecksum(std::span<const uint8_t> header) {
    uint8_t sum = 0;
    for (size_t i = 0; i < kHeaderChecksumOffset && i < header.size(); ++i)
        sum = uint8_t(sum + header[i]);
    return sum;
}

bool BuildHeader(std::span<uint8_t> image, size_t macroCount, uint64_t stringBytes, uint8_t flag) {
    if (image.size() < kProfileHeaderSize || macroCount > size_t(kMaxMacros)) return false;
    const uint64_t total = kProfileImageSize + macroCount * kMacroRecordSize + stringBytes;
    if (total > std::numeric_limits<uint32_t>::max()) return false;
    uint8_t* p = image.data();
    std::fill(p, p + kProfileHeaderSize, uint8_t(0));
    putLe16(p + kHeaderMagicOffset, kProfileMagic);
    putLe16(p + kHeaderSizeOffset, uint16_t(kProfileHeaderSize));
    putLe16(p + kHeaderMajorOffset, 3);
    putLe16(p + kHeaderMinorOffset, 1);
    putLe32(p + kHeaderTotalOffset, uint32_t(total));
    putLe16(p + kHeaderRecordsOffset, kProfileRecordCount);
    putLe16(p + kHeaderMacroCountOffset, uint16_t(macroCount));
    putLe32(p + kHeaderStringBytesOffset, uint32_t(stringBytes));
    p[kHeaderFlagOffset] = flag;
    p[kHeaderChecksumOffset] = HeaderChecksum(image.first(kProfileHeaderSize));
    return true;
}

void WriteIdentityBlock(std::span<uint8_t> image) {
    if (image.size() < kIdentityOffset + kIdentitySize) return;
    std::copy(kIdentityBlock.begin(), kIdentityBlock.end(), image.begin() + kIdentityOffset);
}

ProfileImage CreateDefaultImage(uint8_t flag) {
    ProfileImage fresh;
    BuildHeader(fresh.image, 0, 0, flag);
    WriteIdentityBlock(fresh.image);
    ClearBank(fresh.keyArea(), 0);
    return fresh;
}

std::vector<uint8_t> PackStrings(std::span<uint8_t> keyArea, const ActionStrings& strings) {
    const uint64_t total = strings.total();
    std::vector<uint8_t> area(size_t(total), 0);
    uint64_t offset = 0;
    for (int record = 0; record < kKeyAreaRecords; ++record) {
        const uint32_t length = strings.byteLength(record);
        if (length == 0 || offset + length > total) continue;
        KeyAction action = ReadKeyAction(keyArea, record);
        if (!KindHasString(action.kind)) continue;
        // Every length is even, so offsets stay on unit boundaries.
        const size_t at = size_t(offset) & ~size_t(1);
        std::u16string_view units = strings.stored(record);
        for (size_t i = 0; i < units.size(); ++i)
            putLe16(area.data() + at + 2 * i, uint16_t(units[i]));
        action.value = uint32_t(at);
        WriteKeyAction(keyArea, record, action);
        offset = at + length;
    }
    return area;
}

ActionStrings UnpackStrings(std::span<const uint8_t> keyArea, std::span<const uint8_t> area) {
    // Terminator positions (unit indexes), found in one pass so that no offset in a crafted
    // file makes the search run over the area more than once.
    const size_t units = area.size() / 2;
    std::vector<uint32_t> zeros;
    for (size_t u = 0; u < units; ++u)
        if (getLe16(area.data() + 2 * u) == 0) zeros.push_back(uint32_t(u));
    ActionStrings strings;
    for (int record = 0; record < kKeyAreaRecords; ++record) {
        const KeyAction action = ReadKeyAction(keyArea, record);
        if (!KindHasString(action.kind)) continue;
        const size_t first = action.value / 2;  // the offset with its lowest bit cleared
        if (first >= units) continue;
        const auto end = std::lower_bound(zeros.begin(), zeros.end(), uint32_t(first));
        if (end == zeros.end()) continue;
        // Strings that overlap cannot come from our writer; never copy more than the area.
        const uint64_t bytes = (uint64_t(*end) - first + 1) * 2;
        if (strings.total() + bytes > area.size()) continue;
        std::u16string text;
        text.reserve(*end - first);
        for (size_t u = first; u < *end; ++u)
            text.push_back(char16_t(getLe16(area.data() + 2 * u)));
        strings.set(record, text);
    }
    return strings;
}

void SanitizeMacroBlocks(std::span<uint8_t> blocks) {
    for (size_t base = 0; base + kMacroRecordSize <= blocks.size(); base += kMacroRecordSize) {
        uint8_t* p = blocks.data() + base;
        if (getLe16(p + kMacroCountOffset) > kMaxMacroActions)
            putLe16(p + kMacroCountOffset, uint16_t(kMaxMacroActions));
        bool terminated = false;
        for (size_t i = 0; i <= kMaxMacroNameUnits && !terminated; ++i)
            terminated = getLe16(p + kMacroNameOffset + 2 * i) == 0;
        if (!terminated) putLe16(p + kMacroNameOffset + 2 * kMaxMacroNameUnits, 0);
    }
}

}  // namespace tarnel
