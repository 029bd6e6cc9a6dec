#include "Loom/Control/TreeNodeUI.h"

#include <oleacc.h>

#include <algorithm>
#include <cstring>

#include "Loom/Control/TreeToggleUI.h"
#include "Loom/Control/TreeViewUI.h"
#include "Loom/Render/Render.h"
#include "Loom/Core/UIManager.h"
#include "Loom/Render/ValueReaders.h"
#include "Loom/Layout/HorizontalLayoutUI.h"

namespace Loom {

namespace {

bool Is(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

// How far each level is indented.
constexpr int kIndent = 16;
// The line's own parts: indent, folder button, check box, text.
constexpr int kLineParts = 4;

}  // namespace

CTreeNodeUI::CTreeNodeUI()
    : line_(new CHorizontalLayoutUI),
      dotLine_(new CControlUI),
      folder_(new CTreeToggleUI(CTreeToggleUI::Glyph::Folder)),
      check_(new CTreeToggleUI(CTreeToggleUI::Glyph::Check)),
      item_(new CControlUI) {
    // Clicks on the line (but not on its buttons) are the node's.
    line_->SetMouseEnabled(false);
    dotLine_->SetMouseEnabled(false);
    item_->SetMouseEnabled(false);
    check_->SetVisible(false);
    expanded_ = true;
    folder_->SetSelected(true, false);
    line_->Add(dotLine_);
    line_->Add(folder_);
    line_->Add(check_);
    line_->Add(item_);
    CContainerUI::Add(line_);
    folder_->OnNotify += CDelegate::Make(this, &CTreeNodeUI::OnPartNotify);
    check_->OnNotify += CDelegate::Make(this, &CTreeNodeUI::OnPartNotify);
    UpdateLine();
}

CTreeNodeUI::~CTreeNodeUI() {
    // Inside a view the view's list destroys every node, in any order, so a
    // node then touches neither its parent nor its children.
    if (view_ != nullptr) return;
    for (CTreeNodeUI* child : children_) delete child;
}

const char* CTreeNodeUI::GetClass() const { return "TreeNodeUI"; }

void* CTreeNodeUI::GetInterface(const char* name) {
    if (Is(name, "TreeNode")) return static_cast<CTreeNodeUI*>(this);
    return CListContainerElementUI::GetInterface(name);
}

bool CTreeNodeUI::Add(CControlUI* control) {
    if (control == nullptr) return false;
    if (auto* node = static_cast<CTreeNodeUI*>(control->GetInterface("TreeNode"))) return AddChildNode(node);
    return line_->Add(control);
}

bool CTreeNodeUI::AddAt(CControlUI* control, int index) {
    if (control == nullptr) return false;
    if (auto* node = static_cast<CTreeNodeUI*>(control->GetInterface("TreeNode"))) return AddChildNodeAt(node, index);
    if (index < 0) return false;
    return line_->AddAt(control, std::min(kLineParts + index, line_->GetCount()));
}

bool CTreeNodeUI::Remove(CControlUI* control) {
    if (control == nullptr) return false;
    if (auto* node = static_cast<CTreeNodeUI*>(control->GetInterface("TreeNode"))) return RemoveChildNode(node);
    if (control == dotLine_ || control == folder_ || control == check_ || control == item_) return false;
    return line_->Remove(control);
}

bool CTreeNodeUI::AddChildNode(CTreeNodeUI* node) { return AddChildNodeAt(node, GetChildCount()); }

bool CTreeNodeUI::AddChildNodeAt(CTreeNodeUI* node, int index) {
    if (node == nullptr || node->parentNode_ != nullptr || node->view_ != nullptr || IsSelfOrAncestor(node)) {
        return false;
    }
    index = std::min(std::max(index, 0), GetChildCount());
    // In a view the new subtree goes before the next sibling, or after the
    // last node below this one.
    const int listIndex = index < GetChildCount() ? children_[static_cast<size_t>(index)]->GetIndex()
                                                  : GetIndex() + 1 + DescendantCount();
    children_.insert(children_.begin() + index, node);
    node->parentNode_ = this;
    if (view_ != nullptr && !view_->InsertSubtree(node, listIndex)) {
        children_.erase(children_.begin() + index);
        node->parentNode_ = nullptr;
        return false;
    }
    std::vector<CTreeNodeUI*> subtree;
    node->CollectSubtree(subtree);
    for (CTreeNodeUI* n : subtree) n->UpdateLine();
    UpdateLine();
    ApplyChildVisibility();
    return true;
}

bool CTreeNodeUI::RemoveChildNode(CTreeNodeUI* node) {
    auto it = std::find(children_.begin(), children_.end(), node);
    if (it == children_.end()) return false;
    children_.erase(it);
    node->parentNode_ = nullptr;
    if (view_ != nullptr) {
        view_->RemoveSubtree(node);
    } else {
        delete node;
    }
    UpdateLine();
    return true;
}

CTreeNodeUI* CTreeNodeUI::GetChildNode(int index) const {
    if (index < 0 || index >= GetChildCount()) return nullptr;
    return children_[static_cast<size_t>(index)];
}

int CTreeNodeUI::GetTreeLevel() const {
    int level = 0;
    for (const CTreeNodeUI* p = parentNode_; p != nullptr; p = p->parentNode_) ++level;
    return level;
}

void CTreeNodeUI::CollectSubtree(std::vector<CTreeNodeUI*>& out) {
    out.push_back(this);
    for (CTreeNodeUI* child : children_) child->CollectSubtree(out);
}

int CTreeNodeUI::DescendantCount() const {
    int count = 0;
    for (const CTreeNodeUI* child : children_) count += 1 + child->DescendantCount();
    return count;
}

bool CTreeNodeUI::IsSelfOrAncestor(const CTreeNodeUI* node) const {
    for (const CTreeNodeUI* p = this; p != nullptr; p = p->parentNode_) {
        if (p == node) return true;
    }
    return false;
}

CControlUI::AccessibleTraits CTreeNodeUI::GetAccessibleTraits() const {
    AccessibleTraits traits = CListContainerElementUI::GetAccessibleTraits();
    traits.role = ROLE_SYSTEM_OUTLINEITEM;
    if (!children_.empty()) traits.state |= IsExpanded() ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED;
    return traits;
}

bool CTreeNodeUI::Expand(bool expand) {
    expanded_ = expand;
    folder_->SetSelected(expand, false);
    ApplyChildVisibility();
    Invalidate();
    return true;
}

// A child is shown while its parent is shown and expanded; each child
// passes the rule on to its own children through SetVisible.
void CTreeNodeUI::ApplyChildVisibility() {
    const bool show = expanded_ && IsVisible();
    for (CTreeNodeUI* child : children_) child->SetVisible(show);
}

void CTreeNodeUI::SetVisible(bool visible) {
    CListContainerElementUI::SetVisible(visible);
    ApplyChildVisibility();
}

bool CTreeNodeUI::IsChecked() const { return check_->IsSelected(); }

void CTreeNodeUI::SetCheck(bool check) {
    check_->SetSelected(check, false);
    for (CTreeNodeUI* child : children_) child->SetCheck(check);
}

void CTreeNodeUI::OnPartChanged(CControlUI* part) {
    if (part == folder_) {
        Expand(folder_->IsSelected());
    } else if (part == check_) {
        SetCheck(check_->IsSelected());
    }
}

// The folder button's and the check box's "selectchanged" pass through the
// tree view, which applies them to the node.
bool CTreeNodeUI::OnPartNotify(void* param) {
    auto* msg = static_cast<NotifyMsg*>(param);
    if (msg->type != "selectchanged") return true;
    if (view_ != nullptr) {
        view_->Notify(*msg);
    } else {
        OnPartChanged(msg->sender);
    }
    return true;
}

void CTreeNodeUI::SetVisibleFolderButton(bool show) {
    folderShown_ = show;
    UpdateLine();
}

void CTreeNodeUI::SetVisibleCheckButton(bool show) { check_->SetVisible(show); }

// The folder button shows only with child nodes; a node without one is
// indented by the button's width instead, so texts of a level line up.
void CTreeNodeUI::UpdateLine() {
    const bool folder = folderShown_ && !children_.empty();
    folder_->SetVisible(folder);
    const int indent = GetTreeLevel() * kIndent + (folderShown_ && !folder ? folder_->GetFixedWidth() : 0);
    dotLine_->SetFixedWidth(indent);
    dotLine_->SetVisible(indent > 0);
}

void CTreeNodeUI::SetItemTextColor(DWORD color) {
    itemTextColor_ = color;
    Invalidate();
}

void CTreeNodeUI::SetItemHotTextColor(DWORD color) {
    itemHotTextColor_ = color;
    Invalidate();
}

void CTreeNodeUI::SetSelItemTextColor(DWORD color) {
    selItemTextColor_ = color;
    Invalidate();
}

void CTreeNodeUI::SetSelItemHotTextColor(DWORD color) {
    selItemHotTextColor_ = color;
    Invalidate();
}

void CTreeNodeUI::DoEvent(UIEvent& event) {
    if (event.kind == EventDoubleClick && mouseEnabled_ && IsEnabled()) {
        if (manager_ != nullptr) manager_->SendNotify(this, "itemdbclick", static_cast<WPARAM>(index_));
        if (!children_.empty()) folder_->SetSelected(!folder_->IsSelected(), true);
        return;
    }
    CListContainerElementUI::DoEvent(event);
}

void CTreeNodeUI::SetAttribute(const char* name, const char* value) {
    if (Is(name, "horizattr")) {
        line_->ApplyAttributeList(value);
    } else if (Is(name, "dotlineattr")) {
        dotLine_->ApplyAttributeList(value);
        UpdateLine();
    } else if (Is(name, "folderattr")) {
        folder_->ApplyAttributeList(value);
        UpdateLine();
    } else if (Is(name, "checkboxattr")) {
        check_->ApplyAttributeList(value);
    } else if (Is(name, "itemattr")) {
        item_->ApplyAttributeList(value);
    } else if (Is(name, "itemtextcolor")) {
        SetItemTextColor(ValueReaders::ReadColor(value));
    } else if (Is(name, "itemhottextcolor")) {
        SetItemHotTextColor(ValueReaders::ReadColor(value));
    } else if (Is(name, "selitemtextcolor")) {
        SetSelItemTextColor(ValueReaders::ReadColor(value));
    } else if (Is(name, "selitemhottextcolor")) {
        SetSelItemHotTextColor(ValueReaders::ReadColor(value));
    } else {
        CListContainerElementUI::SetAttribute(name, value);
    }
}

// The node's own colour for its state, else the list's item colour, else
// the window's text colour.
DWORD CTreeNodeUI::PickTextColor() const {
    if (const TContrastColors* contrast = GetContrastColors()) {
        if (!IsEnabled()) return contrast->grayText;
        if (selected_) return contrast->highlightText;
        return (state_ & StateHot) != 0 ? contrast->hotLight : contrast->windowText;
    }
    const TListInfoUI* info = owner_ != nullptr ? owner_->GetListInfo() : nullptr;
    if (!IsEnabled()) return info != nullptr ? info->disabledTextColor : manager_->GetDefaultDisabledColor();
    const bool hot = (state_ & StateHot) != 0;
    DWORD color = 0;
    if (selected_ && hot) color = selItemHotTextColor_;
    if (color == 0 && selected_) color = selItemTextColor_;
    if (color == 0 && hot) color = itemHotTextColor_;
    if (color == 0) color = itemTextColor_;
    if (color == 0 && info != nullptr)
        color = selected_ ? info->selectedTextColor : hot ? info->hotTextColor : info->textColor;
    return color != 0 ? color : manager_->GetDefaultFontColor();
}

void CTreeNodeUI::PaintText(HDC dc) {
    if (text_.empty() || manager_ == nullptr) return;
    const TListInfoUI* info = owner_ != nullptr ? owner_->GetListInfo() : nullptr;
    RECT rc = item_->GetPos();
    UINT style = DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
    int font = -1;
    if (info != nullptr) {
        const RECT pad = ScaleEdges(info->textPadding);
        rc.left += pad.left;
        rc.top += pad.top;
        rc.right -= pad.right;
        rc.bottom -= pad.bottom;
        style |= info->textStyle & (DT_CENTER | DT_RIGHT);
        font = info->font;
    }
    CRenderer::DrawText(dc, manager_, rc, text_.c_str(), PickTextColor(), font, style);
}

}  // namespace Loom
