// The S key's PNG pictures under Wine: what the imaging component writes
// reads back as the frame, and a folder that cannot be written passes the
// picture to the next one.
#include <gtest/gtest.h>

#include <windows.h>
#include <wincodec.h>

#include <string>
#include <vector>

#include "app/win32/win32_screenshot.h"

namespace {

// A scratch folder under the system's temporary folder, removed with its files.
class ScratchFolder {
public:
    ScratchFolder() {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        path = std::wstring(base) + L"vok-shot-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(path.c_str(), nullptr);
    }
    ~ScratchFolder() {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((path + L"\\*.png").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do DeleteFileW((path + L"\\" + found.cFileName).c_str());
            while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(path.c_str());
    }
    std::wstring path;
};

const Image& frame() {
    static Image image;
    for (int i = 0; i < screenPixels; ++i) {
        image.pixels[4 * i + 0] = static_cast<uint8_t>(i);
        image.pixels[4 * i + 1] = static_cast<uint8_t>(i >> 5);
        image.pixels[4 * i + 2] = static_cast<uint8_t>(3 * i);
        image.pixels[4 * i + 3] = 0x77;  // carries no colour: not in the picture
    }
    return image;
}

// The picture's size and its pixels as 24-bit BGR rows, through the decoder.
bool readPng(const std::wstring& path, UINT& width, UINT& height, std::vector<BYTE>& bgr) {
    IWICImagingFactory* factory = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* picture = nullptr;
    IWICFormatConverter* converter = nullptr;
    bool read = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
                SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                             WICDecodeMetadataCacheOnDemand, &decoder)) &&
                SUCCEEDED(decoder->GetFrame(0, &picture)) && SUCCEEDED(picture->GetSize(&width, &height)) &&
                SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
                SUCCEEDED(converter->Initialize(picture, GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone,
                                                nullptr, 0, WICBitmapPaletteTypeCustom));
    if (read) {
        bgr.resize(static_cast<size_t>(width) * height * 3);
        read = SUCCEEDED(converter->CopyPixels(nullptr, width * 3, static_cast<UINT>(bgr.size()), bgr.data()));
    }
    for (IUnknown* held : {static_cast<IUnknown*>(converter), static_cast<IUnknown*>(picture),
                           static_cast<IUnknown*>(decoder), static_cast<IUnknown*>(factory)})
        if (held != nullptr) held->Release();
    return read;
}

TEST(Screenshot, ThePictureReadsBackAsTheFrame) {
    ScratchFolder folder;
    std::string error;
    const std::wstring path = screenshot::save(frame(), "vokdemo-005.000s-scene00.png", {folder.path}, error);
    ASSERT_EQ(path, folder.path + L"\\vokdemo-005.000s-scene00.png") << error;
    UINT width = 0, height = 0;
    std::vector<BYTE> bgr;
    ASSERT_TRUE(readPng(path, width, height, bgr));
    EXPECT_EQ(width, 320u);
    EXPECT_EQ(height, 240u);
    for (int i = 0; i < screenPixels; ++i)
        for (int c = 0; c < 3; ++c) ASSERT_EQ(bgr[3 * i + c], frame().pixels[4 * i + c]) << "pixel " << i;
}

TEST(Screenshot, ATakenNameGetsANumberAndAnUnwritableFolderIsPassedOver) {
    ScratchFolder folder;
    std::string error;
    const std::vector<std::wstring> folders = {folder.path + L"\\no such folder", folder.path};
    std::vector<std::wstring> written;
    for (int i = 0; i < 3; ++i) written.push_back(screenshot::save(frame(), "shot.png", folders, error));
    EXPECT_EQ(written, (std::vector<std::wstring>{folder.path + L"\\shot.png", folder.path + L"\\shot-2.png",
                                                  folder.path + L"\\shot-3.png"}));
    EXPECT_EQ(screenshot::save(frame(), "shot.png", {folder.path + L"\\no such folder"}, error), L"");
    EXPECT_NE(error.find("opening the file"), std::string::npos) << error;
}

}  // namespace
