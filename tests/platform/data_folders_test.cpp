// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Where the data is found (portable, installed beside the program, nowhere), how game
// paths and folder listings read through the player's folder over the installed one,
// and the player's score file on the first run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/data_folders.h"
#include "platform/files.h"
#include "platform/locale.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class DataFoldersTest : public testing::Test {
  protected:
    DataFoldersTest() {
        std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : name)
            if (c == '/') c = '_';
        root_ = fs::temp_directory_path() /
                ("vorpy-data-folders-" + std::to_string(::getpid()) + "-" + name);
        fs::remove_all(root_);
        fs::create_directories(root_);
        reset_data_folders();
    }
    ~DataFoldersTest() override {
        reset_data_folders();
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    std::string at(const std::string& relative) const { return (root_ / relative).string(); }
    void write(const std::string& relative, const std::string& text) const {
        fs::create_directories(fs::path(at(relative)).parent_path());
        std::ofstream(at(relative), std::ios::binary) << text;
    }
    std::string read(const std::string& path) const {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void make_data(const std::string& relative) const {
        fs::create_directories(at(relative + "/menu"));
        fs::create_directories(at(relative + "/res"));
    }

    fs::path root_;
};

// --- Finding the data -----------------------------------------------------------------

struct LocateCase {
    const char* name;
    const char* data_in;          // the folder (under the test's root) that holds the data, or ""
    const char* program;          // the program's folder under the root
    const char* xdg;              // $XDG_DATA_HOME: "" unset, a leading "@" puts it under the root
    const char* installed;        // expected, under the root; "" when portable or not found
    const char* user;             // expected, under the root ($HOME is the root's "home")
    const char* xdg_config = "";  // $XDG_CONFIG_HOME, as xdg
    const char* config = "";      // expected preferences folder, under the root
};
void PrintTo(const LocateCase& c, std::ostream* os) {
    *os << c.name;
}

class Locate : public DataFoldersTest, public testing::WithParamInterface<LocateCase> {};

TEST_P(Locate, FindsTheDataFolders) {
    const LocateCase& c = GetParam();
    if (c.data_in[0] != '\0') make_data(c.data_in);
    fs::create_directories(at("cwd"));
    DataSearch search{at("cwd"), at(c.program), c.xdg, at("home")};
    if (c.xdg[0] == '@') search.xdg_data_home = at(c.xdg + 1);
    search.xdg_config_home = c.xdg_config[0] == '@' ? at(c.xdg_config + 1) : c.xdg_config;

    const DataLocation location = locate_data(search);
    const bool portable = std::string(c.data_in) == "cwd";
    EXPECT_EQ(location.found, portable || c.installed[0] != '\0');
    EXPECT_EQ(location.folders.installed, c.installed[0] == '\0' ? "" : at(c.installed) + "/");
    EXPECT_EQ(location.folders.user, c.user[0] == '\0' ? "" : at(c.user) + "/");
    EXPECT_EQ(location.folders.config, c.config[0] == '\0' ? "" : at(c.config) + "/");
    // The current folder, then share/vorpy beside the program's folder.
    std::vector<std::string> searched{at("cwd")};
    if (!portable)
        searched.push_back((fs::path(at(c.program)).parent_path() / "share/vorpy").string());
    EXPECT_EQ(location.searched, searched);
}

INSTANTIATE_TEST_SUITE_P(
    DataFolders, Locate,
    testing::Values(
        // The current folder wins even when an installed folder exists.
        LocateCase{"CurrentFolderHoldsTheData", "cwd", "usr/games", "", "", ""},
        LocateCase{"InstalledBesideBin", "usr/share/vorpy", "usr/bin", "@xdg", "usr/share/vorpy",
                   "xdg/vorpy", "@conf", "conf/vorpy"},
        LocateCase{"InstalledBesideGames", "usr/share/vorpy", "usr/games", "@xdg",
                   "usr/share/vorpy", "xdg/vorpy", "", "home/.config/vorpy"},
        LocateCase{"NoXdgDataHomeUsesHome", "opt/share/vorpy", "opt/bin", "", "opt/share/vorpy",
                   "home/.local/share/vorpy", "@conf", "conf/vorpy"},
        // The base directory rules say a relative value is to be ignored.
        LocateCase{"RelativeXdgDataHomeIgnored", "opt/share/vorpy", "opt/bin", "rel/data",
                   "opt/share/vorpy", "home/.local/share/vorpy", "rel/conf", "home/.config/vorpy"},
        LocateCase{"NowhereNamesBothFolders", "", "usr/games", "", "", ""}),
    [](const testing::TestParamInfo<LocateCase>& param) { return std::string(param.param.name); });

TEST_F(DataFoldersTest, AFolderWithoutBothMenuAndResDoesNotHoldTheData) {
    fs::create_directories(at("a/menu"));
    write("b/res", "a file, not a folder");
    fs::create_directories(at("b/menu"));
    make_data("c");
    EXPECT_FALSE(holds_game_data(at("a")));
    EXPECT_FALSE(holds_game_data(at("b")));
    EXPECT_TRUE(holds_game_data(at("c")));
}

// --- Reading through the player's folder ------------------------------------------------

class Overlay : public DataFoldersTest {
  protected:
    Overlay() {
        for (const char* f : {"inst/res/a.back", "inst/res/c.back", "inst/res/e.back",
                              "inst/menu/mainmenu.menu", "inst/score.sco"})
            write(f, std::string("installed ") + f);
        for (const char* f : {"user/res/b.back", "user/res/c.back", "user/menu/mainmenu.menu"})
            write(f, std::string("player's ") + f);
        set_data_folders({at("inst") + "/", at("user") + "/"});
    }
};

TEST_F(Overlay, BackgroundsOfBothFoldersComeInOneNameOrder) {
    EXPECT_EQ(list_matching("res\\*.back"),
              (std::vector<std::string>{"a.back", "b.back", "c.back", "e.back"}));
}

TEST_F(Overlay, ThePlayersFileIsReadBeforeTheInstalledOne) {
    const struct {
        const char* game_path;
        const char* found_in;
    } cases[] = {{"res\\b.back", "user/res/b.back"},
                 {"res\\c.back", "user/res/c.back"},
                 {"menu\\mainmenu.menu", "user/menu/mainmenu.menu"},
                 {"res\\a.back", "inst/res/a.back"},
                 {"score.sco", "inst/score.sco"},
                 // A file that is nowhere is looked for in the installed folder.
                 {"res\\missing.back", "inst/res/missing.back"}};
    for (const auto& c : cases)
        EXPECT_EQ(native_path(c.game_path), at(c.found_in)) << c.game_path;
}

TEST_F(Overlay, WritesGoToThePlayersFolderOnly) {
    EXPECT_EQ(writable_path("score.sco"), at("user") + "/score.sco");
    EXPECT_EQ(config_path("preferences.cfg"), "") << "no preferences folder known";
    set_data_folders({at("inst") + "/", "", at("conf") + "/"});
    EXPECT_EQ(writable_path("score.sco"), "");
    EXPECT_EQ(config_path("preferences.cfg"), at("conf") + "/preferences.cfg");
    EXPECT_NE(replace_file(writable_path("score.sco"), "x 1\r\n"), 0);
    EXPECT_EQ(read(at("inst/score.sco")), "installed inst/score.sco");
}

TEST_F(Overlay, AbsolutePathsAreTakenAsTheyAre) {
    const std::string absolute = at("inst/res/a.back");
    EXPECT_EQ(native_path(absolute), absolute);
    EXPECT_EQ(list_matching(at("user/res") + "/*.back"),
              (std::vector<std::string>{"b.back", "c.back"}));
}

// English lays en/ of the data folder over it, under the player's own files; what the
// player keeps stays shared by both languages.
TEST_F(Overlay, TheEnglishSetLiesBetweenThePlayersFolderAndTheData) {
    write("inst/en/menu/mainmenu.menu", "English");
    write("inst/en/menu/back.menu", "English");
    set_language(Language::english);
    EXPECT_EQ(data_roots(),
              (std::vector<std::string>{at("user") + "/", at("inst") + "/en/", at("inst") + "/"}));
    const struct {
        const char* game_path;
        const char* found_in;
    } cases[] = {{"menu\\mainmenu.menu", "user/menu/mainmenu.menu"},
                 {"menu\\back.menu", "inst/en/menu/back.menu"},
                 {"score.sco", "inst/score.sco"},
                 {"res\\a.back", "inst/res/a.back"}};
    for (const auto& c : cases)
        EXPECT_EQ(native_path(c.game_path), at(c.found_in)) << c.game_path;
    EXPECT_EQ(writable_path("score.sco"), at("user") + "/score.sco");
    set_data_folders({});
    EXPECT_EQ(data_roots(), (std::vector<std::string>{"en/", ""}));
    reset_language();
    EXPECT_EQ(data_roots(), std::vector<std::string>{""});
}

TEST_F(DataFoldersTest, PortableReadsAndWritesTheCurrentFolder) {
    EXPECT_EQ(data_roots(), std::vector<std::string>{""});
    EXPECT_EQ(native_path("menu\\mainmenu.menu"), "menu/mainmenu.menu");
    EXPECT_EQ(writable_path("score.sco"), "score.sco");
    EXPECT_EQ(config_path("preferences.cfg"), "preferences.cfg");
    EXPECT_TRUE(prepare_user_folder(DataFolders(), "score.sco"));
}

// --- The player's score file ------------------------------------------------------------

TEST_F(DataFoldersTest, FirstRunStartsThePlayersScoresFromTheInstalledTable) {
    write("inst/score.sco", "Masha 1520\r\n");
    const DataFolders folders{at("inst") + "/", at("deep/down/vorpy") + "/"};
    ASSERT_TRUE(prepare_user_folder(folders, "score.sco"));
    EXPECT_EQ(read(at("deep/down/vorpy/score.sco")), "Masha 1520\r\n");

    // Later runs keep the player's table.
    write("deep/down/vorpy/score.sco", "Petr 830\r\n");
    write("inst/score.sco", "Ivan 10\r\n");
    ASSERT_TRUE(prepare_user_folder(folders, "score.sco"));
    EXPECT_EQ(read(at("deep/down/vorpy/score.sco")), "Petr 830\r\n");
    EXPECT_EQ(read(at("inst/score.sco")), "Ivan 10\r\n");
}

TEST_F(DataFoldersTest, APlayersFolderThatCannotBeMadeIsReported) {
    write("inst/score.sco", "Masha 1520\r\n");
    write("blocked", "a file where the folder should be");
    EXPECT_FALSE(prepare_user_folder({at("inst") + "/", at("blocked/vorpy") + "/"}, "score.sco"));
    EXPECT_FALSE(prepare_user_folder({at("inst") + "/", ""}, "score.sco"));
    // No installed table: nothing to copy, the game runs without one.
    EXPECT_TRUE(prepare_user_folder({at("empty") + "/", at("user") + "/"}, "score.sco"));
    EXPECT_FALSE(fs::exists(at("user/score.sco")));
}

}  // namespace
}  // namespace platform
