#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include "ui/ProgramDetailsThread.h"

namespace torvik {
namespace {

using namespace std::chrono_literals;

// A service whose replies wait until the test lets each one go; the reply
// names the program it answers, so a mixed-up pair shows.
class GatedService {
public:
    class Transport : public ServiceTransport {
    public:
        explicit Transport(GatedService& service) : service_(service) {}
        ServiceReply Post(const std::wstring& url, const MultipartFields& form) override {
            return service_.Answer(url, form);
        }

    private:
        GatedService& service_;
    };

    TThreadGetProgramDetails::NewTransport Factory() {
        return [this] {
            const std::lock_guard lock(mutex_);
            ++transports_;
            return std::make_unique<Transport>(*this);
        };
    }
    // Waits until n requests have arrived.
    bool WaitStarted(size_t n) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 10s, [&] { return forms_.size() >= n; });
    }
    void Release() {
        {
            const std::lock_guard lock(mutex_);
            ++released_;
        }
        changed_.notify_all();
    }
    std::vector<MultipartFields> Forms() {
        const std::lock_guard lock(mutex_);
        return forms_;
    }
    int Transports() {
        const std::lock_guard lock(mutex_);
        return transports_;
    }
    std::wstring failFor; // a program whose request gets no reply

private:
    ServiceReply Answer(const std::wstring& url, const MultipartFields& form) {
        std::unique_lock lock(mutex_);
        forms_.push_back(form);
        urls_.push_back(url);
        const size_t mine = forms_.size();
        changed_.notify_all();
        changed_.wait(lock, [&] { return released_ >= mine; });
        const std::wstring name = form.TextFields().at(3).value;
        if (name == failFor) {
            throw ServiceTransportError(L"Wininet error # 12029", 12029);
        }
        return {false, {L"[popularity]", name + L" " + form.TextFields().at(4).value}};
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<MultipartFields> forms_;
    std::vector<std::wstring> urls_;
    size_t released_ = 0;
    int transports_ = 0;
};

ProgramDetailsRequest RequestFor(const std::wstring& name) {
    return {L"http://127.0.0.1:1245/VersionChecker.aspx",
            L"321",
            L"the header",
            {name, name + L".exe"}};
}

// Waits until the thread has completed a fetch of the program.
bool WaitProcessed(const TThreadGetProgramDetails& thread, const std::wstring& name) {
    for (int i = 0; i < 1000; ++i) {
        if (thread.LastProcessed().program.ProgramName == name) {
            return true;
        }
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

TEST(ProgramDetailsThreadTest, OnlyTheLastRequestMadeDuringAFetchIsFetchedNext) {
    GatedService service;
    TThreadGetProgramDetails thread(service.Factory(), 5ms);
    thread.Request(RequestFor(L"A"));
    ASSERT_TRUE(service.WaitStarted(1));
    EXPECT_TRUE(thread.Working(L"A", L"A.exe"));
    EXPECT_FALSE(thread.Working(L"A", L"a.exe")) << "compared exactly";

    // B and C arrive while A is fetched: B never goes out.
    thread.Request(RequestFor(L"B"));
    thread.Request(RequestFor(L"C"));
    EXPECT_TRUE(thread.Working(L"C", L"C.exe"));
    EXPECT_FALSE(thread.Working(L"B", L"B.exe"));
    service.Release();
    ASSERT_TRUE(WaitProcessed(thread, L"A"));
    const ProgramDetailsResult a = thread.LastProcessed();
    EXPECT_EQ(a.program, (TProgramRecord2{L"A", L"A.exe"}));
    EXPECT_EQ(a.reply, (std::vector<std::wstring>{L"[popularity]", L"A A.exe"}));

    ASSERT_TRUE(service.WaitStarted(2));
    service.Release();
    ASSERT_TRUE(WaitProcessed(thread, L"C"));
    EXPECT_EQ(thread.LastProcessed().reply[1], L"C C.exe");
    EXPECT_FALSE(thread.Working(L"C", L"C.exe"));

    const auto forms = service.Forms();
    ASSERT_EQ(forms.size(), 2u);
    std::vector<std::pair<std::wstring, std::wstring>> fields;
    for (const auto& field : forms[1].TextFields()) {
        fields.emplace_back(field.name, field.value);
    }
    EXPECT_EQ(fields,
              (std::vector<std::pair<std::wstring, std::wstring>>{{L"build", L"321"},
                                                                  {L"header", L"the header"},
                                                                  {L"mode", L"community_get_notes"},
                                                                  {L"program_name", L"C"},
                                                                  {L"exe_filename", L"C.exe"}}));
    EXPECT_EQ(service.Transports(), 2) << "a client of its own for each request";
}

TEST(ProgramDetailsThreadTest, AFailedFetchIsAResultAndTheThreadGoesOn) {
    GatedService service;
    service.failFor = L"Down";
    TThreadGetProgramDetails thread(service.Factory(), 5ms);
    thread.Request(RequestFor(L"Down"));
    service.Release();
    ASSERT_TRUE(WaitProcessed(thread, L"Down"));
    const ProgramDetailsResult failed = thread.LastProcessed();
    EXPECT_TRUE(failed.reply.empty());
    EXPECT_EQ(failed.error, L"Wininet error # 12029");

    thread.Request(RequestFor(L"Up"));
    service.Release();
    ASSERT_TRUE(WaitProcessed(thread, L"Up"));
    EXPECT_EQ(thread.LastProcessed().error, L"");
}

TEST(ProgramDetailsThreadTest, ClosingWhileAFetchRunsWaitsForItAndFetchesNothingMore) {
    GatedService service;
    std::thread releaser;
    {
        TThreadGetProgramDetails thread(service.Factory(), 5ms);
        thread.Request(RequestFor(L"A"));
        ASSERT_TRUE(service.WaitStarted(1));
        thread.Request(RequestFor(L"B"));
        // A's reply comes only once closing has begun.
        releaser = std::thread([&] {
            std::this_thread::sleep_for(50ms);
            service.Release();
            service.Release();
        });
    }
    if (releaser.joinable()) {
        releaser.join();
    }
    ASSERT_EQ(service.Forms().size(), 1u) << "B was pending when the window closed";
    EXPECT_EQ(service.Forms()[0].TextFields().at(3).value, L"A");
}

} // namespace
} // namespace torvik
