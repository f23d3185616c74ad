// program_list_bench: the program list's refill and sort, as the filter
// timer runs them, over a large inventory. Printed as a ratio to copying the
// pointers of the same records (the least any refill does), measured in the
// same run.
//
//   program_list_bench [--programs 5000] [--rounds 50]
//
// The inventory mixes every status, drivers and programs without version
// information; the filter has a word, an exclusion and a quoted phrase, with
// "Hide up to date" on. Each round refills and sorts by name, then by
// status (ties broken by name), the order the user sees after a click.
// Texts compare as the list compares them: through the locale on Windows,
// in code-point order natively; sort keys are kept from one refill to the
// next, as the list keeps them.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/TextCompare.h"
#ifdef _WIN32
#include "platform/win32/Win32Locale.h"
#endif
#include "ui/ListSortState.h"
#include "ui/ProgramListModel.h"

using namespace torvik;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

ProgramLists::RecordList Inventory(int programs) {
    static const wchar_t* const kVendors[] = {L"Contoso", L"Fabrikam", L"Northwind", L"Adatum",
                                              L"Litware"};
    ProgramLists::RecordList records;
    for (int i = 0; i < programs; ++i) {
        auto& r = *records.emplace_back(std::make_unique<TProgramRecord>());
        const std::wstring vendor = kVendors[i % 5];
        const std::wstring number = std::to_wstring((i * 7919) % programs);
        r.ProgramName = (i % 50 == 0 ? L"Driver: " : L"") + vendor + L" Program " + number +
                        (i % 3 == 0 ? L" Media Player" : L" Tools");
        r.TargetExePath = L"C:\\Program Files\\" + vendor + L"\\App " + number + L"\\";
        r.TargetExeFilename = L"app" + number + L".exe";
        r.Status = i % 8 - 2; // -2 .. 5
        r.TargetExeVersion = r.Status == ProgramStatus::NoVersionInfo ? L"--" : L"1.2.3 build:4";
        r.TargetExeVersionX = L"00001.00002.00003." + std::to_wstring(10000 + i % 1000);
        r.ServerVersion = r.Status == ProgramStatus::NewerVersion ? L"2.0.0 build:1" : L"";
    }
    return records;
}

} // namespace

int main(int argc, char** argv) {
    int programs = 5000, rounds = 50;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--programs") {
            programs = std::atoi(argv[i + 1]);
        } else if (option == "--rounds") {
            rounds = std::atoi(argv[i + 1]);
        }
    }
    if (programs < 1 || rounds < 1) {
        std::fprintf(stderr, "usage: program_list_bench [--programs N] [--rounds R]\n");
        return 2;
    }

    const auto records = Inventory(programs);
#ifdef _WIN32
    const win32::Win32TextCompare compare;
#else
    const OrdinalTextCompare compare;
#endif
    const ProgramFilter filter(L"program \"-media player\" -northwind",
                               {.hideExcluded = true, .hideUpToDate = true});
    const ProgramFilter everything(L"", {});
    ProgramListModel model;
    std::vector<const TProgramRecord*> copy;
    copy.reserve(records.size());

    std::vector<double> floor, refillOnly, byName, byStatus, unfiltered, unfilteredCold;
    int failures = 0;
    for (int round = 0; round < rounds; ++round) {
        auto start = Clock::now();
        copy.clear();
        for (const auto& r : records) {
            copy.push_back(r.get());
        }
        floor.push_back(Ms(Clock::now() - start));
        failures += copy.size() != records.size();

        start = Clock::now();
        model.Refill(records, filter);
        refillOnly.push_back(Ms(Clock::now() - start));

        for (const int column : {kColumnProgram, kColumnDatabaseStatus}) {
            const ProgramSortState order{column, false};
            start = Clock::now();
            model.Refill(records, filter);
            model.Sort(order, compare);
            (column == kColumnProgram ? byName : byStatus).push_back(Ms(Clock::now() - start));
            for (size_t i = 0; i + 1 < model.Count(); ++i) {
                failures += LvMainListCompare(model.Row(i), model.Row(i + 1), order, compare) > 0;
            }
        }
        start = Clock::now();
        model.Refill(records, everything);
        model.Sort({kColumnProgram, false}, compare);
        unfiltered.push_back(Ms(Clock::now() - start));

        // The first sort after a rescan brought new texts: every key made.
        ProgramListModel fresh;
        start = Clock::now();
        fresh.Refill(records, everything);
        fresh.Sort({kColumnProgram, false}, compare);
        unfilteredCold.push_back(Ms(Clock::now() - start));
    }

    // What the filter must let through: statuses 0, 1, 3, 4 and 5 with a
    // version, never "media player", "northwind" or a record of status -2.
    model.Refill(records, filter);
    const size_t filtered = model.Count();
    for (size_t i = 0; i < filtered; ++i) {
        const TProgramRecord& r = model.Row(i);
        failures += r.Status < 0 || r.Status == ProgramStatus::UpToDate;
        failures += r.ProgramName.find(L"Media Player") != std::wstring::npos;
        failures += r.TargetExePath.find(L"Northwind") != std::wstring::npos;
    }
    failures += filtered == 0;

    const double f = Median(floor);
    const auto ratio = [f](double ms) { return f > 0 ? ms / f : 0.0; };
    std::printf("programs %d, rounds %d, shown after the filter %zu\n", programs, rounds, filtered);
    std::printf("floor (copy %zu pointers)       %9.4f ms\n", records.size(), f);
    std::printf("refill alone                    %9.4f ms  %7.1fx\n", Median(refillOnly),
                ratio(Median(refillOnly)));
    std::printf("refill + sort by name           %9.4f ms  %7.1fx\n", Median(byName),
                ratio(Median(byName)));
    std::printf("refill + sort by status         %9.4f ms  %7.1fx\n", Median(byStatus),
                ratio(Median(byStatus)));
    std::printf("no filter: refill + sort by name %8.4f ms  %7.1fx\n", Median(unfiltered),
                ratio(Median(unfiltered)));
    std::printf("  the same, no keys kept yet     %8.4f ms  %7.1fx\n", Median(unfilteredCold),
                ratio(Median(unfilteredCold)));
    if (failures != 0) {
        std::fprintf(stderr, "%d result checks failed\n", failures);
        return 1;
    }
    return 0;
}
