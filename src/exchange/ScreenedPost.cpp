#include "exchange/ScreenedPost.h"

#include "common/Text.h"

namespace torvik {

std::optional<std::vector<std::wstring>> ScreenedLines(const ServiceReply& reply,
                                                       const ScreeningHooks& hooks) {
    if (reply.cancelled) {
        return std::nullopt;
    }
    ScreenReply(LinesToText(reply.lines), hooks);
    return reply.lines;
}

std::optional<std::vector<std::wstring>> PostScreened(ServiceTransport& transport,
                                                      const std::wstring& url,
                                                      const MultipartFields& form,
                                                      const ScreeningHooks& hooks) {
    return ScreenedLines(transport.Post(url, form), hooks);
}

} // namespace torvik
