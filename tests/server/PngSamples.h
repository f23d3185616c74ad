#pragma once
#include <png.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace torvik::server {

// A side x side RGBA image of one colour, as a real encoder (libpng) writes it.
inline std::string EncodedPng(uint32_t side, unsigned char fill = 0x7F) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = side;
    image.height = side;
    image.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image), fill);
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr)) {
        throw std::runtime_error("libpng cannot size the image");
    }
    std::string out(size, '\0');
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr)) {
        throw std::runtime_error("libpng cannot write the image");
    }
    out.resize(size);
    return out;
}

} // namespace torvik::server
