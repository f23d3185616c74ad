#include "server/Inflate.h"

#include <libdeflate.h>

#include <algorithm>
#include <memory>
#include <new>

namespace torvik::server {
namespace {

struct FreeDecompressor {
    void operator()(libdeflate_decompressor* d) const noexcept { libdeflate_free_decompressor(d); }
};

// libdeflate inflates into a buffer of a size given beforehand. Program
// lists at level 1 inflate to 3 to 5 times their size: the first buffer
// fits nearly all, and a stream that needs more is inflated again into
// twice the room, up to the limit.
constexpr size_t kFirstRatio = 8;
constexpr size_t kSmallestBuffer = 64 * 1024;

} // namespace

Inflated InflateZlib(std::string_view stream, size_t maxOutput) {
    const std::unique_ptr<libdeflate_decompressor, FreeDecompressor> decompressor(
        libdeflate_alloc_decompressor());
    if (!decompressor) {
        throw std::bad_alloc();
    }
    const size_t guess =
        stream.size() > maxOutput / kFirstRatio ? maxOutput : stream.size() * kFirstRatio;
    size_t room = std::min(maxOutput, std::max(kSmallestBuffer, guess));
    Inflated inflated;
    for (;;) {
        inflated.bytes.resize(room);
        size_t produced = 0;
        size_t used = 0; // asked for, so that bytes after the stream are allowed
        const libdeflate_result result =
            libdeflate_zlib_decompress_ex(decompressor.get(), stream.data(), stream.size(),
                                          inflated.bytes.data(), room, &used, &produced);
        if (result == LIBDEFLATE_SUCCESS) {
            inflated.bytes.resize(produced);
            return inflated;
        }
        if (result != LIBDEFLATE_INSUFFICIENT_SPACE) {
            return {Inflated::Outcome::NotZlib, {}};
        }
        if (room == maxOutput) {
            return {Inflated::Outcome::TooLarge, {}};
        }
        room = room > maxOutput / 2 ? maxOutput : room * 2;
    }
}

} // namespace torvik::server
