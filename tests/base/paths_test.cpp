// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// next_background: byte order, running one name behind the search, wrap-around.
#include "base/paths.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class NextBackground : public testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(dir_ / "res");
        reset_backgrounds();
    }
    void TearDown() override { reset_backgrounds(); }
    void touch(const std::string& name) { std::ofstream(dir_ / "res" / name) << "x"; }

    // The names a run of stages uses, as the frame function asks for them.
    std::vector<std::string> stages(int n) {
        std::vector<std::string> names;
        for (int i = 0; i < n; ++i) {
            String name = next_background("");
            if (name.is_empty()) {
                next_background("res\\*.back");
                name = next_background("");
            }
            names.emplace_back(name.c_str());
        }
        return names;
    }

    test_support::ScratchFolder folder_{"paths"};
    const fs::path& dir_ = folder_.path();
};

TEST_F(NextBackground, StagesTakeTheFilesInByteOrderAndWrapAround) {
    for (const char* n : {"c.back", "a.back", "B.back", "b.back", "\xC0.back", "skip.jpg"})
        touch(n);
    fs::create_directories(dir_ / "res" / "dir.back");  // a folder that matches is listed too
    EXPECT_EQ(stages(8), (std::vector<std::string>{"B.back", "a.back", "b.back", "c.back",
                                                   "dir.back", "\xC0.back", "B.back", "a.back"}));
}

TEST_F(NextBackground, SingleFileEveryStage) {
    touch("only.back");
    EXPECT_EQ(stages(3), (std::vector<std::string>{"only.back", "only.back", "only.back"}));
}

TEST_F(NextBackground, NoFileGivesEmptyNames) {
    EXPECT_EQ(stages(2), (std::vector<std::string>{"", ""}));
}

TEST_F(NextBackground, ACallWithAPatternReturnsEmptyAndRunsOneBehind) {
    touch("a.back");
    touch("b.back");
    EXPECT_TRUE(next_background("").is_empty());  // nothing started yet
    EXPECT_TRUE(next_background("res\\*.back").is_empty());
    EXPECT_EQ(std::string(next_background("").c_str()), "a.back");
    EXPECT_EQ(std::string(next_background("").c_str()), "b.back");
    EXPECT_TRUE(next_background("").is_empty());
    EXPECT_TRUE(next_background("").is_empty());
}

}  // namespace
