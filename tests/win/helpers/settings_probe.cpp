// A window whose settings are kept as the program keeps its own, run twice
// by the tests: "save FOLDER" sets values, saves them and closes; "load
// FOLDER" shows the window with what was stored and writes what its
// controls hold to FOLDER\values.txt. Exit code 0 on success.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/Window.h"
#include "app/WindowSettings.h"
#include "common/Error.h"
#include "common/PathUtils.h"
#include "common/TextFile.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Locale.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32System.h"

using namespace torvik;

namespace {

class ProbeWindow : public app::Window {
public:
    bool Create() {
        if (!Window::Create(L"TorvikSettingsProbe", WS_OVERLAPPEDWINDOW, 0, L"settings probe",
                            CW_USEDEFAULT, CW_USEDEFAULT, 400, 300, nullptr)) {
            return false;
        }
        name = Child(L"Edit", WS_BORDER | ES_AUTOHSCROLL);
        on = Child(L"Button", BS_AUTOCHECKBOX);
        list = Child(L"ListBox", WS_BORDER);
        items = Child(WC_LISTVIEWW, LVS_REPORT);
        ListView_SetExtendedListViewStyle(items, LVS_EX_CHECKBOXES);
        for (const wchar_t* caption : {L"Program", L"Executable"}) {
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.pszText = const_cast<wchar_t*>(caption);
            column.cx = 100;
            ListView_InsertColumn(items, Header_GetItemCount(ListView_GetHeader(items)), &column);
        }
        // Design default: checked.
        ::SendMessageW(on, BM_SETCHECK, BST_CHECKED, 0);
        return true;
    }
    HWND name = nullptr, on = nullptr, list = nullptr, items = nullptr;

private:
    HWND Child(const wchar_t* cls, DWORD style) {
        return ::CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 120, 80,
                                 Handle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    }
};

std::wstring OwnExeName() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return ExtractFileName(path);
}

int Run(const std::wstring& mode, const std::wstring& folder) {
    ProbeWindow window;
    if (!window.Create()) {
        return 3;
    }
    win32::Win32FileSystem fs;
    win32::Win32TimeZone zone;
    win32::Win32AnsiCodePage ansi;
    win32::Win32Dialogs dialogs;
    win32::Win32Clock clock;
    app::WindowControls registry;
    app::WindowSettings settings(
        window.Handle(), registry, {fs, zone, ansi, dialogs, clock}, folder, OwnExeName(),
        {L"edName.Text", L"cbOn.Checked", L"lbList.Items", L"lvItems.Items", L"lvItems.Columns"});
    settings.Controls().Add(L"edName", window.name);
    settings.Controls().Add(L"cbOn", window.on);
    settings.Controls().Add(L"lbList", window.list);
    settings.Controls().Add(L"lvItems", window.items);
    TTorvikProject& project = settings.Project();
    project.HandleFormShow();
    ::ShowWindow(window.Handle(), SW_SHOWNOACTIVATE);

    ControlRegistry& controls = settings.Controls();
    if (mode == L"save") {
        controls.SetText(L"edName", L"Zoë\r\n[second line]");
        controls.SetChecked(L"cbOn", false);
        controls.SetLines(L"lbList", {L"alpha", L"beta"});
        controls.SetListItems(L"lvItems", {{true, false, L"Tool", {L"C:\\t\\tool.exe"}},
                                           {false, false, L"Other", {L""}}});
        controls.SetColumnWidths(L"lvItems", {140, 220});
        ::SetWindowPos(window.Handle(), nullptr, 50, 60, 500, 400, SWP_NOZORDER);
        project.SaveSettingsX();
        project.HandleFormCloseQuery();
        return 0;
    }
    std::vector<std::wstring> values = {controls.Text(L"edName"),
                                        controls.Checked(L"cbOn") ? L"1" : L"0"};
    for (const auto& line : controls.Lines(L"lbList")) {
        values.push_back(L"list:" + line);
    }
    for (const auto& item : controls.ListItems(L"lvItems")) {
        values.push_back(L"item:" + item.caption + L"|" + item.subItems.at(0) + L"|" +
                         (item.checked ? L"1" : L"0"));
    }
    for (int width : controls.ColumnWidths(L"lvItems")) {
        values.push_back(L"width:" + std::to_wstring(width));
    }
    const FormPlacement p = settings.Placement();
    values.push_back(L"place:" + std::to_wstring(p.left) + L"," + std::to_wstring(p.top) + L"," +
                     std::to_wstring(p.width) + L"," + std::to_wstring(p.height));
    return fs.WriteFileAtomic(folder + L"values.txt", EncodeTextFile(values)) ? 0 : 4;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    if (argc != 3) {
        return 2;
    }
    try {
        return Run(argv[1], ForceTrailingBackslash(argv[2]));
    } catch (...) {
        return 5;
    }
}
