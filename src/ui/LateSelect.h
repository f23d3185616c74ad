#pragma once
#include <chrono>
#include <functional>
#include <string>

#include "inventory/ProgramLists.h"
#include "ui/Debounce.h"

namespace torvik {

// A program as the details area knows it: by name and executable file name,
// compared exactly (letter case significant).
struct TProgramRecord2 {
    std::wstring ProgramName;
    std::wstring TargetExeFilename;
    bool operator==(const TProgramRecord2&) const = default;
};

// The details area of the selected program: it fetches in the background
// and reports what it fetched last.
class ProgramDetailsSeam {
public:
    virtual ~ProgramDetailsSeam() = default;
    // Asks for the program's details. record is its published record, or
    // nullptr when ProgramList has none by that name and executable; it is
    // valid during the call only.
    virtual void ShowProgramDetails(const TProgramRecord2& program,
                                    const TProgramRecord* record) = 0;
    // The program whose details were fetched last.
    virtual TProgramRecord2 LastProcessed() const = 0;
    // Shows what was fetched last.
    virtual void ApplyProgramDetails() = 0;
};

// The selection reaches the details area through a short timer instead of
// the list's own event: a burst of selections (arrow keys held down) asks
// for one program, the last, and the window never waits for a fetch.
class LateSelect {
public:
    static constexpr std::chrono::milliseconds kDelay{100};

    // reportError: the window's error handling, for a failed tick.
    LateSelect(OneShotTimer& timer, const ProgramLists& lists, ProgramDetailsSeam& details,
               std::function<void(const std::wstring&)> reportError)
        : timer_(timer), lists_(lists), details_(details), reportError_(std::move(reportError)) {}

    // Runs for the window's life from its first show on.
    void Start() { timer_.Start(kDelay); }
    // Row selection (or a community list's): the program to show next.
    void SelectProgram(const std::wstring& name, const std::wstring& exeFileName);
    // The timer's tick: hands a newly selected program to the details area
    // and, once the area has fetched it, shows it. The timer runs again
    // after every tick, also after a failed one.
    void Tick();

    const TProgramRecord2& SelectedProgram() const { return selected_; }
    const TProgramRecord2& ShownProgram() const { return shown_; }

private:
    void ShowSelected();

    OneShotTimer& timer_;
    const ProgramLists& lists_;
    ProgramDetailsSeam& details_;
    std::function<void(const std::wstring&)> reportError_;
    TProgramRecord2 selected_, shown_;
};

} // namespace torvik
