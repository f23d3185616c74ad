// check_bench: one whole version check as updater.exe makes it, against
// torvik-service on 127.0.0.1 (in this process, a database in a scratch
// folder): the program lines, compression, the multipart request, the
// reply's screening and its application to the records. Printed as a ratio
// to the bare request round trip (GET /health) measured in the same run.
//
//   check_bench [--programs 500] [--rounds 40]
//
// Each round checks the same inventory twice: first as a new installation
// (every report and the details recorded), then again with nothing changed.
// The inventory: 80 % of its programs are in the catalogue (half of those at
// the catalogue's version, the rest older), the others unknown.
#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "RunningService.h"
#include "common/Error.h"
#include "common/Text.h"
#include "common/Utf8.h"
#include "exchange/CheckReply.h"
#include "exchange/CheckRequest.h"
#include "platform/AnsiCodePage.h"
#include "platform/posix/PosixFileSystem.h"
#include "server/SqliteStorage.h"
#include "service/ReplyScreening.h"

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

class NoExecutables : public ExecutableFacts {
public:
    std::wstring Version(const std::wstring&) const override { return {}; }
    std::wstring Details(const std::wstring&) const override { return {}; }
    std::wstring FileDescription(const std::wstring&) const override { return {}; }
    int64_t FileSize(const std::wstring&) const override { return 0; }
    double FileDateTime(const std::wstring&) const override { return 0; }
    FileStamp Stamp(const std::wstring&) const override { return {}; }
};

class CountingView : public ReplyView {
public:
    std::vector<std::wstring> messages;
    CheckCounters counters;
    void ShowMessage(const std::wstring& text) override { messages.push_back(text); }
    void PopupMsg(const std::wstring&) override {}
    void RepaintProgramList() override {}
    void ShowCounters(const CheckCounters& c) override { counters = c; }
};

std::string Name(int i) {
    return "Bench Program " + std::to_string(i);
}

} // namespace

int main(int argc, char** argv) {
    int programs = 500, rounds = 40;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--programs") {
            programs = std::atoi(argv[i + 1]);
        } else if (option == "--rounds") {
            rounds = std::atoi(argv[i + 1]);
        }
    }
    if (programs < 1 || rounds < 1) {
        std::fprintf(stderr, "usage: check_bench [--programs N] [--rounds R]\n");
        return 2;
    }

    const auto scratch =
        std::filesystem::temp_directory_path() / ("check_bench_" + std::to_string(::getpid()));
    std::unique_ptr<server::Storage> storage = server::SqliteStorage::Open(scratch.string());
    const int known = programs * 8 / 10;
    std::vector<server::CatalogueEntry> catalogue;
    for (int i = 0; i < known; ++i) {
        catalogue.push_back({Name(i), "bench" + std::to_string(i) + ".exe",
                             "2.0.0." + std::to_string(i),
                             "https://example.org/" + std::to_string(i), "", "notes", false});
    }
    storage->ImportCatalogue(catalogue);
    auto running = std::make_unique<server::RunningService>(*storage);
    const int port = running->Port();

    ProgramLists lists;
    for (int i = 0; i < programs; ++i) {
        auto& r = *lists.ProgramList.emplace_back(std::make_unique<TProgramRecord>());
        r.ProgramName = Utf8ToString(Name(i));
        r.TargetExePath = L"C:\\Program Files\\Bench " + std::to_wstring(i) + L"\\";
        r.TargetExeFilename = L"bench" + std::to_wstring(i) + L".exe";
        const int minor = i % 2 == 0 ? 0 : 1; // 2.0 (current) or 1.x (older)
        r.TargetExeVersion1 = minor == 0 ? 2 : 1;
        r.TargetExeVersion3 = 0;
        r.TargetExeVersionB = i;
        r.TargetExeVersion =
            std::to_wstring(r.TargetExeVersion1) + L".0.0 build:" + std::to_wstring(i);
        r.TargetExeDateM = 45000.5;
        r.TargetExeSize = 1000000 + i;
        r.TargetExeDetails =
            L"[CompanyName]\r\nBench Software\r\n[FileVersion]\r\n" + r.TargetExeVersion + L"\r\n";
    }
    PosixFileSystem fs;
    NoExecutables facts;
    Latin1CodePage ansi;
    TCachedLibrary cache(fs, facts, ansi);
    httplib::Client client("127.0.0.1", port);
    client.set_read_timeout(30);
    // As WinInet does: no waiting for delayed acknowledgements, and one
    // connection kept open from a first request that is not measured.
    client.set_tcp_nodelay(true);
    client.set_keep_alive(true);
    client.Get("/health");
    const std::string contentType = StringToUtf8(kMultipartContentType);

    std::vector<double> floor, first, repeat, build, request, apply;
    int failures = 0;
    for (int round = 0; round < rounds; ++round) {
        const auto t0 = Clock::now();
        const auto health = client.Get("/health");
        floor.push_back(Ms(Clock::now() - t0));
        failures += !health || health->status != 200;

        char user[64];
        std::snprintf(user, sizeof user, "user_BENCHCHECK%05d_2026-12-10 10:00:00.000", round);
        for (const bool again : {false, true}) {
            for (auto& r : lists.ProgramList) {
                r->FlagSendDetailsToServer = !again;
            }
            const auto start = Clock::now();
            const std::string body = BuildMultipartBody(
                CheckForUpdatesRequest(L"67",
                                       Utf8ToString(user) + L"#Windows NT 10.00.19045#10#0#19045",
                                       CheckProgramLines(lists.ProgramList, L"C:\\Program Files")),
                ansi);
            const auto built = Clock::now();
            const auto reply = client.Post("/VersionChecker.aspx", body, contentType);
            const auto replied = Clock::now();
            CountingView view;
            std::wstring recheck;
            try {
                if (!reply || reply->status != 200) {
                    throw TorvikError(L"no reply");
                }
                const std::wstring text = Utf8ToString(reply->body);
                ScreenReply(text);
                ApplyReply(TextToLines(text), {lists, false}, cache, view, recheck);
                // Half the catalogue's programs are older than it knows.
                if (view.counters.newVersions != known / 2 ||
                    view.counters.upToDate != known - known / 2) {
                    throw TorvikError(L"unexpected statuses");
                }
            } catch (const TorvikError& e) {
                std::fprintf(stderr, "check failed: %s\n", e.what());
                ++failures;
            }
            const auto done = Clock::now();
            (again ? repeat : first).push_back(Ms(done - start));
            if (again) {
                build.push_back(Ms(built - start));
                request.push_back(Ms(replied - built));
                apply.push_back(Ms(done - replied));
            }
        }
    }
    running.reset();
    storage.reset();
    std::filesystem::remove_all(scratch);

    const double f = Median(floor);
    std::printf("check_bench: %d programs (%d in the catalogue), %d rounds, medians\n", programs,
                known, rounds);
    std::printf("  floor: GET /health round trip   %8.3f ms\n", f);
    std::printf("  first check (all recorded)     %8.3f ms   %7.1fx floor\n", Median(first),
                Median(first) / f);
    std::printf("  repeat check (nothing changed) %8.3f ms   %7.1fx floor\n", Median(repeat),
                Median(repeat) / f);
    std::printf("    lines, compression, body     %8.3f ms\n", Median(build));
    std::printf("    request and reply            %8.3f ms\n", Median(request));
    std::printf("    screening and applying       %8.3f ms\n", Median(apply));
    std::printf("  failed checks: %d\n", failures);
    return failures == 0 ? 0 : 1;
}
