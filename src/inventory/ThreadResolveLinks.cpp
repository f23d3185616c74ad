#include "inventory/ThreadResolveLinks.h"

#include <array>

#include "common/Error.h"
#include "common/PathUtils.h"
#include "common/ProcessFlags.h"
#include "common/Text.h"
#include "inventory/ShellLinkResolve.h"

namespace torvik {
namespace {

// Removes every occurrence of what, ignoring the case of ASCII letters.
std::wstring RemoveAllText(const std::wstring& text, std::wstring_view what) {
    const std::wstring lowerWhat = LowerCaseAscii(what);
    std::wstring out = text;
    for (size_t at = LowerCaseAscii(out).find(lowerWhat); at != std::wstring::npos;
         at = LowerCaseAscii(out).find(lowerWhat, at)) {
        out.erase(at, what.size());
    }
    return out;
}

bool ContainsAny(const std::wstring& text, std::initializer_list<std::wstring_view> parts) {
    for (const auto& part : parts) {
        if (text.find(part) != std::wstring::npos) {
            return true;
        }
    }
    return false;
}

} // namespace

std::wstring ShortcutProgramName(const std::wstring& fileName) {
    std::wstring name = RemoveAllText(fileName, L".lnk");
    name = RemoveAllText(name, L"Shortcut to");
    return RemoveAllText(name, L" - shortcut");
}

bool AcceptsShortcutTarget(const std::wstring& target, const std::wstring& arguments,
                           const std::wstring& windowsFolder) {
    const std::wstring t = LowerCaseAscii(target);
    if (!ContainsAny(t, {L".exe", L"\\drivers\\"})) {
        return false;
    }
    if (ContainsAny(arguments, {L"-safe-mode", L"-setDX", L"-setOGL"}) ||
        ContainsAny(t, {L"\\mmc.exe"})) {
        return false;
    }
    if (ContainsAny(t, {L"uninstall", L"\\uninst.exe", L"\\uninstx.exe", L"\\unins000.exe",
                        L"setup.exe", L"rundll32.exe", L"\\windows nt\\", L"\\hh.exe",
                        L"\\dexplore.exe", L"donation", L"(safe mode)", L"remove the"})) {
        return false;
    }
    // An empty Windows folder (not resolved) would match every path.
    const std::wstring windows = LowerCaseAscii(windowsFolder);
    if (!windows.empty() && t.find(windows) != std::wstring::npos &&
        t.find(L"\\drivers\\") == std::wstring::npos) {
        return false;
    }
    return true;
}

std::optional<TTempRecord> ResolveShortcut(const ResolveLinksContext& context,
                                           const TFileType& file) {
    std::wstring name = ShortcutProgramName(file.FileName);
    const std::wstring lowerName = LowerCaseAscii(name);
    if (ContainsAny(lowerName, {L"outlook express", L"internet explorer", L"address book",
                                L"windows media player", L"windows movie maker"})) {
        return std::nullopt;
    }
    const std::wstring lowerFile = LowerCaseAscii(file.FileName);
    if (lowerFile.find(L"uninstall") != std::wstring::npos) {
        return std::nullopt;
    }
    ResolvedLink resolved{file.FullFileName(), L""};
    if (lowerFile.find(L".lnk") != std::wstring::npos) {
        try {
            resolved = ResolveLinkWithParams(context.links, context.fs, file.FullFileName());
        } catch (const TorvikError&) {
            return std::nullopt;
        }
    }
    if (!AcceptsShortcutTarget(resolved.target, resolved.arguments, context.windowsFolder)) {
        return std::nullopt;
    }
    if (LowerCaseAscii(resolved.target).find(L"\\drivers\\") != std::wstring::npos) {
        std::wstring description = Trim(context.facts.FileDescription(resolved.target));
        name = L"Driver: " +
               (description.empty() ? ExtractFileName(resolved.target) : std::move(description));
    }
    TTempRecord record;
    record.LinkName = std::move(name);
    record.TargetExePath = ExtractFilePath(resolved.target);
    record.TargetExeFile = ExtractFileName(resolved.target);
    return record;
}

void TThreadResolveLinks::Execute() {
    LinkResultList.clear();
    _finished = false;
    try {
        for (const auto& file : filesAr) {
            if (auto record = ResolveShortcut(context_, file)) {
                LinkResultList.push_back(std::move(*record));
            }
            if (AppClosing || CancelRequested) {
                return;
            }
        }
    } catch (...) {
        _finished = true;
        throw;
    }
    _finished = true;
}

} // namespace torvik
