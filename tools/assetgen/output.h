// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the generated files: 24-bit BMP, JPEG through TurboJPEG, Windows-1251
// text with CR LF line ends, sound through libsndfile, and the C++ source that
// carries the effects into the program. Every writer reports failure by returning false.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "art.h"

namespace assetgen {

using Bytes = std::vector<std::uint8_t>;

// The image as an uncompressed 24-bit BMP file (bottom-up rows padded to 4 bytes).
Bytes encode_bmp(const Image& image);
// The image as a baseline JPEG file of the given quality, 4:4:4 sampling.
Bytes encode_jpeg(const Image& image, int quality);

bool write_bytes(const std::string& path, const Bytes& bytes);
bool read_bytes(const std::string& path, Bytes& bytes);

// UTF-8 lines as Windows-1251 text, each line ended by CR LF. False when a
// character has no Windows-1251 byte or the file cannot be written.
bool write_cp1251_lines(const std::string& path, const std::vector<std::string>& utf8_lines);

// Samples -1..1, interleaved when stereo.
struct Sound {
    int rate = 22050;
    int channels = 1;
    std::vector<float> samples;
    std::size_t frames() const { return samples.size() / static_cast<std::size_t>(channels); }
};

// sndfile_format is a libsndfile major | minor format, e.g. SF_FORMAT_WAV | SF_FORMAT_PCM_16.
bool write_sound(const std::string& path, const Sound& sound, int sndfile_format);

// A C++ source that defines effect_wave() over the given RIFF WAVE files, in the
// order of the Effect enumeration.
std::string effects_source(const std::vector<Bytes>& waves);

}  // namespace assetgen
