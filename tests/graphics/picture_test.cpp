// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Picture: the search for a picture by name, the BMP file written for a JPEG, JPEGs
// decoded without a file of their own, and drawing and capturing with raster operations.
#include "graphics/picture.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/image.h"
#include "platform/kept_data.h"
#include "platform/locale.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using platform::Pixel;

// colours_5x3.jpg: rows red red green green blue / the same / white white black
// black blue, quality 100 without chroma subsampling; grey_3x2.jpg: a grey (128)
// greyscale JPEG. Both made with ImageMagick from plain PPM/PGM text images:
//   convert in.ppm -quality 100 -sampling-factor 1x1 -strip colours_5x3.jpg
//   convert in.pgm -quality 100 -strip -colorspace Gray grey_3x2.jpg
const fs::path fixtures = fs::path(VORPY_SOURCE_DIR) / "tests" / "graphics" / "fixtures";
const fs::path good_bmps = fs::path(VORPY_TESTDATA) / "bmpsuite" / "g";

Bytes read_bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_bytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Files the search can meet, each recognisable by the size of the picture it gives.
Bytes jpeg_5x3() {
    return read_bytes(fixtures / "colours_5x3.jpg");
}
Bytes jpeg_3x2() {
    return read_bytes(fixtures / "grey_3x2.jpg");
}
Bytes bmp_124x61() {
    return read_bytes(good_bmps / "pal8w124.bmp");
}
Bytes bmp_127x64() {
    return read_bytes(good_bmps / "rgb24.bmp");
}
Bytes cut_jpeg() {
    Bytes b = jpeg_5x3();
    b.resize(b.size() - 30);
    return b;
}
Bytes garbage() {
    return Bytes{'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'};
}

// Each test works in a fresh folder of its own, with its own temporary folder, so
// temporary files of other programs never show up in its listings.
class PictureFiles : public testing::Test {
  protected:
    void SetUp() override {
        old_cwd_ = fs::current_path();
        if (const char* tmp = std::getenv("TMPDIR")) old_tmpdir_ = tmp;
        root_ = fs::temp_directory_path() /
                ("vorpy-picture-" + std::to_string(::getpid()) + "-" +
                 testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "work");
        fs::create_directories(root_ / "tmp");
        fs::current_path(root_ / "work");
        ::setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
    }
    void TearDown() override {
        fs::current_path(old_cwd_);
        if (old_tmpdir_) {
            ::setenv("TMPDIR", old_tmpdir_->c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
        fs::remove_all(root_);
    }

    void put(const std::string& path, const Bytes& bytes) {
        const fs::path full = root_ / "work" / path;
        fs::create_directories(full.parent_path());
        write_bytes(full, bytes);
    }

    std::vector<std::string> temporary_files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(root_ / "tmp")) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    fs::path root_;
    fs::path old_cwd_;
    std::optional<std::string> old_tmpdir_;
};

// A language's own set (en/ for English) lies over the default pictures; each folder
// offers all forms of a name before the next is searched.
TEST_F(PictureFiles, TheLanguagesSetIsSearchedBeforeTheDefaults) {
    struct Case {
        const char* what;
        platform::Language language;
        std::map<std::string, Bytes> files;
        int width, height;
    };
    const Case cases[] = {
        {"the set's JPEG before the default's BMP",
         platform::Language::english,
         {{"en/menu/menu.res", jpeg_5x3()}, {"menu/menu.bmp", bmp_124x61()}},
         5,
         3},
        {"the default where the set has none",
         platform::Language::english,
         {{"en/menu/rules.jpg", jpeg_5x3()}, {"menu/menu.bmp", bmp_124x61()}},
         124,
         61},
        {"a broken picture of the set gives way to the default",
         platform::Language::english,
         {{"en/menu/menu.bmp", garbage()}, {"menu/menu.res", jpeg_3x2()}},
         3,
         2},
        {"Russian never looks in the set",
         platform::Language::russian,
         {{"en/menu/menu.bmp", bmp_127x64()}, {"menu/menu.res", jpeg_3x2()}},
         3,
         2},
    };
    int index = 0;
    for (const Case& c : cases) {
        const fs::path folder = root_ / "work" / ("case" + std::to_string(index++));
        fs::create_directories(folder);
        fs::current_path(folder);
        for (const auto& [path, bytes] : c.files)
            put(folder.filename().string() + "/" + path, bytes);
        platform::set_language(c.language);
        Picture picture;
        picture.load(String("menu\\menu"));
        platform::reset_language();
        EXPECT_EQ(picture.width(), c.width) << c.what;
        EXPECT_EQ(picture.height(), c.height) << c.what;
    }
}

// --- the search by name ----------------------------------------------------------

TEST_F(PictureFiles, SearchOrderByName) {
    struct Case {
        const char* what;
        const char* name;  // as the game gives it
        std::map<std::string, Bytes> files;
        int width, height;  // 0 x 0: nothing found
    };
    const Case cases[] = {
        {"name.bmp comes first",
         "res\\pic",
         {{"res/pic.bmp", bmp_124x61()}, {"res/pic.res", jpeg_5x3()}},
         124,
         61},
        {"only name.res: found by the fallback", "res\\pic", {{"res/pic.res", jpeg_5x3()}}, 5, 3},
        {".res before .jpg", "pic", {{"pic.res", jpeg_5x3()}, {"pic.jpg", jpeg_3x2()}}, 5, 3},
        {".jpg before .jpeg", "pic", {{"pic.jpg", jpeg_5x3()}, {"pic.jpeg", jpeg_3x2()}}, 5, 3},
        {".jpeg before .jpe", "pic", {{"pic.jpeg", jpeg_5x3()}, {"pic.jpe", jpeg_3x2()}}, 5, 3},
        {".jpe before .jfif", "pic", {{"pic.jpe", jpeg_5x3()}, {"pic.jfif", jpeg_3x2()}}, 5, 3},
        {"last fallback .jfif", "pic", {{"pic.jfif", jpeg_5x3()}}, 5, 3},
        {"the bare name is never opened", "pic", {{"pic", bmp_124x61()}}, 0, 0},
        {"failures do not stop the search",
         "pic",
         {{"pic.bmp", garbage()}, {"pic.res", cut_jpeg()}, {"pic.jpg", jpeg_3x2()}},
         3,
         2},
        {"a JPEG named .bmp is not decoded", "pic", {{"pic.bmp", jpeg_5x3()}}, 0, 0},
        {".back is a JPEG", "res\\stage.back", {{"res/stage.back", jpeg_5x3()}}, 5, 3},
        {".res is a JPEG", "res\\panel.res", {{"res/panel.res", jpeg_3x2()}}, 3, 2},
        {".jpg is a JPEG", "shot.jpg", {{"shot.jpg", jpeg_5x3()}}, 5, 3},
        {"a BMP named .back is not a BMP; endings go after the whole name",
         "x.back",
         {{"x.back", bmp_124x61()}, {"x.back.bmp", bmp_127x64()}, {"x.back.res", jpeg_3x2()}},
         3,
         2},
        {".bmp is a BMP", "x.bmp", {{"x.bmp", bmp_124x61()}}, 124, 61},
        {".bmp gets no second .bmp", "x.bmp", {{"x.bmp.bmp", bmp_124x61()}}, 0, 0},
        {".bmp still tries the JPEG endings", "x.bmp", {{"x.bmp.jpg", jpeg_5x3()}}, 5, 3},
        {".jpeg is not recognised", "x.jpeg", {{"x.jpeg", jpeg_5x3()}}, 0, 0},
        {".jpe is not recognised", "x.jpe", {{"x.jpe", jpeg_5x3()}}, 0, 0},
        {".jfif is not recognised", "x.jfif", {{"x.jfif", jpeg_5x3()}}, 0, 0},
        {".jpeg tries name.bmp",
         "x.jpeg",
         {{"x.jpeg", jpeg_5x3()}, {"x.jpeg.bmp", bmp_124x61()}},
         124,
         61},
        {".jfif tries the endings",
         "x.jfif",
         {{"x.jfif", jpeg_5x3()}, {"x.jfif.jpg", jpeg_3x2()}},
         3,
         2},
        {"upper-case .BMP is not a BMP", "x.BMP", {{"x.BMP", bmp_124x61()}}, 0, 0},
        {"upper-case .BMP tries name.bmp",
         "x.BMP",
         {{"x.BMP", bmp_124x61()}, {"x.BMP.bmp", bmp_127x64()}},
         127,
         64},
        {"upper-case .BMP tries the endings",
         "x.BMP",
         {{"x.BMP", bmp_124x61()}, {"x.BMP.res", jpeg_5x3()}},
         5,
         3},
        {"upper-case .JPG is not a JPEG", "x.JPG", {{"x.JPG", jpeg_5x3()}}, 0, 0},
        {"a dot in a folder name is no extension",
         "my.dir\\pic",
         {{"my.dir/pic.bmp", bmp_124x61()}},
         124,
         61},
        {"empty files",
         "pic",
         {{"pic.bmp", Bytes{}}, {"pic.res", Bytes{}}, {"pic.jpg", Bytes{}}},
         0,
         0},
        {"nothing there", "res\\missing", {}, 0, 0},
        {"text under every name",
         "pic",
         {{"pic.bmp", garbage()},
          {"pic.res", garbage()},
          {"pic.jpg", garbage()},
          {"pic.jpeg", garbage()},
          {"pic.jpe", garbage()},
          {"pic.jfif", garbage()}},
         0,
         0},
    };
    int index = 0;
    for (const Case& c : cases) {
        const std::string folder = "case" + std::to_string(index++);
        for (const auto& [path, bytes] : c.files)
            put(folder + "/" + path, bytes);
        Picture picture;
        picture.load(String((folder + "\\" + c.name).c_str()));
        EXPECT_EQ(picture.is_empty(), c.width == 0) << c.what;
        EXPECT_EQ(picture.width(), c.width) << c.what;
        EXPECT_EQ(picture.height(), c.height) << c.what;
        EXPECT_TRUE(temporary_files().empty()) << c.what << ": a temporary file was left behind";
    }
}

TEST_F(PictureFiles, FoldersAndPipesUnderPictureNamesAreNoPictures) {
    for (const char* folder : {"pic.bmp", "pic.res", "pic.jpg"})
        fs::create_directories(folder);
    // Opening a pipe nobody writes to would wait forever.
    for (const char* pipe : {"pic.jpeg", "pic.jpe", "pic.jfif"})
        ASSERT_EQ(::mkfifo(pipe, 0600), 0);
    Picture picture("pic");
    EXPECT_TRUE(picture.is_empty());
    EXPECT_TRUE(temporary_files().empty());
}

TEST_F(PictureFiles, AJpegLoadsTheRightWayUpInItsColours) {
    put("res/pic.res", jpeg_5x3());
    const Picture picture("res\\pic");
    ASSERT_FALSE(picture.is_empty());
    ASSERT_EQ(picture.width(), 5);
    ASSERT_EQ(picture.height(), 3);
    const Pixel expected[3][5] = {
        {0xFF0000, 0xFF0000, 0x00FF00, 0x00FF00, 0x0000FF},
        {0xFF0000, 0xFF0000, 0x00FF00, 0x00FF00, 0x0000FF},
        {0xFFFFFF, 0xFFFFFF, 0x000000, 0x000000, 0x0000FF},
    };
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            const Pixel got = picture.bitmap()->at(x, y);
            for (int shift : {0, 8, 16}) {
                EXPECT_NEAR((got >> shift) & 0xFF, (expected[y][x] >> shift) & 0xFF, 8)
                    << "pixel " << x << "," << y << " is " << std::hex << got;
            }
        }
    }
}

// A JPEG decoded in memory has exactly the pixels of the BMP file jpeg_to_bmp makes of
// it, colour and grey, with padded rows or without.
TEST_F(PictureFiles, AJpegLoadsAsTheBmpFileItWouldMake) {
    for (const char* fixture : {"colours_5x3.jpg", "grey_3x2.jpg"}) {
        put("in.jpg", read_bytes(fixtures / fixture));
        jpeg_to_bmp("in.jpg", "out.bmp");
        const Picture from_jpeg("in.jpg"), from_bmp("out.bmp");
        ASSERT_FALSE(from_jpeg.is_empty()) << fixture;
        ASSERT_FALSE(from_bmp.is_empty()) << fixture;
        EXPECT_EQ(from_jpeg.bitmap()->width, from_bmp.bitmap()->width) << fixture;
        EXPECT_EQ(from_jpeg.bitmap()->pixels, from_bmp.bitmap()->pixels) << fixture;
    }
}

TEST_F(PictureFiles, LoadingWhatIsNotThereEmptiesALoadedPicture) {
    put("pic.bmp", bmp_124x61());
    Picture picture("pic");
    ASSERT_EQ(picture.width(), 124);
    picture.load("gone");
    EXPECT_TRUE(picture.is_empty());
    EXPECT_EQ(picture.width(), 0);
    EXPECT_EQ(picture.height(), 0);
    EXPECT_EQ(picture.bitmap(), nullptr);

    picture.load("pic");
    ASSERT_FALSE(picture.is_empty());
    picture.release();
    EXPECT_TRUE(picture.is_empty());
    EXPECT_EQ(picture.width(), 0);
}

TEST_F(PictureFiles, DamagedJpegsGiveNothingAndLeaveNoTemporaryFile) {
    Bytes scan_overwritten = jpeg_5x3();
    for (std::size_t i = scan_overwritten.size() - 40; i < scan_overwritten.size() - 2; ++i) {
        scan_overwritten[i] = 0xFF;
    }
    Bytes no_end = jpeg_5x3();
    no_end.resize(no_end.size() - 2);
    Bytes header_only = jpeg_5x3();
    header_only.resize(300);
    for (const Bytes& damaged : {cut_jpeg(), scan_overwritten, no_end, header_only}) {
        put("pic.res", damaged);
        const Picture picture("pic");
        EXPECT_TRUE(picture.is_empty()) << damaged.size() << " bytes";
        EXPECT_TRUE(temporary_files().empty());
    }
}

TEST_F(PictureFiles, AnOldTemporaryFileIsNeitherReadNorTouched) {
    // A file under the plain name "_jpeg_bmp.bmp", as another program might be writing it.
    const fs::path other = root_ / "tmp" / "_jpeg_bmp.bmp";
    write_bytes(other, bmp_127x64());
    put("pic.res", jpeg_3x2());
    const Picture found("pic");
    EXPECT_EQ(found.width(), 3);
    const Picture missing("nothing");
    EXPECT_TRUE(missing.is_empty());
    EXPECT_EQ(read_bytes(other), bmp_127x64());
    EXPECT_EQ(temporary_files(), std::vector<std::string>{"_jpeg_bmp.bmp"});
}

TEST_F(PictureFiles, TwoProgramsLoadingAtOnceEachGetTheirOwnPicture) {
    put("big.res", jpeg_5x3());
    put("small.res", jpeg_3x2());
    constexpr int rounds = 1000;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int wrong = 0;
        for (int i = 0; i < rounds; ++i) {
            const Picture picture("small");
            if (picture.width() != 3 || picture.height() != 2) ++wrong;
        }
        ::_exit(wrong > 0 ? 1 : 0);
    }
    int wrong = 0;
    for (int i = 0; i < rounds; ++i) {
        const Picture picture("big");
        if (picture.width() != 5 || picture.height() != 3) ++wrong;
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(wrong, 0) << "this process got the other's picture or none";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other process did";
    EXPECT_TRUE(temporary_files().empty());
}

TEST_F(PictureFiles, JpegsDecodeInMemoryWhateverTheTemporaryFolder) {
    // No temporary folder at all, then one that is a file: nothing is written there.
    put("a.bmp", bmp_124x61());
    put("b.res", jpeg_5x3());
    ::setenv("TMPDIR", (root_ / "no such folder").c_str(), 1);
    EXPECT_EQ(Picture("a").width(), 124);
    EXPECT_EQ(Picture("b").width(), 5);
    write_bytes(root_ / "a file", garbage());
    ::setenv("TMPDIR", (root_ / "a file").c_str(), 1);
    EXPECT_EQ(Picture("b").height(), 3);
    EXPECT_FALSE(fs::exists(root_ / "no such folder"));
    EXPECT_EQ(read_bytes(root_ / "a file"), garbage());
}

// --- the BMP file written for a JPEG -----------------------------------------------

std::uint32_t u32_at(const Bytes& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

TEST_F(PictureFiles, JpegToBmpWritesHeaderAndPaddedBottomUpRows) {
    put("in.jpg", jpeg_5x3());
    jpeg_to_bmp("in.jpg", "out.bmp");
    const Bytes out = read_bytes("out.bmp");
    // 5 pixels make 15 bytes a row, padded to 16; 3 rows.
    ASSERT_EQ(out.size(), 54u + 16 * 3);
    const Bytes header = {
        'B', 'M', 102, 0, 0, 0,  // signature, file size
        0,   0,   0,   0,        // reserved
        54,  0,   0,   0,        // offset of the pixels
        40,  0,   0,   0,        // info header size
        5,   0,   0,   0,        // width
        3,   0,   0,   0,        // height, positive: bottom-up
        1,   0,   24,  0,        // planes, bits per pixel
        0,   0,   0,   0,        // compression
        0,   0,   0,   0,        // image size
        1,   0,   0,   0,        // horizontal resolution
        1,   0,   0,   0,        // vertical resolution
        0,   0,   0,   0,        // colours used
        0,   0,   0,   0,        // important colours
    };
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 54), header);
    // Bottom row first, blue-green-red: white white black black blue; the top row
    // is red red green green blue.
    const std::uint8_t bottom[15] = {255, 255, 255, 255, 255, 255, 0, 0, 0, 0, 0, 0, 255, 0, 0};
    const std::uint8_t top[15] = {0, 0, 255, 0, 0, 255, 0, 255, 0, 0, 255, 0, 255, 0, 0};
    for (int i = 0; i < 15; ++i) {
        EXPECT_NEAR(out[54 + i], bottom[i], 8) << "bottom row byte " << i;
        EXPECT_NEAR(out[54 + 32 + i], top[i], 8) << "top row byte " << i;
    }
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(out[54 + 16 * row + 15], 0) << "padding of row " << row;
}

TEST_F(PictureFiles, JpegToBmpOfWhatIsNoJpegDescribesNoPixels) {
    Bytes too_wide = jpeg_5x3();
    // The frame header (FF C0) holds the height and then the width, big-endian.
    for (std::size_t i = 0; i + 8 < too_wide.size(); ++i) {
        if (too_wide[i] == 0xFF && too_wide[i + 1] == 0xC0) {
            too_wide[i + 7] = (platform::max_picture_side + 1) >> 8;
            too_wide[i + 8] = (platform::max_picture_side + 1) & 0xFF;
            break;
        }
    }
    int w = 0, h = 0;
    ASSERT_TRUE(platform::jpeg_size(too_wide, w, h));
    ASSERT_EQ(w, platform::max_picture_side + 1);

    const struct {
        const char* what;
        std::optional<Bytes> source;
    } cases[] = {
        {"missing", std::nullopt}, {"empty", Bytes{}},        {"text", garbage()},
        {"a BMP", bmp_124x61()},   {"cut short", cut_jpeg()}, {"wider than any picture", too_wide},
    };
    for (const auto& c : cases) {
        fs::remove("in.jpg");
        if (c.source) write_bytes("in.jpg", *c.source);
        jpeg_to_bmp("in.jpg", "out.bmp");
        const Bytes out = read_bytes("out.bmp");
        ASSERT_EQ(out.size(), 54u) << c.what;
        EXPECT_EQ(out[0], 'B');
        EXPECT_EQ(out[1], 'M');
        EXPECT_EQ(u32_at(out, 2), 54u) << c.what;
        EXPECT_EQ(u32_at(out, 10), 54u) << c.what;
        EXPECT_EQ(u32_at(out, 14), 40u) << c.what;
        EXPECT_EQ(u32_at(out, 18), 0u) << c.what;
        EXPECT_EQ(u32_at(out, 22), 0u) << c.what;
        EXPECT_FALSE(platform::decode_bmp(out).has_value()) << c.what;
    }
}

TEST_F(PictureFiles, JpegToBmpReplacesALongerFile) {
    write_bytes("out.bmp", Bytes(5000, 0x77));
    put("in.jpg", jpeg_3x2());
    jpeg_to_bmp("in.jpg", "out.bmp");
    const Bytes out = read_bytes("out.bmp");
    ASSERT_EQ(out.size(), 54u + 12 * 2);
    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i < 9; ++i)
            EXPECT_NEAR(out[54 + 12 * row + i], 128, 2);
        for (int i = 9; i < 12; ++i)
            EXPECT_EQ(out[54 + 12 * row + i], 0) << "padding";
    }
}

TEST_F(PictureFiles, JpegToBmpWritesNothingWhereNoFileCanBeMade) {
    put("in.jpg", jpeg_5x3());
    fs::create_directories("a folder");
    jpeg_to_bmp("in.jpg", "no such folder/out.bmp");
    jpeg_to_bmp("in.jpg", "a folder");
    jpeg_to_bmp("in.jpg", "");
    EXPECT_FALSE(fs::exists("no such folder"));
    EXPECT_TRUE(fs::is_directory("a folder"));
    EXPECT_TRUE(fs::is_empty("a folder"));
}

// --- drawing and capturing -----------------------------------------------------

// A small window with a different colour in every pixel.
class PictureRaster : public testing::Test {
  protected:
    void SetUp() override {
        window_.resize(6, 4);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 6; ++x)
                window_.dc().target->at(x, y) = source_pixel(x, y);
        }
    }
    static Pixel source_pixel(int x, int y) {
        return static_cast<Pixel>(0x102030 + 0x010000 * x + 0x000100 * y + 0x11);
    }

    platform::Window window_;
};

TEST_F(PictureRaster, CaptureCopiesTheRectangleAndKeepsBlackOutsideTheSource) {
    const struct {
        const char* what;
        int x, y, w, h;
    } cases[] = {
        {"inside", 1, 1, 3, 2},
        {"whole", 0, 0, 6, 4},
        {"past the right and bottom", 4, 2, 5, 4},
        {"before the left and top", -2, -1, 4, 3},
        {"around the source", -1, -1, 8, 6},
        {"all outside", 7, 0, 2, 2},
        {"far outside", std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), 2, 2},
    };
    for (const auto& c : cases) {
        Picture picture;
        picture.capture_window(window_, c.x, c.y, c.w, c.h, platform::SRCCOPY);
        ASSERT_FALSE(picture.is_empty()) << c.what;
        ASSERT_EQ(picture.width(), c.w) << c.what;
        ASSERT_EQ(picture.height(), c.h) << c.what;
        for (int y = 0; y < c.h; ++y) {
            for (int x = 0; x < c.w; ++x) {
                const std::int64_t sx = static_cast<std::int64_t>(c.x) + x;
                const std::int64_t sy = static_cast<std::int64_t>(c.y) + y;
                const bool inside = sx >= 0 && sx < 6 && sy >= 0 && sy < 4;
                const Pixel expected =
                    inside ? source_pixel(static_cast<int>(sx), static_cast<int>(sy)) : 0;
                EXPECT_EQ(picture.bitmap()->at(x, y), expected)
                    << c.what << " at " << x << "," << y;
            }
        }
    }
}

TEST_F(PictureRaster, CaptureAppliesTheRasterOperationOnBlack) {
    Picture painted, anded;
    painted.capture_dc(window_.dc(), 0, 0, 6, 4, platform::SRCPAINT);
    anded.capture_dc(window_.dc(), 0, 0, 6, 4, platform::SRCAND);
    EXPECT_EQ(painted.bitmap()->pixels, window_.framebuffer().pixels);
    EXPECT_EQ(anded.bitmap()->pixels, std::vector<Pixel>(24, 0));
}

TEST_F(PictureRaster, CaptureFromAMemoryContext) {
    platform::Bitmap memory(3, 3, 0x000000);
    memory.at(2, 1) = 0xABCDEF;
    const platform::DrawContext context(&memory);
    Picture picture;
    picture.capture_dc(context, 1, 1, 2, 1, platform::SRCCOPY);
    ASSERT_EQ(picture.width(), 2);
    EXPECT_EQ(picture.bitmap()->at(0, 0), 0x000000u);
    EXPECT_EQ(picture.bitmap()->at(1, 0), 0xABCDEFu);
}

TEST_F(PictureRaster, CaptureOfNoSizeEmptiesTheOldPicture) {
    const struct {
        int w, h;
    } sizes[] = {{0, 4},
                 {4, 0},
                 {-1, 3},
                 {3, -1},
                 {platform::max_picture_side + 1, 1},
                 {1, std::numeric_limits<int>::max()}};
    for (const auto& s : sizes) {
        Picture picture;
        picture.capture_window(window_, 0, 0, 2, 2, platform::SRCCOPY);
        ASSERT_FALSE(picture.is_empty());
        picture.capture_window(window_, 0, 0, s.w, s.h, platform::SRCCOPY);
        EXPECT_TRUE(picture.is_empty()) << s.w << " x " << s.h;
        EXPECT_EQ(picture.width(), 0);
        EXPECT_EQ(picture.height(), 0);
    }
    Picture from_nothing;
    from_nothing.capture_window(window_, 0, 0, 2, 2, platform::SRCCOPY);
    from_nothing.capture_dc(platform::DrawContext(), 0, 0, 2, 2, platform::SRCCOPY);
    EXPECT_TRUE(from_nothing.is_empty());
}

TEST_F(PictureRaster, DrawPutsThePictureAtItsPlaceWithTheRasterOperation) {
    Picture picture;
    picture.capture_window(window_, 0, 0, 2, 2, platform::SRCCOPY);
    const struct {
        std::uint32_t rop;
        Pixel under;
        Pixel (*expected)(Pixel under, Pixel picture);
    } cases[] = {
        {platform::SRCCOPY, 0x0F0F0F, [](Pixel, Pixel p) { return p; }},
        {platform::SRCPAINT, 0x0F0F0F, [](Pixel u, Pixel p) { return u | p; }},
        {platform::SRCAND, 0xF0F0F0, [](Pixel u, Pixel p) { return u & p; }},
    };
    for (const auto& c : cases) {
        platform::Window target;
        target.resize(5, 5);
        platform::fill_rect(target.dc(), 0, 0, 5, 5, platform::to_colour(c.under));
        picture.draw_to_window(target, 3, 2, c.rop);
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 5; ++x) {
                const bool covered = x >= 3 && x < 5 && y >= 2 && y < 4;
                const Pixel expected =
                    covered ? c.expected(c.under, source_pixel(x - 3, y - 2)) : c.under;
                EXPECT_EQ(target.framebuffer().at(x, y), expected)
                    << std::hex << c.rop << " at " << std::dec << x << "," << y;
            }
        }
    }
    // Partly off the target: clipped, no harm done.
    platform::Bitmap small(1, 1, 0);
    platform::DrawContext context(&small);
    picture.draw_to_dc(context, -1, -1, platform::SRCCOPY);
    EXPECT_EQ(small.at(0, 0), source_pixel(1, 1));
}

TEST_F(PictureRaster, AnEmptyPictureDrawsNothing) {
    const Picture picture;
    const platform::Bitmap before = window_.framebuffer();
    picture.draw_to_window(window_, 0, 0, platform::SRCCOPY);
    picture.draw_to_dc(window_.dc(), 1, 1, platform::SRCAND);
    EXPECT_EQ(window_.framebuffer().pixels, before.pixels);
    EXPECT_EQ(window_.framebuffer().changes, before.changes);
}

// --- cuts kept while decoded data is kept --------------------------------------

struct KeptCutCase {
    const char* name;
    bool keeping = true;
    bool switched_between = false;  // keeping switched on again between the cut and the ask
    bool other_geometry = false;
    bool other_source = false;  // another picture of the same pixels
    bool empty_source = false;
    bool shared = false;
};
void PrintTo(const KeptCutCase& c, std::ostream* os) {
    *os << c.name;
}

class KeptCut : public PictureRaster, public testing::WithParamInterface<KeptCutCase> {
  protected:
    void TearDown() override { platform::keep_decoded_data(false); }
};

TEST_P(KeptCut, SharesOnlyWhatWasKeptFromTheSameBitmapAtTheSameGeometry) {
    const KeptCutCase& c = GetParam();
    platform::keep_decoded_data(c.keeping);
    Picture source, twin;
    source.capture_window(window_, 0, 0, 6, 4, platform::SRCCOPY);
    twin.capture_window(window_, 0, 0, 6, 4, platform::SRCCOPY);
    const Picture empty;
    Picture left, right;
    left.capture_window(window_, 0, 0, 3, 4, platform::SRCCOPY);
    right.capture_window(window_, 3, 0, 3, 4, platform::SRCCOPY);
    Picture* const cut[] = {&left, &right};
    KeptCuts cuts;
    cuts.keep(c.empty_source ? empty : source, {3, 4, 0, 0}, cut);
    if (c.switched_between) platform::keep_decoded_data(true);

    Picture first, second;
    first.capture_window(window_, 0, 0, 1, 1, platform::SRCCOPY);
    const platform::Bitmap* const held = first.bitmap();
    Picture* const asked[] = {&first, &second};
    const Picture& from = c.empty_source ? empty : c.other_source ? twin : source;
    const KeptCuts::Geometry geometry{c.other_geometry ? 2 : 3, 4, 0, 0};
    EXPECT_EQ(cuts.share(from, geometry, asked), c.shared);
    if (c.shared) {
        EXPECT_EQ(first.bitmap(), left.bitmap());
        EXPECT_EQ(second.bitmap(), right.bitmap());
    } else {
        EXPECT_EQ(first.bitmap(), held);
        EXPECT_TRUE(second.is_empty());
    }
}

const KeptCutCase kept_cut_cases[] = {
    {.name = "KeptAndAskedAlike", .shared = true},
    {.name = "NotKeeping", .keeping = false},
    {.name = "SwitchedBetween", .switched_between = true},
    {.name = "OtherGeometry", .other_geometry = true},
    {.name = "OtherBitmapOfTheSamePixels", .other_source = true},
    {.name = "EmptySource", .empty_source = true},
};
INSTANTIATE_TEST_SUITE_P(Picture, KeptCut, testing::ValuesIn(kept_cut_cases),
                         test_support::CaseName());

}  // namespace
