#pragma once
#include <string>
#include <vector>

namespace torvik {

// The program's arguments (without the executable path) and the readers of
// its switches.
class CommandLine {
public:
    CommandLine() = default;
    explicit CommandLine(std::vector<std::wstring> args) : args_(std::move(args)) {}

    const std::vector<std::wstring>& Args() const { return args_; }

    // Index (from 1, as argv) of the first argument equal to name; failing
    // that, of the first argument equal to it when both have a "/" in front.
    // -1 when nothing matches.
    int ParamIdx(const std::wstring& name) const;
    bool IsParam(const std::wstring& name) const { return ParamIdx(name) != -1; }
    // The value of the first argument name=value or name:value (one leading
    // "/" ignored on both sides); empty when none matches.
    std::wstring GetParam(const std::wstring& name) const;

private:
    std::vector<std::wstring> args_;
};

} // namespace torvik
