#include "sim/sim_interfaces.h"

#include <cstdio>
#include <vector>

namespace tarnel::sim {
namespace {

// Vendor collection: 63 data bytes each way after report id 4.
constexpr uint8_t kCommandDescriptor[] = {
    0x06, 0x1C, 0xFF,  // Usage Page (0xFF1C)
    0x09, 0x92,        // Usage (0x92)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x04,        //   Report ID (4)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x3F,        //   Report Count (63)
    0x09, 0x01,        //   Usage (1)
    0x81, 0x02,        //   Input (Data, Variable, Absolute)
    0x09, 0x02,        //   Usage (2)
    0x91, 0x02,        //   Output (Data, Variable, Absolute)
    0xC0,              // End Collection
};

// Consumer control: one 16-bit array field naming the pressed usage, 0 when released.
constexpr uint8_t kConsumerDescriptor[] = {
    0x05, 0x0C,        // Usage Page (Consumer)
    0x09, 0x01,        // Usage (Consumer Control)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x03,        //   Report ID (3)
    0x19, 0x00,        //   Usage Minimum (0)
    0x2A, 0xFF, 0x1F,  //   Usage Maximum (0x1FFF)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x1F,  //   Logical Maximum (0x1FFF)
    0x75, 0x10,        //   Report Size (16)
    0x95, 0x01,        //   Report Count (1)
    0x81, 0x00,        //   Input (Data, Array, Absolute)
    0xC0,              // End Collection
};

// The boot-protocol keyboard: modifiers, a reserved byte, six key slots; five LEDs out.
constexpr uint8_t kKeyboardDescriptor[] = {
    0x05, 0x01,        // Usage Page (Generic Desktop)
    0x09, 0x06,        // Usage (Keyboard)
    0xA1, 0x01,        // Collection (Application)
    0x05, 0x07,        //   Usage Page (Keyboard)
    0x19, 0xE0,        //   Usage Minimum (Left Control)
    0x29, 0xE7,        //   Usage Maximum (Right GUI)
    0x15, 0x00,        //   Logical Minimum (0)
    0x25, 0x01,        //   Logical Maximum (1)
    0x75, 0x01,        //   Report Size (1)
    0x95, 0x08,        //   Report Count (8)
    0x81, 0x02,        //   Input (Data, Variable, Absolute)
    0x95, 0x01,        //   Report Count (1)
    0x75, 0x08,        //   Report Size (8)
    0x81, 0x01,        //   Input (Constant)
    0x95, 0x05,        //   Report Count (5)
    0x75, 0x01,        //   Report Size (1)
    0x05, 0x08,        //   Usage Page (LEDs)
    0x19, 0x01,        //   Usage Minimum (Num Lock)
    0x29, 0x05,        //   Usage Maximum (Kana)
    0x91, 0x02,        //   Output (Data, Variable, Absolute)
    0x95, 0x01,        //   Report Count (1)
    0x75, 0x03,        //   Report Size (3)
    0x91, 0x01,        //   Output (Constant)
    0x95, 0x06,        //   Report Count (6)
    0x75, 0x08,        //   Report Size (8)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x05, 0x07,        //   Usage Page (Keyboard)
    0x19, 0x00,        //   Usage Minimum (0)
    0x2A, 0xFF, 0x00,  //   Usage Maximum (255)
    0x81, 0x00,        //   Input (Data, Array, Absolute)
    0xC0,              // End Collection
};

// The interfaces' descriptors are fixed and well formed; each holds one top-level collection.
HidCollectionCaps computeCaps(SimInterface which) {
    std::vector<HidCollectionCaps> parsed;
    if (!ParseReportDescriptor(DescriptorOf(which), parsed) || parsed.size() != 1) return {};
    return parsed.front();
}

const char* suffixOf(SimInterface which) {
    switch (which) {
        case SimInterface::Keyboard: return "mi_00";
        case SimInterface::Consumer: return "mi_01&col01";
        case SimInterface::Command: break;
    }
    return "mi_01&col02";
}

}  // namespace

std::span<const uint8_t> DescriptorOf(SimInterface which) {
    switch (which) {
        case SimInterface::Keyboard: return kKeyboardDescriptor;
        case SimInterface::Consumer: return kConsumerDescriptor;
        case SimInterface::Command: break;
    }
    return kCommandDescriptor;
}

const HidCollectionCaps& CapsOf(SimInterface which) {
    static const HidCollectionCaps all[kSimInterfaceCount] = {
        computeCaps(SimInterface::Keyboard), computeCaps(SimInterface::Consumer),
        computeCaps(SimInterface::Command)};
    return all[int(which)];
}

std::string PathOf(const KeyboardModel& model, unsigned generation, SimInterface which) {
    char text[96];
    std::snprintf(text, sizeof text, "sim:gen%u/vid_%04x&pid_%04x&%s", generation,
                  unsigned(model.vendorId), unsigned(model.productId), suffixOf(which));
    return text;
}

bool ParsePath(const std::string& path, const KeyboardModel& model, unsigned& generation,
               SimInterface& which) {
    unsigned g = 0;
    if (std::sscanf(path.c_str(), "sim:gen%u/", &g) != 1) return false;
    for (int i = 0; i < kSimInterfaceCount; ++i) {
        if (path == PathOf(model, g, SimInterface(i))) {
            generation = g;
            which = SimInterface(i);
            return true;
        }
    }
    return false;
}

}  // namespace tarnel::sim
