// The simulated keyboard's state as a file: the model and every memory area, so a demo keeps its
// keyboard between runs.
//
// Layout (little-endian): "TSIM", u16 version 1, u16 vendor id, u16 product id, then the six
// areas in SimArea order, each as u32 length and its bytes. Nothing may follow.
#pragma once
#include <string>

#include "sim/sim_memory.h"

namespace tarnel::sim {

// Writes a temporary file beside `path` and renames it over `path`, so a crash never leaves a
// half-written state behind.
bool WriteStateFile(const std::string& path, const SimMemory& memory);
// False for a missing, short, over-long or inconsistent file; `memory` is then untouched.
bool ReadStateFile(const std::string& path, SimMemory& memory);

}  // namespace tarnel::sim
