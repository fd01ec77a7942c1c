#include "DibCanvas.h"
#include "ProbeControls.h"

#include "control/GifAnimUI.h"

#include <gtest/gtest.h>

using namespace DirectUI;

namespace {

// A window whose root container holds one GIF control at 10,10-50,40.
struct GifWindow
{
    explicit GifWindow(LPCWSTR file, bool autoSize = false, bool autoPlay = true)
        : root(new CContainerUI), gif(new CGifAnimUI)
    {
        CWindowUIManager::SetSkinPath(ImageFolder().c_str());
        gif->SetAttribute(L"float", L"true");
        gif->SetAttribute(L"pos", L"10,10,50,40");
        gif->SetAttribute(L"autosize", autoSize ? L"true" : L"false");
        gif->SetAttribute(L"autoplay", autoPlay ? L"true" : L"false");
        gif->SetAttribute(L"bkimage", file);
        root->Add(gif);
        window.manager.AttachRoot(root);
        window.Repaint();
    }
    void Tick()
    {
        ControlEvent event = {};
        event.Type = UIEVENT_TIMER;
        event.pSender = gif;
        event.wParam = CGifAnimUI::kTimerId;
        gif->HandleEvent(event);
    }
    DWORD PaintedCentre()
    {
        DibCanvas canvas(200, 150, 0xFF000000);
        RECT all = canvas.rect();
        gif->Paint(canvas.dc(), all);
        const RECT& rc = gif->GetPos();
        return canvas.Pixel((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    }
    ManagedWindow window;
    CContainerUI* root;
    CGifAnimUI* gif;
};

TEST(GifAnim, TimerPeriodFollowsEachFrameDelay)
{
    struct Row
    {
        const wchar_t* file;
        UINT frames;
        std::vector<UINT> periods;
    };
    const Row rows[] = {
        // Delays 0, 7 and 20 hundredths: 0 means the default 100 ms.
        { L"anim.gif", 3, { 100, 70, 200 } },
        // No delay property at all: every frame 100 ms.
        { L"still.gif", 1, { 100 } },
        // Frames the delay list does not reach, or that carry 0, get 100 ms.
        { L"fewdelays.gif", 3, { 50, 100, 100 } },
    };
    for (const Row& row : rows) {
        GifWindow w(row.file);
        SCOPED_TRACE(testing::Message() << "file " << testing::PrintToString(std::wstring(row.file)));
        ASSERT_EQ(row.frames, w.gif->GetFrameCount());
        for (UINT i = 0; i < row.periods.size(); ++i) EXPECT_EQ(row.periods[i], w.gif->FrameElapse(i)) << i;
        EXPECT_TRUE(w.gif->IsPlaying());
    }
}

TEST(GifAnim, TimerAdvancesFramesAndWrapsAround)
{
    GifWindow w(L"anim.gif");
    EXPECT_EQ(0u, w.gif->GetCurrentFrame());
    const UINT expected[] = { 1, 2, 0, 1 };
    for (UINT frame : expected) {
        w.Tick();
        EXPECT_EQ(frame, w.gif->GetCurrentFrame());
        EXPECT_TRUE(w.gif->IsPlaying());
    }
}

TEST(GifAnim, PaintingShowsTheFrameSelectedAtThePreviousPaint)
{
    GifWindow w(L"anim.gif");
    EXPECT_EQ(0xFFFF0000u, w.PaintedCentre());
    w.Tick();
    // The frame is selected after drawing, for the next paint.
    EXPECT_EQ(0xFFFF0000u, w.PaintedCentre());
    EXPECT_EQ(0xFF00FF00u, w.PaintedCentre());
    w.Tick();
    w.PaintedCentre();
    EXPECT_EQ(0xFF0000FFu, w.PaintedCentre());
}

TEST(GifAnim, AutoSizeTakesTheImageSize)
{
    GifWindow sized(L"anim.gif", true);
    EXPECT_EQ(12, sized.gif->GetFixedWidth());
    EXPECT_EQ(10, sized.gif->GetFixedHeight());
    sized.window.Repaint();
    EXPECT_EQ(12, sized.gif->GetWidth());
    EXPECT_EQ(10, sized.gif->GetHeight());
    GifWindow kept(L"anim.gif", false);
    EXPECT_EQ(40, kept.gif->GetWidth());
    EXPECT_EQ(30, kept.gif->GetHeight());
}

TEST(GifAnim, HidingStopsAndRewindsShowingPlaysAgain)
{
    GifWindow w(L"anim.gif");
    w.Tick();
    ASSERT_EQ(1u, w.gif->GetCurrentFrame());
    w.gif->SetVisible(false);
    EXPECT_FALSE(w.gif->IsPlaying());
    EXPECT_EQ(0u, w.gif->GetCurrentFrame());
    w.gif->SetVisible(true);
    EXPECT_TRUE(w.gif->IsPlaying());
}

TEST(GifAnim, WithoutAutoplayNothingRunsUntilPlay)
{
    GifWindow w(L"anim.gif", false, false);
    EXPECT_FALSE(w.gif->IsPlaying());
    w.gif->Play();
    EXPECT_TRUE(w.gif->IsPlaying());
}

TEST(GifAnim, StillImageIsDrawnAndTicksWithoutMoving)
{
    GifWindow w(L"still.gif");
    EXPECT_EQ(0xFFFFFFFFu, w.PaintedCentre());
    for (int i = 0; i < 3; ++i) {
        w.Tick();
        EXPECT_EQ(0u, w.gif->GetCurrentFrame());
        EXPECT_EQ(0xFFFFFFFFu, w.PaintedCentre());
    }
}

TEST(GifAnim, BrokenOrMissingImageNeverAnimates)
{
    const wchar_t* files[] = { L"cut.gif", L"missing.gif", L"frame.png" };
    for (const wchar_t* file : files) {
        GifWindow w(file);
        SCOPED_TRACE(testing::PrintToString(std::wstring(file)));
        // Whatever the decoder made of it, ticks and paints stay safe.
        w.Tick();
        w.Tick();
        w.PaintedCentre();
        if (w.gif->GetFrameCount() == 0) {
            EXPECT_FALSE(w.gif->IsPlaying());
        } else {
            EXPECT_LT(w.gif->GetCurrentFrame(), w.gif->GetFrameCount());
        }
    }
}

TEST(GifAnim, ImageThatFailedIsNotReadAgainUntilItsNameIsSet)
{
    WCHAR temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"late" + std::to_wstring(GetCurrentProcessId()) + L".gif";
    DeleteFileW(path.c_str());
    GifWindow w(path.c_str());
    w.PaintedCentre();
    EXPECT_EQ(0u, w.gif->GetFrameCount());

    // The file appears: paints keep the failed name's outcome, a name set again reads it.
    ASSERT_TRUE(CopyFileW((ImageFolder() + L"anim.gif").c_str(), path.c_str(), FALSE));
    w.PaintedCentre();
    w.window.Repaint();
    EXPECT_EQ(0u, w.gif->GetFrameCount()) << "a failed image is read once, not on every paint";
    w.gif->SetBkImage(L"");
    w.gif->SetBkImage(path.c_str());
    w.PaintedCentre();
    EXPECT_EQ(3u, w.gif->GetFrameCount());
    w.gif->SetBkImage(L"");
    EXPECT_TRUE(DeleteFileW(path.c_str()));
}

TEST(GifAnim, ReadsItsImageFromTheSkinZipByNameInAnyCase)
{
    // The zip is the skin only for this test, however it ends.
    struct ZipSkin
    {
        ZipSkin() { CWindowUIManager::SetSkinZip(L"gifs.zip", false); }
        ~ZipSkin() { CWindowUIManager::SetSkinZip(L"", false); }
    } zip;
    {
        GifWindow zipped(L"anim.gif");
        EXPECT_EQ(3u, zipped.gif->GetFrameCount());
        EXPECT_EQ(70u, zipped.gif->FrameElapse(1));
    }
    {
        // Not in the zip: the name is taken as a file path.
        std::wstring path = ImageFolder() + L"still.gif";
        GifWindow outside(path.c_str());
        EXPECT_EQ(1u, outside.gif->GetFrameCount());
    }
}

TEST(GifAnim, ChangingTheImageStopsAndLoadsTheNewOne)
{
    GifWindow w(L"anim.gif");
    w.Tick();
    w.gif->SetBkImage(L"still.gif");
    EXPECT_FALSE(w.gif->IsPlaying());
    EXPECT_EQ(0u, w.gif->GetFrameCount());
    EXPECT_EQ(0xFFFFFFFFu, w.PaintedCentre());
    EXPECT_EQ(1u, w.gif->GetFrameCount());
    EXPECT_TRUE(w.gif->IsPlaying());
}

} // namespace
