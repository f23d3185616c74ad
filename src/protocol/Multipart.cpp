#include "protocol/Multipart.h"

#include <algorithm>

#include "common/Utf8.h"
#include "protocol/UrlEncode.h"

namespace torvik {

void MultipartFields::AddText(const std::wstring& name, const std::wstring& value) {
    const auto it = std::find_if(text_.begin(), text_.end(),
                                 [&](const MultipartTextField& f) { return f.name == name; });
    if (it != text_.end()) {
        it->value = value;
    } else {
        text_.push_back({name, value});
    }
}

void MultipartFields::AddBinary(const std::wstring& name, const std::wstring& fileName,
                                const std::string& bytes) {
    const auto it = std::find_if(binary_.begin(), binary_.end(),
                                 [&](const MultipartBinaryField& f) { return f.name == name; });
    if (it != binary_.end()) {
        it->fileName = fileName;
        it->value = bytes;
    } else {
        binary_.push_back({name, fileName, bytes});
    }
}

void MultipartFields::Clear() {
    text_.clear();
    binary_.clear();
}

std::string BuildMultipartBody(const MultipartFields& fields, const AnsiCodePage& ansi) {
    const std::string delimiter = std::string("--") + kMultipartBoundary + "\r\n";
    std::string body;
    for (const auto& f : fields.TextFields()) {
        body += delimiter;
        body += "Content-Disposition: form-data; name=\"" + ansi.FromText(f.name) + "\"\r\n\r\n";
        body += StringToUtf8(f.value);
        body += "\r\n";
    }
    for (const auto& f : fields.BinaryFields()) {
        body += delimiter;
        body += "Content-Disposition: form-data; name=\"" + ansi.FromText(f.name) +
                "\"; filename=\"" + StringToUtf8(f.fileName) + "\"\r\n";
        body += "Content-Transfer-Encoding: binary\r\n\r\n";
        body += f.value;
        body += "\r\n";
    }
    body += std::string("--") + kMultipartBoundary + "--\r\n";
    return body;
}

std::string BuildUrlEncodedBody(const MultipartFields& fields, const AnsiCodePage& ansi) {
    std::string body;
    for (const auto& f : fields.TextFields()) {
        if (!body.empty()) {
            body += '&';
        }
        body += ansi.FromText(f.name) + "=" + ansi.FromText(HttpEncodeEx(f.value));
    }
    return body;
}

std::wstring FileNamePart(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

} // namespace torvik
