// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The fuzz targets' shared helpers: scratch folder, input files, desktop reset, failure.
#include "support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "base/fatal.h"
#include "platform/desktop.h"

namespace fuzz {

namespace {

void remove_scratch_folder() {
    std::error_code ignored;
    std::filesystem::remove_all(scratch_folder(), ignored);
}

}  // namespace

const std::string& scratch_folder() {
    // Kept for the whole run: the exit handler that removes the folder still needs its name.
    static const std::string* const folder = [] {
        std::error_code error;
        const std::filesystem::path base = std::filesystem::temp_directory_path(error);
        auto* path = new std::string((error ? std::filesystem::path("/tmp") : base).string() +
                                     "/vorpy-fuzz-" + std::to_string(::getpid()) + "/");
        std::filesystem::remove_all(*path, error);
        if (!std::filesystem::create_directories(*path, error)) fail("cannot make scratch folder");
        std::atexit(remove_scratch_folder);
        return path;
    }();
    return *folder;
}

void write_input(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream output(path, std::ios::binary | std::ios::trunc);
    output.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    output.close();
    if (!output) fail("cannot write the input file");
}

void clear_desktop() {
    platform::recording_desktop().boxes.clear();
    platform::reset_messages();
    reset_fatal_state();
}

void fail(const char* what) {
    std::fprintf(stderr, "fuzz: invariant broken: %s\n", what);
    std::abort();
}

}  // namespace fuzz
