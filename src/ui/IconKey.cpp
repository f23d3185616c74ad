#include "ui/IconKey.h"

#include "common/Error.h"
#include "common/PathUtils.h"
#include "common/Text.h"
#include "inventory/ShellLinkResolve.h"

namespace torvik {
namespace {

// The target of a shortcut, or the shortcut itself when it cannot be read
// or names nothing: it is then keyed by its own path.
std::wstring TargetOfShortcut(const std::wstring& link, const FileSystem& fs,
                              const ShellLinks& links) {
    try {
        std::wstring target = ResolveLink(links, fs, link);
        return target.empty() ? link : target;
    } catch (const TorvikError&) {
        return link;
    }
}

} // namespace

std::wstring GuessedIconKey(const std::wstring& fileName) {
    if (fileName.find(L'\\') == std::wstring::npos) {
        return fileName;
    }
    return LowerCaseAscii(ExtractFileExt(fileName));
}

std::wstring IconKeyOfFile(const std::wstring& fileName, const FileSystem& fs,
                           const ShellLinks& links) {
    std::wstring name = fileName;
    if (fs.FileExists(name + L".lnk")) {
        name += L".lnk";
    }
    std::wstring target = name;
    if (ContainsTextAscii(name, L".lnk") && fs.FileExists(name)) {
        target = TargetOfShortcut(name, fs, links);
    }
    if (fs.DirectoryExists(target) || fs.DirectoryExists(name)) {
        return kFolderIconKey;
    }
    const std::wstring extension = ExtractFileExt(target);
    if (SameTextAscii(extension, L".exe") || SameTextAscii(extension, L".lnk")) {
        return LowerCaseAscii(target);
    }
    return LowerCaseAscii(extension);
}

} // namespace torvik
