// What the profile store needs of the windows around it: the main window's pending-changes
// state, its key buttons and profile button, the key-assignment editor and the profile
// manager. The program implements it over its windows; the command-line front end and tests
// use ProfileWindowPort's defaults or record the calls.
#pragma once
#include <string>

namespace tarnel {

class ProfileWindowPort {
  public:
    virtual ~ProfileWindowPort() = default;

    // Whether the key-assignment editor is open (a switch is refused then).
    virtual bool keyEditorOpen() const { return false; }
    // Whether the main window or the profile manager holds changes not yet applied.
    virtual bool hasUnappliedChanges() const { return false; }
    // Runs the main window's apply command and waits for it; true when it ran.
    virtual bool runApplyCommand() { return false; }
    // Marks the main window as having no unapplied changes.
    virtual void markClean() {}
    // Marks the main window as holding unapplied changes (an imported image the keyboard did
    // not take), so that its Apply sends the image again.
    virtual void markPending() {}
    // Refreshes the key buttons from the profile image. Called with dataLock held.
    virtual void refreshKeyButtons() {}
    // Whether the profile manager is open; CheckManagerRow ticks its row and clears its
    // pending-changes state.
    virtual bool managerOpen() const { return false; }
    virtual void checkManagerRow(int /*row*/) {}
    // The main window's profile button (control 1005): its caption and tooltip.
    virtual void setProfileButton(const std::string& /*caption*/, const std::string& /*tooltip*/) {}
};

}  // namespace tarnel
