#include "devicelink/device_match.h"

#include <cctype>
#include <string>

#include "devicelink/hid_backend.h"
#include "devicelink/keyboard_model.h"

namespace tarnel {
namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = char(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

size_t findNoCase(std::string_view text, std::string_view key) {
    for (size_t i = 0; i + key.size() <= text.size(); ++i) {
        size_t k = 0;
        while (k < key.size() &&
               std::tolower(static_cast<unsigned char>(text[i + k])) == key[k])
            ++k;
        if (k == key.size()) return i;
    }
    return std::string_view::npos;
}

uint16_t hexAfter(std::string_view text, std::string_view key) {
    size_t at = findNoCase(text, key);
    if (at == std::string_view::npos) return 0;
    unsigned v = 0;
    for (size_t i = at + key.size(); i < text.size() && hexDigit(text[i]) >= 0; ++i)
        v = ((v << 4) | unsigned(hexDigit(text[i]))) & 0xFFFF;  // low 16 bits of the number
    return uint16_t(v);
}

}  // namespace

void ParsePathIds(std::string_view path, uint16_t& vendorId, uint16_t& productId) {
    vendorId = hexAfter(path, "vid_");
    productId = hexAfter(path, "pid_");
}

void PathIds(HidBackend& backend, std::string_view path, uint16_t& vendorId, uint16_t& productId) {
    if (backend.enumerationIds(std::string(path), vendorId, productId)) return;
    ParsePathIds(path, vendorId, productId);
}

const KeyboardModel* CandidateModel(HidBackend& backend, std::string_view path) {
    uint16_t vid = 0, pid = 0;
    PathIds(backend, path, vid, pid);
    return FindModel(vid, pid);
}

}  // namespace tarnel
