#include "protocol/Compression.h"

#include <zlib.h>

#include <array>

#include "common/Utf8.h"

namespace torvik {
namespace {

constexpr int kWindowBits = 15;
constexpr int kGzipWindowBits = 16 + 15;
constexpr int kMemLevel = 8;

std::wstring ZlibText(int code) {
    const char* text = zError(code);
    return Utf8ToString(text != nullptr ? text : "unknown error");
}

[[noreturn]] void ThrowTooLarge(size_t maxOutput) {
    throw EDecompressedTooLarge(L"Decompressed reply is larger than the limit of " +
                                std::to_wstring(maxOutput) + L" bytes");
}

// Owns an inflate state.
class Inflater {
public:
    explicit Inflater(int windowBits) {
        const int rc = inflateInit2(&z_, windowBits);
        if (rc != Z_OK) {
            throw TorvikError(ZlibText(rc));
        }
    }
    ~Inflater() { inflateEnd(&z_); }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    enum class Outcome { End, Error, Truncated };
    struct Result {
        Outcome outcome;
        int code;
    };

    // Inflates until the end of the stream, an error or the end of input,
    // appending to out; throws when out would grow past maxOutput.
    Result Run(const std::string& input, size_t offset, std::string& out, size_t maxOutput) {
        z_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data() + offset));
        z_.avail_in = static_cast<uInt>(input.size() - offset);
        std::array<unsigned char, 16384> buffer;
        for (;;) {
            z_.next_out = buffer.data();
            z_.avail_out = static_cast<uInt>(buffer.size());
            const int rc = inflate(&z_, Z_NO_FLUSH);
            const size_t produced = buffer.size() - z_.avail_out;
            if (produced > maxOutput - out.size()) {
                ThrowTooLarge(maxOutput);
            }
            out.append(reinterpret_cast<const char*>(buffer.data()), produced);
            if (rc == Z_STREAM_END) {
                return {Outcome::End, rc};
            }
            if (rc == Z_BUF_ERROR && z_.avail_in == 0) {
                return {Outcome::Truncated, rc};
            }
            if (rc != Z_OK && rc != Z_BUF_ERROR) {
                return {Outcome::Error, rc == Z_NEED_DICT ? Z_DATA_ERROR : rc};
            }
        }
    }

private:
    z_stream z_{};
};

// The outcome of one decoding attempt: the bytes, or the library's error.
struct Attempt {
    std::optional<std::string> bytes;
    std::wstring error;
};

Attempt DecodeZ(const std::string& body, size_t maxOutput) {
    std::string out;
    Inflater inflater(kWindowBits);
    const auto result =
        inflater.Run(body, std::min(body.size(), kCompressedReplyMarkerSize), out, maxOutput);
    if (result.outcome != Inflater::Outcome::End) {
        return {std::nullopt, ZlibText(result.code)};
    }
    return {std::move(out), {}};
}

std::string DecodeG(const std::string& body, size_t maxOutput) {
    std::string out;
    Inflater inflater(kGzipWindowBits);
    inflater.Run(body, 0, out, maxOutput);
    return out;
}

Attempt TryDecompress(const std::string& body, char method, size_t maxOutput) {
    if (method == 'G') {
        return {DecodeG(body, maxOutput), {}};
    }
    return DecodeZ(body, maxOutput);
}

} // namespace

std::string ZlibCompressByteString(const std::string& bytes) {
    z_stream z{};
    if (deflateInit2(&z, Z_BEST_SPEED, Z_DEFLATED, kWindowBits, kMemLevel, Z_DEFAULT_STRATEGY) !=
        Z_OK) {
        throw TorvikError(L"Cannot start the compression");
    }
    std::string out(deflateBound(&z, static_cast<uLong>(bytes.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    if (rc != Z_STREAM_END) {
        throw TorvikError(ZlibText(rc));
    }
    return out;
}

std::string ZlibCompressText(const std::wstring& text) {
    return ZlibCompressByteString(StringToUtf8(text));
}

std::string ZlibDecompressByteString(const std::string& zlibStream, size_t maxOutput) {
    std::string out;
    Inflater inflater(kWindowBits);
    const auto result = inflater.Run(zlibStream, 0, out, maxOutput);
    if (result.outcome != Inflater::Outcome::End) {
        throw TorvikError(ZlibText(result.code));
    }
    return out;
}

std::optional<std::string> DecompressStream(const std::string& body, char method,
                                            size_t maxOutput) {
    if (method != 'Z' && method != 'G') {
        return std::nullopt;
    }
    Attempt attempt = TryDecompress(body, method, maxOutput);
    if (!attempt.bytes) {
        throw TorvikError(attempt.error);
    }
    return std::move(attempt.bytes);
}

void CheckAndDecompress(std::string& body, char method, size_t maxOutput) {
    if (body.size() < kCompressedReplyMarkerSize ||
        body.compare(0, kCompressedReplyMarkerSize, kCompressedReplyMarker,
                     kCompressedReplyMarkerSize) != 0) {
        return;
    }
    const char first = method == 'G' ? 'G' : 'Z';
    Attempt attempt = TryDecompress(body, first, maxOutput);
    if (!attempt.bytes) {
        attempt = TryDecompress(body, first == 'Z' ? 'G' : 'Z', maxOutput);
        if (!attempt.bytes) {
            throw TorvikError(attempt.error);
        }
    }
    body = std::move(*attempt.bytes);
}

} // namespace torvik
