#include "model/lighting_control.h"

#include <algorithm>
#include <cstring>

#include "devicelink/command_set.h"
#include "devicelink/link_state.h"
#include "devicelink/result.h"

namespace tarnel {
namespace {

using Write = std::pair<int, std::span<const uint8_t>>;  // record offset, bytes

inline constexpr int kMaxLightingWrite = 35;

bool inRange(int value, int low, int high) { return value >= low && value <= high; }

size_t profileIndex(int profile) { return size_t(std::clamp(profile, 0, kProfileCount - 1)); }

}  // namespace

int KeyColorBlockCount(int keyCount) { return keyCount / kKeyColorBlockPositions + 1; }

LightingControl::LightingControl(CommandSet& commands) : m_commands(commands) {}

int LightingControl::currentProfile() const {
    int profile = m_commands.link().currentProfile.load();
    return inRange(profile, 0, kProfileCount - 1) ? profile : -1;
}

const LightingState& LightingControl::record(int profile) const {
    return m_records[profileIndex(profile)];
}

const KeyColorTable& LightingControl::keyColors(int profile) const {
    return m_keyColors[profileIndex(profile)];
}

KeyColorTable& LightingControl::keyColors(int profile) {
    return m_keyColors[profileIndex(profile)];
}

bool LightingControl::IsUserModeSupported() const {
    return tarnel::IsUserModeSupported(m_effectList);
}

int LightingControl::ReadLightingState(bool afterConnection) {
    m_effectList.fill(0);
    m_slots = EffectSlots{};
    uint8_t info[kInfoBlockSize] = {};
    int result = m_commands.CmdReadInfo(info);
    if (result != ResultOk) return result;
    std::copy_n(info + kInfoEffectsOffset, kEffectListSize, m_effectList.begin());
    m_slots = EffectSlots(m_effectList);
    int active = info[kInfoActiveProfileOffset];
    if (afterConnection && active < kProfileCount) m_commands.link().currentProfile.store(active);

    result = m_commands.CmdBegin();
    if (result == ResultOk) {
        for (int p = 0; p < kProfileCount && result == ResultOk; ++p) {
            uint8_t reply[kSettingsReadSize] = {};
            result = m_commands.CmdReadSettings(reply, kSettingsReadSize, p * kLightingStateSize);
            if (result == ResultOk)
                std::copy_n(reply, kLightingStateSize, m_records[size_t(p)].begin());
        }
        int end = m_commands.CmdEnd();
        if (result == ResultOk) result = end;
    }
    DecodeCurrent();
    return result;
}

void LightingControl::DecodeCurrent() {
    int profile = currentProfile();
    if (profile < 0) return;
    LightingState& r = m_records[size_t(profile)];
    // A colour choice the tool does not know shows as red; the copy follows so that the next
    // decode agrees. The keyboard keeps its byte until the user chooses a colour.
    if (DecodeLightingState(r, m_fields)) r[OffColorChoice] = 0;
}

int LightingControl::writeGroup(std::span<const Write> writes) {
    int profile = currentProfile();
    if (profile < 0) return ResultBadProfile;
    int result = m_commands.CmdBegin();
    if (result != ResultOk) return result;
    for (const Write& w : writes) {
        result = m_commands.CmdWriteSettings(w.second.data(), int(w.second.size()),
                                             profile * kLightingStateSize + w.first);
        if (result != ResultOk) break;
    }
    int end = m_commands.CmdEnd();
    if (result != ResultOk) return result;
    if (end != ResultOk) return end;
    for (const Write& w : writes) storeBytes(profile, w.first, w.second);
    return ResultOk;
}

void LightingControl::storeBytes(int profile, int offset, std::span<const uint8_t> bytes) {
    LightingState& r = m_records[size_t(profile)];
    std::copy(bytes.begin(), bytes.end(), r.begin() + offset);
}

int LightingControl::writeOne(int offset, uint8_t value) {
    const uint8_t byte[1] = {value};
    const Write writes[] = {{offset, byte}};
    return writeGroup(writes);
}

int LightingControl::WriteLightingBytes(int offset, std::span<const uint8_t> bytes) {
    // The record is 42 bytes: a write past it would land in the next profile's record.
    int length = int(bytes.size());
    if (!inRange(length, 1, kMaxLightingWrite) || !inRange(offset, 0, kLightingStateSize - length))
        return kLightingBadValue;
    const Write writes[] = {{offset, bytes}};
    int result = writeGroup(writes);
    if (result == ResultOk) DecodeCurrent();
    return result;
}

int LightingControl::WriteEffect(int effect) {
    if (!inRange(effect, 0, 255)) return kLightingBadValue;
    EffectInfo info = EffectInfoOf(effect);
    if (!info.known) {
        m_fields.effect = 0;
        return ResultOk;
    }
    const uint8_t number[1] = {uint8_t(effect)};
    const uint8_t multicolor[1] = {uint8_t(m_fields.multicolor ? 1 : 0)};
    const Write writes[] = {{OffEffect, number}, {OffMulticolor, multicolor}};
    int result = writeGroup(std::span<const Write>(writes, info.writesMulticolor ? 2 : 1));
    if (result == ResultOk) m_fields.effect = effect;
    return result;
}

int LightingControl::SetBrightness(int position) {
    if (!inRange(position, 0, kMaxBrightness)) return kLightingBadValue;
    int result = writeOne(OffBrightness, uint8_t(position));
    if (result == ResultOk) m_fields.brightness = position;
    return result;
}

int LightingControl::SetSpeed(int position) {
    if (!inRange(position, 0, kMaxSpeed)) return kLightingBadValue;
    int stored = SpeedSliderOf(position);  // the mapping is its own inverse
    int result = writeOne(OffSpeed, uint8_t(stored));
    if (result == ResultOk) m_fields.speed = stored;
    return result;
}

int LightingControl::SetDirection(bool first) {
    uint8_t value = first ? kDirectionFirst : kDirectionSecond;
    int result = writeOne(OffDirection, value);
    if (result == ResultOk) m_fields.direction = value;
    return result;
}

int LightingControl::SetMulticolor(bool on) {
    int result = writeOne(OffMulticolor, on ? 1 : 0);
    if (result == ResultOk) m_fields.multicolor = on;
    return result;
}

int LightingControl::SetColor(uint32_t color) {
    const uint8_t single[1] = {0};
    const uint8_t rgb[3] = {RedOf(color), GreenOf(color), BlueOf(color)};
    const Write writes[] = {{OffMulticolor, single}, {OffColor, rgb}};
    int result = writeGroup(writes);
    if (result == ResultOk) {
        m_fields.multicolor = false;
        m_fields.color = color & 0xFFFFFF;
    }
    return result;
}

int LightingControl::SetColorChoice(int choice) {
    if (!inRange(choice, 0, kMaxColorChoice)) return kLightingBadValue;
    int result = writeOne(OffColorChoice, uint8_t(choice));
    if (result == ResultOk) m_fields.colorChoice = choice;
    return result;
}

int LightingControl::SetReportRate(int rate) {
    if (!inRange(rate, 0, kMaxReportRate)) return kLightingBadValue;
    int result = writeOne(OffReportRate, uint8_t(rate));
    if (result == ResultOk) m_fields.reportRate = rate;
    return result;
}

int LightingControl::WriteDefaultLighting() {
    const auto bytes = DefaultLightingBytes();
    const Write writes[] = {{0, bytes}};
    int result = writeGroup(writes);
    if (result == ResultOk) DecodeCurrent();
    return result;
}

int LightingControl::ReadKeyColors(int profile) {
    if (!inRange(profile, 0, kProfileCount - 1)) return ResultBadProfile;
    int result = m_commands.CmdBegin();
    if (result != ResultOk) return result;
    KeyColorTable& table = m_keyColors[size_t(profile)];
    int blocks = KeyColorBlockCount(m_commands.link().keyboardModel().keyCount);
    for (int b = 0; b < blocks && result == ResultOk; ++b) {
        uint8_t reply[kSettingsReadSize] = {};  // the command copies a whole 56-byte payload
        result = m_commands.CmdReadKeyColors(reply, kKeyColorBlockSize,
                                             b * kKeyColorBlockPositions, profile);
        if (result == ResultOk)
            std::copy_n(reply, kKeyColorBlockSize, table.begin() + b * kKeyColorBlockSize);
    }
    int end = m_commands.CmdEnd();
    return result != ResultOk ? result : end;
}

int LightingControl::WriteKeyColors() {
    int profile = currentProfile();
    if (profile < 0) return ResultBadProfile;
    int result = m_commands.CmdBegin();
    if (result != ResultOk) return result;
    const KeyColorTable& table = m_keyColors[size_t(profile)];
    int blocks = KeyColorBlockCount(m_commands.link().keyboardModel().keyCount);
    for (int b = 0; b < blocks && result == ResultOk; ++b)
        result = m_commands.CmdWriteKeyColors(table.data() + b * kKeyColorBlockSize,
                                              kKeyColorBlockSize, b * kKeyColorBlockPositions);
    int end = m_commands.CmdEnd();
    return result != ResultOk ? result : end;
}

int LightingControl::WriteKeyColor(int position, uint8_t red, uint8_t green, uint8_t blue) {
    // The tool's table holds 170 positions: a larger one would write past it.
    if (!inRange(position, 0, kKeyColorPositions - 1)) return kLightingBadValue;
    int profile = currentProfile();
    if (profile < 0) return ResultBadProfile;
    int result = m_commands.CmdBegin();
    if (result != ResultOk) return result;
    const uint8_t rgb[3] = {red, green, blue};
    result = m_commands.CmdWriteKeyColors(rgb, 3, position);
    int end = m_commands.CmdEnd();
    if (result != ResultOk) return result;
    if (end != ResultOk) return end;
    std::copy_n(rgb, 3, m_keyColors[size_t(profile)].begin() + position * 3);
    return ResultOk;
}

}  // namespace tarnel
