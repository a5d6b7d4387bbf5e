// The keyboard's command set: one operation per command, each one or more transactions over the
// command connection. Every operation returns a DeviceResult (ResultOk = 1 is success).
#pragma once
#include <cstdint>

#include "devicelink/result.h"

namespace tarnel {

class DeviceConnection;
struct LinkState;

inline constexpr int kInfoBlockSize = 44;
inline constexpr int kSettingsReadSize = 56;
inline constexpr int kLightingRecordSize = 42;
inline constexpr int kKeyColorTableStride = 512;
inline constexpr int kPayloadSize = 56;

class CommandSet {
public:
    CommandSet(DeviceConnection& connection, LinkState& link);

    int CmdBegin();                                              // 1
    int CmdEnd();                                                // 2: pauses 10 ms, outside the lock
    int CmdReadInfo(uint8_t* dest44);                            // 3
    int CmdWriteInfo(const uint8_t* src44);                      // 4
    int CmdReadSettings(uint8_t* dest56, int length, int address);      // 5: copies all 56 bytes
    int CmdWriteSettings(const uint8_t* data, int length, int address); // 6
    int CmdReadKeyTable(uint8_t* dest, int profile);             // 7: keyTableSize bytes, -201 if bad
    int CmdWriteKeyTable(const uint8_t* src, int profile);       // 8
    int CmdReadMacros(uint8_t* dest, int count);                 // 9
    int CmdWriteMacros(const uint8_t* src, int count);           // 10
    int CmdTest();                                               // 13
    int CmdReadDefaultKeyTable(uint8_t* dest);                   // 15: keyTableSize bytes
    int CmdReadKeyColors(uint8_t* dest56, int length, int firstKey, int profile);  // 16
    int CmdWriteKeyColors(const uint8_t* data, int length, int firstKey);  // 17: currentProfile

    // 0..2, or -1 when the keyboard cannot be asked; served from activeProfileCache when known.
    int GetActiveProfile();
    // Writes profile p as the active one (p < 0: nothing). The cache holds p on success, else -1.
    void SetActiveProfile(int profile);

    LinkState& link() { return m_link; }
    DeviceConnection& connection() { return m_connection; }

private:
    DeviceConnection& m_connection;
    LinkState& m_link;
};

}  // namespace tarnel
