// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The audio in use and the recording audio with its clock-timed music players.
#include "platform/audio.h"

#include <cstring>
#include <limits>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/kept_data.h"

namespace platform {

namespace {
std::uint32_t read_u32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Whole seconds and the rest apart, so the product stays in range however long the
// clock has run.
std::int64_t clock_us(std::int64_t counter) {
    const std::int64_t frequency = clock().frequency();
    return counter / frequency * 1'000'000 + counter % frequency * 1'000'000 / frequency;
}
}  // namespace

std::int64_t wave_length_us(std::span<const std::uint8_t> file) {
    if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 ||
        std::memcmp(file.data() + 8, "WAVE", 4) != 0)
        return -1;
    std::uint32_t byte_rate = 0;
    std::size_t pos = 12;
    while (pos + 8 <= file.size()) {
        const std::uint32_t size = read_u32(file.data() + pos + 4);
        const std::uint8_t* body = file.data() + pos + 8;
        const std::size_t room = file.size() - pos - 8;
        if (std::memcmp(file.data() + pos, "fmt ", 4) == 0 && size >= 16 && room >= 16) {
            byte_rate = read_u32(body + 8);
        } else if (std::memcmp(file.data() + pos, "data", 4) == 0) {
            if (byte_rate == 0) return -1;
            const std::uint64_t bytes = std::min<std::uint64_t>(size, room);
            return static_cast<std::int64_t>(bytes * 1'000'000 / byte_rate);
        }
        pos += 8 + static_cast<std::size_t>(size) + (size & 1);
    }
    return -1;
}

void RecordingAudio::play_effect(std::string_view name, std::span<const std::uint8_t>) {
    effects.emplace_back(name);
}

int RecordingAudio::open_music(const std::string& native_path) {
    // -1 for a file that is missing or no wave we read.
    static KeptByPath<std::int64_t> kept_lengths;
    std::int64_t length = -1;
    if (const std::int64_t* kept = kept_lengths.find(native_path)) {
        length = *kept;
    } else {
        const auto bytes = read_file(native_path, max_music_file_bytes);
        if (bytes) length = wave_length_us(*bytes);
        kept_lengths.keep(native_path, length);
    }
    if (length < 0) return -1;
    Player p;
    p.path = native_path;
    p.open = true;
    p.length_us = length;
    players_.push_back(p);
    return static_cast<int>(players_.size()) - 1;
}

RecordingAudio::Player* RecordingAudio::find(int player) {
    if (player < 0 || player >= static_cast<int>(players_.size())) return nullptr;
    Player& p = players_[static_cast<std::size_t>(player)];
    return p.open ? &p : nullptr;
}

std::int64_t RecordingAudio::position_us(const Player& p) const {
    if (p.mode != PlayerMode::playing) return p.played_us;
    return p.played_us + clock_us(clock().counter() - p.started_counter);
}

void RecordingAudio::close_music(int player) {
    if (Player* p = find(player)) p->open = false;
}

PlayerMode RecordingAudio::music_mode(int player) {
    Player* p = find(player);
    if (p == nullptr) return PlayerMode::stopped;
    if (p->mode == PlayerMode::playing && position_us(*p) >= p->length_us) {
        p->mode = PlayerMode::stopped;
        p->played_us = p->length_us;
    }
    return p->mode;
}

void RecordingAudio::play_music_from_start(int player) {
    if (Player* p = find(player)) {
        p->mode = PlayerMode::playing;
        p->played_us = 0;
        p->started_counter = clock().counter();
    }
}

void RecordingAudio::stop_music(int player) {
    if (Player* p = find(player); p != nullptr && p->mode != PlayerMode::stopped) {
        p->played_us = std::min(position_us(*p), p->length_us);
        p->mode = PlayerMode::stopped;
    }
}

void RecordingAudio::pause_music(int player) {
    if (Player* p = find(player); p != nullptr && music_mode(player) == PlayerMode::playing) {
        p->played_us = position_us(*p);
        p->mode = PlayerMode::paused;
    }
}

void RecordingAudio::resume_music(int player) {
    if (Player* p = find(player); p != nullptr && p->mode == PlayerMode::paused) {
        p->mode = PlayerMode::playing;
        p->started_counter = clock().counter();
    }
}

std::int64_t RecordingAudio::music_ends_at(int player) {
    const Player* p = find(player);
    if (p == nullptr || music_mode(player) != PlayerMode::playing)
        return std::numeric_limits<std::int64_t>::max();
    // The first counter reading at which position_us() reaches the length: whole
    // seconds and the rest apart, as clock_us() counts them.
    const std::int64_t left_us = p->length_us - p->played_us;
    const std::int64_t frequency = clock().frequency();
    const std::int64_t ticks =
        left_us / 1'000'000 * frequency + (left_us % 1'000'000 * frequency + 999'999) / 1'000'000;
    return p->started_counter + ticks;
}

std::string RecordingAudio::music_path(int player) const {
    if (player < 0 || player >= static_cast<int>(players_.size())) return "";
    const Player& p = players_[static_cast<std::size_t>(player)];
    return p.open ? p.path : "";
}

void RecordingAudio::reset() {
    effects.clear();
    players_.clear();
}

namespace {
Audio* current_audio = nullptr;
}

RecordingAudio& recording_audio() {
    static RecordingAudio audio;
    return audio;
}

Audio& audio() {
    return current_audio != nullptr ? *current_audio : recording_audio();
}

void set_audio(Audio* a) {
    current_audio = a;
}

}  // namespace platform
