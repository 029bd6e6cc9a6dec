#pragma once
#include <windows.h>

#include <string>

#include "Loom/Builder/WindowImplBase.h"

namespace Loom {
class CButtonUI;
class CLabelUI;
}  // namespace Loom

// The About dialog: the product's short name with its version, the maker's
// notice line, its web and sales mail addresses as links, and OK. It is
// modal over the main window, in the main window's language, and built in
// code on the common skin.
//
// Use from the main window (window thread):
//     DlgAbout::Show(mainWindow, chinese);
// which returns once the dialog is gone. Window thread only.
class DlgAbout : public Loom::WindowImplBase {
public:
    // What a link click opens through; ShellExecuteA unless a test records
    // the calls instead of starting a browser or a mail program.
    using ShellOpen = HINSTANCE(WINAPI*)(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                         INT show);
    // Returns the function in force before.
    static ShellOpen SetShellOpen(ShellOpen open);

    // The maker's addresses; the web address is opened as it is, the mail
    // address behind "mailto:".
    static constexpr const char* kWebAddress = "http://www.quillet.com";
    static constexpr const char* kSalesMail = "sales@quillet.com";
    static constexpr const char* kNotice = "Quillet Radio Co., Ltd.";

    // chinese: the language of the main window (true = Chinese).
    explicit DlgAbout(bool chinese);

    // Opens the dialog owned by owner (which may be nullptr), centred over
    // it, and runs it modally: the owner is disabled until the dialog is
    // closed by OK, its close button or Escape, then enabled and focused
    // again. Returns the close result (2 for OK and the close button, 1 for
    // Escape), or 0 when the window could not be created.
    static UINT Show(HWND owner, bool chinese);

    // The two steps of Show: Open creates the visible window centred over
    // owner (nullptr on failure); ShowModal (of the base) runs it.
    HWND Open(HWND owner);

    // "VM_RCT(V001.01.08)": the short name with the program's version.
    static std::string ProductText();

    Loom::CLabelUI* GetTitleLabel() const { return titleLabel_; }
    Loom::CLabelUI* GetProductLabel() const { return productLabel_; }
    Loom::CLabelUI* GetNoticeLabel() const { return noticeLabel_; }
    Loom::CButtonUI* GetCloseButton() const { return closeButton_; }
    Loom::CButtonUI* GetOkButton() const { return okButton_; }
    Loom::CButtonUI* GetWebLink() const { return webLink_; }
    Loom::CButtonUI* GetMailLink() const { return mailLink_; }

    void Notify(Loom::NotifyMsg& msg) override;

protected:
    std::string GetSkin(int designWidth, int designHeight) const override;
    void InitWindow() override;
    LRESULT OnClose(WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    const char* Text(const char* chinese, const char* english) const { return chinese_ ? chinese : english; }
    Loom::CControlUI* BuildTitleBar();
    Loom::CControlUI* BuildBody();
    Loom::CControlUI* BuildTextColumn();
    Loom::CControlUI* BuildButtonColumn();
    void OpenLink(const std::string& target) const;

    bool chinese_;
    Loom::CLabelUI* titleLabel_ = nullptr;
    Loom::CLabelUI* productLabel_ = nullptr;
    Loom::CLabelUI* noticeLabel_ = nullptr;
    Loom::CButtonUI* closeButton_ = nullptr;
    Loom::CButtonUI* okButton_ = nullptr;
    Loom::CButtonUI* webLink_ = nullptr;
    Loom::CButtonUI* mailLink_ = nullptr;
};
