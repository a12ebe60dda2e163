// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers the test suites share: a fresh current folder per test (the game
// reads and writes relative to the current folder), String to std::string, and
// naming the cases of a table after their name field.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "base/string.h"

namespace test_support {

// A new empty folder under the temporary folder, made the current folder for the
// object's life; the old current folder comes back and the folder goes afterwards.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string& prefix)
        : old_(std::filesystem::current_path()),
          path_(std::filesystem::temp_directory_path() /
                ("vorpy-" + prefix + "-" + std::to_string(::getpid()) + "-" +
                 testing::UnitTest::GetInstance()->current_test_info()->name())) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
        std::filesystem::current_path(path_);
    }
    ~ScratchFolder() {
        std::filesystem::current_path(old_);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path old_;
    std::filesystem::path path_;
};

inline std::string str(const String& s) {
    return std::string(s.c_str(), s.length());
}

// Names each case of a table after its name field.
struct CaseName {
    template <class Case>
    std::string operator()(const testing::TestParamInfo<Case>& param_info) const {
        return param_info.param.name;
    }
};

}  // namespace test_support
