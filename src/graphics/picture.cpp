// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Picture: finding a picture by name among BMP and JPEG files (a JPEG decodes in
// memory to the pixels of the BMP file it would make), and block copies to and from drawing
// contexts.
#include "graphics/picture.h"

#include <fcntl.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/image.h"
#include "platform/kept_data.h"

namespace {

using platform::max_picture_side;

constexpr std::size_t bmp_header_bytes = 54;
// The largest files we read: a BMP of 32-bit pixels at the largest size with room
// for headers and a palette, and a JPEG far beyond any picture of the game.
constexpr std::size_t max_bmp_file_bytes =
    4 * static_cast<std::size_t>(max_picture_side) * max_picture_side + 65536;
constexpr std::size_t max_jpeg_file_bytes = std::size_t{64} << 20;

// Tried in this order after the name itself, each appended to the whole name.
constexpr const char* jpeg_fallback_endings[] = {".res", ".jpg", ".jpeg", ".jpe", ".jfif"};

void put_u16(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void put_u32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The file header and info header of an uncompressed 24-bit BMP with bottom-up rows.
void write_bmp_header(std::uint8_t* at, int width, int height, std::size_t row_bytes) {
    const auto file_bytes =
        static_cast<std::uint32_t>(bmp_header_bytes + row_bytes * static_cast<std::size_t>(height));
    put_u16(at + 0, 0x4D42);  // "BM"
    put_u32(at + 2, file_bytes);
    put_u16(at + 6, 0);
    put_u16(at + 8, 0);
    put_u32(at + 10, bmp_header_bytes);
    put_u32(at + 14, 40);
    put_u32(at + 18, static_cast<std::uint32_t>(width));
    put_u32(at + 22, static_cast<std::uint32_t>(height));
    put_u16(at + 26, 1);
    put_u16(at + 28, 24);
    put_u32(at + 30, 0);
    put_u32(at + 34, 0);
    put_u32(at + 38, 1);
    put_u32(at + 42, 1);
    put_u32(at + 46, 0);
    put_u32(at + 50, 0);
}

// The uncompressed 24-bit BMP file of a JPEG image, or a 54-byte file describing
// 0 x 0 pixels when the bytes are missing or no readable JPEG of a size we take.
std::vector<std::uint8_t> jpeg_bmp_file(const std::optional<std::vector<std::uint8_t>>& jpeg) {
    int width = 0, height = 0;
    if (!jpeg || !platform::jpeg_size(*jpeg, width, height) || width > max_picture_side ||
        height > max_picture_side) {
        width = 0;
        height = 0;
    }
    const std::size_t row_bytes = (3 * static_cast<std::size_t>(width) + 3) / 4 * 4;
    // Zero-filled, so the padding at the end of each row is already zero.
    std::vector<std::uint8_t> file(bmp_header_bytes + row_bytes * static_cast<std::size_t>(height));
    write_bmp_header(file.data(), width, height, row_bytes);
    if (height == 0) return file;
    if (!platform::jpeg_decode_bgr_bottom_up(*jpeg, file.data() + bmp_header_bytes, width,
                                             static_cast<int>(row_bytes), height)) {
        // A damaged image is no picture.
        file.resize(bmp_header_bytes);
        write_bmp_header(file.data(), 0, 0, 0);
    }
    return file;
}

std::optional<platform::Bitmap> decode_file(const std::string& path, bool jpeg) {
    if (jpeg) {
        // A JPEG decodes in memory to the pixels of the BMP file jpeg_to_bmp would
        // write, so nothing goes to disk: no temporary folder is needed and a game
        // killed meanwhile leaves nothing behind.
        const auto bytes = platform::read_file(path, max_jpeg_file_bytes);
        return bytes ? platform::decode_jpeg(*bytes) : std::nullopt;
    }
    const auto bytes = platform::read_file(path, max_bmp_file_bytes);
    return bytes ? platform::decode_bmp(*bytes) : std::nullopt;
}

// The picture in a BMP or JPEG file, null when there is none; decoded once per file
// while decoded data is kept.
std::shared_ptr<const platform::Bitmap> load_file(const std::string& path, bool jpeg) {
    static platform::KeptByPath<std::shared_ptr<const platform::Bitmap>> kept;
    if (const auto* bitmap = kept.find(path)) return *bitmap;
    std::optional<platform::Bitmap> decoded = decode_file(path, jpeg);
    std::shared_ptr<const platform::Bitmap> bitmap =
        decoded ? std::make_shared<const platform::Bitmap>(std::move(*decoded)) : nullptr;
    kept.keep(path, bitmap);
    return bitmap;
}

}  // namespace

Picture::Picture(const char* name) {
    load(name);
}

void Picture::load(const String& name) {
    release();
    const String extension = name.extension();
    const bool named_bmp = extension == ".bmp";
    const bool named_jpeg = extension == ".jpg" || extension == ".res" || extension == ".back";
    // Each data folder in turn offers every form of the name, so a picture of a folder laid
    // over another replaces that one's whatever form either has.
    for (const std::string& path : platform::native_paths(name.c_str())) {
        bitmap_ =
            named_bmp || named_jpeg ? load_file(path, named_jpeg) : load_file(path + ".bmp", false);
        for (const char* ending : jpeg_fallback_endings) {
            if (bitmap_) break;
            bitmap_ = load_file(path + ending, true);
        }
        if (bitmap_) return;
    }
}

void Picture::draw_to_window(platform::Window& window, int x, int y, std::uint32_t rop) const {
    draw_to_dc(window.dc(), x, y, rop);
}

void Picture::draw_to_dc(platform::DrawContext& context, int x, int y, std::uint32_t rop) const {
    if (bitmap_)
        platform::blit(context, x, y, bitmap_->width, bitmap_->height, *bitmap_, 0, 0, rop);
}

void Picture::capture_window(platform::Window& window, int x, int y, int w, int h,
                             std::uint32_t rop) {
    capture_dc(window.dc(), x, y, w, h, rop);
}

void Picture::capture_dc(const platform::DrawContext& context, int x, int y, int w, int h,
                         std::uint32_t rop) {
    release();
    const platform::Bitmap* source = context.target;
    if (source == nullptr || w < 1 || h < 1 || w > max_picture_side || h > max_picture_side) {
        return;
    }
    platform::Bitmap captured(w, h);
    // Only a rectangle that meets the source is copied; the rest stays black.
    if (static_cast<std::int64_t>(x) + w > 0 && static_cast<std::int64_t>(y) + h > 0 &&
        x < source->width && y < source->height) {
        platform::DrawContext memory(&captured);
        platform::blit(memory, 0, 0, w, h, *source, x, y, rop);
    }
    bitmap_ = std::make_shared<const platform::Bitmap>(std::move(captured));
}

bool KeptCuts::share(const Picture& source, const Geometry& geometry,
                     std::span<Picture* const> pieces) {
    const Cut* cut = cuts_.find({source.bitmap(), geometry});
    if (cut == nullptr || cut->pieces.size() != pieces.size()) return false;
    for (std::size_t i = 0; i < pieces.size(); ++i)
        pieces[i]->share(cut->pieces[i]);
    return true;
}

void KeptCuts::keep(const Picture& source, const Geometry& geometry,
                    std::span<Picture* const> pieces) {
    if (source.is_empty()) return;
    Cut cut{source.shared_bitmap(), {}};
    cut.pieces.reserve(pieces.size());
    for (const Picture* piece : pieces)
        cut.pieces.push_back(piece->shared_bitmap());
    cuts_.keep({source.bitmap(), geometry}, std::move(cut));
}

void jpeg_to_bmp(const char* source, const char* target) {
    const int fd = ::open(target, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return;
    const std::vector<std::uint8_t> file =
        jpeg_bmp_file(platform::read_file(source, max_jpeg_file_bytes));
    // A short write leaves a file shorter than its header says: no picture loads from it.
    platform::write_all(fd,
                        std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));
    ::close(fd);
}
