#include "radio/ConfigFileDialogs.h"

#include "serial/LateLibrary.h"

namespace {

constexpr char kDialogLibrary[] = "comdlg32.dll";
constexpr char kOpenDialog[] = "GetOpenFileNameA";
constexpr char kSaveDialog[] = "GetSaveFileNameA";
using FileDialogFn = BOOL(WINAPI*)(LPOPENFILENAMEA);

// One filter; the literal's own NUL ends the list with the second NUL.
constexpr char kFilter[] = "Config File(*.cfg)\0*.cfg\0";

const char* Title(ConfigFileDialogs::Kind kind, Language language) {
    const bool chinese = language == Language::Chinese;
    if (kind == ConfigFileDialogs::Kind::Save) return chinese ? "导出配置" : "Export Config";
    return chinese ? "导入配置" : "Import Config";
}

}  // namespace

ConfigFileDialogs::ConfigFileDialogs(HWND owner, const IConfigView& view) : owner(owner), view(view) {}

bool ConfigFileDialogs::ChooseSavePath(std::string& path) { return Run(Kind::Save, path); }

bool ConfigFileDialogs::ChooseOpenPath(std::string& path) { return Run(Kind::Open, path); }

OPENFILENAMEA ConfigFileDialogs::Describe(Kind kind, char* path, const std::string& folder) const {
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = Title(kind, view.GetLanguage());
    dialog.Flags = kind == Kind::Save ? OFN_OVERWRITEPROMPT | OFN_CREATEPROMPT | OFN_NOVALIDATE
                                      : OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    return dialog;
}

std::string ConfigFileDialogs::ProgramFolder() {
    char module[MAX_PATH];
    const DWORD n = ::GetModuleFileNameA(nullptr, module, MAX_PATH);
    // A name cut at MAX_PATH is no usable folder; the dialog then opens where
    // it likes.
    if (n == 0 || n >= MAX_PATH) return {};
    std::string folder(module, n);
    const size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash);
}

bool ConfigFileDialogs::Run(Kind kind, std::string& path) {
    char chosen[MAX_PATH] = "";
    const std::string folder = ProgramFolder();
    OPENFILENAMEA dialog = Describe(kind, chosen, folder);
    const FileDialogFn show = kind == Kind::Save ? LateFunction<FileDialogFn, kDialogLibrary, kSaveDialog>()
                                                 : LateFunction<FileDialogFn, kDialogLibrary, kOpenDialog>();
    // Cancelled, or the dialog could not be shown (nor its library loaded).
    if (show == nullptr || !show(&dialog)) return false;
    chosen[MAX_PATH - 1] = '\0';
    path = chosen;
    return true;
}
