// The scan of a generated profile: 1,000 shortcuts to 500 executables in a
// Start Menu, a common Start Menu, Quick Launch and a desktop. Times a cold
// scan (empty cached library) and a warm rescan (the library saved by the
// cold scan, loaded as at start-up), each against a floor measured in the
// same run: listing the same folders and reading the bytes of the same
// shortcuts and executables, without parsing anything.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/ProcessFlags.h"
#include "common/Utf8.h"
#include "inventory/FileDates.h"
#include "inventory/ScanPipeline.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Locale.h"
#include "platform/win32/Win32ShellLinks.h"
#include "platform/win32/Win32VersionInfo.h"

namespace {

using namespace torvik;
using Clock = std::chrono::steady_clock;

constexpr int kExecutables = 500;

class NoView : public ProgramListViewRefill {
public:
    void BeginUpdate() override {}
    void ClearItems() override {}
    void RefillProgramList() override {}
    void EndUpdate() override {}
};

class Hooks : public ScanHooks {
public:
    NoView view;
    int errors = 0;
    void WaitLoopTurn() override {}
    void PopupMsg(const std::wstring&) override {}
    std::vector<std::wstring> ExclusionLines() override { return {L"zip"}; }
    ProgramListViewRefill& ProgramListView() override { return view; }
    void ReportWorkerError(const std::wstring&) override { ++errors; }
    void ApplyLastReplyToTempList() override {}
    void RunVersionCheckAndPublish() override {}
};

std::wstring Number(int i) {
    wchar_t buf[8];
    std::swprintf(buf, 8, L"%03d", i);
    return buf;
}

std::wstring BesideExe(const std::wstring& relative) {
    wchar_t buf[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, buf, MAX_PATH);
    const std::wstring path = buf;
    return path.substr(0, path.find_last_of(L'\\') + 1) + relative;
}

struct Profile {
    std::wstring root;
    ShortcutFolders folders;
    std::vector<std::wstring> exes;
};

bool Generate(win32::Win32FileSystem& fs, const win32::Win32ShellLinks& links, Profile& p) {
    const std::wstring fixture = BesideExe(L"..\\tests\\win\\fixtures\\scanfix_app.exe");
    if (!fs.FileExists(fixture)) {
        std::fprintf(stderr, "fixture missing: %s\n", StringToUtf8(fixture).c_str());
        return false;
    }
    p.folders = {p.root + L"\\Start Menu", p.root + L"\\Common Start Menu",
                 p.root + L"\\Quick Launch", p.root + L"\\Desktop"};
    for (int i = 0; i < kExecutables; ++i) {
        const std::wstring folder = p.root + L"\\Apps\\App " + Number(i);
        const std::wstring exe = folder + L"\\app" + Number(i) + L".exe";
        fs.ForceDirectories(folder);
        if (!fs.CopyOneFile(fixture, exe)) {
            return false;
        }
        p.exes.push_back(exe);
        // Two shortcuts per program, as installers leave them: one in a
        // Start Menu, one on the desktop, in Quick Launch or in a second
        // Start Menu group.
        const std::wstring name = L"App " + Number(i) + L".lnk";
        const std::wstring group = L"\\Programs\\Group " + Number(i / 20) + L"\\";
        const std::wstring first =
            i < 300 ? p.folders.StartMenu + group : p.folders.CommonStartMenu + group;
        const std::wstring second = i < 100   ? p.folders.Desktop + L"\\"
                                    : i < 200 ? p.folders.QuickLaunch + L"\\"
                                              : p.folders.StartMenu + L"\\More" + group;
        for (const auto& dir : {first, second}) {
            fs.ForceDirectories(dir);
            if (!links.Create(dir + name, {exe, L"", folder})) {
                return false;
            }
        }
    }
    return true;
}

// Lists the folders as the scan does and reads every byte of the files the
// scan opens.
size_t Floor(const win32::Win32FileSystem& fs, const Profile& p) {
    size_t bytes = 0;
    std::function<void(const std::wstring&, bool)> walk = [&](const std::wstring& dir,
                                                              bool recursive) {
        for (const auto& entry : fs.FindFiles(dir, L"*.*")) {
            if (entry.IsDirectory()) {
                if (recursive) {
                    walk(dir + L"\\" + entry.name, true);
                }
            } else if (const auto data = fs.ReadFile(dir + L"\\" + entry.name)) {
                bytes += data->size();
            }
        }
    };
    walk(p.folders.StartMenu, true);
    walk(p.folders.CommonStartMenu, true);
    walk(p.folders.QuickLaunch, true);
    walk(p.folders.Desktop, false);
    for (const auto& exe : p.exes) {
        if (const auto data = fs.ReadFile(exe)) {
            bytes += data->size();
        }
    }
    return bytes;
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

struct Round {
    double floor, cold, warm;
};

} // namespace

int wmain() {
    win32::Win32FileSystem fs;
    win32::Win32ShellLinks links;
    win32::Win32VersionInfo versions;
    win32::Win32TimeZone zone;
    PlatformExecutableFacts facts(fs, versions, zone);
    Hooks hooks;
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    Profile profile;
    profile.root =
        std::wstring(temp) + L"torvik-scan-bench-" + std::to_wstring(::GetCurrentProcessId());
    std::printf("generating %d executables and %d shortcuts...\n", kExecutables, 2 * kExecutables);
    if (!Generate(fs, links, profile)) {
        std::fprintf(stderr, "could not generate the profile\n");
        std::filesystem::remove_all(profile.root);
        return 1;
    }
    const ScanServices services{fs, links, facts,
                                [&zone](uint64_t ft) { return FileTimeToDateTime(zone, ft); },
                                win32::WindowsDirectory()};
    const std::wstring cacheFile = profile.root + L"\\updater_cache.db";

    std::vector<Round> rounds;
    bool ok = true;
    for (int round = 0; round < 5 && ok; ++round) {
        Round r{};
        auto start = Clock::now();
        const size_t bytes = Floor(fs, profile);
        r.floor = Seconds(Clock::now() - start);

        fs.RemoveFile(cacheFile);
        for (const bool warm : {false, true}) {
            ProgramLists lists;
            TCachedLibrary cache(fs, facts);
            cache.FileName = cacheFile;
            cache.LoadCachedLibrary();
            ScanPipeline pipeline(services, lists, cache, hooks);
            pipeline.Folders = profile.folders;
            start = Clock::now();
            ok = pipeline.RescanPrograms() && ok;
            (warm ? r.warm : r.cold) = Seconds(Clock::now() - start);
            const bool allRead = std::all_of(
                lists.ProgramList.begin(), lists.ProgramList.end(),
                [](const auto& rec) { return rec->TargetExeVersion == L"1.2.3 build:4"; });
            if (lists.ProgramList.size() != kExecutables || !allRead || hooks.errors != 0 ||
                cache.Rows().size() != kExecutables || (warm && cache.CacheModified)) {
                std::fprintf(stderr, "unexpected scan result: %zu programs\n",
                             lists.ProgramList.size());
                ok = false;
            }
            pipeline.SaveCacheAtClose();
            AppClosing = false;
        }
        std::printf("round %d: floor %.1f ms (%zu bytes), cold %.1f ms, warm %.1f ms\n", round + 1,
                    r.floor * 1000, bytes, r.cold * 1000, r.warm * 1000);
        rounds.push_back(r);
    }
    std::filesystem::remove_all(profile.root);
    if (!ok) {
        return 1;
    }
    // The median round by floor time, so that one noisy round does not decide.
    std::sort(rounds.begin(), rounds.end(),
              [](const Round& a, const Round& b) { return a.floor < b.floor; });
    const Round& m = rounds[rounds.size() / 2];
    std::printf("median round: cold scan %.2fx the floor, warm rescan %.2fx the floor "
                "(goal: warm within 2x)\n",
                m.cold / m.floor, m.warm / m.floor);
    return 0;
}
