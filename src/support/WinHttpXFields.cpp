// The form fields of TWinHttpX. They persist for the life of an instance.
#include "protocol/Encodings.h"
#include "support/WinHttpX.h"

namespace torvik {

void TWinHttpX::AddMultipartVar(const std::wstring& field, const std::wstring& value) {
    fields_.AddText(field, value);
}

void TWinHttpX::AddVariable(const std::wstring& field, const std::wstring& value) {
    AddMultipartVar(field, value);
}

void TWinHttpX::AddMultipartVarW(const std::wstring& field, const std::wstring& value) {
    AddMultipartVar(field, value);
}

void TWinHttpX::AddMultipartVarA(const std::wstring& field, const std::string& bytes) {
    AddMultipartVarBin(field, L"", bytes);
}

void TWinHttpX::AddMultipartVarBin(const std::wstring& field, const std::wstring& fileName,
                                   const std::string& bytes) {
    RequireMultipart();
    fields_.AddBinary(field, fileName, bytes);
}

void TWinHttpX::AddMultipartFormFile(const std::wstring& fieldName, const std::wstring& fileName) {
    RequireMultipart();
    const auto bytes = files_.ReadFile(fileName);
    if (!bytes) {
        throw TorvikError(L"Cannot open file \"" + fileName + L"\"");
    }
    AddMultipartVarBin(fieldName, FileNamePart(fileName), *bytes);
}

void TWinHttpX::AddMultipartFormFile(const std::wstring& fieldName,
                                     const std::wstring& fieldFilename, const std::string& bytes) {
    AddMultipartVarBin(fieldName, FileNamePart(fieldFilename), bytes);
}

void TWinHttpX::AddMultipartVar_B64(const std::wstring& field, const std::string& bytes) {
    const std::string encoded = BreakUU(B64Encode(bytes));
    AddMultipartVar(field, std::wstring(encoded.begin(), encoded.end()));
}

void TWinHttpX::AddMultipartStream(const std::wstring& field, const std::string& bytes) {
    AddMultipartVar_B64(field, bytes);
}

void TWinHttpX::AddMultipartFile(const std::wstring& field, const std::wstring& fileName) {
    const auto bytes = files_.ReadFile(fileName);
    if (!bytes) {
        throw TorvikError(L"Cannot open file \"" + fileName + L"\"");
    }
    AddMultipartVar_B64(field, *bytes);
}

void TWinHttpX::RequireMultipart() const {
    if (!MultipartPost) {
        throw TorvikError(L"TWinHttpX not in multipart mode");
    }
}

} // namespace torvik
