#pragma once
#include <string>
#include <vector>

namespace torvik {

// The main window's stored values, in the order the settings file keeps
// them: "control.property".
inline const std::vector<std::wstring>& MainWindowPropertiesList() {
    static const std::vector<std::wstring> list = {
        L"lvCustomPrograms.Items", L"lbProgramExclusions.Items",
        L"edUserName.Text",        L"cbDisablePrivacyWarning.Checked",
        L"edUserName2.Text",       L"cbAutoCheck.Checked",
        L"cbFirstRun.Checked",     L"cbDisplayDrivers.Checked"};
    return list;
}

} // namespace torvik
