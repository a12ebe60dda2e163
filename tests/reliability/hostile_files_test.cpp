// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile files and folders around the built game: pipes and devices under the names
// of its files, links planted beside the score file, a score file or folder the player
// may not write, a full disk, names the score file cannot hold, and two games saving
// at once. Each case ends or goes on as its row says, well within its deadline, and no
// file outside the game's own ones changes.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>

#include "app/headless_game.h"
#include "platform/cp1251.h"
#include "reliability/live_game.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using scenario::GameRun;
using scenario::Value;

// Whether this process may mount a small tmpfs of its own (a private mount namespace
// as an unprivileged user, which most kernels allow).
bool can_mount_tmpfs() {
    static const bool can = std::system(
                                "unshare -rm sh -c 'mount -t tmpfs -o size=64k tmpfs "
                                "/mnt' >/dev/null 2>&1") == 0;
    return can;
}

enum class Outcome {
    saved,           // the new entry is in the file and in the table shown
    save_refused,    // one box names the file and the reason; file and table as they were
    table_unused,    // the score file is not read, so nothing is saved; no box
    fatal_at_start,  // one fatal box names the file; the game ends with 1
};

class HostileFolder;

struct Case {
    std::string name;
    std::function<void(HostileFolder&)> arrange;
    Outcome outcome;
    std::string message;  // the box's text, for a refused save or a fatal start
    std::vector<std::string> lines_kept = {};  // lines the saved file must hold as well
};
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

// The game folder sits in a folder of its own beside "outside", whose files the game
// must never change, and "logs", which takes the game's standard error.
class HostileFolder : public scenario::HeadlessGameBase<testing::TestWithParam<Case>> {
  public:
    using HeadlessGameBase::file;
    using HeadlessGameBase::own_copy;

    HostileFolder() {
        outside_ = folder_.parent_path() / (folder_.filename().string() + "-outside");
        logs_ = folder_.parent_path() / (folder_.filename().string() + "-logs");
        fs::remove_all(outside_);
        fs::remove_all(logs_);
        fs::create_directories(outside_);
        fs::create_directories(logs_);
        std::ofstream(outside_ / "victim.txt", std::ios::binary) << "not the game's\n";
    }
    ~HostileFolder() override {
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
        std::error_code ignored;
        fs::remove_all(outside_, ignored);
        fs::remove_all(logs_, ignored);
    }

    void write(const std::string& name, const std::string& bytes) {
        fs::remove(file(name));
        std::ofstream(file(name), std::ios::binary) << bytes;
    }
    void pipe(const std::string& name) {
        fs::remove(file(name));
        ASSERT_EQ(::mkfifo(file(name).c_str(), 0600), 0);
    }
    void link(const std::string& name, const fs::path& target) {
        fs::remove(file(name));
        fs::create_symlink(target, file(name));
    }
    const fs::path& outside() const { return outside_; }

    // Every file under a folder with its bytes (links as their target), for comparing.
    static std::map<std::string, std::string> snapshot(const fs::path& root) {
        std::map<std::string, std::string> files;
        for (auto it = fs::recursive_directory_iterator(root); it != fs::end(it); ++it) {
            const std::string name = fs::relative(it->path(), root);
            if (it->is_symlink()) {
                files[name] = "-> " + fs::read_symlink(it->path()).string();
                it.disable_recursion_pending();
            } else if (it->is_regular_file()) {
                files[name] = scenario::read_text(it->path());
            } else {
                files[name] = it->is_directory() ? "(folder)" : "(other)";
            }
        }
        return files;
    }

    // Runs the game to the name entry and confirms the name, with a command that may
    // put something around the game (a private mount).
    GameRun play(const std::vector<std::string>& command, double& seconds) {
        const auto start = std::chrono::steady_clock::now();
        GameRun run;
        live::LiveGame game(folder_, command, logs_ / "err.txt");
        game.deadline = std::chrono::seconds(20);
        if (game.started()) {
            game.send("frames 1\ndump\n" + live::to_name_entry() + live::enter + "dump\n");
            game.finish(run);
        }
        run.errors = scenario::read_text(logs_ / "err.txt");
        if (game.timed_out()) run.errors += "\n(killed: no end within the deadline)";
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return run;
    }

  private:
    fs::path outside_;
    fs::path logs_;
};

const std::string nul_line("Bo\0b 5000", 9);
const std::string long_name(5000, 'L');

TEST_P(HostileFolder, EndsOrGoesOnAsItShould) {
    const Case& c = GetParam();
    c.arrange(*this);
    const auto outside_before = snapshot(outside());
    // Read only where it is a file: a pipe would keep the test waiting instead.
    const auto readable = [this] { return fs::is_regular_file(file("score.sco")); };
    const std::string table_before = readable() ? scenario::read_text(file("score.sco")) : "";
    auto folder_before = snapshot(folder_);

    std::vector<std::string> command = live::LiveGame::headless_command("--seed 1");
    const bool tmpfs = c.name == "FullDisk" && can_mount_tmpfs();
    if (tmpfs) {
        // The score file moves to a tmpfs with no room left; the data folders are linked.
        std::string script =
            "mount -t tmpfs -o size=16k tmpfs disk && cp score.sco disk/ && "
            "ln -s ../menu ../res ../sound disk/ && "
            "(cat /dev/zero > disk/filler 2>/dev/null; true) && cd disk && exec";
        for (const std::string& word : command)
            script += " '" + word + "'";
        command = {"unshare", "-rm", "sh", "-c", script};
    }
    double seconds = 0;
    const GameRun run = play(command, seconds);
    EXPECT_LT(seconds, 15) << "far slower than a game to the name entry";
    ASSERT_NE(run.status, -1) << "killed or hung: " << run.errors;
    ASSERT_FALSE(run.dumps.empty()) << run.errors;

    if (c.outcome == Outcome::fatal_at_start) {
        ASSERT_TRUE(run.exit.has_value()) << "no end of the loop: " << run.errors;
        EXPECT_EQ(*run.exit, 1);
        EXPECT_EQ(run.status, 1);
        ASSERT_EQ(run.last()["fatal"].size(), 1u);
        EXPECT_EQ(run.last()["fatal"][0].str(), c.message);
        EXPECT_NE(run.errors.find("vorpy: " + c.message), std::string::npos) << run.errors;
    } else {
        EXPECT_EQ(run.status, 0) << run.errors;
        const Value& last = run.last();
        EXPECT_EQ(last["state"].str(), "SCORE_SCREEN");
        EXPECT_EQ(last["fatal"].size(), 0u);
        const std::string table_now = readable() ? scenario::read_text(file("score.sco")) : "";
        switch (c.outcome) {
            case Outcome::saved:
                EXPECT_EQ(last["message_boxes"].size(), 0u);
                EXPECT_EQ(last["score_loaded"].num(), 1);
                EXPECT_NE(table_now.find("Newcomer 300\r\n"), std::string::npos) << table_now;
                for (const std::string& line : c.lines_kept)
                    EXPECT_NE(table_now.find(line + "\r\n"), std::string::npos) << table_now;
                break;
            case Outcome::save_refused:
                ASSERT_EQ(last["message_boxes"].size(), 1u);
                EXPECT_EQ(last["message_boxes"][0]["text"].str(), c.message);
                EXPECT_EQ(last["scores"][8][1].num(), 200) << "the table is the file's";
                EXPECT_EQ(table_now, table_before);
                break;
            default:
                EXPECT_EQ(last["message_boxes"].size(), 0u);
                EXPECT_EQ(last["score_loaded"].num(), 0);
                break;
        }
    }

    EXPECT_EQ(snapshot(outside()), outside_before) << "a file outside the game changed";
    // Nothing new in the game folder, and nothing changed but the score file.
    // A saved table changes the score file, where it is a file; a link stays a link.
    auto folder_after = snapshot(folder_);
    if (c.outcome == Outcome::saved) {
        for (const char* name : {"score.sco", "keep/real.sco"}) {
            if (folder_before[name].rfind("-> ", 0) == 0) continue;
            folder_before.erase(name);
            folder_after.erase(name);
        }
    }
    EXPECT_EQ(folder_after, folder_before) << "the game folder changed";
}

INSTANTIATE_TEST_SUITE_P(
    Files, HostileFolder,
    testing::Values(
        Case{"ScoreFileIsAPipe", [](HostileFolder& f) { f.pipe("score.sco"); },
             Outcome::table_unused, ""},
        Case{"ScoreFileLinksToDevZero", [](HostileFolder& f) { f.link("score.sco", "/dev/zero"); },
             Outcome::table_unused, ""},
        Case{"OldNewFileNameLinksOutside",
             [](HostileFolder& f) { f.link("score.sco.new", f.outside() / "victim.txt"); },
             Outcome::saved, ""},
        Case{"ScoreFileIsALink",
             [](HostileFolder& f) {
                 fs::create_directory(f.file("keep"));
                 fs::rename(f.file("score.sco"), f.file("keep/real.sco"));
                 f.link("score.sco", "keep/real.sco");
             },
             Outcome::saved, ""},
        Case{"ReadOnlyScoreFile",
             [](HostileFolder& f) { fs::permissions(f.file("score.sco"), fs::perms(0444)); },
             Outcome::save_refused, "Рекорд не сохранён в файл score.sco:\nнет прав на запись"},
        Case{"ReadOnlyFolder",
             [](HostileFolder& f) { fs::permissions(f.file("."), fs::perms(0555)); },
             Outcome::save_refused, "Рекорд не сохранён в файл score.sco:\nнет прав на запись"},
        Case{"FullDisk",
             [](HostileFolder& f) {
                 if (!can_mount_tmpfs()) GTEST_SKIP() << "no tmpfs can be mounted here";
                 fs::create_directory(f.file("disk"));
             },
             Outcome::save_refused, "Рекорд не сохранён в файл score.sco:\nнет места на диске"},
        Case{"NamesTheFormatCannotHold",
             [](HostileFolder& f) {
                 f.write("score.sco", nul_line + "\r\n" + long_name + " 4000\r\nAnn 300\r\n");
             },
             Outcome::saved,
             "",
             {nul_line, std::string(4096, 'L') + " 4000"}},
        Case{"MenuFileIsAPipe",
             [](HostileFolder& f) {
                 f.own_copy("menu");
                 f.pipe("menu/helpmenu.menu");
             },
             Outcome::fatal_at_start,
             "windowmenu::init: невозможно открыть файл\nmenu\\helpmenu.menu"},
        Case{"MenuFileLinksToDevZero",
             [](HostileFolder& f) {
                 f.own_copy("menu");
                 f.link("menu/mainmenu.menu", "/dev/zero");
             },
             Outcome::fatal_at_start,
             "windowmenu::init: невозможно открыть файл\nmenu\\mainmenu.menu"},
        Case{"SoundsAndPicturesArePipesAndDevices",
             [](HostileFolder& f) {
                 f.own_copy("sound");
                 f.own_copy("res");
                 f.pipe("sound/intro.wav");
                 f.link("sound/menu.wav", "/dev/zero");
                 for (const auto& entry : fs::directory_iterator(f.file("res")))
                     if (entry.path().extension() == ".back")
                         f.pipe("res/" + entry.path().filename().string());
             },
             Outcome::saved, ""}),
    test_support::CaseName());

// Two games in one folder confirm their names at the same moment: the file holds the
// table of one of them, whole, and nothing else is left in the folder.
class TwoGames : public scenario::HeadlessGame {};

TEST_F(TwoGames, SavingAtOnceLeaveOneWholeTable) {
    const std::string old_table = scenario::read_text(file("score.sco"));
    // The generated table's ninth line drops out for the new entry.
    const std::size_t ninth = old_table.rfind("\r\n", old_table.size() - 3) + 2;
    const std::set<std::string> whole = {old_table.substr(0, ninth) + "Ann 300\r\n",
                                         old_table.substr(0, ninth) + "Bob 300\r\n"};
    for (int round = 0; round < 4; ++round) {
        std::ofstream(file("score.sco"), std::ios::binary | std::ios::trunc) << old_table;
        live::LiveGame ann(folder_, live::LiveGame::headless_command("--seed 1"), file("ann.txt"));
        live::LiveGame bob(folder_, live::LiveGame::headless_command("--seed 1"), file("bob.txt"));
        ASSERT_TRUE(ann.dump_after(live::to_name_entry("Ann")).has_value());
        ASSERT_TRUE(bob.dump_after(live::to_name_entry("Bob")).has_value());
        ASSERT_TRUE(ann.send(live::enter));
        ASSERT_TRUE(bob.send(live::enter));
        GameRun ann_run, bob_run;
        ann.finish(ann_run);
        bob.finish(bob_run);
        ASSERT_EQ(ann_run.status, 0);
        ASSERT_EQ(bob_run.status, 0);
        const std::string table = scenario::read_text(file("score.sco"));
        ASSERT_EQ(whole.count(table), 1u) << "round " << round << ": a mixed table\n" << table;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            const std::string name = entry.path().filename();
            EXPECT_TRUE(name == "score.sco" || name == "ann.txt" || name == "bob.txt" ||
                        live::is_data_folder(name))
                << "left behind: " << name;
        }
    }
}

}  // namespace
