#pragma once
#include <cstddef>
#include <string>
#include <unordered_map>

#include "platform/TextCompare.h"

namespace torvik {

// The sort keys of the texts a list sorts by, kept from one sort to the
// next: the list sorts again after every filter change over records whose
// texts have not changed, and the locale's keys are the slow part of a sort.
// Keys are found by the text itself, so a record that changes or goes never
// gets a stale key. Used on one thread only.
class SortKeyCache {
public:
    // Forgets everything rather than grow past limit texts, so that the
    // texts of records long gone do not pile up over many rescans.
    explicit SortKeyCache(size_t limit = 50000) : limit_(limit) {}

    // Before a sort that asks for up to texts keys made by compare: the keys
    // Key hands out stay valid until the next Prepare.
    void Prepare(const TextCompare& compare, size_t texts);
    const std::string& Key(const std::wstring& text);

    size_t Size() const { return keys_.size(); }

private:
    const TextCompare* compare_ = nullptr;
    size_t limit_;
    std::unordered_map<std::wstring, std::string> keys_;
};

} // namespace torvik
