// The keyboard's command set: one operation per command, each one or more
// transactions over the command connection. Every operation returns a DeviceResult
// (ResultOk = 1 is success; callers compare with 1 only).
#pragma once
#include <cstdint>

#include "devicelink/frame.h"
#include "devicelink/result.h"
#include "devicelink/transaction.h"

namespace tarnel {

class DeviceConnection;
struct LinkState;

inline constexpr int kInfoBlockSize = 44;
inline constexpr int kSettingsReadSize = 56;
inline constexpr int kLightingRecordSize = 42;
inline constexpr int kKeyColorTableStride = 512;
inline constexpr int kCmdEndPauseMs = 10;

// Fields of the 44-byte device information block.
inline constexpr int kInfoFirmwareOffset = 8;   // 16-bit LE
inline constexpr int kInfoActiveProfileOffset = 10;
inline constexpr int kInfoMacroUnitsOffset = 11;  // x 128 bytes
inline constexpr int kInfoEffectsOffset = 12;     // 32 effect numbers
inline constexpr int kMacroCapacityUnit = 128;
inline constexpr int kProfileCount = 3;

enum CommandCode : uint8_t {
    CmdCodeBegin = 1,
    CmdCodeEnd = 2,
    CmdCodeReadInfo = 3,
    CmdCodeWriteInfo = 4,
    CmdCodeReadSettings = 5,
    CmdCodeWriteSettings = 6,
    CmdCodeReadKeyTable = 7,
    CmdCodeWriteKeyTable = 8,
    CmdCodeReadMacros = 9,
    CmdCodeWriteMacros = 10,
    CmdCodeTest = 13,
    CmdCodeReadDefaultKeyTable = 15,
    CmdCodeReadKeyColors = 16,
    CmdCodeWriteKeyColors = 17,
};

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
    // Writes profile p as the active one (p outside 0..2: nothing sent). The cache then holds
    // p on success, else -1.
    void SetActiveProfile(int profile);

    // Progress of the chunked commands (7, 8, 9, 10, 15); empty by default. Set it from the
    // thread that issues the commands.
    void setChunkProgress(ChunkProgress progress) { m_progress = std::move(progress); }

    LinkState& link() { return m_link; }
    DeviceConnection& connection() { return m_connection; }

private:
    // Build, transact, check status, copy `copyOut` reply payload bytes into dest.
    int singleFrame(uint8_t command, int length, int address, const uint8_t* payload,
                    uint8_t* dest, int copyOut);
    int profileBase(int profile, int stride) const;

    DeviceConnection& m_connection;
    LinkState& m_link;
    ChunkProgress m_progress;
};

}  // namespace tarnel
