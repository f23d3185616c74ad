#include "service/LastReply.h"

#include "common/Error.h"
#include "common/PathUtils.h"
#include "common/Text.h"
#include "common/Utf8.h"
#include "protocol/Cipher.h"

namespace torvik {

void SaveLastReply(FileSystem& fs, const std::wstring& fileName,
                   const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const auto& line : lines) {
        text += line + L"\r\n";
    }
    fs.ForceDirectories(ExtractFilePath(fileName));
    if (!fs.WriteFileAtomic(fileName, EncryptX(StringToUtf8(text), kLastReplyKey))) {
        throw TorvikError(L"Cannot write the file " + fileName);
    }
}

std::vector<std::wstring> LoadLastReply(const FileSystem& fs, const std::wstring& fileName,
                                        double modified, double now) {
    if (modified == 0 || now - kLastReplyMaxAgeDays > modified) {
        return {};
    }
    const auto bytes = fs.ReadFile(fileName);
    if (!bytes) {
        return {};
    }
    // The file's lines joined and trimmed, as 8-bit text.
    std::string hex;
    for (const char c : *bytes) {
        if (c != '\r' && c != '\n') {
            hex += c;
        }
    }
    while (!hex.empty() && static_cast<unsigned char>(hex.back()) <= ' ') {
        hex.pop_back();
    }
    size_t start = 0;
    while (start < hex.size() && static_cast<unsigned char>(hex[start]) <= ' ') {
        ++start;
    }
    // Damaged digits or bytes decode to replacement characters, never raise.
    return TextToLines(Utf8ToString(DecryptX(hex.substr(start), kLastReplyKey)));
}

} // namespace torvik
