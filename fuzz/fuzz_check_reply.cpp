// A version-check reply comes from the network. Screening and applying any
// text must never crash; a reply that applies without raising leaves every
// record in a state the list can show.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/Error.h"
#include "common/Text.h"
#include "common/Utf8.h"
#include "exchange/CheckReply.h"
#include "platform/AnsiCodePage.h"
#include "platform/posix/PosixFileSystem.h"
#include "service/ReplyScreening.h"

namespace {

// Executables that all exist, unchanged, so the cache answers for them.
class SameFacts : public torvik::ExecutableFacts {
public:
    std::wstring Version(const std::wstring&) const override { return L"1.0.0 build:1"; }
    std::wstring Details(const std::wstring&) const override { return {}; }
    std::wstring FileDescription(const std::wstring&) const override { return {}; }
    int64_t FileSize(const std::wstring&) const override { return 1; }
    double FileDateTime(const std::wstring&) const override { return 45000; }
    torvik::FileStamp Stamp(const std::wstring&) const override { return {}; }
};

class QuietView : public torvik::ReplyView {
public:
    void ShowMessage(const std::wstring&) override {}
    void PopupMsg(const std::wstring&) override {}
    void RepaintProgramList() override {}
    void ShowCounters(const torvik::CheckCounters&) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace torvik;
    const std::wstring text = Utf8ToString(std::string(reinterpret_cast<const char*>(data), size));
    try {
        ScreenReply(text);
    } catch (const TorvikError&) {
        return 0;
    }
    ProgramLists lists;
    const struct {
        const wchar_t* name;
        const wchar_t* file;
        const wchar_t* version;
        int32_t status;
    } programs[] = {{L"Editor", L"editor.exe", L"1.0.0 build:1", 0},
                    {L"Viewer", L"viewer.exe", L"--", 2},
                    {L"Excluded", L"x.exe", L"1.0.0 build:1", -1},
                    {L"Foo|Bar", L"foo.exe", L"3.0.0 build:0", 1}};
    for (const auto& p : programs) {
        auto& r = *lists.ProgramList.emplace_back(std::make_unique<TProgramRecord>());
        r.ProgramName = p.name;
        r.TargetExePath = L"C:\\Apps\\";
        r.TargetExeFilename = p.file;
        r.TargetExeVersion = p.version;
        r.Status = p.status;
        r.FlagSendDetailsToServer = true;
    }
    PosixFileSystem fs;
    SameFacts facts;
    Latin1CodePage ansi;
    TCachedLibrary cache(fs, facts, ansi);
    cache.CreateCachedRecord(L"C:\\Apps\\editor.exe");
    QuietView view;
    std::wstring recheck;
    const auto lines = TextToLines(text);
    try {
        ApplyReply(lines, {lists, false}, cache, view, recheck);
    } catch (const TorvikError&) {
        return 0; // an unreadable status or community version ends the apply
    }
    if (lines.empty()) {
        return 0; // "No reply from server": nothing changes
    }
    for (const auto& r : lists.ProgramList) {
        const bool ok = r->Status == -1 ? r->ProgramName == L"Excluded"
                        : r->TargetExeVersion == L"--"
                            ? r->Status == ProgramStatus::NoVersionInfo
                            : !r->ServerVersion.empty(); // the service's, or "?"
        if (!ok) {
            std::abort();
        }
    }
    return 0;
}
