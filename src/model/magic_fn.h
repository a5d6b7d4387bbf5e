// The keyboard's choice of Fn-layer layout (FN1 or FN2) for the profile being edited: byte 24
// of that profile's lighting record. LightingControl::ReadLightingState decodes it into
// fields().magicFnChoice; the Magic-FN dialog and the command-line front end write it here.
#pragma once

namespace tarnel {

class LightingControl;

inline constexpr int kMagicFn1 = 0;
inline constexpr int kMagicFn2 = 1;

// Writes the choice (0 FN1, 1 FN2) as one byte at currentProfile x 42 + 24: command 1,
// command 6, command 2. Results as the other lighting writes (lighting_control.h): 1 on success,
// then fields().magicFnChoice holds the choice; kLightingBadValue for any other choice, with
// nothing sent.
int WriteMagicFn(LightingControl& lighting, int choice);

}  // namespace tarnel
