// The simulated keyboard: a HidBackend that behaves like the real keyboard. It keeps the
// keyboard's memory areas, answers the command set, raises consumer-control events, logs every
// frame and injects faults. It is the keyboard in every test and in the program's demo mode.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "devicelink/hid_backend.h"
#include "devicelink/keyboard_model.h"

namespace tarnel::sim {

// The keyboard's memory areas.
enum class SimArea {
    Info,             // the 44-byte information block
    Settings,         // 256 bytes; the lighting records of profiles 0..2 at 0, 42, 84
    KeyTables,        // 3 x keyTableStride bytes, profile p at p * keyTableStride
    FactoryKeyTable,  // keyTableSize bytes, read-only for the host (command 15)
    Macros,           // capacity bytes (info byte 11 x 128)
    KeyColors         // 3 x 512 bytes, profile p at p * 512, 3 bytes per LED position
};

enum class FaultKind { NoReply, StatusFF, StatusFE, Unplug };

using Frame = std::array<uint8_t, 64>;

class SimKeyboard : public HidBackend {
public:
    explicit SimKeyboard(const KeyboardModel& model = kModelA, bool plugged = true);
    ~SimKeyboard() override;
    SimKeyboard(const SimKeyboard&) = delete;
    SimKeyboard& operator=(const SimKeyboard&) = delete;

    // HidBackend: three interfaces while plugged (command 0xFF1C/0x92, consumer control
    // 0x000C/0x0001, standard keyboard 0x0001/0x0006); their paths carry "vid_XXXX&pid_XXXX".
    bool enumerate(std::vector<std::string>& paths) override;
    std::unique_ptr<HidDevice> open(const std::string& path, const HidOpenOptions& options,
                                    HidOpenError* error = nullptr) override;
    bool isPresent(const std::string& path) override;

    // Plugging. Unplug makes every open handle fail at once (a waiting read or write returns
    // false); a re-plug is a new arrival (old paths and handles stay dead).
    void plug();
    void unplug();
    bool isPlugged() const;
    // Another keyboard: fresh memory of that model (plugged state unchanged).
    void replaceWith(const KeyboardModel& model);
    const KeyboardModel& model() const;
    // The current paths of the three interfaces (they change with every arrival).
    std::string commandPath() const;
    std::string consumerPath() const;
    std::string keyboardPath() const;

    // Memory, copied in and out under the simulator's lock.
    std::vector<uint8_t> area(SimArea which) const;
    void setArea(SimArea which, size_t offset, std::span<const uint8_t> bytes);
    // The defaults: firmware 0x0102, active profile 0, capacity byte 0x40, effects 1-18, 20, 21.
    void setFirmware(uint16_t version);
    void setActiveProfile(int profile);
    void setMacroCapacityByte(uint8_t units);  // resizes the macro area to units x 128 bytes
    void setEffects(const std::vector<uint8_t>& effects);

    // Faults, one-shot, at the n-th request (1-based) on the command interface counted since
    // construction or the last clearLog(). Unplug at frame n unplugs before answering it.
    void injectFault(int frameNumber, FaultKind kind);
    void clearFaults();
    void setReplyDelayMs(int ms);  // every reply becomes readable this much later
    void setLatencyUs(int us);     // time each report takes on the wire, each way

    // The log of the command interface: every request written, every reply sent.
    std::vector<Frame> requests() const;
    std::vector<Frame> replies() const;
    size_t requestCount() const;
    void clearLog();  // also restarts the frame count that faults refer to

    // An input report on the consumer-control interface carrying this usage (0 = release).
    void sendEvent(uint16_t usage);

    // The whole state (model and every memory area) to and from a file. loadState returns
    // false, and changes nothing, for a missing or malformed file.
    bool saveState(const std::string& path) const;
    bool loadState(const std::string& path);

    // Report descriptors of the three interfaces (real bytes; also used by the parser's tests).
    static std::span<const uint8_t> commandDescriptor();
    static std::span<const uint8_t> consumerDescriptor();
    static std::span<const uint8_t> keyboardDescriptor();

    struct Impl;

private:
    std::shared_ptr<Impl> m_impl;
};

}  // namespace tarnel::sim
