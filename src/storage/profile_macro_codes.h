// How macro steps name keys when the profile store builds or reads the keyboard's macro area:
// the deviceCode column of the key table and the keyboard-code decoder of the key records.
#pragma once
#include "model/macro_area.h"

namespace tarnel {

const MacroKeyCodes& ProfileMacroCodes();

}  // namespace tarnel
