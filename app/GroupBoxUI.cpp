#include "app/GroupBoxUI.h"
#include "platform/Utf8.h"

namespace {

constexpr DWORD kLineColor = 0xFF888888;

// A line of the frame: a plain control filled with the line colour, one
// pixel wide (vertical) or one pixel high (horizontal).
Loom::CControlUI* Line(bool vertical) {
    auto* line = new Loom::CControlUI;
    line->SetBkColor(kLineColor);
    if (vertical) {
        line->SetFixedWidth(1);
    } else {
        line->SetFixedHeight(1);
    }
    return line;
}

// A flexible gap: a plain control without attributes takes a share of the
// free space.
Loom::CControlUI* Spacer() { return new Loom::CControlUI; }

}  // namespace

CGroupBoxUI::CGroupBoxUI(const std::string& title) {
    auto* frame = new Loom::CVerticalLayoutUI;
    frame->Add(BuildTopEdge(title));
    frame->Add(BuildMiddle());
    frame->Add(Line(false));
    // The frame is the group box's only own child; the overridden Add
    // serves the content.
    Loom::CContainerUI::Add(frame);
}

int CGroupBoxUI::TitleWidthAtBuild(size_t columns) { return static_cast<int>(columns * 6.3 + 2); }
int CGroupBoxUI::TitleWidthAtRetitle(size_t columns) { return static_cast<int>(columns * 6.7 + 2); }

Loom::CHorizontalLayoutUI* CGroupBoxUI::BuildTopEdge(const std::string& title) {
    auto* top = new Loom::CHorizontalLayoutUI;
    top->SetFixedHeight(12);

    // The top line runs at half the title's height, six pixels down.
    auto* leftCorner = new Loom::CHorizontalLayoutUI;
    leftCorner->SetInset(RECT{0, 6, 0, 0});
    leftCorner->SetFixedWidth(11);
    leftCorner->Add(Line(true));
    leftCorner->Add(Line(false));
    top->Add(leftCorner);

    if (!title.empty()) {
        titleLabel_ = new Loom::CLabelUI;
        titleLabel_->SetText(title);
        titleLabel_->SetTextStyle(DT_CENTER | DT_VCENTER);
        titleLabel_->SetTextPadding(RECT{1, 0, 0, 0});
        titleLabel_->SetFixedWidth(TitleWidthAtBuild(Text::Utf8Columns(title)));
        top->Add(titleLabel_);
        SetAccessibleLabel(titleLabel_);  // the frame is a group named by its title
    }

    auto* rightPart = new Loom::CHorizontalLayoutUI;
    rightPart->SetInset(RECT{0, 6, 0, 0});
    rightPart->Add(Line(false));
    rightPart->Add(Line(true));
    top->Add(rightPart);
    return top;
}

Loom::CHorizontalLayoutUI* CGroupBoxUI::BuildMiddle() {
    auto* middle = new Loom::CHorizontalLayoutUI;
    content_ = new Loom::CVerticalLayoutUI;
    content_->SetInset(RECT{12, 0, 12, 0});
    if (spreadChildren_) content_->Add(Spacer());
    middle->Add(Line(true));
    middle->Add(content_);
    middle->Add(Line(true));
    return middle;
}

void CGroupBoxUI::SetTitle(const std::string& title) {
    if (titleLabel_ == nullptr) return;
    titleLabel_->SetText(title);
    titleLabel_->SetFixedWidth(TitleWidthAtRetitle(Text::Utf8Columns(title)));
}

int CGroupBoxUI::ChildCount() const {
    const int count = content_->GetCount();
    return spreadChildren_ ? (count - 1) / 2 : count;
}

int CGroupBoxUI::ContentIndexOf(int childIndex) const { return spreadChildren_ ? 1 + 2 * childIndex : childIndex; }

bool CGroupBoxUI::Add(Loom::CControlUI* control) { return AddAt(control, ChildCount()); }

bool CGroupBoxUI::AddAt(Loom::CControlUI* control, int index) {
    if (control == nullptr || index < 0 || index > ChildCount()) return false;
    const int at = ContentIndexOf(index);
    if (!content_->AddAt(control, at)) return false;
    if (spreadChildren_) content_->AddAt(Spacer(), at + 1);
    return true;
}

bool CGroupBoxUI::Remove(Loom::CControlUI* control) {
    const int at = content_->GetItemIndex(control);
    // A spacer is not a child of the group box.
    if (at < 0 || (spreadChildren_ && at % 2 == 0)) return false;
    return RemoveAt(spreadChildren_ ? (at - 1) / 2 : at);
}

bool CGroupBoxUI::RemoveAt(int index) {
    if (index < 0 || index >= ChildCount()) return false;
    const int at = ContentIndexOf(index);
    // The spacer that followed the child goes with it, so the gaps stay
    // equal.
    if (spreadChildren_) content_->RemoveAt(at + 1);
    return content_->RemoveAt(at);
}

void CGroupBoxUI::RemoveAll() {
    content_->RemoveAll();
    if (spreadChildren_) content_->Add(Spacer());
}
