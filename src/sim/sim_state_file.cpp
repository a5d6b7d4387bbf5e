#include "sim/sim_state_file.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "common/le_bytes.h"

namespace tarnel::sim {
namespace {

constexpr char kMagic[4] = {'T', 'S', 'I', 'M'};
constexpr uint16_t kVersion = 1;
constexpr size_t kHeaderSize = 10;
constexpr size_t kMaxFileSize = 1u << 20;
constexpr SimArea kAreas[] = {SimArea::Info,   SimArea::Settings, SimArea::KeyTables,
                              SimArea::FactoryKeyTable, SimArea::Macros, SimArea::KeyColors};

void appendLe16(std::vector<uint8_t>& out, uint16_t v) {
    uint8_t b[2];
    putLe16(b, v);
    out.insert(out.end(), b, b + 2);
}

void appendLe32(std::vector<uint8_t>& out, uint32_t v) {
    uint8_t b[4];
    putLe32(b, v);
    out.insert(out.end(), b, b + 4);
}

// The size each area must have for this model; the macro area goes by its capacity byte.
bool sizeIsValid(SimArea which, const SimMemory& m, size_t size) {
    switch (which) {
        case SimArea::Info: return size == size_t(kSimInfoSize);
        case SimArea::Settings: return size == size_t(kSimSettingsSize);
        case SimArea::KeyTables: return size == size_t(3 * m.model.keyTableStride);
        case SimArea::FactoryKeyTable: return size == size_t(m.model.keyTableSize);
        case SimArea::Macros: return size == size_t(m.info[11]) * 128;
        case SimArea::KeyColors: return size == size_t(kSimKeyColorsSize);
    }
    return false;
}

bool readWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad() && bytes.size() <= kMaxFileSize;
}

}  // namespace

bool WriteStateFile(const std::string& path, const SimMemory& memory) {
    std::vector<uint8_t> out(kMagic, kMagic + 4);
    appendLe16(out, kVersion);
    appendLe16(out, memory.model.vendorId);
    appendLe16(out, memory.model.productId);
    for (SimArea a : kAreas) {
        const std::vector<uint8_t>& area = memory.areaOf(a);
        appendLe32(out, uint32_t(area.size()));
        out.insert(out.end(), area.begin(), area.end());
    }
    const std::string temp = path + ".tmp";
    {
        std::ofstream file(temp, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(out.data()), std::streamsize(out.size()));
        file.flush();
        if (!file) {
            file.close();
            std::remove(temp.c_str());
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) std::remove(temp.c_str());
    return !ec;
}

bool ReadStateFile(const std::string& path, SimMemory& memory) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes)) return false;
    ByteReader r(bytes);
    uint16_t version = 0, vendorId = 0, productId = 0;
    if (!r.has(0, kHeaderSize) || !std::equal(kMagic, kMagic + 4, bytes.begin()) ||
        !r.le16(4, version) || version != kVersion || !r.le16(6, vendorId) ||
        !r.le16(8, productId))
        return false;
    const KeyboardModel* model = FindModel(vendorId, productId);
    if (!model) return false;
    SimMemory loaded;
    loaded.model = *model;
    size_t at = kHeaderSize;
    for (SimArea a : kAreas) {
        uint32_t size = 0;
        if (!r.le32(at, size) || !r.has(at + 4, size) || !sizeIsValid(a, loaded, size))
            return false;
        auto first = bytes.begin() + long(at + 4);
        loaded.areaOf(a).assign(first, first + long(size));
        at += 4 + size;
    }
    if (at != bytes.size()) return false;
    memory = std::move(loaded);
    return true;
}

}  // namespace tarnel::sim
