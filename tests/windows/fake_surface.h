#pragma once
#include <windows.h>
#include <ddraw.h>

#include <string>
#include <vector>

// A DirectDraw surface for tests: Blt and Flip answer from a script, Lock
// hands out a memory block of a chosen pitch and size, and every call of
// interest is counted. Calls the Display does not make report DDERR_UNSUPPORTED.
class FakeSurface : public IDirectDrawSurface7 {
public:
    FakeSurface(int width, int height, int pitch, std::vector<std::string>* releaseLog = nullptr,
                const char* name = "")
        : memory(static_cast<size_t>(pitch) * height, 0xAB), width_(width), height_(height), pitch_(pitch),
          releaseLog_(releaseLog), name_(name) {}
    virtual ~FakeSurface() = default;

    // Results of successive Blt or Flip calls; the last one repeats.
    std::vector<HRESULT> showResults = {DD_OK};
    HRESULT restoreResult = DD_OK;
    HRESULT lockResult = DD_OK;
    HRESULT lostResult = DD_OK;

    int blts = 0, flips = 0, restores = 0, locks = 0, unlocks = 0, releases = 0;
    RECT lastDestination = {}, lastSource = {};
    IDirectDrawSurface7* lastSourceSurface = nullptr;
    std::vector<unsigned char> memory;

    STDMETHOD_(ULONG, Release)(THIS) override {
        ++releases;
        if (releaseLog_) releaseLog_->push_back(name_);
        return 0;
    }
    STDMETHOD(Blt)(THIS_ LPRECT destination, LPDIRECTDRAWSURFACE7 source, LPRECT sourceRect, DWORD, LPDDBLTFX) override {
        if (destination) lastDestination = *destination;
        if (sourceRect) lastSource = *sourceRect;
        lastSourceSurface = source;
        return nextShowResult(blts++);
    }
    STDMETHOD(Flip)(THIS_ LPDIRECTDRAWSURFACE7, DWORD) override { return nextShowResult(flips++); }
    STDMETHOD(Restore)(THIS) override {
        ++restores;
        if (restoreResult == DD_OK) lostResult = DD_OK;
        return restoreResult;
    }
    STDMETHOD(IsLost)(THIS) override { return lostResult; }
    STDMETHOD(Lock)(THIS_ LPRECT, LPDDSURFACEDESC2 description, DWORD, HANDLE) override {
        ++locks;
        if (FAILED(lockResult)) return lockResult;
        description->dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_LPSURFACE;
        description->dwWidth = width_;
        description->dwHeight = height_;
        description->lPitch = pitch_;
        description->lpSurface = memory.data();
        return DD_OK;
    }
    STDMETHOD(Unlock)(THIS_ LPRECT) override {
        ++unlocks;
        return DD_OK;
    }

    STDMETHOD(QueryInterface)(THIS_ REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHOD_(ULONG, AddRef)(THIS) override { return 1; }
    STDMETHOD(AddAttachedSurface)(THIS_ LPDIRECTDRAWSURFACE7) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(AddOverlayDirtyRect)(THIS_ LPRECT) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(BltBatch)(THIS_ LPDDBLTBATCH, DWORD, DWORD) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(BltFast)(THIS_ DWORD, DWORD, LPDIRECTDRAWSURFACE7, LPRECT, DWORD) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(DeleteAttachedSurface)(THIS_ DWORD, LPDIRECTDRAWSURFACE7) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(EnumAttachedSurfaces)(THIS_ LPVOID, LPDDENUMSURFACESCALLBACK7) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(EnumOverlayZOrders)(THIS_ DWORD, LPVOID, LPDDENUMSURFACESCALLBACK7) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(GetAttachedSurface)(THIS_ LPDDSCAPS2, LPDIRECTDRAWSURFACE7*) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(GetBltStatus)(THIS_ DWORD) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(GetCaps)(THIS_ LPDDSCAPS2) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(GetClipper)(THIS_ LPDIRECTDRAWCLIPPER*) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(GetColorKey)(THIS_ DWORD, LPDDCOLORKEY) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(GetDC)(THIS_ HDC*) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(GetFlipStatus)(THIS_ DWORD) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(GetOverlayPosition)(THIS_ LPLONG, LPLONG) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(GetPalette)(THIS_ LPDIRECTDRAWPALETTE*) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(GetPixelFormat)(THIS_ LPDDPIXELFORMAT) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(GetSurfaceDesc)(THIS_ LPDDSURFACEDESC2) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(Initialize)(THIS_ LPDIRECTDRAW, LPDDSURFACEDESC2) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(ReleaseDC)(THIS_ HDC) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(SetClipper)(THIS_ LPDIRECTDRAWCLIPPER) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(SetColorKey)(THIS_ DWORD, LPDDCOLORKEY) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(SetOverlayPosition)(THIS_ LONG, LONG) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(SetPalette)(THIS_ LPDIRECTDRAWPALETTE) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(UpdateOverlay)(THIS_ LPRECT, LPDIRECTDRAWSURFACE7, LPRECT, DWORD, LPDDOVERLAYFX) override {
        return DDERR_UNSUPPORTED;
    }
    STDMETHOD(UpdateOverlayDisplay)(THIS_ DWORD) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(UpdateOverlayZOrder)(THIS_ DWORD, LPDIRECTDRAWSURFACE7) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(GetDDInterface)(THIS_ LPVOID*) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(PageLock)(THIS_ DWORD) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(PageUnlock)(THIS_ DWORD) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(SetSurfaceDesc)(THIS_ LPDDSURFACEDESC2, DWORD) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(SetPrivateData)(THIS_ REFGUID, LPVOID, DWORD, DWORD) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(GetPrivateData)(THIS_ REFGUID, LPVOID, LPDWORD) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(FreePrivateData)(THIS_ REFGUID) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(GetUniquenessValue)(THIS_ LPDWORD) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(ChangeUniquenessValue)(THIS) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(SetPriority)(THIS_ DWORD) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(GetPriority)(THIS_ LPDWORD) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(SetLOD)(THIS_ DWORD) override { return DDERR_UNSUPPORTED; }
    STDMETHOD(GetLOD)(THIS_ LPDWORD) override { return DDERR_UNSUPPORTED; }

private:
    HRESULT nextShowResult(int call) const {
        return call < static_cast<int>(showResults.size()) ? showResults[call] : showResults.back();
    }
    int width_, height_, pitch_;
    std::vector<std::string>* releaseLog_;
    const char* name_;
};
