#pragma once
#include <atomic>

namespace torvik {

// Process-wide flags, written on the main thread and read by worker threads
// and wait loops. A stale read only delays a stop by one step.
extern std::atomic<bool> AppClosing;       // the main window is closing
extern std::atomic<bool> CancelRequested;  // the please-wait panel's "cancel"
extern std::atomic<bool> ScanStopFlag;     // stops folder walks
extern std::atomic<bool> BuildingForCheck; // the scan's result goes to the check

} // namespace torvik
