#pragma once
#include <string>
#include <vector>

#include "platform/AnsiCodePage.h"

namespace torvik {

// The boundary of every multipart request (29 hyphens, then 7cf87224d2020a).
inline constexpr char kMultipartBoundary[] = "-----------------------------7cf87224d2020a";
inline constexpr wchar_t kMultipartContentType[] =
    L"multipart/form-data; boundary=-----------------------------7cf87224d2020a";
inline constexpr wchar_t kUrlEncodedContentType[] = L"application/x-www-form-urlencoded";

struct MultipartTextField {
    std::wstring name;
    std::wstring value;
};
struct MultipartBinaryField {
    std::wstring name;
    std::wstring fileName; // may be empty; the part still carries filename=""
    std::string value;
};

// The fields of a form, each list in the order first added. Adding a field
// under a name already present (letter case significant) replaces that
// entry in place.
class MultipartFields {
public:
    void AddText(const std::wstring& name, const std::wstring& value);
    void AddBinary(const std::wstring& name, const std::wstring& fileName,
                   const std::string& bytes);
    const std::vector<MultipartTextField>& TextFields() const { return text_; }
    const std::vector<MultipartBinaryField>& BinaryFields() const { return binary_; }
    bool Empty() const { return text_.empty() && binary_.empty(); }
    void Clear();

private:
    std::vector<MultipartTextField> text_;
    std::vector<MultipartBinaryField> binary_;
};

// The multipart/form-data body: every text part (name in ANSI, value in
// UTF-8), then every binary part (file name in UTF-8, "Content-Transfer-
// Encoding: binary", the bytes unchanged), then the closing boundary line.
// The caller refuses a form without fields before building.
std::string BuildMultipartBody(const MultipartFields& fields, const AnsiCodePage& ansi);

// name=value pairs of the text fields joined by "&": names in ANSI as they
// are, values encoded with HttpEncodeEx. No fields give an empty body.
std::string BuildUrlEncodedBody(const MultipartFields& fields, const AnsiCodePage& ansi);

// The name part of a path (after the last "\" or "/").
std::wstring FileNamePart(const std::wstring& path);

} // namespace torvik
