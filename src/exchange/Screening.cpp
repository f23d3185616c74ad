#include "exchange/Screening.h"

namespace torvik {

void ScreenWinHttpReply(const TWinHttpX& client, const ScreeningHooks& hooks) {
    ScreenReply(client.ResponseText(), hooks);
}

} // namespace torvik
