// Uploaded icons come from any client. Any bytes must be judged without
// harm, and bytes taken as an icon must be an image libpng reads whole,
// within the size limit.
#include <png.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "server/PngCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr uint32_t kMaxSide = 64;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (torvik::server::PngFault(bytes, kMaxSide)) {
        return 0;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) {
        std::abort();
    }
    if (image.width == 0 || image.height == 0 || image.width > kMaxSide ||
        image.height > kMaxSide) {
        std::abort();
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        std::abort();
    }
    return 0;
}
