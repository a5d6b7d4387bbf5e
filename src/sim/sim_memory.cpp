#include "sim/sim_memory.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "common/le_bytes.h"

namespace tarnel::sim {
namespace {

// The keyboard's own code of each matrix key at its LED position: group 2 (a keyboard key), then
// the key's HID keyboard usage. The model library keeps the full key tables; the keyboard only
// needs the usages of the keys it has.
struct FactoryKey {
    uint8_t position;
    uint8_t usage;
};
constexpr FactoryKey kFactoryKeys[] = {
    {0, 0x35}, {2, 0x3A}, {3, 0x3B}, {4, 0x3C}, {5, 0x3D}, {6, 0x3E}, {7, 0x3F}, {8, 0x40},
    {9, 0x41}, {10, 0x42}, {11, 0x43}, {12, 0x44}, {13, 0x45}, {14, 0x46}, {15, 0x47}, {16, 0x48},
    {21, 0x29}, {22, 0x1E}, {23, 0x1F}, {24, 0x20}, {25, 0x21}, {26, 0x22}, {27, 0x23}, {28, 0x24},
    {29, 0x25}, {30, 0x26}, {31, 0x27}, {32, 0x2D}, {33, 0x2E}, {34, 0x2A}, {35, 0x49}, {36, 0x4A},
    {37, 0x4B}, {38, 0x53}, {39, 0x54}, {40, 0x55}, {41, 0x56}, {42, 0x2B}, {43, 0x14}, {44, 0x1A},
    {45, 0x08}, {46, 0x15}, {47, 0x17}, {48, 0x1C}, {49, 0x18}, {50, 0x0C}, {51, 0x12}, {52, 0x13},
    {53, 0x2F}, {54, 0x30}, {55, 0x31}, {56, 0x4C}, {57, 0x4D}, {58, 0x4E}, {59, 0x5F}, {60, 0x60},
    {61, 0x61}, {62, 0x57}, {63, 0x39}, {64, 0x04}, {65, 0x16}, {66, 0x07}, {67, 0x09}, {68, 0x0A},
    {69, 0x0B}, {70, 0x0D}, {71, 0x0E}, {72, 0x0F}, {73, 0x33}, {74, 0x34}, {76, 0x28}, {80, 0x5C},
    {81, 0x5D}, {82, 0x5E}, {84, 0xE1}, {85, 0x64}, {86, 0x1D}, {87, 0x1B}, {88, 0x06}, {89, 0x19},
    {90, 0x05}, {91, 0x11}, {92, 0x10}, {93, 0x36}, {94, 0x37}, {95, 0x38}, {96, 0x87}, {97, 0xE5},
    {99, 0x52}, {101, 0x59}, {102, 0x5A}, {103, 0x5B}, {104, 0x58}, {105, 0xE0}, {106, 0xE3},
    {107, 0xE2}, {111, 0x2C}, {112, 0xE7}, {115, 0xE6}, {117, 0x65}, {118, 0xE4}, {119, 0x50},
    {120, 0x51}, {121, 0x4F}, {123, 0x62}, {124, 0x63},
};
// G1..G9 sit at positions no matrix key uses; their code is group 6, 0xA2, the G-key number.
constexpr uint8_t kGKeyPositions[] = {1, 17, 18, 19, 20, 75, 77, 78, 79};

constexpr uint8_t kDefaultEffects[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11,
                                       12, 13, 14, 15, 16, 17, 18, 20, 21};
constexpr int kLightingRecordBytes = 42;
constexpr int kKeyColorStride = 512;
constexpr int kKeyPositionsLit = 128;

void putCode(std::vector<uint8_t>& table, int position, uint8_t b0, uint8_t b1, uint8_t b2) {
    size_t at = size_t(position) * 3;
    if (at + 3 > table.size()) return;
    table[at] = b0, table[at + 1] = b1, table[at + 2] = b2;
}

std::vector<uint8_t> defaultInfo() {
    std::vector<uint8_t> info(kSimInfoSize, 0);
    putLe16(&info[8], 0x0102);
    info[10] = 0;
    info[11] = 0x40;
    std::copy(std::begin(kDefaultEffects), std::end(kDefaultEffects), info.begin() + 12);
    return info;
}

// Each profile starts with effect 1 in red at full brightness and middle speed.
std::vector<uint8_t> defaultSettings() {
    std::vector<uint8_t> settings(kSimSettingsSize, 0);
    for (int p = 0; p < 3; ++p) {
        uint8_t* r = &settings[size_t(p * kLightingRecordBytes)];
        r[0] = 1;     // effect
        r[1] = 4;     // brightness
        r[2] = 2;     // speed
        r[3] = 0;     // direction
        r[4] = 0;     // one colour
        r[5] = 0xFF;  // red
    }
    return settings;
}

std::vector<uint8_t> defaultKeyColors() {
    std::vector<uint8_t> colors(kSimKeyColorsSize, 0);
    for (int p = 0; p < 3; ++p)
        std::fill_n(colors.begin() + p * kKeyColorStride, kKeyPositionsLit * 3, uint8_t(0xFF));
    return colors;
}

// An empty macro area: magic 0x55AA, total size 16 (the header alone), no entries.
void writeEmptyMacroHeader(std::vector<uint8_t>& macros) {
    if (macros.size() < 16) return;
    std::fill_n(macros.begin(), 16, uint8_t(0));
    putLe16(&macros[0], 0x55AA);
    putLe16(&macros[2], 16);
}

}  // namespace

std::vector<uint8_t> FactoryKeyTable(const KeyboardModel& model) {
    std::vector<uint8_t> table(size_t(std::max(model.keyTableSize, 0)), 0);
    for (const FactoryKey& k : kFactoryKeys) putCode(table, k.position, 0x02, 0x02, k.usage);
    for (int g = 0; g < 9; ++g) putCode(table, kGKeyPositions[g], 0x06, 0xA2, uint8_t(g + 1));
    return table;
}

void SimMemory::reset(const KeyboardModel& m) {
    model = m;
    info = defaultInfo();
    settings = defaultSettings();
    factory = FactoryKeyTable(m);
    keyTables.assign(size_t(3 * m.keyTableStride), 0);
    for (int p = 0; p < 3; ++p)
        std::copy(factory.begin(), factory.end(), keyTables.begin() + p * m.keyTableStride);
    macros.clear();
    setMacroCapacityByte(info[11]);
    keyColors = defaultKeyColors();
}

std::vector<uint8_t>& SimMemory::areaOf(SimArea which) {
    return const_cast<std::vector<uint8_t>&>(std::as_const(*this).areaOf(which));
}

const std::vector<uint8_t>& SimMemory::areaOf(SimArea which) const {
    switch (which) {
        case SimArea::Info: return info;
        case SimArea::Settings: return settings;
        case SimArea::KeyTables: return keyTables;
        case SimArea::FactoryKeyTable: return factory;
        case SimArea::Macros: return macros;
        case SimArea::KeyColors: break;
    }
    return keyColors;
}

void SimMemory::setMacroCapacityByte(uint8_t units) {
    info[11] = units;
    bool fresh = macros.size() < 16;
    macros.resize(size_t(units) * 128, 0);
    if (fresh) writeEmptyMacroHeader(macros);
}

void SimMemory::answer(const Frame& request, Frame& reply) {
    reply.fill(0);
    std::memcpy(reply.data(), request.data(), 7);
    int length = request[4];
    int address = getLe16(&request[5]);
    uint8_t status = kSimStatusOk;
    switch (request[3]) {
        case 1:   // begin a group
        case 2:   // end a group
        case 13:  // test
            break;
        case 3: status = readInfo(length, address, reply); break;
        case 4: status = writeInfo(length, address, request); break;
        case 5: status = readInto(settings, length, address, reply); break;
        case 6: status = writeFrom(settings, length, address, request); break;
        case 7: status = readInto(keyTables, length, address, reply); break;
        case 8: status = writeFrom(keyTables, length, address, request); break;
        case 9: status = readInto(macros, length, address, reply); break;
        case 10: status = writeFrom(macros, length, address, request); break;
        case 15: status = readInto(factory, length, address, reply); break;
        case 16: status = readInto(keyColors, length, address, reply); break;
        case 17: status = writeFrom(keyColors, length, address, request); break;
        default: status = kSimStatusUnknownCommand; break;
    }
    reply[7] = status;
}

namespace {
// A transfer must start inside the area and end at or before its end.
bool fits(const std::vector<uint8_t>& area, int length, int address) {
    return length <= kSimMaxPayload && size_t(address) < area.size() &&
           size_t(address + length) <= area.size();
}
}  // namespace

uint8_t SimMemory::readInto(const std::vector<uint8_t>& area, int length, int address,
                            Frame& reply) const {
    if (!fits(area, length, address)) return kSimStatusOutOfRange;
    std::memcpy(&reply[8], area.data() + address, size_t(length));
    return kSimStatusOk;
}

uint8_t SimMemory::writeFrom(std::vector<uint8_t>& area, int length, int address,
                             const Frame& request) {
    if (!fits(area, length, address)) return kSimStatusOutOfRange;
    std::memcpy(area.data() + address, &request[8], size_t(length));
    return kSimStatusOk;
}

// The block is read whole, whatever length the host asks for.
uint8_t SimMemory::readInfo(int length, int address, Frame& reply) const {
    if (address != 0 || length > kSimMaxPayload) return kSimStatusOutOfRange;
    std::memcpy(&reply[8], info.data(), info.size());
    return kSimStatusOk;
}

// The block is written whole and kept as the host sent it; an active profile other than 0..2 is
// refused, so the keyboard never runs a profile it does not have.
uint8_t SimMemory::writeInfo(int length, int address, const Frame& request) {
    if (address != 0 || length != kSimInfoSize || request[8 + 10] > 2) return kSimStatusOutOfRange;
    std::memcpy(info.data(), &request[8], info.size());
    return kSimStatusOk;
}

}  // namespace tarnel::sim
