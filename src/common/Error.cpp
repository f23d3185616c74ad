#include "common/Error.h"

#include "common/Utf8.h"

namespace torvik {

TorvikError::TorvikError(std::wstring message)
    : std::runtime_error(StringToUtf8(message)), message_(std::move(message)) {}

std::wstring CurrentExceptionText() {
    try {
        throw;
    } catch (const TorvikError& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return Utf8ToString(e.what());
    } catch (...) {
        return L"Unknown error";
    }
}

} // namespace torvik
