#include "app/ConfigFileDialogs.h"

#include <algorithm>
#include <utility>

#include "radio/NewFile.h"
#include "platform/LateLibrary.h"
#include "platform/UniqueHandle.h"
#include "platform/Win32Text.h"
#include "platform/Wide.h"

namespace {

constexpr char kDialogLibrary[] = "comdlg32.dll";
constexpr char kOpenDialog[] = "GetOpenFileNameW";
constexpr char kSaveDialog[] = "GetSaveFileNameW";
using FileDialogFn = BOOL(WINAPI*)(LPOPENFILENAMEW);
constexpr char kShellLibrary[] = "shell32.dll";
constexpr char kFolderPath[] = "SHGetFolderPathW";
using FolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
// CSIDL_PERSONAL, the user's Documents folder (shlobj.h is left out so that
// nothing of the shell is linked in).
constexpr int kDocumentsFolderId = 0x0005;

// One filter; the literal's own NUL ends the list with the second NUL.
constexpr wchar_t kFilter[] = L"Config File(*.cfg)\0*.cfg\0";

const wchar_t* Title(ConfigFileDialogs::Kind kind, Language language) {
    const bool chinese = language == Language::Chinese;
    if (kind == ConfigFileDialogs::Kind::Save) return chinese ? L"导出配置" : L"Export Config";
    return chinese ? L"导入配置" : L"Import Config";
}

}  // namespace

ConfigFileDialogs::ConfigFileDialogs(HWND owner, std::function<Language()> language, std::string programFolder)
    : owner(owner), language(std::move(language)), programFolder(std::move(programFolder)) {}

bool ConfigFileDialogs::ChooseSavePath(std::string& path) { return Run(Kind::Save, path); }

bool ConfigFileDialogs::ChooseOpenPath(std::string& path) { return Run(Kind::Open, path); }

OPENFILENAMEW ConfigFileDialogs::Describe(Kind kind, wchar_t* path, const std::wstring& folder) const {
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = kPathUnits;
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = Title(kind, language());
    dialog.Flags = kind == Kind::Save ? OFN_OVERWRITEPROMPT | OFN_CREATEPROMPT | OFN_NOVALIDATE
                                      : OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    return dialog;
}

std::string ConfigFileDialogs::ProgramFolder() {
    const std::string module = Text::ModuleFileName(nullptr);
    // Without its name the dialog opens where it likes.
    if (module.empty()) return {};
    return FolderOfPath(module);
}

std::string ConfigFileDialogs::DocumentsFolder() {
    const FolderPathFn folderPath = LateFunction<FolderPathFn, kShellLibrary, kFolderPath>();
    wchar_t folder[MAX_PATH] = L"";
    if (folderPath == nullptr || FAILED(folderPath(nullptr, kDocumentsFolderId, nullptr, 0, folder))) return {};
    folder[MAX_PATH - 1] = L'\0';
    return Text::Narrow(folder);
}

bool ConfigFileDialogs::FolderWritable(const std::string& folder) {
    // Rights, ownership, read-only media and policies all decide, so the
    // question is asked by making a file, under a name of this process that
    // no other file has, deleted again as it is closed. (GetTempFileName is
    // no help: some systems report a name even when the file could not be
    // made.)
    if (folder.empty()) return false;
    std::string probe;
    return CreateNewFile(folder + "\\~cfg", FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, probe).valid();
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

void ConfigFileDialogs::Accept(const OPENFILENAMEW& answered, std::string& path) {
    if (answered.lpstrFile == nullptr || answered.nMaxFile == 0) return;
    answered.lpstrFile[answered.nMaxFile - 1] = L'\0';
    const std::wstring_view chosen(answered.lpstrFile);
    path = Text::Narrow(chosen);
    // The dialog gives the name's place in UTF-16 units; the folder is cut
    // at the same character of the UTF-8 path.
    const size_t offset = Text::Narrow(chosen.substr(0, std::min<size_t>(answered.nFileOffset, chosen.size()))).size();
    const std::string folder = FolderOfChosenPath(path, offset);
    if (!folder.empty()) lastUsed = folder;
}

bool ConfigFileDialogs::Run(Kind kind, std::string& path) {
    wchar_t chosen[kPathUnits] = L"";
    const std::wstring folder = Text::Widen(InitialFolder());
    OPENFILENAMEW dialog = Describe(kind, chosen, folder);
    const FileDialogFn show = kind == Kind::Save ? LateFunction<FileDialogFn, kDialogLibrary, kSaveDialog>()
                                                 : LateFunction<FileDialogFn, kDialogLibrary, kOpenDialog>();
    // Cancelled, or the dialog could not be shown (nor its library loaded).
    if (show == nullptr || !show(&dialog)) return false;
    Accept(dialog, path);
    return true;
}
