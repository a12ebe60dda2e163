// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The score table: reading the file line by line, insertion order and ties, the
// exact bytes written, lines the format cannot hold kept as they were, the old file
// kept whole when the rewrite fails or the saving game is killed, and links and
// leftover files beside it handled without harm.
#include "scores/score_table.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/cp1251.h"
#include "platform/desktop.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

std::string scenario_text(const std::string& path) {
    std::ifstream input(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(input), {});
}

std::string str(const String& s) {
    return std::string(s.c_str(), s.length());
}

using Entries = std::vector<std::pair<std::string, std::int32_t>>;

// Each test runs in a fresh current folder, where the game keeps "score.sco".
class ScoreTableTest : public testing::Test {
  protected:
    void SetUp() override {
        reset_score_state();
        boxes().clear();
    }
    void TearDown() override {
        reset_score_state();
        boxes().clear();
    }

    static std::vector<platform::RecordingDesktop::Box>& boxes() {
        return platform::recording_desktop().boxes;
    }
    // The names in the folder besides the score file.
    static std::vector<std::string> other_files() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator("."))
            if (entry.path().filename() != "score.sco") names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    static void write(const std::string& bytes) {
        std::ofstream("score.sco", std::ios::binary) << bytes;
    }
    static std::string file_bytes() {
        std::ifstream input("score.sco", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(input), {});
    }
    static ScoreTable& load(const std::string& bytes) {
        write(bytes);
        score_table().load_scores("score.sco");
        return score_table();
    }
    static Entries entries() {
        Entries result;
        for (int i = 0; i < ScoreTable::entry_count; ++i) {
            result.emplace_back(str(score_table().score_names[i]), score_table().score_values[i]);
        }
        return result;
    }
    // Nine entries from the given ones, filled up with ("name", 0) as a short file gives.
    static Entries filled(Entries given) {
        while (given.size() < ScoreTable::entry_count)
            given.emplace_back("name", 0);
        return given;
    }

    test_support::ScratchFolder folder_{"scores"};
    const fs::path& dir_ = folder_.path();
};

// A full table: a900 900, a800 800, ..., a100 100, with LF line ends.
const std::string hundreds =
    "a900 900\na800 800\na700 700\na600 600\na500 500\na400 400\n"
    "a300 300\na200 200\na100 100\n";

// ---- Reading ---------------------------------------------------------------------

struct LoadCase {
    const char* name;
    std::string file;
    Entries expected;  // the first entries; the rest are ("name", 0)
};

class ScoreFileLines : public ScoreTableTest, public testing::WithParamInterface<LoadCase> {};

TEST_P(ScoreFileLines, LoadAsNineEntries) {
    const ScoreTable& table = load(GetParam().file);
    EXPECT_EQ(table.score_loaded, 1);
    EXPECT_EQ(entries(), filled(GetParam().expected));
}

const std::string long_name(300, 'N');

INSTANTIATE_TEST_SUITE_P(
    Files, ScoreFileLines,
    testing::Values(
        LoadCase{"OneLineWithLineEnd", "Ivan Petrov 1200\n", {{"Ivan Petrov", 1200}}},
        LoadCase{"OneLineWithoutLineEnd", "Ivan Petrov 1200", {}},
        LoadCase{"CrLfAndLfLineEnds", "Masha 1520\r\nPetr 830\n", {{"Masha", 1520}, {"Petr", 830}}},
        LoadCase{"EmptyFile", "", {}}, LoadCase{"NegativeScore", "Ivan -5\n", {{"Ivan", -5}}},
        LoadCase{"EmptyName", " 42\n", {{"", 42}}},
        LoadCase{"SplitAtTheLastSpace", "a b  c 7\n", {{"a b  c", 7}}},
        LoadCase{"TwoSpacesBeforeTheScore", "x  7\n", {{"x ", 7}}},
        LoadCase{"NoSpaceIsAllName", "noscore\n", {{"noscore", 0}}},
        LoadCase{"EmptyLineIsAnEmptyEntry", "\nb 2\n", {{"", 0}, {"b", 2}}},
        LoadCase{"ScoreNotANumber", "x abc\n", {{"x", 0}}},
        LoadCase{"LeadingNumberOfTheScore", "x 12abc\n", {{"x", 12}}},
        LoadCase{"PlusSign", "x +7\n", {{"x", 7}}},
        LoadCase{"TrailingSpace", "x 7 \n", {{"x 7", 0}}},
        LoadCase{"ScoreBeyond32BitsIsHeld",
                 "big 99999999999\nsmall -99999999999\n",
                 {{"big", std::numeric_limits<std::int32_t>::max()},
                  {"small", std::numeric_limits<std::int32_t>::min()}}},
        LoadCase{"ScoreBeyond64BitsIsHeld",
                 "big 999999999999999999999999\n",
                 {{"big", std::numeric_limits<std::int32_t>::max()}}},
        LoadCase{"NameLongerThanALineBuffer", long_name + " 77\n", {{long_name, 77}}},
        LoadCase{"NameBeyondTheLimitIsCutAndKeepsItsScore",
                 std::string(5000, 'L') + " 7000\nnext 5\n",
                 {{std::string(4096, 'L'), 7000}, {"next", 5}}},
        LoadCase{"NameWithANulByteKeepsItsScore",
                 std::string("Bo\0b 5000\n", 10) + "next 5\n",
                 {{"Bo", 5000}, {"next", 5}}},
        LoadCase{"CyrillicName", "Маша 10\n"_cp1251, {{"Маша"_cp1251, 10}}},
        LoadCase{"StoredOutOfOrderIsNotSorted", "low 1\nhigh 100\n", {{"low", 1}, {"high", 100}}},
        LoadCase{"LinesAfterTheNinthAreNotRead",
                 hundreds + "extra 5000\n",
                 {{"a900", 900},
                  {"a800", 800},
                  {"a700", 700},
                  {"a600", 600},
                  {"a500", 500},
                  {"a400", 400},
                  {"a300", 300},
                  {"a200", 200},
                  {"a100", 100}}}),
    [](const testing::TestParamInfo<LoadCase>& param_info) { return param_info.param.name; });

TEST_F(ScoreTableTest, MissingFileLeavesTheTableEmptyAndNotInUse) {
    score_table().load_scores("score.sco");
    EXPECT_EQ(score_table().score_loaded, 0);
    EXPECT_EQ(entries(), Entries(9, {"", 0}));
    EXPECT_EQ(score_table().lowest_score(), 0);

    score_table().insert_score("Ivan", 500);
    EXPECT_EQ(entries(), Entries(9, {"", 0}));
    EXPECT_FALSE(fs::exists("score.sco"));  // the program never creates the file
}

TEST_F(ScoreTableTest, FolderInPlaceOfTheFileIsNotRead) {
    fs::create_directory("score.sco");
    score_table().load_scores("score.sco");
    EXPECT_EQ(score_table().score_loaded, 0);
    EXPECT_EQ(entries(), Entries(9, {"", 0}));
}

TEST_F(ScoreTableTest, AnyBytesLoadAsNineEntries) {
    std::mt19937 random(1520);
    for (int round = 0; round < 200; ++round) {
        std::string bytes;
        const int length = static_cast<int>(random() % 600);
        for (int i = 0; i < length; ++i) {
            const unsigned pick = random() % 8;
            bytes += pick == 0   ? '\n'
                     : pick == 1 ? ' '
                     : pick == 2 ? '-'
                                 : static_cast<char>(random());
        }
        load(bytes);
        EXPECT_EQ(score_table().score_loaded, 1);
        for (int i = 0; i < ScoreTable::entry_count; ++i) {
            EXPECT_EQ(std::string(score_table().score_names[i].c_str()).size(),
                      static_cast<std::size_t>(score_table().score_names[i].length()));
        }
    }
}

TEST_F(ScoreTableTest, LowestScoreIsTheNinthEntry) {
    EXPECT_EQ(load(hundreds).lowest_score(), 100);
    EXPECT_EQ(load("a 5\n").lowest_score(), 0);
    EXPECT_EQ(load("a 5\nb 4\nc 3\nd 2\ne 1\nf 0\ng -1\nh -2\ni -3\n").lowest_score(), -3);
}

// ---- Inserting -------------------------------------------------------------------

struct InsertCase {
    const char* name;
    std::int32_t score;
    std::vector<std::int32_t> expected;
    int new_place;  // 0-based place of the new entry, -1 when it does not get in
};

class ScoreInsert : public ScoreTableTest, public testing::WithParamInterface<InsertCase> {};

TEST_P(ScoreInsert, IntoTheFullTable) {
    const InsertCase& c = GetParam();
    load(hundreds);
    score_table().insert_score("new", c.score);
    std::vector<std::int32_t> scores(score_table().score_values, score_table().score_values + 9);
    EXPECT_EQ(scores, c.expected);
    if (c.new_place < 0) {
        EXPECT_EQ(file_bytes(), hundreds);  // not rewritten: still LF line ends
        return;
    }
    EXPECT_EQ(str(score_table().score_names[c.new_place]), "new");
    EXPECT_NE(file_bytes(), hundreds);
    ScoreTable reread;
    reread.load_scores("score.sco");
    EXPECT_EQ(std::vector<std::int32_t>(reread.score_values, reread.score_values + 9), c.expected);
    EXPECT_EQ(str(reread.score_names[c.new_place]), "new");
}

INSTANTIATE_TEST_SUITE_P(
    Scores, ScoreInsert,
    testing::Values(
        InsertCase{"Top", 1000, {1000, 900, 800, 700, 600, 500, 400, 300, 200}, 0},
        InsertCase{"Middle", 650, {900, 800, 700, 650, 600, 500, 400, 300, 200}, 3},
        InsertCase{
            "TieGoesBelowTheOldEntry", 800, {900, 800, 800, 700, 600, 500, 400, 300, 200}, 2},
        InsertCase{"JustAboveTheNinth", 101, {900, 800, 700, 600, 500, 400, 300, 200, 101}, 8},
        InsertCase{
            "EqualToTheNinthDoesNotGetIn", 100, {900, 800, 700, 600, 500, 400, 300, 200, 100}, -1},
        InsertCase{
            "BelowTheNinthDoesNotGetIn", -7, {900, 800, 700, 600, 500, 400, 300, 200, 100}, -1}),
    [](const testing::TestParamInfo<InsertCase>& param_info) { return param_info.param.name; });

TEST_F(ScoreTableTest, RewrittenFileBytes) {
    load("Masha 1520\nPetr 830\n");
    score_table().insert_score("Aleksandrovich", 700);
    EXPECT_EQ(file_bytes(),
              "Masha 1520\r\nPetr 830\r\nAleksandro 700\r\nname 0\r\nname 0\r\nname 0\r\n"
              "name 0\r\nname 0\r\nname 0\r\n");
    EXPECT_EQ(str(score_table().score_names[2]), "Aleksandro");
    EXPECT_TRUE(other_files().empty());
}

TEST_F(ScoreTableTest, NegativeScoresAndEmptyNamesSurviveTheRewrite) {
    // " c" splits at its only space: an empty name and no number.
    load("a 10\n -5\nb -5\n c\n");
    EXPECT_EQ(entries(), filled({{"a", 10}, {"", -5}, {"b", -5}, {"", 0}}));
    score_table().insert_score("", 7);
    EXPECT_EQ(file_bytes(),
              "a 10\r\n 7\r\n -5\r\nb -5\r\n 0\r\nname 0\r\nname 0\r\nname 0\r\nname 0\r\n");
    ScoreTable reread;
    reread.load_scores("score.sco");
    EXPECT_EQ(str(reread.score_names[1]), "");
    EXPECT_EQ(reread.score_values[1], 7);
    EXPECT_EQ(reread.score_values[2], -5);
}

TEST_F(ScoreTableTest, NamesAreStoredAsTenCharacters) {
    load(hundreds);
    score_table().insert_score("Aleksandrovich", 1000);
    score_table().insert_score("Aleksandro", 999);
    score_table().insert_score("Ivan", 998);
    score_table().insert_score("Александрович"_cp1251, 997);
    EXPECT_EQ(str(score_table().score_names[0]), "Aleksandro");
    EXPECT_EQ(str(score_table().score_names[1]), "Aleksandro");
    EXPECT_EQ(str(score_table().score_names[2]), "Ivan");
    EXPECT_EQ(str(score_table().score_names[3]), "Александро"_cp1251);
}

TEST_F(ScoreTableTest, LinesTheFormatCannotHoldAreWrittenBackAsTheyWere) {
    const std::string nul_line("Bo\0b 5000", 9);
    load(nul_line + "\n" + std::string(5000, 'L') + " 4000\nshort 300\n");
    score_table().insert_score("new", 4500);
    // The name with a NUL byte goes back whole; the long one is cut and keeps its score.
    EXPECT_EQ(file_bytes(), nul_line + "\r\nnew 4500\r\n" + std::string(4096, 'L') +
                                " 4000\r\nshort 300\r\nname 0\r\nname 0\r\nname 0\r\nname 0\r\n"
                                "name 0\r\n");
    ScoreTable reread;
    reread.load_scores("score.sco");
    EXPECT_EQ(reread.score_values[0], 5000);
    EXPECT_EQ(reread.score_lines[0], nul_line);
    EXPECT_EQ(reread.file_bytes(), file_bytes());
}

TEST_F(ScoreTableTest, FailedSaveKeepsTheFileTellsThePlayerOnceAndShowsTheFileAgain) {
    load(hundreds);
    // Read-only: even the superuser's game leaves it as it is.
    ASSERT_EQ(::chmod("score.sco", 0444), 0);
    score_table().insert_score("new", 650);
    EXPECT_EQ(file_bytes(), hundreds);
    struct stat info {};
    ASSERT_EQ(::stat("score.sco", &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0444u);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].caption, "Внимание !!!"_cp1251);
    EXPECT_EQ(boxes()[0].text, "Рекорд не сохранён в файл score.sco:\nнет прав на запись"_cp1251);
    // The table shown is the one the file holds, and it stays in use.
    EXPECT_EQ(score_table().score_loaded, 1);
    EXPECT_EQ(str(score_table().score_names[3]), "a600");
    EXPECT_TRUE(other_files().empty());

    ASSERT_EQ(::chmod("score.sco", 0644), 0);
    score_table().insert_score("later", 5000);
    EXPECT_EQ(file_bytes().substr(0, 12), "later 5000\r\n");
    EXPECT_EQ(boxes().size(), 1u);
}

TEST_F(ScoreTableTest, SaveKeepsTheModeOfTheOldFile) {
    load(hundreds);
    ASSERT_EQ(::chmod("score.sco", 0604), 0);
    score_table().insert_score("new", 1000);
    struct stat info {};
    ASSERT_EQ(::stat("score.sco", &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0604u);
    EXPECT_EQ(file_bytes().substr(0, 10), "new 1000\r\n");
}

TEST_F(ScoreTableTest, ALinkedScoreFileIsUpdatedWhereItPoints) {
    fs::create_directory("elsewhere");
    std::ofstream("elsewhere/real.sco", std::ios::binary) << hundreds;
    fs::create_symlink("elsewhere/real.sco", "score.sco");
    score_table().load_scores("score.sco");
    score_table().insert_score("new", 1000);
    EXPECT_TRUE(fs::is_symlink("score.sco"));
    EXPECT_EQ(file_bytes().substr(0, 10), "new 1000\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator("elsewhere"), fs::directory_iterator()), 1);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(ScoreTableTest, FilesBesideTheScoreFileAreNeverFollowedAndStaleOnesGo) {
    load(hundreds);
    std::ofstream("outside.txt", std::ios::binary) << "not a score file";
    // The name older versions of the game wrote to, planted as a link; a file of a game
    // still running (our parent), and one of a game long gone.
    fs::create_symlink("outside.txt", "score.sco.new");
    const std::string running = "score.sco." + std::to_string(::getppid()) + ".new";
    std::ofstream(running, std::ios::binary) << "being written";
    pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ASSERT_GT(gone, 0);
    ::waitpid(gone, nullptr, 0);
    const std::string stale = "score.sco." + std::to_string(gone) + ".new";
    std::ofstream(stale, std::ios::binary) << "half-written garbage";

    score_table().insert_score("new", 1000);
    EXPECT_EQ(file_bytes().substr(0, 10), "new 1000\r\n");
    EXPECT_EQ(scenario_text("outside.txt"), "not a score file");
    EXPECT_TRUE(fs::is_symlink("score.sco.new"));
    EXPECT_EQ(other_files(), (std::vector<std::string>{"outside.txt", running, "score.sco.new"}));
}

TEST_F(ScoreTableTest, NothingButAFileIsReadOrWrittenAsTheScoreFile) {
    for (const char* target : {"/dev/zero", "/dev/null"}) {
        fs::remove("score.sco");
        fs::create_symlink(target, "score.sco");
        score_table().load_scores("score.sco");
        EXPECT_EQ(score_table().score_loaded, 0) << target;
    }
    fs::remove("score.sco");
    ASSERT_EQ(::mkfifo("score.sco", 0600), 0);
    score_table().load_scores("score.sco");  // would wait for a writer forever
    EXPECT_EQ(score_table().score_loaded, 0);
    // A table in use whose file became a pipe meanwhile is not written into it.
    fs::remove("score.sco");
    load(hundreds);
    fs::remove("score.sco");
    ASSERT_EQ(::mkfifo("score.sco", 0600), 0);
    score_table().insert_score("new", 1000);
    EXPECT_EQ(fs::status("score.sco").type(), fs::file_type::fifo);
    EXPECT_EQ(boxes().size(), 1u);
    EXPECT_EQ(score_table().score_loaded, 0);
}

// A game killed at any moment of a save leaves the old table or the new one, whole.
// The child saves without pause, each save a different table; once its first save is
// done it is killed after a random wait. After each kill the file must read back as
// the program wrote it, hold one of this child's tables, and the next start must
// leave no file of the killed game behind.
TEST_F(ScoreTableTest, KilledWhileSavingLeavesAWholeTableAndNoStrayFile) {
    load(hundreds);
    std::mt19937 random(0x5c0);
    int named_when_killed = 0;
    for (int run = 0; run < 100; ++run) {
        const std::int32_t first_score = 1000 + run * 100000;
        int saved[2];
        ASSERT_EQ(::pipe(saved), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            score_table().insert_score("k", first_score);
            if (::write(saved[1], "s", 1) != 1) ::_exit(1);
            for (std::int32_t score = first_score + 1;; ++score)
                score_table().insert_score("k", score);
        }
        ::close(saved[1]);
        char done = 0;
        ASSERT_EQ(::read(saved[0], &done, 1), 1) << "the child never saved";
        ::close(saved[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        const std::string bytes = file_bytes();
        if (!other_files().empty()) ++named_when_killed;
        ScoreTable reread;
        reread.load_scores("score.sco");
        ASSERT_EQ(reread.score_loaded, 1);
        ASSERT_EQ(reread.file_bytes(), bytes) << "run " << run << ": not a table as written";
        ASSERT_GE(reread.score_values[0], first_score) << "run " << run << ": an older table";
        // Only a kill between naming the new file and renaming it leaves it, and the
        // next start (the load above) removes it.
        ASSERT_TRUE(other_files().empty()) << "run " << run << ": " << other_files()[0];
        score_table() = reread;
    }
    RecordProperty("kills_that_left_a_named_new_file", named_when_killed);
}

TEST_F(ScoreTableTest, ResetPutsTheTableBackAsBeforeLoading) {
    load(hundreds);
    reset_score_state();
    EXPECT_EQ(score_table().score_loaded, 0);
    EXPECT_EQ(entries(), Entries(9, {"", 0}));
}

}  // namespace
