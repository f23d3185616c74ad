// The private memory of updater.exe with many programs listed: a generated
// profile of N Start Menu shortcuts (1,000 by default) to copies of a small
// executable with a version resource, the list filled by the first scan.
// The floor is a minimal program with one window, measured in the same run
// under the same Wine, so that the figures mean the same on another Wine or
// machine. Private memory is PROCESS_MEMORY_COUNTERS_EX.PrivateUsage, or
// where the platform leaves that empty (Wine 8) the committed private
// regions of the process's address space, which Windows counts there.
//
//   memory_bench [--programs N] [--updater PATH] [--regions 1]
//
// It fails (exit 1) when the list does not show exactly the generated
// programs. A missed goal is printed, not failed.
#include <windows.h>

#include <objbase.h>
#include <psapi.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

#include "GeneratedPrograms.h"
#include "UpdaterProcess.h"
#include "app/MainWindowIds.h"

namespace {

using namespace torvik::e2e;

constexpr double kGoalMegabytes = 20.0;
constexpr DWORD kFillTimeoutMs = 300000;

std::wstring BesideExe(const std::wstring& relative) {
    wchar_t buf[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, buf, MAX_PATH);
    const std::wstring path = buf;
    return path.substr(0, path.find_last_of(L'\\') + 1) + relative;
}

double Megabytes(SIZE_T bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

struct Memory {
    SIZE_T privateUsage = 0;     // PROCESS_MEMORY_COUNTERS_EX.PrivateUsage
    SIZE_T committedPrivate = 0; // the committed private regions of the address space
    SIZE_T workingSet = 0;
    // The figure the goal is judged by: PrivateUsage where the platform
    // fills it. Wine 8 gives there only the swapped-out part (0 without
    // swap), so there it is the committed private memory, which is what
    // Windows counts as PrivateUsage.
    SIZE_T Private() const { return privateUsage != 0 ? privateUsage : committedPrivate; }
};

SIZE_T CommittedPrivateOf(HANDLE process) {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr;
         ::VirtualQueryEx(process, at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            total += region.RegionSize;
        }
    }
    return total;
}

// With --regions: each committed private region of 256 KB and more, and how
// many of its pages hold anything but zeros (committed but untouched memory
// reads as zeros), to see where the memory goes.
void PrintRegionsOf(HANDLE process, const char* what) {
    constexpr size_t kPage = 4096;
    std::printf("  committed private regions of 256 KB and more, %s:\n", what);
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr;
         ::VirtualQueryEx(process, at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State != MEM_COMMIT || region.Type != MEM_PRIVATE ||
            region.RegionSize < 256 * 1024) {
            continue;
        }
        const size_t size = region.RegionSize;
        std::vector<char> bytes(size);
        SIZE_T got = 0;
        ::ReadProcessMemory(process, region.BaseAddress, bytes.data(), bytes.size(), &got);
        const size_t read = got;
        size_t used = 0;
        for (size_t page = 0; page < read; page += kPage) {
            const auto end =
                bytes.begin() + static_cast<std::ptrdiff_t>(std::min(page + kPage, read));
            used += std::any_of(bytes.begin() + static_cast<std::ptrdiff_t>(page), end,
                                [](char c) { return c != 0; });
        }
        std::printf("    %p %6zu KB, %zu of %zu pages not all zeros\n", region.BaseAddress,
                    size / 1024, used, size / kPage);
    }
}

Memory MemoryOf(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof counters);
    return {counters.PrivateUsage, CommittedPrivateOf(process), counters.WorkingSetSize};
}

// The memory once it has stopped growing (the icons of the visible rows
// load after the list shows), read every half second for up to 10 s.
Memory SettledMemoryOf(HANDLE process) {
    Memory last = MemoryOf(process);
    for (int i = 0; i < 20; ++i) {
        ::Sleep(500);
        const Memory now = MemoryOf(process);
        const bool settled = now.Private() <= last.Private() + last.Private() / 200;
        last = now;
        if (settled) {
            break;
        }
    }
    return last;
}

bool FloorMemory(Memory& floor, bool regions) {
    std::wstring exe = BesideExe(L"minimal_window.exe");
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(exe.c_str(), exe.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &si, &pi)) {
        std::fprintf(stderr, "cannot start minimal_window.exe\n");
        return false;
    }
    ::WaitForInputIdle(pi.hProcess, 30000);
    floor = SettledMemoryOf(pi.hProcess);
    if (regions) {
        PrintRegionsOf(pi.hProcess, "floor");
    }
    ::TerminateProcess(pi.hProcess, 0);
    ::WaitForSingleObject(pi.hProcess, 5000);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return true;
}

// Starts a copy of updater.exe in a folder of its own (its settings, cache
// and reply files are kept beside it), waits until its list shows every
// generated program and reads its memory. False when the list is wrong.
bool UpdaterMemory(const std::wstring& updater, const GeneratedPrograms& programs, Memory& memory,
                   bool regions) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"Torvik Memory Bench Updater";
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder, ignored);
    const std::wstring copy = folder + L"\\updater.exe";
    if (!::CopyFileW(updater.c_str(), copy.c_str(), FALSE) || !WriteSettings(copy, kNoAutoCheck)) {
        std::fprintf(stderr, "cannot copy updater.exe to the temporary folder\n");
        return false;
    }
    bool listed = false;
    {
        UpdaterProcess process(copy, L"");
        const HWND window = process.WaitForWindow();
        const HWND list = window ? ControlById(window, torvik::app::kIdProgramList) : nullptr;
        const HWND status =
            window ? ::FindWindowExW(window, nullptr, STATUSCLASSNAMEW, nullptr) : nullptr;
        for (DWORD waited = 0; list != nullptr && waited < kFillTimeoutMs; waited += 200) {
            if (TextOf(status).find(L"programs found.") != std::wstring::npos) {
                break;
            }
            ::Sleep(200);
        }
        int ours = 0;
        if (list != nullptr) {
            for (const auto& row : ListViewRows(list, 1)) {
                ours += programs.IsOurs(row[0]);
            }
        }
        listed = ours == programs.Count();
        if (!listed) {
            std::fprintf(stderr, "the list shows %d of the %d generated programs\n", ours,
                         programs.Count());
        }
        memory = SettledMemoryOf(process.Handle());
        if (regions) {
            PrintRegionsOf(process.Handle(), "updater.exe");
        }
        process.Close();
    }
    std::filesystem::remove_all(folder, ignored);
    return listed;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int count = 1000;
    bool regions = false;
    std::wstring updater = BesideExe(L"..\\src\\app\\updater.exe");
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::wstring name = argv[i];
        if (name == L"--programs") {
            count = std::wcstol(argv[i + 1], nullptr, 10);
        } else if (name == L"--updater") {
            updater = argv[i + 1];
        } else if (name == L"--regions") {
            regions = std::wcscmp(argv[i + 1], L"0") != 0;
        } else {
            count = 0;
        }
    }
    if (count <= 0 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: memory_bench [--programs N] [--updater PATH] [--regions 1]\n");
        return 2;
    }
    ::CoInitialize(nullptr);
    int status = 1;
    {
        const GeneratedPrograms programs(
            L"Torvik Memory Bench", BesideExe(L"..\\tests\\win\\fixtures\\scanfix_app.exe"), count);
        Memory floor, memory;
        if (!programs.Made()) {
            std::fprintf(stderr, "cannot generate the profile\n");
        } else if (FloorMemory(floor, regions) &&
                   UpdaterMemory(updater, programs, memory, regions)) {
            const double floorMb = Megabytes(floor.Private());
            const double updaterMb = Megabytes(memory.Private());
            const auto line = [](const char* what, const Memory& m) {
                std::printf("  %-26s %7.1f MB private (PrivateUsage %.1f MB, committed private "
                            "%.1f MB, working set %.1f MB)\n",
                            what, Megabytes(m.Private()), Megabytes(m.privateUsage),
                            Megabytes(m.committedPrivate), Megabytes(m.workingSet));
            };
            std::printf("memory_bench: %d programs listed\n", count);
            line("floor, a minimal window:", floor);
            line("updater.exe:", memory);
            std::printf("  updater.exe / floor: %.2fx; goal under %.0f MB private: %s\n",
                        floorMb > 0 ? updaterMb / floorMb : 0.0, kGoalMegabytes,
                        updaterMb < kGoalMegabytes ? "met" : "missed");
            status = 0;
        }
    }
    ::CoUninitialize();
    return status;
}
