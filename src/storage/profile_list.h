// The profile manager's list of rows in the settings store: section "PROFILES", value
// "PROFILE00" the number of rows, "PROFILE01", "PROFILE02", ... the full path of each row's
// file. The manager writes them; the tool itself never reads them back.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "storage/settings_store.h"

namespace tarnel {

inline constexpr std::string_view kProfilesSection = "PROFILES";

// "PROFILE" + the number as two digits ("PROFILE00", "PROFILE01", ...).
std::string ProfileListValueName(int number);

// Stores the rows: each path under its number (from 01), then the count under 00. False when
// the store refused a write.
bool StoreProfileList(SettingsStore& store, const std::vector<std::string>& paths);
// The stored rows (as many as the count says and are present).
std::vector<std::string> ReadProfileList(const SettingsStore& store);

// The onboard slot a ticked row makes active: rows 0..2 are the slots' cache files; a row
// beyond them has no slot (-1), and nothing may be switched for it.
int SlotOfProfileRow(int row);

}  // namespace tarnel
