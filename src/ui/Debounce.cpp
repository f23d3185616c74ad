#include "ui/Debounce.h"

namespace torvik {

void Debounce::Restart() {
    timer_.Stop();
    pending_ = true;
    timer_.Start(delay_);
}

void Debounce::Elapsed() {
    timer_.Stop();
    if (!pending_) {
        return;
    }
    // Cleared first: the action may change the filter again and restart us.
    pending_ = false;
    action_();
}

void Debounce::Cancel() {
    timer_.Stop();
    pending_ = false;
}

} // namespace torvik
