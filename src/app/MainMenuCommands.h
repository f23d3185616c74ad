#pragma once
#include <windows.h>

namespace torvik::app {

// The main menu's commands. The end-to-end tests send them as the menu
// would: menus of another process cannot be read under every platform.
enum MainMenuCommand : UINT {
    kMenuMyPrograms = 1001,
    kMenuCommunity,
    kMenuMyAccount,
    kMenuExit,
    kMenuAddCustomProgram,
    kMenuProgramExclusions,
    kMenuOtherSettings,
    kMenuFeedback,
    kMenuSupportForums,
    kMenuCheckForUpdates,
    kMenuAbout,
};

} // namespace torvik::app
