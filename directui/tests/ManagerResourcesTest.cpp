#include "ProbeControls.h"

#include <gtest/gtest.h>

using namespace DirectUI;

namespace {

LOGFONTW FontOf(HFONT font)
{
    LOGFONTW lf;
    memset(&lf, 0, sizeof(lf));
    GetObjectW(font, sizeof(lf), &lf);
    return lf;
}

TEST(ManagerResources, FontIndicesAndTheDefaultFont)
{
    CWindowUIManager m;
    HFONT zero = m.AddFont(L"Tahoma", 12, false, false, false);
    HFONT one = m.AddFont(L"Tahoma", 12, true, false, false);
    ASSERT_TRUE(zero != NULL && one != NULL);
    EXPECT_TRUE(m.GetFont(0) == zero);
    EXPECT_TRUE(m.GetFont(1) == one);
    HFONT fallback = m.GetDefaultFontEntry()->hFont;
    EXPECT_TRUE(m.GetFont(2) == fallback);
    EXPECT_TRUE(m.GetFont(-1) == fallback);
    LOGFONTW lf = FontOf(one);
    EXPECT_EQ(-12, lf.lfHeight);
    EXPECT_EQ(400 + 700, lf.lfWeight);
    EXPECT_EQ(CLEARTYPE_QUALITY, lf.lfQuality);
    EXPECT_TRUE(m.FindFont(L"Tahoma", 12, true, false, false) == one);
    EXPECT_TRUE(m.FindFont(L"tahoma", 12, true, false, false) == NULL);
    EXPECT_GT(m.GetFontEntry(1)->tm.tmHeight, 0); // measured on first use
    EXPECT_TRUE(m.GetFontEntry(one)->hFont == one);

    // A face name longer than LOGFONTW holds is cut and terminated.
    std::wstring longName(60, L'X');
    HFONT cut = m.AddFont(longName.c_str(), 10, false, false, false);
    ASSERT_TRUE(cut != NULL);
    EXPECT_EQ(std::wstring(31, L'X'), FontOf(cut).lfFaceName);
    EXPECT_EQ(std::wstring(31, L'X'), m.GetFontEntry(2)->sFontName.GetData());
    m.SetDefaultFont(longName.c_str(), 11, false, true, false);
    EXPECT_EQ(11, m.GetDefaultFontEntry()->iSize);
    EXPECT_TRUE(m.GetDefaultFontEntry()->bUnderline);
    EXPECT_EQ(std::wstring(31, L'X'), m.GetDefaultFontEntry()->sFontName.GetData());
}

TEST(ManagerResources, ParentChainSharesColoursAttributesAndFonts)
{
    CWindowUIManager window, dropDown;
    EXPECT_FALSE(window.SetParentManager(&window));
    ASSERT_TRUE(dropDown.SetParentManager(&window));
    EXPECT_FALSE(window.SetParentManager(&dropDown)); // would close a loop
    EXPECT_EQ(0xFF000001u, window.GetDefaultFontColor());
    EXPECT_EQ(0xFFA7A6AAu, window.GetDefaultDisabledColor());
    EXPECT_EQ(0xFF0000FFu, window.GetDefaultLinkFontColor());
    EXPECT_EQ(0xFFD3215Fu, window.GetDefaultLinkHoverFontColor());
    EXPECT_EQ(0xFFBAE4FFu, window.GetDefaultSelectedBkColor());
    window.SetDefaultFontColor(0xFF123456);
    dropDown.SetDefaultFontColor(0xFF654321); // stored, but the top of the chain is read
    EXPECT_EQ(0xFF123456u, dropDown.GetDefaultFontColor());

    window.SetDefaultAttributes(L"VScrollBar", L"width=\"8\"");
    window.SetDefaultAttributes(L"VScrollBar", L"width=\"20\"");
    EXPECT_STREQ(L"width=\"8\"", window.GetDefaultAttributes(L"VScrollBar"));
    EXPECT_STREQ(L"width=\"8\"", dropDown.GetDefaultAttributes(L"VScrollBar"));
    EXPECT_TRUE(dropDown.GetDefaultAttributes(L"HScrollBar") == NULL);

    HFONT shared = window.AddFont(L"Tahoma", 15, false, false, false);
    EXPECT_TRUE(dropDown.GetFontEntry(shared)->hFont == shared);
    EXPECT_TRUE(dropDown.FindFont(L"Tahoma", 15, false, false, false) == shared);
    EXPECT_TRUE(dropDown.GetDefaultFontEntry() == window.GetDefaultFontEntry());
    EXPECT_TRUE(dropDown.SetParentManager(NULL));
    EXPECT_EQ(0xFF654321u, dropDown.GetDefaultFontColor());
}

TEST(ManagerResources, OptionGroups)
{
    CWindowUIManager m;
    CControlUI a, b;
    EXPECT_TRUE(m.GetOptionGroup(L"g") == NULL);
    EXPECT_TRUE(m.JoinOptionGroup(L"g", &a));
    EXPECT_FALSE(m.JoinOptionGroup(L"g", &a));
    EXPECT_TRUE(m.JoinOptionGroup(L"g", &b));
    ASSERT_TRUE(m.GetOptionGroup(L"g") != NULL);
    EXPECT_EQ(2, m.GetOptionGroup(L"g")->GetSize());
    EXPECT_TRUE(m.LeaveOptionGroup(L"g", &a));
    EXPECT_EQ(1, m.GetOptionGroup(L"g")->GetSize());
    EXPECT_TRUE(m.LeaveOptionGroup(L"g", &b));
    EXPECT_TRUE(m.GetOptionGroup(L"g") == NULL);
    EXPECT_FALSE(m.LeaveOptionGroup(L"g", &b));
    m.JoinOptionGroup(L"h", &a); // freed by the destructor
}

TEST(ManagerResources, SkinPathAndWindowAlpha)
{
    struct Row { const wchar_t* in; const wchar_t* stored; };
    const Row rows[] = { { L"C:\\skins", L"C:\\skins\\" }, { L"", L"" }, { L"C:/skins/", L"C:/skins/" },
                         { L"C:\\skins\\", L"C:\\skins\\" } };
    for (const Row& row : rows) {
        CWindowUIManager::SetSkinPath(row.in);
        EXPECT_STREQ(row.stored, CWindowUIManager::GetSkinPath()) << row.in;
    }

    ManagedWindow window;
    window.manager.SetWindowAlpha(300);
    EXPECT_EQ(255, window.manager.GetWindowAlpha());
    EXPECT_EQ(0, GetWindowLongW(window.GetHWND(), GWL_EXSTYLE) & WS_EX_LAYERED);
    window.manager.SetWindowAlpha(128);
    EXPECT_EQ(128, window.manager.GetWindowAlpha());
    EXPECT_NE(0, GetWindowLongW(window.GetHWND(), GWL_EXSTYLE) & WS_EX_LAYERED);

    EXPECT_TRUE(window.manager.GetImageOrLoad(L"12", L"PNG") == NULL); // no such resource
    EXPECT_TRUE(window.manager.AddImage(L"notanumber", L"PNG") == NULL);
}

} // namespace
