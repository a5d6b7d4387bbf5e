// Ini files as they come from skins, language packs and the user's folder: the fuzzer's bytes
// after a short header are the file. The header picks a section, a key and a value to write.
// Reads never fail; a write that succeeds reads back as written and leaves every other value
// of the file as it was.
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz_target.h"
#include "storage/ini_file.h"

using namespace tarnel;

namespace {

const std::string& scratchPath() {
    static const std::string path = [] {
        std::string dir = "/tmp/tarnel-fuzz-ini-XXXXXX";
        if (!mkdtemp(dir.data())) std::abort();
        return dir + "/file.ini";
    }();
    return path;
}

// A value that reads back unchanged: no blanks at its ends, no quote pair, no line break.
bool roundTrips(const std::string& v) {
    if (v.size() > kIniValueMaxChars) return false;
    for (char c : v)
        if (c == '\r' || c == '\n' || c == '\0') return false;
    if (!v.empty() && (v.front() == ' ' || v.front() == '\t' || v.back() == ' ' || v.back() == '\t'))
        return false;
    return !(v.size() >= 2 && v.front() == '"' && v.back() == '"');
}

// Names as the file matches them: blanks at the ends dropped, ASCII case ignored.
std::string nameKey(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

}  // namespace

TARNEL_FUZZ_TARGET(ini_file) {
    fuzz::Input in(data, size);
    const std::string section = in.text(16);
    const std::string key = in.text(16);
    const std::string value = in.text(64);
    const std::string otherSection = in.text(16);
    const std::string otherKey = in.text(16);
    const std::string file = in.restText();

    const std::string& path = scratchPath();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(file.data(), std::streamsize(file.size()));
    }
    IniFile ini(path);
    const std::string before = ini.readString(otherSection, otherKey, "\x01missing");
    (void)ini.readInt(section, key, -7);
    (void)ini.hasKey(section, key);
    FUZZ_CHECK(ini.readString(section, key, "", 5).size() <= 5 * 4);

    if (!ini.writeString(section, key, value)) return 0;
    if (roundTrips(value)) FUZZ_CHECK(ini.readString(section, key, "\x01missing") == value);
    const bool sameKey = nameKey(section) == nameKey(otherSection) && nameKey(key) == nameKey(otherKey);
    if (!sameKey) FUZZ_CHECK(ini.readString(otherSection, otherKey, "\x01missing") == before);
    return 0;
}
