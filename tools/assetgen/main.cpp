// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// vorpy_assetgen: writes the game's data folder.
//
//   vorpy_assetgen data <game folder> <effects source>
//       menu/, res/ and sound/ in the game folder, en/menu/ with the English menus and
//       screens, the five effects as WAVE files beside the effects source, and the
//       source itself (effect_wave()).
//   vorpy_assetgen scores <game folder>
//       score.sco, only when the game folder has none: a player's scores stay.
//   vorpy_assetgen art <icons folder> <icon name> <window art source>
//       the icon in the icon theme's sizes (hicolor/NxN/apps/<icon name>.png) and the
//       source that builds the window's icon and mouse pointer into the program.
//
// Every run writes the same bytes: nothing depends on the time or on unseeded chance.
#include <sndfile.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "icons.h"
#include "language.h"
#include "menus.h"
#include "music.h"
#include "output.h"
#include "platform/png.h"
#include "scenes.h"
#include "tiles.h"

namespace {

using namespace assetgen;
namespace fs = std::filesystem;

constexpr int jpeg_quality = 90;

bool report(bool ok, const fs::path& path) {
    if (!ok) std::fprintf(stderr, "vorpy_assetgen: cannot write %s\n", path.string().c_str());
    return ok;
}

bool make_folder(const fs::path& path) {
    std::error_code error;
    fs::create_directories(path, error);
    return report(!error, path);
}

bool write_resources(const fs::path& game) {
    const fs::path res = game / "res";
    if (!make_folder(res)) return false;
    bool ok = report(write_bytes(res / "pic.bmp", encode_bmp(draw_atlas())), res / "pic.bmp");
    ok = ok && report(write_bytes(res / "panel.bmp", encode_bmp(draw_plate())), res / "panel.bmp");
    for (const Background& background : stage_backgrounds()) {
        const fs::path path = res / background.file_name;
        ok = ok && report(write_bytes(path, encode_jpeg(background.draw(), jpeg_quality)), path);
    }
    return ok;
}

// The four screens and the six menus of a language into its menu folder.
bool write_menu_folder(const fs::path& game, Language language) {
    const fs::path menu = game / language_folder(language) / "menu";
    if (!make_folder(menu)) return false;
    // The screens come in the forms the picture search knows: a BMP file, and JPEG
    // files under the endings it tries after the BMP file is not found.
    const struct {
        const char* file_name;
        Image (*draw)(const ScreenTexts&);
        bool jpeg;
    } screens[] = {{"menu.res", menu_screen, true},
                   {"rules.jpg", rules_screen, true},
                   {"rules_end.bmp", rules_end_screen, false},
                   {"menuscore.jpeg", score_screen, true}};
    bool ok = true;
    for (const auto& screen : screens) {
        const fs::path path = menu / screen.file_name;
        const Image image = screen.draw(screen_texts(language));
        ok = ok && report(write_bytes(path, screen.jpeg ? encode_jpeg(image, jpeg_quality)
                                                        : encode_bmp(image)),
                          path);
    }
    for (const MenuFile& file : menu_files(language))
        ok = ok &&
             report(write_cp1251_lines(menu / file.file_name, file.lines), menu / file.file_name);
    return ok;
}

bool write_sounds(const fs::path& game, const fs::path& source) {
    const fs::path sound = game / "sound", effects = source.parent_path() / "effects";
    if (!make_folder(sound) || !make_folder(effects)) return false;
    constexpr int pcm = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    bool ok = report(write_sound(sound / "intro.wav", intro_music(), pcm), sound / "intro.wav");
    ok = ok && report(write_sound(sound / "menu.wav", menu_music(), pcm), sound / "menu.wav");
    ok = ok && report(write_sound(sound / "bells.wav", bells_sound(), pcm), sound / "bells.wav");
    ok = ok && report(write_sound(sound / "lalai.mp3", jingle(),
                                  SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III),
                      sound / "lalai.mp3");
    if (!ok) return false;

    static const char* const names[] = {"delete_ok", "delete_no", "reshuffle", "vzdoh", "menu_go"};
    const std::vector<Sound> sounds = effect_sounds();
    std::vector<Bytes> waves;
    for (std::size_t i = 0; i < sounds.size(); ++i) {
        const fs::path path = effects / (std::string(names[i]) + ".wav");
        Bytes wave;
        if (!report(write_sound(path, sounds[i], SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM) &&
                        read_bytes(path, wave),
                    path))
            return false;
        waves.push_back(std::move(wave));
    }
    const std::string text = effects_source(waves);
    return report(write_bytes(source, Bytes(text.begin(), text.end())), source);
}

bool write_scores(const fs::path& game) {
    const fs::path path = game / "score.sco";
    std::error_code error;
    if (fs::exists(path, error) || error) return !error;
    return make_folder(game) && report(write_cp1251_lines(path, starting_scores()), path);
}

bool write_icon_png(const fs::path& path, const platform::Bitmap& image) {
    return report(make_folder(path.parent_path()) && platform::write_png(path, image, true), path);
}

bool write_art(const fs::path& icons, const std::string& icon_name, const fs::path& source) {
    bool ok = make_folder(source.parent_path());
    for (const int size : icon_sizes) {
        const std::string square = std::to_string(size) + "x" + std::to_string(size);
        ok = ok && write_icon_png(icons / "hicolor" / square / "apps" / (icon_name + ".png"),
                                  draw_icon(size));
    }
    const std::string text = window_art_source(draw_icon(window_icon_size), draw_pointer());
    return ok && report(write_bytes(source, Bytes(text.begin(), text.end())), source);
}

int usage() {
    std::fprintf(stderr,
                 "usage: vorpy_assetgen data <game folder> <effects source>\n"
                 "       vorpy_assetgen scores <game folder>\n"
                 "       vorpy_assetgen art <icons folder> <icon name> <window art source>\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string command = argv[1];
    const fs::path game = argv[2];
    if (command == "data" && argc == 4) {
        const fs::path source = argv[3];
        if (!make_folder(source.parent_path())) return 1;
        bool ok = write_resources(game);
        for (const Language language : languages)
            ok = ok && write_menu_folder(game, language);
        return ok && write_sounds(game, source) ? 0 : 1;
    }
    if (command == "scores" && argc == 3) return write_scores(game) ? 0 : 1;
    if (command == "art" && argc == 5) return write_art(argv[2], argv[3], argv[4]) ? 0 : 1;
    return usage();
}
