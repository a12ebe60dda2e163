// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// M and F11 kept between runs of the headless game: written beside the data when they
// change, restored at the next start; files of any other shape give the defaults
// without a word and are replaced at the next change.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/headless_game.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using scenario::GameRun;
using scenario::HeadlessGame;

constexpr const char* file_name = "preferences.cfg";
// From start-up: the repaint, one menu frame, and the state dumped.
constexpr const char* start_and_dump = "frames 2\ndump\n";
// M takes a frame as a key and one more as the letter it types; F11 one.
constexpr const char* press_m = "key m\nframes 2\n";
constexpr const char* press_f11 = "key f11\nframes 1\n";

class Preferences : public HeadlessGame {
  protected:
    // Runs the script and checks it ran quietly: no message box, nothing on stderr.
    GameRun quiet_run(const std::string& script) {
        GameRun run = play(script);
        EXPECT_EQ(run.status, 0) << run.errors;
        EXPECT_EQ(run.errors, "");
        for (const auto& dump : run.dumps) {
            EXPECT_TRUE(dump["message_boxes"].items.empty());
            EXPECT_TRUE(dump["fatal"].items.empty());
        }
        return run;
    }
    std::string kept() const { return scenario::read_text(file(file_name)); }
};

TEST_F(Preferences, NothingIsWrittenWhenNothingChanges) {
    const GameRun run = quiet_run(std::string(start_and_dump) +
                                  "click_item main 3\nframes 3\nescape down\nframes 1\n"
                                  "escape up\nframes 2\ndump\n");
    ASSERT_EQ(run.dumps.size(), 2u);
    EXPECT_FALSE(run.dumps[0]["muted"].flag);
    EXPECT_FALSE(run.dumps[0]["full_screen"].flag);
    EXPECT_FALSE(fs::exists(file(file_name)));
}

TEST_F(Preferences, MAndF11AreKeptAndTurnedBack) {
    GameRun run = quiet_run(std::string(start_and_dump) + press_m + press_f11 + "dump\n");
    ASSERT_EQ(run.dumps.size(), 2u);
    EXPECT_TRUE(run.dumps[1]["muted"].flag);
    EXPECT_TRUE(run.dumps[1]["full_screen"].flag);
    EXPECT_EQ(kept(), "muted=1\nfull_screen=1\n");

    run = quiet_run(std::string(start_and_dump) + "click_item main 3\nframes 3\ndump\n");
    ASSERT_EQ(run.dumps.size(), 2u);
    EXPECT_TRUE(run.dumps[0]["muted"].flag) << "restored at start";
    EXPECT_TRUE(run.dumps[0]["full_screen"].flag);
    EXPECT_EQ(run.dumps[1]["music"]["intro"].str(), "stopped");
    EXPECT_EQ(run.dumps[1]["music"]["bells"].str(), "stopped") << "no bell while muted";

    // Turned back one at a time, each change is written at once.
    run = quiet_run(std::string(start_and_dump) + press_f11);
    EXPECT_EQ(kept(), "muted=1\nfull_screen=0\n");
    run = quiet_run(std::string(start_and_dump) + press_m + "dump\n");
    ASSERT_EQ(run.dumps.size(), 2u);
    EXPECT_TRUE(run.dumps[0]["muted"].flag);
    EXPECT_FALSE(run.dumps[0]["full_screen"].flag);
    EXPECT_FALSE(run.dumps[1]["muted"].flag);
    EXPECT_EQ(kept(), "muted=0\nfull_screen=0\n");

    run = quiet_run(start_and_dump);
    ASSERT_EQ(run.dumps.size(), 1u);
    EXPECT_FALSE(run.dumps[0]["muted"].flag);
    EXPECT_FALSE(run.dumps[0]["full_screen"].flag);
    EXPECT_EQ(run.dumps[0]["music"]["intro"].str(), "playing");
}

TEST_F(Preferences, MTypedAsALetterInTheNameEntryIsNotKept) {
    quiet_run(
        "frames 1\nclick_item main 3\nframes 3\nescape down\nframes 1\nescape up\n"
        "frames 1\nclick_item continue 5\nframes 2\n" +
        std::string(press_m));
    EXPECT_FALSE(fs::exists(file(file_name)));
}

// What lies where the preferences file goes before the game starts.
struct BrokenCase {
    std::string name;
    std::string contents;  // a regular file with these bytes, unless made otherwise
    enum Kind { text, folder, pipe, link_to_device, dangling_link } kind = text;
    bool muted = false;  // what the game starts with
    bool full_screen = false;
    bool replaced = true;  // whether M writes a file there
};
void PrintTo(const BrokenCase& c, std::ostream* os) {
    *os << c.name;
}

class BrokenPreferences : public Preferences, public testing::WithParamInterface<BrokenCase> {};

TEST_P(BrokenPreferences, GiveTheirDefaultsQuietlyAndAreReplacedAtTheNextChange) {
    const BrokenCase& c = GetParam();
    const fs::path path = file(file_name);
    switch (c.kind) {
        case BrokenCase::text:
            std::ofstream(path, std::ios::binary) << c.contents;
            break;
        case BrokenCase::folder:
            fs::create_directory(path);
            break;
        case BrokenCase::pipe:
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
            break;
        case BrokenCase::link_to_device:
            fs::create_symlink("/dev/zero", path);
            break;
        case BrokenCase::dangling_link:
            fs::create_symlink(file("nowhere"), path);
            break;
    }
    const GameRun run = quiet_run(std::string(start_and_dump) + press_m + "dump\n");
    ASSERT_EQ(run.dumps.size(), 2u);
    EXPECT_EQ(run.dumps[0]["muted"].flag, c.muted);
    EXPECT_EQ(run.dumps[0]["full_screen"].flag, c.full_screen);
    EXPECT_EQ(run.dumps[1]["muted"].flag, !c.muted);
    if (c.replaced) {
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path)));
        EXPECT_EQ(kept(), std::string("muted=") + (c.muted ? "0" : "1") +
                              "\nfull_screen=" + (c.full_screen ? "1" : "0") + "\n");
    } else {
        EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(path))) << "left as it was";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Preferences, BrokenPreferences,
    testing::Values(
        BrokenCase{"Empty", ""}, BrokenCase{"Binary", std::string("\0\xff\x01muted=1\0\n", 11)},
        BrokenCase{"OtherValues", "muted=yes\nfull_screen=true\n"},
        BrokenCase{"KeysOfAnotherCase", "MUTED=1\nFull_Screen=1\n"},
        BrokenCase{"SpacesAroundTheSign", "muted = 1\nfull_screen =1\n"},
        BrokenCase{"LastLineWithoutItsEnd", "muted=1"},
        BrokenCase{"TooLarge", "muted=1\nfull_screen=1\n" + std::string(8192, ';') + "\n"},
        // Readable lines among broken ones still count, the first of a key wins.
        BrokenCase{"GoodLinesAmongBroken", "\xff\xfe\r\nfull_screen=1\r\nmuted=2\nmuted=1\n",
                   BrokenCase::text, false, true},
        BrokenCase{"AFolder", "", BrokenCase::folder, false, false, false},
        BrokenCase{"ANamedPipe", "", BrokenCase::pipe, false, false, false},
        BrokenCase{"ALinkToADevice", "", BrokenCase::link_to_device, false, false, false},
        BrokenCase{"ALinkToNothing", "", BrokenCase::dangling_link}),
    test_support::CaseName());

}  // namespace
