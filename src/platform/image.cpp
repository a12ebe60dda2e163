// Picture decoding (to be filled in).
#include "platform/image.h"

namespace platform {
std::optional<Bitmap> decode_bmp(std::span<const std::uint8_t>) { return std::nullopt; }
bool jpeg_size(std::span<const std::uint8_t>, int&, int&) { return false; }
bool jpeg_decode_bgr_bottom_up(std::span<const std::uint8_t>, std::uint8_t*, int, int, int) {
    return false;
}
}  // namespace platform
