#include "storage/user_settings_file.h"

#include "storage/ini_file.h"

namespace tarnel {
namespace {
constexpr const char* kSection = "KEYCOLOR";
constexpr const char* kKey = "DengCheck";
}  // namespace

int UserSettingsFile::ReadDengCheck() const { return IniFile(m_path).readInt(kSection, kKey, 0); }

bool UserSettingsFile::WriteDengCheck(bool lightingView) const {
    return IniFile(m_path).writeString(kSection, kKey, lightingView ? "1" : "0");
}

}  // namespace tarnel
