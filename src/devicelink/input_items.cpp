#include "devicelink/input_items.h"

#include <algorithm>

namespace tarnel {
namespace {

// Reads `bits` (1..32) bits starting at bit `pos` of the field area (the bytes after the report
// id byte), least significant bit first. False when the field runs past the report.
bool readField(const uint8_t* report, size_t length, uint64_t pos, unsigned bits, uint32_t& out) {
    if (bits == 0 || bits > 32 || length < 1) return false;
    if ((pos + bits + 7) / 8 > length - 1) return false;
    const uint8_t* fields = report + 1;
    uint64_t v = 0;
    for (unsigned i = 0; i < bits; ++i) {
        uint64_t bit = pos + i;
        v |= uint64_t((fields[bit / 8] >> (bit % 8)) & 1) << i;
    }
    out = uint32_t(v);
    return true;
}

int32_t signExtend(uint32_t raw, unsigned bits, bool isSigned) {
    if (!isSigned || bits >= 32) return int32_t(raw);
    uint32_t sign = 1u << (bits - 1);
    return int32_t((raw ^ sign) - sign);
}

int32_t scaled(int32_t raw, const HidUsageCap& c) {
    int64_t pmin = c.physicalMin, pmax = c.physicalMax;
    if (pmin == 0 && pmax == 0) pmin = c.logicalMin, pmax = c.logicalMax;
    if (c.logicalMax <= c.logicalMin) return raw;
    int64_t num = (int64_t(raw) - c.logicalMin) * (pmax - pmin);
    return int32_t(pmin + num / (int64_t(c.logicalMax) - c.logicalMin));
}

void addUsage(InputItem& item, uint32_t usage, size_t& count) {
    if (usage == 0 || usage < item.usageMin || usage > item.usageMax) return;
    if (count < item.usages.size()) item.usages[count++] = uint16_t(usage);
}

// An array field holds an index into the usage range; a value outside the logical range is
// the null state.
void parseArray(InputItem& item, const uint8_t* report, size_t length) {
    const HidUsageCap& c = item.cap;
    size_t count = 0;
    for (uint32_t i = 0; i < c.reportCount; ++i) {
        uint32_t raw = 0;
        if (!readField(report, length, c.bitOffset + uint64_t(i) * c.bitSize, c.bitSize, raw))
            break;
        int64_t v = signExtend(raw, c.bitSize, c.logicalMin < 0);
        if (c.logicalMax > c.logicalMin && (v < c.logicalMin || v > c.logicalMax)) continue;
        int64_t usage = c.isRange ? c.usageMin + (v - c.logicalMin) : c.usageMin;
        if (usage > 0 && usage <= 0xFFFF) addUsage(item, uint32_t(usage), count);
    }
    std::fill(item.usages.begin() + long(count), item.usages.end(), 0);
}

void parseBits(InputItem& item, const uint8_t* report, size_t length) {
    const HidUsageCap& c = item.cap;
    size_t count = 0;
    for (uint32_t i = 0; i < c.reportCount; ++i) {
        uint32_t raw = 0;
        if (!readField(report, length, c.bitOffset + uint64_t(i) * c.bitSize, c.bitSize, raw))
            break;
        if (raw != 0) addUsage(item, c.isRange ? c.usageMin + i : c.usageMin, count);
    }
    std::fill(item.usages.begin() + long(count), item.usages.end(), 0);
}

void parseValue(InputItem& item, const uint8_t* report, size_t length) {
    const HidUsageCap& c = item.cap;
    uint32_t raw = 0;
    if (!readField(report, length, c.bitOffset, c.bitSize, raw)) return;
    item.rawValue = signExtend(raw, c.bitSize, c.logicalMin < 0);
    item.scaledValue = scaled(item.rawValue, c);
}

}  // namespace

std::vector<InputItem> BuildInputItems(const HidCollectionCaps& caps) {
    std::vector<InputItem> items;
    // The descriptor comes from the device: a few hundred bytes of it can declare millions of
    // fields. Slots and usage lists past these budgets are not built (no real collection comes
    // near them, and the event code is read from the first button slot).
    size_t usageBudget = kMaxButtonUsages;
    for (const HidUsageCap& c : caps.input.caps) {
        if (items.size() >= kMaxInputSlots) break;
        if (c.isButton) {
            const size_t capacity = std::max<size_t>(c.reportCount, 1);
            if (capacity > usageBudget) continue;
            usageBudget -= capacity;
            InputItem item;
            item.isButton = true;
            item.usagePage = c.usagePage;
            item.reportId = c.reportId;
            item.usageMin = c.usageMin;
            item.usageMax = c.isRange ? c.usageMax : c.usageMin;
            item.usages.assign(capacity, 0);
            item.cap = c;
            items.push_back(std::move(item));
            continue;
        }
        // A value range has one field per usage; never more slots than fields.
        unsigned span = c.isRange && c.usageMax >= c.usageMin ? c.usageMax - c.usageMin + 1u : 1u;
        span = std::min<unsigned>(span, std::max<unsigned>(c.reportCount, 1));
        span = std::min<unsigned>(span, unsigned(kMaxInputSlots - items.size()));
        for (unsigned i = 0; i < span; ++i) {
            InputItem item;
            item.usagePage = c.usagePage;
            item.reportId = c.reportId;
            item.usageMin = item.usageMax = uint16_t(c.usageMin + i);
            item.cap = c;
            item.cap.bitOffset = c.bitOffset + i * c.bitSize;
            item.cap.reportCount = 1;
            items.push_back(std::move(item));
        }
    }
    return items;
}

void ParseInputReport(std::vector<InputItem>& items, const uint8_t* report, size_t length) {
    if (!report || length == 0) return;
    for (InputItem& item : items) {
        if (item.reportId != report[0]) continue;
        if (!item.isButton)
            parseValue(item, report, length);
        else if (item.cap.isArray)
            parseArray(item, report, length);
        else
            parseBits(item, report, length);
    }
}

}  // namespace tarnel
