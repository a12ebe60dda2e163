// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Picture decoding: every BMP layout of the test suite, files that lie about their
// size or are cut short, and the JPEG size and bottom-up BGR decoding.
#include "platform/image.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace platform {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const fs::path bmpsuite = fs::path(VORPY_TESTDATA) / "bmpsuite";
const fs::path fixtures = fs::path(VORPY_SOURCE_DIR) / "tests" / "graphics" / "fixtures";

Bytes read_bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << "cannot open " << path;
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void put_u16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void put_u32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// An uncompressed 24-bit BMP; height < 0 stores the rows top-down. The pixel at
// (x, y) counted from the top is pixel(x, y).
template <typename PixelAt>
Bytes make_bmp24(int width, int height, PixelAt pixel) {
    const int rows = std::abs(height);
    const std::size_t row_bytes = (3 * static_cast<std::size_t>(width) + 3) / 4 * 4;
    Bytes b(54 + row_bytes * rows, 0);
    b[0] = 'B';
    b[1] = 'M';
    put_u32(b, 2, static_cast<std::uint32_t>(b.size()));
    put_u32(b, 10, 54);
    put_u32(b, 14, 40);
    put_u32(b, 18, static_cast<std::uint32_t>(width));
    put_u32(b, 22, static_cast<std::uint32_t>(height));
    put_u16(b, 26, 1);
    put_u16(b, 28, 24);
    for (int y = 0; y < rows; ++y) {
        const int stored = height < 0 ? y : rows - 1 - y;
        for (int x = 0; x < width; ++x) {
            const Pixel p = pixel(x, y);
            const std::size_t at = 54 + row_bytes * stored + 3 * static_cast<std::size_t>(x);
            b[at] = static_cast<std::uint8_t>(p);
            b[at + 1] = static_cast<std::uint8_t>(p >> 8);
            b[at + 2] = static_cast<std::uint8_t>(p >> 16);
        }
    }
    return b;
}

Pixel test_pattern(int x, int y) {
    return static_cast<Pixel>(((x * 40) & 0xFF) << 16 | ((y * 50) & 0xFF) << 8 |
                              (((x + y) * 7) & 0xFF));
}

// --- BMP files of the test suite -------------------------------------------------

TEST(DecodeBmp, EveryGoodSuiteFileLoadsInItsSize) {
    const struct {
        const char* file;
        int width, height;
    } cases[] = {
        {"pal1.bmp", 127, 64},          {"pal1bg.bmp", 127, 64},       {"pal1wb.bmp", 127, 64},
        {"pal4.bmp", 127, 64},          {"pal4gs.bmp", 127, 64},       {"pal4rle.bmp", 127, 64},
        {"pal8-0.bmp", 127, 64},        {"pal8.bmp", 127, 64},         {"pal8gs.bmp", 127, 64},
        {"pal8nonsquare.bmp", 127, 32}, {"pal8os2.bmp", 127, 64},      {"pal8rle.bmp", 127, 64},
        {"pal8topdown.bmp", 127, 64},   {"pal8v4.bmp", 127, 64},       {"pal8v5.bmp", 127, 64},
        {"pal8w124.bmp", 124, 61},      {"pal8w125.bmp", 125, 62},     {"pal8w126.bmp", 126, 63},
        {"rgb16-565.bmp", 127, 64},     {"rgb16-565pal.bmp", 127, 64}, {"rgb16.bmp", 127, 64},
        {"rgb16bfdef.bmp", 127, 64},    {"rgb24.bmp", 127, 64},        {"rgb24pal.bmp", 127, 64},
        {"rgb32.bmp", 127, 64},         {"rgb32bf.bmp", 127, 64},      {"rgb32bfdef.bmp", 127, 64},
    };
    std::size_t listed = 0;
    for (const auto& entry : fs::directory_iterator(bmpsuite / "g")) {
        (void)entry;
        ++listed;
    }
    EXPECT_EQ(listed, std::size(cases)) << "a file of g/ is missing from the table";
    for (const auto& c : cases) {
        const auto bitmap = decode_bmp(read_bytes(bmpsuite / "g" / c.file));
        ASSERT_TRUE(bitmap.has_value()) << c.file;
        EXPECT_EQ(bitmap->width, c.width) << c.file;
        EXPECT_EQ(bitmap->height, c.height) << c.file;
        EXPECT_EQ(bitmap->pixels.size(), static_cast<std::size_t>(c.width) * c.height) << c.file;
    }
}

// The suite draws one picture in many layouts: files of one palette or depth must
// give the same pixels, whatever their header version, row order or compression.
TEST(DecodeBmp, LayoutsOfOnePictureGiveTheSamePixels) {
    const struct {
        const char* reference;
        std::vector<const char*> same;
    } groups[] = {
        {"pal8.bmp",
         {"pal8-0.bmp", "pal8os2.bmp", "pal8rle.bmp", "pal8topdown.bmp", "pal8v4.bmp",
          "pal8v5.bmp"}},
        {"rgb24.bmp", {"rgb24pal.bmp", "rgb32.bmp", "rgb32bf.bmp", "rgb32bfdef.bmp"}},
        {"pal4.bmp", {"pal4rle.bmp"}},
        {"rgb16.bmp", {"rgb16bfdef.bmp"}},
        {"rgb16-565.bmp", {"rgb16-565pal.bmp"}},
    };
    for (const auto& group : groups) {
        const auto reference = decode_bmp(read_bytes(bmpsuite / "g" / group.reference));
        ASSERT_TRUE(reference.has_value()) << group.reference;
        for (const char* file : group.same) {
            const auto bitmap = decode_bmp(read_bytes(bmpsuite / "g" / file));
            ASSERT_TRUE(bitmap.has_value()) << file;
            EXPECT_TRUE(bitmap->pixels == reference->pixels)
                << file << " differs from " << group.reference;
        }
    }
    // The top-left pixel of the suite's picture is red: rows are not upside down.
    const auto rgb24 = decode_bmp(read_bytes(bmpsuite / "g" / "rgb24.bmp"));
    ASSERT_TRUE(rgb24.has_value());
    EXPECT_EQ(rgb24->at(0, 0), 0xFF0000u);
}

// The plain 24-bit files the game reads itself: every one in the suite gives what
// SDL's reader gives, whatever its header version, palette, profile or row order.
TEST(DecodeBmp, Plain24BitFilesGiveWhatSdlsReaderGives) {
    int compared = 0;
    for (const char* folder : {"g", "q"}) {
        for (const auto& entry : fs::directory_iterator(bmpsuite / folder)) {
            const Bytes file = read_bytes(entry.path());
            if (file.size() < 34 || file[28] != 24 || file[30] != 0 || file[14] == 12) continue;
            SDL_Surface* read = SDL_LoadBMP(entry.path().c_str());
            if (read == nullptr) continue;
            SDL_Surface* argb = SDL_ConvertSurfaceFormat(read, SDL_PIXELFORMAT_ARGB8888, 0);
            SDL_FreeSurface(read);
            ASSERT_NE(argb, nullptr);
            const auto bitmap = decode_bmp(file);
            ASSERT_TRUE(bitmap.has_value()) << entry.path();
            ASSERT_EQ(bitmap->width, argb->w) << entry.path();
            ASSERT_EQ(bitmap->height, argb->h) << entry.path();
            int wrong = 0;
            for (int y = 0; y < argb->h; ++y)
                for (int x = 0; x < argb->w; ++x)
                    wrong +=
                        bitmap->at(x, y) !=
                        (static_cast<const std::uint32_t*>(argb->pixels)[y * argb->pitch / 4 + x] &
                         0xFFFFFFu);
            EXPECT_EQ(wrong, 0) << entry.path();
            SDL_FreeSurface(argb);
            ++compared;
        }
    }
    EXPECT_GE(compared, 5) << "the suite's 24-bit files were not found";
}

TEST(DecodeBmp, BadAndQuestionableSuiteFilesNeverCrash) {
    for (const char* folder : {"b", "q"}) {
        for (const auto& entry : fs::directory_iterator(bmpsuite / folder)) {
            const auto bitmap = decode_bmp(read_bytes(entry.path()));
            if (!bitmap) continue;
            // Whatever is salvaged is a whole picture of a sane size.
            EXPECT_GT(bitmap->width, 0) << entry.path();
            EXPECT_LE(bitmap->width, max_picture_side) << entry.path();
            EXPECT_GT(bitmap->height, 0) << entry.path();
            EXPECT_LE(bitmap->height, max_picture_side) << entry.path();
            EXPECT_EQ(bitmap->pixels.size(),
                      static_cast<std::size_t>(bitmap->width) * bitmap->height);
        }
    }
}

TEST(DecodeBmp, SuiteFilesThatLieAboutTheirSizeGiveNothing) {
    for (const char* file : {
             "reallybig.bmp",      // 3000000 x 2000000 pixels in 24 KB
             "badwidth.bmp",       // negative width
             "badfilesize.bmp",    // says it is 2 GB long
             "shortfile.bmp",      // cut off in the middle of the pixels
             "badheadersize.bmp",  // an info header of 66 bytes
             "badbitcount.bmp",    // 30000 bits per pixel
         }) {
        EXPECT_FALSE(decode_bmp(read_bytes(bmpsuite / "b" / file)).has_value()) << file;
    }
}

// --- BMP files made here ---------------------------------------------------------

TEST(DecodeBmp, RowsComeOutTopFirstWhicheverWayTheFileStoresThem) {
    for (const int height : {4, -4}) {
        // 3 pixels make 9 bytes a row, so each row carries 3 bytes of padding.
        const auto bitmap = decode_bmp(make_bmp24(3, height, test_pattern));
        ASSERT_TRUE(bitmap.has_value()) << height;
        ASSERT_EQ(bitmap->width, 3);
        ASSERT_EQ(bitmap->height, 4);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 3; ++x) {
                EXPECT_EQ(bitmap->at(x, y), test_pattern(x, y))
                    << "height " << height << " at " << x << "," << y;
            }
        }
    }
}

TEST(DecodeBmp, TheLargestSideStillLoads) {
    const auto wide = decode_bmp(make_bmp24(max_picture_side, 1, test_pattern));
    ASSERT_TRUE(wide.has_value());
    EXPECT_EQ(wide->width, max_picture_side);
    EXPECT_EQ(wide->at(max_picture_side - 1, 0), test_pattern(max_picture_side - 1, 0));
}

TEST(DecodeBmp, EveryCutOfAFileGivesNothing) {
    const Bytes whole = make_bmp24(5, 3, test_pattern);
    ASSERT_TRUE(decode_bmp(whole).has_value());
    for (std::size_t length = 0; length < whole.size(); ++length) {
        Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_FALSE(decode_bmp(cut).has_value()) << "cut to " << length << " bytes";
        // Also when the file size field agrees with the cut, so only the pixel data is short.
        if (length >= 6) {
            put_u32(cut, 2, static_cast<std::uint32_t>(length));
            EXPECT_FALSE(decode_bmp(cut).has_value()) << "cut to " << length << ", size fixed";
        }
    }
}

TEST(DecodeBmp, HeadersNoPictureCanHaveGiveNothing) {
    const struct {
        const char* what;
        std::size_t at;
        int bytes;
        std::uint32_t value;
    } cases[] = {
        {"signature", 0, 2, 0x4142},
        {"zero width", 18, 4, 0},
        {"zero height", 22, 4, 0},
        {"negative width", 18, 4, static_cast<std::uint32_t>(-5)},
        {"width over the largest side", 18, 4, max_picture_side + 1},
        {"height over the largest side, top-down", 22, 4,
         static_cast<std::uint32_t>(-(max_picture_side + 1))},
        {"most negative height", 22, 4, 0x80000000u},
        {"huge width", 18, 4, 100000},
        {"huge height", 22, 4, 0x7FFFFFFF},
        {"header size 0", 14, 4, 0},
        {"header size 13", 14, 4, 13},
        {"header size 1000", 14, 4, 1000},
        {"header size beyond 4 GB", 14, 4, 0xFFFFFFFFu},
        {"pixels start inside the header", 10, 4, 20},
        {"pixels start after the end", 10, 4, 100000},
        {"pixels start near the end", 10, 4, 80},
        {"file size beyond the file", 2, 4, 100000},
        {"bits per pixel 30000", 28, 2, 30000},
        {"32 bits per pixel with 24-bit data", 28, 2, 32},
    };
    for (const auto& c : cases) {
        Bytes b = make_bmp24(5, 3, test_pattern);
        if (c.bytes == 2) {
            put_u16(b, c.at, c.value);
        } else {
            put_u32(b, c.at, c.value);
        }
        EXPECT_FALSE(decode_bmp(b).has_value()) << c.what;
    }
}

TEST(DecodeBmp, CompressedFilesClaimingHugeSizesGiveNothing) {
    // A run-length file needs only a few bytes for any size: the size check is all
    // that stands between its header and the allocation.
    const struct {
        std::int32_t width, height;
    } cases[] = {{60000, 60000}, {5, 60000}, {60000, 5}, {5, -60000}, {max_picture_side + 1, 1}};
    for (const auto& c : cases) {
        Bytes b = make_bmp24(5, 3, test_pattern);
        put_u16(b, 28, 8);
        put_u32(b, 30, 1);  // run-length coded, 8 bits
        put_u32(b, 18, static_cast<std::uint32_t>(c.width));
        put_u32(b, 22, static_cast<std::uint32_t>(c.height));
        EXPECT_FALSE(decode_bmp(b).has_value()) << c.width << " x " << c.height;
    }
}

TEST(DecodeBmp, NonBmpBytesGiveNothing) {
    for (const Bytes& b : {Bytes{}, Bytes{'B'}, Bytes{'B', 'M'}, Bytes(54, 0),
                           read_bytes(fixtures / "colours_5x3.jpg")}) {
        EXPECT_FALSE(decode_bmp(b).has_value()) << b.size() << " bytes";
    }
}

// --- JPEG ------------------------------------------------------------------------

TEST(Jpeg, SizeOfColourAndGreyImages) {
    const struct {
        const char* file;
        int width, height;
    } cases[] = {{"colours_5x3.jpg", 5, 3}, {"grey_3x2.jpg", 3, 2}};
    for (const auto& c : cases) {
        int width = -1, height = -1;
        EXPECT_TRUE(jpeg_size(read_bytes(fixtures / c.file), width, height)) << c.file;
        EXPECT_EQ(width, c.width) << c.file;
        EXPECT_EQ(height, c.height) << c.file;
    }
}

TEST(Jpeg, SizeOfWhatIsNoJpegIsZero) {
    const Bytes jpeg = read_bytes(fixtures / "colours_5x3.jpg");
    for (const Bytes& b : {Bytes{}, Bytes{0xFF, 0xD8}, Bytes(jpeg.begin(), jpeg.begin() + 20),
                           read_bytes(bmpsuite / "g" / "rgb24.bmp")}) {
        int width = -1, height = -1;
        EXPECT_FALSE(jpeg_size(b, width, height)) << b.size() << " bytes";
        EXPECT_EQ(width, 0);
        EXPECT_EQ(height, 0);
    }
}

TEST(Jpeg, DecodesBottomRowFirstInBlueGreenRedAndLeavesThePaddingAlone) {
    const Bytes jpeg = read_bytes(fixtures / "colours_5x3.jpg");
    constexpr int pitch = 16;
    Bytes rows(pitch * 3 + 8, 0xAA);  // 8 guard bytes after the image
    ASSERT_TRUE(jpeg_decode_bgr_bottom_up(jpeg, rows.data(), 5, pitch, 3));
    // The picture, top row first: red red green green blue / the same / white white
    // black black blue. The first stored row is the bottom one.
    const Pixel top[5] = {0xFF0000, 0xFF0000, 0x00FF00, 0x00FF00, 0x0000FF};
    const Pixel bottom[5] = {0xFFFFFF, 0xFFFFFF, 0x000000, 0x000000, 0x0000FF};
    for (int x = 0; x < 5; ++x) {
        for (int channel = 0; channel < 3; ++channel) {
            const int shift = 8 * channel;  // blue, green, red
            EXPECT_NEAR(rows[3 * x + channel], (bottom[x] >> shift) & 0xFF, 8) << "bottom " << x;
            EXPECT_NEAR(rows[2 * pitch + 3 * x + channel], (top[x] >> shift) & 0xFF, 8)
                << "top " << x;
        }
    }
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(rows[row * pitch + 15], 0xAA) << row;
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(rows[3 * pitch + i], 0xAA);
}

TEST(Jpeg, GreyImagesDecodeToThreeEqualChannels) {
    Bytes rows(8 * 2, 0);
    ASSERT_TRUE(
        jpeg_decode_bgr_bottom_up(read_bytes(fixtures / "grey_3x2.jpg"), rows.data(), 3, 12, 2));
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(rows[i], 128, 2) << i;
}

TEST(Jpeg, DecodingFailsForDamagedFilesAndWrongSizes) {
    const Bytes jpeg = read_bytes(fixtures / "colours_5x3.jpg");
    Bytes corrupt = jpeg;
    for (std::size_t i = corrupt.size() - 40; i < corrupt.size() - 2; ++i)
        corrupt[i] = 0xFF;
    const struct {
        const char* what;
        Bytes file;
        int width, pitch, height;
    } cases[] = {
        {"cut short", Bytes(jpeg.begin(), jpeg.end() - 30), 5, 16, 3},
        {"end marker missing", Bytes(jpeg.begin(), jpeg.end() - 2), 5, 16, 3},
        {"scan overwritten", corrupt, 5, 16, 3},
        {"not a JPEG", read_bytes(bmpsuite / "g" / "rgb24.bmp"), 127, 384, 64},
        {"wrong width", jpeg, 4, 16, 3},
        {"wrong height", jpeg, 5, 16, 2},
        {"pitch too small", jpeg, 5, 14, 3},
    };
    for (const auto& c : cases) {
        Bytes rows(static_cast<std::size_t>(c.pitch) * c.height + 64, 0);
        EXPECT_FALSE(jpeg_decode_bgr_bottom_up(c.file, rows.data(), c.width, c.pitch, c.height))
            << c.what;
    }
}

}  // namespace
}  // namespace platform
