// The library's switch and its own pair of logs ("eDLL" errors, "iDLL" information) in
// the host program's "Logs\" folder. Both logs stay silent while the switch is off.
#pragma once

#include <atomic>
#include <string>

// Set by the program through TurnDebugOn/TurnDebugOff; read by the library's threads.
extern std::atomic<bool> DLLDebugMode;

void WriteDLLErrorLog(const std::string& Text);
void WriteDLLInfoLog(const std::string& Text);
