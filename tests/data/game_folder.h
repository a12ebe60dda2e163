// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The generated game folder as the game sees it: tests run with the current folder
// moved into it, as the game runs from its own folder, and every fatal message box
// is recorded.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/string.h"
#include "platform/desktop.h"

class GameFolderTest : public testing::Test {
  protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(VORPY_GAME_DIR);
        platform::set_desktop(nullptr);
        platform::recording_desktop().boxes.clear();
    }
    void TearDown() override { std::filesystem::current_path(previous_); }

    // The message boxes shown so far: fatal errors among them.
    static const auto& message_boxes() { return platform::recording_desktop().boxes; }

  private:
    std::filesystem::path previous_;
};

inline std::string str(const String& s) {
    return std::string(s.c_str(), static_cast<std::size_t>(s.length()));
}
