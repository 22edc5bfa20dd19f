#pragma once

// The program run from a terminal: options, exports without a window, and the
// one line that replaces Qt's abort when the window has no display to open on.
namespace korvel {

inline constexpr int kExitWritten = 0;
inline constexpr int kExitWriteFailed = 1;
inline constexpr int kExitBadInput = 2;
inline constexpr int kExitNoDisplay = 1;

// Answers the options (help, version, an export) and returns the exit status.
int runCommandLine(int argc, char** argv);

// Whether the window would find no display to open on. A platform chosen in
// QT_QPA_PLATFORM that needs no display (offscreen, vnc, ...) counts as one.
bool windowHasNoDisplay();

// Says so on standard error, in one line, and returns the exit status.
int reportNoDisplay();

}  // namespace korvel
