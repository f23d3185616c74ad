#include "common/ProcessFlags.h"

namespace torvik {

std::atomic<bool> AppClosing{false};
std::atomic<bool> CancelRequested{false};
std::atomic<bool> ScanStopFlag{false};
std::atomic<bool> BuildingForCheck{false};

} // namespace torvik
