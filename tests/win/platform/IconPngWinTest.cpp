#include <gtest/gtest.h>

#include <windows.h>

#include <objidl.h>
#include <wincodec.h>

#include <vector>

#include "WinTestSupport.h"
#include "common/Error.h"
#include "platform/win32/Com.h"
#include "platform/win32/IconPng.h"
#include "platform/win32/ShellIcons.h"

namespace torvik::win32 {
namespace {

std::wstring Fixture(const std::wstring& name) {
    return wintest::BesideTestExe(L"fixtures\\") + name;
}

// A PNG decoded by the Windows Imaging Component, as 32-bit BGRA.
struct Decoded {
    UINT width = 0, height = 0;
    std::vector<BYTE> bgra;
    // Blue, green, red, alpha of one pixel.
    std::vector<int> At(UINT x, UINT y) const {
        const BYTE* p = &bgra[(static_cast<size_t>(y) * width + x) * 4];
        return {p[0], p[1], p[2], p[3]};
    }
};

Decoded DecodePng(const std::string& png) {
    Decoded out;
    ComPtr<IWICImagingFactory> factory;
    EXPECT_HRESULT_SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr,
                                                CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                                reinterpret_cast<void**>(factory.put())));
    ComPtr<IWICStream> stream;
    EXPECT_HRESULT_SUCCEEDED(factory->CreateStream(stream.put()));
    EXPECT_HRESULT_SUCCEEDED(stream->InitializeFromMemory(
        reinterpret_cast<BYTE*>(const_cast<char*>(png.data())), static_cast<DWORD>(png.size())));
    ComPtr<IWICBitmapDecoder> decoder;
    EXPECT_HRESULT_SUCCEEDED(factory->CreateDecoderFromStream(
        stream.get(), &GUID_ContainerFormatPng, WICDecodeMetadataCacheOnDemand, decoder.put()));
    if (!decoder) {
        return out;
    }
    ComPtr<IWICBitmapFrameDecode> frame;
    EXPECT_HRESULT_SUCCEEDED(decoder->GetFrame(0, frame.put()));
    ComPtr<IWICBitmapSource> bgra;
    EXPECT_HRESULT_SUCCEEDED(
        ::WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.get(), bgra.put()));
    EXPECT_HRESULT_SUCCEEDED(bgra->GetSize(&out.width, &out.height));
    out.bgra.resize(static_cast<size_t>(out.width) * out.height * 4);
    EXPECT_HRESULT_SUCCEEDED(bgra->CopyPixels(nullptr, out.width * 4,
                                              static_cast<UINT>(out.bgra.size()), out.bgra.data()));
    return out;
}

class IconPngWin : public ::testing::Test {
protected:
    ComApartment com;
};

TEST_F(IconPngWin, TheFirstIconOfAnExecutableBecomesAPngOfItsPixels) {
    const UniqueIcon icon = FirstIconOfFile(Fixture(L"iconfix_app.exe"));
    ASSERT_TRUE(icon) << "the fixture carries one icon";
    const std::string png = IconToPng(icon.get());
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));

    const Decoded image = DecodePng(png);
    ASSERT_EQ(image.width, 32u);
    ASSERT_EQ(image.height, 32u);
    // The quadrants of make_icon.py: red, green / blue, transparent.
    EXPECT_EQ(image.At(4, 4), (std::vector<int>{0, 0, 255, 255}));
    EXPECT_EQ(image.At(27, 4), (std::vector<int>{0, 255, 0, 255}));
    EXPECT_EQ(image.At(4, 27), (std::vector<int>{255, 0, 0, 255}));
    EXPECT_EQ(image.At(27, 27)[3], 0) << "transparency survives";
}

TEST_F(IconPngWin, FilesWithoutIconsGiveNone) {
    EXPECT_FALSE(FirstIconOfFile(Fixture(L"scanfix_app.exe"))) << "no icon resource";
    EXPECT_FALSE(FirstIconOfFile(Fixture(L"no such file.exe")));
    EXPECT_THROW(IconToPng(nullptr), TorvikError);
}

TEST_F(IconPngWin, TheShellGivesSmallIconsByNameAlone) {
    for (const wchar_t* key : {L"folder", L".txt", L"c:\\nowhere\\missing.exe"}) {
        const UniqueIcon icon = SmallShellIcon(key);
        ASSERT_TRUE(icon) << key;
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(icon.get(), &info)) << key;
        const UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
        BITMAP bitmap{};
        ::GetObjectW(mask.get(), sizeof(bitmap), &bitmap);
        EXPECT_EQ(bitmap.bmWidth, ::GetSystemMetrics(SM_CXSMICON)) << key;
    }
}

} // namespace
} // namespace torvik::win32
