#pragma once
#include "Loom/Core/ContainerUI.h"

namespace Loom {

// Shows one child (page) at a time; the others are hidden and never placed.
class CTabLayoutUI : public CContainerUI {
public:
    const char* GetClass() const override;
    void* GetInterface(const char* name) override;

    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    void RemoveAll() override;
    void SetPos(RECT rc) override;
    void SetAttribute(const char* name, const char* value) override;

    int GetCurSel() const { return curSel_; }
    // Shows page index and hides the others; sends "tabselect" (new index,
    // old index). False if index is out of range.
    bool SelectItem(int index);

private:
    int curSel_ = -1;
};

}  // namespace Loom
