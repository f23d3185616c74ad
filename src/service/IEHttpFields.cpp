#include "service/IEHttp.h"

#include "common/Error.h"
#include "common/Text.h"
#include "protocol/Encodings.h"
#include "protocol/Multipart.h"
#include "service/HeaderLines.h"

// The request headers and form fields of TIEHttp.
namespace torvik {

void TIEHttp::AddRequestHeader(const std::wstring& name, const std::wstring& value) {
    SetHeaderLine(RequestHeaders, name, value);
}
void TIEHttp::DeleteRequestHeader(const std::wstring& name) {
    DeleteHeaderLine(RequestHeaders, name);
}
int TIEHttp::GetRequestHeaderIdx(const std::wstring& name) const {
    return HeaderLineIdx(RequestHeaders, name);
}
int TIEHttp::GetResponseHeaderIdx(const std::wstring& name) const {
    return HeaderLineIdx(ResponseHeaders, name);
}
std::wstring TIEHttp::GetRequestHeaderValue(const std::wstring& name) const {
    return HeaderLineValue(RequestHeaders, name);
}
std::wstring TIEHttp::GetResponseHeaderValue(const std::wstring& name) const {
    return HeaderLineValue(ResponseHeaders, name);
}

void TIEHttp::AddMultipartVarW(const std::wstring& field, const std::wstring& value) {
    if (!multipartPost_) {
        ErrorMsg = L"TIEHttp not in multipart mode";
        return;
    }
    fields_.AddText(field, value);
}

void TIEHttp::AddMultipartVarBin(const std::wstring& field, const std::wstring& fileName,
                                 const std::string& bytes) {
    if (!multipartPost_) {
        ErrorMsg = L"TIEHttp not in multipart mode";
        return;
    }
    fields_.AddBinary(field, fileName, bytes);
}

void TIEHttp::AddMultipartVar_B64(const std::wstring& field, const std::string& bytes) {
    AddMultipartVarW(field, WidenAscii(BreakUU(B64Encode(bytes))));
}

std::string TIEHttp::FileToB64String(const std::wstring& fileName) const {
    if (services_.fs == nullptr) {
        throw TorvikError(L"Cannot open file " + fileName);
    }
    const std::optional<std::string> bytes = services_.fs->ReadFile(fileName);
    if (!bytes) {
        throw TorvikError(L"Cannot open file " + fileName);
    }
    return BreakUU(B64Encode(*bytes));
}

void TIEHttp::AddMultipartFile(const std::wstring& field, const std::wstring& fileName) {
    AddMultipartVarW(field, WidenAscii(FileToB64String(fileName)));
}

void TIEHttp::AddMultipartFormFile(const std::wstring& field, const std::wstring& fileName,
                                   const std::string& stream) {
    AddMultipartVarBin(field, FileNamePart(fileName), stream);
}

void TIEHttp::AddMultipartFormFile(const std::wstring& field, const std::wstring& fileName) {
    const std::optional<std::string> bytes =
        services_.fs != nullptr ? services_.fs->ReadFile(fileName) : std::nullopt;
    if (!bytes) {
        throw TorvikError(L"Cannot open file " + fileName);
    }
    AddMultipartFormFile(field, fileName, *bytes);
}

} // namespace torvik
