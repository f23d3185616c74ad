#include "inventory/SettingsTransfer.h"

#include "common/PathUtils.h"
#include "common/Text.h"

namespace torvik {

bool SettingsTransfer::IsCandidate(const std::wstring& name) {
    const std::wstring lower = LowerCaseAscii(name);
    if (lower.find(L"bugreport.txt") != std::wstring::npos) {
        return false;
    }
    for (const wchar_t* fragment : {L".ini", L".log", L".txt", L".db", L".positions"}) {
        if (lower.find(fragment) != std::wstring::npos) {
            return true;
        }
    }
    return false;
}

void SettingsTransfer::TransferSettingsFromProgramFilesToLocalSettings() {
    if (done_.exchange(true)) {
        return;
    }
    const AppEnvironment& env = folders_.Env();
    env.fs.ChangeCurrentDirectory(folders_.AppSettingsPath());
    if (!folders_.RunningInstalled()) {
        return;
    }
    const std::wstring src = folders_.AppExePath();
    if (!folders_.AppExeInProgramFiles()) {
        env.dialogs.ShowMessage(L"Call to TransferSettingsFromProgramFilesToLocalSettings "
                                L"detected, but the program is running from " +
                                src);
        return;
    }
    const std::wstring dst = ForceTrailingBackslash(
        MakeFn(folders_.ApplicationDataFolder_Local(), folders_.ExeFolderName()));

    std::vector<std::wstring> candidates;
    for (const auto& name : folders_.GetDirectoryFilesNoPath(src, L"*.*")) {
        if (IsCandidate(name)) {
            candidates.push_back(name);
        }
    }
    if (candidates.empty()) {
        return;
    }

    if (!folders_.AppHasAdminPrivileges() && !env.args.IsParam(L"is_admin")) {
        const bool ok =
            env.dialogs.AskOkCancel(0,
                                    L"The program requires administrator privileges.\r\n"
                                    L"Click OK to restart the program as an administrator.",
                                    L"");
        if (ok) {
            env.processes.RunElevated(env.processes.ExecutablePath(), L"",
                                      mainWindow_ ? mainWindow_() : 0);
        }
        env.processes.ExitProcess(0);
    }

    env.fs.ForceDirectories(dst);
    std::wstring list;
    for (const auto& name : candidates) {
        list += name + L"\r\n";
    }
    env.dialogs.ShowMessage(L"The following files will be transferred from " + src + L"\r\n" +
                            L"to: " + dst + L"\r\n" + list);
    for (const auto& name : candidates) {
        MoveFile(src, dst, name);
    }
}

void SettingsTransfer::MoveFile(const std::wstring& src, const std::wstring& dst,
                                const std::wstring& name) {
    const AppEnvironment& env = folders_.Env();
    const std::wstring s = MakeFn(src, name);
    const std::wstring d = MakeFn(dst, name);
    if (env.fs.FileExists(d)) {
        if (!env.dialogs.AskOkCancel(
                0, L"Overwrite destination file " + d + L"? (already exists in " + dst + L")",
                L"")) {
            return;
        }
        env.fs.RemoveFile(d);
    }
    if (env.fs.FileExists(d)) {
        env.dialogs.ShowMessage(L"Destination file " + d + L" already exists in " + dst);
        return;
    }
    env.fs.ForceDirectories(ExtractFilePath(d));
    // Only a copy that reported success may cost the original: a failed copy
    // can leave a truncated destination behind.
    const bool copied = env.fs.CopyOneFile(s, d);
    if (copied && env.fs.FileExists(d)) {
        env.fs.RemoveFile(s);
    }
    if (env.fs.FileExists(s)) {
        env.dialogs.ShowMessage(L"Could not move file " + s);
    }
}

} // namespace torvik
