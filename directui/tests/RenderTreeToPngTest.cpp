#include "DibCanvas.h"
#include "ProbeControls.h"

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <vector>

using namespace DirectUI;

namespace {

bool PngEncoder(CLSID* clsid)
{
    UINT count = 0, size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
    std::vector<BYTE> buffer(size);
    Gdiplus::ImageCodecInfo* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, size, codecs);
    for (UINT i = 0; i < count; ++i) {
        if (wcscmp(codecs[i].MimeType, L"image/png") == 0) {
            *clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

// A container with a filled control, an image and a Chinese label, painted
// by the window manager, captured from the window and saved as a PNG.
TEST(RenderTree, ContainerWithFillImageAndChineseLabelToPng)
{
    CWindowUIManager::SetSkinZip(L"", false);
    CWindowUIManager::SetSkinPath(ImageFolder().c_str());
    ManagedWindow window(200, 100);
    CWindowUIManager& m = window.manager;
    ASSERT_TRUE(m.AddFont(L"Microsoft YaHei", 18, false, false, false) != NULL);

    CContainerUI* root = new CContainerUI;
    root->SetBkColor(0xFFFFFFFF);
    CControlUI* fill = new CControlUI;
    fill->ApplyAttributes(L"float=\"true\" pos=\"10,10,60,40\" bkcolor=\"#FF3366CC\"");
    CControlUI* image = new CControlUI;
    image->ApplyAttributes(L"float=\"true\" pos=\"70,10,94,34\" bkimage=\"file='frame.png' corner='2,2,2,2'\"");
    TextProbeUI* label = new TextProbeUI;
    label->ApplyAttributes(L"float=\"true\" pos=\"10,50,190,90\"");
    label->SetText(L"\x5b89\x88c5\x5411\x5bfc"); // 安装向导
    root->Add(fill);
    root->Add(image);
    root->Add(label);
    m.AttachRoot(root);
    window.Repaint();

    HWND hwnd = window.GetHWND();
    RECT rc;
    GetWindowRect(hwnd, &rc);
    int width = rc.right - rc.left, height = rc.bottom - rc.top;
    DibCanvas shot(width, height);
    HDC windowDc = GetWindowDC(hwnd);
    ASSERT_TRUE(BitBlt(shot.dc(), 0, 0, width, height, windowDc, 0, 0, SRCCOPY));
    ReleaseDC(hwnd, windowDc);

    std::wstring path = ImageFolder() + L"render-tree.png";
    {
        CLSID png;
        ASSERT_TRUE(PngEncoder(&png));
        Gdiplus::Bitmap bitmap(shot.bitmap(), NULL);
        ASSERT_EQ(Gdiplus::Ok, bitmap.Save(path.c_str(), &png, NULL));
    }
    Gdiplus::Bitmap saved(path.c_str());
    ASSERT_EQ(Gdiplus::Ok, saved.GetLastStatus());
    ASSERT_EQ(static_cast<UINT>(width), saved.GetWidth());
    auto rgb = [&saved](int x, int y) {
        Gdiplus::Color c;
        saved.GetPixel(x, y, &c);
        return static_cast<DWORD>(c.GetValue() & 0xFFFFFF);
    };
    EXPECT_EQ(0x3366CCu, rgb(35, 25));  // the fill
    EXPECT_EQ(0xFF0000u, rgb(71, 11));  // the image's unstretched corner
    EXPECT_EQ(0x00FF00u, rgb(82, 22));  // its stretched middle
    EXPECT_EQ(0xFFFFFFu, rgb(150, 20)); // the container's background
    int inked = 0;
    for (int y = 50; y < 90; ++y)
        for (int x = 10; x < 190; ++x)
            if (rgb(x, y) != 0xFFFFFF) ++inked;
    EXPECT_GT(inked, 40);
}

} // namespace
