#include "app/win32/win32_screenshot.h"

#include <windows.h>
#include <wincodec.h>

#include <cstdio>

namespace screenshot {
namespace {

// Releases a COM interface when it goes.
template <typename Interface>
struct Held {
    Interface* p = nullptr;
    ~Held() {
        if (p != nullptr) p->Release();
    }
    Interface* operator->() const { return p; }
};

std::string failure(const char* step, HRESULT result) {
    char text[96];
    std::snprintf(text, sizeof text, "%s failed with 0x%08lX", step, static_cast<unsigned long>(result));
    return text;
}

// The frame's rows as 24-bit BGR, the order the encoder takes.
std::vector<BYTE> bgrRows(const Image& image) {
    std::vector<BYTE> rows(static_cast<size_t>(screenPixels) * 3);
    for (int i = 0; i < screenPixels; ++i) {
        rows[3 * i + 0] = image.pixels[4 * i + 0];
        rows[3 * i + 1] = image.pixels[4 * i + 1];
        rows[3 * i + 2] = image.pixels[4 * i + 2];
    }
    return rows;
}

// The encoder's steps in order; the first that fails names itself.
HRESULT encode(const Image& image, IWICImagingFactory* factory, IWICStream* stream, const char*& step) {
    Held<IWICBitmapEncoder> encoder;
    Held<IWICBitmapFrameEncode> frame;
    Held<IPropertyBag2> properties;
    HRESULT result;
    if (FAILED(result = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder.p))) return step = "the PNG encoder", result;
    if (FAILED(result = encoder->Initialize(stream, WICBitmapEncoderNoCache))) return step = "starting the encoder", result;
    if (FAILED(result = encoder->CreateNewFrame(&frame.p, &properties.p))) return step = "the picture's frame", result;
    if (FAILED(result = frame->Initialize(properties.p))) return step = "the picture's frame", result;
    if (FAILED(result = frame->SetSize(screenWidth, screenHeight))) return step = "the picture's size", result;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(result = frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR)
        return step = "the 24-bit pixel format", FAILED(result) ? result : E_FAIL;
    std::vector<BYTE> rows = bgrRows(image);
    if (FAILED(result = frame->WritePixels(screenHeight, screenWidth * 3, static_cast<UINT>(rows.size()), rows.data())))
        return step = "writing the pixels", result;
    if (FAILED(result = frame->Commit())) return step = "finishing the frame", result;
    if (FAILED(result = encoder->Commit())) return step = "finishing the file", result;
    return S_OK;
}

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring widened(const std::string& text) { return std::wstring(text.begin(), text.end()); }  // ASCII names

// "folder\name", or "folder\name-N.png" for the first N from 2 not taken.
std::wstring freePath(const std::wstring& folder, const std::string& name) {
    const std::wstring base = (folder.empty() ? L"" : folder + L"\\") + widened(name.substr(0, name.size() - 4));
    std::wstring path = base + L".png";
    for (int n = 2; exists(path); ++n) path = base + L"-" + std::to_wstring(n) + L".png";
    return path;
}

}  // namespace

bool writePng(const Image& image, const std::wstring& path, std::string& error) {
    static const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // once, on the window's thread
    (void)com;  // S_FALSE or RPC_E_CHANGED_MODE: COM is there already
    Held<IWICImagingFactory> factory;
    Held<IWICStream> stream;
    HRESULT result = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                      reinterpret_cast<void**>(&factory.p));
    if (FAILED(result)) return error = failure("the imaging component", result), false;
    if (FAILED(result = factory->CreateStream(&stream.p))) return error = failure("a file stream", result), false;
    if (FAILED(result = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)))
        return error = failure("opening the file", result), false;
    const char* step = "";
    result = encode(image, factory.p, stream.p, step);
    if (SUCCEEDED(result)) return true;
    error = failure(step, result);
    stream->Release();  // the file closes before it is removed
    stream.p = nullptr;
    DeleteFileW(path.c_str());
    return false;
}

std::wstring save(const Image& image, const std::string& name, const std::vector<std::wstring>& folders,
                  std::string& error) {
    for (const std::wstring& folder : folders) {
        const std::wstring path = freePath(folder, name);
        if (writePng(image, path, error)) return path;
    }
    return L"";
}

std::wstring programFolder() {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return L"";
    std::wstring path(self, length);
    return path.substr(0, path.find_last_of(L"\\/"));
}

}  // namespace screenshot
