#include "DibCanvas.h"
#include "ProbeControls.h"
#include "manager/WindowUIManager.h"
#include "render/GdiPainter.h"

#include <gtest/gtest.h>

using namespace DirectUI;

namespace {

class MarkupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CWindowUIManager::SetSkinZip(L"", false);
        CWindowUIManager::SetSkinPath(ImageFolder().c_str());
        manager.SetDefaultFont(L"Tahoma", 13, false, false, false);
    }

    RECT Measure(LPCWSTR text, UINT style = 0, int width = 400)
    {
        DibCanvas canvas(8, 8);
        RECT rc = { 0, 0, width, 300 };
        int links = 0;
        CGdiPainter::DrawMarkupText(canvas.dc(), &manager, rc, text, 0xFF000000, NULL, NULL, links, style | DT_CALCRECT);
        return rc;
    }

    SIZE Extent(LPCWSTR text, HFONT font)
    {
        DibCanvas canvas(8, 8);
        SelectObject(canvas.dc(), font);
        SIZE size = { 0, 0 };
        GetTextExtentPoint32W(canvas.dc(), text, lstrlenW(text), &size);
        return size;
    }

    CWindowUIManager manager;
};

TEST_F(MarkupTest, MeasuredExtentsFollowTheMarkup)
{
    FontEntry* font = manager.GetDefaultFontEntry();
    int lineHeight = font->tm.tmHeight + font->tm.tmExternalLeading;
    ASSERT_GT(lineHeight, 0);
    HFONT plain = font->hFont;

    RECT rc = Measure(L"abc");
    EXPECT_EQ(Extent(L"abc", plain).cx, rc.right);
    EXPECT_EQ(lineHeight, rc.bottom);

    rc = Measure(L"{b}WWW{/b}");
    HFONT bold = manager.FindFont(font->sFontName, font->iSize, true, false, false);
    ASSERT_TRUE(bold != NULL);
    EXPECT_EQ(Extent(L"WWW", bold).cx, rc.right);
    EXPECT_GT(rc.right, Extent(L"WWW", plain).cx);

    EXPECT_EQ(2 * lineHeight, Measure(L"a{n}b").bottom);
    EXPECT_EQ(2 * lineHeight, Measure(L"a\nb").bottom);
    EXPECT_EQ(lineHeight, Measure(L"a{n}b", DT_SINGLELINE).bottom);
    EXPECT_EQ(Extent(L"<b>", plain).cx, Measure(L"{r}<b>{/r}").right);
    EXPECT_EQ(Extent(L"{", plain).cx, Measure(L"<{>").right);
    EXPECT_EQ(Extent(L"a", plain).cx + 10, Measure(L"{x 10}a").right);
    EXPECT_EQ(30, Measure(L"{y 30}a").bottom);
    // Nested underline: closing the inner one keeps the outer.
    EXPECT_EQ(Measure(L"xy").right, Measure(L"{u}{u}x{/u}y{/u}").right);
    // Word breaking puts the second word on its own line.
    int word = Extent(L"aaaa ", plain).cx;
    RECT wrapped = Measure(L"aaaa bbbb", DT_WORDBREAK, word + 2);
    EXPECT_EQ(2 * lineHeight, wrapped.bottom);
}

TEST_F(MarkupTest, ColourAndLinksAreDrawnAndReported)
{
    DibCanvas canvas(200, 40);
    RECT rc = { 0, 0, 200, 40 };
    RECT links[2];
    memset(links, 0, sizeof(links));
    CUIString names[2];
    int count = 2;
    CGdiPainter::DrawMarkupText(canvas.dc(), &manager, rc, L"{c #FFFF0000}WW{/c} {a id1}link{/a}", 0xFF000000, links,
                                names, count, 0);
    ASSERT_EQ(1, count);
    EXPECT_STREQ(L"id1", names[0]);
    EXPECT_GT(links[0].left, 0);
    EXPECT_GT(links[0].right, links[0].left);
    EXPECT_EQ(0, links[0].top);

    int red = 0, blue = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 200; ++x) {
            DWORD p = canvas.Pixel(x, y) & 0xFFFFFF;
            if (p == 0xFF0000) ++red;
            if (p == 0x0000FF && x >= links[0].left && x < links[0].right) ++blue;
        }
    }
    EXPECT_GT(red, 0);
    EXPECT_GT(blue, 0); // the link colour 0xFF0000FF
}

TEST(MarkupHover, LinkUnderTheMouseTakesTheHoverColour)
{
    ManagedWindow window;
    CWindowUIManager& m = window.manager;
    RECT links[1];
    memset(links, 0, sizeof(links));
    CUIString names[1];
    auto pixelsOf = [&](DWORD rgb) {
        DibCanvas canvas(200, 40);
        RECT rc = { 0, 0, 200, 40 };
        int count = 1;
        CGdiPainter::DrawMarkupText(canvas.dc(), &m, rc, L"{a go}WWWW{/a}", 0xFF000000, links, names, count, 0);
        int found = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 200; ++x)
                if ((canvas.Pixel(x, y) & 0xFFFFFF) == rgb) ++found;
        return found;
    };
    EXPECT_GT(pixelsOf(0x0000FF), 0); // the mouse is elsewhere: link colour
    ASSERT_GT(links[0].right, links[0].left);
    window.Mouse(WM_MOUSEMOVE, (links[0].left + links[0].right) / 2, (links[0].top + links[0].bottom) / 2);
    EXPECT_GT(pixelsOf(0xD3215F), 0);
    EXPECT_EQ(0, pixelsOf(0x0000FF));
}

TEST_F(MarkupTest, LinksBeyondTheCallersSlotsAreNotWritten)
{
    DibCanvas canvas(300, 40);
    RECT rc = { 0, 0, 300, 40 };
    RECT links[2];
    memset(links, 0x55, sizeof(links));
    CUIString names[2];
    int count = 1;
    CGdiPainter::DrawMarkupText(canvas.dc(), &manager, rc, L"{a one}1{/a} {a two}2{/a} {a three}3{/a}", 0xFF000000,
                                links, names, count, 0);
    EXPECT_EQ(1, count);
    EXPECT_STREQ(L"one", names[0]);
    EXPECT_TRUE(names[1].IsEmpty());
    EXPECT_EQ(0x55555555, links[1].left);
}

TEST_F(MarkupTest, MalformedAndNarrowCasesFinish)
{
    const wchar_t* texts[] = {
        L"abcdef",
        L"{y 0}abc{n}def{n}ghi",
        L"{/b}{/c}{/a}{/p}{/f}{/i}{/u}{/s}{/r}x",
        L"<", L"{", L"{b", L"{c #", L"{a", L"<a", L"{f 99}x", L"{f}", L"{i}", L"{i missing.png 3 9}x",
        L"{i stripe.png 0 -1}x", L"{p}{p 5}x{/p}", L"{r}never closed",
        L"{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}{b}x"
        L"{/b}{/b}{/b}{/b}{/b}{/b}{/b}{/b}{/b}{/b}{/b}{/b}{/b}{/b}{/b}{/b}{/b}{/b}{/b}{/b}{/b}{/b}{/b}{/b}{/b}{/b}{/b}"
        L"{/b}{/b}{/b}{/b}{/b}{/b}{/b}{/b}{/b}{/b}{/b}",
        L"{x -100000}a{x 100000}b", L"\r\n\n\r", L"{c #zz}x{/c}", L"{a}{a}{a}x",
    };
    const UINT styles[] = { 0, DT_WORDBREAK, DT_SINGLELINE, DT_END_ELLIPSIS, DT_CENTER | DT_VCENTER,
                            DT_SINGLELINE | DT_END_ELLIPSIS | DT_RIGHT | DT_BOTTOM, DT_CALCRECT };
    const int widths[] = { 1, 3, 200 };
    for (const wchar_t* text : texts) {
        for (UINT style : styles) {
            for (int width : widths) {
                DibCanvas canvas(220, 60);
                RECT rc = { 0, 0, width, 60 };
                RECT links[2];
                memset(links, 0, sizeof(links));
                CUIString names[2];
                int count = 2;
                CGdiPainter::DrawMarkupText(canvas.dc(), &manager, rc, text, 0xFF000000, links, names, count, style);
                EXPECT_LE(count, 2);
                EXPECT_LE(rc.right, width > 0 ? width : 0);
            }
        }
    }
    // A rectangle one pixel wide still puts one character on each line.
    FontEntry* font = manager.GetDefaultFontEntry();
    RECT narrow = Measure(L"abc", 0, 1);
    EXPECT_EQ(3 * (font->tm.tmHeight + font->tm.tmExternalLeading), narrow.bottom);
}

} // namespace

namespace {

TEST_F(MarkupTest, PlainTextThroughGdiAndGdiplusInksItsBox)
{
    ASSERT_TRUE(manager.AddFont(L"Microsoft YaHei", 16, false, false, false) != NULL);
    for (bool gdiplus : { false, true }) {
        manager.SetUseGdiplusText(gdiplus);
        DibCanvas canvas(200, 40);
        RECT box = { 10, 5, 190, 35 };
        CGdiPainter::DrawText(canvas.dc(), &manager, box, L"\x5b89\x88c5 Setup", 0xFF000001, 0, DT_SINGLELINE | DT_VCENTER);
        RECT inside = { 10, 5, 190, 35 };
        EXPECT_GT(canvas.CountOther(inside, 0xFFFFFFFF), 20) << gdiplus;
        RECT left = { 0, 0, 10, 40 };
        EXPECT_EQ(0, canvas.CountOther(left, 0xFFFFFFFF)) << gdiplus;

        RECT measured = { 0, 0, 400, 100 };
        CGdiPainter::DrawText(canvas.dc(), &manager, measured, L"\x5b89\x88c5 Setup", 0xFF000001, 0,
                              DT_SINGLELINE | DT_CALCRECT);
        EXPECT_GT(measured.right, 20) << gdiplus;
        EXPECT_LT(measured.right, 400) << gdiplus;
        EXPECT_GT(measured.bottom, 10) << gdiplus;
    }
}

} // namespace
