#pragma once
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "service/ServiceTransport.h"

namespace torvik::testing {

// A service whose answers the test scripts, one per request: reply lines,
// a cancel (true), or a transport error with its code. Records every URL
// and form it was given; a request beyond the script fails the test at once.
class ScriptedTransport : public ServiceTransport {
public:
    struct Failure {
        std::wstring message;
        uint32_t code;
    };
    using Answer = std::variant<std::vector<std::wstring>, bool, Failure>;
    std::deque<Answer> answers;
    std::vector<MultipartFields> forms;
    std::vector<std::wstring> urls;
    // Runs inside every request, before it answers: what the window shows
    // while it waits.
    std::function<void()> whilePosting;

    ServiceReply Post(const std::wstring& url, const MultipartFields& form) override {
        urls.push_back(url);
        forms.push_back(form);
        if (whilePosting) {
            whilePosting();
        }
        if (answers.empty()) {
            throw std::logic_error("a request the test did not script");
        }
        auto answer = answers.front();
        answers.pop_front();
        if (auto* failure = std::get_if<Failure>(&answer)) {
            throw ServiceTransportError(failure->message, failure->code);
        }
        if (std::holds_alternative<bool>(answer)) {
            return {true, {}};
        }
        return {false, std::get<std::vector<std::wstring>>(answer)};
    }
};

// The text fields of a form as name=value, in order.
inline std::vector<std::wstring> FieldsOf(const MultipartFields& form) {
    std::vector<std::wstring> fields;
    for (const auto& field : form.TextFields()) {
        fields.push_back(field.name + L"=" + field.value);
    }
    return fields;
}

} // namespace torvik::testing
