#include "storage/profile_file.h"

#include <filesystem>
#include <limits>
#include <memory>
#include <new>
#include <random>
#include <system_error>

#include "common/le_bytes.h"
#include "common/prompter.h"

namespace tarnel {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool readExactly(std::FILE* file, uint8_t* dest, size_t count) {
    return count == 0 || std::fread(dest, 1, count, file) == count;
}

// Size of a regular file; nothing when it cannot be had.
std::optional<uint64_t> fileSize(const std::string& path) {
    std::error_code error;
    const uint64_t size = std::filesystem::file_size(path, error);
    if (error) return std::nullopt;
    return size;
}

// True when the 32 header bytes describe a file of this tool's format.
bool headerIsWellFormed(const uint8_t* h) {
    const uint32_t total = getLe32(h + kHeaderTotalOffset);
    const uint16_t macros = getLe16(h + kHeaderMacroCountOffset);
    const uint32_t strings = getLe32(h + kHeaderStringBytesOffset);
    return getLe16(h + kHeaderMagicOffset) == kProfileMagic &&
           getLe16(h + kHeaderSizeOffset) == kProfileHeaderSize &&
           getLe16(h + kHeaderMajorOffset) == 3 && getLe16(h + kHeaderMinorOffset) == 1 &&
           total >= kProfileImageSize && getLe16(h + kHeaderRecordsOffset) == kProfileRecordCount &&
           macros <= kMaxMacros && h[kHeaderFlagOffset] <= 1 &&
           uint64_t(total) == uint64_t(macros) * kMacroRecordSize + strings + kProfileImageSize &&
           h[kHeaderChecksumOffset] ==
               HeaderChecksum(std::span<const uint8_t>(h, kProfileHeaderSize));
}

std::string temporaryPathBeside(const std::string& path) {
    std::random_device random;
    return path + ".tmp" + std::to_string(random()) + std::to_string(random());
}

size_t plainWrite(std::FILE* file, std::span<const uint8_t> bytes) {
    return bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), file);
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::span<const std::span<const uint8_t>> parts,
                         const FileChunkWriter& writer) {
    // Through a symbolic link the file it names is replaced, and the link stays.
    std::error_code error;
    std::string target = path;
    if (std::filesystem::is_symlink(path, error)) {
        const auto resolved = std::filesystem::weakly_canonical(path, error);
        if (error) return false;
        target = resolved.string();
    }
    const std::string temporary = temporaryPathBeside(target);
    bool ok = false;
    if (std::FILE* raw = std::fopen(temporary.c_str(), "wb")) {
        ok = true;
        for (const auto& part : parts) {
            if (part.empty()) continue;
            const size_t written = writer ? writer(raw, part) : plainWrite(raw, part);
            if (written != part.size()) {
                ok = false;
                break;
            }
        }
        ok = std::fflush(raw) == 0 && ok;
        ok = std::fclose(raw) == 0 && ok;
    }
    if (ok) std::filesystem::rename(temporary, target, error);
    if (!ok || error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

int ValidateFile(const std::string& path, Prompter* prompter) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return ValidateInvalid;
    File file(std::fopen(path.c_str(), "rb"));
    const std::optional<uint64_t> size = fileSize(path);
    if (!file || !size) return ValidateCannotOpen;
    if (*size > std::numeric_limits<uint32_t>::max() || *size < kProfileImageSize)
        return ValidateInvalid;
    uint8_t header[kProfileHeaderSize];
    if (!readExactly(file.get(), header, sizeof header)) return ValidateCannotOpen;
    // A file shorter than its header says is cut off: its tail would be read as macros and
    // strings that are not there.
    if (headerIsWellFormed(header) && getLe32(header + kHeaderTotalOffset) <= *size)
        return ValidateOk;
    if (prompter)
        prompter->ask(kProfileFormatErrorKey, PromptButtons::Ok, PromptIcon::Error, {path});
    return ValidateInvalid;
}

std::optional<ProfileImage> LoadFile(const std::string& path) {
    File file(std::fopen(path.c_str(), "rb"));
    const std::optional<uint64_t> size = fileSize(path);
    if (!file || !size || *size < kProfileImageSize) return std::nullopt;
    try {
        ProfileImage loaded;
        if (!readExactly(file.get(), loaded.image.data(), kProfileImageSize)) return std::nullopt;
        const uint16_t macros = getLe16(loaded.image.data() + kHeaderMacroCountOffset);
        const uint64_t stringBytes = getLe32(loaded.image.data() + kHeaderStringBytesOffset);
        const uint64_t blockBytes = uint64_t(macros) * kMacroRecordSize;
        if (macros > kMaxMacros || kProfileImageSize + blockBytes + stringBytes > *size)
            return std::nullopt;
        loaded.macroCount = macros;
        loaded.macroBlocks.resize(size_t(blockBytes));
        std::vector<uint8_t> area(static_cast<size_t>(stringBytes));
        if (!readExactly(file.get(), loaded.macroBlocks.data(), loaded.macroBlocks.size()) ||
            !readExactly(file.get(), area.data(), area.size()))
            return std::nullopt;
        SanitizeMacroBlocks(loaded.macroBlocks);
        loaded.actionStrings = UnpackStrings(loaded.keyArea(), area);
        return loaded;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

std::optional<ProfileFileParts> PrepareFile(ProfileImage& image) {
    const size_t blockBytes = size_t(image.macroCount) * kMacroRecordSize;
    if (image.image.size() < kProfileImageSize || image.macroBlocks.size() < blockBytes ||
        !BuildHeader(image.image, image.macroCount, image.actionStrings.total(), 0))
        return std::nullopt;
    ProfileFileParts parts;
    parts.stringArea = PackStrings(image.keyArea(), image.actionStrings);
    parts.image = std::span<const uint8_t>(image.image).first(kProfileImageSize);
    parts.macroBlocks = std::span<const uint8_t>(image.macroBlocks).first(blockBytes);
    return parts;
}

bool SaveFile(const std::string& path, ProfileImage& image, const FileChunkWriter& writer) {
    try {
        const std::optional<ProfileFileParts> parts = PrepareFile(image);
        if (!parts) return false;
        const std::span<const uint8_t> pieces[] = {parts->image, parts->macroBlocks,
                                                   parts->stringArea};
        return WriteFileAtomically(path, pieces, writer);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool CreateDefaultFile(const std::string& path, uint8_t flag, const FileChunkWriter& writer) {
    const ProfileImage fresh = CreateDefaultImage(flag);
    const std::span<const uint8_t> pieces[] = {fresh.image};
    return WriteFileAtomically(path, pieces, writer);
}

}  // namespace tarnel
