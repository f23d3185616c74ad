#pragma once
#include <array>
#include <cstddef>

#include "app/ContainerWindow.h"
#include "exchange/CheckReply.h"
#include "platform/win32/UniqueHandle.h"

namespace torvik::app {

// The last check's counters in the top bar: five captions on a panel of
// their own colour, each with its number below. A number above 0 stands
// out (bold, green).
class CountersPanel : public ContainerWindow {
public:
    enum Counter : size_t {
        kNewVersions,
        kFromCommunity,
        kUpToDate,
        kMySubmissions,
        kTotalSubmissions,
        kCount
    };
    static constexpr COLORREF kBackground = RGB(0xC7, 0xC7, 0xD6);
    static constexpr COLORREF kEmphasis = RGB(0x00, 0x80, 0x00);

    // numberIds: the numbers' control ids, in the order of Counter. Every
    // number reads "0".
    bool Create(HWND parent, int id, const std::array<int, kCount>& numberIds);
    void SetCounter(Counter counter, const CounterLabel& label);
    HWND Number(Counter counter) const { return numbers_[counter]; }
    bool Emphasised(Counter counter) const { return emphasised_[counter]; }
    // The width the captions need side by side with some room between
    // them; a narrower panel leaves less room, down to none.
    int PreferredWidth() const;
    // Places the panel and spreads its columns over the width given.
    void Move(int x, int y, int width, int height);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    int CaptionsWidth() const;

    win32::UniqueBrush background_;
    win32::UniqueFont bold_;
    std::array<HWND, kCount> captions_{}, numbers_{};
    std::array<int, kCount> captionWidths_{};
    std::array<bool, kCount> emphasised_{};
};

} // namespace torvik::app
