#include "common/PathUtils.h"

namespace torvik {
namespace {
size_t LastDelimiter(std::wstring_view path) {
    return path.find_last_of(L"\\:");
}
} // namespace

std::wstring ForceTrailingBackslash(std::wstring_view s) {
    std::wstring out(s);
    if (!out.empty() && out.back() != L'\\') {
        out += L'\\';
    }
    return out;
}

std::wstring RemoveTrailingBackslash(std::wstring_view s) {
    if (!s.empty() && s.back() == L'\\') {
        s.remove_suffix(1);
    }
    return std::wstring(s);
}

std::wstring MakeFn(std::wstring_view folder, std::wstring_view name) {
    return ForceTrailingBackslash(folder) + std::wstring(name);
}

std::wstring MakeFn(std::wstring_view folder, std::wstring_view name1, std::wstring_view name2) {
    return MakeFn(MakeFn(folder, name1), name2);
}

std::wstring ExtractFileName(std::wstring_view path) {
    const size_t p = LastDelimiter(path);
    return std::wstring(p == std::wstring_view::npos ? path : path.substr(p + 1));
}

std::wstring ExtractFilePath(std::wstring_view path) {
    const size_t p = LastDelimiter(path);
    return p == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, p + 1));
}

std::wstring ExtractFileExt(std::wstring_view path) {
    const size_t dot = path.find_last_of(L".\\:");
    if (dot == std::wstring_view::npos || path[dot] != L'.') {
        return {};
    }
    return std::wstring(path.substr(dot));
}

} // namespace torvik
