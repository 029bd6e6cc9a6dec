#include "app/FirmwareWindow.h"

#include <commdlg.h>

#include <iterator>
#include <string>

#include "app/UiEvents.h"
#include "platform/LateLibrary.h"
#include "platform/Win32Text.h"
#include "platform/Wide.h"

namespace {

constexpr char kDialogLibrary[] = "comdlg32.dll";
constexpr char kOpenDialog[] = "GetOpenFileNameW";

}  // namespace

void WindowFirmwareEvents::Busy(bool on) { ::SendMessageW(window_, kWmAppUiEvent, on ? 1 : 0, kUiBusy); }

void WindowFirmwareEvents::Progress(int value) {
    ::SendMessageW(window_, kWmAppUiEvent, static_cast<WPARAM>(value), kUiProgress);
}

void WindowFirmwareEvents::Ended(const Outcome& outcome) {
    if (link_ != nullptr) link_->Close();
    if (slot_ != nullptr) slot_->Put(outcome);
    ::SendMessageW(window_, kWmAppUiEvent, 0, kUiFirmwareEnded);
}

void OutcomeSlot::Put(const Outcome& outcome) {
    std::lock_guard<std::mutex> guard(lock_);
    outcome_ = outcome;
}

bool OutcomeSlot::Take(Outcome& outcome) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!outcome_) return false;
    outcome = *outcome_;
    outcome_.reset();
    return true;
}

bool FirmwareImageBox::ConfirmImage(const std::string& path, const Firmware::ImageFacts& facts) {
    const std::string text = Firmware::DescribeImage(path, facts, chinese_ ? Language::Chinese : Language::English);
    return Text::MessageBoxUtf8(owner_, text.c_str(), chinese_ ? "固件升级" : "Firmware Update",
                                MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void FirmwareImageBox::RefuseImage(const std::string& path, const Firmware::ImageFacts& facts) {
    const std::string text = Firmware::DescribeRefusal(path, facts, chinese_ ? Language::Chinese : Language::English);
    Text::MessageBoxUtf8(owner_, text.c_str(), chinese_ ? "错误" : "Error", MB_OK | MB_ICONERROR);
}

void AnswerSentMessages() {
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

bool FirmwareFileDialog::ChooseFirmwareFile(std::string& path) {
    // The filter is pairs of zero-terminated texts, ended by an empty one.
    static const wchar_t kFilterEnglish[] = L"Firmware File(*.dwn)\0*.dwn\0";
    static const wchar_t kFilterChinese[] = L"程序文件(*.dwn)\0*.dwn\0";
    std::wstring folder = Text::Widen(Text::ModuleFileName(nullptr));
    const size_t slash = folder.find_last_of(L'\\');
    folder.resize(slash == std::wstring::npos ? 0 : slash);
    // 259 characters of any kind, each up to two UTF-16 units.
    wchar_t file[2 * (MAX_PATH - 1) + 1] = {};
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner_;
    ofn.lpstrFilter = chinese_ ? kFilterChinese : kFilterEnglish;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = static_cast<DWORD>(std::size(file));
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = chinese_ ? L"选择文件" : L"Select File";
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    const auto show = LateFunction<decltype(&::GetOpenFileNameW), kDialogLibrary, kOpenDialog>();
    if (show == nullptr || !show(&ofn)) return false;
    file[std::size(file) - 1] = L'\0';
    path = Text::Narrow(file);
    return true;
}
