#include "ControlWindow.h"

#include "builder/DialogBuilder.h"
#include "control/CheckBoxUI.h"
#include "control/ListHeaderUI.h"
#include "control/OptionUI.h"
#include "control/TreeNodeUI.h"
#include "control/TreeViewUI.h"

#include <gtest/gtest.h>

using namespace DirectUI;

namespace {

CTreeNodeUI* Node(LPCWSTR text)
{
    CTreeNodeUI* node = new CTreeNodeUI;
    node->SetItemText(text);
    return node;
}

// A tree view at 10,10-290,190 with check boxes.
struct TreeWindow
{
    TreeWindow() : tree(w.Add(new CTreeViewUI, L"tree", L"10,10,290,190", L"visiblecheckbtn=\"true\"")) {}
    // Texts of the listed nodes in list order, "-" marking hidden ones.
    std::wstring Listed() const
    {
        std::wstring all;
        for (int i = 0; i < tree->Count(); ++i) {
            CTreeNodeUI* node = static_cast<CTreeNodeUI*>(tree->ItemAt(i)->GetInterface(L"TreeNode"));
            all += (node->IsVisible() ? L"" : L"-") + std::wstring(node->GetItemText().GetData()) + L" ";
        }
        return all;
    }
    ControlWindow w;
    CTreeViewUI* tree;
};

TEST(TreeView, AddAtPutsTheNodeAndItsChildrenInOrderAndAnswersTheNextIndex)
{
    TreeWindow t;
    t.tree->Add(Node(L"x"));
    CTreeNodeUI* a = Node(L"a");
    a->AddChildNode(Node(L"a1"));
    a->AddChildNode(Node(L"a2"));
    a->AddChildNode(Node(L"a3"));
    EXPECT_EQ(4, t.tree->AddAt(a, 0));
    EXPECT_EQ(L"a -a1 -a2 -a3 x ", t.Listed());
    EXPECT_EQ(0, a->GetTreeIndex());
    EXPECT_EQ(3, a->GetChildNode(2)->GetTreeIndex());
    EXPECT_TRUE(a->GetChildNode(0)->GetTreeView() == t.tree);
    EXPECT_EQ(a->GetDottedLine()->GetFixedWidth() + 16, a->GetChildNode(0)->GetDottedLine()->GetFixedWidth());
    // A child added to a listed node goes after its last descendant.
    a->AddChildNode(Node(L"a4"));
    EXPECT_EQ(L"a -a1 -a2 -a3 -a4 x ", t.Listed());
    a->AddChildNodeAt(Node(L"a0"), 0);
    EXPECT_EQ(L"a -a0 -a1 -a2 -a3 -a4 x ", t.Listed());
    // An index past the end is clamped to the end.
    EXPECT_EQ(8, t.tree->AddAt(Node(L"end"), 99));
}

TEST(TreeView, CollapsingHidesTheSubtreeExpandingKeepsCollapsedChildrenClosed)
{
    TreeWindow t;
    CTreeNodeUI* a = Node(L"a");
    CTreeNodeUI* b = Node(L"b");
    CTreeNodeUI* c = Node(L"c");
    a->AddChildNode(b);
    a->AddChildNode(c);
    b->AddChildNode(Node(L"b1"));
    c->AddChildNode(Node(L"c1"));
    t.tree->Add(a);
    t.w.Show();
    a->GetFolderButton()->Select(true);
    b->GetFolderButton()->Select(true);
    EXPECT_EQ(L"a b b1 c -c1 ", t.Listed());
    EXPECT_TRUE(a->IsExpandedNode());
    a->GetFolderButton()->Select(false);
    EXPECT_EQ(L"a -b -b1 -c -c1 ", t.Listed());
    a->GetFolderButton()->Select(true);
    EXPECT_EQ(L"a b b1 c -c1 ", t.Listed());
    // Hidden nodes take no room: c sits right below b1.
    t.w.window.Repaint();
    EXPECT_EQ(t.tree->ItemAt(2)->GetPos().bottom, t.tree->ItemAt(3)->GetPos().top);
}

TEST(TreeView, CheckingCascadesDownAndUpdatesTheParents)
{
    TreeWindow t;
    CTreeNodeUI* root = Node(L"root");
    CTreeNodeUI* a = Node(L"a");
    CTreeNodeUI* b = Node(L"b");
    root->AddChildNode(a);
    root->AddChildNode(b);
    a->AddChildNode(Node(L"a1"));
    a->AddChildNode(Node(L"a2"));
    t.tree->Add(root);
    t.w.Show();
    root->GetFolderButton()->Select(true);
    a->GetFolderButton()->Select(true);
    t.w.window.Repaint();
    ASSERT_TRUE(a->GetCheckBox()->IsVisible());

    // Checking a node checks its subtree.
    a->GetCheckBox()->Select(true);
    EXPECT_TRUE(a->GetChildNode(0)->GetCheckBox()->IsSelected());
    EXPECT_TRUE(a->GetChildNode(1)->GetCheckBox()->IsSelected());
    EXPECT_FALSE(root->GetCheckBox()->IsSelected());
    // The last unchecked child checks its parent, by a click on its box.
    const RECT& box = b->GetCheckBox()->GetPos();
    t.w.Click((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    EXPECT_TRUE(b->GetCheckBox()->IsSelected());
    EXPECT_TRUE(root->GetCheckBox()->IsSelected());
    // A mixed state changes nothing; unchecking the last checked grandchild climbs two levels.
    b->GetCheckBox()->Select(false);
    EXPECT_TRUE(root->GetCheckBox()->IsSelected());
    a->GetChildNode(0)->GetCheckBox()->Select(false);
    EXPECT_TRUE(a->GetCheckBox()->IsSelected());
    a->GetChildNode(1)->GetCheckBox()->Select(false);
    EXPECT_FALSE(a->GetCheckBox()->IsSelected());
    EXPECT_FALSE(root->GetCheckBox()->IsSelected());
    // Unchecking the whole tree from the top.
    root->GetCheckBox()->Select(true);
    EXPECT_TRUE(a->GetChildNode(1)->GetCheckBox()->IsSelected());
    t.tree->SetItemCheck(false);
    for (int i = 0; i < t.tree->Count(); ++i)
        EXPECT_FALSE(static_cast<CTreeNodeUI*>(t.tree->ItemAt(i))->GetCheckBox()->IsSelected()) << i;
}

TEST(TreeView, DoubleClickTogglesTheNode)
{
    TreeWindow t;
    CTreeNodeUI* a = Node(L"a");
    a->AddChildNode(Node(L"a1"));
    t.tree->Add(a);
    t.w.Show();
    const RECT& rc = a->GetPos();
    POINT pt = { rc.right - 20, (rc.top + rc.bottom) / 2 };
    t.w.window.Mouse(WM_MOUSEMOVE, pt.x, pt.y);
    t.w.window.Mouse(WM_LBUTTONDBLCLK, pt.x, pt.y, MK_LBUTTON);
    EXPECT_TRUE(a->GetFolderButton()->IsSelected());
    EXPECT_EQ(L"a a1 ", t.Listed());
    EXPECT_NE(std::wstring::npos, t.w.recorder.Types().find(L"itemdbclick;"));
    t.w.window.Mouse(WM_LBUTTONUP, pt.x, pt.y);
    t.w.window.Mouse(WM_LBUTTONDBLCLK, pt.x, pt.y, MK_LBUTTON);
    EXPECT_EQ(L"a -a1 ", t.Listed());
}

// A node under another class name: the tree view refuses it.
class NotANode : public CTreeNodeUI
{
public:
    LPCWSTR GetControlClass() const override { return L"ListContainerElementUI"; }
};

TEST(TreeView, AControlThatIsNotANodeIsRefused)
{
    TreeWindow t;
    NotANode* other = new NotANode;
    EXPECT_FALSE(t.tree->Add(other));
    EXPECT_EQ(-1, t.tree->AddAt(other, 0));
    EXPECT_EQ(0, t.tree->Count());
    CTreeNodeUI* node = Node(L"n");
    EXPECT_FALSE(node->AddChildNode(other));
    EXPECT_EQ(0, node->GetCountChild());
    delete other;
    delete node;
}

TEST(TreeView, RemoveAtTakesTheWholeSubtree)
{
    TreeWindow t;
    CTreeNodeUI* a = Node(L"a");
    CTreeNodeUI* b = Node(L"b");
    a->AddChildNode(b);
    b->AddChildNode(Node(L"b1"));
    a->AddChildNode(Node(L"a2"));
    t.tree->Add(Node(L"x"));
    t.tree->Add(a);
    t.tree->Add(Node(L"y"));
    t.w.Show();
    EXPECT_EQ(L"x a -b -b1 -a2 y ", t.Listed());
    EXPECT_TRUE(t.tree->RemoveAt(1));
    EXPECT_EQ(L"x y ", t.Listed());
    // A child node taken out alone leaves its parent's list too.
    CTreeNodeUI* p = Node(L"p");
    p->AddChildNode(Node(L"p1"));
    p->AddChildNode(Node(L"p2"));
    t.tree->Add(p);
    t.tree->Remove(p->GetChildNode(0));
    EXPECT_EQ(1, p->GetCountChild());
    EXPECT_EQ(L"x y p -p2 ", t.Listed());
    t.tree->RemoveAll();
    EXPECT_EQ(0, t.tree->Count());
    EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, NULL) != FALSE);
}

TEST(TreeView, ANodeTakenOutForgetsItsView)
{
    CTreeNodeUI* kept = Node(L"kept");
    {
        TreeWindow t;
        t.tree->GetList()->SetAutoDestroy(false);
        t.tree->Add(kept);
        t.w.Show();
        EXPECT_TRUE(kept->GetTreeView() == t.tree);
        t.tree->Remove(kept);
        EXPECT_TRUE(kept->GetTreeView() == NULL);
    }
    // The view is gone; the node's own notifications reach no listener of it.
    ControlWindow other;
    other.Add(kept, L"kept", L"0,0,100,18");
    other.Show();
    other.window.Mouse(WM_MOUSEMOVE, 50, 9);
    other.window.Mouse(WM_LBUTTONDBLCLK, 50, 9, MK_LBUTTON);
    kept->GetFolderButton()->Select(true);
    kept->GetCheckBox()->Select(true);
    EXPECT_NE(std::wstring::npos, other.recorder.Types().find(L"itemdbclick;"));
}

TEST(TreeView, BuiltFromASkinWithExpandedAndCollapsedNodes)
{
    ControlWindow w;
    CDialogBuilder builder;
    CControlUI* built = builder.Build(
        L"<Window><VerticalLayout float=\"true\" pos=\"0,0,280,190\">"
        L"<TreeView name=\"tree\" visiblecheckbtn=\"true\">"
        L"<TreeNode text=\"open\" defaultexpand=\"true\"><TreeNode text=\"child\"/>"
        L"<TreeNode text=\"shut\"><TreeNode text=\"deep\"/></TreeNode></TreeNode>"
        L"<TreeNode text=\"last\"/></TreeView>"
        L"<Container><TreeNode text=\"homeless\"><TreeNode text=\"also\"/></TreeNode></Container>"
        L"</VerticalLayout></Window>",
        NULL, NULL, &w.window.manager);
    ASSERT_TRUE(built != NULL) << testing::PrintToString(std::wstring(builder.GetError().GetData()));
    w.root->Add(built);
    w.Show();
    CTreeViewUI* tree = static_cast<CTreeViewUI*>(w.window.manager.FindControl(L"tree"));
    ASSERT_TRUE(tree != NULL);
    ASSERT_EQ(5, tree->Count());
    std::wstring listed;
    for (int i = 0; i < tree->Count(); ++i) {
        CTreeNodeUI* node = static_cast<CTreeNodeUI*>(tree->ItemAt(i));
        listed += (node->IsVisible() ? L"" : L"-") + std::wstring(node->GetItemText().GetData()) + L" ";
    }
    EXPECT_EQ(L"open child shut -deep last ", listed);
    EXPECT_FALSE(tree->GetHeader()->IsVisible());
    EXPECT_TRUE(static_cast<CTreeNodeUI*>(tree->ItemAt(0))->GetCheckBox()->IsVisible());
    // The node under a plain container was not kept.
    CContainerUI* container = static_cast<CContainerUI*>(static_cast<CContainerUI*>(built)->ItemAt(1));
    EXPECT_EQ(0, container->Count());
    EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, NULL) != FALSE);
}

} // namespace
