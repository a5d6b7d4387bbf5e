// What the event listener asks of the window side.
#pragma once

namespace tarnel {

inline constexpr int kTimerReloadLighting = 1051;    // after event 0x0401
inline constexpr int kTimerResetUserLighting = 1053; // after event 0x0402
inline constexpr int kTrayIconDisconnected = 128;
inline constexpr int kTrayIconConnected = 141;
inline constexpr int kTrayIconEvent = 142;           // shown while event 0x1811 holds

class EventObserver {
public:
    virtual ~EventObserver() = default;
    // Start main-window timer `id` with period 0 (handled once). Called on the listener thread.
    virtual void startTimer(int id) = 0;
    // Tray icon changes, called on short-lived tray workers, one at a time.
    virtual void setTrayIcon(int id, bool remember) = 0;
    virtual void restoreTrayIcon() = 0;
};

}  // namespace tarnel
