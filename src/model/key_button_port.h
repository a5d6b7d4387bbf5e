// What the key assignments need of the main window's key buttons: each button's assigned look
// and its tooltip, and the window's pending-changes state. The main window implements it; tests
// record the calls.
#pragma once
#include <string>

namespace tarnel {

class KeyButtonPort {
public:
    virtual ~KeyButtonPort() = default;
    // The key button `controlId` (a matrix key or a G key) shows `assigned` and gets `text` as
    // its tooltip.
    virtual void SetKeyButtonAssignment(int controlId, bool assigned, const std::string& text) = 0;
    // 1: the profile image has changes not yet applied (Apply becomes enabled); 0: it has none.
    virtual void SetApplyPending(int pending) = 0;
};

}  // namespace tarnel
