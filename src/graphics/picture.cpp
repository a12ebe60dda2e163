// Picture: finding a picture by name among BMP and JPEG files (a JPEG passes
// through a temporary BMP file of its own), and block copies to and from
// drawing contexts.
#include "graphics/picture.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/image.h"

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

std::optional<platform::Bitmap> load_bmp_file(const std::string& path) {
    const auto bytes = platform::read_file(path, max_bmp_file_bytes);
    if (!bytes) return std::nullopt;
    return platform::decode_bmp(*bytes);
}

// Decodes a JPEG file through a temporary BMP file. Each attempt makes a file of
// its own, so two copies of the game loading at once never read each other's
// half-written file, and the file is gone again whatever the outcome.
std::optional<platform::Bitmap> load_jpeg_file(const std::string& path) {
    std::string temporary = platform::temp_folder() + "_jpeg_bmpXXXXXX.bmp";
    const int fd = ::mkstemps(temporary.data(), 4);
    if (fd < 0) return std::nullopt;
    ::close(fd);
    jpeg_to_bmp(path.c_str(), temporary.c_str());
    std::optional<platform::Bitmap> bitmap = load_bmp_file(temporary);
    ::unlink(temporary.c_str());
    return bitmap;
}

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

// Gives the file its final size and maps it for writing; null on failure. The
// blocks are reserved up front: a mapping written past what the disk can hold
// would kill the program with SIGBUS instead of failing here.
std::uint8_t* map_for_writing(int fd, std::size_t size) {
    const auto length = static_cast<off_t>(size);
    if (::ftruncate(fd, length) != 0 || ::posix_fallocate(fd, 0, length) != 0) return nullptr;
    void* view = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    return view == MAP_FAILED ? nullptr : static_cast<std::uint8_t*>(view);
}

// Cuts the file to size. A failure leaves a longer file whose header still says
// what it holds, so there is nothing more to do about it.
void shorten(int fd, std::size_t size) {
    if (::ftruncate(fd, static_cast<off_t>(size)) != 0) return;
}

}  // namespace

Picture::Picture(const char* name) {
    load(name);
}

void Picture::load(const String& name) {
    release();
    const String extension = name.extension();
    const std::string path = platform::native_path(name.c_str());
    if (extension == ".bmp") {
        bitmap_ = load_bmp_file(path);
    } else if (extension == ".jpg" || extension == ".res" || extension == ".back") {
        bitmap_ = load_jpeg_file(path);
    } else {
        bitmap_ = load_bmp_file(path + ".bmp");
    }
    for (const char* ending : jpeg_fallback_endings) {
        if (bitmap_) break;
        bitmap_ = load_jpeg_file(path + ending);
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
    bitmap_ = std::move(captured);
}

void jpeg_to_bmp(const char* source, const char* target) {
    const int fd = ::open(target, O_RDWR | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return;

    const auto jpeg = platform::read_file(source, max_jpeg_file_bytes);
    int width = 0, height = 0;
    if (!jpeg || !platform::jpeg_size(*jpeg, width, height) || width > max_picture_side ||
        height > max_picture_side) {
        width = 0;
        height = 0;
    }
    const std::size_t row_bytes = (3 * static_cast<std::size_t>(width) + 3) / 4 * 4;
    const std::size_t file_bytes = bmp_header_bytes + row_bytes * static_cast<std::size_t>(height);

    std::uint8_t* view = map_for_writing(fd, file_bytes);
    if (view == nullptr) {
        shorten(fd, 0);
        ::close(fd);
        return;
    }
    // The file is new, so the padding at the end of each row is already zero.
    write_bmp_header(view, width, height, row_bytes);
    const bool decoded =
        height == 0 || platform::jpeg_decode_bgr_bottom_up(*jpeg, view + bmp_header_bytes, width,
                                                           static_cast<int>(row_bytes), height);
    if (!decoded) write_bmp_header(view, 0, 0, 0);  // a damaged image is no picture
    ::munmap(view, file_bytes);
    if (!decoded) shorten(fd, bmp_header_bytes);
    ::close(fd);
}
