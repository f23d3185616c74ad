#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "common/Error.h"

namespace torvik {
namespace {

std::wstring TextOf(const std::function<void()>& raise) {
    try {
        raise();
    } catch (...) {
        return CurrentExceptionText();
    }
    return L"(nothing raised)";
}

TEST(CurrentExceptionText, NamesEveryKindOfException) {
    EXPECT_EQ(TextOf([] { throw TorvikError(L"Cannot write the file \u00e9"); }),
              L"Cannot write the file \u00e9");
    EXPECT_EQ(TextOf([] { throw std::runtime_error("caf\xC3\xA9"); }), L"caf\u00e9");
    EXPECT_EQ(TextOf([] { throw 42; }), L"Unknown error");
}

} // namespace
} // namespace torvik
