#pragma once
#include <vector>

#include "Loom/Control/ListContainerElementUI.h"

namespace Loom {

class CHorizontalLayoutUI;
class CTreeToggleUI;
class CTreeViewUI;

// One node of a tree view: a list item whose line shows an indent for its
// level, a folder button (only with child nodes), an optional check box and
// its text. Its child nodes are items of the same tree view, placed after it
// in the list; collapsing the node hides them (and theirs), expanding shows
// them again. Until the node joins a tree view it owns its child nodes;
// afterwards the view's list owns every node.
class CTreeNodeUI : public CListContainerElementUI {
public:
    CTreeNodeUI();
    ~CTreeNodeUI() override;

    const char* GetClass() const override;
    void* GetInterface(const char* name) override;

    // A tree node becomes a child node; any other control joins the node's
    // line after its text.
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    // A child node is removed with its own children (and destroyed).
    bool Remove(CControlUI* control) override;

    // Refused for a node that already has a parent or a view, for this node
    // and for its ancestors.
    bool AddChildNode(CTreeNodeUI* node);
    bool AddChildNodeAt(CTreeNodeUI* node, int index);
    bool RemoveChildNode(CTreeNodeUI* node);
    int GetChildCount() const { return static_cast<int>(children_.size()); }
    CTreeNodeUI* GetChildNode(int index) const;
    CTreeNodeUI* GetParentNode() const { return parentNode_; }
    // 0 for a node without a parent node.
    int GetTreeLevel() const;
    // The node and all nodes below it, parents before children.
    void CollectSubtree(std::vector<CTreeNodeUI*>& out);

    // A tree item to clients, expanded or collapsed when it has child nodes.
    AccessibleTraits GetAccessibleTraits() const override;
    // Shows (expand) or hides the child nodes; the folder button follows.
    bool Expand(bool expand = true) override;
    // Hiding a node hides the nodes below it; showing it shows those its
    // expansion shows.
    void SetVisible(bool visible = true) override;
    bool IsChecked() const;
    // Checks or clears the node and every node below it.
    void SetCheck(bool check);

    CTreeViewUI* GetTreeView() const { return view_; }
    // Called by the tree view that takes the node in.
    void SetTreeView(CTreeViewUI* view) { view_ = view; }
    // What a click on the folder button (expand or collapse) or on the check
    // box (check or clear) means for the node.
    void OnPartChanged(CControlUI* part);
    // Shows the child nodes while this node is shown and expanded, hides
    // them otherwise; they pass it on to theirs.
    void ApplyChildVisibility();
    void SetVisibleFolderButton(bool show);
    void SetVisibleCheckButton(bool show);
    CTreeToggleUI* GetFolderButton() const { return folder_; }
    CTreeToggleUI* GetCheckBox() const { return check_; }
    CHorizontalLayoutUI* GetLine() const { return line_; }

    void SetItemTextColor(DWORD color);
    void SetItemHotTextColor(DWORD color);
    void SetSelItemTextColor(DWORD color);
    void SetSelItemHotTextColor(DWORD color);

    void DoEvent(UIEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;
    // The text in the rectangle the line leaves for it, coloured by state.
    void PaintText(HDC dc) override;

private:
    bool OnPartNotify(void* param);
    void UpdateLine();
    int DescendantCount() const;
    bool IsSelfOrAncestor(const CTreeNodeUI* node) const;
    DWORD PickTextColor() const;

    CHorizontalLayoutUI* line_;
    CControlUI* dotLine_;
    CTreeToggleUI* folder_;
    CTreeToggleUI* check_;
    CControlUI* item_;
    std::vector<CTreeNodeUI*> children_;
    CTreeNodeUI* parentNode_ = nullptr;
    CTreeViewUI* view_ = nullptr;
    bool folderShown_ = true;
    DWORD itemTextColor_ = 0;
    DWORD itemHotTextColor_ = 0;
    DWORD selItemTextColor_ = 0;
    DWORD selItemHotTextColor_ = 0;
};

}  // namespace Loom
