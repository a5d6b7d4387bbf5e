// The macro files of `tarnelctl macro add`: one macro as a JSON object,
//
//   {"name": "Greeting", "repeat": 1,
//    "steps": [{"key": "A", "state": "down", "delay": 50}, {"key": "A", "state": "up"}]}
//
// "name" (at most 249 characters; absent or empty: a generated name), "repeat" (1-255,
// default 1) and "steps" (at most 4000; default none) are all optional. A step's "key" is
// named as `assign` names keys, "state" is "down" or "up" ("press" and "release" too, as
// `macro list` shows them) and "delay" (0-40000 ms, default 0) is the wait after the step,
// kept in tens of milliseconds as the keyboard plays it.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/key_table.h"
#include "model/macro_record.h"

namespace tarnel {

struct MacroFile {
    std::u16string name;  // empty: a generated name
    int repeat = 1;
    std::vector<MacroAction> steps;
};

// The macro of the file at `path`; nothing, with `error` naming the file and the value at
// fault, when it cannot be read, is not JSON or holds anything outside the rules above.
std::optional<MacroFile> ReadMacroFile(const std::string& path, const LangLookup& lang,
                                       std::string& error);

// UTF-8 text as UTF-16 (the text is valid UTF-8, as the JSON reader ensures).
std::u16string Utf16Of(std::string_view text);

}  // namespace tarnel
