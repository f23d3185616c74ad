#include "platform/win32/BrowserSite.h"

namespace torvik::win32 {
namespace {

std::atomic<long> g_alive{0};

} // namespace

ComPtr<BrowserSite> BrowserSite::Create(HWND window) {
    return ComPtr<BrowserSite>::Adopt(std::make_unique<BrowserSite>(Key{}, window).release());
}

long BrowserSite::Alive() {
    return g_alive.load();
}

BrowserSite::BrowserSite(Key, HWND window) : window_(window) {
    ++g_alive;
}

BrowserSite::~BrowserSite() {
    --g_alive;
}

STDMETHODIMP BrowserSite::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
        *object = static_cast<IOleClientSite*>(this);
    } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) {
        *object = static_cast<IOleInPlaceSite*>(this);
    } else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame) {
        *object = static_cast<IOleInPlaceFrame*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) BrowserSite::AddRef() {
    return ++references_;
}

STDMETHODIMP_(ULONG) BrowserSite::Release() {
    const ULONG left = --references_;
    if (left == 0) {
        const std::unique_ptr<BrowserSite> last(this);
    }
    return left;
}

// The control's document is never stored by its container.
STDMETHODIMP BrowserSite::SaveObject() {
    return E_NOTIMPL;
}

STDMETHODIMP BrowserSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker != nullptr) {
        *moniker = nullptr;
    }
    return E_NOTIMPL;
}

// No container document: the control is alone in its window.
STDMETHODIMP BrowserSite::GetContainer(IOleContainer** container) {
    if (container != nullptr) {
        *container = nullptr;
    }
    return E_NOINTERFACE;
}

STDMETHODIMP BrowserSite::ShowObject() {
    return S_OK;
}

STDMETHODIMP BrowserSite::OnShowWindow(BOOL) {
    return S_OK;
}

STDMETHODIMP BrowserSite::RequestNewObjectLayout() {
    return E_NOTIMPL;
}

STDMETHODIMP BrowserSite::GetWindow(HWND* window) {
    if (window == nullptr) {
        return E_POINTER;
    }
    *window = window_;
    return S_OK;
}

STDMETHODIMP BrowserSite::ContextSensitiveHelp(BOOL) {
    return E_NOTIMPL;
}

STDMETHODIMP BrowserSite::CanInPlaceActivate() {
    return S_OK;
}

STDMETHODIMP BrowserSite::OnInPlaceActivate() {
    return S_OK;
}

STDMETHODIMP BrowserSite::OnUIActivate() {
    return S_OK;
}

STDMETHODIMP BrowserSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                           LPRECT position, LPRECT clip,
                                           LPOLEINPLACEFRAMEINFO info) {
    if (frame == nullptr || document == nullptr || position == nullptr || clip == nullptr ||
        info == nullptr) {
        return E_POINTER;
    }
    // The site is its own frame; there is no document window between.
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *document = nullptr;
    ::GetClientRect(window_, position);
    *clip = *position;
    // The frame keeps its own menu and accelerators.
    info->fMDIApp = FALSE;
    info->hwndFrame = ::GetAncestor(window_, GA_ROOT);
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP BrowserSite::Scroll(SIZE) {
    return E_NOTIMPL;
}

STDMETHODIMP BrowserSite::OnUIDeactivate(BOOL) {
    return S_OK;
}

STDMETHODIMP BrowserSite::OnInPlaceDeactivate() {
    return S_OK;
}

STDMETHODIMP BrowserSite::DiscardUndoState() {
    return E_NOTIMPL;
}

STDMETHODIMP BrowserSite::DeactivateAndUndo() {
    return E_NOTIMPL;
}

// The window decides the control's place (it follows the window's size).
STDMETHODIMP BrowserSite::OnPosRectChange(LPCRECT) {
    return S_OK;
}

// No toolbar space: the control draws only inside its own rectangle.
STDMETHODIMP BrowserSite::GetBorder(LPRECT border) {
    if (border != nullptr) {
        ::SetRectEmpty(border);
    }
    return INPLACE_E_NOTOOLSPACE;
}

STDMETHODIMP BrowserSite::RequestBorderSpace(LPCBORDERWIDTHS) {
    return INPLACE_E_NOTOOLSPACE;
}

// A control that needs no border space at all asks with none.
STDMETHODIMP BrowserSite::SetBorderSpace(LPCBORDERWIDTHS widths) {
    return widths == nullptr ? S_OK : OLE_E_INVALIDRECT;
}

STDMETHODIMP BrowserSite::SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) {
    return S_OK;
}

// The window's own menu stays; the control adds nothing to it.
STDMETHODIMP BrowserSite::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) {
    return E_NOTIMPL;
}

STDMETHODIMP BrowserSite::SetMenu(HMENU, HOLEMENU, HWND) {
    return S_OK;
}

STDMETHODIMP BrowserSite::RemoveMenus(HMENU) {
    return E_NOTIMPL;
}

STDMETHODIMP BrowserSite::SetStatusText(LPCOLESTR) {
    return S_OK;
}

STDMETHODIMP BrowserSite::EnableModeless(BOOL) {
    return S_OK;
}

STDMETHODIMP BrowserSite::TranslateAccelerator(LPMSG, WORD) {
    return S_FALSE;
}

} // namespace torvik::win32
