#include "ui/SortKeyCache.h"

namespace torvik {

void SortKeyCache::Prepare(const TextCompare& compare, size_t texts) {
    // Another comparison makes other keys; clearing only here means no key
    // handed out during a sort is ever freed under it.
    if (&compare != compare_ || keys_.size() + texts > limit_) {
        keys_.clear();
        compare_ = &compare;
    }
}

const std::string& SortKeyCache::Key(const std::wstring& text) {
    if (const auto found = keys_.find(text); found != keys_.end()) {
        return found->second;
    }
    return keys_.emplace(text, compare_->SortKey(text)).first->second;
}

} // namespace torvik
