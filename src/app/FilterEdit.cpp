#include "app/FilterEdit.h"

#include <commctrl.h>

#include "common/Error.h"

namespace torvik::app {
namespace {

constexpr UINT_PTR kFilterSubclass = 4;
// Wide enough that only the line breaks break the hint's lines.
constexpr int kTooltipWidth = 1000;

} // namespace

const wchar_t* TTorvikFilterEdit::HelpText() {
    return L"Supports multiple keywords and also exclusions.\r\n"
           L"To exclude a term prefix the keyword with a dash (-) .\r\n"
           L"\r\n"
           L"Examples:\r\n"
           L"paint: lists all applications that contain the word \"paint\".\r\n"
           L"microsoft -office: lists all microsoft applications except office ones.\r\n"
           L"artist1 mp3: lists all mp3 items for artist1.\r\n"
           L"artist1 -mp3: lists all items for artist1 except mp3s (e.g. artist pictures)";
}

TTorvikFilterEdit::~TTorvikFilterEdit() {
    const HWND hwnd = Handle();
    if (hwnd != nullptr && ::IsWindow(hwnd)) {
        ::RemoveWindowSubclass(hwnd, SubclassProc, kFilterSubclass);
    }
    // The tooltip is a popup of the top-level window, not a child of the box.
    if (tooltip_ != nullptr && ::IsWindow(tooltip_)) {
        ::DestroyWindow(tooltip_);
    }
}

bool TTorvikFilterEdit::Create(HWND parent, int id, HMODULE resources) {
    // The box paints around its icon, not over it.
    const HWND hwnd = CreateChild(L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP | WS_CLIPCHILDREN, parent,
                                  L"", id, WS_EX_CLIENTEDGE);
    if (hwnd == nullptr) {
        return false;
    }
    Attach(hwnd);
    ::SetWindowSubclass(hwnd, SubclassProc, kFilterSubclass, reinterpret_cast<DWORD_PTR>(this));
    CreateHelpIcon(resources != nullptr ? resources : ::GetModuleHandleW(nullptr));
    return true;
}

std::wstring TTorvikFilterEdit::Text() const {
    return WindowText(Handle());
}

void TTorvikFilterEdit::CreateHelpIcon(HMODULE resources) {
    bitmap_.reset(static_cast<HBITMAP>(
        ::LoadImageW(resources, L"HelpIcon", IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    if (!bitmap_) {
        ReportError(L"Resourse not found");
        return;
    }
    // SS_NOTIFY: the icon takes the mouse, so the tooltip and the cursor
    // see it instead of the box.
    icon_ = CreateChild(L"STATIC", SS_BITMAP | SS_NOTIFY, Handle(), L"", 0);
    ::SendMessageW(icon_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap_.get()));
    PlaceHelpIcon();

    tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
    if (tooltip_ == nullptr) {
        return;
    }
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(icon_);
    tool.lpszText = const_cast<wchar_t*>(HelpText());
    ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    // A maximum width makes the tooltip break its text at the line breaks.
    ::SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, kTooltipWidth);
}

void TTorvikFilterEdit::PlaceHelpIcon() {
    if (icon_ == nullptr) {
        return;
    }
    RECT client{};
    ::GetClientRect(Handle(), &client);
    ::MoveWindow(icon_, client.right - kIconRight - kIconSize, kIconTop, kIconSize, kIconSize,
                 TRUE);
}

LRESULT CALLBACK TTorvikFilterEdit::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                                 UINT_PTR id, DWORD_PTR self) {
    try {
        if (msg == WM_NCDESTROY) {
            ::RemoveWindowSubclass(hwnd, SubclassProc, id);
            return ::DefSubclassProc(hwnd, msg, wParam, lParam);
        }
        return reinterpret_cast<TTorvikFilterEdit*>(self)->EditMessage(msg, wParam, lParam);
    } catch (...) {
        ReportError(CurrentExceptionText());
    }
    return 0;
}

LRESULT TTorvikFilterEdit::EditMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = Handle();
    switch (msg) {
    case WM_SETFOCUS:
        if (!focusedOnce_) {
            focusedOnce_ = true;
            ::SendMessageW(hwnd, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, kTextRightMargin));
        }
        break;
    case WM_SIZE: {
        const LRESULT result = ::DefSubclassProc(hwnd, msg, wParam, lParam);
        PlaceHelpIcon();
        return result;
    }
    case WM_SETCURSOR:
        if (icon_ != nullptr && reinterpret_cast<HWND>(wParam) == icon_) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

} // namespace torvik::app
