// The user settings file "wskb.ini" of the per-user data folder. It keeps the lighting view flag
// as KEYCOLOR/DengCheck: "1" while the lighting view is on, "0" while it is off.
#pragma once
#include <string>

namespace tarnel {

class UserSettingsFile {
public:
    explicit UserSettingsFile(std::string path) : m_path(std::move(path)) {}
    const std::string& path() const { return m_path; }

    // The stored number; 0 when the file or the value is missing.
    int ReadDengCheck() const;
    // Stores "1" or "0". False when the file could not be written (the caller ignores it).
    bool WriteDengCheck(bool lightingView) const;

    // The lighting view flag after reading the stored value: after a connection (start-up with
    // the keyboard present included) it is on exactly when the stored value is 1; on any other
    // read a stored 1 turns it on and anything else leaves it as it was.
    static bool LightingViewAfterRead(bool current, int stored, bool afterConnection) {
        if (afterConnection) return stored == 1;
        return stored == 1 ? true : current;
    }

private:
    std::string m_path;
};

}  // namespace tarnel
