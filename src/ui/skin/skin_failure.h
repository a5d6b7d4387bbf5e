// What the program does when a skin picture cannot be loaded: it cannot draw its windows, so it
// ends, and says which file was missing instead of vanishing silently.
#pragma once
#include <QString>

namespace tarnel {

// The exit code of a program that ended for a missing or unreadable skin picture.
inline constexpr int kSkinFailureExitCode = 3;

// Writes `error` (which names the file) to stderr and, when a display is there, shows it in a
// message box. The caller then ends with kSkinFailureExitCode.
void ReportSkinFailure(const QString& error);

}  // namespace tarnel
