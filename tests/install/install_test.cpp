// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The installed game: `cmake --install` into a scratch DESTDIR under /usr, the tree made
// read-only, then the installed program played headless from an unrelated folder with a
// scratch HOME. It must find its data, keep its scores in the player's folder, show the
// player's own background in its turn, keep M and F11 in the player's config folder and
// leave the installed tree as it was; without any data folder it stops with one message.
// The installed desktop entry, metainfo and man page pass their validators.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "app/headless_game.h"
#include "platform/png.h"

namespace {

namespace fs = std::filesystem;
using scenario::clear_board;
using scenario::escape_to_pause;
using scenario::GameRun;
using scenario::item_text;
using scenario::read_text;
using scenario::start_game;

const fs::path scratch =
    fs::temp_directory_path() / ("vorpy-install-" + std::to_string(::getpid()));
const fs::path destdir = scratch / "root";
const fs::path prefix = destdir / "usr";
const std::string app_id = "org.vorpy.Vorpy";

int run(const std::string& command) {
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

std::string quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

// Every entry of a tree with its kind, permissions and contents.
std::map<std::string, std::string> snapshot(const fs::path& root) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const auto status = entry.symlink_status();
        std::string what = std::to_string(static_cast<int>(status.type())) + " " +
                           std::to_string(static_cast<unsigned>(status.permissions())) + " ";
        if (entry.is_regular_file()) what += read_text(entry.path());
        entries[fs::relative(entry.path(), root).string()] = what;
    }
    return entries;
}

void set_writable(const fs::path& root, bool writable) {
    constexpr fs::perms write =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    const auto options = writable ? fs::perm_options::add : fs::perm_options::remove;
    std::error_code ignored;
    fs::permissions(root, fs::perms::owner_write, options, ignored);
    for (const auto& entry : fs::recursive_directory_iterator(root, ignored))
        if (!entry.is_symlink())
            fs::permissions(entry.path(), writable ? fs::perms::owner_write : write, options,
                            ignored);
}

// A background of one colour, as a JPEG file under a .back name.
void write_solid_background(const fs::path& path, unsigned char r, unsigned char g,
                            unsigned char b) {
    constexpr int w = 648, h = 528;
    std::vector<unsigned char> rgb(static_cast<std::size_t>(w * h * 3));
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = r;
        rgb[i + 1] = g;
        rgb[i + 2] = b;
    }
    tjhandle handle = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    ASSERT_EQ(
        tjCompress2(handle, rgb.data(), w, w * 3, h, TJPF_RGB, &jpeg, &size, TJSAMP_444, 95, 0), 0);
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(jpeg), static_cast<std::streamsize>(size));
    tjFree(jpeg);
    tjDestroy(handle);
}

class InstalledGame : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        set_writable(scratch, true);
        fs::remove_all(scratch);
        fs::create_directories(scratch);
        const std::string command = "DESTDIR=" + quoted(destdir) +
                                    " '" VORPY_CMAKE_COMMAND "' --install '" VORPY_BUILD_DIR
                                    "' --prefix /usr >" +
                                    quoted(scratch / "install.log") + " 2>&1";
        install_status = run(command);
        if (install_status != 0) return;
        set_writable(destdir, false);
        installed = snapshot(destdir);
    }
    static void TearDownTestSuite() {
        set_writable(scratch, true);
        std::error_code ignored;
        fs::remove_all(scratch, ignored);
    }

    void SetUp() override {
        ASSERT_EQ(install_status, 0) << read_text(scratch / "install.log");
        std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : name)
            if (c == '/') c = '_';
        folder_ = scratch / name;
        fs::create_directories(folder_ / "elsewhere");
        fs::create_directories(folder_ / "home");
    }

    // Runs a program with the script from the unrelated folder, with only the given
    // environment variables beside PATH and the sanitizers' options of a sanitizer build.
    GameRun play(const fs::path& program, const std::string& script, const std::string& env) {
        const fs::path cwd = folder_ / "elsewhere";
        std::ofstream(cwd / "script.txt", std::ios::binary) << script;
        const std::string command =
            "cd " + quoted(cwd) +
            " && env -i PATH=\"$PATH\" ASAN_OPTIONS=\"$ASAN_OPTIONS\" "
            "LSAN_OPTIONS=\"$LSAN_OPTIONS\" UBSAN_OPTIONS=\"$UBSAN_OPTIONS\" " +
            env + " SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy " + quoted(program) +
            " --headless --seed 1 --script script.txt >out.txt 2>err.txt";
        GameRun result;
        result.status = run(command);
        result.errors = read_text(cwd / "err.txt");
        std::istringstream out(read_text(cwd / "out.txt"));
        for (std::string line; std::getline(out, line);)
            scenario::take_line(result, line);
        return result;
    }

    static int install_status;
    static std::map<std::string, std::string> installed;
    fs::path folder_;
};

int InstalledGame::install_status = -1;
std::map<std::string, std::string> InstalledGame::installed;

TEST_F(InstalledGame, PutsEveryFileInItsPlace) {
    const char* const files[] = {
        "games/vorpy",
        "share/vorpy/menu/mainmenu.menu",
        "share/vorpy/en/menu/mainmenu.menu",
        "share/vorpy/en/menu/menu.res",
        "share/vorpy/res/pic.bmp",
        "share/vorpy/res/01_dawn.back",
        "share/vorpy/sound/menu.wav",
        "share/vorpy/score.sco",
        "share/applications/org.vorpy.Vorpy.desktop",
        "share/metainfo/org.vorpy.Vorpy.metainfo.xml",
        "share/man/man6/vorpy.6.gz",
    };
    for (const char* file : files)
        EXPECT_TRUE(fs::is_regular_file(prefix / file)) << file;
    EXPECT_NE(fs::status(prefix / "games/vorpy").permissions() & fs::perms::others_exec,
              fs::perms::none);
    // No player's file travels with the installed data.
    for (const char* stray : {"share/vorpy/score.sco.new", "bin/vorpy"})
        EXPECT_FALSE(fs::exists(prefix / stray)) << stray;

    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const std::string square = std::to_string(size) + "x" + std::to_string(size);
        const fs::path icon = prefix / "share/icons/hicolor" / square / "apps" / (app_id + ".png");
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        ASSERT_NE(png_image_begin_read_from_file(&image, icon.c_str()), 0) << icon;
        image.format = PNG_FORMAT_RGBA;
        std::vector<png_byte> rgba(PNG_IMAGE_SIZE(image));
        ASSERT_NE(png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr), 0) << icon;
        EXPECT_EQ(image.width, static_cast<png_uint_32>(size));
        EXPECT_EQ(image.height, static_cast<png_uint_32>(size));
        // The vorp on transparency: clear corners, an opaque red middle.
        const auto pixel = [&](int x, int y) {
            return &rgba[static_cast<std::size_t>((y * size + x) * 4)];
        };
        EXPECT_EQ(pixel(0, 0)[3], 0) << square;
        EXPECT_EQ(pixel(size - 1, 0)[3], 0) << square;
        const png_byte* middle = pixel(size / 2, size / 2);
        EXPECT_EQ(middle[3], 255) << square;
        EXPECT_GT(middle[0], 2 * middle[1]) << square;
    }
}

TEST_F(InstalledGame, DesktopEntryMetainfoAndManPagePassTheirCheckers) {
    const fs::path desktop = prefix / "share/applications" / (app_id + ".desktop");
    const fs::path metainfo = prefix / "share/metainfo" / (app_id + ".metainfo.xml");
    const fs::path log = folder_ / "check.log";
    EXPECT_EQ(run("desktop-file-validate " + quoted(desktop) + " >" + quoted(log) + " 2>&1"), 0)
        << read_text(log);
    EXPECT_EQ(read_text(log), "");
    EXPECT_EQ(run("appstreamcli validate --strict --no-net " + quoted(metainfo) + " >" +
                  quoted(log) + " 2>&1"),
              0)
        << read_text(log);
    const fs::path page = folder_ / "page.txt";
    EXPECT_EQ(run("MANWIDTH=80 man --warnings -l " + quoted(prefix / "share/man/man6/vorpy.6.gz") +
                  " >" + quoted(page) + " 2>" + quoted(log)),
              0);
    EXPECT_EQ(read_text(log), "");
    EXPECT_NE(read_text(page).find("VORPY(6)"), std::string::npos) << read_text(page);

    // The version the build names reaches the release list and the man page's footer.
    const std::string version = VORPY_VERSION;
    EXPECT_NE(read_text(metainfo).find("<release version=\"" + version + "\" date=\""),
              std::string::npos)
        << read_text(metainfo);
    EXPECT_NE(read_text(metainfo).find("<project_license>GPL-3.0-or-later</project_license>"),
              std::string::npos);
    EXPECT_NE(read_text(page).find("vorpy " + version), std::string::npos) << read_text(page);
}

// Installed, an English locale reads the English set of the installed data under the
// player's own files: a menu file the player keeps wins over both languages' own.
TEST_F(InstalledGame, SpeaksEnglishFromTheInstalledSetUnderThePlayersFiles) {
    const std::string env = "HOME=" + quoted(folder_ / "home") + " LANG=en_US.UTF-8";
    const GameRun english = play(prefix / "games/vorpy", "frames 1\ndump\n", env);
    ASSERT_EQ(english.status, 0) << english.errors;
    EXPECT_EQ(english.last()["title"].str(), "Vorpy 1.25");
    EXPECT_EQ(item_text(english.last(), "main", 3), "New game");
    EXPECT_EQ(item_text(english.last(), "back", 8), "Back");

    const fs::path players_menus = folder_ / "home/.local/share/vorpy/menu";
    fs::create_directories(players_menus);
    fs::copy_file(prefix / "share/vorpy/menu/back.menu", players_menus / "back.menu");
    const GameRun overlaid = play(prefix / "games/vorpy", "frames 1\ndump\n", env);
    ASSERT_EQ(overlaid.status, 0) << overlaid.errors;
    EXPECT_EQ(item_text(overlaid.last(), "main", 3), "New game");
    EXPECT_EQ(item_text(overlaid.last(), "back", 8), "Назад");
    EXPECT_EQ(snapshot(destdir), installed) << "the installed tree changed";
}

struct PlayerFolderCase {
    std::string name;
    std::string xdg_data_home;  // under the test's folder; empty: unset
    std::string player_folder;  // where the scores must land, under the test's folder
};
void PrintTo(const PlayerFolderCase& c, std::ostream* os) {
    *os << c.name;
}

class InstalledPlay : public InstalledGame, public testing::WithParamInterface<PlayerFolderCase> {};

TEST_P(InstalledPlay, FindsItsDataAndKeepsScoresInThePlayersFolder) {
    const PlayerFolderCase& c = GetParam();
    const fs::path player = folder_ / c.player_folder;
    // The player's background sorts between the first two installed ones.
    write_solid_background(player / "res" / "01_mine.back", 255, 0, 255);

    std::string env = "HOME=" + quoted(folder_ / "home");
    if (!c.xdg_data_home.empty()) env += " XDG_DATA_HOME=" + quoted(folder_ / c.xdg_data_home);
    std::string script = start_game() + "screenshot stage1.png\n";
    for (const char* shot : {"stage2.png", "stage3.png"})
        script += clear_board() + "click_item continue 3\nframes 3\nscreenshot " + shot + "\n";
    script += escape_to_pause() +
              "click_item continue 5\nframes 1\ntype Installed\nframes 20\nchar 13\nframes 3\n"
              "dump\n";
    const GameRun game = play(prefix / "games/vorpy", script, env);
    ASSERT_EQ(game.status, 0) << game.errors;
    ASSERT_EQ(game.dumps.size(), 1u);
    EXPECT_TRUE(game.last()["fatal"].items.empty());
    EXPECT_EQ(game.last()["score_loaded"].num(), 1);
    // Two cleared stages put the game among the starting table's entries.
    const std::string entry = "Installed " + std::to_string(game.last()["score"].num());
    bool listed = false;
    for (const auto& row : game.last()["scores"].items)
        listed = listed || row[0].str() + " " + std::to_string(row[1].num()) == entry;
    EXPECT_TRUE(listed) << entry;

    // The score file lands in the player's folder, started from the installed table.
    const std::string scores = read_text(player / "score.sco");
    EXPECT_NE(scores.find("\r\n" + entry + "\r\n"), std::string::npos) << scores;
    EXPECT_EQ(std::count(scores.begin(), scores.end(), '\n'), 9) << scores;
    EXPECT_EQ(snapshot(destdir), installed) << "the installed tree changed";
    EXPECT_FALSE(fs::exists(folder_ / "elsewhere" / "score.sco"));

    // Stage 2 shows the player's background in the ring of empty cells; stages 1 and 3
    // the installed ones around it.
    const auto magenta_at_left_edge = [&](const char* shot) {
        const auto picture = platform::read_png((folder_ / "elsewhere" / shot).string());
        if (!picture) return false;
        const platform::Pixel p = picture->at(10, picture->height / 2);
        const auto channel = [p](int shift) { return static_cast<int>((p >> shift) & 0xFF); };
        return channel(16) > 230 && channel(8) < 25 && channel(0) > 230;
    };
    EXPECT_FALSE(magenta_at_left_edge("stage1.png"));
    EXPECT_TRUE(magenta_at_left_edge("stage2.png"));
    EXPECT_FALSE(magenta_at_left_edge("stage3.png"));
}

INSTANTIATE_TEST_SUITE_P(
    Install, InstalledPlay,
    testing::Values(PlayerFolderCase{"XdgDataHome", "xdg", "xdg/vorpy"},
                    PlayerFolderCase{"DefaultUnderHome", "", "home/.local/share/vorpy"}),
    [](const testing::TestParamInfo<PlayerFolderCase>& param) { return param.param.name; });

struct ConfigFolderCase {
    std::string name;
    std::string xdg_config_home;  // under the test's folder; empty: unset
    std::string config_folder;    // where the preferences must land, under the test's folder
};
void PrintTo(const ConfigFolderCase& c, std::ostream* os) {
    *os << c.name;
}

class InstalledPreferences : public InstalledGame,
                             public testing::WithParamInterface<ConfigFolderCase> {};

TEST_P(InstalledPreferences, AreKeptInThePlayersConfigFolderMadeWhenFirstNeeded) {
    const ConfigFolderCase& c = GetParam();
    std::string env = "HOME=" + quoted(folder_ / "home");
    if (!c.xdg_config_home.empty())
        env += " XDG_CONFIG_HOME=" + quoted(folder_ / c.xdg_config_home);
    const fs::path kept = folder_ / c.config_folder / "preferences.cfg";

    GameRun game = play(prefix / "games/vorpy", "frames 3\ndump\n", env);
    ASSERT_EQ(game.status, 0) << game.errors;
    EXPECT_FALSE(fs::exists(kept.parent_path())) << "made before anything changed";

    game = play(prefix / "games/vorpy", "frames 2\nkey m\nframes 2\nkey f11\nframes 1\n", env);
    ASSERT_EQ(game.status, 0) << game.errors;
    EXPECT_EQ(read_text(kept), "muted=1\nfull_screen=1\n");
    EXPECT_FALSE(fs::exists(folder_ / "elsewhere" / "preferences.cfg"));
    EXPECT_EQ(snapshot(destdir), installed) << "the installed tree changed";

    game = play(prefix / "games/vorpy", "frames 2\ndump\n", env);
    ASSERT_EQ(game.status, 0) << game.errors;
    ASSERT_EQ(game.dumps.size(), 1u);
    EXPECT_TRUE(game.last()["muted"].flag);
    EXPECT_TRUE(game.last()["full_screen"].flag);
    EXPECT_EQ(game.errors, "");
}

INSTANTIATE_TEST_SUITE_P(
    Install, InstalledPreferences,
    testing::Values(ConfigFolderCase{"XdgConfigHome", "conf/deep", "conf/deep/vorpy"},
                    ConfigFolderCase{"DefaultUnderHome", "", "home/.config/vorpy"}),
    [](const testing::TestParamInfo<ConfigFolderCase>& param) { return param.param.name; });

TEST_F(InstalledGame, WithoutADataFolderOneMessageNamesTheFoldersSearched) {
    // The program alone, with no share/vorpy beside it.
    const fs::path lonely = folder_ / "lonely" / "bin" / "vorpy";
    fs::create_directories(lonely.parent_path());
    fs::copy_file(prefix / "games/vorpy", lonely);
    const GameRun game = play(lonely, "frames 3\ndump\n", "HOME=" + quoted(folder_ / "home"));
    EXPECT_EQ(game.status, 1);
    EXPECT_TRUE(game.dumps.empty());
    EXPECT_NE(game.errors.find((folder_ / "elsewhere").string()), std::string::npos) << game.errors;
    EXPECT_NE(game.errors.find((folder_ / "lonely" / "share" / "vorpy").string()),
              std::string::npos)
        << game.errors;
    // One message, not one per file.
    EXPECT_EQ(game.errors.find("vorpy:"), 0u) << game.errors;
    EXPECT_EQ(game.errors.find("vorpy:", 1), std::string::npos) << game.errors;
    EXPECT_FALSE(fs::exists(folder_ / "home" / ".local"));
}

}  // namespace
