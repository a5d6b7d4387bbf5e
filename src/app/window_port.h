// What the connection change needs of the main window. The program implements it
// with queued calls onto the UI thread; tests record the calls.
//
// Contract of the send-and-wait calls: they return true once the window has handled the
// message, and false when the wait was cancelled (shutdown) or the window is gone. The
// implementation must make every pending and later send return false promptly after its
// cancellation, so the discovery thread can always be joined.
#pragma once
#include <string_view>

namespace tarnel {

class WindowPort {
public:
    virtual ~WindowPort() = default;
    virtual bool sendReloadProfile() = 0;  // 0x5452 'PROF', sent and waited for
    virtual bool sendCloseEditors() = 0;   // 0x4753, sent and waited for
    virtual void hideWindow() = 0;
    virtual void postOpen() = 0;           // 0x5350 'OPEN', posted (handled later)
    // `remember`: store `id` as the connection-state icon that RestoreTrayIcon shows again.
    virtual void setTrayIcon(int id, bool remember) = 0;
    // A message box (OK) with the language text `langKey`; may wait for the answer, and is
    // cancelled like the sends.
    virtual void showMessage(std::string_view langKey) = 0;
};

}  // namespace tarnel
