// What the discovery thread tells the window side.
#pragma once

namespace tarnel {

class ConnectionObserver {
public:
    virtual ~ConnectionObserver() = default;
    // Called on the discovery thread with 1 (found and opened) or 0 (gone). It may transact and
    // wait for the window; it must return promptly once its owner has cancelled those waits.
    virtual void onConnectionChanged(int state) = 0;
};

}  // namespace tarnel
