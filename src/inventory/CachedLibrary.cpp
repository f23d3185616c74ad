#include "inventory/CachedLibrary.h"

#include "common/DateText.h"
#include "common/Error.h"
#include "common/Text.h"
#include "common/TextFile.h"

namespace torvik {
namespace {

// Line breaks and "|" would end the line or the field.
std::wstring EscapeDetails(std::wstring details) {
    details = ReplaceAll(std::move(details), L"\r\n", L"<br>");
    details = ReplaceAll(std::move(details), L"\r", L"<br>");
    details = ReplaceAll(std::move(details), L"\n", L"<br>");
    return ReplaceAll(std::move(details), L"|", L"<pipe>");
}

std::wstring UnescapeDetails(std::wstring details) {
    details = ReplaceAll(std::move(details), L"<br>", L"\r\n");
    return ReplaceAll(std::move(details), L"<pipe>", L"|");
}

} // namespace

std::wstring CacheLine(const TCachedLibraryRecord& row) {
    return row.FullFnLower + L"|" + row.AlreadySentToServer + L"|" + row.ModifiedDt + L"|" +
           row.ExeVersion + L"|" + EscapeDetails(row.OtherDetails);
}

std::unique_ptr<TCachedLibraryRecord> ParseCacheLine(const std::wstring& line) {
    if (line.empty()) {
        return nullptr;
    }
    std::vector<std::wstring> pieces;
    size_t start = 0;
    for (size_t sep = line.find(L'|'); pieces.size() <= 5; sep = line.find(L'|', start)) {
        pieces.push_back(Trim(std::wstring_view(line).substr(
            start, sep == std::wstring::npos ? std::wstring::npos : sep - start)));
        if (sep == std::wstring::npos) {
            break;
        }
        start = sep + 1;
    }
    if (pieces.size() != 5) {
        return nullptr;
    }
    auto row = std::make_unique<TCachedLibraryRecord>();
    row->FullFnLower = LowerCaseAscii(pieces[0]);
    row->AlreadySentToServer = pieces[1];
    row->ModifiedDt = pieces[2];
    row->ExeVersion = pieces[3];
    row->OtherDetails = UnescapeDetails(pieces[4]);
    return row;
}

TCachedLibrary::TCachedLibrary(FileSystem& fs, const ExecutableFacts& facts,
                               const AnsiCodePage& ansi)
    : fs_(fs), facts_(facts), ansi_(ansi) {}

void TCachedLibrary::Append(std::unique_ptr<TCachedLibraryRecord> row) {
    if (!row->FullFnLower.empty()) {
        index_.emplace(row->FullFnLower, rows_.size());
    }
    rows_.push_back(std::move(row));
}

void TCachedLibrary::LoadCachedLibrary() {
    rows_.clear();
    index_.clear();
    const auto bytes = fs_.ReadFile(FileName);
    if (!bytes) {
        return;
    }
    const auto unmarked = [this](const std::string& text) { return ansi_.ToText(text); };
    for (const auto& line : SplitTextLines(DecodeTextFile(*bytes, unmarked))) {
        if (auto row = ParseCacheLine(line)) {
            Append(std::move(row));
        }
    }
}

void TCachedLibrary::SaveCachedLibrary() {
    std::vector<std::wstring> lines;
    for (const auto& row : rows_) {
        if (!row->FullFnLower.empty()) {
            lines.push_back(CacheLine(*row));
        }
    }
    if (!fs_.WriteFileAtomic(FileName, EncodeTextFile(lines))) {
        throw TorvikError(L"Cannot write the file " + FileName);
    }
    CacheModified = false;
}

TCachedLibraryRecord* TCachedLibrary::GetCachedRecordIdx(const std::wstring& fileName) {
    return GetCachedRecordIdx(fileName, facts_.FileDateTime(fileName));
}

TCachedLibraryRecord& TCachedLibrary::CreateCachedRecord(const std::wstring& fileName) {
    return CreateCachedRecord(fileName, facts_.FileDateTime(fileName));
}

TCachedLibraryRecord* TCachedLibrary::GetCachedRecordIdx(const std::wstring& fileName,
                                                         double modified) {
    const std::wstring key = LowerCaseAscii(fileName);
    const auto found = index_.find(key);
    if (found == index_.end()) {
        return nullptr;
    }
    TCachedLibraryRecord& row = *rows_[found->second];
    if (row.ModifiedDt == DateTimeToStrX_noms(modified)) {
        return &row;
    }
    // The executable changed since the row was made.
    row.FullFnLower.clear();
    CacheModified = true;
    const size_t invalidated = found->second;
    index_.erase(found);
    for (size_t i = invalidated + 1; i < rows_.size(); ++i) {
        if (rows_[i]->FullFnLower == key) {
            index_.emplace(key, i);
            break;
        }
    }
    return nullptr;
}

TCachedLibraryRecord& TCachedLibrary::CreateCachedRecord(const std::wstring& fileName,
                                                         double modified) {
    auto row = std::make_unique<TCachedLibraryRecord>();
    row->FullFnLower = LowerCaseAscii(fileName);
    row->ModifiedDt = DateTimeToStrX_noms(modified);
    auto read = facts_.ReadVersionAndDetails(fileName);
    row->ExeVersion = std::move(read.version);
    row->OtherDetails = std::move(read.details);
    TCachedLibraryRecord& added = *row;
    Append(std::move(row));
    CacheModified = true;
    return added;
}

} // namespace torvik
