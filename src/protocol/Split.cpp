#include "protocol/Split.h"

#include "common/Text.h"

namespace torvik {

std::vector<std::wstring> _x_Split(const std::wstring& text, const std::wstring& separator,
                                   bool trim) {
    std::vector<std::wstring> fields;
    if (text.empty()) {
        return fields;
    }
    if (separator.empty()) {
        fields.push_back(trim ? Trim(text) : text);
        return fields;
    }
    size_t start = 0;
    for (;;) {
        const size_t hit = text.find(separator, start);
        const std::wstring field =
            text.substr(start, hit == std::wstring::npos ? std::wstring::npos : hit - start);
        fields.push_back(trim ? Trim(field) : field);
        if (hit == std::wstring::npos) {
            return fields;
        }
        start = hit + separator.size();
    }
}

std::vector<std::wstring> _x_SplitToSl(const std::wstring& text, const std::wstring& separator) {
    return _x_Split(text, separator, true);
}

std::wstring _x_StringReplace_IC(const std::wstring& text, const std::wstring& oldText,
                                 const std::wstring& newText) {
    if (oldText.empty()) {
        return text;
    }
    const std::wstring lowerText = LowerCaseAscii(text);
    const std::wstring lowerOld = LowerCaseAscii(oldText);
    std::wstring out;
    size_t pos = 0;
    for (;;) {
        const size_t hit = lowerText.find(lowerOld, pos);
        if (hit == std::wstring::npos) {
            out.append(text, pos, std::wstring::npos);
            return out;
        }
        out.append(text, pos, hit - pos);
        out += newText;
        pos = hit + oldText.size();
    }
}

std::vector<std::wstring> _x_SplitCsvDataLineX(const std::wstring& text, wchar_t separator,
                                               const LocaleSeparators& locale) {
    if (separator == L'\0') {
        separator = (locale.list == L',' && locale.decimal == L',') ? L';' : locale.list;
    }
    const std::wstring line = text + separator;
    std::vector<std::wstring> fields;
    std::wstring field;
    bool quoted = false;
    const auto endField = [&] {
        if (!Trim(field).empty()) {
            fields.push_back(field);
            field.clear();
        }
    };
    for (size_t i = 0; i < line.size(); ++i) {
        const wchar_t c = line[i];
        const bool last = i + 1 == line.size();
        if (c == L'"') {
            if (quoted && !last && line[i + 1] == L'"') {
                field += L'"';
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if ((c == separator && !quoted) || (last && quoted)) {
            endField();
        } else {
            field += c;
        }
    }
    return fields;
}

} // namespace torvik
