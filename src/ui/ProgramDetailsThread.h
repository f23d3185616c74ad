#pragma once
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/Guarded.h"
#include "service/ServiceTransport.h"
#include "ui/LateSelect.h"

namespace torvik {

// One fetch of a program's details, as the main thread asks for it.
struct ProgramDetailsRequest {
    std::wstring serviceUrl;
    std::wstring build;  // the field "build"
    std::wstring header; // the field "header"
    TProgramRecord2 program;
};

// The fetch that completed last: the program and its reply, together.
struct ProgramDetailsResult {
    TProgramRecord2 program;
    std::vector<std::wstring> reply;
    std::wstring error; // why no reply came; empty when one did
};

// The details thread of the main window: it fetches the details of the
// program asked for last ("community_get_notes"), one request at a time,
// each through a transport of its own. Requests and results pass under one
// lock, each as a whole, so a fetch never starts with a new name and an old
// file name, and a result's text always belongs to its program. A request
// made while a fetch runs waits for the next round; only the last one waits.
// Starts at construction; the destructor waits for a running fetch to end.
class TThreadGetProgramDetails {
public:
    using NewTransport = std::function<std::unique_ptr<ServiceTransport>()>;

    explicit TThreadGetProgramDetails(
        NewTransport newTransport,
        std::chrono::milliseconds pollPeriod = std::chrono::milliseconds(200));
    ~TThreadGetProgramDetails();
    TThreadGetProgramDetails(const TThreadGetProgramDetails&) = delete;
    TThreadGetProgramDetails& operator=(const TThreadGetProgramDetails&) = delete;

    // Replaces the pending request.
    void Request(ProgramDetailsRequest request);
    // True when the program is pending or being fetched (exact comparison).
    bool Working(const std::wstring& programName, const std::wstring& exeFileName) const;
    // The last completed fetch; an empty program before the first.
    ProgramDetailsResult LastProcessed() const;

private:
    struct State {
        std::optional<ProgramDetailsRequest> pending;
        std::optional<TProgramRecord2> processing;
        ProgramDetailsResult last;
        bool stop = false;
    };

    void Execute();
    ProgramDetailsResult Fetch(const ProgramDetailsRequest& request) const;

    NewTransport newTransport_;
    std::chrono::milliseconds pollPeriod_;
    std::condition_variable changed_;
    Guarded<State> state_;
    std::thread thread_; // last: starts once everything above exists
};

} // namespace torvik
