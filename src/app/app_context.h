// The process-wide record: paths, flags, the device link state, the factory key
// table and the locks. Core code only: the program fills the paths from its platform layer.
//
// Flags that several threads read and write are atomics (`uiConnected`, `noAutoOpen`,
// `macroCapacity`, and in `link`: `connected`, `activeProfileCache`, `currentProfile`).
// Lock order, always: dataLock -> appliedLock -> the command connection's transaction lock.
// The profile image, actionStrings and the applied snapshot are added by their owner (profile store)
// and guarded by dataLock and appliedLock.
#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "app/app_paths.h"
#include "devicelink/keyboard_model.h"
#include "devicelink/link_state.h"
#include "storage/profile_image.h"

namespace tarnel {

inline constexpr size_t kDefaultMatrixSize = 512;
using DefaultMatrix = std::array<uint8_t, kDefaultMatrixSize>;

struct AppContext {
    AppPaths paths;
    LinkState link;                       // connected, activeProfileCache, currentProfile, model
    std::atomic<bool> uiConnected{false}; // connection state as last handled by onConnectionChanged
    std::atomic<bool> noAutoOpen{false};  // "/Start": the first connection does not open the window
    std::atomic<int> macroCapacity{0};    // bytes: info byte 11 x 128, set on each connection

    std::recursive_mutex dataLock;     // profile image, actionStrings, macro blocks
    std::recursive_mutex appliedLock;  // the applied snapshot

    // The edited profile image with its macro blocks and actionStrings (guarded by dataLock),
    // and the snapshot the last apply sent (guarded by appliedLock).
    ProfileImage profileImage;
    AppliedSnapshot appliedImage;
    // Set when an import's write to the keyboard failed: the keyboard's three slots may all lag
    // behind the image, so the next apply sends every slot, not only the active one (dataLock).
    bool applyAllProfiles = false;

    // The keyboard's factory key table, written on the discovery thread at each connection.
    DefaultMatrix defaultMatrix() const {
        std::lock_guard<std::mutex> lock(m_matrixLock);
        return m_defaultMatrix;
    }
    void setDefaultMatrix(const DefaultMatrix& matrix) {
        std::lock_guard<std::mutex> lock(m_matrixLock);
        m_defaultMatrix = matrix;
    }

private:
    mutable std::mutex m_matrixLock;  // a leaf lock: nothing is taken while it is held
    DefaultMatrix m_defaultMatrix{};
};

}  // namespace tarnel
