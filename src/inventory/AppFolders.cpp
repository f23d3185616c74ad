#include "inventory/AppFolders.h"

#include "common/PathUtils.h"
#include "common/Text.h"

namespace torvik {

std::wstring AppFolders::DesktopFolder() const {
    return env_.shell.SpecialFolderPath(Csidl::Desktop);
}
std::wstring AppFolders::ProgramFilesFolder() const {
    return env_.shell.SpecialFolderPath(Csidl::ProgramFiles);
}
std::wstring AppFolders::ApplicationDataFolder_Roaming() const {
    return env_.shell.SpecialFolderPath(Csidl::AppData);
}
std::wstring AppFolders::ApplicationDataFolder_Local() const {
    return env_.shell.SpecialFolderPath(Csidl::LocalAppData);
}
std::wstring AppFolders::StartMenuFolder() const {
    return env_.shell.SpecialFolderPath(Csidl::StartMenu);
}
std::wstring AppFolders::CommonStartMenuFolder() const {
    return env_.shell.SpecialFolderPath(Csidl::CommonStartMenu);
}
std::wstring AppFolders::QuickLaunchFolder() const {
    return MakeFn(ApplicationDataFolder_Roaming(), L"Microsoft\\Internet Explorer\\Quick Launch");
}

std::wstring AppFolders::TempFilesFolder() const {
    const std::wstring folder = MakeFn(ApplicationDataFolder_Local(), L"Temp\\TorvikSoftware");
    env_.fs.ForceDirectories(folder);
    return folder;
}

std::wstring AppFolders::ExpandLongNames(const std::wstring& folder) const {
    // folder ends in a backslash; the drive part before the first backslash
    // and the trailing backslash stay as they are.
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (size_t p = folder.find(L'\\'); p != std::wstring::npos; p = folder.find(L'\\', start)) {
        parts.push_back(folder.substr(start, p - start));
        start = p + 1;
    }
    if (start < folder.size()) {
        parts.push_back(folder.substr(start));
    }
    for (size_t k = parts.size(); k-- > 1;) {
        std::wstring partial = parts[0];
        for (size_t i = 1; i <= k; ++i) {
            partial += L'\\' + parts[i];
        }
        // A component that cannot be looked up (renamed meanwhile, or a
        // parent the user may not list) keeps the name it had: emptying it
        // would point the settings folder somewhere else entirely.
        if (const auto entry = env_.fs.FindEntry(partial)) {
            const std::wstring& longName = entry->name.empty() ? entry->shortName : entry->name;
            if (!longName.empty()) {
                parts[k] = longName;
            }
        }
    }
    std::wstring out = parts.empty() ? L"" : parts[0];
    for (size_t i = 1; i < parts.size(); ++i) {
        out += L'\\' + parts[i];
    }
    return out + L'\\';
}

std::wstring AppFolders::AppExePath() const {
    std::call_once(exePathOnce_, [this] {
        const std::wstring folder = ExtractFilePath(env_.processes.ExecutablePath());
        exePath_ = StartsWith(folder, L"\\\\") ? folder : ExpandLongNames(folder);
    });
    return exePath_;
}

std::wstring AppFolders::ExeFolderName() const {
    const std::wstring p = RemoveTrailingBackslash(AppExePath());
    return ExtractFileName(p).substr(0, 100);
}

std::wstring AppFolders::AppSettingsPath() const {
    if (env_.args.IsParam(L"noinstall")) {
        if (AppExeInProgramFiles()) {
            env_.dialogs.ShowMessage(
                L"You have specified \"noinstall\" while in \"c:\\program files\".\r\n"
                L"Some settings will be created in c:\\program files");
        }
        return AppExePath();
    }
    if (!AppExeInProgramFiles()) {
        return AppExePath();
    }
    const bool roaming = env_.fs.FileExists(env_.processes.ExecutablePath() + L".roaming");
    const std::wstring base =
        roaming ? ApplicationDataFolder_Roaming() : ApplicationDataFolder_Local();
    const std::wstring folder = ForceTrailingBackslash(MakeFn(base, ExeFolderName()));
    env_.fs.ForceDirectories(folder);
    return folder;
}

std::wstring AppFolders::InSettings(const std::wstring& name) const {
    if (StartsWith(name, L"\\\\") || (name.size() > 1 && name[1] == L':')) {
        return name;
    }
    return MakeFn(AppSettingsPath(), name);
}

std::wstring AppFolders::InTemp(const std::wstring& name) const {
    if (name.find_first_of(L":\\") != std::wstring::npos) {
        return name;
    }
    return MakeFn(TempFilesFolder(), name);
}

bool AppFolders::AppExeInProgramFiles() const {
    // An unresolvable Program Files folder is empty, and every path starts
    // with the empty string: that must not make every copy an installed one.
    const std::wstring programFiles = ProgramFilesFolder();
    return !programFiles.empty() &&
           StartsWith(LowerCaseAscii(AppExePath()), LowerCaseAscii(programFiles));
}

bool AppFolders::AppExeOnDesktop() const {
    const std::wstring lower = LowerCaseAscii(AppExePath());
    if (lower.find(L"desktop") == std::wstring::npos) {
        return false;
    }
    const size_t at = lower.find(L"\\desktop\\");
    return at != std::wstring::npos && at + 9 == lower.size();
}

bool AppFolders::RunningInstalled() const {
    return AppExeInProgramFiles() && AppExePath().find(L"pstools") == std::wstring::npos;
}

std::vector<std::wstring> AppFolders::GetDirectoryFilesNoPath(const std::wstring& folder,
                                                              const std::wstring& mask) const {
    std::vector<std::wstring> names;
    for (const auto& entry : env_.fs.FindFiles(folder, mask.empty() ? L"*.*" : mask)) {
        if (!entry.IsDirectory()) {
            names.push_back(entry.name);
        }
    }
    return names;
}

} // namespace torvik
