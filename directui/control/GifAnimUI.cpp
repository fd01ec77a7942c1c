#include "control/GifAnimUI.h"

#include "manager/SkinFiles.h"
#include "render/GdiPainter.h"

#include <gdiplus.h>
#include <stdlib.h>
#include <string.h>

namespace DirectUI {

using namespace Gdiplus::DllExports;

namespace {

const GUID kFrameDimensionTime = { 0x6aedbd6d, 0x3fb5, 0x418a, { 0x83, 0xa6, 0x7f, 0x45, 0x22, 0x9d, 0xc8, 0x72 } };
const PROPID kPropertyTagFrameDelay = 0x5100;

Gdiplus::GpImage* AsImage(void* image) { return static_cast<Gdiplus::GpImage*>(image); }

} // namespace

CGifAnimUI::CGifAnimUI()
    : m_pGifImage(NULL), m_nFrameCount(0), m_nFramePosition(0), m_pFrameDelays(NULL), m_nDelayCount(0),
      m_bAutoPlay(true), m_bAutoSize(false), m_bPlaying(false), m_bLoadTried(false), m_pStream(NULL)
{
}

CGifAnimUI::~CGifAnimUI()
{
    FreeGif();
    if (m_pManager != NULL) m_pManager->KillTimer(this, kTimerId);
}

LPCWSTR CGifAnimUI::GetControlClass() const { return L"GifAnimUI"; }

LPVOID CGifAnimUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"GifAnim") == 0) return this;
    return CControlUI::GetInterface(name);
}

void CGifAnimUI::SetVisible(bool visible)
{
    CControlUI::SetVisible(visible);
    if (visible) Play();
    else Stop();
}

void CGifAnimUI::InitSelf() { LoadGifOnce(); }

void CGifAnimUI::HandleEvent(ControlEvent& event)
{
    if (event.Type == UIEVENT_TIMER && event.wParam == kTimerId) {
        if (m_pManager == NULL) return;
        m_pManager->KillTimer(this, kTimerId);
        Invalidate();
        // A decoded image always has a frame, but a failed load leaves none.
        if (m_nFrameCount == 0) {
            m_bPlaying = false;
            return;
        }
        m_nFramePosition = (m_nFramePosition + 1) % m_nFrameCount;
        m_pManager->SetTimer(this, kTimerId, FrameElapse(m_nFramePosition));
        return;
    }
    CControlUI::HandleEvent(event);
}

void CGifAnimUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    if (wcscmp(name, L"bkimage") == 0) SetBkImage(value);
    else if (wcscmp(name, L"autoplay") == 0) SetAutoPlay(wcscmp(value, L"true") == 0);
    else if (wcscmp(name, L"autosize") == 0) SetAutoSize(wcscmp(value, L"true") == 0);
    else CControlUI::SetAttribute(name, value);
}

void CGifAnimUI::Paint(HDC dc, const RECT& rcPaint)
{
    if (!IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    LoadGifOnce();
    DrawFrame(dc);
}

void CGifAnimUI::SetBkImage(LPCWSTR name)
{
    if (name == NULL || m_sBkImage == name) return;
    m_sBkImage = name;
    Stop();
    FreeGif();
    Invalidate();
}

void CGifAnimUI::Play()
{
    if (m_bPlaying || m_pGifImage == NULL || m_nFrameCount == 0 || m_pManager == NULL) return;
    if (!m_pManager->SetTimer(this, kTimerId, FrameElapse(m_nFramePosition))) return;
    m_bPlaying = true;
}

void CGifAnimUI::Stop()
{
    if (!m_bPlaying) return;
    if (m_pManager != NULL) m_pManager->KillTimer(this, kTimerId);
    m_nFramePosition = 0;
    Invalidate();
    m_bPlaying = false;
}

UINT CGifAnimUI::FrameElapse(UINT frame) const
{
    UINT delay = frame < m_nDelayCount ? m_pFrameDelays[frame] : 0;
    if (delay == 0) return kDefaultDelayMs;
    // Delays beyond this would overflow the timer period.
    if (delay > 0x7FFFFFFF / 10) delay = 0x7FFFFFFF / 10;
    return delay * 10;
}

void CGifAnimUI::LoadGifOnce()
{
    if (m_bLoadTried) return;
    m_bLoadTried = true;
    LoadGif();
}

bool CGifAnimUI::LoadGif()
{
    if (m_sBkImage.IsEmpty()) return false;
    BYTE* bytes = NULL;
    DWORD size = 0;
    LPCWSTR failure = NULL;
    if (!ReadSkinFile(m_sBkImage, CGdiPainter::kMaxImageFileSize, &bytes, &size, &failure)
        && !ReadWholeFile(m_sBkImage, CGdiPainter::kMaxImageFileSize, &bytes, &size, &failure))
        return false;

    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    void* target = block != NULL ? GlobalLock(block) : NULL;
    if (target == NULL) {
        if (block != NULL) GlobalFree(block);
        free(bytes);
        return false;
    }
    memcpy(target, bytes, size);
    GlobalUnlock(block);
    free(bytes);
    IStream* stream = NULL;
    // The stream frees the block when it is released.
    if (CreateStreamOnHGlobal(block, TRUE, &stream) != S_OK) {
        GlobalFree(block);
        return false;
    }
    Gdiplus::GpImage* image = NULL;
    if (GdipLoadImageFromStream(stream, &image) != Gdiplus::Ok || image == NULL) {
        stream->Release();
        return false;
    }
    m_pStream = stream;
    m_pGifImage = image;

    UINT dimensions = 0;
    GdipImageGetFrameDimensionsCount(image, &dimensions);
    m_nFrameCount = 0;
    if (dimensions > 0) {
        GUID* ids = new GUID[dimensions];
        if (GdipImageGetFrameDimensionsList(image, ids, dimensions) == Gdiplus::Ok)
            GdipImageGetFrameCount(image, &ids[0], &m_nFrameCount);
        delete[] ids;
    }

    UINT propertySize = 0;
    if (GdipGetPropertyItemSize(image, kPropertyTagFrameDelay, &propertySize) == Gdiplus::Ok
        && propertySize >= sizeof(Gdiplus::PropertyItem)) {
        Gdiplus::PropertyItem* item = static_cast<Gdiplus::PropertyItem*>(malloc(propertySize));
        if (item != NULL && GdipGetPropertyItem(image, kPropertyTagFrameDelay, propertySize, item) == Gdiplus::Ok
            && item->value != NULL) {
            // Only as many delays as the property really holds.
            UINT count = item->length / sizeof(UINT);
            UINT room = (propertySize - sizeof(Gdiplus::PropertyItem)) / sizeof(UINT);
            if (count > room) count = room;
            if (count > 0) {
                m_pFrameDelays = new UINT[count];
                memcpy(m_pFrameDelays, item->value, count * sizeof(UINT));
                m_nDelayCount = count;
            }
        }
        free(item);
    }

    if (m_bAutoSize) {
        UINT width = 0, height = 0;
        GdipGetImageWidth(image, &width);
        GdipGetImageHeight(image, &height);
        SetFixedWidth(static_cast<int>(width));
        SetFixedHeight(static_cast<int>(height));
    }
    if (m_bAutoPlay) Play();
    return true;
}

void CGifAnimUI::DrawFrame(HDC dc)
{
    if (dc == NULL || m_pGifImage == NULL) return;
    Gdiplus::GpGraphics* graphics = NULL;
    if (GdipCreateFromHDC(dc, &graphics) != Gdiplus::Ok) return;
    GdipDrawImageRectI(graphics, AsImage(m_pGifImage), m_rcItem.left, m_rcItem.top, m_rcItem.right - m_rcItem.left,
                       m_rcItem.bottom - m_rcItem.top);
    GdipDeleteGraphics(graphics);
    if (m_nFrameCount > 0) GdipImageSelectActiveFrame(AsImage(m_pGifImage), &kFrameDimensionTime, m_nFramePosition);
}

void CGifAnimUI::FreeGif()
{
    if (m_pGifImage != NULL) GdipDisposeImage(AsImage(m_pGifImage));
    m_pGifImage = NULL;
    if (m_pStream != NULL) m_pStream->Release();
    m_pStream = NULL;
    delete[] m_pFrameDelays;
    m_pFrameDelays = NULL;
    m_nDelayCount = 0;
    m_nFrameCount = 0;
    m_nFramePosition = 0;
    m_bLoadTried = false;
}

} // namespace DirectUI
