#include "DibCanvas.h"

#include "render/GdiPainter.h"

using DirectUI::CGdiPainter;

DibCanvas::DibCanvas(int width, int height, DWORD fill) : m_width(width), m_height(height)
{
    m_dc = CreateCompatibleDC(NULL);
    m_bitmap = CGdiPainter::CreateDib32(m_dc, width, height, reinterpret_cast<LPDWORD*>(&m_bits));
    m_old = SelectObject(m_dc, m_bitmap);
    Fill(fill);
}

DibCanvas::~DibCanvas()
{
    SelectObject(m_dc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

void DibCanvas::Fill(DWORD argb)
{
    GdiFlush();
    for (int i = 0; i < m_width * m_height; ++i) m_bits[i] = argb;
}

DWORD DibCanvas::Pixel(int x, int y) const
{
    GdiFlush();
    return m_bits[y * m_width + x];
}

int DibCanvas::CountOther(const RECT& rc, DWORD color) const
{
    GdiFlush();
    int count = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            if (m_bits[y * m_width + x] != color) ++count;
    return count;
}

DWORD DibPixel(HBITMAP dib, int x, int y)
{
    GdiFlush();
    DIBSECTION section;
    if (GetObjectW(dib, sizeof(section), &section) != sizeof(section) || section.dsBm.bmBits == NULL) return 0xDEADBEEF;
    const BYTE* row = static_cast<const BYTE*>(section.dsBm.bmBits) + y * section.dsBm.bmWidthBytes;
    return reinterpret_cast<const DWORD*>(row)[x];
}

std::wstring ImageFolder()
{
    WCHAR here[MAX_PATH] = { 0 };
    GetCurrentDirectoryW(MAX_PATH, here);
    return std::wstring(here) + L"\\images\\";
}
