// The profile image: the 32832-byte block of header, identity block and four key banks, the
// macro blocks that follow it, and the strings of the key records that carry text. Its byte
// layout is also the layout of a profile file (.zkp) and of the per-slot cache files:
//
//   0x0000  32 bytes  header (BuildHeader)
//   0x0020  32 bytes  identity block
//   0x0040  4 x 512 key records of 16 bytes (bank n = onboard profile n, bank 3 carried)
//   0x8040  macroCount x 0x7F00 macro blocks
//   then    the string area: UTF-16LE strings of records of kind 3 and 6, each with its zero
//
// In the edited image a record of kind 3 or 6 finds its string through ActionStrings; in a
// file and in the applied snapshot its value field holds the string's offset in the area.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/key_action.h"
#include "model/macro_record.h"

namespace tarnel {

inline constexpr size_t kProfileImageSize = 0x8040;
inline constexpr size_t kProfileHeaderSize = 0x20;
inline constexpr size_t kIdentityOffset = 0x20;
inline constexpr size_t kIdentitySize = 0x20;
inline constexpr uint16_t kProfileMagic = 0x4446;
inline constexpr uint16_t kProfileRecordCount = 0x0800;

// Header fields (offsets into the image).
inline constexpr size_t kHeaderMagicOffset = 0;
inline constexpr size_t kHeaderSizeOffset = 2;
inline constexpr size_t kHeaderMajorOffset = 4;  // always 3
inline constexpr size_t kHeaderMinorOffset = 6;  // always 1
inline constexpr size_t kHeaderTotalOffset = 8;  // u32: whole file size
inline constexpr size_t kHeaderRecordsOffset = 12;
inline constexpr size_t kHeaderMacroCountOffset = 14;
inline constexpr size_t kHeaderStringBytesOffset = 16;  // u32
inline constexpr size_t kHeaderFlagOffset = 30;
inline constexpr size_t kHeaderChecksumOffset = 31;

// The strings of the key records, one entry per record of the key area (bank x 512 + slot).
// An entry keeps its string with the terminating zero, so its byte length counts the
// terminator; an empty entry (length 0) means the record has no string.
class ActionStrings {
  public:
    ActionStrings() : m_entries(size_t(kKeyAreaRecords)) {}

    // The text without its terminator; empty for an empty entry or a record out of range.
    std::u16string_view text(int record) const;
    // Bytes of the stored string including the terminator; 0 when none.
    uint32_t byteLength(int record) const;
    // The string's bytes as stored (UTF-16LE units with the terminator).
    std::u16string_view stored(int record) const;
    uint64_t total() const { return m_total; }

    // Stores `text` (cut at its first zero unit) with a terminator. False for a record out of
    // range.
    bool set(int record, std::u16string_view text);
    void clear(int record);
    void clearAll();

    bool operator==(const ActionStrings&) const = default;

  private:
    std::vector<std::u16string> m_entries;  // each with its terminator, or empty
    uint64_t m_total = 0;
};

// The edited image with its macro list and strings (AppContext, guarded by dataLock).
struct ProfileImage {
    std::vector<uint8_t> image = std::vector<uint8_t>(kProfileImageSize, 0);
    std::vector<uint8_t> macroBlocks;  // macroCount x kMacroRecordSize bytes, in list order
    uint16_t macroCount = 0;
    ActionStrings actionStrings;

    std::span<uint8_t> keyArea() {
        return std::span(image).subspan(kKeyAreaImageOffset, kKeyAreaSize);
    }
    std::span<const uint8_t> keyArea() const {
        return std::span(image).subspan(kKeyAreaImageOffset, kKeyAreaSize);
    }
    bool operator==(const ProfileImage&) const = default;
};

// What the last apply sent (AppContext, guarded by appliedLock): a copy of the image whose
// records of kind 3 and 6 hold string offsets, the macro blocks and the packed string area.
struct AppliedSnapshot {
    std::vector<uint8_t> image;  // empty until the first apply
    std::vector<uint8_t> macroBlocks;
    uint16_t macroCount = 0;
    std::vector<uint8_t> stringArea;

    std::span<const uint8_t> keyArea() const {
        if (image.size() < kProfileImageSize) return {};
        return std::span(image).subspan(kKeyAreaImageOffset, kKeyAreaSize);
    }
};

// The sum of header bytes 0..30, modulo 256.
uint8_t HeaderChecksum(std::span<const uint8_t> header);
// Writes the 32-byte header at the start of `image` (at least kProfileHeaderSize bytes).
// False, nothing written, for a short buffer or sizes that a header cannot hold.
bool BuildHeader(std::span<uint8_t> image, size_t macroCount, uint64_t stringBytes, uint8_t flag);
// Writes the identity block at offset 0x20.
void WriteIdentityBlock(std::span<uint8_t> image);

// A fresh image: header (no macros, no strings, `flag`), identity block, all records zero
// except the special slots of bank 0.
ProfileImage CreateDefaultImage(uint8_t flag = 0);

// Packs the strings of records of kind 3 and 6 into a string area of actionStrings.total()
// bytes, in record order from offset 0, and stores each string's offset in its record's value
// field in `keyArea`. A record whose string would not fit is left as it is.
std::vector<uint8_t> PackStrings(std::span<uint8_t> keyArea, const ActionStrings& strings);

// The strings of records of kind 3 and 6 from a string area. A string whose offset lies
// outside the area, or that has no terminator inside it, is skipped: its record keeps its
// kind and gets no string. Strings that overlap are taken only while their total stays within
// the area's size, so a crafted area cannot make the copies outgrow the file.
ActionStrings UnpackStrings(std::span<const uint8_t> keyArea, std::span<const uint8_t> area);

// Makes macro blocks read from a file safe for every later reader: a step count above 4000
// becomes 4000, a name without a terminator in its 250 units is cut at 249.
void SanitizeMacroBlocks(std::span<uint8_t> blocks);

// Whether a record's kind carries a string.
inline bool KindHasString(uint16_t kind) {
    return kind == KindRunProgram || kind == KindTextBlock;
}

}  // namespace tarnel
