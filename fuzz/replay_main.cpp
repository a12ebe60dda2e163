// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A main() for the fuzz targets where libFuzzer is not linked in: feeds each file
// named on the command line, and every regular file of each folder named there (in
// name order), to the target once. Arguments starting with "-" are libFuzzer
// options and are skipped, so both builds take the same command line.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "support.h"

namespace fs = std::filesystem;

namespace {

bool replay_file(const fs::path& path) {
    std::ifstream input(path, std::ios::binary);
    if (!input) {
        std::fprintf(stderr, "replay: cannot read %s\n", path.c_str());
        return false;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(input),
                                  std::istreambuf_iterator<char>()};
    // A fresh copy of exactly the input's size, so reading past it is caught.
    std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    LLVMFuzzerTestOneInput(data.data(), data.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int replayed = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.starts_with("-")) continue;
        std::error_code error;
        if (fs::is_directory(argument, error)) {
            std::vector<fs::path> files;
            for (const auto& entry : fs::directory_iterator(argument, error)) {
                if (entry.is_regular_file(error)) files.push_back(entry.path());
            }
            std::sort(files.begin(), files.end());
            for (const auto& file : files) {
                ok = replay_file(file) && ok;
                ++replayed;
            }
        } else {
            ok = replay_file(argument) && ok;
            ++replayed;
        }
    }
    std::printf("replay: %d inputs\n", replayed);
    return ok ? 0 : 1;
}
