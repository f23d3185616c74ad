#include "inventory/CommandLine.h"

namespace torvik {
namespace {
std::wstring WithSlash(const std::wstring& s) {
    return (!s.empty() && s[0] == L'/') ? s : L"/" + s;
}
std::wstring WithoutSlash(const std::wstring& s) {
    return (!s.empty() && s[0] == L'/') ? s.substr(1) : s;
}
} // namespace

int CommandLine::ParamIdx(const std::wstring& name) const {
    for (size_t i = 0; i < args_.size(); ++i) {
        if (args_[i] == name) {
            return static_cast<int>(i) + 1;
        }
    }
    if (name.empty()) {
        return -1;
    }
    const std::wstring slashed = WithSlash(name);
    for (size_t i = 0; i < args_.size(); ++i) {
        if (WithSlash(args_[i]) == slashed) {
            return static_cast<int>(i) + 1;
        }
    }
    return -1;
}

std::wstring CommandLine::GetParam(const std::wstring& name) const {
    const std::wstring key = WithoutSlash(name);
    for (const auto& raw : args_) {
        const std::wstring arg = WithoutSlash(raw);
        const size_t sep = arg.find_first_of(L"=:");
        if (sep == std::wstring::npos || sep != key.size()) {
            continue;
        }
        if (arg.compare(0, key.size(), key) == 0) {
            return arg.substr(sep + 1);
        }
    }
    return {};
}

} // namespace torvik
