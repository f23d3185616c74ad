#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace torvik::server {

// An uploaded zlib stream (RFC 1950) inflated, or why not.
struct Inflated {
    enum class Outcome {
        Ok,
        NotZlib,  // malformed, truncated, a wrong checksum, a preset dictionary
        TooLarge, // it would inflate past the limit
    };
    Outcome outcome = Outcome::Ok;
    std::string bytes;
};

// Inflates a complete zlib stream; bytes after its end are ignored. The
// service inflates every check's program list, so this uses libdeflate,
// about twice as fast as zlib's streaming inflate; it accepts and refuses
// the same streams as ZlibDecompressByteString (protocol/Compression.h).
Inflated InflateZlib(std::string_view stream, size_t maxOutput);

} // namespace torvik::server
