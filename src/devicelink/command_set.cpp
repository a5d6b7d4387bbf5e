#include "devicelink/command_set.h"

#include <chrono>
#include <cstring>
#include <thread>

#include "devicelink/device_connection.h"
#include "devicelink/link_state.h"

namespace tarnel {

CommandSet::CommandSet(DeviceConnection& connection, LinkState& link)
    : m_connection(connection), m_link(link) {}

int CommandSet::singleFrame(uint8_t command, int length, int address, const uint8_t* payload,
                            uint8_t* dest, int copyOut) {
    CommandReport frame = BuildFrame(command, length, uint16_t(address), payload);
    CommandReport reply;
    int result = Transact(m_connection, m_link, frame.data(), kReportSize, reply.data());
    if (result != ResultOk) return result;
    result = CheckStatus(reply);
    if (result != ResultOk) return result;
    if (dest && copyOut > 0) std::memcpy(dest, reply.payload(), size_t(copyOut));
    return ResultOk;
}

int CommandSet::profileBase(int profile, int stride) const {
    if (profile < 0 || profile >= kProfileCount) return -1;
    return profile * stride;
}

int CommandSet::CmdBegin() { return singleFrame(CmdCodeBegin, 0, 0, nullptr, nullptr, 0); }

int CommandSet::CmdEnd() {
    CommandReport frame = BuildFrame(CmdCodeEnd, 0, 0, nullptr);
    // The keyboard needs this pause before the closing frame; no lock is held across it.
    std::this_thread::sleep_for(std::chrono::milliseconds(kCmdEndPauseMs));
    CommandReport reply;
    int result = Transact(m_connection, m_link, frame.data(), kReportSize, reply.data());
    return result != ResultOk ? result : CheckStatus(reply);
}

int CommandSet::CmdReadInfo(uint8_t* dest44) {
    return singleFrame(CmdCodeReadInfo, kInfoBlockSize, 0, nullptr, dest44, kInfoBlockSize);
}

int CommandSet::CmdWriteInfo(const uint8_t* src44) {
    return singleFrame(CmdCodeWriteInfo, kInfoBlockSize, 0, src44, nullptr, 0);
}

int CommandSet::CmdReadSettings(uint8_t* dest56, int length, int address) {
    return singleFrame(CmdCodeReadSettings, length, address, nullptr, dest56, kSettingsReadSize);
}

int CommandSet::CmdWriteSettings(const uint8_t* data, int length, int address) {
    return singleFrame(CmdCodeWriteSettings, length, address, data, nullptr, 0);
}

int CommandSet::CmdReadKeyTable(uint8_t* dest, int profile) {
    const KeyboardModel& model = m_link.keyboardModel();
    int base = profileBase(profile, model.keyTableStride);
    if (base < 0) return ResultBadProfile;
    return ReadArea(m_connection, m_link, CmdCodeReadKeyTable, base, model.keyTableSize, dest,
                    m_progress);
}

int CommandSet::CmdWriteKeyTable(const uint8_t* src, int profile) {
    const KeyboardModel& model = m_link.keyboardModel();
    int base = profileBase(profile, model.keyTableStride);
    if (base < 0) return ResultBadProfile;
    return WriteArea(m_connection, m_link, CmdCodeWriteKeyTable, base, model.keyTableSize, src,
                     m_progress);
}

int CommandSet::CmdReadMacros(uint8_t* dest, int count) {
    return ReadArea(m_connection, m_link, CmdCodeReadMacros, 0, count, dest, m_progress);
}

int CommandSet::CmdWriteMacros(const uint8_t* src, int count) {
    return WriteArea(m_connection, m_link, CmdCodeWriteMacros, 0, count, src, m_progress);
}

int CommandSet::CmdTest() { return singleFrame(CmdCodeTest, 0, 0, nullptr, nullptr, 0); }

int CommandSet::CmdReadDefaultKeyTable(uint8_t* dest) {
    return ReadArea(m_connection, m_link, CmdCodeReadDefaultKeyTable, 0,
                    m_link.keyboardModel().keyTableSize, dest, m_progress);
}

int CommandSet::CmdReadKeyColors(uint8_t* dest56, int length, int firstKey, int profile) {
    int address = profile * kKeyColorTableStride + firstKey * 3;
    return singleFrame(CmdCodeReadKeyColors, length, address, nullptr, dest56, kPayloadSize);
}

int CommandSet::CmdWriteKeyColors(const uint8_t* data, int length, int firstKey) {
    int address = m_link.currentProfile.load() * kKeyColorTableStride + firstKey * 3;
    return singleFrame(CmdCodeWriteKeyColors, length, address, data, nullptr, 0);
}

int CommandSet::GetActiveProfile() {
    int cached = m_link.activeProfileCache.load();
    if (cached != -1) return cached;
    uint8_t info[kInfoBlockSize] = {};
    if (CmdReadInfo(info) != ResultOk) return -1;
    int profile = info[kInfoActiveProfileOffset];
    if (profile >= kProfileCount) return -1;  // not a profile: leave the cache unknown
    m_link.activeProfileCache.store(profile);
    return profile;
}

void CommandSet::SetActiveProfile(int profile) {
    // Only 0..2 name a profile: a larger number would be written into the keyboard's block.
    if (profile < 0 || profile >= kProfileCount) return;
    uint8_t info[kInfoBlockSize] = {};
    if (CmdReadInfo(info) != ResultOk) return;
    info[kInfoActiveProfileOffset] = uint8_t(profile);
    bool ok = CmdWriteInfo(info) == ResultOk;
    m_link.activeProfileCache.store(ok ? profile : -1);
}

}  // namespace tarnel
