#include "ui/ProgramFilter.h"

#include <algorithm>

#include "common/Text.h"

namespace torvik {
namespace {

constexpr wchar_t kQuote = L'"';

// Reads a quoted phrase from just after its opening quote; at returns just
// after the closing one.
std::wstring ReadQuoted(std::wstring_view text, size_t& at) {
    std::wstring phrase;
    while (at < text.size()) {
        const wchar_t c = text[at++];
        if (c != kQuote) {
            phrase += c;
        } else if (at < text.size() && text[at] == kQuote) {
            phrase += kQuote;
            ++at;
        } else {
            break;
        }
    }
    return phrase;
}

bool IsVersionUnknown(const std::wstring& version) {
    return version == L"--";
}

} // namespace

std::vector<std::wstring> SplitFilterWords(std::wstring_view text) {
    std::vector<std::wstring> words;
    size_t at = 0;
    while (at < text.size()) {
        std::wstring word;
        if (text[at] == kQuote) {
            ++at;
            word = ReadQuoted(text, at);
        } else {
            const size_t end = std::min(text.find(L' ', at), text.size());
            word = text.substr(at, end - at);
            at = end;
        }
        if (std::wstring trimmed = Trim(word); !trimmed.empty()) {
            words.push_back(std::move(trimmed));
        }
        while (at < text.size() && text[at] == L' ') {
            ++at;
        }
    }
    return words;
}

ProgramFilter::ProgramFilter(std::wstring_view text, ProgramFilterSwitches switches)
    : switches_(switches), hasWords_(!Trim(text).empty()) {
    for (const std::wstring& word : SplitFilterWords(text)) {
        std::wstring lower = LowerCaseAscii(word);
        if (lower.front() != L'-') {
            required_.push_back(std::move(lower));
        } else if (lower.size() > 1) {
            excluded_.push_back(lower.substr(1));
        }
    }
}

bool ProgramFilter::Shows(const TProgramRecord& record) const {
    if (record.Status == ProgramStatus::Missing || record.ProgramName.empty()) {
        return false;
    }
    if (!switches_.displayDrivers && StartsWith(record.ProgramName, L"Driver:")) {
        return false;
    }
    if (switches_.hideExcluded && record.Status == ProgramStatus::Excluded) {
        return false;
    }
    if (switches_.hideUpToDate &&
        (record.Status == ProgramStatus::UpToDate ||
         (IsVersionUnknown(record.TargetExeVersion) &&
          (record.ServerVersion.empty() || IsVersionUnknown(record.ServerVersion))))) {
        return false;
    }
    return !hasWords_ || MatchesWords(record);
}

bool ProgramFilter::MatchesWords(const TProgramRecord& record) const {
    const std::wstring text = LowerCaseAscii(
        Trim(record.ProgramName + L" " + record.TargetExePath + L" " + record.TargetExeFilename));
    for (const std::wstring& word : required_) {
        if (text.find(word) == std::wstring::npos) {
            return false;
        }
    }
    for (const std::wstring& word : excluded_) {
        if (text.find(word) != std::wstring::npos) {
            return false;
        }
    }
    return true;
}

} // namespace torvik
