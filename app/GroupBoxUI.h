#pragma once
#include <string>

#include "Loom/Control/LabelUI.h"
#include "Loom/Core/ContainerUI.h"
#include "Loom/Layout/HorizontalLayoutUI.h"
#include "Loom/Layout/VerticalLayoutUI.h"

// A titled frame: one-pixel grey lines around a content layout, the title
// in a gap of the top line. Built in code, never named in markup.
//
// Adding and removing children goes to the content layout; with spreading
// on (always, for the windows of this tool) the first child is preceded by a
// flexible spacer and every child is followed by one, so the children are
// spread over the frame's height with equal gaps above, between and below
// them. Counting and reading children (GetCount, GetItemAt, GetItemIndex)
// see the frame itself, on which the container's layout, painting and hit
// testing rely. Window thread only.
class CGroupBoxUI : public Loom::CContainerUI {
public:
    // An empty title builds the frame without a title label.
    explicit CGroupBoxUI(const std::string& title);

    // Re-titles the frame: the title label takes the text and a width
    // estimated from its length. Nothing happens when the frame was built
    // without a title.
    void SetTitle(const std::string& title);
    // The title label, or nullptr when the frame has no title.
    Loom::CLabelUI* GetTitleLabel() const { return titleLabel_; }

    // index counts the children added, not the spacers between them.
    bool Add(Loom::CControlUI* control) override;
    bool AddAt(Loom::CControlUI* control, int index) override;
    bool Remove(Loom::CControlUI* control) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;

    // The width the title label gets for a title of that many columns
    // (Text::Utf8Columns): an estimate of the text's width in the window's
    // default font. The first title is measured with a narrower factor than
    // a later one.
    static int TitleWidthAtBuild(size_t columns);
    static int TitleWidthAtRetitle(size_t columns);

private:
    Loom::CHorizontalLayoutUI* BuildTopEdge(const std::string& title);
    Loom::CHorizontalLayoutUI* BuildMiddle();
    // Position in the content layout of the index-th child added.
    int ContentIndexOf(int childIndex) const;
    int ChildCount() const;

    Loom::CVerticalLayoutUI* content_ = nullptr;
    Loom::CLabelUI* titleLabel_ = nullptr;
    const bool spreadChildren_ = true;
};
