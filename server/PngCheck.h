#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace torvik::server {

// Why bytes are not a PNG image the service keeps, or nothing when they
// are one: the signature; every chunk whole, with a known type for every
// critical chunk and a matching CRC; IHDR first with a valid colour type and
// bit depth and a width and height from 1 to maxSide; PLTE where the colour
// type needs it; the IDAT chunks together; IEND last with nothing after it;
// and the image data decoding (libpng) to exactly the rows IHDR announces.
std::optional<std::string> PngFault(std::string_view bytes, uint32_t maxSide);

} // namespace torvik::server
