#pragma once
#include <vector>

#include "Loom/Control/ListUI.h"
#include "Loom/Core/UIManager.h"

namespace Loom {

class CTreeNodeUI;

// A list of tree nodes. Every node, at any level, is an item of the list,
// placed after its parent node and that node's earlier children; collapsing
// a node hides its subtree. The nodes' folder buttons and check boxes report
// "selectchanged" through the view's Notify, which expands, collapses,
// checks or clears the node.
class CTreeViewUI : public CListUI, public INotifyUI {
public:
    const char* GetClass() const override;
    void* GetInterface(const char* name) override;

    // Only tree nodes without a parent node are taken; each comes with the
    // nodes below it.
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    // A node goes with the nodes below it.
    bool Remove(CControlUI* control) override;

    void Notify(NotifyMsg& msg) override;
    void SetAttribute(const char* name, const char* value) override;

    void SetVisibleFolderBtn(bool show);
    bool GetVisibleFolderBtn() const { return visibleFolderBtn_; }
    void SetVisibleCheckBtn(bool show);
    bool GetVisibleCheckBtn() const { return visibleCheckBtn_; }
    void SetItemMinWidth(int width);

    // Puts the node and the nodes below it into the list from index on.
    // Used by a node of this view that takes a child node.
    bool InsertSubtree(CTreeNodeUI* node, int index);
    // Takes the node and the nodes below it out of the list (destroying them).
    void RemoveSubtree(CTreeNodeUI* node);

private:
    void ApplyLook(CTreeNodeUI* node) const;
    void ForEachNode(void (*apply)(CTreeNodeUI*, const CTreeViewUI&));

    bool visibleFolderBtn_ = true;
    bool visibleCheckBtn_ = false;
    int itemMinWidth_ = 0;
    DWORD itemTextColor_ = 0;
    DWORD itemHotTextColor_ = 0;
    DWORD selItemTextColor_ = 0;
    DWORD selItemHotTextColor_ = 0;
};

}  // namespace Loom
