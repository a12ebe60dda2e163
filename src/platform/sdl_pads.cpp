// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// SdlPads: controllers opened as SDL reports them, their buttons and stick turned into
// key messages, and what the pump's sleep watches for them.
#include "platform/sdl_pads.h"

#include <SDL.h>
#include <fcntl.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "platform/clock.h"
#include "platform/desktop.h"

namespace platform {

namespace {

// Past half its travel the stick points; back under three eighths it lets go.
constexpr int stick_press = 16384;
constexpr int stick_release = 12288;
// With a controller whose input cannot be watched, the pump looks at it this often.
constexpr int unwatched_poll_ms = 10;

std::int64_t ms_to_ticks(std::int64_t ms) {
    return ms * (clock().frequency() / 1000);
}

// A source of arrows: a controller's D-pad or its stick.
std::int64_t dpad_source(std::int32_t instance) {
    return std::int64_t{instance} * 2;
}
std::int64_t stick_source(std::int32_t instance) {
    return std::int64_t{instance} * 2 + 1;
}

std::uint32_t dpad_arrow(std::uint8_t button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            return VK_UP;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            return VK_DOWN;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return VK_LEFT;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return VK_RIGHT;
        default:
            return 0;
    }
}

}  // namespace

std::uint32_t stick_arrow(int x, int y, std::uint32_t held) {
    const int ax = std::abs(x), ay = std::abs(y);
    // The arrow held stays while its own axis still leans its way past the lower mark.
    const int along = held == VK_LEFT ? -x : held == VK_RIGHT ? x : held == VK_UP ? -y : y;
    const int across = held == VK_LEFT || held == VK_RIGHT ? ay : ax;
    if (held != 0 && along >= stick_release && along >= across) return held;
    if (std::max(ax, ay) < stick_press) return 0;
    if (ax >= ay) return x < 0 ? VK_LEFT : VK_RIGHT;
    return y < 0 ? VK_UP : VK_DOWN;
}

void ArrowRepeat::press(std::uint32_t arrow, std::int64_t source, std::int64_t now) {
    arrow_ = arrow;
    source_ = source;
    next_ = now + ms_to_ticks(delay_ms);
}

void ArrowRepeat::release(std::int64_t source) {
    if (source != source_) return;
    arrow_ = 0;
    source_ = -1;
}

std::uint32_t ArrowRepeat::take_due(std::int64_t now) {
    if (arrow_ == 0 || now < next_) return 0;
    next_ = now + ms_to_ticks(interval_ms);
    return arrow_;
}

std::optional<std::int64_t> ArrowRepeat::next_due() const {
    if (arrow_ == 0) return std::nullopt;
    return next_;
}

SdlPads::~SdlPads() {
    for (const Pad& pad : pads_) {
        if (pad.input >= 0) ::close(pad.input);
        SDL_GameControllerClose(pad.controller);
    }
    if (plugs_ >= 0) ::close(plugs_);
}

void SdlPads::start() {
    if (started_) return;
    started_ = true;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return;
    // A device node appearing, or getting the permissions that let us open it, wakes
    // the sleep so that SDL looks for a new controller.
    plugs_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (plugs_ >= 0 && ::inotify_add_watch(plugs_, "/dev/input", IN_CREATE | IN_ATTRIB) < 0) {
        ::close(plugs_);
        plugs_ = -1;
    }
}

SdlPads::Pad* SdlPads::pad_of(std::int32_t instance) {
    const auto found = std::find_if(pads_.begin(), pads_.end(), [instance](const Pad& pad) {
        return pad.instance == instance;
    });
    return found != pads_.end() ? &*found : nullptr;
}

void SdlPads::plug(int device_index) {
    SDL_GameController* controller = SDL_GameControllerOpen(device_index);
    if (controller == nullptr) return;
    const SDL_JoystickID instance =
        SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    if (pad_of(instance) != nullptr) {
        SDL_GameControllerClose(controller);  // opened already; SDL counts the opens
        return;
    }
    Pad pad;
    pad.controller = controller;
    pad.instance = instance;
    // Our own descriptor of its device only tells the sleep that input came; SDL reads
    // its own, and what ours gathers is thrown away.
    if (const char* path = SDL_GameControllerPath(controller); path != nullptr)
        pad.input = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    pads_.push_back(pad);
}

void SdlPads::unplug(std::int32_t instance) {
    Pad* pad = pad_of(instance);
    if (pad == nullptr) return;
    repeat_.release(dpad_source(instance));
    repeat_.release(stick_source(instance));
    if (pad->input >= 0) ::close(pad->input);
    SDL_GameControllerClose(pad->controller);
    pads_.erase(pads_.begin() + (pad - pads_.data()));
}

void SdlPads::press_arrow(std::uint32_t arrow, std::int64_t source) {
    post_message({MessageType::key_down, arrow});
    repeat_.press(arrow, source, clock().counter());
}

bool SdlPads::translate(const SDL_Event& event) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            plug(event.cdevice.which);
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            unplug(event.cdevice.which);
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            if (pad_of(event.cbutton.which) == nullptr) return true;
            const bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
            if (const std::uint32_t arrow = dpad_arrow(event.cbutton.button)) {
                if (down)
                    press_arrow(arrow, dpad_source(event.cbutton.which));
                else
                    repeat_.release(dpad_source(event.cbutton.which));
                return true;
            }
            if (!down) return true;
            switch (event.cbutton.button) {
                case SDL_CONTROLLER_BUTTON_A:
                    post_message({MessageType::key_down, VK_RETURN});
                    break;
                case SDL_CONTROLLER_BUTTON_B:
                    // As Escape: its character, and down for the game's look at the key.
                    post_message({MessageType::character, 27});
                    b_tapped_ = true;
                    break;
                case SDL_CONTROLLER_BUTTON_Y:
                    post_message({MessageType::key_down, VK_H});
                    break;
                case SDL_CONTROLLER_BUTTON_BACK:
                    post_message({MessageType::key_down, VK_M});
                    break;
                default:
                    break;
            }
            return true;
        }
        case SDL_CONTROLLERAXISMOTION: {
            Pad* pad = pad_of(event.caxis.which);
            if (pad == nullptr) return true;
            if (event.caxis.axis != SDL_CONTROLLER_AXIS_LEFTX &&
                event.caxis.axis != SDL_CONTROLLER_AXIS_LEFTY)
                return true;
            const std::uint32_t arrow = stick_arrow(
                SDL_GameControllerGetAxis(pad->controller, SDL_CONTROLLER_AXIS_LEFTX),
                SDL_GameControllerGetAxis(pad->controller, SDL_CONTROLLER_AXIS_LEFTY), pad->stick);
            if (arrow == pad->stick) return true;
            pad->stick = arrow;
            repeat_.release(stick_source(pad->instance));
            if (arrow != 0) press_arrow(arrow, stick_source(pad->instance));
            return true;
        }
        case SDL_CONTROLLERDEVICEREMAPPED:
        case SDL_CONTROLLERTOUCHPADDOWN:
        case SDL_CONTROLLERTOUCHPADMOTION:
        case SDL_CONTROLLERTOUCHPADUP:
        case SDL_CONTROLLERSENSORUPDATE:
            return true;
        default:
            return false;
    }
}

void SdlPads::post_repeats() {
    if (const std::uint32_t arrow = repeat_.take_due(clock().counter()))
        post_message({MessageType::key_down, arrow});
}

int SdlPads::sleep_limit_ms() const {
    int limit = -1;
    if (const std::optional<std::int64_t> due = repeat_.next_due()) {
        const std::int64_t per_ms = clock().frequency() / 1000;
        const std::int64_t left = std::max<std::int64_t>(0, *due - clock().counter());
        limit = static_cast<int>(std::min<std::int64_t>((left + per_ms - 1) / per_ms, 1000));
    }
    if (needs_polling()) limit = limit < 0 ? unwatched_poll_ms : std::min(limit, unwatched_poll_ms);
    return limit;
}

bool SdlPads::needs_polling() const {
    return std::any_of(pads_.begin(), pads_.end(), [](const Pad& pad) { return pad.input < 0; });
}

std::vector<int> SdlPads::watched() const {
    std::vector<int> descriptors;
    if (plugs_ >= 0) descriptors.push_back(plugs_);
    for (const Pad& pad : pads_)
        if (pad.input >= 0) descriptors.push_back(pad.input);
    return descriptors;
}

void SdlPads::drain() const {
    char buffer[4096];
    for (const int descriptor : watched())
        while (::read(descriptor, buffer, sizeof buffer) > 0) {
        }
}

bool SdlPads::escape_down() const {
    if (b_tapped_) return true;
    return std::any_of(pads_.begin(), pads_.end(), [](const Pad& pad) {
        return SDL_GameControllerGetButton(pad.controller, SDL_CONTROLLER_BUTTON_B) != 0;
    });
}

}  // namespace platform
