#include "platform/win32/EmbeddedBrowser.h"

#include <oleauto.h>

namespace torvik::win32 {
namespace {

// The HTML engine's document class (the import libraries leave it out).
constexpr CLSID kHtmlDocumentClass = {
    0x25336920, 0x03F9, 0x11CF, {0x8F, 0xD0, 0x00, 0xAA, 0x00, 0x68, 0x6F, 0x13}};

// A BSTR for the duration of a call.
class Bstr {
public:
    explicit Bstr(const std::wstring& text) : bstr_(::SysAllocString(text.c_str())) {}
    ~Bstr() { ::SysFreeString(bstr_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR get() const { return bstr_; }

private:
    BSTR bstr_;
};

} // namespace

bool HtmlEngineAvailable() {
    ComPtr<IClassFactory> factory;
    return SUCCEEDED(::CoGetClassObject(kHtmlDocumentClass, CLSCTX_INPROC_SERVER, nullptr,
                                        IID_IClassFactory,
                                        reinterpret_cast<void**>(factory.put())));
}

bool EmbeddedBrowser::Host(HWND window) {
    Close();
    if (FAILED(::CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                  reinterpret_cast<void**>(object_.put())))) {
        return false;
    }
    site_ = BrowserSite::Create(window);
    RECT area{};
    ::GetClientRect(window, &area);
    const bool active = SUCCEEDED(object_->SetClientSite(site_.get())) &&
                        SUCCEEDED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.get(), 0,
                                                  window, &area));
    inPlace_ = object_.As<IOleInPlaceObject>(IID_IOleInPlaceObject);
    browser_ = object_.As<IWebBrowser2>(IID_IWebBrowser2);
    if (!active || !inPlace_ || !browser_) {
        Close();
        return false;
    }
    // Script errors and certificate prompts of a page stay inside the page.
    browser_->put_Silent(VARIANT_TRUE);
    return true;
}

void EmbeddedBrowser::Resize(int width, int height) {
    if (inPlace_) {
        const RECT area{0, 0, width, height};
        inPlace_->SetObjectRects(&area, &area);
    }
}

bool EmbeddedBrowser::Navigate(const std::wstring& url) {
    if (!browser_) {
        return false;
    }
    const Bstr address(url);
    VARIANT none;
    ::VariantInit(&none);
    return SUCCEEDED(browser_->Navigate(address.get(), &none, &none, &none, &none));
}

// The control lets go of its window and its site before the last reference
// goes: deactivated in place (its window goes), closed, then cut off from
// the site it holds a reference to.
void EmbeddedBrowser::Close() {
    browser_.reset();
    if (inPlace_) {
        inPlace_->InPlaceDeactivate();
        inPlace_.reset();
    }
    if (object_) {
        object_->Close(OLECLOSE_NOSAVE);
        object_->SetClientSite(nullptr);
        object_.reset();
    }
    site_.reset();
}

} // namespace torvik::win32
