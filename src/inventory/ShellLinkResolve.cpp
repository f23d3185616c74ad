#include "inventory/ShellLinkResolve.h"

#include "common/Text.h"

namespace torvik {

ResolvedLink ResolveLinkWithParams(const ShellLinks& links, const FileSystem& fs,
                                   const std::wstring& linkFile) {
    ShellLinkData data = links.Read(linkFile);
    ResolvedLink out{std::move(data.path), std::move(data.arguments)};
    // An advertised shortcut stores only an icon file in the installer cache.
    if (LowerCaseAscii(out.target).find(L"installer\\{") != std::wstring::npos) {
        out.target = links.ResolveMSILink(linkFile);
    }
    if (out.target.find(L" (x86)") != std::wstring::npos && !fs.FileExists(out.target)) {
        std::wstring native = ReplaceAll(out.target, L" (x86)", L"");
        if (fs.FileExists(native)) {
            out.target = std::move(native);
        }
    }
    return out;
}

std::wstring ResolveLink(const ShellLinks& links, const FileSystem& fs,
                         const std::wstring& linkFile) {
    return ResolveLinkWithParams(links, fs, linkFile).target;
}

std::wstring ResolveLink_Params(const ShellLinks& links, const std::wstring& linkFile) {
    return links.Read(linkFile).arguments;
}

} // namespace torvik
