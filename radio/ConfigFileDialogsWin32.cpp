#include "radio/ConfigFileDialogs.h"

#include <cstdio>
#include <utility>

#include "serial/LateLibrary.h"
#include "serial/UniqueHandle.h"

namespace {

constexpr char kDialogLibrary[] = "comdlg32.dll";
constexpr char kOpenDialog[] = "GetOpenFileNameA";
constexpr char kSaveDialog[] = "GetSaveFileNameA";
using FileDialogFn = BOOL(WINAPI*)(LPOPENFILENAMEA);
constexpr char kShellLibrary[] = "shell32.dll";
constexpr char kFolderPath[] = "SHGetFolderPathA";
using FolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
// CSIDL_PERSONAL, the user's Documents folder (shlobj.h is left out so that
// nothing of the shell is linked in).
constexpr int kDocumentsFolderId = 0x0005;

// One filter; the literal's own NUL ends the list with the second NUL.
constexpr char kFilter[] = "Config File(*.cfg)\0*.cfg\0";

const char* Title(ConfigFileDialogs::Kind kind, Language language) {
    const bool chinese = language == Language::Chinese;
    if (kind == ConfigFileDialogs::Kind::Save) return chinese ? "导出配置" : "Export Config";
    return chinese ? "导入配置" : "Import Config";
}

}  // namespace

ConfigFileDialogs::ConfigFileDialogs(HWND owner, const IConfigView& view, std::string programFolder)
    : owner(owner), view(view), programFolder(std::move(programFolder)) {}

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
    return FolderOfPath(std::string(module, n), [](unsigned char c) { return ::IsDBCSLeadByte(c) != FALSE; });
}

std::string ConfigFileDialogs::DocumentsFolder() {
    const FolderPathFn folderPath = LateFunction<FolderPathFn, kShellLibrary, kFolderPath>();
    char folder[MAX_PATH] = "";
    if (folderPath == nullptr || FAILED(folderPath(nullptr, kDocumentsFolderId, nullptr, 0, folder))) return {};
    folder[MAX_PATH - 1] = '\0';
    return folder;
}

bool ConfigFileDialogs::FolderWritable(const std::string& folder) {
    // Rights, ownership, read-only media and policies all decide, so the
    // question is asked by making a file, under a name of this process that
    // no other file has, deleted again as it is closed. (GetTempFileNameA is
    // no help: some systems report a name even when the file could not be
    // made.)
    for (int attempt = 0; attempt < 4 && !folder.empty(); ++attempt) {
        char name[MAX_PATH];
        const int n = std::snprintf(name, sizeof name, "%s\\~cfg%lx-%lx-%d.tmp", folder.c_str(),
                                    static_cast<unsigned long>(::GetCurrentProcessId()),
                                    static_cast<unsigned long>(::GetTickCount()), attempt);
        if (n < 0 || n >= static_cast<int>(sizeof name)) return false;
        UniqueFile probe(::CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (probe) return true;
        if (::GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    return false;
}

std::string ConfigFileDialogs::InitialFolder() {
    if (programWritable == Writable::Unknown)
        programWritable = FolderWritable(programFolder) ? Writable::Yes : Writable::No;
    ProfileFolders folders;
    folders.program = programFolder;
    folders.programWritable = programWritable == Writable::Yes;
    folders.lastUsed = lastUsed;
    // Asked only when it is needed: the shell's library loads at its first use.
    if (!folders.programWritable && lastUsed.empty()) folders.documents = DocumentsFolder();
    return ProfileDialogFolder(folders);
}

void ConfigFileDialogs::Accept(const OPENFILENAMEA& answered, std::string& path) {
    if (answered.lpstrFile == nullptr || answered.nMaxFile == 0) return;
    answered.lpstrFile[answered.nMaxFile - 1] = '\0';
    path = answered.lpstrFile;
    const std::string folder = FolderOfChosenPath(path, answered.nFileOffset);
    if (!folder.empty()) lastUsed = folder;
}

bool ConfigFileDialogs::Run(Kind kind, std::string& path) {
    char chosen[MAX_PATH] = "";
    const std::string folder = InitialFolder();
    OPENFILENAMEA dialog = Describe(kind, chosen, folder);
    const FileDialogFn show = kind == Kind::Save ? LateFunction<FileDialogFn, kDialogLibrary, kSaveDialog>()
                                                 : LateFunction<FileDialogFn, kDialogLibrary, kOpenDialog>();
    // Cancelled, or the dialog could not be shown (nor its library loaded).
    if (show == nullptr || !show(&dialog)) return false;
    Accept(dialog, path);
    return true;
}
