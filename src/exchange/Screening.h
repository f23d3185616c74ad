#pragma once
#include "service/ReplyScreening.h"
#include "support/WinHttpX.h"

namespace torvik {

// ScreenReply of the WinHTTP client's reply text, for the exchanges that go
// through it (community lists, accounts, program details).
void ScreenWinHttpReply(const TWinHttpX& client, const ScreeningHooks& hooks = {});

} // namespace torvik
