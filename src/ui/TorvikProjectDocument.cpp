// The document side of the settings store: windows that open, save and close
// named project files, one window per file, asking before changes are lost.
#include <algorithm>
#include <cwctype>

#include "common/DateText.h"
#include "common/PathUtils.h"
#include "common/Text.h"
#include "ui/TorvikProject.h"

namespace torvik {
namespace {

std::wstring TwoDigits(int n) {
    return (n < 10 ? L"0" : L"") + std::to_wstring(n);
}

// A name with a blank goes to the comparison program in double quotes.
std::wstring Quoted(const std::wstring& name) {
    return name.find(L' ') == std::wstring::npos ? name : L"\"" + name + L"\"";
}

} // namespace

std::wstring ProjectFilter(const std::wstring& filter, const std::wstring& extension) {
    std::wstring out = filter.empty() ? L"Projects" : filter;
    if (out.find(L'|') == std::wstring::npos) {
        out += L"|*." + extension;
    }
    return ReplaceAll(out, L"..", L".");
}

std::vector<std::wstring> QualifySectionLines(const std::vector<std::wstring>& lines) {
    std::vector<std::wstring> out;
    std::wstring header;
    for (const auto& line : lines) {
        if (StartsWith(line, L"[")) {
            header = line;
            out.push_back(line);
        } else {
            out.push_back(header + line);
        }
    }
    return out;
}

bool SameSettingsFiles(const ProjectServices& services, const std::wstring& a,
                       const std::wstring& b, bool sort) {
    auto linesOf = [&](const std::wstring& path) {
        auto lines = QualifySectionLines(
            LoadLinesRetrying(services, path).value_or(std::vector<std::wstring>{}));
        if (sort) {
            std::sort(lines.begin(), lines.end());
        }
        return JoinLines(lines);
    };
    return linesOf(a) == linesOf(b);
}

std::wstring ProjectMutexName(const std::wstring& projectName) {
    std::wstring name = projectName;
    if (name.find(L"Global\\") == std::wstring::npos) {
        name = L"Global\\" + name;
    }
    name = LowerCaseAscii(name);
    name[0] = L'G';
    return name;
}

bool IsValidProjectName(const std::wstring& name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](wchar_t c) {
        return (c < 128 && std::iswalnum(static_cast<wint_t>(c))) || c == L'-' || c == L'_' ||
               c == L'~';
    });
}

std::wstring ChangeDetectionFileName(const std::wstring& tempFolder, unsigned processId,
                                     double now) {
    const DateTimeParts t = DecodeDateTime(now);
    std::wstring ms = std::to_wstring(t.millisecond);
    ms.insert(0, 3 - std::min<size_t>(3, ms.size()), L'0');
    const std::wstring stamp = std::to_wstring(t.year) + TwoDigits(t.month) + TwoDigits(t.day) +
                               L"_" + TwoDigits(t.hour) + TwoDigits(t.minute) +
                               TwoDigits(t.second) + L"_" + ms;
    const std::wstring stem = L"intermediate-" + std::to_wstring(processId);
    return tempFolder + stem + (EndsWith(stem, L"_") ? L"" : L"_") + stamp + L".ini";
}

bool TTorvikProject::AcquireProjectMutex(const std::wstring& projectName) {
    ReleaseProjectMutex();
    if (projectName.empty()) {
        services_.showMessage(L"Mutex name cannot be empty.");
        return false;
    }
    const std::wstring name = ProjectMutexName(projectName);
    if (!documents_.mutexExists || !documents_.holdMutex) {
        return true; // a window without document services shares nothing
    }
    if (documents_.mutexExists(name)) {
        services_.showMessage(L"Could not create mutex: " + name);
        return false;
    }
    holdingMutex_ = documents_.holdMutex(name);
    return holdingMutex_;
}

void TTorvikProject::ReleaseProjectMutex() {
    if (holdingMutex_ && documents_.releaseMutex) {
        documents_.releaseMutex();
    }
    holdingMutex_ = false;
}

bool TTorvikProject::IsProjectChanged() {
    if (projectFn_.empty() || ContainsTextAscii(projectFn_, L"empty.ini")) {
        return false;
    }
    if (!services_.fs.FileExists(projectFn_) || modified) {
        return true;
    }
    const std::wstring copy = ChangeDetectionFileName(documents_.tempFolder, documents_.processId,
                                                      documents_.now ? documents_.now() : 0);
    if (!services_.fs.WriteFileAtomic(copy, EncodeTextFile(ProjectText()))) {
        return false; // cannot tell: do not ask about it
    }
    const bool same = SameSettingsFiles(services_, copy, projectFn_, true);
    services_.fs.RemoveFile(copy);
    return !same;
}

bool TTorvikProject::ProjectCanClose() {
    if (ignoreChangesOnExit || projectFn_.empty() || !IsProjectChanged()) {
        return true;
    }
    if (forceSaveChanges) {
        SaveProjectX();
        return true;
    }
    const DocumentAnswer answer =
        documents_.askYesNoCancel
            ? documents_.askYesNoCancel(
                  L"Project " + projectName_ + L" has changed. Save changes?" +
                  L"\r\r(Press Shift-Cancel to examine differences in Winmerge)")
            : DocumentAnswer::Cancel;
    switch (answer) {
    case DocumentAnswer::Yes:
        SaveProjectX();
        return true;
    case DocumentAnswer::No:
        modified = false;
        return true;
    case DocumentAnswer::Cancel:
        break;
    }
    if (documents_.shiftHeld && documents_.shiftHeld()) {
        ShowDifferences();
    }
    return false;
}

void TTorvikProject::ShowDifferences() {
    const std::wstring copy = documents_.tempFolder + L"intermediate.ini";
    services_.fs.WriteFileAtomic(copy, EncodeTextFile(ProjectText()));
    for (const auto& file : {projectFn_, copy}) {
        if (!services_.fs.FileExists(file)) {
            services_.showMessage(L"file not found\r\r" + file);
            return;
        }
    }
    if (documents_.run) {
        documents_.run(L"winmerge", Quoted(projectFn_) + L" " + Quoted(copy));
    }
}

bool TTorvikProject::LoadProject(const std::wstring& fileName) {
    if (!ProjectCanClose()) {
        return false;
    }
    OpenProjectFile(fileName);
    return true;
}

bool TTorvikProject::LoadProject() {
    if (!ProjectCanClose() || !documents_.openFile) {
        return false;
    }
    const auto chosen =
        documents_.openFile(ProjectFilter(filter, extension_), L"*" + extension_, settingsFolder_);
    if (!chosen) {
        return false;
    }
    if (!services_.fs.FileExists(*chosen)) {
        services_.showMessage(L"Project " + ExtractFileName(*chosen) + L" not found");
        return false;
    }
    OpenProjectFile(*chosen);
    return true;
}

void TTorvikProject::SaveProjectAs() {
    if (!documents_.saveFile) {
        return;
    }
    const std::wstring folder = documents_.currentDirectory ? documents_.currentDirectory() : L"";
    auto chosen = documents_.saveFile(ProjectFilter(filter, extension_), L"*" + extension_, folder);
    if (!chosen) {
        return;
    }
    if (ExtractFileExt(*chosen).empty()) {
        *chosen += extension_;
    }
    const std::wstring previous = projectFn_;
    projectFn_ = *chosen;
    // A file made for a document that never got any values goes.
    if (!previous.empty() && previous != projectFn_ && services_.fs.FileExists(previous) &&
        services_.fs.ReadFile(previous).value_or("x").empty()) {
        services_.fs.RemoveFile(previous);
    }
    SaveProjectX();
    OpenProjectFile(projectFn_);
}

void TTorvikProject::NewProject() {
    if (!ProjectCanClose()) {
        return;
    }
    CloseProject(false);
    const std::wstring folder = documents_.currentDirectory ? documents_.currentDirectory() : L"";
    ApplySettingsFile(folder + L"empty.ini");
    modified = false;
    if (!documents_.inputBox) {
        return;
    }
    while (const auto name = documents_.inputBox(L"Enter new project name:", L"New project")) {
        if (!IsValidProjectName(*name)) {
            services_.showMessage(L"Please enter a valid project name, without an extension.");
            continue;
        }
        const std::wstring file = settingsFolder_ + *name + extension_;
        if (services_.fs.FileExists(file)) {
            services_.showMessage(L"Project " + *name + L" already exists");
            continue;
        }
        OpenProjectFile(file);
        return;
    }
}

void TTorvikProject::CloseProject(bool ignoreChanges) {
    if (!ignoreChanges && !ProjectCanClose()) {
        return;
    }
    ReleaseProjectMutex();
    modified = false;
    OpenProjectFile(L"");
    if (onProjectClose) {
        onProjectClose();
    }
}

void TTorvikProject::SetSessionProject(const std::wstring& oldFileName) {
    forceSaveChanges = true;
    forceNocaptionchange = true;
    forceNomutex = true;
    sessionMode_ = true;
    autoSave = true;
    if (!oldFileName.empty() && services_.fs.FileExists(oldFileName)) {
        auto session = LoadLinesRetrying(services_, files_.session);
        const auto old = LoadLinesRetrying(services_, oldFileName);
        if (session && old) {
            session->emplace_back();
            session->insert(session->end(), old->begin(), old->end());
            if (SaveLinesRetrying(services_, files_.session, *session)) {
                services_.fs.RemoveFile(oldFileName);
            }
        }
    }
    OpenProjectFile(files_.session);
}

} // namespace torvik
