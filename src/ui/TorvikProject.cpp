#include "ui/TorvikProject.h"

#include "common/Error.h"
#include "common/PathUtils.h"
#include "common/Text.h"
#include "inventory/FileDates.h"
#include "protocol/IniSections.h"

namespace torvik {
namespace {

constexpr int kAttempts = 11;
constexpr unsigned kLineRetryMs = 200;
constexpr unsigned kWholeTextRetryMs = 1000;

// The executable's name with every ".exe" (any letter case) replaced.
std::wstring ReplaceExe(const std::wstring& exeName, const std::wstring& with) {
    std::wstring out;
    const std::wstring lower = LowerCaseAscii(exeName);
    size_t from = 0;
    for (size_t at = lower.find(L".exe"); at != std::wstring::npos;
         at = lower.find(L".exe", from)) {
        out += exeName.substr(from, at - from) + with;
        from = at + 4;
    }
    return out + exeName.substr(from);
}

std::optional<std::string> ReadRetrying(const ProjectServices& services, const std::wstring& path,
                                        unsigned waitMs) {
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        if (auto bytes = services.fs.ReadFile(path)) {
            return bytes;
        }
        if (attempt < kAttempts) {
            services.sleep(waitMs);
        }
    }
    return std::nullopt;
}

} // namespace

ProjectFileNames ProjectFileNamesFor(const std::wstring& settingsFolder,
                                     const std::wstring& exeName) {
    return {settingsFolder + ReplaceExe(exeName, L".ini"),
            settingsFolder + ReplaceExe(exeName, L".Session.ini"),
            settingsFolder + ReplaceAll(LowerCaseAscii(exeName), L".exe", L".positions.ini")};
}

std::optional<std::vector<std::wstring>> LoadLinesRetrying(const ProjectServices& services,
                                                           const std::wstring& path) {
    if (!services.fs.FileExists(path)) {
        return std::vector<std::wstring>{};
    }
    const auto bytes = ReadRetrying(services, path, kLineRetryMs);
    if (!bytes) {
        return std::nullopt;
    }
    return SplitTextLines(DecodeTextFile(*bytes, services.unmarked));
}

bool SaveLinesRetrying(const ProjectServices& services, const std::wstring& path,
                       const std::vector<std::wstring>& lines) {
    const std::string bytes = EncodeTextFile(lines);
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        if (services.fs.WriteFileAtomic(path, bytes)) {
            return true;
        }
        if (attempt < kAttempts) {
            services.sleep(kLineRetryMs);
        }
    }
    return false;
}

TTorvikProject::TTorvikProject(ProjectOwner& owner, ProjectServices services,
                               std::wstring settingsFolder, const std::wstring& exeName,
                               std::vector<std::wstring> propertiesList)
    : owner_(owner), services_(std::move(services)), settingsFolder_(std::move(settingsFolder)),
      propertiesList_(std::move(propertiesList)),
      files_(ProjectFileNamesFor(settingsFolder_, exeName)) {
    FixNameCaseOnDisk(files_.session);
    MergeLegacyPositions();
}

void TTorvikProject::FixNameCaseOnDisk(const std::wstring& path) {
    const auto entry = services_.fs.FindEntry(path);
    const std::wstring wanted = ExtractFileName(path);
    if (!entry || entry->IsDirectory() || entry->name == wanted ||
        !SameTextAscii(entry->name, wanted)) {
        return;
    }
    // A rename to a name differing only in letter case would be a no-op on
    // a file system that ignores case: go through another name.
    const std::wstring temp = path + L".temp";
    if (services_.fs.MoveOneFile(path, temp)) {
        services_.fs.MoveOneFile(temp, path);
    }
}

// Older versions kept the window's place in a file of its own.
void TTorvikProject::MergeLegacyPositions() {
    if (!services_.fs.FileExists(files_.legacyPositions)) {
        return;
    }
    const auto legacy = ReadRetrying(services_, files_.legacyPositions, kWholeTextRetryMs);
    if (!legacy) {
        throw TorvikError(L"ReadFromFile_s_5x failed: " + files_.legacyPositions);
    }
    auto session = LoadLinesRetrying(services_, files_.session);
    if (!session) {
        throw TorvikError(L"ReadFromFile_s_5x failed: " + files_.session);
    }
    session->insert(session->begin(),
                    {kFormPositionSection, Trim(DecodeTextFile(*legacy, services_.unmarked))});
    // The legacy file goes only once its content is safe in the session file.
    if (SaveLinesRetrying(services_, files_.session, *session)) {
        services_.fs.RemoveFile(files_.legacyPositions);
    }
}

SettingsContext TTorvikProject::Context() {
    return SettingsContext{owner_.Controls(), services_.showMessage, services_.today()};
}

double TTorvikProject::FileTime(const std::wstring& path) const {
    return FileDateTime(services_.fs, services_.zone, path);
}

void TTorvikProject::HandleFormShow() {
    if (formInitialized_) {
        return;
    }
    formInitialized_ = true;
    SetSingleProject();
    FormSize_Load();
}

bool TTorvikProject::HandleFormCloseQuery() {
    if (autoSave) {
        if (onProjectBeforeSave) {
            onProjectBeforeSave();
        }
        if (flagSaveAlways || sessionMode_ || IsProjectChanged()) {
            SaveProjectX();
        }
    }
    FormSize_Save();
    return !IsMultiProject() || ProjectCanClose();
}

void TTorvikProject::SetSingleProject() {
    if (singleProjectInitialized_) {
        services_.showMessage(L"setSingleProjectInitialized");
        return;
    }
    singleProjectInitialized_ = true;
    autoSave = false;
    singleMode_ = true;
    FixNameCaseOnDisk(files_.settings);
    OpenProjectFile(files_.settings);
}

void TTorvikProject::OpenProjectFile(std::wstring fileName) {
    if (fileName.empty()) {
        // No document: the controls are emptied and nothing is open.
        ReleaseProjectMutex();
        projectFn_.clear();
        projectName_.clear();
        lastLoadedFileDt_ = 0;
        ApplySettingsFile(fileName);
        return;
    }
    if (ExtractFileExt(fileName).empty()) {
        fileName += extension_;
    }
    if (fileName.size() > 1 && fileName[1] != L':' && !StartsWith(fileName, L"\\\\")) {
        fileName = settingsFolder_ + fileName;
    }
    const std::wstring name = ReplaceAll(ExtractFileName(fileName), extension_, L"");
    if (IsMultiProject() && !forceNomutex && !AcquireProjectMutex(name)) {
        services_.showMessage(L"Project " + name + L" is already open");
        return;
    }
    projectFn_ = fileName;
    projectName_ = name;
    lastLoadedFileDt_ = FileTime(fileName);
    ApplySettingsFile(fileName);
    if (!services_.fs.FileExists(fileName) && onSetProjectDefaultValues) {
        onSetProjectDefaultValues();
    }
    if (IsMultiProject() && !forceNocaptionchange && documents_.setCaption) {
        documents_.setCaption(captionHeader.empty() ? L"Project: " + projectName_
                                                    : captionHeader + L", " + projectName_);
    }
    if (!projectName_.empty() && onProjectLoad) {
        onProjectLoad();
    }
}

void TTorvikProject::ApplySettingsFile(const std::wstring& fileName) {
    const auto lines =
        fileName.empty() ? std::vector<std::wstring>{} : LoadLinesRetrying(services_, fileName);
    unreadableOnLoad_ = !lines;
    SettingsContext context = Context();
    ApplySettingsText(lines.value_or(std::vector<std::wstring>{}), propertiesList_, context,
                      IsMultiProject() ? MissingEntries::SetEmpty : MissingEntries::KeepDefault);
}

std::vector<std::wstring> TTorvikProject::ProjectText() {
    SettingsContext context = Context();
    std::vector<std::wstring> lines = BuildSettingsText(propertiesList_, context);
    if (sessionMode_) {
        const auto session = LoadLinesRetrying(services_, files_.session);
        const std::wstring place =
            IniSectionValue(kFormPositionSection, session.value_or(std::vector<std::wstring>{}));
        lines.insert(lines.begin(), {kFormPositionSection, place});
    }
    return lines;
}

void TTorvikProject::SaveProjectX() {
    if (projectFn_.empty()) {
        if (IsMultiProject()) {
            SaveProjectAs();
        }
        return; // settings not loaded yet: nothing of the user's to keep
    }
    if (!autoSave && onProjectBeforeSave) {
        onProjectBeforeSave();
    }
    bool written = false;
    if (!unreadableOnLoad_) {
        written = SaveLinesRetrying(services_, projectFn_, ProjectText());
        modified = false;
        lastLoadedFileDt_ = FileTime(projectFn_);
    }
    if (!written || FileSize(services_.fs, projectFn_) <= 0) {
        services_.showError(L"Saving to " + projectFn_ + L" FAILED");
    }
    if (onProjectSave) {
        onProjectSave();
    }
}

bool TTorvikProject::ReloadProject() {
    if (projectFn_.empty() || !services_.fs.FileExists(projectFn_)) {
        lastLoadedFileDt_ = 0;
        return false;
    }
    lastLoadedFileDt_ = FileTime(projectFn_);
    ApplySettingsFile(projectFn_);
    return true;
}

bool TTorvikProject::ProjectModifiedExternally() const {
    return !projectFn_.empty() && services_.fs.FileExists(projectFn_) &&
           !SameDates_daylight_1s(FileTime(projectFn_), lastLoadedFileDt_);
}

void TTorvikProject::FormSize_Save() {
    if (!saveFormSize) {
        return;
    }
    const auto value = FormPositionValue(owner_.Placement(), owner_.PrimaryWorkArea());
    if (!value) {
        return;
    }
    // An unreadable session file is left as it is rather than replaced by
    // this one value.
    auto lines = LoadLinesRetrying(services_, files_.session);
    if (!lines) {
        return;
    }
    ReplaceIniSectionInternal(kFormPositionSection, *lines, {*value});
    SaveLinesRetrying(services_, files_.session, *lines);
}

void TTorvikProject::FormSize_Load() {
    if (!saveFormSize) {
        return;
    }
    const auto lines = LoadLinesRetrying(services_, files_.session);
    const std::wstring value =
        IniSectionValue(kFormPositionSection, lines.value_or(std::vector<std::wstring>{}));
    owner_.Place(PlacementFromValue(value, owner_.PrimaryWorkArea()));
}

} // namespace torvik
