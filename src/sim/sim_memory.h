// The simulated keyboard's memory areas and the command set that reads and writes them. Pure
// logic, no locking: SimKeyboard holds its own lock around every call.
#pragma once
#include <cstdint>
#include <vector>

#include "devicelink/keyboard_model.h"
#include "sim/sim_keyboard.h"

namespace tarnel::sim {

inline constexpr int kSimInfoSize = 44;
inline constexpr int kSimSettingsSize = 256;
inline constexpr int kSimKeyColorsSize = 3 * 512;
inline constexpr int kSimMaxPayload = 56;
inline constexpr uint8_t kSimStatusOk = 0x00;
inline constexpr uint8_t kSimStatusUnknownCommand = 0xFF;
inline constexpr uint8_t kSimStatusOutOfRange = 0xFE;

// The factory key table of a model: keyTableSize bytes, one 3-byte code per key position.
std::vector<uint8_t> FactoryKeyTable(const KeyboardModel& model);

struct SimMemory {
    KeyboardModel model = kModelA;
    std::vector<uint8_t> info, settings, keyTables, factory, macros, keyColors;

    // Fresh memory of this model, as the keyboard leaves the factory.
    void reset(const KeyboardModel& m);
    std::vector<uint8_t>& areaOf(SimArea which);
    const std::vector<uint8_t>& areaOf(SimArea which) const;
    void setMacroCapacityByte(uint8_t units);

    // Carries out one request and fills the reply: header bytes 0-6 echoed, byte 7 the status,
    // for reads the payload from byte 8. A request that fails changes nothing.
    void answer(const Frame& request, Frame& reply);

private:
    uint8_t readInto(const std::vector<uint8_t>& area, int length, int address, Frame& reply) const;
    static uint8_t writeFrom(std::vector<uint8_t>& area, int length, int address,
                             const Frame& request);
    uint8_t readInfo(int length, int address, Frame& reply) const;
    uint8_t writeInfo(int length, int address, const Frame& request);
};

}  // namespace tarnel::sim
