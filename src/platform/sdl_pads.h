// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Game controllers on SDL2's game-controller API and the mapping database SDL ships:
// their buttons and left stick become the messages the keys give (D-pad and stick the
// arrows, with a key's repeat; A Enter, B Escape, Y H, Back M). Controllers may come and
// go while the game runs.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

union SDL_Event;
struct _SDL_GameController;

namespace platform {

// The arrow a left stick at (x, y) stands for, SDL's axis values with y growing
// downwards: the larger axis once past the dead zone, or 0. The arrow held keeps
// holding until its axis falls back below a lower mark, so a stick resting near the
// edge of the dead zone does not chatter.
std::uint32_t stick_arrow(int x, int y, std::uint32_t held);

// A held arrow's repeat, as a held key repeats: the press, then after a delay one more
// press every interval while it stays held. Times are platform clock counts.
class ArrowRepeat {
  public:
    static constexpr std::int64_t delay_ms = 350;
    static constexpr std::int64_t interval_ms = 90;

    // The arrow goes down from a source (a controller's D-pad or stick); the caller
    // posts its first press. The newest held arrow is the one that repeats.
    void press(std::uint32_t arrow, std::int64_t source, std::int64_t now);
    // The source lets its arrow go; the repeat stops when it was the one repeating.
    void release(std::int64_t source);
    // The arrow to press again now, or 0; a repeat owed for longer is pressed once.
    std::uint32_t take_due(std::int64_t now);
    // When the next repeat is due, if an arrow is held.
    std::optional<std::int64_t> next_due() const;

  private:
    std::uint32_t arrow_ = 0;
    std::int64_t source_ = -1;
    std::int64_t next_ = 0;
};

class SdlPads {
  public:
    SdlPads() = default;
    ~SdlPads();
    SdlPads(const SdlPads&) = delete;
    SdlPads& operator=(const SdlPads&) = delete;

    // Starts SDL's game controllers; the controllers already plugged in arrive as
    // events. Without them the game plays on without controllers.
    void start();
    // Takes a controller's event: plugs, unplugs, buttons and the left stick. False
    // when the event is not a controller's.
    bool translate(const SDL_Event& event);
    // Once a pump has taken SDL's events: posts the repeat of a held arrow when due.
    void post_repeats();
    // A pump begins: B pressed and let go before the last pump no longer counts as down.
    void begin_pump() { b_tapped_ = false; }

    // How long a pump may sleep at most for the controllers: until the next repeat,
    // or a short while when a controller's input cannot be watched; -1 for no limit.
    int sleep_limit_ms() const;
    // Descriptors that become readable when a controller is plugged in or one of ours
    // has input, to watch beside the display; drain() empties them after a wake.
    std::vector<int> watched() const;
    void drain() const;
    // Whether a controller's input cannot be watched, so that only SDL's own look at
    // it finds what came.
    bool needs_polling() const;

    // Whether B is held on a controller, or was pressed since the last pump began.
    bool escape_down() const;
    std::size_t count() const { return pads_.size(); }

  private:
    struct Pad {
        _SDL_GameController* controller = nullptr;
        std::int32_t instance = -1;
        int input = -1;  // its device, opened to watch; -1 when it cannot be
        std::uint32_t stick = 0;
    };
    void plug(int device_index);
    void unplug(std::int32_t instance);
    void press_arrow(std::uint32_t arrow, std::int64_t source);
    Pad* pad_of(std::int32_t instance);

    std::vector<Pad> pads_;
    ArrowRepeat repeat_;
    int plugs_ = -1;  // an inotify watch on the input devices' folder
    bool started_ = false;
    bool b_tapped_ = false;
};

}  // namespace platform
