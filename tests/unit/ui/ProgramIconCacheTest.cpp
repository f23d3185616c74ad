#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "common/Error.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeShellLinks.h"
#include "ui/IconCacheWorker.h"
#include "ui/IconKey.h"
#include "ui/ProgramIconCache.h"

namespace torvik {
namespace {

using testing::FakeFileSystem;
using testing::FakeShellLinks;

// An icon that says which key it was made for.
struct FakeIcon : CachedIcon {
    explicit FakeIcon(std::wstring k) : key(std::move(k)) {}
    std::wstring key;
};

std::wstring KeyOf(const CachedIcon* icon) {
    return icon == nullptr ? L"(none)" : static_cast<const FakeIcon*>(icon)->key;
}

class FakeIconSource : public IconSource {
public:
    std::wstring failingKey; // this key throws
    std::wstring emptyKey;   // this key has no icon

    std::unique_ptr<CachedIcon> SmallIcon(const std::wstring& key) override {
        {
            std::lock_guard lock(mutex_);
            ++fetches_[key];
        }
        if (key == failingKey) {
            throw TorvikError(L"no icon service");
        }
        if (key == emptyKey) {
            return nullptr;
        }
        return std::make_unique<FakeIcon>(key);
    }
    std::map<std::wstring, int> Fetches() const {
        std::lock_guard lock(mutex_);
        return fetches_;
    }

private:
    mutable std::mutex mutex_;
    std::map<std::wstring, int> fetches_;
};

// The files of the examples: an executable, shortcuts to it (one named
// without ".lnk" by its caller), to a text file and to a folder, one that
// cannot be read, and a folder.
struct Files {
    FakeFileSystem fs;
    FakeShellLinks links;
    Files() {
        fs.AddFile(L"C:\\Apps\\Editor\\Editor.EXE");
        fs.AddFile(L"C:\\Menu\\Editor.lnk");
        links.Add(L"C:\\Menu\\Editor.lnk", L"C:\\Apps\\Editor\\Editor.EXE");
        fs.AddFile(L"C:\\Menu\\Readme.lnk");
        links.Add(L"C:\\Menu\\Readme.lnk", L"C:\\Apps\\Editor\\Readme.TXT");
        fs.AddFile(L"C:\\Menu\\Tools.lnk");
        links.Add(L"C:\\Menu\\Tools.lnk", L"C:\\Apps\\Tools");
        fs.AddFolder(L"C:\\Apps\\Tools");
        fs.AddFile(L"C:\\Menu\\Broken.LNK"); // not a shortcut links can load
    }
};

TEST(IconKeyTest, GuessFromTheNameAlone) {
    const struct {
        const wchar_t* name;
        const wchar_t* key;
    } cases[] = {
        {L"folder", L"folder"},                     // a key given directly
        {L".TXT", L".TXT"},                         // as given, no backslash
        {L"C:\\Docs\\Notes.TXT", L".txt"},          // the type's key
        {L"C:\\Apps\\Editor\\Editor.EXE", L".exe"}, // misses: executables key by path
        {L"C:\\Apps\\v1.2\\README", L""},           // a dot in a folder is no extension
        {L"C:\\Menu\\Editor", L""},                 // no guess at shortcuts
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GuessedIconKey(c.name), c.key) << c.name;
    }
}

TEST(IconKeyTest, WorkedOutFromTheFiles) {
    Files files;
    const struct {
        const wchar_t* name;
        const wchar_t* key;
    } cases[] = {
        {L"C:\\Apps\\Editor\\Editor.EXE", L"c:\\apps\\editor\\editor.exe"},
        {L"C:\\Menu\\Editor.lnk", L"c:\\apps\\editor\\editor.exe"},
        {L"C:\\Menu\\Editor", L"c:\\apps\\editor\\editor.exe"}, // ".lnk" found beside
        {L"C:\\Menu\\Readme.lnk", L".txt"},
        {L"C:\\Menu\\Tools.lnk", L"folder"},
        {L"C:\\Apps\\Tools", L"folder"},
        {L"C:\\Menu\\Broken.LNK", L"c:\\menu\\broken.lnk"}, // keyed by its own path
        {L"C:\\Gone\\Setup.Exe", L"c:\\gone\\setup.exe"},   // missing: asked by name only
        {L"C:\\Gone\\Notes.TXT", L".txt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IconKeyOfFile(c.name, files.fs, files.links), c.key) << c.name;
    }
}

class ProgramIconCacheTest : public ::testing::Test {
protected:
    ProgramIconCache& Cache(bool heuristics = true) {
        cache_ = std::make_unique<ProgramIconCache>(IconCacheServices{
            files.fs, files.links, source, [this] { ++batches; },
            [this](const std::wstring& text) { errors.push_back(text); }, heuristics});
        return *cache_;
    }
    size_t Drain() { return cache_->FetchQueued(stop); }

    Files files;
    FakeIconSource source;
    int batches = 0;
    std::vector<std::wstring> errors;
    std::atomic<bool> stop{false};

private:
    std::unique_ptr<ProgramIconCache> cache_;
};

TEST_F(ProgramIconCacheTest, AMissQueuesOnceAndTheWorkerFillsItInOneBatch) {
    ProgramIconCache& cache = Cache();
    // The first paint shows nothing; repeated paints, in any letter case,
    // queue each file once.
    EXPECT_EQ(cache.Lookup(L"C:\\Apps\\Editor\\Editor.EXE"), nullptr);
    EXPECT_EQ(cache.Lookup(L"C:\\Apps\\Editor\\Editor.EXE"), nullptr);
    EXPECT_EQ(cache.Lookup(L"c:\\apps\\editor\\editor.exe"), nullptr);
    EXPECT_EQ(cache.Lookup(L"C:\\Menu\\Tools.lnk"), nullptr);
    EXPECT_EQ(cache.QueuedCount(), 2u);
    EXPECT_TRUE(source.Fetches().empty()) << "painting never fetches";

    EXPECT_EQ(Drain(), 2u);
    EXPECT_EQ(batches, 1) << "one repaint per batch, not per icon";
    EXPECT_EQ(cache.QueuedCount(), 0u);
    EXPECT_EQ(KeyOf(cache.Lookup(L"C:\\Apps\\Editor\\Editor.EXE")),
              L"c:\\apps\\editor\\editor.exe");
    EXPECT_EQ(KeyOf(cache.Lookup(L"C:\\Menu\\Tools.lnk")), L"folder");
    EXPECT_EQ(cache.QueuedCount(), 0u);
    // The other spelling was worked out on its own but shares the icon.
    EXPECT_EQ(cache.Lookup(L"c:\\apps\\editor\\editor.exe"), nullptr);
    Drain();
    EXPECT_EQ(cache.Lookup(L"c:\\apps\\editor\\editor.exe"),
              cache.Lookup(L"C:\\Apps\\Editor\\Editor.EXE"));
    EXPECT_EQ(source.Fetches(),
              (std::map<std::wstring, int>{{L"c:\\apps\\editor\\editor.exe", 1}, {L"folder", 1}}));
    EXPECT_EQ(Drain(), 0u);
    EXPECT_EQ(batches, 2) << "an empty queue tells nobody";
}

TEST_F(ProgramIconCacheTest, AFileOfACachedTypeIsServedAtOnce) {
    ProgramIconCache& cache = Cache();
    cache.Lookup(L"C:\\Docs\\First.txt");
    Drain();
    EXPECT_EQ(KeyOf(cache.Lookup(L"C:\\Docs\\Second.TXT")), L".txt");
    EXPECT_EQ(cache.QueuedCount(), 0u);
    // Executables never share: each waits for its own.
    cache.Lookup(L"C:\\Apps\\Editor\\Editor.EXE");
    Drain();
    EXPECT_EQ(cache.Lookup(L"C:\\Apps\\Other\\Other.exe"), nullptr);
    EXPECT_EQ(cache.QueuedCount(), 1u);
}

TEST_F(ProgramIconCacheTest, WithoutHeuristicsAPaintWorksTheKeyOutItself) {
    ProgramIconCache& cache = Cache(false);
    cache.Lookup(L"C:\\Docs\\First.txt");
    Drain();
    EXPECT_EQ(KeyOf(cache.Lookup(L"C:\\Docs\\Second.TXT")), L".txt");
    EXPECT_EQ(cache.KeyFor(L"C:\\Menu\\Editor", false), L"c:\\apps\\editor\\editor.exe");
}

TEST_F(ProgramIconCacheTest, AKeyIsFixedTheFirstTimeItIsWorkedOut) {
    ProgramIconCache& cache = Cache();
    EXPECT_EQ(cache.KeyFor(L"C:\\Menu\\Editor.lnk", true), L"c:\\apps\\editor\\editor.exe");
    files.links.Add(L"C:\\Menu\\Editor.lnk", L"C:\\Apps\\New\\New.exe");
    EXPECT_EQ(cache.KeyFor(L"C:\\Menu\\Editor.lnk", true), L"c:\\apps\\editor\\editor.exe");
    EXPECT_EQ(cache.KeyFor(L"C:\\Menu\\Editor.lnk", false), L"c:\\apps\\editor\\editor.exe");
}

TEST_F(ProgramIconCacheTest, FailuresAreReportedOnceAndDrawNothing) {
    source.failingKey = L".doc";
    source.emptyKey = L".xyz";
    ProgramIconCache& cache = Cache();
    cache.Lookup(L"C:\\Docs\\A.doc");
    cache.Lookup(L"C:\\Docs\\B.xyz");
    cache.Lookup(L"C:\\Docs\\C.txt");
    EXPECT_EQ(Drain(), 3u);
    EXPECT_EQ(errors, std::vector<std::wstring>{L"2: no icon service"});
    EXPECT_EQ(KeyOf(cache.Lookup(L"C:\\Docs\\C.txt")), L".txt") << "the worker went on";
    // Known to have none: not queued, fetched or reported again.
    EXPECT_EQ(cache.Lookup(L"C:\\Docs\\A.doc"), nullptr);
    EXPECT_EQ(cache.Lookup(L"C:\\Docs\\B.xyz"), nullptr);
    EXPECT_EQ(cache.QueuedCount(), 0u);
    EXPECT_EQ(source.Fetches()[L".doc"], 1);
    EXPECT_EQ(errors.size(), 1u);
}

TEST_F(ProgramIconCacheTest, ResetQueueAndStopLeaveWorkUndone) {
    ProgramIconCache& cache = Cache();
    cache.Lookup(L"C:\\Docs\\A.txt");
    cache.ResetQueue();
    EXPECT_EQ(Drain(), 0u);
    cache.Lookup(L"C:\\Docs\\A.txt");
    stop = true;
    EXPECT_EQ(Drain(), 0u);
    EXPECT_EQ(batches, 0);
    EXPECT_EQ(cache.QueuedCount(), 1u);
    EXPECT_TRUE(source.Fetches().empty());
}

// Painters on several threads against the real worker, whose repaint
// hand-over paints again from the worker's thread (as a window that
// repaints at once would): every icon arrives, each key is fetched once,
// and nothing waits forever.
TEST(ProgramIconCacheConcurrencyTest, PaintersAndTheWorkerNeverBlockEachOther) {
    Files files;
    std::vector<std::wstring> paths;
    for (int i = 0; i < 24; ++i) {
        const std::wstring path = L"C:\\Apps\\P" + std::to_wstring(i) + L"\\p.exe";
        files.fs.AddFile(path);
        paths.push_back(path);
    }
    paths.push_back(L"C:\\Docs\\one.txt");
    paths.push_back(L"C:\\Menu\\Tools.lnk");
    FakeIconSource source;
    std::atomic<int> batches{0};
    ProgramIconCache* self = nullptr;
    ProgramIconCache cache(IconCacheServices{files.fs,
                                             files.links,
                                             source,
                                             [&] {
                                                 ++batches;
                                                 self->Lookup(L"C:\\Docs\\one.txt");
                                             },
                                             {},
                                             true});
    self = &cache;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::atomic<int> painterFailures{0};
    {
        IconCacheWorker worker(cache, std::chrono::milliseconds(5));
        std::vector<std::thread> painters;
        for (int t = 0; t < 4; ++t) {
            painters.emplace_back([&, t] {
                for (;;) {
                    size_t shown = 0;
                    for (size_t i = 0; i < paths.size(); ++i) {
                        const auto& path = paths[(i + t * 7) % paths.size()];
                        shown += cache.Lookup(path) != nullptr;
                    }
                    if (shown == paths.size()) {
                        return;
                    }
                    if (std::chrono::steady_clock::now() > deadline) {
                        ++painterFailures;
                        return;
                    }
                    std::this_thread::yield();
                }
            });
        }
        for (auto& painter : painters) {
            painter.join();
        }
    }
    ASSERT_EQ(painterFailures.load(), 0) << "not every icon arrived";
    EXPECT_GE(batches.load(), 1);
    const auto fetches = source.Fetches();
    EXPECT_EQ(fetches.size(), 26u);
    for (const auto& [key, count] : fetches) {
        EXPECT_EQ(count, 1) << key;
    }
    for (const auto& path : paths) {
        EXPECT_EQ(KeyOf(cache.Lookup(path)), cache.KeyFor(path, true)) << path;
    }
}

} // namespace
} // namespace torvik
