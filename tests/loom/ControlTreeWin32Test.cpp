// The tree view: nodes at every level are items of one list; expanding and
// collapsing shows and hides subtrees in the layout, and the folder button,
// the check box and the double click act on the node.
#include <gtest/gtest.h>

#include <sstream>

#include "Loom/Control/TreeNodeUI.h"
#include "Loom/Control/TreeToggleUI.h"
#include "Loom/Control/TreeViewUI.h"
#include "ControlTestSupport.h"
#include "testkit/LoomTestWindow.h"

using namespace Loom;
using namespace LoomTest;

namespace {

CTreeNodeUI* Node(const char* name) {
    auto* node = new CTreeNodeUI;
    node->SetName(name);
    node->SetText(name);
    node->SetFixedHeight(20);
    return node;
}

// The node lines of the layout dump.
std::string NodeLines(CControlUI* root) {
    std::istringstream in(DumpLayout(root));
    std::string line;
    std::string out;
    while (std::getline(in, line)) {
        if (line.find("TreeNodeUI") != std::string::npos) out += line + "\n";
    }
    return out;
}

std::string Order(CTreeViewUI* view) {
    std::string out;
    for (int i = 0; i < view->GetCount(); ++i) {
        auto* item = static_cast<IListItemUI*>(view->GetItemAt(i)->GetInterface("ListItem"));
        out += view->GetItemAt(i)->GetName() + (item->GetIndex() == i ? " " : "(bad index) ");
    }
    return out;
}

// A (A1 (A1a), A2), B in a 200 by 150 view named "tree".
struct Tree {
    CTreeViewUI* view = new CTreeViewUI;
    CTreeNodeUI* a = Node("A");
    CTreeNodeUI* a1 = Node("A1");
    CTreeNodeUI* a1a = Node("A1a");
    CTreeNodeUI* a2 = Node("A2");
    CTreeNodeUI* b = Node("B");
    Tree() {
        view->SetName("tree");
        a1->Add(a1a);
        a->Add(a1);
        a->Add(a2);
        view->Add(a);
        view->Add(b);
    }
};

void Click(TestWindow& w, int x, int y) {
    w.ButtonDown(x, y);
    w.ButtonUp(x, y);
}

}  // namespace

TEST(TreeView, FolderButtonCollapsesAndExpandsTheSubtreeInTheLayout) {
    TestWindow w;
    Tree t;
    ASSERT_TRUE(w.Open(200, 150, t.view));
    EXPECT_EQ(NodeLines(t.view),
              "  TreeNodeUI A (0,0,200,20)\n"
              "  TreeNodeUI A1 (0,20,200,40)\n"
              "  TreeNodeUI A1a (0,40,200,60)\n"
              "  TreeNodeUI A2 (0,60,200,80)\n"
              "  TreeNodeUI B (0,80,200,100)\n");
    // Levels are indented 16 pixels; a node without children keeps the
    // folder button's room.
    EXPECT_EQ(t.a->GetFolderButton()->GetPos().left, 0);
    EXPECT_EQ(t.a1->GetFolderButton()->GetPos().left, 16);
    EXPECT_FALSE(t.a1a->GetFolderButton()->IsVisible());

    Click(w, 8, 10);  // A's folder button
    w.Paint();
    EXPECT_FALSE(t.a->IsExpanded());
    EXPECT_EQ(NodeLines(t.view),
              "  TreeNodeUI A (0,0,200,20)\n"
              "  TreeNodeUI A1 (0,20,200,40) hidden\n"
              "  TreeNodeUI A1a (0,40,200,60) hidden\n"
              "  TreeNodeUI A2 (0,60,200,80) hidden\n"
              "  TreeNodeUI B (0,20,200,40)\n");

    t.a1->Expand(false);  // stays collapsed while its parent is expanded again
    Click(w, 8, 10);
    w.Paint();
    EXPECT_EQ(NodeLines(t.view),
              "  TreeNodeUI A (0,0,200,20)\n"
              "  TreeNodeUI A1 (0,20,200,40)\n"
              "  TreeNodeUI A1a (0,40,200,60) hidden\n"
              "  TreeNodeUI A2 (0,40,200,60)\n"
              "  TreeNodeUI B (0,60,200,80)\n");
    EXPECT_EQ(Of(w, "selectchanged"), (std::vector<std::string>{"selectchanged  0 0", "selectchanged  1 0"}));
}

TEST(TreeView, DoubleClickSendsItemDbClickAndTogglesTheNode) {
    TestWindow w;
    Tree t;
    ASSERT_TRUE(w.Open(200, 150, t.view));
    w.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 10));
    w.Paint();
    EXPECT_EQ(Of(w, "itemdbclick"), std::vector<std::string>{"itemdbclick A 0 0"});
    EXPECT_FALSE(t.a->IsExpanded());
    EXPECT_EQ(t.b->GetPos().top, 20);
    w.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 30));  // B has no children
    EXPECT_EQ(Of(w, "itemdbclick").back(), "itemdbclick B 4 0");
    EXPECT_TRUE(t.b->IsExpanded());
}

TEST(TreeView, CheckBoxChecksTheNodeAndEveryNodeBelowIt) {
    TestWindow w;
    Tree t;
    t.view->SetAttribute("visiblecheckbtn", "true");
    ASSERT_TRUE(w.Open(200, 150, t.view));
    ASSERT_EQ(t.a->GetCheckBox()->GetPos().left, 16);
    Click(w, 24, 10);
    EXPECT_TRUE(t.a->IsChecked());
    EXPECT_TRUE(t.a1->IsChecked());
    EXPECT_TRUE(t.a1a->IsChecked());
    EXPECT_TRUE(t.a2->IsChecked());
    EXPECT_FALSE(t.b->IsChecked());
    EXPECT_EQ(Of(w, "selectchanged"), std::vector<std::string>{"selectchanged  1 0"});
}

TEST(TreeView, CollapsingTheParentOfTheSelectedNodeClearsTheSelection) {
    TestWindow w;
    Tree t;
    ASSERT_TRUE(w.Open(200, 150, t.view));
    Click(w, 100, 50);  // A1a
    ASSERT_EQ(t.view->GetCurSel(), 2);
    Click(w, 8, 10);
    EXPECT_EQ(t.view->GetCurSel(), -1);
    EXPECT_FALSE(t.a1a->IsSelected());
}

TEST(TreeView, ExpandingAnItemCollapsesTheOneBeforeUnlessMultiExpanding) {
    TestWindow w;
    Tree t;
    ASSERT_TRUE(w.Open(200, 150, t.view));
    ASSERT_TRUE(t.view->ExpandItem(0));
    ASSERT_TRUE(t.view->ExpandItem(4));
    EXPECT_FALSE(t.a->IsExpanded());
    EXPECT_FALSE(t.a1->IsVisible());
    EXPECT_EQ(t.view->GetExpandedItem(), 4);
    t.view->SetAttribute("multiexpanding", "true");
    ASSERT_TRUE(t.view->ExpandItem(0));
    EXPECT_TRUE(t.b->IsExpanded());
    EXPECT_TRUE(t.a1->IsVisible());
}

TEST(TreeNodes, ChildAddedInTheViewGoesAfterItsParentsSubtree) {
    TestWindow w;
    Tree t;
    ASSERT_TRUE(w.Open(200, 150, t.view));
    ASSERT_TRUE(t.a->AddChildNode(Node("X")));
    ASSERT_TRUE(t.a1->AddChildNodeAt(Node("Y"), 0));
    EXPECT_EQ(Order(t.view), "A A1 Y A1a A2 X B ");
    w.Paint();
    EXPECT_EQ(t.view->GetItemAt(2)->GetPos().top, 40);
}

TEST(TreeNodes, RemovingANodeRemovesItsSubtreeAndKeepsTheSelection) {
    TestWindow w;
    Tree t;
    ASSERT_TRUE(w.Open(200, 150, t.view));
    Click(w, 100, 90);  // B
    ASSERT_TRUE(t.view->Remove(t.a1));
    EXPECT_EQ(Order(t.view), "A A2 B ");
    EXPECT_EQ(t.a->GetChildCount(), 1);
    EXPECT_EQ(t.view->GetCurSel(), 2);
}

TEST(TreeNodes, AddingAnAncestorOrANodeWithAParentIsRefused) {
    auto* parent = Node("P");
    auto* child = Node("C");
    ASSERT_TRUE(parent->AddChildNode(child));
    EXPECT_FALSE(child->AddChildNode(parent));
    EXPECT_FALSE(parent->AddChildNode(parent));
    auto* other = Node("O");
    EXPECT_FALSE(other->AddChildNode(child));
    CTreeViewUI view;
    EXPECT_FALSE(view.Add(child));
    CControlUI plain;  // a refused control stays with the caller
    EXPECT_FALSE(view.Add(&plain));
    delete other;
    delete parent;
}

TEST(TreeNodes, NodeOutsideAViewDestroysItsChildren) {
    int destroyed = 0;
    auto count = [](void* context, void*) {
        ++*static_cast<int*>(context);
        return true;
    };
    auto* parent = Node("P");
    for (const char* name : {"C1", "C2"}) {
        CTreeNodeUI* child = Node(name);
        child->OnDestroy += CDelegate::Make(&destroyed, count);
        parent->AddChildNode(child);
    }
    delete parent;
    EXPECT_EQ(destroyed, 2);
}
