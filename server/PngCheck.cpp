#include "server/PngCheck.h"

#include <png.h>
#include <zlib.h>

#include <array>
#include <vector>

namespace torvik::server {
namespace {

constexpr std::string_view kSignature("\x89PNG\r\n\x1a\n", 8);

uint32_t BigEndian32(std::string_view bytes, size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) << 24 |
           static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 3]));
}

bool ValidBitDepth(int colourType, int bitDepth) {
    switch (colourType) {
    case 0: // grey
        return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8 || bitDepth == 16;
    case 3: // palette
        return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8;
    case 2: // RGB
    case 4: // grey and alpha
    case 6: // RGBA
        return bitDepth == 8 || bitDepth == 16;
    default:
        return false;
    }
}

std::optional<std::string> IhdrFault(std::string_view data, uint32_t maxSide) {
    if (data.size() != 13) {
        return "IHDR is not 13 bytes long";
    }
    const uint32_t width = BigEndian32(data, 0), height = BigEndian32(data, 4);
    if (width == 0 || height == 0 || width > maxSide || height > maxSide) {
        return "the image is " + std::to_string(width) + " x " + std::to_string(height) +
               " pixels; 1 to " + std::to_string(maxSide) + " on each side are taken";
    }
    const int bitDepth = static_cast<unsigned char>(data[8]);
    const int colourType = static_cast<unsigned char>(data[9]);
    if (!ValidBitDepth(colourType, bitDepth)) {
        return "IHDR holds an invalid colour type or bit depth";
    }
    if (data[10] != 0 || data[11] != 0 || (data[12] != 0 && data[12] != 1)) {
        return "IHDR holds an unknown compression, filter or interlace method";
    }
    return std::nullopt;
}

// The chunks, one after another, as the format lays them out.
std::optional<std::string> StructureFault(std::string_view bytes, uint32_t maxSide) {
    if (bytes.size() < kSignature.size() || bytes.substr(0, kSignature.size()) != kSignature) {
        return "no PNG signature";
    }
    size_t at = kSignature.size();
    bool seenIhdr = false, seenPlte = false, seenIdat = false, idatEnded = false;
    int colourType = -1;
    while (true) {
        if (bytes.size() - at < 12) {
            return "a chunk is cut short";
        }
        const uint32_t length = BigEndian32(bytes, at);
        if (length > bytes.size() - at - 12) {
            return "a chunk is cut short";
        }
        const std::string_view type = bytes.substr(at + 4, 4);
        const std::string_view data = bytes.substr(at + 8, length);
        for (const char c : type) {
            if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) {
                return "a chunk type is not four letters";
            }
        }
        const uLong crc =
            crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(bytes.data() + at + 4),
                  static_cast<uInt>(length + 4));
        if (crc != BigEndian32(bytes, at + 8 + length)) {
            return "the CRC of chunk " + std::string(type) + " does not match";
        }
        at += 12 + length;
        if (!seenIhdr) {
            if (type != "IHDR") {
                return "IHDR is not the first chunk";
            }
            if (auto fault = IhdrFault(data, maxSide)) {
                return fault;
            }
            colourType = static_cast<unsigned char>(data[9]);
            seenIhdr = true;
            continue;
        }
        if (seenIdat && type != "IDAT") {
            idatEnded = true;
        }
        if (type == "IEND") {
            if (length != 0) {
                return "IEND holds data";
            }
            if (at != bytes.size()) {
                return "bytes follow IEND";
            }
            break;
        }
        if (type == "IHDR") {
            return "a second IHDR";
        } else if (type == "PLTE") {
            if (seenPlte || seenIdat || length == 0 || length % 3 != 0 || length > 768) {
                return "a misplaced or malformed PLTE";
            }
            seenPlte = true;
        } else if (type == "IDAT") {
            if (idatEnded) {
                return "the IDAT chunks are not together";
            }
            seenIdat = true;
        } else if (type[0] >= 'A' && type[0] <= 'Z') {
            return "an unknown critical chunk " + std::string(type);
        }
    }
    if (!seenIdat) {
        return "no image data";
    }
    if (colourType == 3 && !seenPlte) {
        return "a palette image without PLTE";
    }
    return std::nullopt;
}

// Decodes every row, so that the compressed data, the filters and the
// palette indexes are checked too.
std::optional<std::string> DecodeFault(std::string_view bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        return "the image cannot be read: " + std::string(image.message);
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        const std::string message = image.message;
        png_image_free(&image);
        return "the image data cannot be decoded: " + message;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> PngFault(std::string_view bytes, uint32_t maxSide) {
    if (auto fault = StructureFault(bytes, maxSide)) {
        return fault;
    }
    return DecodeFault(bytes);
}

} // namespace torvik::server
