#include "DibCanvas.h"
#include "manager/WindowUIManager.h"
#include "render/GdiPainter.h"

#include <gtest/gtest.h>

using namespace DirectUI;

namespace {

class RenderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CWindowUIManager::SetSkinZip(L"", false);
        CWindowUIManager::SetSkinPath(ImageFolder().c_str());
    }
    CWindowUIManager manager; // starts GDI+ and holds the image cache
};

bool Near(DWORD a, DWORD b, int tolerance = 2)
{
    for (int shift = 0; shift < 32; shift += 8) {
        int x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
        if (x - y > tolerance || y - x > tolerance) return false;
    }
    return true;
}

TEST_F(RenderTest, DrawColorSkipsTransparentAndBlendsPartialAlpha)
{
    struct Row { DWORD color; DWORD expected; };
    const Row rows[] = {
        { 0x00FF0000, 0xFFFFFFFF }, // alpha 0: nothing
        { 0xFFFF0000, 0xFFFF0000 },
        { 0x80000000, 0xFF7F7F7F }, // half black over white
    };
    for (const Row& row : rows) {
        DibCanvas canvas(4, 4);
        RECT rc = { 1, 1, 3, 3 };
        CGdiPainter::DrawColor(canvas.dc(), rc, row.color);
        EXPECT_TRUE(Near(row.expected, canvas.Pixel(1, 1))) << std::hex << row.color << " " << canvas.Pixel(1, 1);
        EXPECT_EQ(0xFFFFFFFFu, canvas.Pixel(0, 0)) << std::hex << row.color;
        EXPECT_EQ(0xFFFFFFFFu, canvas.Pixel(3, 3)) << std::hex << row.color;
    }
}

TEST_F(RenderTest, GradientRunsBetweenItsColours)
{
    DibCanvas canvas(10, 100);
    RECT rc = { 0, 0, 10, 100 };
    CGdiPainter::DrawGradient(canvas.dc(), rc, 0xFFFF0000, 0xFF0000FF, true, 16);
    EXPECT_TRUE(Near(0x00FF0000, canvas.Pixel(5, 0) & 0xFFFFFF, 8)) << std::hex << canvas.Pixel(5, 0);
    EXPECT_TRUE(Near(0x000000FF, canvas.Pixel(5, 99) & 0xFFFFFF, 8)) << std::hex << canvas.Pixel(5, 99);
    DWORD middle = canvas.Pixel(5, 50);
    EXPECT_TRUE(Near(0x7F007F, middle & 0xFFFFFF, 12)) << std::hex << middle;

    DibCanvas none(4, 4);
    CGdiPainter::DrawGradient(none.dc(), none.rect(), 0x00FF0000, 0x000000FF, true, 16);
    EXPECT_EQ(0, none.CountOther(none.rect(), 0xFFFFFFFF));
}

TEST_F(RenderTest, DecodedImagesArePremultipliedAndMasked)
{
    ImageEntry* keyed = manager.GetImageOrLoad(L"keyed.png", NULL, 0xFFFF00FF);
    ASSERT_TRUE(keyed != NULL);
    EXPECT_TRUE(keyed->bAlpha);
    EXPECT_EQ(0u, DibPixel(keyed->hBitmap, 0, 0));
    EXPECT_EQ(0x80808080u, DibPixel(keyed->hBitmap, 1, 0));

    ImageEntry* frame = manager.GetImageOrLoad(L"frame.png");
    ASSERT_TRUE(frame != NULL);
    EXPECT_FALSE(frame->bAlpha);
    EXPECT_EQ(6, frame->nWidth);
    EXPECT_EQ(0xFF00FF00u, DibPixel(frame->hBitmap, 2, 2));
    EXPECT_TRUE(manager.GetImageOrLoad(L"frame.png") == frame);

    // Images past the side limit and data that is no image are refused.
    EXPECT_TRUE(manager.GetImageOrLoad(L"toowide.png") == NULL);
    const BYTE junk[] = { 0x89, 'P', 'N', 'G', 1, 2, 3 };
    EXPECT_TRUE(CGdiPainter::DecodeImage(junk, sizeof(junk), 0) == NULL);
    EXPECT_TRUE(manager.GetImageOrLoad(L"missing.png") == NULL);
}

TEST_F(RenderTest, NinePartKeepsCornersAndStretchesTheMiddle)
{
    DibCanvas canvas(20, 20);
    RECT item = { 0, 0, 20, 20 };
    ASSERT_TRUE(CGdiPainter::DrawImageString(canvas.dc(), &manager, item, item, L"file='frame.png' corner='2,2,2,2'"));
    struct Probe { int x, y; DWORD color; };
    const Probe probes[] = { { 0, 0, 0xFFFF0000 }, { 1, 1, 0xFFFF0000 }, { 19, 19, 0xFFFF0000 }, { 10, 0, 0xFFFF0000 },
                             { 0, 10, 0xFFFF0000 }, { 18, 18, 0xFFFF0000 }, { 2, 2, 0xFF00FF00 }, { 10, 10, 0xFF00FF00 },
                             { 17, 17, 0xFF00FF00 } };
    for (const Probe& p : probes) EXPECT_EQ(p.color & 0xFFFFFF, canvas.Pixel(p.x, p.y) & 0xFFFFFF) << p.x << "," << p.y;

    // A hole leaves the middle as it was.
    DibCanvas holed(20, 20);
    CGdiPainter::DrawImageString(holed.dc(), &manager, item, item, L"file='frame.png' corner='2,2,2,2' hole='true'");
    EXPECT_EQ(0xFFFFFFFFu, holed.Pixel(10, 10));
    EXPECT_EQ(0xFF0000u, holed.Pixel(0, 10) & 0xFFFFFF);
}

TEST_F(RenderTest, TiledImagesRepeatWithoutStretching)
{
    DibCanvas canvas(7, 3);
    RECT item = { 0, 0, 7, 3 };
    ASSERT_TRUE(CGdiPainter::DrawImageString(canvas.dc(), &manager, item, item, L"file='stripe.png' xtiled='true'"));
    for (int x = 0; x < 7; ++x) EXPECT_EQ(x % 2 == 0 ? 0xFF0000u : 0x0000FFu, canvas.Pixel(x, 2) & 0xFFFFFF) << x;

    DibCanvas both(5, 4);
    RECT small = { 0, 0, 5, 4 };
    CGdiPainter::DrawImageString(both.dc(), &manager, small, small, L"file='stripe.png' xtiled='true' ytiled='true'");
    EXPECT_EQ(0xFF0000u, both.Pixel(4, 3) & 0xFFFFFF);
    EXPECT_EQ(0x0000FFu, both.Pixel(3, 0) & 0xFFFFFF);

    // Corners that leave no middle in the image: nothing to repeat, and the call ends.
    DibCanvas empty(30, 30);
    RECT big = { 0, 0, 30, 30 };
    CGdiPainter::DrawImageString(empty.dc(), &manager, big, big,
                                 L"file='corners.png' corner='2,2,2,2' xtiled='true' ytiled='true'");
    EXPECT_EQ(0xFFFFFFFFu, empty.Pixel(15, 15));
    EXPECT_EQ(0xFF0000u, empty.Pixel(0, 0) & 0xFFFFFF);
}

TEST_F(RenderTest, ImageStringAttributesAsATable)
{
    struct Row
    {
        const wchar_t* image;
        bool drawn;
        int x, y;
        DWORD color; // colour of pixel (x, y) after drawing into a 10x10 item at (2, 2) of a white 16x16 canvas
    };
    const Row rows[] = {
        { L"frame.png", true, 2, 2, 0xFFFF0000 },
        { L"file='frame.png' dest='0,0,16,16'", true, 12, 12, 0xFFFFFFFF }, // cut at the item
        { L"file='frame.png' dest='0,0,16,16'", true, 11, 11, 0xFFFF0000 },
        { L"file='frame.png' dest='4,4'", true, 5, 5, 0xFFFFFFFF },         // right, bottom keep the item's
        { L"file='frame.png' dest='4,4'", true, 11, 11, 0xFFFF0000 },
        { L"file='frame.png' source='2,2,4,4'", true, 2, 2, 0xFF00FF00 },
        { L"file='frame.png' source='-9,-9,99,99'", true, 7, 7, 0xFF00FF00 }, // clipped to the image
        { L"file='frame.png' source='5,5,1,1'", true, 6, 6, 0xFFFFFFFF },     // nothing left after clipping
        { L"file='frame.png' fade='0'", true, 6, 6, 0xFFFFFFFF },
        { L"file='frame.png' fade='abc'", true, 6, 6, 0xFFFFFFFF },
        { L"file='missing.png'", false, 6, 6, 0xFFFFFFFF },
        { L"file='frame.png", false, 6, 6, 0xFFFFFFFF },                  // no closing quote: the whole text names it
        { L"file=frame.png", false, 6, 6, 0xFFFFFFFF },
        { L"file='frame.png'dest='0,0,1,1'", true, 7, 7, 0xFF00FF00 },  // no space: the list ends
        { L"file='frame.png' dest=''", true, 7, 7, 0xFF00FF00 },          // empty values are skipped
        { L"file='frame.png' dest='1,,,'", true, 7, 7, 0xFF00FF00 },
        { L"file='frame.png' unknown='1' corner='2,2,2,2,2,2,2'", true, 2, 2, 0xFFFF0000 },
        { L"file='missing.png' file='frame.png'", true, 7, 7, 0xFF00FF00 }, // the last image decides
        { L"file='frame.png' file='missing.png'", false, 7, 7, 0xFF00FF00 },
        { L"", false, 6, 6, 0xFFFFFFFF },
        { L"   =   '  ", false, 6, 6, 0xFFFFFFFF },
    };
    for (const Row& row : rows) {
        DibCanvas canvas(16, 16);
        RECT item = { 2, 2, 12, 12 };
        RECT paint = canvas.rect();
        EXPECT_EQ(row.drawn, CGdiPainter::DrawImageString(canvas.dc(), &manager, item, paint, row.image)) << row.image;
        EXPECT_EQ(row.color & 0xFFFFFF, canvas.Pixel(row.x, row.y) & 0xFFFFFF) << row.image;
        EXPECT_EQ(0xFFFFFFFFu, canvas.Pixel(0, 0)) << row.image;
    }
}

TEST_F(RenderTest, ModifyStringOverridesTheImageString)
{
    DibCanvas canvas(16, 16);
    RECT item = { 0, 0, 16, 16 };
    ASSERT_TRUE(CGdiPainter::DrawImageString(canvas.dc(), &manager, item, item, L"file='frame.png'",
                                             L"dest='0,0,6,6'"));
    EXPECT_EQ(0x00FF00u, canvas.Pixel(2, 2) & 0xFFFFFF);
    EXPECT_EQ(0xFFFFFFFFu, canvas.Pixel(8, 8));
}

TEST_F(RenderTest, LayeredPixelHelpersStayInsideTheBitmap)
{
    DWORD bits[4 * 3];
    for (DWORD& b : bits) b = 0x00000001;
    bits[1] = 0x00000000;
    RECT all = { -5, -5, 50, 50 };
    CGdiPainter::FixAlpha(bits, 4, 3, all);
    EXPECT_EQ(0xFF000001u, bits[0]);
    EXPECT_EQ(0x00000000u, bits[1]);
    RECT part = { 2, 1, 99, 99 };
    CGdiPainter::ClearPixels(bits, 4, 3, part);
    EXPECT_EQ(0u, bits[4 + 2]);
    EXPECT_EQ(0u, bits[11]);
    EXPECT_EQ(0xFF000001u, bits[4 + 1]);
}

} // namespace
