// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the picture search down its JPEG path. The input is a ".res" file; the
// search finds no BMP under the name and decodes the JPEG in memory. A picture found
// must fit the limits, and nothing may appear in the temporary folder, watched here.
#include <cstdlib>
#include <filesystem>

#include "graphics/picture.h"
#include "platform/image.h"
#include "platform/raster.h"
#include "platform/window.h"
#include "support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string folder = fuzz::scratch_folder();
    static const std::string temporary = [] {
        // A temporary folder of its own, watched below.
        const std::string path = folder + "tmp/";
        std::filesystem::create_directories(path);
        ::setenv("TMPDIR", path.c_str(), 1);
        return path;
    }();
    static platform::Window window;
    if (window.client_width() == 0) window.resize(648, 528);
    fuzz::write_input(folder + "picture.res", data, size);

    Picture picture;
    picture.load((folder + "picture").c_str());
    if (!picture.is_empty()) {
        if (picture.width() < 1 || picture.height() < 1 ||
            picture.width() > platform::max_picture_side ||
            picture.height() > platform::max_picture_side) {
            fuzz::fail("a picture of a size out of range");
        }
        picture.draw_to_window(window, 0, 0, platform::SRCCOPY);
    }
    if (!std::filesystem::is_empty(temporary)) fuzz::fail("a JPEG load wrote a temporary file");
    return 0;
}
