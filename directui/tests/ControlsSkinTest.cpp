#include "ProbeControls.h"

#include "control/EditUI.h"
#include "control/OptionUI.h"
#include "control/RichEditUI.h"
#include "control/ScrollBarUI.h"
#include "control/SliderUI.h"
#include "control/TextUI.h"
#include "window/WindowImplBase.h"

#include <gtest/gtest.h>

#include <string>

using namespace DirectUI;

namespace {

// A frame over the controls sample skin (built into the folder
// ..\skins\controls beside the programs), as a wizard shows its pages.
class ControlsFrame : public WindowImplBase
{
public:
    explicit ControlsFrame(LPCWSTR file) : m_file(file) {}

protected:
    LPCWSTR GetWindowClassName() const override { return L"OrbelaControlsFrame"; }
    CUIString GetSkinFolder() override { return L"..\\skins\\controls\\"; }
    CUIString GetSkinFile() override { return m_file; }

private:
    CUIString m_file;
};

struct ShownSkin
{
    explicit ShownSkin(LPCWSTR file = L"main.xml") : frame(file)
    {
        CWindowUIManager::SetInstance(GetModuleHandleW(NULL));
        CWindowUIManager::SetSkinZip(L"");
        CWindowUIManager::SetSkinPath(L"");
        frame.Create(NULL, L"controls", WS_POPUP | WS_SYSMENU, 0);
        frame.GetManager()->AddNotifier(&recorder);
        ::ShowWindow(frame.GetHWND(), SW_SHOWNORMAL);
        ::UpdateWindow(frame.GetHWND());
        PumpMessages();
        recorder.got.clear();
    }
    ~ShownSkin()
    {
        if (::IsWindow(frame.GetHWND())) ::DestroyWindow(frame.GetHWND());
        PumpMessages();
    }
    CControlUI* Find(LPCWSTR name) { return frame.GetManager()->FindControl(name); }
    POINT CentreOf(LPCWSTR name)
    {
        const RECT& rc = Find(name)->GetPos();
        POINT pt = { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
        return pt;
    }
    void Send(UINT msg, POINT pt, WPARAM wParam = 0)
    {
        ::SendMessageW(frame.GetHWND(), msg, wParam, MAKELPARAM(pt.x, pt.y));
    }
    void Click(POINT pt)
    {
        Send(WM_MOUSEMOVE, pt);
        Send(WM_LBUTTONDOWN, pt, MK_LBUTTON);
        Send(WM_LBUTTONUP, pt);
        PumpMessages();
    }
    void Click(LPCWSTR name) { Click(CentreOf(name)); }
    void Type(const wchar_t* text)
    {
        for (const wchar_t* p = text; *p != 0; ++p) ::SendMessageW(::GetFocus(), WM_CHAR, *p, 1);
    }
    LRESULT HitTest(POINT pt)
    {
        ClientToScreen(frame.GetHWND(), &pt);
        return ::SendMessageW(frame.GetHWND(), WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    }
    ControlsFrame frame;
    NotifyRecorder recorder;
};

TEST(ControlsSkin, TheBuilderMakesEveryControl)
{
    ShownSkin skin;
    const struct
    {
        LPCWSTR name;
        LPCWSTR className;
    } rows[] = {
        { L"title", L"LabelUI" },       { L"install", L"ButtonUI" },  { L"typical", L"OptionUI" },
        { L"agree", L"CheckBoxUI" },    { L"progress", L"ProgressUI" }, { L"slider", L"SliderUI" },
        { L"links", L"TextUI" },        { L"setup_path", L"EditUI" }, { L"licence", L"RichEditUI" },
    };
    for (const auto& row : rows) {
        CControlUI* control = skin.Find(row.name);
        ASSERT_TRUE(control != NULL) << std::string(row.name, row.name + wcslen(row.name));
        EXPECT_STREQ(row.className, control->GetControlClass());
    }
    CRichEditUI* licence = static_cast<CRichEditUI*>(skin.Find(L"licence"));
    EXPECT_TRUE(licence->HasTextServices());
    EXPECT_GT(licence->GetTextLength(), 600);
    ASSERT_TRUE(licence->GetVerticalScrollBar() != NULL);
    EXPECT_TRUE(licence->GetVerticalScrollBar()->IsVisible());
    EXPECT_EQ(0, licence->GetVerticalScrollBar()->GetScrollPos()); // shown from its start
    // The auto-width title settled in the first layout pass.
    CControlUI* title = skin.Find(L"title");
    EXPECT_FALSE(skin.frame.GetManager()->IsUpdateNeeded());
    EXPECT_GT(title->GetFixedWidth(), 100);
    EXPECT_EQ(title->GetFixedWidth(), title->GetWidth());
}

// The caption covers the whole window: only controls a user works with
// answer HTCLIENT.
TEST(ControlsSkin, HitTestInTheCaptionCoveredWindow)
{
    ShownSkin skin;
    CRichEditUI* licence = static_cast<CRichEditUI*>(skin.Find(L"licence"));
    ASSERT_TRUE(licence->GetVerticalScrollBar() != NULL);
    const RECT& bar = licence->GetVerticalScrollBar()->GetPos();
    POINT onBar = { (bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2 };
    const RECT& title = skin.Find(L"title")->GetPos();
    POINT empty = { title.right + 20, (title.top + title.bottom) / 2 };
    const struct
    {
        const char* what;
        POINT pt;
        LRESULT code;
    } rows[] = {
        { "edit", skin.CentreOf(L"setup_path"), HTCLIENT },
        { "rich edit", skin.CentreOf(L"licence"), HTCLIENT },
        { "its scroll bar", onBar, HTCLIENT },
        { "button", skin.CentreOf(L"install"), HTCLIENT },
        { "option", skin.CentreOf(L"typical"), HTCLIENT },
        { "slider", skin.CentreOf(L"slider"), HTCLIENT },
        { "empty spot", empty, HTCAPTION },
        { "label", skin.CentreOf(L"yahei"), HTCAPTION },
    };
    for (const auto& row : rows) EXPECT_EQ(row.code, skin.HitTest(row.pt)) << row.what;
}

TEST(ControlsSkin, ClicksNotifyTheClickedControlsOnly)
{
    ShownSkin skin;
    skin.Click(L"install");
    skin.Click(L"typical"); // the selected one of its group
    skin.Click(L"custom");
    skin.Click(L"agree");
    skin.Click(L"agree");
    EXPECT_EQ(L"install:click;typical:click;typical:selectchanged;custom:click;custom:selectchanged;"
              L"agree:click;agree:selectchanged;agree:click;agree:selectchanged;",
              skin.recorder.SendersAndTypes());
    EXPECT_FALSE(static_cast<COptionUI*>(skin.Find(L"typical"))->IsSelected());
    EXPECT_TRUE(static_cast<COptionUI*>(skin.Find(L"custom"))->IsSelected());
    EXPECT_FALSE(static_cast<COptionUI*>(skin.Find(L"agree"))->IsSelected());
    // A slider position and the second link.
    skin.recorder.got.clear();
    CSliderUI* slider = static_cast<CSliderUI*>(skin.Find(L"slider"));
    const RECT& rc = slider->GetPos();
    skin.Click(POINT{ rc.right - 1, (rc.top + rc.bottom) / 2 });
    EXPECT_EQ(100, slider->GetValue());
    CTextUI* links = static_cast<CTextUI*>(skin.Find(L"links"));
    ASSERT_EQ(2, links->GetLinkCount());
    RECT second = links->GetLinkRect(1);
    skin.Click(POINT{ (second.left + second.right) / 2, (second.top + second.bottom) / 2 });
    EXPECT_EQ(L"slider:valuechanged;links:link;", skin.recorder.SendersAndTypes());
    EXPECT_EQ(1u, skin.recorder.got.back().wParam);
}

TEST(ControlsSkin, TypingChangesTheEditAndTheRichEdit)
{
    ShownSkin skin;
    skin.Click(L"setup_path");
    CEditUI* path = static_cast<CEditUI*>(skin.Find(L"setup_path"));
    ASSERT_TRUE(path->GetNativeWindow() != NULL);
    ::SendMessageW(path->GetNativeWindow(), WM_KEYDOWN, VK_END, 1);
    skin.Type(L"\\Games\x6e38\x620f");
    EXPECT_EQ(CUIString(L"C:\\Program Files\\Orbela\\Games\x6e38\x620f"), path->GetText());
    EXPECT_EQ(L"setup_path:textchanged;setup_path:textchanged;setup_path:textchanged;setup_path:textchanged;"
              L"setup_path:textchanged;setup_path:textchanged;setup_path:textchanged;setup_path:textchanged;",
              skin.recorder.SendersAndTypes());

    CRichEditUI* remark = static_cast<CRichEditUI*>(skin.Find(L"remark"));
    EXPECT_EQ(CUIString(L"\x5907\x6ce8\xff08\x53ef\x9009\xff09"), remark->GetText()); // the tip
    skin.Click(L"remark");
    EXPECT_TRUE(path->GetNativeWindow() == NULL);
    skin.Type(L"Note \x5907\x6ce8");
    EXPECT_EQ(CUIString(L"Note \x5907\x6ce8"), remark->GetText());
    // The licence is read-only.
    skin.Click(L"licence");
    skin.Type(L"x");
    EXPECT_EQ(std::wstring::npos, std::wstring(skin.Find(L"licence")->GetText().GetData()).find(L'x'));
}

// Faces the wizards name, in Chinese and in English, have Chinese glyphs
// (no boxes), and the labels' ink stays inside their boxes.
TEST(ControlsSkin, ChineseLabelsHaveGlyphsInsideTheirBoxes)
{
    ShownSkin skin;
    CWindowUIManager* manager = skin.frame.GetManager();
    const wchar_t* text = L"\x5b89\x88c5\x5411\x5bfc"; // 安装向导
    for (int font = 0; font < 2; ++font) {
        HDC dc = ::GetDC(skin.frame.GetHWND());
        HGDIOBJ old = ::SelectObject(dc, manager->GetFont(font));
        WORD glyphs[4] = { 0 };
        ASSERT_EQ(4u, ::GetGlyphIndicesW(dc, text, 4, glyphs, GGI_MARK_NONEXISTING_GLYPHS));
        for (WORD glyph : glyphs) EXPECT_NE(0xFFFF, glyph) << "font " << font;
        ::SelectObject(dc, old);
        ::ReleaseDC(skin.frame.GetHWND(), dc);
    }
    HWND hwnd = skin.frame.GetHWND();
    RECT client;
    GetClientRect(hwnd, &client);
    HDC windowDc = GetDC(hwnd);
    HDC shot = CreateCompatibleDC(windowDc);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDc, client.right, client.bottom);
    HGDIOBJ oldBitmap = SelectObject(shot, bitmap);
    BitBlt(shot, 0, 0, client.right, client.bottom, windowDc, 0, 0, SRCCOPY);
    for (LPCWSTR name : { L"yahei", L"yaheien" }) {
        RECT box = skin.Find(name)->GetPos();
        COLORREF background = GetPixel(shot, box.right - 1, box.bottom - 1);
        int inside = 0, below = 0;
        for (int x = box.left; x < box.right; ++x) {
            for (int y = box.top; y < box.bottom; ++y)
                if (GetPixel(shot, x, y) != background) ++inside;
            for (int y = box.bottom; y < box.bottom + 3; ++y)
                if (GetPixel(shot, x, y) != background) ++below;
        }
        EXPECT_GT(inside, 100) << "label";
        EXPECT_EQ(0, below) << "label";
    }
    SelectObject(shot, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(shot);
    ReleaseDC(hwnd, windowDc);
}

TEST(ControlsSkin, TheLayeredVariantEditsInAPopup)
{
    ShownSkin skin(L"layered.xml");
    ASSERT_TRUE(skin.frame.GetManager()->IsLayered());
    skin.Find(L"ok")->SetFocus();
    PumpMessages();
    skin.Click(L"setup_path");
    CEditUI* path = static_cast<CEditUI*>(skin.Find(L"setup_path"));
    HWND native = path->GetNativeWindow();
    ASSERT_TRUE(native != NULL);
    EXPECT_NE(0, GetWindowLongW(native, GWL_STYLE) & WS_POPUP);
    RECT rc;
    GetWindowRect(native, &rc);
    POINT origin = { 0, 0 };
    ClientToScreen(skin.frame.GetHWND(), &origin);
    EXPECT_EQ(origin.x + path->GetPos().left + 4, rc.left);
    ::SendMessageW(native, WM_KEYDOWN, VK_END, 1);
    skin.Type(L"\\\x65b0");
    EXPECT_EQ(CUIString(L"D:\\Games\\Orbela\\\x65b0"), path->GetText());
}

// A control's tooltip shows once the pointer rests on it for the hover
// delay and hides when it leaves.
TEST(ControlsSkin, TooltipShowsAfterTheHoverDelayAndHidesOnLeave)
{
    ShownSkin skin;
    HWND hwnd = skin.frame.GetHWND();
    POINT pt = skin.CentreOf(L"closebtn");
    POINT screen = pt;
    ClientToScreen(hwnd, &screen);
    SetCursorPos(screen.x, screen.y);
    skin.Send(WM_MOUSEMOVE, pt);
    // Wait for the hover message the tracking asked for (bounded).
    ASSERT_TRUE(WaitForMessage([hwnd](const MSG& msg) { return msg.message == WM_MOUSEHOVER && msg.hwnd == hwnd; },
                               5000));
    HWND tip = FindWindowExW(NULL, NULL, TOOLTIPS_CLASSW, NULL);
    while (tip != NULL && GetWindow(tip, GW_OWNER) != hwnd) tip = FindWindowExW(NULL, tip, TOOLTIPS_CLASSW, NULL);
    ASSERT_TRUE(tip != NULL);
    EXPECT_TRUE(IsWindowVisible(tip));
    ::SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(tip));
}

} // namespace
