// Report-descriptor parser: walks the short items of a HID report descriptor and computes, for
// every top-level collection, the report lengths and the button and value capabilities the HID
// layer would report.
//
// How main items become capabilities (the same way the Windows HID layer counts them):
// - A variable item hands its fields to its usages in order: a single usage takes one field, a
//   range one field per usage; the last usage takes every field that is left. Each usage (or
//   range) is one capability.
// - An array item gives one capability per usage (or range); each covers the whole array, with
//   the item's logical range.
// - Variable items of 1-bit fields and all array items are buttons; the rest are values.
// - Constant items are padding: their bits count towards the report, but they have no
//   capability, whatever usage they carry.
// Every field lies in the report of its kind and report id; bit offsets count from the first
// bit after the report id byte, across the whole descriptor.
#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "devicelink/hid_caps.h"

namespace tarnel {
namespace {

constexpr size_t kMaxPushDepth = 32;
// The longest report whose length (id byte included) still fits reportByteLength.
constexpr uint64_t kMaxReportBits = (0xFFFFu - 1u) * 8u;

enum ItemType : uint8_t { TypeMain = 0, TypeGlobal = 1, TypeLocal = 2 };

enum MainTag : uint8_t {
    MainInput = 0x8,
    MainOutput = 0x9,
    MainCollection = 0xA,
    MainFeature = 0xB,
    MainEndCollection = 0xC
};

enum GlobalTag : uint8_t {
    GlobalUsagePage = 0x0,
    GlobalLogicalMin = 0x1,
    GlobalLogicalMax = 0x2,
    GlobalPhysicalMin = 0x3,
    GlobalPhysicalMax = 0x4,
    GlobalReportSize = 0x7,
    GlobalReportId = 0x8,
    GlobalReportCount = 0x9,
    GlobalPush = 0xA,
    GlobalPop = 0xB
};

enum LocalTag : uint8_t { LocalUsage = 0x0, LocalUsageMin = 0x1, LocalUsageMax = 0x2, LocalDelimiter = 0xA };

constexpr uint32_t kFlagConstant = 0x01;
constexpr uint32_t kFlagVariable = 0x02;

enum ReportKind { KindInput = 0, KindOutput = 1, KindFeature = 2, KindCount = 3 };

struct Item {
    uint8_t type = 0;
    uint8_t tag = 0;
    uint8_t size = 0;    // data bytes: 0, 1, 2 or 4
    uint32_t data = 0;   // unsigned, little-endian

    int32_t signedData() const {
        if (size == 1) return int8_t(data);
        if (size == 2) return int16_t(data);
        return int32_t(data);
    }
};

struct GlobalState {
    uint16_t usagePage = 0;
    int32_t logicalMin = 0;
    int32_t logicalMax = 0;
    int32_t physicalMin = 0;
    int32_t physicalMax = 0;
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint8_t reportId = 0;
};

// A usage or usage range of the local state. A 4-byte usage carries its own page; the others take
// the global usage page in force at the main item.
struct UsageElement {
    std::optional<uint16_t> page;
    uint16_t min = 0;
    uint16_t max = 0;
    bool isRange = false;
};

struct LocalState {
    std::vector<UsageElement> usages;
    std::optional<Item> pendingMin;
    std::optional<Item> pendingMax;
    bool inDelimiter = false;
    bool delimiterTaken = false;  // the first usage of the open delimiter set is in; aliases are not

    void clear() { *this = LocalState{}; }
};

struct PendingCollection {
    HidCollectionCaps caps;
    std::array<std::bitset<256>, KindCount> reportIds;  // report ids with fields in this collection
};

bool readItem(std::span<const uint8_t> d, size_t& pos, Item& item, bool& isLong) {
    const uint8_t prefix = d[pos];
    isLong = prefix == 0xFE;
    if (isLong) {
        // Long item: size byte, tag byte, then the data; nothing is defined for it, so it is skipped.
        if (d.size() - pos < 3) return false;
        const size_t dataSize = d[pos + 1];
        if (d.size() - pos - 3 < dataSize) return false;
        pos += 3 + dataSize;
        return true;
    }
    static constexpr uint8_t kSizes[4] = {0, 1, 2, 4};
    item.size = kSizes[prefix & 0x3];
    item.type = (prefix >> 2) & 0x3;
    item.tag = prefix >> 4;
    if (d.size() - pos - 1 < item.size) return false;
    item.data = 0;
    for (uint8_t i = 0; i < item.size; ++i) item.data |= uint32_t(d[pos + 1 + i]) << (8 * i);
    pos += 1 + item.size;
    return true;
}

UsageElement usageFrom(const Item& item) {
    UsageElement u;
    if (item.size == 4) u.page = uint16_t(item.data >> 16);
    u.min = u.max = uint16_t(item.data);
    return u;
}

class DescriptorParser {
public:
    bool run(std::span<const uint8_t> d) {
        size_t pos = 0;
        while (pos < d.size()) {
            Item item;
            bool isLong = false;
            if (!readItem(d, pos, item, isLong)) return false;
            if (!isLong && !handle(item)) return false;
        }
        return m_depth == 0;
    }

    // Collections closed so far, with their report lengths.
    std::vector<HidCollectionCaps> finish() {
        std::vector<HidCollectionCaps> out;
        for (PendingCollection& p : m_done) {
            setLength(p, KindInput, p.caps.input);
            setLength(p, KindOutput, p.caps.output);
            setLength(p, KindFeature, p.caps.feature);
            out.push_back(std::move(p.caps));
        }
        return out;
    }

private:
    bool handle(const Item& item) {
        switch (item.type) {
            case TypeMain: return handleMain(item);
            case TypeGlobal: return handleGlobal(item);
            case TypeLocal: return handleLocal(item);
            default: return true;  // reserved item type
        }
    }

    bool handleMain(const Item& item) {
        bool ok = true;
        switch (item.tag) {
            case MainInput: ok = addField(KindInput, item.data); break;
            case MainOutput: ok = addField(KindOutput, item.data); break;
            case MainFeature: ok = addField(KindFeature, item.data); break;
            case MainCollection: ok = beginCollection(); break;
            case MainEndCollection: ok = endCollection(); break;
            default: break;  // reserved main item
        }
        m_local.clear();
        return ok;
    }

    bool handleGlobal(const Item& item) {
        GlobalState& g = m_global;
        switch (item.tag) {
            case GlobalUsagePage: g.usagePage = uint16_t(item.data); break;
            case GlobalLogicalMin: g.logicalMin = item.signedData(); break;
            case GlobalLogicalMax: g.logicalMax = item.signedData(); break;
            case GlobalPhysicalMin: g.physicalMin = item.signedData(); break;
            case GlobalPhysicalMax: g.physicalMax = item.signedData(); break;
            case GlobalReportSize: g.reportSize = item.data; break;
            case GlobalReportCount: g.reportCount = item.data; break;
            case GlobalReportId:
                if (item.data == 0 || item.data > 0xFF) return false;
                g.reportId = uint8_t(item.data);
                break;
            case GlobalPush:
                if (m_stack.size() >= kMaxPushDepth) return false;
                m_stack.push_back(g);
                break;
            case GlobalPop:
                if (m_stack.empty()) return false;
                g = m_stack.back();
                m_stack.pop_back();
                break;
            default: break;  // unit, unit exponent, reserved
        }
        return true;
    }

    bool handleLocal(const Item& item) {
        LocalState& l = m_local;
        switch (item.tag) {
            case LocalUsage: addUsage(usageFrom(item)); break;
            case LocalUsageMin: l.pendingMin = item; break;
            case LocalUsageMax: l.pendingMax = item; break;
            case LocalDelimiter:
                if (item.data == 1) {
                    if (l.inDelimiter) return false;
                    l.inDelimiter = true;
                    l.delimiterTaken = false;
                } else if (item.data == 0) {
                    if (!l.inDelimiter) return false;
                    l.inDelimiter = false;
                } else {
                    return false;
                }
                break;
            default: break;  // designators, strings, reserved
        }
        if (l.pendingMin && l.pendingMax) addRange();
        return true;
    }

    // Usage minimum and maximum pair up in either order; a range whose maximum lies below its
    // minimum names no usage.
    void addRange() {
        UsageElement u = usageFrom(*m_local.pendingMin);
        u.max = uint16_t(m_local.pendingMax->data);
        u.isRange = true;
        m_local.pendingMin.reset();
        m_local.pendingMax.reset();
        if (u.max >= u.min) addUsage(u);
    }

    void addUsage(const UsageElement& u) {
        if (m_local.inDelimiter) {
            if (m_local.delimiterTaken) return;
            m_local.delimiterTaken = true;
        }
        m_local.usages.push_back(u);
    }

    uint16_t pageOf(const UsageElement& u) const { return u.page.value_or(m_global.usagePage); }

    bool beginCollection() {
        if (m_depth == 0) {
            m_current = PendingCollection{};
            if (!m_local.usages.empty()) {
                const UsageElement& u = m_local.usages.front();
                m_current.caps.usagePage = pageOf(u);
                m_current.caps.usage = u.min;
            }
        }
        if (m_depth == UINT32_MAX) return false;
        ++m_depth;
        return true;
    }

    bool endCollection() {
        if (m_depth == 0) return false;
        if (--m_depth == 0) m_done.push_back(std::move(m_current));
        return true;
    }

    bool addField(ReportKind kind, uint32_t flags) {
        if (m_depth == 0) return false;  // fields belong to a collection
        const GlobalState& g = m_global;
        const uint64_t bits = uint64_t(g.reportSize) * g.reportCount;
        uint64_t& total = m_reportBits[kind][g.reportId];
        if (total + bits > kMaxReportBits) return false;
        const uint32_t start = uint32_t(total);
        total += bits;
        m_current.reportIds[kind].set(g.reportId);
        if ((flags & kFlagConstant) || g.reportCount == 0) return true;
        HidReportCaps& caps = kind == KindInput    ? m_current.caps.input
                              : kind == KindOutput ? m_current.caps.output
                                                   : m_current.caps.feature;
        if (flags & kFlagVariable)
            addVariableCaps(caps.caps, start);
        else
            addArrayCaps(caps.caps, start);
        return true;
    }

    HidUsageCap baseCap(const UsageElement& u, uint32_t bitOffset) const {
        const GlobalState& g = m_global;
        HidUsageCap c;
        c.usagePage = pageOf(u);
        c.reportId = g.reportId;
        c.isRange = u.isRange;
        c.usageMin = u.min;
        c.usageMax = u.max;
        c.bitSize = uint16_t(g.reportSize);
        c.logicalMin = g.logicalMin;
        c.logicalMax = g.logicalMax;
        c.physicalMin = g.physicalMin;
        c.physicalMax = g.physicalMax;
        c.bitOffset = bitOffset;
        return c;
    }

    // A data item without any usage still has fields: they get usage 0 of the current page.
    std::vector<UsageElement> usagesOrZero() const {
        if (!m_local.usages.empty()) return m_local.usages;
        return {UsageElement{}};
    }

    void addVariableCaps(std::vector<HidUsageCap>& out, uint32_t start) const {
        const std::vector<UsageElement> usages = usagesOrZero();
        const uint32_t count = m_global.reportCount;
        uint32_t field = 0;
        for (size_t i = 0; i < usages.size() && field < count; ++i) {
            const UsageElement& u = usages[i];
            const uint32_t left = count - field;
            uint32_t n = u.isRange ? uint32_t(u.max - u.min) + 1 : 1;
            if (i + 1 == usages.size() || n > left) n = left;
            HidUsageCap c = baseCap(u, start + field * m_global.reportSize);
            c.isButton = m_global.reportSize == 1;
            c.reportCount = uint16_t(n);
            out.push_back(c);
            field += n;
        }
    }

    void addArrayCaps(std::vector<HidUsageCap>& out, uint32_t start) const {
        for (const UsageElement& u : usagesOrZero()) {
            HidUsageCap c = baseCap(u, start);
            c.isButton = true;
            c.isArray = true;
            c.reportCount = uint16_t(m_global.reportCount);
            out.push_back(c);
        }
    }

    void setLength(const PendingCollection& p, ReportKind kind, HidReportCaps& caps) const {
        uint64_t longest = 0;
        bool any = false;
        for (size_t id = 0; id < 256; ++id) {
            if (!p.reportIds[kind].test(id)) continue;
            any = true;
            const uint64_t bytes = 1 + (m_reportBits[kind][id] + 7) / 8;
            if (bytes > longest) longest = bytes;
        }
        caps.reportByteLength = any ? uint16_t(longest) : 0;
    }

    GlobalState m_global;
    std::vector<GlobalState> m_stack;
    LocalState m_local;
    uint32_t m_depth = 0;
    PendingCollection m_current;
    std::vector<PendingCollection> m_done;
    std::array<std::array<uint64_t, 256>, KindCount> m_reportBits{};
};

}  // namespace

bool ParseReportDescriptor(std::span<const uint8_t> descriptor, std::vector<HidCollectionCaps>& out) {
    DescriptorParser parser;
    const bool ok = parser.run(descriptor);
    out = parser.finish();
    return ok;
}

}  // namespace tarnel
