// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Game paths, wildcard matching and the UTF-8 / Windows-1251 conversions.
#include <gtest/gtest.h>

#include <fstream>

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>
#include <chrono>

#include "platform/cp1251.h"
#include "platform/files.h"

namespace platform {
namespace {

TEST(Files, BackslashesBecomeSlashes) {
    EXPECT_EQ(native_path("res\\pic.bmp"), "res/pic.bmp");
    EXPECT_EQ(native_path("score.sco"), "score.sco");
}

TEST(Files, WildcardMatching) {
    const struct {
        const char* pattern;
        const char* name;
        bool match;
    } cases[] = {
        {"*.back", "a.back", true},
        {"*.back", ".back", true},
        {"*.back", "a.back.x", false},
        {"*.back", "a.BACK", false},
        {"?.back", "ab.back", false},
        {"??.back", "ab.back", true},
        {"*", "", true},
        {"a*b*c", "axxbyyc", true},
        {"a*b*c", "axxbyy", false},
        {"*a*", "bab", true},
        {"", "x", false},
        {"x", "x", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(wildcard_match(c.pattern, c.name), c.match) << c.pattern << " ~ " << c.name;
}

TEST(Files, ReadFileRefusesMissingAndOversizedFiles) {
    EXPECT_FALSE(read_file("/nonexistent/vorpy", 100).has_value());
    const std::string path = temp_folder() + "vorpy-read-file-test";
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fputs("hello", f);
    std::fclose(f);
    EXPECT_EQ(read_file(path, 5)->size(), 5u);
    EXPECT_FALSE(read_file(path, 4).has_value());
    std::remove(path.c_str());
}

// Anything but a regular file counts as missing, at once: a pipe would wait for a
// writer, /dev/zero never ends, a folder opens but cannot be read.
TEST(Files, ReadFileTakesOnlyRegularFiles) {
    const std::string folder = temp_folder() + "vorpy-read-kinds-" + std::to_string(::getpid());
    std::filesystem::create_directories(folder + "/folder");
    ASSERT_EQ(::mkfifo((folder + "/pipe").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", folder + "/zero");
    std::filesystem::create_symlink("/dev/null", folder + "/null");
    std::ofstream(folder + "/file", std::ios::binary) << "bytes";
    std::filesystem::create_symlink("file", folder + "/link");
    const auto start = std::chrono::steady_clock::now();
    for (const char* name : {"folder", "pipe", "zero", "null", "missing"})
        EXPECT_FALSE(read_file(folder + "/" + name, 1 << 20).has_value()) << name;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    // A link to a regular file is read through.
    for (const char* name : {"file", "link"})
        EXPECT_EQ(read_text_file(folder + "/" + name, 5), "bytes") << name;
    std::filesystem::remove_all(folder);
}

TEST(Cp1251, LandmarksAndRoundTrip) {
    EXPECT_EQ(cp1251_to_unicode(0xC0), U'\u0410');
    EXPECT_EQ(cp1251_to_unicode(0xFF), U'\u044F');
    EXPECT_EQ(cp1251_to_unicode(0xA8), U'\u0401');
    EXPECT_EQ(cp1251_to_unicode(0xB9), U'\u2116');
    EXPECT_EQ(cp1251_to_unicode(0x88), U'\u20AC');
    EXPECT_EQ(cp1251_to_unicode(0x98), U'\uFFFD');
    EXPECT_EQ(std::string("Счет: 5"_cp1251), "\xD1\xF7\xE5\xF2: 5");
    EXPECT_EQ(cp1251_to_utf8("\xD1\xF7\xE5\xF2"), "Счет");
    EXPECT_EQ(utf8_to_cp1251("Ёж №1 €"), "\xA8\xE6 \xB9\x31 \x88");
    // Characters without a Windows-1251 byte and broken sequences are dropped.
    EXPECT_EQ(utf8_to_cp1251("aé中😀b"), "ab");
    EXPECT_EQ(utf8_to_cp1251("a\xD0"), "a");
    EXPECT_EQ(utf8_to_cp1251("a\xFF\x80z"), "az");
    for (int b = 32; b < 256; ++b) {
        if (b == 0x98) continue;
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(utf8_to_cp1251(cp1251_to_utf8(one)), one) << b;
    }
}

}  // namespace
}  // namespace platform
