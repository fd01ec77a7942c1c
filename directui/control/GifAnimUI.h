#pragma once

#include "control/ControlUI.h"

namespace DirectUI {

// Plays an animated image decoded by GDI+, one frame per tick of control
// timer 100, each frame held for the delay stored in the image.
class CGifAnimUI : public CControlUI
{
public:
    enum { kTimerId = 100, kDefaultDelayMs = 100 };

    CGifAnimUI();
    ~CGifAnimUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void SetVisible(bool visible = true) override;
    void InitSelf() override;
    void HandleEvent(ControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void Paint(HDC dc, const RECT& rcPaint) override;

    void SetBkImage(LPCWSTR name);
    void SetAutoPlay(bool autoPlay) { m_bAutoPlay = autoPlay; }
    bool IsAutoPlay() const { return m_bAutoPlay; }
    void SetAutoSize(bool autoSize) { m_bAutoSize = autoSize; }
    bool IsAutoSize() const { return m_bAutoSize; }
    void Play();
    void Stop();
    bool IsPlaying() const { return m_bPlaying; }
    UINT GetFrameCount() const { return m_nFrameCount; }
    UINT GetCurrentFrame() const { return m_nFramePosition; }
    // The timer period for a frame: its delay in milliseconds, 100 for a
    // zero delay or a frame the delay list does not reach.
    UINT FrameElapse(UINT frame) const;

private:
    // Reads and decodes the image once per name: a name that failed is not
    // read again on every paint.
    void LoadGifOnce();
    bool LoadGif();
    void DrawFrame(HDC dc);
    void FreeGif();

    void* m_pGifImage;
    UINT m_nFrameCount;
    UINT m_nFramePosition;
    // Delays in hundredths of a second, m_nDelayCount of them.
    UINT* m_pFrameDelays;
    UINT m_nDelayCount;
    CUIString m_sBkImage;
    bool m_bAutoPlay;
    bool m_bAutoSize;
    bool m_bPlaying;
    bool m_bLoadTried; // for the current name
    // The decoder reads frames from the stream lazily, so the stream (and
    // the memory under it) lives as long as the image.
    IStream* m_pStream;
};

} // namespace DirectUI
