// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The game's language from the player's locale: one walk through every screen played
// under English and Russian locales. English gives English menus, title and pictures;
// every Russian locale, and none, gives the very bytes and pixels the game gave before it
// had an English set.
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/headless_game.h"

namespace {

using scenario::GameRun;
using scenario::Value;

const char* const screens[] = {"main_menu", "rules",       "training",   "training_end", "play",
                               "pause",     "hint_prompt", "name_entry", "score_table"};

// Every screen in turn, each shot and dumped: the main menu, training's rules, an
// exercise and its end, a game, its pause menu, the hint prompt, the name entry after
// the game is ended, and the score table.
std::string tour() {
    const auto shoot = [](const char* screen) {
        return std::string("screenshot ") + screen + ".png\ndump\n";
    };
    return "frames 1\nwait 200\nframes 1\n" + shoot("main_menu") + "click_item main 4\nframes 2\n" +
           shoot("rules") + "click 300 300\nframes 2\n" + shoot("training") +
           scenario::escape_to_pause() + "frames 1\n" + shoot("training_end") +
           "click 5 5\nframes 1\nclick_item main 3\nframes 3\n" + shoot("play") +
           scenario::escape_to_pause() + shoot("pause") + "click_item continue 4\nframes 1\n" +
           shoot("hint_prompt") + "click_item help 5\nframes 1\n" + scenario::escape_to_pause() +
           "click_item continue 5\nframes 1\ntype Ann\nframes 1\n" + shoot("name_entry") +
           "char 13\nframes 5\n" + shoot("score_table");
}

const char* const expected_states[] = {"MAIN_MENU",    "TRAINING_RULES", "TRAINING_PLAY",
                                       "TRAINING_END", "PLAY",           "PAUSE_MENU",
                                       "HINT_PROMPT",  "NAME_ENTRY",     "SCORE_SCREEN"};

// What one walk left behind: the printed lines and every screen's pixels.
struct Walk {
    GameRun run;
    std::string output;
    std::vector<std::string> shots;  // the PNG files' bytes, in the order of screens
};

class Languages : public scenario::HeadlessGame {
  protected:
    // A walk from a first start: the starting scores, nothing kept.
    Walk walk(const std::string& locale, const std::string& options = "") {
        std::filesystem::copy_file(std::filesystem::path(VORPY_GAME_DIR) / "score.sco",
                                   file("score.sco"),
                                   std::filesystem::copy_options::overwrite_existing);
        for (const char* left : {"game.sav", "preferences.cfg"})
            std::filesystem::remove(file(left));
        Walk w;
        w.run = play(tour(), "--seed 1 " + options, locale);
        w.output = scenario::read_text(file("out.txt"));
        for (const char* screen : screens)
            w.shots.push_back(scenario::read_text(file(std::string(screen) + ".png")));
        return w;
    }

    static void expect_walked(const Walk& w, const std::string& what) {
        ASSERT_EQ(w.run.status, 0) << what << ": " << w.run.errors;
        ASSERT_EQ(w.run.dumps.size(), std::size(expected_states)) << what;
        for (std::size_t i = 0; i < w.run.dumps.size(); ++i)
            EXPECT_EQ(w.run.dumps[i]["state"].str(), expected_states[i]) << what << ", " << i;
    }

    static bool ascii(const std::string& text) {
        for (const char c : text)
            if (static_cast<unsigned char>(c) >= 0x80) return false;
        return true;
    }
};

TEST_F(Languages, EnglishLocalesGiveEnglishAndRussianOnesTheGameAsItWas) {
    // The game before it had an English set: no en/ folder, no locale.
    std::filesystem::remove(file("en"));
    const Walk before = walk("");
    expect_walked(before, "without an English set");
    std::filesystem::create_directory_symlink(std::filesystem::path(VORPY_GAME_DIR) / "en",
                                              file("en"));

    // Each locale's walk against the reference walk of its language.
    struct Started {
        const char* locale;
        const char* options;
    };
    const auto expect_walks_as = [this](const Walk& reference, const char* language,
                                        std::initializer_list<Started> starts) {
        for (const Started& c : starts) {
            const std::string what =
                std::string(language) + " under '" + c.locale + "' " + c.options;
            const Walk w = walk(c.locale, c.options);
            expect_walked(w, what);
            EXPECT_EQ(w.output, reference.output) << what;
            for (std::size_t i = 0; i < std::size(screens); ++i)
                EXPECT_TRUE(w.shots[i] == reference.shots[i]) << what << ": " << screens[i];
        }
    };
    expect_walks_as(before, "Russian",
                    {{"LANG=ru_RU.UTF-8", ""},
                     {"LANG=C", ""},
                     {"", ""},
                     {"LC_ALL=POSIX LANG=en_US.UTF-8", ""},
                     {"LANG=en_US.UTF-8", "--language ru"}});
    const Walk first = walk("LANG=en_US.UTF-8");
    expect_walked(first, "English");
    expect_walks_as(first, "English",
                    {{"LANGUAGE=en", ""},
                     {"LC_ALL=en_GB.UTF-8", ""},
                     {"LANGUAGE=de:en LANG=ru_RU.UTF-8", ""},
                     {"LANG=ru_RU.UTF-8", "--language en"}});

    // Every screen looks other than in Russian: its pictures and texts are English.
    for (std::size_t i = 0; i < std::size(screens); ++i)
        EXPECT_FALSE(first.shots[i] == before.shots[i]) << screens[i] << " as in Russian";
    const std::vector<Value>& d = first.run.dumps;
    EXPECT_EQ(d[0]["title"].str(), "Vorpy 1.25");
    EXPECT_EQ(scenario::item_text(d[0], "main", 3), "New game");
    EXPECT_EQ(scenario::item_text(d[0], "main", 6), "Exit");
    EXPECT_EQ(scenario::item_text(d[1], "back", 8), "Start training");
    EXPECT_EQ(scenario::item_text(d[3], "back", 8), "Next");
    EXPECT_EQ(d[4]["title"].str(),
              "Vorpy 1.25 (" + (d[4]["open_pairs"].num() > 20
                                    ? std::string("More than 20 pairs).")
                                    : std::to_string(d[4]["open_pairs"].num()) + " pairs left)."));
    EXPECT_EQ(scenario::item_text(d[5], "continue", 4), "Show a hint");
    EXPECT_EQ(scenario::item_text(d[8], "back", 8), "Back");
    EXPECT_EQ(d[8]["scores"][8][0].str(), "Ann") << "the score table is shared";
    for (const Value& dump : d)
        for (const auto& [menu, items] : dump["menus"].members)
            for (const Value& item : items.items)
                EXPECT_TRUE(ascii(item.str())) << menu << ": " << item.str();
}

// The texts of the boxes in English: the April-1st notice, and a fatal error of a
// menu file that is in neither set.
TEST_F(Languages, MessageBoxesInEnglish) {
    const GameRun notice = play("frames 1\ndump\n", "--seed 1 --date 2024-04-01", "LANGUAGE=en");
    ASSERT_EQ(notice.last()["message_boxes"].size(), 1u);
    EXPECT_EQ(notice.last()["message_boxes"][0]["caption"].str(), "Warning!");
    EXPECT_EQ(notice.last()["message_boxes"][0]["text"].str(),
              "You have moved the mouse.\nFor the change to take effect,\n"
              "you must restart your computer.");

    own_copy("menu");
    own_copy("en");
    std::filesystem::remove(file("menu/back.menu"));
    std::filesystem::remove(file("en/menu/back.menu"));
    const GameRun broken = play("frames 1\ndump\n", "--seed 1", "LANG=en_US.UTF-8");
    EXPECT_EQ(broken.status, 1);
    ASSERT_EQ(broken.last()["fatal"].size(), 1u);
    EXPECT_EQ(broken.last()["fatal"][0].str(),
              "windowmenu::init: cannot open the file\nmenu\\back.menu");
}

}  // namespace
