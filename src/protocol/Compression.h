#pragma once
#include <cstddef>
#include <optional>
#include <string>

#include "common/Error.h"

namespace torvik {

// The first 8 bytes of a compressed reply body: those of a gzip member with
// method deflate, no flags and modification time 0.
inline constexpr char kCompressedReplyMarker[] = "\x1F\x8B\x08\x00\x00\x00\x00\x00";
inline constexpr size_t kCompressedReplyMarkerSize = 8;

// No reply may inflate beyond this: a few kilobytes of deflate data can
// expand into gigabytes.
inline constexpr size_t kMaxDecompressedSize = 64u * 1024 * 1024;

// Raised when a reply would inflate beyond its limit: the reply is refused,
// not damaged data, so the HTTP components report it as their own failure.
class EDecompressedTooLarge : public TorvikError {
public:
    using TorvikError::TorvikError;
};

// A complete zlib stream (RFC 1950): deflate level 1, window bits 15, memory
// level 8, default strategy. Its first two bytes are 78 01.
std::string ZlibCompressByteString(const std::string& bytes);
// The inventory as it is sent: the text's UTF-8 bytes, compressed as above.
std::string ZlibCompressText(const std::wstring& text);

// Inflates a zlib stream. Throws TorvikError with the library's text for
// malformed or truncated data, and EDecompressedTooLarge when the output
// would exceed maxOutput.
std::string ZlibDecompressByteString(const std::string& zlibStream,
                                     size_t maxOutput = kMaxDecompressedSize);

// Method "Z": the body after the 8-byte marker is a zlib stream (throws on
// malformed data). Method "G": the whole body is a gzip member; the decoder
// does not throw on malformed data but returns what it could decode. Both
// throw when the output would exceed maxOutput. Other letters: no result.
std::optional<std::string> DecompressStream(const std::string& body, char method,
                                            size_t maxOutput = kMaxDecompressedSize);

// Undoes the compression of a reply body in place. A body that does not
// begin with the marker stays as it is. Otherwise the method letter (NUL or
// unknown letters mean "Z") is tried first; a malformed-data error of that
// attempt makes the other letter be tried, whose error propagates. An
// output beyond maxOutput throws EDecompressedTooLarge at once.
void CheckAndDecompress(std::string& body, char method, size_t maxOutput = kMaxDecompressedSize);

} // namespace torvik
