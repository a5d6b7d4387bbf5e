// The simulated keyboard's three HID interfaces: their report descriptors, their capabilities and
// the device paths that name them.
#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "devicelink/hid_caps.h"
#include "devicelink/keyboard_model.h"

namespace tarnel::sim {

// In enumeration order: the standard keyboard comes first, as on the real device.
enum class SimInterface { Keyboard = 0, Consumer = 1, Command = 2 };
inline constexpr int kSimInterfaceCount = 3;

inline constexpr uint8_t kCommandReportId = 4;
inline constexpr uint8_t kConsumerReportId = 3;
inline constexpr size_t kCommandReportSize = 64;
inline constexpr size_t kConsumerReportSize = 3;

std::span<const uint8_t> DescriptorOf(SimInterface which);
// The capabilities the report-descriptor parser computes from the interface's descriptor.
const HidCollectionCaps& CapsOf(SimInterface which);

// "sim:gen<generation>/vid_xxxx&pid_xxxx&mi_.." ; a re-plug is a new generation, so new paths.
std::string PathOf(const KeyboardModel& model, unsigned generation, SimInterface which);
// The generation and interface a path names for this model; false for any other path.
bool ParsePath(const std::string& path, const KeyboardModel& model, unsigned& generation,
               SimInterface& which);

}  // namespace tarnel::sim
