// Reading and writing single values of ini text files: skin files, language files, the user
// lighting files and the user settings file all go through here.
//
// Rules: section and key names match without regard to (ASCII) case; a value is trimmed of spaces
// and tabs and then loses one pair of surrounding double quotes; a value is cut at 259
// characters; a missing file, section or key gives the caller's default. Files are read as UTF-8
// (with or without a byte-order mark) or as UTF-16LE with its byte-order mark. A write changes
// only the one value (creating the file, section or key when missing), keeps every other line
// byte for byte, writes UTF-8, and replaces the file in one step (temporary file + rename), so a
// failed write leaves the old file as it was.
#pragma once
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace tarnel {

// A value is read into a buffer of 260 characters: at most 259 of them count.
inline constexpr size_t kIniValueMaxChars = 259;

// One key and its value, for writing several values at once.
struct IniValue {
    std::string key;
    std::string value;
};

class IniFile {
public:
    explicit IniFile(std::string path) : m_path(std::move(path)) {}
    const std::string& path() const { return m_path; }

    // The value of `key` in `section`, or `def` when the file, the section or the key is missing.
    // A key that is present with an empty value gives an empty text. The result (the default
    // too) is cut at `maxChars` characters counted as the platform counts them (UTF-16 units, so
    // a character beyond the basic plane counts two), never inside a character.
    std::string readString(std::string_view section, std::string_view key, std::string_view def,
                           size_t maxChars = kIniValueMaxChars) const;

    // True when the key is present in the section (even with an empty value).
    bool hasKey(std::string_view section, std::string_view key) const;

    // The value read as a decimal integer: leading sign and digits, stopping at the first other
    // character; a present value without digits gives 0; a missing key gives `def`. Values
    // beyond the range of int are clamped.
    int readInt(std::string_view section, std::string_view key, int def) const;

    // Sets `key` in `section` to `value`. False when the value holds a line break or NUL, when
    // the section or key name could not be read back as written (empty, a line break, NUL, ']'
    // in a section name, '=' in a key name, a key beginning with '[' or ';'), when an existing
    // file cannot be read, or when the new file cannot be written.
    bool writeString(std::string_view section, std::string_view key, std::string_view value) const;

    // Several values of one section in one replace of the file, in order, with the rules of
    // writeString. Nothing is written when any of them is refused.
    bool writeStrings(std::string_view section, std::span<const IniValue> values) const;

private:
    std::string m_path;
};

// Replaces the file at `path` by `bytes` in one step: a temporary file beside it, then a rename
// over it (the old file's permissions are kept; a symbolic link is followed and stays a link).
// False, with the old file untouched, on failure and for a file without write permission.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

// The dialog base's small reader for its SCREEN keys: a path, then texts of up to 2047
// characters. An empty value reads as an empty text.
class CIniFile {
public:
    static constexpr size_t kMaxChars = 2047;

    void SetPath(std::string path) { m_path = std::move(path); }
    const std::string& Path() const { return m_path; }
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view def = {}) const {
        return IniFile(m_path).readString(section, key, def, kMaxChars);
    }

private:
    std::string m_path;
};

}  // namespace tarnel
