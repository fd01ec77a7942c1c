#pragma once

#include <windows.h>

#include <string>

// A memory DC with a 32-bit top-down DIB selected, whose pixels tests read.
class DibCanvas
{
public:
    DibCanvas(int width, int height, DWORD fill = 0xFFFFFFFF);
    ~DibCanvas();

    HDC dc() const { return m_dc; }
    HBITMAP bitmap() const { return m_bitmap; }
    RECT rect() const { RECT rc = { 0, 0, m_width, m_height }; return rc; }
    void Fill(DWORD argb);
    DWORD Pixel(int x, int y) const;
    // Pixels of rc that differ from colour.
    int CountOther(const RECT& rc, DWORD color) const;

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    DWORD* m_bits;
    int m_width, m_height;
};

// Reads pixel (x, y) of any 32-bit DIB section.
DWORD DibPixel(HBITMAP dib, int x, int y);
// Folder of the test images ("images" in the working folder), with a trailing backslash.
std::wstring ImageFolder();
