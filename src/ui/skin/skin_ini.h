// How the skin toolkit reads a dialog's skin file: one value per (section, key). The dialog
// base takes such a reader, so tests hand it a table in memory and the program hands it the
// skin file itself.
#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace tarnel {

// The value of `key` in `section`, or an empty text when the file, the section or the key is
// missing (or the value is empty).
using SkinIniReader = std::function<std::string(std::string_view section, std::string_view key)>;

// A reader over the skin file at `path`, with the ini rules of the whole program (names without
// regard to case, trimmed and unquoted values, UTF-8 or UTF-16LE files). The file is read again
// at every lookup, so a dialog that initialises again sees the file as it is then.
SkinIniReader SkinIniFile(std::string path);

}  // namespace tarnel
