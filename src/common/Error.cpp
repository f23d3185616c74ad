#include "common/Error.h"

#include "common/Utf8.h"

namespace torvik {

TorvikError::TorvikError(std::wstring message)
    : std::runtime_error(StringToUtf8(message)), message_(std::move(message)) {}

} // namespace torvik
