// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Picture decoding. The plain 24-bit BMP every picture of the game is, we read
// ourselves straight into the bitmap; other BMP files go to SDL2's reader once their
// header has passed our own checks, so a lying header never reaches an allocation.
// JPEG goes through TurboJPEG, straight into a bitmap or into rows the caller provides.
#include "platform/image.h"

#include <SDL.h>
#include <turbojpeg.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

namespace platform {

namespace {

constexpr std::size_t file_header_bytes = 14;
constexpr std::uint32_t bi_rgb = 0, bi_bitfields = 3, bi_alphabitfields = 6;

std::uint16_t read_u16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

std::uint32_t read_u32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) |
           (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[at + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

void write_u32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// What the header says, after the checks that every file must pass.
struct BmpLayout {
    std::uint32_t header_size = 0;
    std::uint32_t pixel_offset = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;  // rows, whichever way they are stored
    bool top_down = false;    // rows stored top row first (a negative height)
    std::uint32_t bits = 0;
    std::uint32_t compression = 0;
};

bool uncompressed(std::uint32_t compression) {
    return compression == bi_rgb || compression == bi_bitfields || compression == bi_alphabitfields;
}

// The layout of a BMP file, or nothing when the header is no header of a picture
// we could show: a size beyond max_picture_side, a header size no BMP writer uses,
// pixels that start or (uncompressed) end past the end of the file, or a file
// shorter than its own header says.
std::optional<BmpLayout> check_bmp_header(std::span<const std::uint8_t> file) {
    if (file.size() < file_header_bytes + 4 || file[0] != 'B' || file[1] != 'M') {
        return std::nullopt;
    }
    if (read_u32(file, 2) > file.size()) return std::nullopt;

    BmpLayout layout;
    layout.pixel_offset = read_u32(file, 10);
    layout.header_size = read_u32(file, 14);
    // The OS/2 core header, the Windows headers of versions 1 to 5 (52 and 56 are
    // the Adobe steps between 1 and 4), and the OS/2 2.x header.
    constexpr std::uint32_t known_sizes[] = {12, 40, 52, 56, 64, 108, 124};
    if (std::find(std::begin(known_sizes), std::end(known_sizes), layout.header_size) ==
        std::end(known_sizes)) {
        return std::nullopt;
    }
    const std::size_t headers_end = file_header_bytes + layout.header_size;
    if (headers_end > file.size()) return std::nullopt;

    if (layout.header_size == 12) {
        layout.width = read_u16(file, 18);
        layout.height = read_u16(file, 20);
        layout.bits = read_u16(file, 24);
        layout.compression = bi_rgb;
    } else {
        layout.width = static_cast<std::int32_t>(read_u32(file, 18));
        layout.height = static_cast<std::int32_t>(read_u32(file, 22));
        layout.bits = read_u16(file, 28);
        layout.compression = read_u32(file, 30);
    }
    layout.top_down = layout.height < 0;
    layout.height = std::abs(layout.height);
    if (layout.width < 1 || layout.width > max_picture_side || layout.height < 1 ||
        layout.height > max_picture_side) {
        return std::nullopt;
    }
    if (layout.pixel_offset < headers_end || layout.pixel_offset > file.size()) {
        return std::nullopt;
    }
    if (uncompressed(layout.compression)) {
        const std::int64_t row_bytes = (layout.width * layout.bits + 31) / 32 * 4;
        if (layout.pixel_offset + row_bytes * layout.height >
            static_cast<std::int64_t>(file.size())) {
            return std::nullopt;
        }
    }
    return layout;
}

// One colour channel of a bit-field mask: where it starts and how many bits it has.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    std::uint32_t eight_bits(std::uint32_t value) const {
        if (bits == 0) return 0;
        const std::uint32_t v = (value & mask) >> shift;
        if (bits >= 8) return v >> (bits - 8);
        const std::uint32_t top = (1u << bits) - 1;
        return (v * 255 + top / 2) / top;
    }
};

// The channel of a mask, or nothing when its bits are not one contiguous run.
std::optional<Channel> channel_of(std::uint32_t mask) {
    Channel channel{mask, 0, 0};
    if (mask == 0) return channel;
    while (((mask >> channel.shift) & 1u) == 0)
        ++channel.shift;
    while (channel.shift + channel.bits < 32 && ((mask >> (channel.shift + channel.bits)) & 1u))
        ++channel.bits;
    const std::uint64_t run = ((std::uint64_t{1} << channel.bits) - 1) << channel.shift;
    if (run != mask) return std::nullopt;
    return channel;
}

// SDL's reader knows only the bit-field masks of its own pixel formats. A 32-bit
// file with other masks is rewritten with the red, green and blue bytes of the
// usual layout, which SDL does read; nothing for any other file.
std::optional<std::vector<std::uint8_t>> with_usual_masks(std::span<const std::uint8_t> file,
                                                          const BmpLayout& layout) {
    constexpr std::size_t masks_at = file_header_bytes + 40;
    if (layout.bits != 32 || layout.header_size == 12 || layout.header_size == 64 ||
        (layout.compression != bi_bitfields && layout.compression != bi_alphabitfields) ||
        layout.pixel_offset < masks_at + 12) {
        return std::nullopt;
    }
    const auto red = channel_of(read_u32(file, masks_at));
    const auto green = channel_of(read_u32(file, masks_at + 4));
    const auto blue = channel_of(read_u32(file, masks_at + 8));
    if (!red || !green || !blue) return std::nullopt;

    std::vector<std::uint8_t> copy(file.begin(), file.end());
    write_u32(copy, masks_at, 0x00FF0000);
    write_u32(copy, masks_at + 4, 0x0000FF00);
    write_u32(copy, masks_at + 8, 0x000000FF);
    const bool has_alpha_mask =
        layout.header_size >= 56 ||
        (layout.compression == bi_alphabitfields && layout.pixel_offset >= masks_at + 16);
    if (has_alpha_mask) write_u32(copy, masks_at + 12, 0);

    const std::size_t count = static_cast<std::size_t>(layout.width * layout.height);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = layout.pixel_offset + 4 * i;
        const std::uint32_t value = read_u32(copy, at);
        write_u32(copy, at,
                  (red->eight_bits(value) << 16) | (green->eight_bits(value) << 8) |
                      blue->eight_bits(value));
    }
    return copy;
}

using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

SurfacePtr sdl_read_bmp(std::span<const std::uint8_t> file) {
    SDL_RWops* stream = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
    if (stream == nullptr) return SurfacePtr(nullptr, SDL_FreeSurface);
    return SurfacePtr(SDL_LoadBMP_RW(stream, 1), SDL_FreeSurface);
}

struct TjHandle {
    tjhandle handle = tjInitDecompress();
    ~TjHandle() {
        if (handle != nullptr) tjDestroy(handle);
    }
    TjHandle() = default;
    TjHandle(const TjHandle&) = delete;
    TjHandle& operator=(const TjHandle&) = delete;
};

// Uncompressed 24-bit rows behind a Windows header: the checked header already
// holds every row inside the file, so they are read here directly, without the
// three whole-picture copies SDL's reader and a format conversion would make.
// Other layouts, OS/2 ones among them, are left to SDL.
std::optional<Bitmap> read_plain_24_bit(std::span<const std::uint8_t> file,
                                        const BmpLayout& layout) {
    if (layout.bits != 24 || layout.compression != bi_rgb || layout.header_size == 12 ||
        layout.header_size == 64)
        return std::nullopt;
    const auto width = static_cast<int>(layout.width);
    const auto height = static_cast<int>(layout.height);
    const std::size_t row_bytes = (3 * static_cast<std::size_t>(width) + 3) / 4 * 4;
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        const std::size_t stored_row =
            static_cast<std::size_t>(layout.top_down ? y : height - 1 - y);
        const std::uint8_t* in = file.data() + layout.pixel_offset + stored_row * row_bytes;
        Pixel* out = &bitmap.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width)];
        for (int x = 0; x < width; ++x, in += 3)
            out[x] = static_cast<Pixel>(in[0]) | static_cast<Pixel>(in[1]) << 8 |
                     static_cast<Pixel>(in[2]) << 16;
    }
    return bitmap;
}

}  // namespace

std::optional<Bitmap> decode_bmp(std::span<const std::uint8_t> file) {
    if (file.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
    const std::optional<BmpLayout> layout = check_bmp_header(file);
    if (!layout) return std::nullopt;
    if (auto plain = read_plain_24_bit(file, *layout)) return plain;

    SurfacePtr surface = sdl_read_bmp(file);
    if (!surface) {
        if (const auto rewritten = with_usual_masks(file, *layout)) {
            surface = sdl_read_bmp(*rewritten);
        }
    }
    if (!surface || surface->w < 1 || surface->h < 1 || surface->w > max_picture_side ||
        surface->h > max_picture_side) {
        return std::nullopt;
    }
    const SurfacePtr argb(SDL_ConvertSurfaceFormat(surface.get(), SDL_PIXELFORMAT_ARGB8888, 0),
                          SDL_FreeSurface);
    if (!argb) return std::nullopt;

    Bitmap bitmap(argb->w, argb->h);
    if (SDL_MUSTLOCK(argb.get()) && SDL_LockSurface(argb.get()) != 0) return std::nullopt;
    for (int y = 0; y < argb->h; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(argb->pixels) +
                                                   static_cast<std::size_t>(y) * argb->pitch);
        Pixel* out = &bitmap.pixels[static_cast<std::size_t>(y) * bitmap.width];
        for (int x = 0; x < argb->w; ++x)
            out[x] = row[x] & 0x00FFFFFFu;  // the alpha byte is not ours
    }
    if (SDL_MUSTLOCK(argb.get())) SDL_UnlockSurface(argb.get());
    return bitmap;
}

bool jpeg_size(std::span<const std::uint8_t> file, int& width, int& height) {
    width = 0;
    height = 0;
    if (file.empty()) return false;
    const TjHandle decoder;
    if (decoder.handle == nullptr) return false;
    int w = 0, h = 0, subsampling = 0, colourspace = 0;
    if (tjDecompressHeader3(decoder.handle, file.data(), static_cast<unsigned long>(file.size()),
                            &w, &h, &subsampling, &colourspace) != 0 ||
        w < 1 || h < 1) {
        return false;
    }
    width = w;
    height = h;
    return true;
}

namespace {
// Decodes the whole image into rows of the given pixel format, pitch bytes apart.
// Any complaint counts, warnings included: a truncated file "decodes" with grey
// filling the missing rows, and that is no picture of ours.
bool decompress(std::span<const std::uint8_t> file, unsigned char* rows, int width, int pitch,
                int height, int pixel_format, int flags) {
    const TjHandle decoder;
    return decoder.handle != nullptr &&
           tjDecompress2(decoder.handle, file.data(), static_cast<unsigned long>(file.size()), rows,
                         width, pitch, height, pixel_format, flags) == 0;
}
}  // namespace

std::optional<Bitmap> decode_jpeg(std::span<const std::uint8_t> file) {
    int width = 0, height = 0;
    if (!jpeg_size(file, width, height) || width > max_picture_side || height > max_picture_side)
        return std::nullopt;
    // Blue, green, red and a spare byte is a pixel's own layout in memory; the spare
    // byte is cleared after.
    Bitmap bitmap(width, height);
    if (!decompress(file, reinterpret_cast<unsigned char*>(bitmap.pixels.data()), width,
                    width * static_cast<int>(sizeof(Pixel)), height, TJPF_BGRX, 0))
        return std::nullopt;
    for (Pixel& p : bitmap.pixels)
        p &= 0x00FFFFFFu;
    return bitmap;
}

bool jpeg_decode_bgr_bottom_up(std::span<const std::uint8_t> file, std::uint8_t* rows, int width,
                               int pitch, int height) {
    int w = 0, h = 0;
    if (rows == nullptr || !jpeg_size(file, w, h) || w != width || h != height ||
        static_cast<std::int64_t>(pitch) < 3 * static_cast<std::int64_t>(width)) {
        return false;
    }
    return decompress(file, rows, width, pitch, height, TJPF_BGR, TJFLAG_BOTTOMUP);
}

}  // namespace platform
