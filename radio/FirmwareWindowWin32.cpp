#include "radio/FirmwareWindow.h"

#include <commdlg.h>

#include <cstring>

#include "radio/UiEvents.h"
#include "serial/LateLibrary.h"

namespace {

constexpr char kDialogLibrary[] = "comdlg32.dll";
constexpr char kOpenDialog[] = "GetOpenFileNameA";

}  // namespace

void WindowFirmwareEvents::Busy(bool on) { ::SendMessageA(window_, kWmAppUiEvent, on ? 1 : 0, kUiBusy); }

void WindowFirmwareEvents::Progress(int value) {
    ::SendMessageA(window_, kWmAppUiEvent, static_cast<WPARAM>(value), kUiProgress);
}

void WindowFirmwareEvents::Outcome(bool success) {
    ::SendMessageA(window_, kWmAppUiEvent, control_, success ? kUiSuccess : kUiFailure);
}

void WindowFirmwareEvents::Cancelled() { Outcome(false); }

bool FirmwareImageBox::ConfirmImage(const std::string& path, const Firmware::ImageFacts& facts) {
    const std::string text = Firmware::DescribeImage(path, facts, chinese_ ? Language::Chinese : Language::English);
    return ::MessageBoxA(owner_, text.c_str(), chinese_ ? "固件升级" : "Firmware Update",
                         MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void FirmwareImageBox::RefuseImage(const std::string& path, const Firmware::ImageFacts& facts) {
    const std::string text = Firmware::DescribeRefusal(path, facts, chinese_ ? Language::Chinese : Language::English);
    ::MessageBoxA(owner_, text.c_str(), chinese_ ? "错误" : "Error", MB_OK | MB_ICONERROR);
}

void AnswerSentMessages() {
    MSG msg;
    ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

bool FirmwareFileDialog::ChooseFirmwareFile(std::string& path) {
    // The filter is pairs of zero-terminated texts, ended by an empty one.
    static const char kFilterEnglish[] = "Firmware File(*.dwn)\0*.dwn\0";
    static const char kFilterChinese[] = "程序文件(*.dwn)\0*.dwn\0";
    char folder[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameA(nullptr, folder, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
        char* slash = std::strrchr(folder, '\\');
        if (slash) *slash = '\0';
    } else {
        folder[0] = '\0';
    }
    char file[260] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner_;
    ofn.lpstrFilter = chinese_ ? kFilterChinese : kFilterEnglish;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file - 1;  // at most 259 characters
    ofn.lpstrInitialDir = folder[0] ? folder : nullptr;
    ofn.lpstrTitle = chinese_ ? "选择文件" : "Select File";
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    const auto show = LateFunction<decltype(&::GetOpenFileNameA), kDialogLibrary, kOpenDialog>();
    if (show == nullptr || !show(&ofn)) return false;
    path = file;
    return true;
}
