#pragma once
#include <optional>
#include <string>
#include <vector>

#include "inventory/ExecutableFacts.h"
#include "inventory/ProgramRecord.h"
#include "inventory/UnitFS.h"
#include "platform/FileSystem.h"
#include "platform/ShellLinks.h"

namespace torvik {

// What shortcut filtering reads: the shortcuts, the file system, the
// executables' descriptions, and the Windows folder (no trailing backslash).
struct ResolveLinksContext {
    const ShellLinks& links;
    const FileSystem& fs;
    const ExecutableFacts& facts;
    std::wstring windowsFolder;
};

// The program name of a shortcut file: the file name without every ".lnk",
// "Shortcut to" and " - shortcut" (any case), not trimmed.
std::wstring ShortcutProgramName(const std::wstring& fileName);

// Whether a resolved shortcut names an installed program: drops targets that
// are no executables or drivers, uninstallers, setup programs, system tools,
// safe-mode variants and programs in the Windows folder. target and
// windowsFolder are compared lower-cased; arguments in exact case.
bool AcceptsShortcutTarget(const std::wstring& target, const std::wstring& arguments,
                           const std::wstring& windowsFolder);

// The candidate for one shortcut file, or nullopt when it is dropped (also
// when it cannot be read). Drivers are named "Driver: " and their
// description (or file name).
std::optional<TTempRecord> ResolveShortcut(const ResolveLinksContext& context,
                                           const TFileType& file);

// The shortcut-resolution run: turns filesAr into candidates in
// LinkResultList, in input order. Stops after a shortcut when the program
// closes or the user cancels; _finished tells whether it ran to the end.
class TThreadResolveLinks {
public:
    TThreadResolveLinks(const std::vector<TFileType>& files, const ResolveLinksContext& context)
        : filesAr(files), context_(context) {}

    // A failure outside the reading of one shortcut ends the run with
    // _finished set (the candidates so far count) and is passed on.
    void Execute();

    const std::vector<TFileType>& filesAr;
    std::vector<TTempRecord> LinkResultList;
    bool _finished = false;

private:
    const ResolveLinksContext& context_;
};

} // namespace torvik
