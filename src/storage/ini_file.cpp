#include "storage/ini_file.h"

#include <atomic>
#include <charconv>
#include <climits>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>

namespace tarnel {
namespace fs = std::filesystem;

namespace {

// Far beyond any ini file of ours; a bigger file is not read (and so never rewritten).
constexpr std::uintmax_t kMaxFileBytes = 32u << 20;

enum class Load { Ok, Missing, Unreadable };

struct IniText {
    std::string text;      // UTF-8, without byte-order mark
    bool utf8Bom = false;  // the file began with a UTF-8 byte-order mark (kept on write)
};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// UTF-16LE code units from `start` on; a lone surrogate becomes U+FFFD, an odd last byte is dropped.
std::string utf16leToUtf8(std::string_view bytes, size_t start) {
    std::string out;
    out.reserve(bytes.size() / 2);
    auto unit = [&](size_t i) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                     static_cast<unsigned char>(bytes[i + 1]) << 8);
    };
    for (size_t i = start; i + 1 < bytes.size(); i += 2) {
        const char16_t u = unit(i);
        if (u >= 0xD800 && u < 0xDC00 && i + 3 < bytes.size()) {
            const char16_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                appendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        appendUtf8(out, (u >= 0xD800 && u < 0xE000) ? char32_t(0xFFFD) : char32_t(u));
    }
    return out;
}

Load loadFile(const std::string& path, IniText& out) {
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) return Load::Missing;
    if (!fs::is_regular_file(status)) return Load::Unreadable;
    const auto size = fs::file_size(path, ec);
    if (ec || size > kMaxFileBytes) return Load::Unreadable;
    std::ifstream in(path, std::ios::binary);
    if (!in) return Load::Unreadable;
    std::string bytes(static_cast<size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (static_cast<size_t>(in.gcount()) != bytes.size()) return Load::Unreadable;

    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        out.text = utf16leToUtf8(bytes, 2);
    } else if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        out.utf8Bom = true;
        out.text = bytes.substr(3);
    } else {
        out.text = std::move(bytes);
    }
    return Load::Ok;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// Where the searched section and key are in the text.
struct Location {
    bool sectionFound = false;
    bool keyFound = false;
    size_t valueBegin = 0, valueEnd = 0;  // the raw value, without the blanks around it
    size_t insertAt = 0;                  // after the section's last non-blank line
};

// Only the first section of the name counts, as for reads.
Location locate(std::string_view text, std::string_view section, std::string_view key) {
    Location loc;
    section = trim(section);
    key = trim(key);
    bool inSection = false;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t nl = text.find('\n', pos);
        const size_t next = nl == std::string_view::npos ? text.size() : nl + 1;
        size_t end = nl == std::string_view::npos ? text.size() : nl;
        if (end > pos && text[end - 1] == '\r') --end;
        const std::string_view content = trim(text.substr(pos, end - pos));
        if (!content.empty() && content.front() == '[') {
            if (inSection) return loc;
            const size_t close = content.find(']');
            const std::string_view name = trim(content.substr(1, close == std::string_view::npos
                                                                      ? std::string_view::npos
                                                                      : close - 1));
            if (equalsNoCase(name, section)) {
                inSection = loc.sectionFound = true;
                loc.insertAt = next;
            }
        } else if (inSection && !content.empty()) {
            loc.insertAt = next;
            const size_t eq = content.find('=');
            if (content.front() != ';' && eq != std::string_view::npos &&
                equalsNoCase(trim(content.substr(0, eq)), key)) {
                size_t v = static_cast<size_t>(content.data() - text.data()) + eq + 1;
                while (v < end && isBlank(text[v])) ++v;
                size_t valueEnd = end;  // blanks after the value are kept by a write
                while (valueEnd > v && isBlank(text[valueEnd - 1])) --valueEnd;
                loc.keyFound = true;
                loc.valueBegin = v;
                loc.valueEnd = valueEnd;
                return loc;
            }
        }
        pos = next;
    }
    return loc;
}

// Number of bytes of `s` that hold as many whole characters as fit in `maxChars` UTF-16 units,
// the platform's character count: a character beyond the basic plane takes two units and is never
// split.
size_t utf8Prefix(std::string_view s, size_t maxChars) {
    size_t units = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const auto byte = static_cast<unsigned char>(s[i]);
        if ((byte & 0xC0) == 0x80) continue;  // continuation byte
        const size_t need = byte >= 0xF0 ? 2 : 1;
        if (units + need > maxChars) return i;
        units += need;
    }
    return s.size();
}

std::string cleanValue(std::string_view raw, size_t maxChars) {
    raw = raw.substr(0, raw.find('\0'));
    raw = trim(raw);
    if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"') raw = raw.substr(1, raw.size() - 2);
    return std::string(raw.substr(0, utf8Prefix(raw, maxChars)));
}

std::optional<std::string> lookup(const std::string& path, std::string_view section,
                                  std::string_view key, size_t maxChars) {
    IniText ini;
    if (loadFile(path, ini) != Load::Ok) return std::nullopt;
    const Location loc = locate(ini.text, section, key);
    if (!loc.keyFound) return std::nullopt;
    return cleanValue(std::string_view(ini.text).substr(loc.valueBegin, loc.valueEnd - loc.valueBegin),
                      maxChars);
}

bool hasAny(std::string_view s, std::string_view chars) {
    return s.find_first_of(chars) != std::string_view::npos;
}

constexpr std::string_view kLineBreaksAndNul("\r\n\0", 3);

bool namesWritable(std::string_view section, std::string_view key) {
    section = trim(section);
    key = trim(key);
    if (section.empty() || hasAny(section, kLineBreaksAndNul) || hasAny(section, "]")) return false;
    if (key.empty() || hasAny(key, kLineBreaksAndNul) || hasAny(key, "=")) return false;
    return key.front() != '[' && key.front() != ';';
}

std::string_view lineEnding(std::string_view text) {
    const size_t nl = text.find('\n');
    return (nl != std::string_view::npos && nl > 0 && text[nl - 1] == '\r') ? "\r\n" : "\n";
}

std::string tempNameFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, seed ^ (counter++ * 2654435761u), 16);
    return path + ".~" + std::string(buf, r.ptr);
}

}  // namespace

std::string IniFile::readString(std::string_view section, std::string_view key, std::string_view def,
                                size_t maxChars) const {
    if (auto value = lookup(m_path, section, key, maxChars)) return std::move(*value);
    return std::string(def.substr(0, utf8Prefix(def, maxChars)));
}

bool IniFile::hasKey(std::string_view section, std::string_view key) const {
    return lookup(m_path, section, key, 0).has_value();
}

int IniFile::readInt(std::string_view section, std::string_view key, int def) const {
    const auto value = lookup(m_path, section, key, kIniValueMaxChars);
    if (!value) return def;
    std::string_view s = *value;
    const bool negative = !s.empty() && s.front() == '-';
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) s.remove_prefix(1);
    long long n = 0;
    for (char c : s) {
        if (c < '0' || c > '9') break;
        n = n * 10 + (c - '0');
        if (n > static_cast<long long>(INT_MAX) + 1) break;
    }
    if (negative) n = -n;
    if (n > INT_MAX) return INT_MAX;
    if (n < INT_MIN) return INT_MIN;
    return static_cast<int>(n);
}

namespace {

// Sets one value in the text as writeString describes; the names and value are already checked.
void setValue(std::string& text, std::string_view section, std::string_view key, std::string_view value) {
    const std::string eol(lineEnding(text));
    const Location loc = locate(text, section, key);
    if (loc.keyFound) {
        text.replace(loc.valueBegin, loc.valueEnd - loc.valueBegin, value);
        return;
    }
    std::string lines;
    if (!loc.sectionFound) lines.append("[").append(trim(section)).append("]").append(eol);
    lines.append(trim(key)).append("=").append(value).append(eol);
    const size_t at = loc.sectionFound ? loc.insertAt : text.size();
    if (at == text.size() && !text.empty() && text.back() != '\n') lines.insert(0, eol);
    text.insert(at, lines);
}

}  // namespace

bool IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) const {
    const IniValue one{std::string(key), std::string(value)};
    return writeStrings(section, std::span<const IniValue>(&one, 1));
}

bool IniFile::writeStrings(std::string_view section, std::span<const IniValue> values) const {
    for (const IniValue& v : values)
        if (hasAny(v.value, kLineBreaksAndNul) || !namesWritable(section, v.key)) return false;
    IniText ini;
    if (loadFile(m_path, ini) == Load::Unreadable) return false;
    for (const IniValue& v : values) setValue(ini.text, section, v.key, v.value);
    if (ini.utf8Bom) ini.text.insert(0, "\xEF\xBB\xBF");
    return WriteFileAtomically(m_path, ini.text);
}

namespace {

// A link is followed, so the file it names is replaced and the link stays.
std::string replacedFile(const std::string& path) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
    const fs::path target = fs::weakly_canonical(path, ec);
    return ec ? path : target.string();
}

}  // namespace

bool WriteFileAtomically(const std::string& linkOrPath, std::string_view bytes) {
    const std::string path = replacedFile(linkOrPath);
    std::error_code ec;
    const auto old = fs::status(path, ec);
    // A file the user made read-only is not replaced: writing it in place would be refused too.
    if (fs::exists(old) && (old.permissions() & fs::perms::owner_write) == fs::perms::none) return false;
    const std::string temp = tempNameFor(path);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temp, ignored);
            return false;
        }
    }
    if (fs::exists(old)) fs::permissions(temp, old.permissions(), ec);
    fs::rename(temp, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return false;
    }
    return true;
}

}  // namespace tarnel
