#include "radio/ConfigFileCommands.h"

#include <exception>

#include "radio/ConfigFile.h"
#include "radio/ConfigFileImport.h"
#include "radio/NewFile.h"
#include "radio/ProfileFolder.h"
#include "platform/Wide.h"

namespace {

ConfigFileIo& RealIo() {
    static ConfigFileIo io;
    return io;
}

// A file name in the folder that the path names its file in: "name" for a
// bare name, "C:name" for "C:x", "C:\name" for "C:\x", "C:\a\name" for "C:\a\x".
std::string Beside(const std::string& path, const std::string& name) {
    const std::string folder = FolderOfPath(path);
    if (folder.empty()) return name;
    const char last = folder.back();
    return last == '\\' || last == '/' || last == ':' ? folder + name : folder + "\\" + name;
}

// A uniquely named file beside the target that is deleted again unless it
// has been moved into the target's place.
class TemporaryFile {
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!path.empty()) ::DeleteFileW(Text::WidePath(path).c_str());
    }

    bool CreateBeside(const std::string& target) {
        return CreateNewFile(Beside(target, "cfg"), FILE_ATTRIBUTE_NORMAL, path).valid();
    }
    const std::string& Path() const { return path; }
    void Keep() { path.clear(); }

private:
    std::string path;
};

Outcome FileOutcome(bool succeeded, OutcomeAction action, const std::string& path) {
    Outcome o;
    o.action = action;
    if (!succeeded) {
        o.kind = OutcomeKind::FileError;
        o.detail = path;
    }
    return o;
}

}  // namespace

ConfigFileCommands::ConfigFileCommands(IFileChooser& chooser) : ConfigFileCommands(chooser, RealIo()) {}

ConfigFileCommands::ConfigFileCommands(IFileChooser& chooser, ConfigFileIo& io) : chooser(chooser), io(io) {}

std::optional<Outcome> ConfigFileCommands::exportConfig(const RadioSettings& settings) {
    std::string path;
    if (!chooser.ChooseSavePath(path)) return std::nullopt;
    const std::string target = WithConfigSuffix(path);
    bool saved = false;
    try {
        saved = SaveProfile(target, ExportConfigLines(settings));
    } catch (const std::exception&) {
        saved = false;  // out of memory: nothing was replaced
    }
    return FileOutcome(saved, OutcomeAction::Export, target);
}

std::optional<Outcome> ConfigFileCommands::importConfig(RadioSettings& settings) {
    std::string path;
    if (!chooser.ChooseOpenPath(path)) return std::nullopt;
    return FileOutcome(LoadProfile(path, settings), OutcomeAction::Import, path);
}

bool ConfigFileCommands::SaveProfile(const std::string& target, const std::vector<std::string>& lines) {
    TemporaryFile temporary;
    if (!temporary.CreateBeside(target)) return false;
    if (!WriteLines(temporary.Path(), lines)) return false;
    if (!io.Replace(temporary.Path(), target)) return false;
    temporary.Keep();
    return true;
}

bool ConfigFileCommands::CanSaveProfile(const std::string& target) {
    const DWORD attributes = ::GetFileAttributesW(Text::WidePath(target).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return false;
        // Replacing the file needs what this asks for: delete access.
        const UniqueFile held(::CreateFileW(Text::WidePath(target).c_str(), DELETE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
        if (!held) return false;
    }
    TemporaryFile probe;
    return probe.CreateBeside(target);
}

bool ConfigFileCommands::CanSaveInFolderOf(const std::string& target) {
    TemporaryFile probe;
    return probe.CreateBeside(target);
}

bool ConfigFileCommands::WriteLines(const std::string& path, const std::vector<std::string>& lines) {
    UniqueFile file(::CreateFileW(Text::WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    for (const std::string& line : lines) {
        if (line.size() > MAXDWORD || !io.Write(file.get(), line.data(), static_cast<DWORD>(line.size()))) return false;
    }
    return io.Flush(file.get()) && io.Close(file);
}

bool ConfigFileCommands::LoadProfile(const std::string& path, RadioSettings& settings) {
    // Shared like a C runtime fopen, so that a profile open in an editor
    // still imports.
    UniqueFile file(::CreateFileW(Text::WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    ApplyFile(file.get(), settings);
    return true;
}

void ConfigFileCommands::ApplyFile(HANDLE file, RadioSettings& settings) {
    ConfigFileImport import(settings);
    char buffer[4096];
    DWORD got = 0;
    while (io.Read(file, buffer, sizeof buffer, got)) {
        if (got == 0) {
            import.Finish();
            return;
        }
        import.Feed(buffer, got);
    }
}
