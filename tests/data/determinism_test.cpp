// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The generator writes the same bytes on every run: two runs into fresh folders give
// identical files, the English set in en/ among them, identical to the data folder
// the build made; and the score file is written only where there is none.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string read_all(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Every file under root by its path relative to root.
std::map<std::string, std::string> tree(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), root).string()] = read_all(entry.path());
    return files;
}

int run(const std::string& arguments) {
    return std::system((std::string("\"") + VORPY_ASSETGEN + "\" " + arguments).c_str());
}

class GeneratorRuns : public testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("vorpy_assetgen_" + std::to_string(getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }
    // Runs the generator into root/name: the data, its effects source and the score file.
    void generate(const std::string& name) {
        const fs::path game = root_ / name / "game",
                       source = root_ / name / "generated" / "effect_waves.cpp";
        ASSERT_EQ(run("data \"" + game.string() + "\" \"" + source.string() + "\""), 0);
        ASSERT_EQ(run("scores \"" + game.string() + "\""), 0);
    }
    fs::path root_;
};

TEST_F(GeneratorRuns, TwoRunsWriteIdenticalFiles) {
    generate("first");
    generate("second");
    const auto first = tree(root_ / "first"), second = tree(root_ / "second");
    ASSERT_FALSE(first.empty());
    // The English set is among what is compared.
    for (const char* english : {"game/en/menu/mainmenu.menu", "game/en/menu/menu.res"})
        ASSERT_TRUE(first.count(english)) << english << " not written";
    ASSERT_EQ(first.size(), second.size());
    for (const auto& [path, bytes] : first) {
        ASSERT_TRUE(second.count(path)) << path << " missing from the second run";
        EXPECT_TRUE(second.at(path) == bytes) << path << " differs between runs";
    }
    // The build's own data folder holds the same files (its score file may hold a
    // player's results by now).
    const auto built = tree(VORPY_GAME_DIR);
    for (const auto& [path, bytes] : first) {
        if (path.rfind("game/", 0) != 0 || path == "game/score.sco") continue;
        const std::string in_build = path.substr(5);
        ASSERT_TRUE(built.count(in_build)) << in_build << " missing from " << VORPY_GAME_DIR;
        EXPECT_TRUE(built.at(in_build) == bytes) << in_build << " differs from the build's";
    }
}

TEST_F(GeneratorRuns, ScoreFileIsNeverOverwritten) {
    const fs::path game = root_ / "game";
    fs::create_directories(game);
    std::ofstream(game / "score.sco", std::ios::binary) << "Player 4242\r\n";
    ASSERT_EQ(run("scores \"" + game.string() + "\""), 0);
    EXPECT_EQ(read_all(game / "score.sco"), "Player 4242\r\n");
}

TEST_F(GeneratorRuns, RefusesUnknownCommands) {
    EXPECT_NE(run("pictures \"" + root_.string() + "\" 2>/dev/null"), 0);
    EXPECT_NE(run("2>/dev/null"), 0);
}

}  // namespace
