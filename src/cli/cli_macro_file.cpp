#include "cli/cli_macro_file.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include <nlohmann/json.hpp>

#include "cli/cli_keys.h"
#include "model/macro_area.h"

namespace tarnel {
namespace {

constexpr size_t kMaxMacroFileBytes = 4 << 20;  // far more than 4000 steps need

using Json = nlohmann::json;

struct Reader {
    const std::string& path;
    const LangLookup& lang;
    std::string& error;

    bool fail(const std::string& what) {
        error = "'" + path + "': " + what;
        return false;
    }

    // An integer low..high, or `fallback` when the member is absent.
    bool integer(const Json& object, const char* member, long long low, long long high,
                 long long fallback, long long& value, const std::string& where) {
        auto it = object.find(member);
        if (it == object.end()) {
            value = fallback;
            return true;
        }
        if (!it->is_number_integer() || it->get<long long>() < low || it->get<long long>() > high)
            return fail(where + "\"" + member + "\" " + it->dump() + " is not " +
                        std::to_string(low) + ".." + std::to_string(high));
        value = it->get<long long>();
        return true;
    }

    bool onlyMembers(const Json& object, std::initializer_list<std::string_view> names,
                     const std::string& where) {
        for (auto it = object.begin(); it != object.end(); ++it)
            if (std::find(names.begin(), names.end(), it.key()) == names.end())
                return fail(where + "unknown member \"" + it.key() + "\"");
        return true;
    }

    bool step(const Json& s, size_t index, MacroAction& action) {
        const std::string where = "step " + std::to_string(index + 1) + ": ";
        if (!s.is_object()) return fail(where + s.dump() + " is not an object");
        if (!onlyMembers(s, {"key", "state", "delay"}, where)) return false;
        auto key = s.find("key");
        if (key == s.end() || !key->is_string()) return fail(where + "\"key\" is missing");
        std::optional<KeyRef> ref = ParseKey(key->get<std::string>(), lang);
        if (!ref || !ref->keyId) return fail(where + "unknown key " + key->dump());
        if (StepCodeOfKey(ref->keyId).group == 0)
            return fail(where + "the key " + key->dump() + " cannot be played in a macro");
        auto state = s.find("state");
        std::string st = state != s.end() && state->is_string() ? Lower(state->get<std::string>()) : "";
        if (st != "down" && st != "up" && st != "press" && st != "release")
            return fail(where + "\"state\" " + (state == s.end() ? "is missing" : state->dump() +
                        " is not \"down\" or \"up\""));
        long long delay = 0;
        if (!integer(s, "delay", 0, kMaxEditorDelayMs, 0, delay, where)) return false;
        action = {uint32_t(delay / 10 * 10), ref->keyId,
                  st == "down" || st == "press" ? uint16_t(MacroPress) : uint16_t(MacroRelease)};
        return true;
    }

    bool macro(const Json& doc, MacroFile& out) {
        if (!doc.is_object()) return fail("not a JSON object");
        if (!onlyMembers(doc, {"name", "repeat", "steps"}, "")) return false;
        if (auto name = doc.find("name"); name != doc.end()) {
            if (!name->is_string()) return fail("\"name\" " + name->dump() + " is not a text");
            out.name = Utf16Of(name->get<std::string>());
            if (out.name.size() > kMaxMacroNameUnits || out.name.find(u'\0') != std::u16string::npos)
                return fail("\"name\" is longer than " + std::to_string(kMaxMacroNameUnits) +
                            " characters or holds a zero character");
        }
        long long repeat = 1;
        if (!integer(doc, "repeat", 1, 255, 1, repeat, "")) return false;
        out.repeat = int(repeat);
        auto steps = doc.find("steps");
        if (steps == doc.end()) return true;
        if (!steps->is_array()) return fail("\"steps\" is not an array");
        if (steps->size() > size_t(kMaxMacroActions))
            return fail(std::to_string(steps->size()) + " steps, more than " +
                        std::to_string(kMaxMacroActions));
        out.steps.resize(steps->size());
        for (size_t i = 0; i < steps->size(); ++i)
            if (!step((*steps)[i], i, out.steps[i])) return false;
        return true;
    }
};

}  // namespace

std::optional<MacroFile> ReadMacroFile(const std::string& path, const LangLookup& lang,
                                       std::string& error) {
    std::ifstream in(path, std::ios::binary);
    std::string text;
    if (in) text.assign(std::istreambuf_iterator<char>(in), {});
    if (!in.good() && !in.eof()) {
        error = "cannot read the file '" + path + "'";
        return std::nullopt;
    }
    if (text.size() > kMaxMacroFileBytes) {
        error = "'" + path + "': the file is too large for a macro";
        return std::nullopt;
    }
    Json doc;
    try {
        doc = Json::parse(text);
    } catch (const Json::exception& e) {
        error = "'" + path + "' is not valid JSON: " + e.what();
        return std::nullopt;
    }
    MacroFile out;
    Reader reader{path, lang, error};
    if (!reader.macro(doc, out)) return std::nullopt;
    return out;
}

std::u16string Utf16Of(std::string_view text) {
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra && i + size_t(k) < text.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + size_t(k)]) & 0x3F);
        i += size_t(extra) + 1;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(char16_t(0xD800 + (cp >> 10)));
            out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(char16_t(cp));
        }
    }
    return out;
}

}  // namespace tarnel
