// Little-endian reads and writes over byte buffers. Every multi-byte number in reports, in the
// keyboard's memory and in profile files goes through these; structs are never cast over bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

namespace tarnel {

inline uint16_t getLe16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t getLe32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void putLe16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void putLe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

// Bounds-checked reader over untrusted bytes: a read past the end yields false and leaves the
// output untouched, so a parser can stop cleanly at the first short field.
class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}
    size_t size() const { return m_bytes.size(); }
    bool has(size_t offset, size_t count) const {
        return offset <= m_bytes.size() && count <= m_bytes.size() - offset;
    }
    bool u8(size_t offset, uint8_t& out) const {
        if (!has(offset, 1)) return false;
        out = m_bytes[offset];
        return true;
    }
    bool le16(size_t offset, uint16_t& out) const {
        if (!has(offset, 2)) return false;
        out = getLe16(m_bytes.data() + offset);
        return true;
    }
    bool le32(size_t offset, uint32_t& out) const {
        if (!has(offset, 4)) return false;
        out = getLe32(m_bytes.data() + offset);
        return true;
    }
    std::span<const uint8_t> bytes() const { return m_bytes; }

private:
    std::span<const uint8_t> m_bytes;
};

}  // namespace tarnel
