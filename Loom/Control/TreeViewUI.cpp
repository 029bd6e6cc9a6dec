#include "Loom/Control/TreeViewUI.h"

#include <cstring>

#include "Loom/Control/TreeNodeUI.h"
#include "Loom/Render/ValueReaders.h"

namespace Loom {

namespace {

bool Is(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

CTreeNodeUI* NodeOf(CControlUI* control) {
    return control != nullptr ? static_cast<CTreeNodeUI*>(control->GetInterface("TreeNode")) : nullptr;
}

}  // namespace

const char* CTreeViewUI::GetClass() const { return "TreeViewUI"; }

void* CTreeViewUI::GetInterface(const char* name) {
    if (Is(name, "TreeView")) return static_cast<CTreeViewUI*>(this);
    return CListUI::GetInterface(name);
}

bool CTreeViewUI::Add(CControlUI* control) { return AddAt(control, GetCount()); }

bool CTreeViewUI::AddAt(CControlUI* control, int index) {
    CTreeNodeUI* node = NodeOf(control);
    if (node == nullptr || node->GetParentNode() != nullptr || node->GetTreeView() != nullptr) return false;
    if (index < 0 || index > GetCount()) return false;
    return InsertSubtree(node, index);
}

bool CTreeViewUI::InsertSubtree(CTreeNodeUI* node, int index) {
    std::vector<CTreeNodeUI*> subtree;
    node->CollectSubtree(subtree);
    for (size_t i = 0; i < subtree.size(); ++i) {
        if (!InsertItem(subtree[i], index + static_cast<int>(i))) {
            // Only a bad index fails, and then at the first node: nothing to undo.
            return false;
        }
        subtree[i]->SetTreeView(this);
        ApplyLook(subtree[i]);
    }
    // Nodes below a collapsed node start hidden.
    node->ApplyChildVisibility();
    return true;
}

bool CTreeViewUI::Remove(CControlUI* control) {
    CTreeNodeUI* node = NodeOf(control);
    if (node == nullptr || node->GetTreeView() != this) return CListUI::Remove(control);
    if (node->GetParentNode() != nullptr) return node->GetParentNode()->RemoveChildNode(node);
    RemoveSubtree(node);
    return true;
}

void CTreeViewUI::RemoveSubtree(CTreeNodeUI* node) {
    std::vector<CTreeNodeUI*> subtree;
    node->CollectSubtree(subtree);
    // Children first: each removal may destroy its node at once.
    for (auto it = subtree.rbegin(); it != subtree.rend(); ++it) CListUI::Remove(*it);
}

void CTreeViewUI::Notify(NotifyMsg& msg) {
    if (msg.type != "selectchanged" || msg.sender == nullptr) return;
    // The sender is a folder button or check box inside a node's line.
    CTreeNodeUI* node = nullptr;
    for (CControlUI* c = msg.sender->GetParent(); c != nullptr && node == nullptr; c = c->GetParent()) {
        node = NodeOf(c);
    }
    if (node != nullptr && node->GetTreeView() == this) node->OnPartChanged(msg.sender);
}

void CTreeViewUI::ApplyLook(CTreeNodeUI* node) const {
    node->SetVisibleFolderButton(visibleFolderBtn_);
    node->SetVisibleCheckButton(visibleCheckBtn_);
    if (itemMinWidth_ > 0) node->SetMinWidth(itemMinWidth_);
    if (itemTextColor_ != 0) node->SetItemTextColor(itemTextColor_);
    if (itemHotTextColor_ != 0) node->SetItemHotTextColor(itemHotTextColor_);
    if (selItemTextColor_ != 0) node->SetSelItemTextColor(selItemTextColor_);
    if (selItemHotTextColor_ != 0) node->SetSelItemHotTextColor(selItemHotTextColor_);
}

void CTreeViewUI::ForEachNode(void (*apply)(CTreeNodeUI*, const CTreeViewUI&)) {
    for (int i = 0; i < GetCount(); ++i) {
        if (CTreeNodeUI* node = NodeOf(GetItemAt(i))) apply(node, *this);
    }
}

void CTreeViewUI::SetVisibleFolderBtn(bool show) {
    visibleFolderBtn_ = show;
    ForEachNode(
        [](CTreeNodeUI* node, const CTreeViewUI& view) { node->SetVisibleFolderButton(view.visibleFolderBtn_); });
}

void CTreeViewUI::SetVisibleCheckBtn(bool show) {
    visibleCheckBtn_ = show;
    ForEachNode([](CTreeNodeUI* node, const CTreeViewUI& view) { node->SetVisibleCheckButton(view.visibleCheckBtn_); });
}

void CTreeViewUI::SetItemMinWidth(int width) {
    itemMinWidth_ = width;
    ForEachNode([](CTreeNodeUI* node, const CTreeViewUI& view) { node->SetMinWidth(view.itemMinWidth_); });
}

void CTreeViewUI::SetAttribute(const char* name, const char* value) {
    if (Is(name, "visiblefolderbtn")) {
        SetVisibleFolderBtn(ValueReaders::ReadBool(value));
    } else if (Is(name, "visiblecheckbtn")) {
        SetVisibleCheckBtn(ValueReaders::ReadBool(value));
    } else if (Is(name, "itemminwidth")) {
        SetItemMinWidth(ValueReaders::ReadInt(value));
    } else if (Is(name, "itemtextcolor") || Is(name, "itemhottextcolor") || Is(name, "selitemtextcolor") ||
               Is(name, "selitemhottextcolor")) {
        const DWORD color = ValueReaders::ReadColor(value);
        DWORD& field = Is(name, "itemtextcolor")      ? itemTextColor_
                       : Is(name, "itemhottextcolor") ? itemHotTextColor_
                       : Is(name, "selitemtextcolor") ? selItemTextColor_
                                                      : selItemHotTextColor_;
        field = color;
        for (int i = 0; i < GetCount(); ++i) {
            if (CTreeNodeUI* node = NodeOf(GetItemAt(i))) ApplyLook(node);
        }
    } else {
        CListUI::SetAttribute(name, value);
    }
}

}  // namespace Loom
