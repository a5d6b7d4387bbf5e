#include "common/safe_format.h"

#include <cctype>
#include <charconv>
#include <cstdlib>

namespace tarnel {
namespace {

struct Placeholder {
    bool zeroPad = false;
    bool leftAlign = false;
    int width = 0;
    char conv = 0;
};

// Reads flags, width and length modifiers after '%'. Returns the index after the conversion
// character, or npos when the placeholder is not one we know.
size_t parsePlaceholder(std::string_view t, size_t i, Placeholder& s) {
    while (i < t.size() && (t[i] == '0' || t[i] == '-' || t[i] == '+' || t[i] == ' ' || t[i] == '#')) {
        if (t[i] == '0') s.zeroPad = true;
        if (t[i] == '-') s.leftAlign = true;
        ++i;
    }
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])) && s.width < 1000) {
        s.width = s.width * 10 + (t[i] - '0');
        ++i;
    }
    while (i < t.size() && (t[i] == 'l' || t[i] == 'h' || t[i] == 'I' || t[i] == '6' || t[i] == '4')) ++i;
    if (i >= t.size()) return std::string_view::npos;
    const char c = t[i];
    if (c == 's' || c == 'S' || c == 'd' || c == 'i' || c == 'u' || c == 'x' || c == 'X' || c == 'c') {
        s.conv = c;
        return i + 1;
    }
    return std::string_view::npos;
}

std::string convertNumber(const std::string& arg, const Placeholder& s) {
    long long v = 0;
    const char* b = arg.data();
    const char* e = b + arg.size();
    int base = 10;
    if (arg.size() > 2 && arg[0] == '0' && (arg[1] == 'x' || arg[1] == 'X')) {
        b += 2;
        base = 16;
    }
    auto r = std::from_chars(b, e, v, base);
    if (r.ec != std::errc() || r.ptr != e) return arg;  // not a number: show it as text
    if (s.conv == 'c') return std::string(1, static_cast<char>(v));
    char buf[32];
    std::to_chars_result tr;
    if (s.conv == 'x' || s.conv == 'X') {
        tr = std::to_chars(buf, buf + sizeof buf, static_cast<unsigned long long>(v), 16);
        if (s.conv == 'X')
            for (char* p = buf; p < tr.ptr; ++p) *p = static_cast<char>(std::toupper(*p));
    } else if (s.conv == 'u') {
        tr = std::to_chars(buf, buf + sizeof buf, static_cast<unsigned long long>(v));
    } else {
        tr = std::to_chars(buf, buf + sizeof buf, v);
    }
    return std::string(buf, tr.ptr);
}

std::string pad(std::string text, const Placeholder& s, bool numeric) {
    if (static_cast<int>(text.size()) >= s.width) return text;
    const size_t n = static_cast<size_t>(s.width) - text.size();
    if (s.leftAlign) return text + std::string(n, ' ');
    if (s.zeroPad && numeric) {
        const size_t sign = (!text.empty() && text[0] == '-') ? 1 : 0;
        return text.insert(sign, n, '0');
    }
    return std::string(n, ' ') + text;
}

}  // namespace

std::string SafeFormat(std::string_view text, const std::vector<std::string>& args) {
    std::string out;
    out.reserve(text.size() + 16);
    size_t next = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        Placeholder s;
        const size_t end = parsePlaceholder(text, i + 1, s);
        if (end == std::string_view::npos || next >= args.size()) {
            out += '%';  // unknown or unfilled placeholder: copied as it stands
            continue;
        }
        const bool numeric = s.conv != 's' && s.conv != 'S';
        const std::string& arg = args[next++];
        out += pad(numeric ? convertNumber(arg, s) : arg, s, numeric && s.conv != 'c');
        i = end - 1;
    }
    return out;
}

std::string SafeFormatNumber(std::string_view text, long long value) {
    return SafeFormat(text, {std::to_string(value)});
}

}  // namespace tarnel
