#include "SkinWindow.h"
#include "control/ScrollBarUI.h"
#include "control/VerticalLayoutUI.h"

#include <gtest/gtest.h>

#include <string>

using namespace DirectUI;

namespace {

std::string Narrow(LPCWSTR text)
{
    std::string out;
    for (; text != NULL && *text != L'\0'; ++text) out += *text < 128 ? static_cast<char>(*text) : '?';
    return out;
}

void WriteSkinFile(LPCWSTR name, const std::string& text)
{
    HANDLE file = CreateFileW(name, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, NULL);
    CloseHandle(file);
}

// Skin files of these tests live in the working folder.
struct SkinFolder
{
    SkinFolder()
    {
        wchar_t folder[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, folder);
        CWindowUIManager::SetSkinPath(folder);
    }
    ~SkinFolder() { CWindowUIManager::SetSkinPath(L""); }
};

struct WindowAttributeRow
{
    LPCWSTR attribute;
    std::string (*read)(CWindowUIManager&);
    const char* expected;
};

std::string SizeText(SIZE size) { return std::to_string(size.cx) + "," + std::to_string(size.cy); }
std::string Hex(DWORD value)
{
    char text[16];
    snprintf(text, sizeof(text), "%08lX", value);
    return text;
}

const WindowAttributeRow kWindowAttributes[] = {
    { L"size=\"320,240\"", [](CWindowUIManager& m) { return SizeText(m.GetInitSize()); }, "320,240" },
    { L"size=\"99999999,-5\"", [](CWindowUIManager& m) { return SizeText(m.GetInitSize()); }, "32767,0" },
    { L"sizebox=\"4,5,6,7\"", [](CWindowUIManager& m) { return RectText(m.GetSizeBox()); }, "4,5,6,7" },
    { L"caption=\"0,0,0,32\"", [](CWindowUIManager& m) { return RectText(m.GetCaptionRect()); }, "0,0,0,32" },
    { L"caption=\"0,0,0,4000000000\"", [](CWindowUIManager& m) { return RectText(m.GetCaptionRect()); }, "0,0,0,32767" },
    { L"roundcorner=\"5,6\"", [](CWindowUIManager& m) { return SizeText(m.GetRoundCorner()); }, "5,6" },
    { L"mininfo=\"100,50\"", [](CWindowUIManager& m) { return SizeText(m.GetMinInfo()); }, "100,50" },
    { L"maxinfo=\"800,600\"", [](CWindowUIManager& m) { return SizeText(m.GetMaxInfo()); }, "800,600" },
    { L"alpha=\"200\"", [](CWindowUIManager& m) { return std::to_string(m.GetWindowAlpha()); }, "200" },
    { L"bktrans=\"true\"", [](CWindowUIManager& m) { return std::string(m.IsLayered() ? "yes" : "no"); }, "yes" },
    { L"bktrans=\"TRUE\"", [](CWindowUIManager& m) { return std::string(m.IsLayered() ? "yes" : "no"); }, "no" },
    { L"disabledfontcolor=\"#FF112233\"", [](CWindowUIManager& m) { return Hex(m.GetDefaultDisabledColor()); }, "FF112233" },
    { L"defaultfontcolor=\"FF445566\"", [](CWindowUIManager& m) { return Hex(m.GetDefaultFontColor()); }, "FF445566" },
    { L"linkfontcolor=\"#01020304\"", [](CWindowUIManager& m) { return Hex(m.GetDefaultLinkFontColor()); }, "01020304" },
    { L"linkhoverfontcolor=\"#0A0B0C0D\"", [](CWindowUIManager& m) { return Hex(m.GetDefaultLinkHoverFontColor()); }, "0A0B0C0D" },
    { L"selectedcolor=\"#FFABCDEF\"", [](CWindowUIManager& m) { return Hex(m.GetDefaultSelectedBkColor()); }, "FFABCDEF" },
    { L"shadowsize=\"6\"", [](CWindowUIManager& m) { return std::to_string(m.GetShadow()->GetSize()); }, "6" },
    { L"shadowsize=\"21\"", [](CWindowUIManager& m) { return std::to_string(m.GetShadow()->GetSize()); }, "0" },
    { L"shadowsharpness=\"21\"", [](CWindowUIManager& m) { return std::to_string(m.GetShadow()->GetSharpness()); }, "5" },
    { L"shadowdarkness=\"256\"", [](CWindowUIManager& m) { return std::to_string(m.GetShadow()->GetDarkness()); }, "150" },
    { L"shadowdarkness=\"99\"", [](CWindowUIManager& m) { return std::to_string(m.GetShadow()->GetDarkness()); }, "99" },
    { L"shadowposition=\"-20,20\"",
      [](CWindowUIManager& m) { POINT p = m.GetShadow()->GetPosition(); return std::to_string(p.x) + "," + std::to_string(p.y); },
      "-20,20" },
    { L"shadowpositon=\"3,3\"",
      [](CWindowUIManager& m) { POINT p = m.GetShadow()->GetPosition(); return std::to_string(p.x) + "," + std::to_string(p.y); },
      "0,0" },
    { L"shadowcolor=\"#00FF0000\"", [](CWindowUIManager& m) { return Hex(m.GetShadow()->GetColor()); }, "00FF0000" },
    { L"shadowcorner=\"20,20,20,20\"", [](CWindowUIManager& m) { return RectText(m.GetShadow()->GetShadowCorner()); }, "20,20,20,20" },
    { L"shadowimage=\"shadow.png\"", [](CWindowUIManager& m) { return Narrow(m.GetShadow()->GetImage()); }, "shadow.png" },
    { L"showshadow=\"true\"", [](CWindowUIManager& m) { return std::string(m.GetShadow()->IsShowShadow() ? "yes" : "no"); }, "yes" },
    { L"gdiplustext=\"true\"", [](CWindowUIManager& m) { return std::string(m.IsUseGdiplusText() ? "yes" : "no"); }, "yes" },
};

class WindowAttribute : public ::testing::TestWithParam<WindowAttributeRow> {};

TEST_P(WindowAttribute, SetsTheManager)
{
    const WindowAttributeRow& row = GetParam();
    std::wstring xml = std::wstring(L"<Window ") + row.attribute + L"><Control/></Window>";
    ManagedWindow window;
    CDialogBuilder builder;
    CControlUI* root = builder.Build(xml.c_str(), NULL, NULL, &window.manager);
    ASSERT_TRUE(root != NULL);
    EXPECT_EQ(row.expected, row.read(window.manager)) << Narrow(row.attribute);
    delete root;
}

INSTANTIATE_TEST_SUITE_P(DialogBuilder, WindowAttribute, ::testing::ValuesIn(kWindowAttributes));

TEST(DialogBuilder, WindowSizeResizesTheWindowBeforeTheTreeIsAttached)
{
    SkinWindow skin(L"<Window size=\"250,120\"><Control/></Window>");
    RECT rc;
    GetWindowRect(skin.window.GetHWND(), &rc);
    EXPECT_EQ(250, rc.right - rc.left);
    EXPECT_EQ(120, rc.bottom - rc.top);
}

TEST(DialogBuilder, FontsAndTheMisspeltBoldAttribute)
{
    SkinWindow skin(L"<Window><Font name=\"Tahoma\" size=\"13\" blod=\"true\"/><Font name=\"Tahoma\" size=\"14\" bold=\"true\" "
                    L"default=\"true\"/><Font size=\"9\"/><Control/></Window>");
    ASSERT_EQ(2, skin.window.manager.GetFontCount());
    EXPECT_FALSE(skin.window.manager.GetFontEntry(0)->bBold);
    EXPECT_EQ(13, skin.window.manager.GetFontEntry(0)->iSize);
    EXPECT_TRUE(skin.window.manager.GetFontEntry(1)->bBold);
    EXPECT_TRUE(skin.window.manager.GetDefaultFontEntry()->bBold);
    EXPECT_EQ(14, skin.window.manager.GetDefaultFontEntry()->iSize);
}

TEST(DialogBuilder, VScrollBarDefaultsApplyBeforeTheOwnStyle)
{
    SkinWindow skin(L"<Window><Default name=\"VScrollBar\" value=\"linesize=&quot;3&quot; showbutton1=&quot;false&quot; width=&quot;9&quot;\"/>"
                    L"<VerticalLayout name=\"v\" vscrollbar=\"true\" vscrollbarstyle=\"width=&quot;11&quot;\"/></Window>");
    CContainerUI* v = static_cast<CContainerUI*>(skin.Find(L"v"));
    ASSERT_TRUE(v != NULL);
    CScrollBarUI* bar = v->GetVerticalScrollBar();
    ASSERT_TRUE(bar != NULL);
    EXPECT_EQ(3, bar->GetLineSize());
    EXPECT_FALSE(bar->GetShowButton1());
    EXPECT_EQ(11, bar->GetFixedWidth());
}

TEST(DialogBuilder, DefaultAttributesComeBeforeTheElementsOwn)
{
    SkinWindow skin(L"<Window><Default name=\"Control\" value=\"height=&quot;7&quot; width=&quot;5&quot;\"/>"
                    L"<VerticalLayout><Control name=\"a\" width=\"9\"/></VerticalLayout></Window>");
    EXPECT_EQ(7, skin.Find(L"a")->GetFixedHeight());
    EXPECT_EQ(9, skin.Find(L"a")->GetFixedWidth());
}

TEST(DialogBuilder, IncludeCountBuildsUnderTheSameParent)
{
    SkinWindow skin(L"<Window><VerticalLayout name=\"v\"><Control/>"
                    L"<Include count=\"3\" source=\"&lt;Window&gt;&lt;Control height=&quot;4&quot;/&gt;&lt;/Window&gt;\"/>"
                    L"</VerticalLayout></Window>");
    CContainerUI* v = static_cast<CContainerUI*>(skin.Find(L"v"));
    ASSERT_EQ(4, v->Count());
    for (int i = 1; i < 4; ++i) EXPECT_EQ(4, v->ItemAt(i)->GetFixedHeight());
    // An included control is never the first of its level.
    SkinWindow first(L"<Window><Include source=\"&lt;Window&gt;&lt;Control name=&quot;inc&quot;/&gt;&lt;/Window&gt;\"/>"
                     L"<Control name=\"own\"/></Window>");
    ASSERT_TRUE(first.root != NULL);
    EXPECT_EQ(L"own", std::wstring(first.root->GetName()));
}

// Created by the frame's callback for "Counted"; counts destructions.
class CountedUI : public CControlUI
{
public:
    CountedUI() { ++alive; }
    ~CountedUI() override { --alive; }
    LPCWSTR GetControlClass() const override { return L"CountedUI"; }
    static int alive;
};
int CountedUI::alive = 0;

struct CountingCallback : IDialogBuilderCallback
{
    CControlUI* CreateControl(LPCWSTR name) override
    {
        asked += std::wstring(name) + L";";
        return wcscmp(name, L"Counted") == 0 ? new CountedUI : NULL;
    }
    std::wstring asked;
};

TEST(DialogBuilder, UnknownElementsAreSkippedWithTheirChildren)
{
    CountingCallback callback;
    {
        SkinWindow skin(L"<Window><VerticalLayout name=\"v\"><Gadget><Counted name=\"lost\"/></Gadget>"
                        L"<Counted name=\"mine\"/></VerticalLayout></Window>",
                        200, 100, &callback);
        EXPECT_EQ(L"Gadget;Counted;", callback.asked);
        EXPECT_TRUE(skin.Find(L"lost") == NULL);
        ASSERT_TRUE(skin.Find(L"mine") != NULL);
        EXPECT_EQ(L"CountedUI", std::wstring(skin.Find(L"mine")->GetControlClass()));
        EXPECT_EQ(1, CountedUI::alive);
    }
    EXPECT_EQ(0, CountedUI::alive);
}

TEST(DialogBuilder, ControlInsideANonContainerIsDeletedWithItsChildren)
{
    CountingCallback callback;
    {
        SkinWindow skin(L"<Window><VerticalLayout name=\"v\"><Label name=\"label\"><Counted/><Counted/></Label>"
                        L"<Counted name=\"after\"/></VerticalLayout></Window>",
                        200, 100, &callback);
        // The label's level ends at its first child; the outer level goes on.
        EXPECT_EQ(L"Counted;Counted;", callback.asked);
        EXPECT_TRUE(skin.Find(L"after") != NULL);
        EXPECT_EQ(1, CountedUI::alive);
        EXPECT_TRUE(skin.Find(L"label")->GetParent() == skin.Find(L"v"));
    }
    EXPECT_EQ(0, CountedUI::alive);
}

TEST(DialogBuilder, SiblingsOfTheRootThatNothingHoldsAreNotLeaked)
{
    CountingCallback callback;
    ManagedWindow window;
    CDialogBuilder builder;
    CControlUI* root = builder.Build(L"<Window><Counted name=\"one\"/><Counted name=\"two\"/></Window>", NULL, &callback,
                                     &window.manager);
    ASSERT_TRUE(root != NULL);
    EXPECT_EQ(L"one", std::wstring(root->GetName()));
    EXPECT_EQ(1, CountedUI::alive);
    delete root;
    EXPECT_EQ(0, CountedUI::alive);
}

TEST(DialogBuilder, BuildsFromResourcesWithNumericIncludes)
{
    ManagedWindow window;
    CDialogBuilder builder;
    CControlUI* root = builder.Build(MAKEINTRESOURCEW(7), L"xml", NULL, &window.manager);
    ASSERT_TRUE(root != NULL) << Narrow(builder.GetError());
    window.manager.AttachRoot(root);
    CContainerUI* v = static_cast<CContainerUI*>(root);
    ASSERT_EQ(2, v->Count());
    EXPECT_EQ(L"part", std::wstring(v->ItemAt(1)->GetName()));
    EXPECT_EQ("0,0,0,24", RectText(window.manager.GetCaptionRect()));
    EXPECT_EQ("300,200", SizeText(window.manager.GetInitSize()));
}

struct FailureRow
{
    const char* what;
    LPCWSTR source;
    const char* reason; // part of the error
};

TEST(DialogBuilder, FailuresKeepTheirReason)
{
    SkinFolder folder;
    WriteSkinFile(L"cycle.xml", "<Window><VerticalLayout><Include source=\"cycle2.xml\"/></VerticalLayout></Window>");
    WriteSkinFile(L"cycle2.xml", "<Window><Include source=\"CYCLE.xml\"/></Window>");
    for (int i = 1; i <= 9; ++i) {
        std::string next = "deep" + std::to_string(i + 1) + ".xml";
        std::wstring name = L"deep" + std::to_wstring(i) + L".xml";
        WriteSkinFile(name.c_str(), "<Window><VerticalLayout><Include source=\"" + next + "\"/></VerticalLayout></Window>");
    }
    WriteSkinFile(L"deep10.xml", "<Window><Control/></Window>");
    WriteSkinFile(L"broken.xml", "<Window><Control></Window>");
    WriteSkinFile(L"many.xml", "<Window><VerticalLayout><Include count=\"1001\" source=\"deep10.xml\"/></VerticalLayout></Window>");
    std::string nested = "<Window>";
    for (int i = 0; i < 200; ++i) nested += "<VerticalLayout>";
    nested += "<Include source=\"nested2.xml\"/>";
    for (int i = 0; i < 200; ++i) nested += "</VerticalLayout>";
    WriteSkinFile(L"nested.xml", nested + "</Window>");
    std::string nested2 = "<Window>";
    for (int i = 0; i < 100; ++i) nested2 += "<VerticalLayout>";
    for (int i = 0; i < 100; ++i) nested2 += "</VerticalLayout>";
    WriteSkinFile(L"nested2.xml", nested2 + "</Window>");
    // Repeats inside repeats: each Include is within its limit, the build is not.
    WriteSkinFile(L"thousands.xml", "<Window><VerticalLayout><Include count=\"1000\" source=\"thousand.xml\"/>"
                                    "</VerticalLayout></Window>");
    WriteSkinFile(L"thousand.xml", "<Window><Include count=\"1000\" source=\"deep10.xml\"/></Window>");
    std::string rows200 = "<Window>";
    for (int i = 0; i < 200; ++i) rows200 += "<Control/>";
    WriteSkinFile(L"rows200.xml", rows200 + "</Window>");
    WriteSkinFile(L"manyrows.xml", "<Window><VerticalLayout><Include count=\"600\" source=\"rows200.xml\"/>"
                                   "</VerticalLayout></Window>");

    const FailureRow rows[] = {
        { "a missing file", L"missing.xml", "missing.xml: Error opening file" },
        { "an XML error names its place", L"broken.xml", "broken.xml: Unmatched closing tag at" },
        { "an include cycle", L"cycle.xml", "include cycle: CYCLE.xml" },
        { "more than 8 nested files", L"deep1.xml", "more than 8 nested include or child-layout levels at deep9.xml" },
        { "an Include count above 1000", L"many.xml", "Include count 1001 is above 1000" },
        { "elements nested too deep across files", L"nested.xml", "nested more than 256 levels" },
        { "an empty document", L"<!-- nothing -->", "empty document" },
        { "more than 1000 files in one build", L"thousands.xml", "thousand.xml: more than 1000 files included in one skin build" },
        { "more than 100000 controls in one build", L"manyrows.xml", "rows200.xml: more than 100000 controls in one skin build" },
    };
    // A failed build leaves no control behind.
    const LONG alive = CControlUI::LiveCount();
    for (size_t i = 0; i < sizeof(rows) / sizeof(rows[0]); ++i) {
        ManagedWindow window;
        CDialogBuilder builder;
        EXPECT_TRUE(builder.Build(rows[i].source, NULL, NULL, &window.manager) == NULL) << rows[i].what;
        std::string error = Narrow(builder.GetError());
        EXPECT_NE(std::string::npos, error.find(rows[i].reason)) << rows[i].what << ": " << error;
        EXPECT_EQ(alive, CControlUI::LiveCount()) << rows[i].what;
    }
    // The chain of 8 files itself is fine, also right after a build that
    // spent its whole budget: each build has its own.
    ManagedWindow window;
    CDialogBuilder builder;
    CControlUI* root = builder.Build(L"deep3.xml", NULL, NULL, &window.manager);
    EXPECT_TRUE(root != NULL) << Narrow(builder.GetError());
    delete root;
}

} // namespace
