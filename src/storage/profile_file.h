// Profile files (.zkp) and cache files: checking, reading and writing the image's file form.
// These functions work on a ProfileImage the caller owns; the caller holds dataLock when the
// image is AppContext's (profile_actions.h does).
#pragma once
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "storage/profile_image.h"

namespace tarnel {

class Prompter;

inline constexpr const char* kProfileFormatErrorKey = "PROFILE_FORMAT_ERROR";

// Writes one piece of a file being saved; returns the bytes written (fewer = failure). The
// default is fwrite; tests put a failing writer here.
using FileChunkWriter = std::function<size_t(std::FILE* file, std::span<const uint8_t> bytes)>;

// Writes `parts` one after the other into a temporary file beside `path` and renames it over
// `path`. A failed or short write, flush or rename removes the temporary file, leaves any
// existing file at `path` as it was, and returns false.
bool WriteFileAtomically(const std::string& path, std::span<const std::span<const uint8_t>> parts,
                         const FileChunkWriter& writer = {});

enum ValidateResult : int {
    ValidateOk = 1,
    ValidateInvalid = 0,  // missing, too short or malformed
    ValidateCannotOpen = -2,
    ValidateNoMemory = -3,
};

// Checks a file's header. A malformed header, or a file shorter than the size its header
// states, shows PROFILE_FORMAT_ERROR with the path (when `prompter` is given); a missing file
// or one below 0x8040 bytes is refused without a message.
int ValidateFile(const std::string& path, Prompter* prompter);

// Reads a file into a new image: the first 0x8040 bytes, the header's macro blocks (cleaned
// with SanitizeMacroBlocks) and the strings of the records of kind 3 and 6. Nothing when the
// file cannot be read or is shorter than its header says.
std::optional<ProfileImage> LoadFile(const std::string& path);

// The bytes of the file form, as they would be saved: rebuilds the image's header (flag 0)
// and packs the strings, storing their offsets in the image's records. Nothing when the image
// cannot be described by a header.
struct ProfileFileParts {
    std::span<const uint8_t> image;
    std::span<const uint8_t> macroBlocks;
    std::vector<uint8_t> stringArea;
};
std::optional<ProfileFileParts> PrepareFile(ProfileImage& image);

// Writes the image as a file (PrepareFile, then WriteFileAtomically).
bool SaveFile(const std::string& path, ProfileImage& image, const FileChunkWriter& writer = {});

// Writes a fresh default image (0x8040 bytes) as a file.
bool CreateDefaultFile(const std::string& path, uint8_t flag, const FileChunkWriter& writer = {});

}  // namespace tarnel
