#include "inventory/PeHeader.h"

#include <optional>

#include "common/Error.h"

namespace torvik {
namespace {

constexpr uint64_t kPeOffsetField = 0x3C;
// Behind the "PE\0\0" signature, the machine and the section count.
constexpr uint64_t kTimeStampInHeader = 8;

// Reference pair: stamp 1222792734 (2008-09-30 16:38:54 UTC) is the
// date-time value 39721.818681 (2008-09-30 19:38:54).
constexpr int64_t kBaseStamp = 1222792734;
constexpr double kBaseDate = 39721.818681;

// nullopt when the file ends before the four bytes do.
std::optional<uint32_t> ReadLe32(const FileSystem& fs, const std::wstring& fileName,
                                 uint64_t offset) {
    const auto bytes = fs.ReadFileRange(fileName, offset, 4);
    if (!bytes) {
        throw TorvikError(L"Cannot open file \"" + fileName + L"\"");
    }
    if (bytes->size() < 4) {
        return std::nullopt;
    }
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>((*bytes)[i]);
    }
    return value;
}

} // namespace

uint32_t GetExePeTimeStamp(const FileSystem& fs, const std::wstring& fileName) {
    const auto header = ReadLe32(fs, fileName, kPeOffsetField);
    if (!header) {
        return 0;
    }
    return ReadLe32(fs, fileName, uint64_t{*header} + kTimeStampInHeader).value_or(0);
}

double GetExePeDateTime(const FileSystem& fs, const std::wstring& fileName) {
    return PeTimeStampToDateTime(GetExePeTimeStamp(fs, fileName));
}

double PeTimeStampToDateTime(uint32_t stamp) {
    // Signed difference: a stamp before the base must give an earlier date.
    return kBaseDate + static_cast<double>(int64_t{stamp} - kBaseStamp) / 86400.0;
}

} // namespace torvik
