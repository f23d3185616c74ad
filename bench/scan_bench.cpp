// The scan of a generated profile: 1,000 shortcuts to 500 executables in a
// Start Menu, a common Start Menu, Quick Launch and a desktop. Times a cold
// scan (empty cached library) and a warm rescan (the library saved by the
// cold scan, loaded as at start-up), each against floors measured in the
// same run:
//  - the tight floor, what any scan must do at least: list the same folders,
//    read each shortcut file, and read each executable's version resource
//    (the headers and resource bytes the version API reads);
//  - the full-read floor of earlier runs: list the folders and read every
//    byte of every shortcut and executable.
//
//   scan_bench [--executables N] [--rounds R]
//
// scripts/test runs a small size as a smoke test, whose result checks fail
// the run; the full size is run by hand (bench/README.md).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
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
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32VersionInfo.h"

namespace {

using namespace torvik;
using Clock = std::chrono::steady_clock;

struct Size {
    int executables = 500;
    int rounds = 5;
};

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

bool Generate(win32::Win32FileSystem& fs, const win32::Win32ShellLinks& links, int count,
              Profile& p) {
    const std::wstring fixture = BesideExe(L"..\\tests\\win\\fixtures\\scanfix_app.exe");
    if (!fs.FileExists(fixture)) {
        std::fprintf(stderr, "fixture missing: %s\n", StringToUtf8(fixture).c_str());
        return false;
    }
    p.folders = {p.root + L"\\Start Menu", p.root + L"\\Common Start Menu",
                 p.root + L"\\Quick Launch", p.root + L"\\Desktop"};
    for (int i = 0; i < count; ++i) {
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
        const int fifth = i * 5 / count;
        const std::wstring first =
            fifth < 3 ? p.folders.StartMenu + group : p.folders.CommonStartMenu + group;
        const std::wstring second = fifth < 1   ? p.folders.Desktop + L"\\"
                                    : fifth < 2 ? p.folders.QuickLaunch + L"\\"
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

// Lists the folders as the scan does and calls visit for every shortcut.
void ListShortcuts(const win32::Win32FileSystem& fs, const Profile& p,
                   const std::function<void(const std::wstring&)>& visit) {
    std::function<void(const std::wstring&, bool)> walk = [&](const std::wstring& dir,
                                                              bool recursive) {
        for (const auto& entry : fs.FindFiles(dir, L"*.*")) {
            if (!entry.IsDirectory()) {
                visit(dir + L"\\" + entry.name);
            } else if (recursive) {
                walk(dir + L"\\" + entry.name, true);
            }
        }
    };
    walk(p.folders.StartMenu, true);
    walk(p.folders.CommonStartMenu, true);
    walk(p.folders.QuickLaunch, true);
    walk(p.folders.Desktop, false);
}

// The tight floor: the listing, every shortcut's bytes and every
// executable's version resource. Returns the bytes read.
size_t TightFloor(const win32::Win32FileSystem& fs, const Profile& p) {
    size_t bytes = 0;
    ListShortcuts(fs, p, [&](const std::wstring& file) {
        if (const auto data = fs.ReadFile(file)) {
            bytes += data->size();
        }
    });
    std::vector<char> buffer;
    for (const auto& exe : p.exes) {
        DWORD handle = 0;
        const DWORD size = ::GetFileVersionInfoSizeW(exe.c_str(), &handle);
        buffer.resize(size);
        if (size != 0 && ::GetFileVersionInfoW(exe.c_str(), 0, size, buffer.data())) {
            bytes += size;
        }
    }
    return bytes;
}

// The full-read floor: the listing and every byte of every file.
size_t FullReadFloor(const win32::Win32FileSystem& fs, const Profile& p) {
    size_t bytes = 0;
    const auto read = [&](const std::wstring& file) {
        if (const auto data = fs.ReadFile(file)) {
            bytes += data->size();
        }
    };
    ListShortcuts(fs, p, read);
    for (const auto& exe : p.exes) {
        read(exe);
    }
    return bytes;
}

bool ParseSize(int argc, wchar_t** argv, Size& size) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::wstring name = argv[i];
        const int value = std::wcstol(argv[i + 1], nullptr, 10);
        if (value <= 0) {
            return false;
        }
        if (name == L"--executables") {
            size.executables = value;
        } else if (name == L"--rounds") {
            size.rounds = value;
        } else {
            return false;
        }
    }
    return argc % 2 == 1;
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

struct Round {
    double floor, fullFloor, cold, warm;
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    Size size;
    if (!ParseSize(argc, argv, size)) {
        std::fprintf(stderr, "usage: scan_bench [--executables N] [--rounds R]\n");
        return 2;
    }
    win32::Win32FileSystem fs;
    win32::Win32ShellLinks links;
    win32::Win32VersionInfo versions;
    win32::Win32TimeZone zone;
    PlatformExecutableFacts facts(fs, versions, zone);
    win32::Win32AnsiCodePage ansi;
    Hooks hooks;
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    Profile profile;
    profile.root =
        std::wstring(temp) + L"torvik-scan-bench-" + std::to_wstring(::GetCurrentProcessId());
    std::printf("generating %d executables and %d shortcuts...\n", size.executables,
                2 * size.executables);
    if (!Generate(fs, links, size.executables, profile)) {
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
    for (int round = 0; round < size.rounds && ok; ++round) {
        Round r{};
        auto start = Clock::now();
        const size_t bytes = TightFloor(fs, profile);
        r.floor = Seconds(Clock::now() - start);
        start = Clock::now();
        const size_t fullBytes = FullReadFloor(fs, profile);
        r.fullFloor = Seconds(Clock::now() - start);

        fs.RemoveFile(cacheFile);
        for (const bool warm : {false, true}) {
            ProgramLists lists;
            TCachedLibrary cache(fs, facts, ansi);
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
            const auto expected = static_cast<size_t>(size.executables);
            if (lists.ProgramList.size() != expected || !allRead || hooks.errors != 0 ||
                cache.Rows().size() != expected || (warm && cache.CacheModified)) {
                std::fprintf(stderr, "unexpected scan result: %zu programs\n",
                             lists.ProgramList.size());
                ok = false;
            }
            pipeline.SaveCacheAtClose();
            AppClosing = false;
        }
        std::printf(
            "round %d: tight floor %.1f ms (%zu bytes), full-read floor %.1f ms (%zu bytes), "
            "cold %.1f ms, warm %.1f ms\n",
            round + 1, r.floor * 1000, bytes, r.fullFloor * 1000, fullBytes, r.cold * 1000,
            r.warm * 1000);
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
    std::printf("median round: cold scan %.2fx, warm rescan %.2fx the tight floor "
                "(goals: cold within 3x, warm within 1.5x)\n",
                m.cold / m.floor, m.warm / m.floor);
    std::printf("              cold scan %.2fx, warm rescan %.2fx the full-read floor\n",
                m.cold / m.fullFloor, m.warm / m.fullFloor);
    return 0;
}
