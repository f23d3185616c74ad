#include "ui/ProgramDetailsThread.h"

#include "common/Error.h"
#include "common/ProcessFlags.h"

namespace torvik {

TThreadGetProgramDetails::TThreadGetProgramDetails(NewTransport newTransport,
                                                   std::chrono::milliseconds pollPeriod)
    : newTransport_(std::move(newTransport)), pollPeriod_(pollPeriod),
      thread_([this] { Execute(); }) {}

TThreadGetProgramDetails::~TThreadGetProgramDetails() {
    state_.With([](State& s) { s.stop = true; });
    changed_.notify_all();
    thread_.join();
}

void TThreadGetProgramDetails::Request(ProgramDetailsRequest request) {
    state_.With([&](State& s) { s.pending = std::move(request); });
    changed_.notify_all();
}

bool TThreadGetProgramDetails::Working(const std::wstring& programName,
                                       const std::wstring& exeFileName) const {
    const TProgramRecord2 program{programName, exeFileName};
    return state_.With([&](const State& s) {
        return (s.pending && s.pending->program == program) || s.processing == program;
    });
}

ProgramDetailsResult TThreadGetProgramDetails::LastProcessed() const {
    return state_.With([](const State& s) { return s.last; });
}

void TThreadGetProgramDetails::Execute() {
    for (;;) {
        // Woken by a request or by closing; the period is the longest wait
        // before the closing flag is looked at again.
        state_.WaitFor(changed_, pollPeriod_,
                       [](const State& s) { return s.stop || s.pending.has_value(); });
        const auto request = state_.With([](State& s) -> std::optional<ProgramDetailsRequest> {
            if (s.stop || AppClosing || !s.pending) {
                return std::nullopt;
            }
            auto taken = std::move(s.pending);
            s.pending.reset();
            s.processing = taken->program;
            return taken;
        });
        if (!request) {
            if (state_.With([](const State& s) { return s.stop; }) || AppClosing) {
                return;
            }
            continue;
        }
        ProgramDetailsResult result = Fetch(*request);
        state_.With([&](State& s) {
            s.last = std::move(result);
            s.processing.reset();
        });
    }
}

ProgramDetailsResult TThreadGetProgramDetails::Fetch(const ProgramDetailsRequest& request) const {
    ProgramDetailsResult result{request.program, {}, {}};
    // Nothing may leave the thread: a failed fetch is a result too, so the
    // page stops waiting for it.
    try {
        MultipartFields form =
            NewServiceRequest(request.build, request.header, L"community_get_notes");
        form.AddText(L"program_name", request.program.ProgramName);
        form.AddText(L"exe_filename", request.program.TargetExeFilename);
        const std::unique_ptr<ServiceTransport> transport = newTransport_();
        result.reply = transport->Post(request.serviceUrl, form).lines;
    } catch (...) {
        result.error = CurrentExceptionText();
        if (result.error.empty()) {
            result.error = L"no reply";
        }
    }
    return result;
}

} // namespace torvik
