#include "app/DlgAbout.h"

#include <shellapi.h>

#include "Loom/Control/ButtonUI.h"
#include "Loom/Control/LabelUI.h"
#include "Loom/Layout/HorizontalLayoutUI.h"
#include "Loom/Layout/VerticalLayoutUI.h"
#include "app/ProgramVersion.h"
#include "app/WindowSkin.h"
#include "platform/LateLibrary.h"
#include "platform/Wide.h"

using namespace Loom;

namespace {

constexpr int kDesignWidth = 275;
constexpr int kDesignHeight = 184;
constexpr DWORD kStyle = WS_VISIBLE | WS_OVERLAPPEDWINDOW;
constexpr DWORD kExStyle = 0x00060000;
// The close result of OK and of the close button.
constexpr UINT kClosedByButton = 2;

constexpr char kShellLibrary[] = "shell32.dll";
constexpr char kShellExecute[] = "ShellExecuteW";

// The shell is loaded at the first link opened: the program needs it for
// nothing else. The texts are UTF-8, given to the shell as wide text.
HINSTANCE WINAPI ShellOpenDefault(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show) {
    const auto open = LateFunction<decltype(&::ShellExecuteW), kShellLibrary, kShellExecute>();
    if (open == nullptr) return reinterpret_cast<HINSTANCE>(SE_ERR_DLLNOTFOUND);
    const auto wide = [](LPCSTR text) { return text != nullptr ? Text::Widen(text) : std::wstring(); };
    const std::wstring v = wide(verb), f = wide(file), p = wide(parameters), d = wide(directory);
    return open(owner, verb ? v.c_str() : nullptr, file ? f.c_str() : nullptr, parameters ? p.c_str() : nullptr,
                directory ? d.c_str() : nullptr, show);
}

DlgAbout::ShellOpen& CurrentShellOpen() {
    static DlgAbout::ShellOpen open = &ShellOpenDefault;
    return open;
}

// A text row of the left column: one line in the small font.
void StyleTextRow(CLabelUI* row) {
    row->SetFixedHeight(18);
    row->SetFont(2);
    row->SetTextStyle(DT_VCENTER);
}

CButtonUI* MakeLink(const std::string& text) {
    auto* link = new CButtonUI;
    StyleTextRow(link);
    link->SetShowHtml(true);
    link->SetText("{u}{a}" + text + "{/a}{/u}");
    return link;
}

}  // namespace

DlgAbout::ShellOpen DlgAbout::SetShellOpen(ShellOpen open) {
    const ShellOpen before = CurrentShellOpen();
    CurrentShellOpen() = open != nullptr ? open : &ShellOpenDefault;
    return before;
}

DlgAbout::DlgAbout(bool chinese) : WindowImplBase(kDesignWidth, kDesignHeight), chinese_(chinese) {}

UINT DlgAbout::Show(HWND owner, bool chinese) {
    DlgAbout dialog(chinese);
    if (dialog.Open(owner) == nullptr) return 0;
    return dialog.ShowModal();
}

HWND DlgAbout::Open(HWND owner) {
    // Position and size 0: the skin gives the size when the window is made.
    if (Create(owner, Text("关于...", "About..."), kStyle, kExStyle, 0, 0, 0, 0) == nullptr) return nullptr;
    CenterWindow();
    return GetHWND();
}

std::string DlgAbout::ProductText() { return "VM_RCT(" + ShownVersion() + ")"; }

std::string DlgAbout::GetSkin(int designWidth, int designHeight) const {
    return BuildWindowSkin(designWidth, designHeight);
}

void DlgAbout::InitWindow() {
    auto* main = static_cast<CContainerUI*>(paintManager_.FindControl("main"));
    if (main == nullptr) return;
    main->Add(BuildTitleBar());
    main->Add(BuildBody());
    // Return presses OK at once; Tab visits the links and OK, Escape closes.
    paintManager_.SetTabSkipped(closeButton_, true);
    paintManager_.SetFocusNeeded(okButton_);
}

// Like the main window's title bar, with a shorter title and only a close
// button.
CControlUI* DlgAbout::BuildTitleBar() {
    auto* bar = new CHorizontalLayoutUI;
    bar->SetFixedHeight(33);
    bar->SetInset(RECT{3, 2, 3, 2});
    bar->SetBkColor(0xFFD1E8F5);
    bar->SetBkColor2(0xFFC9E3F4);

    auto* pictureCell = new CVerticalLayoutUI;
    pictureCell->SetFixedWidth(26);
    pictureCell->SetInset(RECT{0, 5, 5, 0});
    auto* picture = new CControlUI;
    picture->SetBkImage("res='174' restype='png'");
    pictureCell->Add(picture);

    titleLabel_ = new CLabelUI;
    titleLabel_->SetFixedWidth(88);
    titleLabel_->SetTextStyle(DT_VCENTER);
    titleLabel_->SetFont(1);
    titleLabel_->SetTextColor(0xFF447AA1);
    titleLabel_->SetText(Text("关于...", "About..."));

    closeButton_ = new CButtonUI;
    closeButton_->SetFixedHeight(17);
    closeButton_->SetFixedWidth(45);
    closeButton_->SetNormalImage("res='185' restype='png'");
    closeButton_->SetHotImage("res='186' restype='png'");
    closeButton_->SetPushedImage("res='187' restype='png'");

    bar->Add(pictureCell);
    bar->Add(titleLabel_);
    bar->Add(new CControlUI);
    bar->Add(closeButton_);
    return bar;
}

CControlUI* DlgAbout::BuildBody() {
    auto* body = new CHorizontalLayoutUI;
    body->SetChildPadding(10);
    body->SetPadding(RECT{10, 10, 10, 4});
    body->SetInset(RECT{10, 10, 10, 10});
    body->SetBorderSize(1);
    body->SetBorderColor(0xFF666666);
    body->Add(BuildTextColumn());
    body->Add(BuildButtonColumn());
    return body;
}

CControlUI* DlgAbout::BuildTextColumn() {
    auto* column = new CVerticalLayoutUI;
    column->SetFixedWidth(150);
    column->SetChildPadding(10);

    productLabel_ = new CLabelUI;
    StyleTextRow(productLabel_);
    productLabel_->SetText(ProductText());
    noticeLabel_ = new CLabelUI;
    StyleTextRow(noticeLabel_);
    noticeLabel_->SetText(kNotice);
    webLink_ = MakeLink(kWebAddress);
    mailLink_ = MakeLink(std::string("email:") + kSalesMail);

    column->Add(productLabel_);
    column->Add(noticeLabel_);
    column->Add(webLink_);
    column->Add(mailLink_);
    return column;
}

CControlUI* DlgAbout::BuildButtonColumn() {
    auto* column = new CVerticalLayoutUI;
    column->SetFixedWidth(70);
    okButton_ = new CButtonUI;
    okButton_->SetFixedHeight(22);
    okButton_->SetText(Text("确定", "OK"));
    okButton_->SetNormalImage("res='160' restype='png' corner='2,2,2,2'");
    okButton_->SetHotImage("res='161' restype='png' corner='2,2,2,2'");
    okButton_->SetPushedImage("res='162' restype='png' corner='2,2,2,2'");
    column->Add(new CControlUI);
    column->Add(okButton_);
    column->Add(new CControlUI);
    return column;
}

void DlgAbout::Notify(NotifyMsg& msg) {
    if (msg.type == "click") {
        if (msg.sender == closeButton_ || msg.sender == okButton_) {
            // Posted, not sent: the window must not go while its own click
            // is still being dispatched, and the modal loop enables the
            // owner before the dialog is destroyed, so that the activation
            // returns to the owner and not to another program.
            Close(kClosedByButton);
        } else if (msg.sender == webLink_) {
            OpenLink(kWebAddress);
        } else if (msg.sender == mailLink_) {
            OpenLink(std::string("mailto:") + kSalesMail);
        }
    }
    WindowImplBase::Notify(msg);
}

void DlgAbout::OpenLink(const std::string& target) const {
    // Shown normally: the browser or mail program opened must be seen.
    CurrentShellOpen()(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

LRESULT DlgAbout::OnClose(WPARAM, LPARAM, bool& handled) {
    handled = true;
    ::DestroyWindow(GetHWND());
    return 0;
}
