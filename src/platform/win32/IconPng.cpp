#include "platform/win32/IconPng.h"

#include <objidl.h>
#include <wincodec.h>

#include <vector>

#include "common/Error.h"
#include "platform/win32/Com.h"

namespace torvik::win32 {
namespace {

void Check(HRESULT hr, const wchar_t* step) {
    if (FAILED(hr)) {
        wchar_t code[16];
        ::wsprintfW(code, L"%08X", static_cast<unsigned>(hr));
        throw TorvikError(std::wstring(L"The icon cannot be encoded as PNG (") + step + L": 0x" +
                          code + L")");
    }
}

// The bytes written to a stream made by CreateStreamOnHGlobal.
std::string StreamBytes(IStream* stream) {
    STATSTG stat{};
    Check(stream->Stat(&stat, STATFLAG_NONAME), L"Stat");
    Check(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr), L"Seek");
    std::string bytes(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
    ULONG read = 0;
    Check(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read), L"Read");
    bytes.resize(read);
    return bytes;
}

} // namespace

std::string IconToPng(HICON icon) {
    if (icon == nullptr) {
        throw TorvikError(L"The icon cannot be encoded as PNG (no icon)");
    }
    const ComApartment com;
    ComPtr<IWICImagingFactory> factory;
    Check(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                             IID_IWICImagingFactory, reinterpret_cast<void**>(factory.put())),
          L"factory");
    ComPtr<IWICBitmap> bitmap;
    Check(factory->CreateBitmapFromHICON(icon, bitmap.put()), L"CreateBitmapFromHICON");
    UINT width = 0, height = 0;
    Check(bitmap->GetSize(&width, &height), L"GetSize");
    // The pixels as 32-bit BGRA, whatever the bitmap holds.
    ComPtr<IWICBitmapSource> bgra;
    Check(::WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, bitmap.get(), bgra.put()),
          L"WICConvertBitmapSource");
    const UINT stride = width * 4;
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * height);
    Check(bgra->CopyPixels(nullptr, stride, static_cast<UINT>(pixels.size()), pixels.data()),
          L"CopyPixels");

    ComPtr<IStream> stream;
    Check(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), L"CreateStreamOnHGlobal");
    ComPtr<IWICBitmapEncoder> encoder;
    Check(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put()),
          L"CreateEncoder");
    Check(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache), L"Initialize");
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    Check(encoder->CreateNewFrame(frame.put(), options.put()), L"CreateNewFrame");
    Check(frame->Initialize(options.get()), L"frame Initialize");
    Check(frame->SetSize(width, height), L"SetSize");
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    Check(frame->SetPixelFormat(&format), L"SetPixelFormat");
    if (format != GUID_WICPixelFormat32bppBGRA) {
        Check(E_NOTIMPL, L"32-bit BGRA");
    }
    Check(frame->WritePixels(height, stride, static_cast<UINT>(pixels.size()), pixels.data()),
          L"WritePixels");
    Check(frame->Commit(), L"frame Commit");
    Check(encoder->Commit(), L"Commit");
    return StreamBytes(stream.get());
}

} // namespace torvik::win32
