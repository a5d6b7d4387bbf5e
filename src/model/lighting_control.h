// The tool's copy of the keyboard's lighting memory and the operations that read and change it.
// Each user action has exactly one operation here; the lighting panel, the main window's
// report-rate buttons and the command-line front end all call the same ones.
//
// Every write is one group: command 1, one or more commands 6 (17 for key colours), command 2,
// addressed to the profile in `link().currentProfile` (record of profile p at 42p, key colours
// at 512p). Nothing is read back: on success an operation updates the tool's copy (the record
// bytes and the decoded fields) to what it wrote; on failure the copy is left as it was.
//
// Results: 1 (ResultOk) when every command of the group succeeded; otherwise the first failing
// command's result code (0 no reply / not connected, -1 write failed, -102 status 0xFF, -103
// status 0xFE), -201 (ResultBadProfile) when currentProfile is not 0..2, and kLightingBadValue
// when an argument is out of range; in those two cases nothing is sent. After a failed command
// 1 nothing more is sent; after a failed data command the rest of the data is skipped and
// command 2 still closes the group.
//
// Threads: one thread at a time (the UI thread in the program); each command is one transaction
// under the connection's lock.
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <utility>

#include "model/lighting_state.h"

namespace tarnel {

class CommandSet;
struct LinkState;

// An argument outside its range; nothing was sent.
inline constexpr int kLightingBadValue = -301;

// Per-key colour transfers move blocks of 18 positions (54 bytes).
inline constexpr int kKeyColorBlockPositions = 18;
inline constexpr int kKeyColorBlockSize = kKeyColorBlockPositions * 3;
// Blocks of a whole-table transfer: keyCount / 18 + 1, 8 for both models.
int KeyColorBlockCount(int keyCount);

class LightingControl {
public:
    explicit LightingControl(CommandSet& commands);

    // --- Reading ---------------------------------------------------------------------------
    // Reads the information block (effect list, active profile), then the three records in one
    // group, and decodes currentProfile's record. With `afterConnection`, currentProfile first
    // becomes the keyboard's active profile (information byte 10) when that is 0..2.
    // 1 when everything was read. When the information block cannot be read the effect list
    // is empty and nothing else changes; a failed record read leaves that record's previous
    // bytes (the records read so far are kept and the fields decoded).
    int ReadLightingState(bool afterConnection = false);
    // Decodes currentProfile's record again (after the caller changed currentProfile).
    void DecodeCurrent();

    // Reads a whole key colour table of `profile` into keyColors(profile), 8 blocks.
    int ReadKeyColors(int profile);

    // --- Writing: one operation per user action -------------------------------------------
    // Raw write of 1..35 bytes at `offset` of currentProfile's record (offset + length <= 42).
    int WriteLightingBytes(int offset, std::span<const uint8_t> bytes);

    // Effect chosen: writes offset 0 and, for effects that use it, offset 4 (the current
    // multicolour as 0 or 1). A number the tool does not know writes nothing, sets the
    // effect field to 0 and returns 1; callers that must tell the user check EffectInfoOf.
    // 0..255 only.
    int WriteEffect(int effect);
    // Brightness slider position 0..4 (offset 1). Callers of a slider call it only when the
    // position changed.
    int SetBrightness(int position);
    // Speed slider position 0..4 (offset 2 stores 4 - position; 4 is the fastest). The speed
    // field then holds the stored value.
    int SetSpeed(int position);
    // Direction: the first picture (true, 255) or the second (false, 0), offset 3.
    int SetDirection(bool first);
    // Multicolour toggle, offset 4 := 1 or 0.
    int SetMulticolor(bool on);
    // Colour from a colour button (red | green << 8 | blue << 16): offset 4 := 0, then
    // offsets 5..7 := red, green, blue, as two commands 6.
    int SetColor(uint32_t color);
    // Fixed colour of effect 17: 0 red, 1 yellow, 2 green, 3 blue (offset 17).
    int SetColorChoice(int choice);
    // Report-rate button 0..3 (offset 15).
    int SetReportRate(int rate);
    // The default record (35 bytes at currentProfile x 42); offsets 35..41 keep their bytes.
    int WriteDefaultLighting();

    // Whole key colour table of currentProfile from keyColors(currentProfile), 8 blocks.
    int WriteKeyColors();
    // One key colour at matrix position 0..169; on success keyColors(currentProfile) holds it.
    int WriteKeyColor(int position, uint8_t red, uint8_t green, uint8_t blue);

    // --- The tool's copy -------------------------------------------------------------------
    const LightingFields& fields() const { return m_fields; }
    // Records as last read (and as changed by successful writes), profiles 0..2.
    const LightingState& record(int profile) const;
    const EffectList& effectList() const { return m_effectList; }
    const EffectSlots& effectSlots() const { return m_slots; }
    bool IsUserModeSupported() const;
    // Key colour tables 0..2 (profile outside 0..2 clamps into range).
    const KeyColorTable& keyColors(int profile) const;
    KeyColorTable& keyColors(int profile);
    // The profile that writes address: link().currentProfile, -1 when it is not 0..2.
    int currentProfile() const;

    CommandSet& commands() { return m_commands; }

    // Used by WriteMagicFn (magic_fn.h) to keep the decoded choice in step with a write.
    void setMagicFnChoice(int choice) { m_fields.magicFnChoice = choice; }

private:
    int writeGroup(std::span<const std::pair<int, std::span<const uint8_t>>> writes);
    int writeOne(int offset, uint8_t value);
    void storeBytes(int profile, int offset, std::span<const uint8_t> bytes);

    CommandSet& m_commands;
    std::array<LightingState, 3> m_records{};
    std::array<KeyColorTable, 3> m_keyColors{};
    EffectList m_effectList{};
    EffectSlots m_slots;
    LightingFields m_fields;
};

}  // namespace tarnel
