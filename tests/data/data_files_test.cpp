// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The generated data folder through the game's own loaders: the tile atlas and the
// plate, the stage backgrounds, the screen pictures, the six menu files with the
// identity key, the score file, the music files and the five built-in effects.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "game_folder.h"
#include "graphics/picture.h"
#include "menu/settings.h"
#include "menu/windowmenu.h"
#include "platform/audio.h"
#include "platform/cp1251.h"
#include "platform/files.h"
#include "platform/window.h"
#include "scores/score_table.h"
#include "sound/effects.h"

namespace {

constexpr platform::Pixel white = 0xFFFFFF;
constexpr int cell_w = 36, cell_h = 48;

std::vector<unsigned char> file_bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// ---- Tile atlas and plate ---------------------------------------------------------------

class AtlasTest : public GameFolderTest {
  protected:
    void SetUp() override {
        GameFolderTest::SetUp();
        atlas_.load("res\\pic");
        ASSERT_FALSE(atlas_.is_empty()) << "res\\pic did not load";
    }
    platform::Pixel face(int kind, int x, int y) const {
        return atlas_.bitmap()->at((kind / 6) * cell_w + x, (kind % 6) * cell_h + y);
    }
    platform::Pixel mask(int kind, int x, int y) const {
        return atlas_.bitmap()->at((6 + kind / 6) * cell_w + x, (kind % 6) * cell_h + y);
    }
    Picture atlas_;
};

TEST_F(AtlasTest, CutsIntoTwelveBySixCellsOf36By48) {
    EXPECT_EQ(atlas_.width(), 12 * cell_w);
    EXPECT_EQ(atlas_.height(), 6 * cell_h);
    // The window follows from the atlas: 18 x 11 cells.
    EXPECT_EQ(atlas_.width() * 18 / 12, 648);
    EXPECT_EQ(atlas_.height() * 11 / 6, 528);
}

TEST_F(AtlasTest, EveryMaskIsWhiteExactlyWhereItsFaceIsNotWhite) {
    for (int kind = 0; kind < 36; ++kind) {
        int shown = 0;
        for (int y = 0; y < cell_h; ++y) {
            for (int x = 0; x < cell_w; ++x) {
                const platform::Pixel m = mask(kind, x, y), f = face(kind, x, y);
                ASSERT_TRUE(m == white || m == 0) << "kind " << kind << " mask pixel (" << x << ", "
                                                  << y << ") is neither black nor white";
                ASSERT_EQ(m == white, f != white) << "kind " << kind << " at (" << x << ", " << y
                                                  << "): face " << std::hex << f << ", mask " << m;
                shown += m == white;
            }
        }
        // A vorp fills a good part of its tile, but not all of it: the plate shows around it.
        EXPECT_GT(shown, 200) << "kind " << kind;
        EXPECT_LT(shown, 31 * 43 * 3 / 4) << "kind " << kind;
    }
}

TEST_F(AtlasTest, FacesLeaveThePlateEdgeVisible) {
    // The plate's top surface spans x 1..31 and y 1..43; its edge and the gaps lie
    // outside it and must stay white in every face so the tile reads as a tile.
    for (int kind = 0; kind < 36; ++kind)
        for (int y = 0; y < cell_h; ++y)
            for (int x = 0; x < cell_w; ++x)
                if (x < 1 || x > 31 || y < 1 || y > 43) {
                    ASSERT_EQ(face(kind, x, y), white)
                        << "kind " << kind << " at (" << x << ", " << y << ")";
                }
}

TEST_F(GameFolderTest, PlateIsOneCell) {
    Picture plate("res\\panel");
    ASSERT_FALSE(plate.is_empty());
    EXPECT_EQ(plate.width(), cell_w);
    EXPECT_EQ(plate.height(), cell_h);
}

// ---- Backgrounds and screens ------------------------------------------------------------

struct MeanColour {
    double r = 0, g = 0, b = 0;
};

MeanColour mean_colour(const platform::Bitmap& bitmap) {
    MeanColour mean;
    for (platform::Pixel p : bitmap.pixels) {
        mean.r += (p >> 16) & 0xFF;
        mean.g += (p >> 8) & 0xFF;
        mean.b += p & 0xFF;
    }
    const double n = 255.0 * static_cast<double>(bitmap.pixels.size());
    return {mean.r / n, mean.g / n, mean.b / n};
}

TEST_F(GameFolderTest, NineOrMoreBackgroundsLoadAtWindowSizeAndDiffer) {
    const std::vector<std::string> names = platform::list_matching("res\\*.back");
    ASSERT_GE(names.size(), 9u);
    std::vector<MeanColour> means;
    for (const std::string& name : names) {
        Picture background(("res\\" + name).c_str());
        ASSERT_FALSE(background.is_empty()) << name;
        EXPECT_EQ(background.width(), 648) << name;
        EXPECT_EQ(background.height(), 528) << name;
        means.push_back(mean_colour(*background.bitmap()));
        // Calm and not bright: the ivory plates and the light texts must stand out.
        const MeanColour& m = means.back();
        EXPECT_LT(0.299 * m.r + 0.587 * m.g + 0.114 * m.b, 0.5) << name;
    }
    for (std::size_t a = 0; a < means.size(); ++a) {
        for (std::size_t b = a + 1; b < means.size(); ++b) {
            const double d = std::hypot(means[a].r - means[b].r, means[a].g - means[b].g,
                                        means[a].b - means[b].b);
            EXPECT_GT(d, 0.03) << names[a] << " and " << names[b] << " have the same colouring";
        }
    }
}

TEST_F(GameFolderTest, ScreenPicturesLoadAtWindowSizeSomeThroughTheJpegEndings) {
    int found_as_jpeg = 0;
    for (const char* name : {"menu\\menu", "menu\\rules", "menu\\rules_end", "menu\\menuscore"}) {
        Picture screen(name);
        ASSERT_FALSE(screen.is_empty()) << name;
        EXPECT_EQ(screen.width(), 648) << name;
        EXPECT_EQ(screen.height(), 528) << name;
        if (!std::filesystem::exists(platform::native_path(name) + ".bmp")) ++found_as_jpeg;
    }
    EXPECT_GE(found_as_jpeg, 1) << "no screen exercises the search for JPEG endings";
}

// ---- Menu files -------------------------------------------------------------------------

struct MenuCase {
    std::string path;
    int items;
    std::vector<int> acted;  // the items the game flow acts on or writes
    bool russian = true;     // else English: plain ASCII
};

class MenuFileTest : public GameFolderTest, public testing::WithParamInterface<MenuCase> {};

// The file name without its folder and ending.
std::string menu_case_name(const testing::TestParamInfo<MenuCase>& menu_case) {
    std::string name = menu_case.param.path;
    name = name.substr(name.rfind('\\') + 1);
    return name.substr(0, name.find('.'));
}

TEST_P(MenuFileTest, LoadsWithItsItemsAndNoFatalError) {
    const MenuCase& c = GetParam();
    platform::Window window;
    window.resize(648, 528);
    windowmenu menu;
    menu.init(window, c.path.c_str());
    EXPECT_TRUE(message_boxes().empty()) << message_boxes().front().text;
    ASSERT_EQ(menu.has_items, 1);
    ASSERT_EQ(menu.item_count, c.items);
    EXPECT_TRUE(menu.menu_font != nullptr);
    EXPECT_EQ(menu.alignment, windowmenu::CENTER);
    for (int i = 1; i <= c.items; ++i) {
        const bool acted = std::find(c.acted.begin(), c.acted.end(), i) != c.acted.end();
        if (acted) {
            EXPECT_GT(menu.item_texts[i].length(), 1) << c.path << " item " << i;
        } else {
            EXPECT_EQ(str(menu.item_texts[i]), " ")
                << c.path << " item " << i << " should only hold a place";
        }
    }
}

TEST_P(MenuFileTest, IsWindows1251WithCrLfLineEnds) {
    const std::vector<unsigned char> bytes = file_bytes(platform::native_path(GetParam().path));
    ASSERT_FALSE(bytes.empty());
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[bytes.size() - 2], '\r');
    EXPECT_EQ(bytes.back(), '\n');
    int cyrillic = 0, beyond_ascii = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare line feed at byte " << i;
        }
        if (bytes[i] == '\r') {
            ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "bare CR at byte " << i;
        }
        ASSERT_NE(bytes[i], 0x98) << "byte 0x98 has no character in Windows-1251";
        cyrillic += bytes[i] >= 0xC0;  // А..я
        beyond_ascii += bytes[i] >= 0x80;
    }
    if (GetParam().russian) {
        EXPECT_GT(cyrillic, 0) << "no Russian text";
    } else {
        EXPECT_EQ(beyond_ascii, 0) << "English text that is not plain ASCII";
    }
}

// The six menus in the folder of one language, "menu\\" or "en\\menu\\".
std::vector<MenuCase> six_menus(const std::string& folder, bool russian) {
    const MenuCase menus[] = {
        {"helpmenu.menu", 6, {4, 5}},       {"continuemenu.menu", 5, {3, 4, 5}},
        {"mainmenu.menu", 8, {3, 4, 5, 6}}, {"back.menu", 8, {8}},
        {"really.menu", 8, {4, 6, 8}},      {"training.menu", 7, {6, 7}}};
    std::vector<MenuCase> cases;
    for (const MenuCase& menu : menus)
        cases.push_back({folder + menu.path, menu.items, menu.acted, russian});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(SixMenus, MenuFileTest, testing::ValuesIn(six_menus("menu\\", true)),
                         menu_case_name);
INSTANTIATE_TEST_SUITE_P(SixEnglishMenus, MenuFileTest,
                         testing::ValuesIn(six_menus("en\\menu\\", false)), menu_case_name);

TEST_F(GameFolderTest, MainMenuCarriesTheIdentityKey) {
    for (const char* path : {"menu\\mainmenu.menu", "en\\menu\\mainmenu.menu"}) {
        std::ifstream file(platform::native_path(path), std::ios::binary);
        ASSERT_TRUE(file.is_open()) << path;
        EXPECT_EQ(str(read_setting_text(file, "game")), "vorps") << path;
    }
}

// ---- Score file -------------------------------------------------------------------------

TEST_F(GameFolderTest, ScoreFileHoldsNineEntriesBestFirst) {
    const std::vector<unsigned char> bytes = file_bytes("score.sco");
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 9);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), 9);
    reset_score_state();
    score_table().load_scores("score.sco");
    ASSERT_EQ(score_table().score_loaded, 1);
    for (int i = 0; i < ScoreTable::entry_count; ++i) {
        const String& name = score_table().score_names[i];
        EXPECT_FALSE(name.is_empty()) << "entry " << i + 1;
        EXPECT_LE(name.length(), ScoreTable::stored_name_limit) << "entry " << i + 1;
        EXPECT_EQ(std::strchr(name.c_str(), ' '), nullptr) << "entry " << i + 1;
        if (i > 0) {
            EXPECT_GE(score_table().score_values[i - 1], score_table().score_values[i]);
        }
    }
    // A first good game can get in.
    EXPECT_GT(score_table().lowest_score(), 0);
    EXPECT_LT(score_table().lowest_score(), 500);
    reset_score_state();
}

// ---- Sounds -----------------------------------------------------------------------------

struct SoundCase {
    const char* path;
    int major_format;
    double shortest, longest;  // seconds
};

class SoundFileTest : public GameFolderTest, public testing::WithParamInterface<SoundCase> {};

TEST_P(SoundFileTest, OpensWithItsFormatAndLength) {
    const SoundCase& c = GetParam();
    SF_INFO info{};
    SNDFILE* file = sf_open(platform::native_path(c.path).c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr) << c.path << ": " << sf_strerror(nullptr);
    EXPECT_EQ(info.format & SF_FORMAT_TYPEMASK, c.major_format);
    EXPECT_EQ(info.samplerate, 22050);
    const double seconds = static_cast<double>(info.frames) / info.samplerate;
    EXPECT_GE(seconds, c.shortest);
    EXPECT_LE(seconds, c.longest);
    sf_close(file);
    if (c.major_format == SF_FORMAT_WAV) {
        // The game's players time the music by the file's own header.
        const std::vector<unsigned char> bytes = file_bytes(platform::native_path(c.path));
        EXPECT_NEAR(static_cast<double>(platform::wave_length_us(bytes)) / 1e6, seconds, 0.01);
    }
}

INSTANTIATE_TEST_SUITE_P(MusicAndBells, SoundFileTest,
                         testing::Values(SoundCase{"sound\\intro.wav", SF_FORMAT_WAV, 10, 20},
                                         SoundCase{"sound\\menu.wav", SF_FORMAT_WAV, 29.5, 30.5},
                                         SoundCase{"sound\\bells.wav", SF_FORMAT_WAV, 2, 3},
                                         SoundCase{"sound\\lalai.mp3", SF_FORMAT_MPEG, 1, 10}),
                         [](const testing::TestParamInfo<SoundCase>& sound_case) {
                             std::string name = sound_case.param.path + 6;
                             return name.substr(0, name.find('.'));
                         });

TEST_F(GameFolderTest, MenuMusicEndRunsOnIntoItsStart) {
    SF_INFO info{};
    SNDFILE* file = sf_open("sound/menu.wav", SFM_READ, &info);
    ASSERT_NE(file, nullptr);
    std::vector<float> samples(static_cast<std::size_t>(info.frames * info.channels));
    ASSERT_EQ(sf_readf_float(file, samples.data(), info.frames), info.frames);
    sf_close(file);
    const auto channels = static_cast<std::size_t>(info.channels);
    // No click where the loop starts over: the last frame leads into the first as
    // smoothly as neighbouring frames do.
    const std::size_t last = samples.size() - channels;
    for (std::size_t c = 0; c < channels; ++c)
        EXPECT_LT(std::fabs(samples[last + c] - samples[c]), 0.08f) << "channel " << c;
    // And no fade at either end, which would be heard as a gap every 30 s.
    const auto loudness = [&](std::size_t first_frame) {
        double sum = 0;
        const std::size_t n = 11025 * channels;  // half a second
        for (std::size_t i = first_frame * channels; i < first_frame * channels + n; ++i)
            sum += samples[i] * samples[i];
        return std::sqrt(sum / static_cast<double>(n));
    };
    EXPECT_GT(loudness(0), 0.03);
    EXPECT_GT(loudness(static_cast<std::size_t>(info.frames) - 11025), 0.03);
}

// ---- Effects built into the program -----------------------------------------------------

std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}
std::uint16_t le16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

// Reads a wave held in memory through libsndfile.
struct MemoryWave {
    std::span<const std::uint8_t> bytes;
    sf_count_t pos = 0;
    static sf_count_t length(void* self) {
        return static_cast<sf_count_t>(static_cast<MemoryWave*>(self)->bytes.size());
    }
    static sf_count_t seek(sf_count_t offset, int whence, void* self) {
        auto* w = static_cast<MemoryWave*>(self);
        const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? w->pos : length(self);
        w->pos = std::clamp<sf_count_t>(base + offset, 0, length(self));
        return w->pos;
    }
    static sf_count_t read(void* out, sf_count_t count, void* self) {
        auto* w = static_cast<MemoryWave*>(self);
        const sf_count_t n = std::min(count, length(self) - w->pos);
        std::memcpy(out, w->bytes.data() + w->pos, static_cast<std::size_t>(n));
        w->pos += n;
        return n;
    }
    static sf_count_t write(const void*, sf_count_t, void*) { return 0; }
    static sf_count_t tell(void* self) { return static_cast<MemoryWave*>(self)->pos; }
};

TEST(EffectWaves, AreImaAdpcmMono22050FourBitAndShort) {
    for (Effect effect : {Effect::DELETE_OK, Effect::DELETE_NO, Effect::RESHUFFLE, Effect::VZDOH,
                          Effect::MENU_GO}) {
        SCOPED_TRACE(effect_name(effect));
        const std::span<const std::uint8_t> wave = effect_wave(effect);
        ASSERT_GT(wave.size(), 60u);
        ASSERT_EQ(std::memcmp(wave.data(), "RIFF", 4), 0);
        ASSERT_EQ(std::memcmp(wave.data() + 8, "WAVE", 4), 0);
        EXPECT_EQ(le32(wave, 4), wave.size() - 8);
        ASSERT_EQ(std::memcmp(wave.data() + 12, "fmt ", 4), 0);
        EXPECT_EQ(le16(wave, 20), 17);  // IMA ADPCM
        EXPECT_EQ(le16(wave, 22), 1);   // mono
        EXPECT_EQ(le32(wave, 24), 22050u);
        EXPECT_EQ(le16(wave, 34), 4);  // bits per sample

        MemoryWave memory{wave};
        SF_VIRTUAL_IO io{MemoryWave::length, MemoryWave::seek, MemoryWave::read, MemoryWave::write,
                         MemoryWave::tell};
        SF_INFO info{};
        SNDFILE* file = sf_open_virtual(&io, SFM_READ, &info, &memory);
        ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
        std::vector<float> samples(static_cast<std::size_t>(info.frames));
        ASSERT_EQ(sf_readf_float(file, samples.data(), info.frames), info.frames);
        sf_close(file);
        const double seconds = static_cast<double>(info.frames) / 22050;
        // Each effect is short; the sigh may take longer than a second.
        EXPECT_LT(seconds, effect == Effect::VZDOH ? 2.0 : 1.0);
        float peak = 0;
        for (float s : samples)
            peak = std::max(peak, std::fabs(s));
        EXPECT_GT(peak, 0.3f) << "too quiet to hear";
    }
}

}  // namespace
