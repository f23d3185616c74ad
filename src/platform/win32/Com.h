#pragma once
#include <windows.h>
#include <objbase.h>
#include <ole2.h>

#include <utility>

namespace torvik::win32 {

// COM for the calling thread while the object lives (apartment-threaded).
// A failed initialisation is not undone.
class ComApartment {
public:
    ComApartment() : hr_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(hr_)) {
            ::CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    bool Initialized() const { return SUCCEEDED(hr_); }

private:
    HRESULT hr_;
};

// OLE for the calling thread while the object lives: in-place activation of
// an embedded control needs it, plain COM does not. Calls nest, also with a
// CoInitialize of the same (apartment-threaded) thread.
class OleSession {
public:
    OleSession() : hr_(::OleInitialize(nullptr)) {}
    ~OleSession() {
        if (SUCCEEDED(hr_)) {
            ::OleUninitialize();
        }
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

    bool Initialized() const { return SUCCEEDED(hr_); }

private:
    HRESULT hr_;
};

// Owner of a COM interface pointer.
template <typename T> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& o) noexcept {
        if (this != &o) {
            reset();
            p_ = std::exchange(o.p_, nullptr);
        }
        return *this;
    }
    // Takes over a reference the caller holds, such as a new object's first.
    static ComPtr Adopt(T* p) {
        ComPtr owner;
        owner.p_ = p;
        return owner;
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For out-parameters of creating calls; releases what was held.
    T** put() {
        reset();
        return &p_;
    }
    void reset() {
        if (p_ != nullptr) {
            p_->Release();
            p_ = nullptr;
        }
    }
    template <typename U> ComPtr<U> As(REFIID iid) const {
        ComPtr<U> out;
        if (p_ != nullptr) {
            p_->QueryInterface(iid, reinterpret_cast<void**>(out.put()));
        }
        return out;
    }

private:
    T* p_ = nullptr;
};

} // namespace torvik::win32
