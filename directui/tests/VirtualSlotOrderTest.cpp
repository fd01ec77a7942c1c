#include "control/ChildLayoutUI.h"
#include "control/ContainerUI.h"
#include "control/HorizontalLayoutUI.h"
#include "control/IContainerUI.h"
#include "control/OptionUI.h"
#include "control/RichEditUI.h"
#include "control/ScrollBarUI.h"
#include "control/TabLayoutUI.h"
#include "control/TileLayoutUI.h"
#include "control/VerticalLayoutUI.h"
#include "window/WindowImplBase.h"

#include <gtest/gtest.h>

#include <string.h>

using namespace DirectUI;

namespace {

// A pointer to a virtual member function holds one more than the function's
// byte offset in the table (the Itanium layout that this compiler uses).
template <typename F>
int SlotOffset(F function)
{
    struct Raw
    {
        ptrdiff_t ptr;
        ptrdiff_t adj;
    } raw;
    static_assert(sizeof(F) == sizeof(Raw), "unexpected member pointer size");
    memcpy(&raw, &function, sizeof(raw));
    return (raw.ptr & 1) != 0 ? static_cast<int>(raw.ptr - 1) : -1;
}

struct Slot
{
    const char* name;
    int offset;
};

#define SLOT(cls, fn) { #fn, SlotOffset(&cls::fn) }

// Each operation must sit in the slot right after the one before it.
void ExpectConsecutive(const Slot* slots, size_t count)
{
    for (size_t i = 0; i < count; ++i) ASSERT_GE(slots[i].offset, 0) << slots[i].name << " is not virtual";
    for (size_t i = 1; i < count; ++i)
        EXPECT_EQ(slots[i - 1].offset + static_cast<int>(sizeof(void*)), slots[i].offset)
            << slots[i].name << " does not follow " << slots[i - 1].name;
}

} // namespace

TEST(VirtualSlotOrder, BaseControlKeepsItsOperationOrder)
{
    const Slot slots[] = {
        SLOT(CControlUI, GetName),            SLOT(CControlUI, SetName),
        SLOT(CControlUI, GetControlClass),    SLOT(CControlUI, GetInterface),
        SLOT(CControlUI, GetControlFlags),    SLOT(CControlUI, Activate),
        SLOT(CControlUI, GetManager),         SLOT(CControlUI, SetManager),
        SLOT(CControlUI, GetParent),          SLOT(CControlUI, GetText),
        SLOT(CControlUI, SetText),            SLOT(CControlUI, GetPos),
        SLOT(CControlUI, SetPos),             SLOT(CControlUI, GetWidth),
        SLOT(CControlUI, GetHeight),          SLOT(CControlUI, GetX),
        SLOT(CControlUI, GetY),               SLOT(CControlUI, GetPadding),
        SLOT(CControlUI, SetPadding),         SLOT(CControlUI, GetFixedXY),
        SLOT(CControlUI, SetFixedXY),         SLOT(CControlUI, GetFixedWidth),
        SLOT(CControlUI, GetFixedHeight),     SLOT(CControlUI, SetFixedWidth),
        SLOT(CControlUI, SetFixedHeight),     SLOT(CControlUI, GetMinWidth),
        SLOT(CControlUI, GetMaxWidth),        SLOT(CControlUI, GetMinHeight),
        SLOT(CControlUI, GetMaxHeight),       SLOT(CControlUI, SetMinWidth),
        SLOT(CControlUI, SetMaxWidth),        SLOT(CControlUI, SetMinHeight),
        SLOT(CControlUI, SetMaxHeight),       SLOT(CControlUI, SetRelativePos),
        SLOT(CControlUI, SetRelativeParentSize), SLOT(CControlUI, GetRelativePos),
        SLOT(CControlUI, IsRelativePos),      SLOT(CControlUI, GetToolTip),
        SLOT(CControlUI, SetToolTip),         SLOT(CControlUI, SetToolTipWidth),
        SLOT(CControlUI, GetToolTipWidth),    SLOT(CControlUI, GetShortcut),
        SLOT(CControlUI, SetShortcut),        SLOT(CControlUI, IsMenuEnabled),
        SLOT(CControlUI, SetMenuEnabled),     SLOT(CControlUI, GetUserData),
        SLOT(CControlUI, SetUserData),        SLOT(CControlUI, GetTag),
        SLOT(CControlUI, SetTag),             SLOT(CControlUI, IsVisible),
        SLOT(CControlUI, SetVisible),         SLOT(CControlUI, SetVisibleByParent),
        SLOT(CControlUI, IsEnabled),          SLOT(CControlUI, SetEnabled),
        SLOT(CControlUI, IsMouseEnabled),     SLOT(CControlUI, SetMouseEnabled),
        SLOT(CControlUI, IsKeyboardEnabled),  SLOT(CControlUI, SetKeyboardEnabled),
        SLOT(CControlUI, IsFocused),          SLOT(CControlUI, SetFocus),
        SLOT(CControlUI, IsFloat),            SLOT(CControlUI, SetFloat),
        SLOT(CControlUI, FindControl),        SLOT(CControlUI, Init),
        SLOT(CControlUI, InitSelf),           SLOT(CControlUI, DispatchEvent),
        SLOT(CControlUI, HandleEvent),        SLOT(CControlUI, SetAttribute),
        SLOT(CControlUI, PreferredSize),      SLOT(CControlUI, Paint),
        SLOT(CControlUI, PaintBackColor),     SLOT(CControlUI, PaintBackImage),
        SLOT(CControlUI, PaintStateImage),    SLOT(CControlUI, PaintText),
        SLOT(CControlUI, PaintBorder),        SLOT(CControlUI, PaintOverlay),
    };
    ExpectConsecutive(slots, sizeof(slots) / sizeof(slots[0]));
}

TEST(VirtualSlotOrder, ContainerExtendsTheControlTable)
{
    const Slot slots[] = {
        SLOT(CControlUI, PaintOverlay),          SLOT(CContainerUI, GetInset),
        SLOT(CContainerUI, SetInset),            SLOT(CContainerUI, GetChildPadding),
        SLOT(CContainerUI, SetChildPadding),     SLOT(CContainerUI, IsAutoDestroy),
        SLOT(CContainerUI, SetAutoDestroy),      SLOT(CContainerUI, IsDelayedDestroy),
        SLOT(CContainerUI, SetDelayedDestroy),   SLOT(CContainerUI, IsMouseChildEnabled),
        SLOT(CContainerUI, SetMouseChildEnabled), SLOT(CContainerUI, FindSelectableItem),
        SLOT(CContainerUI, GetScrollPos),        SLOT(CContainerUI, GetScrollRange),
        SLOT(CContainerUI, SetScrollPos),        SLOT(CContainerUI, SetScrollStepSize),
        SLOT(CContainerUI, GetScrollStepSize),   SLOT(CContainerUI, LineUp),
        SLOT(CContainerUI, LineDown),            SLOT(CContainerUI, PageUp),
        SLOT(CContainerUI, PageDown),            SLOT(CContainerUI, HomeUp),
        SLOT(CContainerUI, EndDown),             SLOT(CContainerUI, LineLeft),
        SLOT(CContainerUI, LineRight),           SLOT(CContainerUI, PageLeft),
        SLOT(CContainerUI, PageRight),           SLOT(CContainerUI, HomeLeft),
        SLOT(CContainerUI, EndRight),            SLOT(CContainerUI, EnableScrollBars),
        SLOT(CContainerUI, GetVerticalScrollBar), SLOT(CContainerUI, GetHorizontalScrollBar),
        SLOT(CContainerUI, PlaceFloatingChild),  SLOT(CContainerUI, LayoutScrollBars),
    };
    ExpectConsecutive(slots, sizeof(slots) / sizeof(slots[0]));
}

TEST(VirtualSlotOrder, ContainerInterfaceKeepsItsNineOperations)
{
    const Slot slots[] = {
        SLOT(IContainerUI, ItemAt), SLOT(IContainerUI, IndexOf), SLOT(IContainerUI, MoveItem),
        SLOT(IContainerUI, Count),  SLOT(IContainerUI, Add),     SLOT(IContainerUI, AddAt),
        SLOT(IContainerUI, Remove), SLOT(IContainerUI, RemoveAt), SLOT(IContainerUI, RemoveAll),
    };
    ExpectConsecutive(slots, sizeof(slots) / sizeof(slots[0]));
    EXPECT_EQ(0, slots[0].offset);
}

TEST(VirtualSlotOrder, TabLayoutAddsItsSelectionAfterTheContainer)
{
    const Slot slots[] = {
        SLOT(CContainerUI, ItemAt),   SLOT(CContainerUI, IndexOf),  SLOT(CContainerUI, MoveItem),
        SLOT(CContainerUI, Count),    SLOT(CContainerUI, Add),      SLOT(CContainerUI, AddAt),
        SLOT(CContainerUI, Remove),   SLOT(CContainerUI, RemoveAt), SLOT(CContainerUI, RemoveAll),
        SLOT(CTabLayoutUI, SelectTabByControl), SLOT(CTabLayoutUI, SelectTab),
    };
    ExpectConsecutive(slots, sizeof(slots) / sizeof(slots[0]));
    EXPECT_EQ(SlotOffset(&CContainerUI::LayoutScrollBars) + static_cast<int>(sizeof(void*)), slots[0].offset);
}

TEST(VirtualSlotOrder, LayoutsAndScrollBarReplaceOnlyExistingSlots)
{
    EXPECT_EQ(SlotOffset(&CControlUI::SetPos), SlotOffset(&CVerticalLayoutUI::SetPos));
    EXPECT_EQ(SlotOffset(&CControlUI::PaintOverlay), SlotOffset(&CHorizontalLayoutUI::PaintOverlay));
    EXPECT_EQ(SlotOffset(&CControlUI::GetControlFlags), SlotOffset(&CVerticalLayoutUI::GetControlFlags));
    EXPECT_EQ(SlotOffset(&CControlUI::SetAttribute), SlotOffset(&CTileLayoutUI::SetAttribute));
    EXPECT_EQ(SlotOffset(&CControlUI::Init), SlotOffset(&CChildLayoutUI::Init));
    EXPECT_EQ(SlotOffset(&CContainerUI::Add), SlotOffset(&CTabLayoutUI::Add));
    EXPECT_EQ(SlotOffset(&CControlUI::Paint), SlotOffset(&CScrollBarUI::Paint));
    EXPECT_EQ(SlotOffset(&CControlUI::HandleEvent), SlotOffset(&CScrollBarUI::HandleEvent));
}

TEST(VirtualSlotOrder, FrameWindowKeepsItsOperationOrder)
{
    const Slot slots[] = {
        SLOT(WindowImplBase, OnControlsReady),   SLOT(WindowImplBase, OnClick),
        SLOT(WindowImplBase, GetSkinFolder),     SLOT(WindowImplBase, GetSkinFile),
        SLOT(WindowImplBase, HandleDefaultKey),  SLOT(WindowImplBase, GetSkinSource),
        SLOT(WindowImplBase, GetSkinZipName),    SLOT(WindowImplBase, GetSkinResourceId),
        SLOT(WindowImplBase, OnClose),           SLOT(WindowImplBase, OnDestroy),
        SLOT(WindowImplBase, OnNcActivate),      SLOT(WindowImplBase, OnNcCalcSize),
        SLOT(WindowImplBase, OnNcPaint),         SLOT(WindowImplBase, OnNcHitTest),
        SLOT(WindowImplBase, OnGetMinMaxInfo),   SLOT(WindowImplBase, OnMouseWheel),
        SLOT(WindowImplBase, OnMouseHover),      SLOT(WindowImplBase, OnSize),
        SLOT(WindowImplBase, OnChar),            SLOT(WindowImplBase, OnSysCommand),
        SLOT(WindowImplBase, OnCreate),          SLOT(WindowImplBase, OnKeyDown),
        SLOT(WindowImplBase, OnKillFocus),       SLOT(WindowImplBase, OnSetFocus),
        SLOT(WindowImplBase, OnLButtonDown),     SLOT(WindowImplBase, OnLButtonUp),
        SLOT(WindowImplBase, OnMouseMove),       SLOT(WindowImplBase, HandleOtherMessage),
        SLOT(WindowImplBase, GetStyle),
    };
    ExpectConsecutive(slots, sizeof(slots) / sizeof(slots[0]));
}

TEST(VirtualSlotOrder, LabelAndOptionAddTheirOperationsAfterTheControls)
{
    const Slot slots[] = {
        SLOT(CControlUI, PaintOverlay), SLOT(CLabelUI, IsAutoCalcWidth), SLOT(CLabelUI, SetAutoCalcWidth),
        SLOT(COptionUI, Select),
    };
    ExpectConsecutive(slots, sizeof(slots) / sizeof(slots[0]));
}

TEST(VirtualSlotOrder, RichEditAddsItsTextServiceOperations)
{
    const Slot slots[] = {
        SLOT(CRichEditUI, TxSendMessage), SLOT(CRichEditUI, OnTxViewChanged), SLOT(CRichEditUI, OnTxNotify),
    };
    ExpectConsecutive(slots, sizeof(slots) / sizeof(slots[0]));
    // After the container's own operations and the container interface's.
    EXPECT_GT(slots[0].offset, SlotOffset(&CContainerUI::LayoutScrollBars));
}
