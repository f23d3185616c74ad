#pragma once
#include <windows.h>

namespace torvik::app {

// The main menu's commands and the ids of the main window's controls. The
// end-to-end tests find controls by these ids and send the commands as the
// menu would: menus of another process cannot be read on every platform.
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
    // The program list's context menu.
    kMenuExcludeProgram,
    kMenuAddCommentUrl,
};

enum MainWindowControl : int {
    kIdStart = 100,
    kIdProgramList,
    kIdBusyLabel,
    kIdLastCheck,
    kIdCounters, // the panel
    kIdMyProgramsPage,
    kIdCommunityPage,
    kIdUserName,
    kIdAccount,
    kIdFilter,
    kIdHideUpToDate,
    kIdSyncingIcons,
    // The counters' numbers, in the panel's order.
    kIdNewVersions,
    kIdFromCommunity,
    kIdUpToDate,
    kIdMySubmissions,
    kIdTotalSubmissions,
    // The "Program Details" page.
    kIdDetailsProgramName,
    kIdDetailsFileName,
    kIdDetailsFolder,
    kIdDetailsLocalVersion,
    kIdDetailsComments,
    kIdDetailsProductLink,
    kIdDetailsDownloadLink,
    kIdDetailsFileHippoLink,
    kIdDetailsFileHippoVersion,
    kIdDetailsProgramPageLink,
    kIdDetailsNewVersions,
    kIdDetailsPopularity,
    kIdWriteComment,
    kIdSubmitUrl,
    // The contribution panel.
    kIdContributionProgram,
    kIdContributionAlias,
    kIdContributionComment,
    kIdContributionTags,
    kIdContributionProductUrl,
    kIdContributionDownloadUrl,
    kIdPostComment,
    kIdPostUrl,
    kIdApproveLastVersion,
    kIdApproveUrl,
    kIdTakeOffline,
    kIdContributionClose,
    // The settings panel's custom programs page.
    kIdCustomName,
    kIdCustomFile,
    kIdCustomFileButton, // the file box's own
    kIdCustomFound,
    kIdCustomSearch,
    kIdCustomAdd,
    // The login panel.
    kIdRegisterName,
    kIdRegisterPassword,
    kIdLoginName,
    kIdLoginPassword,
    kIdExistingName,
    kIdNewName,
    kIdPasswordPageName,
    kIdNewPassword,
    kIdRegister,
    kIdLogin,
    kIdChangeUsername,
    kIdChangePassword,
    kIdLoginPages, // the list beside the pages
};

} // namespace torvik::app
