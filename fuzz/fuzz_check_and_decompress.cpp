// Reply bodies come from the network: CheckAndDecompress must neither crash
// nor inflate past its limit, whatever the bytes. The first input byte is the
// method letter; the second picks how the rest becomes a body, so that text
// seeds reach the decoders: 'h' hex digits, 'z' zlib-compressed after the
// marker, anything else the raw bytes after the marker.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/Error.h"
#include "protocol/Compression.h"
#include "protocol/Encodings.h"

namespace {
constexpr size_t kLimit = 1 << 20;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    const char method = static_cast<char>(data[0]);
    const char mode = static_cast<char>(data[1]);
    const std::string rest(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::string marker(torvik::kCompressedReplyMarker, torvik::kCompressedReplyMarkerSize);
    std::string body;
    if (mode == 'h') {
        body = torvik::Hex2Bin(rest);
    } else if (mode == 'z') {
        body = marker + torvik::ZlibCompressByteString(rest);
    } else {
        body = marker + rest;
    }
    const std::string original = body;
    try {
        torvik::CheckAndDecompress(body, method, kLimit);
    } catch (const torvik::TorvikError&) {
        return 0;
    }
    if (body.size() > kLimit) {
        std::abort();
    }
    if (mode == 'z' && body != rest) {
        std::abort();
    }
    return 0;
}
