// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The SDL2 window on the dummy video driver: scale choice, events turned into the
// window procedure's messages, presenting, and full screen; and the pump's sleep on the
// dummy driver and on an X server.
#include "platform/sdl_window.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/desktop.h"
#include "support/messages.h"

namespace platform {
namespace {

TEST(SdlWindowScale, WholeFactorsOnLargeScreensOnly) {
    const struct {
        int screen_w, screen_h, expected;
    } cases[] = {
        {1024, 768, 1},  {1920, 1080, 1},  // less than twice the board, or 2x over 90 %
        {2560, 1440, 2}, {3840, 2160, 3},  // 3 x 528 = 1584 <= 1944
        {1296, 1056, 1},                   // exactly twice, but 2x is over 90 %
        {5120, 2880, 4},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SdlWindow::choose_scale(c.screen_w, c.screen_h, 648, 528), c.expected)
            << c.screen_w << "x" << c.screen_h;
    EXPECT_EQ(SdlWindow::choose_scale(0, 0, 0, 0), 1);
}

using test_support::drain_messages;

// A message of the type at the game pixel.
void expect_message_at(const Message& m, MessageType type, int x, int y) {
    EXPECT_EQ(m.type, type);
    EXPECT_EQ(m.x, x);
    EXPECT_EQ(m.y, y);
}

// The colour the window surface shows at a window pixel, as 0xRRGGBB.
Pixel shown_at(const SDL_Surface* surface, int wx, int wy) {
    const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(surface->pixels) +
                                                      wy * surface->pitch);
    Uint8 r = 0, g = 0, b = 0;
    SDL_GetRGB(row[wx], surface->format, &r, &g, &b);
    return static_cast<Pixel>(r << 16 | g << 8 | b);
}

class SdlWindowEvents : public testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        reset_messages();
        ASSERT_TRUE(window_.open(648, 528, 1, "\xC2\xEE\xF0\xEF\xFB"));
        window_.pump(0);
        drain_messages();
    }
    void TearDown() override { reset_messages(); }

    static void push(SDL_Event event) {
        event.common.timestamp = SDL_GetTicks();
        SDL_PushEvent(&event);
    }
    SdlWindow window_;
};

TEST_F(SdlWindowEvents, BecomeTheWindowProceduresMessages) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = 700;  // beyond the right edge: clamped
    e.motion.y = -4;
    push(e);
    e = {};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = 10;
    e.button.y = 20;
    push(e);
    e.button.button = SDL_BUTTON_RIGHT;  // not the left button: ignored
    push(e);
    e = {};
    e.type = SDL_TEXTINPUT;
    std::strcpy(e.text.text, "Ж中a");  // a character without a Windows-1251 byte is dropped
    push(e);
    e = {};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = SDLK_BACKSPACE;
    push(e);
    e.key.keysym.sym = SDLK_KP_ENTER;
    push(e);
    e = {};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    push(e);
    e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    push(e);
    window_.pump(100);
    const std::vector<Message> got = drain_messages();
    ASSERT_EQ(got.size(), 8u);
    expect_message_at(got[0], MessageType::mouse_move, 647, 0);
    expect_message_at(got[1], MessageType::left_button, 10, 20);
    EXPECT_EQ(got[2].type, MessageType::character);
    EXPECT_EQ(got[2].code, 0xC6u);  // Ж
    EXPECT_EQ(got[3].code, static_cast<std::uint32_t>('a'));
    EXPECT_EQ(got[4].code, 8u);
    EXPECT_EQ(got[5].code, 13u);
    EXPECT_EQ(got[6].type, MessageType::close);
    EXPECT_EQ(got[7].type, MessageType::activate);
    EXPECT_EQ(got[7].code, 0u);
}

// Off X11 no exposure follows the window's showing (a Wayland compositor keeps what the
// window sent and never asks for a paint): being shown asks for the first paint, or the
// screens drawn only on request (the menus' items) would never appear.
TEST_F(SdlWindowEvents, BeingShownAsksForThePaintNoExposureWillAskFor) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_SHOWN;
    push(e);
    window_.pump(100);
    const std::vector<Message> got = drain_messages();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].type, MessageType::paint);
}

// The window surface after a present holds every game pixel as a scale x scale block;
// later presents send only the tiles drawing touched, and all of it after an expose.
TEST(SdlWindowPresent, WholeFactorBlocksAndOnlyTouchedTiles) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    for (const int scale : {1, 2, 3}) {
        reset_messages();
        SdlWindow window;
        ASSERT_TRUE(window.open(100, 70, scale, "v"));
        SDL_Surface* surface = SDL_GetWindowSurface(window.handle());
        ASSERT_NE(surface, nullptr);
        ASSERT_EQ(surface->format->BytesPerPixel, 4);
        const auto shown = [&](int wx, int wy) { return shown_at(surface, wx, wy); };
        // Every window pixel is the game pixel it scales.
        const auto expect_shows = [&](const Bitmap& frame, const char* when) {
            int wrong = 0;
            for (int wy = 0; wy < 70 * scale; ++wy)
                for (int wx = 0; wx < 100 * scale; ++wx)
                    if (shown(wx, wy) != frame.at(wx / scale, wy / scale)) ++wrong;
            EXPECT_EQ(wrong, 0) << "scale " << scale << ", " << when;
        };

        Bitmap frame(100, 70);
        for (int y = 0; y < 70; ++y)
            for (int x = 0; x < 100; ++x)
                frame.at(x, y) = static_cast<Pixel>(x * 0x020301 + y * 0x010203) & 0xFFFFFF;
        track_touches(frame);
        EXPECT_TRUE(window.present(frame));
        expect_shows(frame, "first present");

        // Pixels written behind the drawing operations' back count as no change.
        const Pixel first = frame.at(0, 0);
        frame.at(0, 0) = 0x00FF00;
        EXPECT_TRUE(window.present(frame));
        EXPECT_EQ(shown(0, 0), first) << "scale " << scale << ": shown without a change";
        frame.at(0, 0) = first;

        // A stray pixel in a tile drawing does not touch stays: that tile is not sent.
        std::fill(frame.touched.begin(), frame.touched.end(), 0);
        static_cast<Uint32*>(surface->pixels)[0] = SDL_MapRGB(surface->format, 1, 2, 3);
        DrawContext dc(&frame);
        fill_rect(dc, 60, 40, 75, 50, rgb(200, 10, 20));
        EXPECT_TRUE(window.present(frame));
        EXPECT_EQ(shown(0, 0), 0x010203u) << "scale " << scale;
        EXPECT_EQ(shown(60 * scale, 40 * scale), 0xC80A14u) << "scale " << scale;

        // Uncovered, the window gets everything again.
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = SDL_WINDOWEVENT_EXPOSED;
        SDL_PushEvent(&e);
        window.pump(0);
        std::fill(frame.touched.begin(), frame.touched.end(), 0);
        EXPECT_TRUE(window.present(frame));
        expect_shows(frame, "after an expose");

        EXPECT_FALSE(window.present(Bitmap(10, 10))) << "another size is not shown";

        // A click anywhere in a block is a click on its game pixel.
        reset_messages();
        e = {};
        e.type = SDL_MOUSEBUTTONDOWN;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.x = 61 * scale + scale - 1;
        e.button.y = 41 * scale;
        SDL_PushEvent(&e);
        window.pump(0);
        Message m{};
        ASSERT_TRUE(peek_message(m));
        SCOPED_TRACE("scale " + std::to_string(scale));
        expect_message_at(m, MessageType::left_button, 61, 41);
        reset_messages();
    }
}

// Full screen on the dummy driver's 1024 x 768 screen: a 100 x 70 game at ten times its
// size, centred on black, clicks mapped back and those on the margins dropped; F11 again
// gives the window back at its own scale.
TEST(SdlWindowFullScreen, LargestWholeFactorCentredOnBlackAndBack) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    reset_messages();
    SdlWindow window;
    ASSERT_TRUE(window.open(100, 70, 2, "v"));
    Bitmap frame(100, 70);
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 100; ++x)
            frame.at(x, y) = static_cast<Pixel>(0x102030 + x * 0x010000 + y);
    track_touches(frame);
    ASSERT_TRUE(window.present(frame));

    ASSERT_TRUE(window.toggle_full_screen());
    EXPECT_TRUE(window.full_screen());
    window.pump(0);
    ASSERT_TRUE(window.present(frame));
    SDL_Surface* surface = SDL_GetWindowSurface(window.handle());
    ASSERT_NE(surface, nullptr);
    ASSERT_EQ(surface->w, 1024);
    ASSERT_EQ(surface->h, 768);
    EXPECT_EQ(window.scale(), 10);
    const int left = 12, top = 34;  // (1024 - 1000) / 2, (768 - 700) / 2
    const auto shown = [&](int wx, int wy) { return shown_at(surface, wx, wy); };
    int wrong = 0;
    for (int wy = 0; wy < 768; ++wy)
        for (int wx = 0; wx < 1024; ++wx) {
            const bool on_picture = wx >= left && wx < left + 1000 && wy >= top && wy < top + 700;
            const Pixel expected =
                on_picture ? frame.at((wx - left) / 10, (wy - top) / 10) : Pixel{0};
            if (shown(wx, wy) != expected) ++wrong;
        }
    EXPECT_EQ(wrong, 0);

    // Later changes land in the same place.
    DrawContext dc(&frame);
    fill_rect(dc, 99, 69, 100, 70, rgb(200, 10, 20));
    ASSERT_TRUE(window.present(frame));
    EXPECT_EQ(shown(left + 999, top + 699), 0xC80A14u);
    EXPECT_EQ(shown(left + 1000, top + 699), 0u);

    // Clicks: inside a block, on each margin, and a move over a margin (clamped).
    reset_messages();
    const struct {
        int x, y;
    } clicks[] = {{left + 61 * 10 + 9, top + 41 * 10}, {left - 1, 300}, {500, top + 700}};
    for (const auto& c : clicks) {
        SDL_Event e{};
        e.type = SDL_MOUSEBUTTONDOWN;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.x = c.x;
        e.button.y = c.y;
        SDL_PushEvent(&e);
    }
    SDL_Event move{};
    move.type = SDL_MOUSEMOTION;
    move.motion.x = 3;
    move.motion.y = 767;
    SDL_PushEvent(&move);
    window.pump(0);
    const std::vector<Message> got = drain_messages();
    ASSERT_EQ(got.size(), 2u);
    expect_message_at(got[0], MessageType::left_button, 61, 41);
    expect_message_at(got[1], MessageType::mouse_move, 0, 69);

    ASSERT_TRUE(window.toggle_full_screen());
    EXPECT_FALSE(window.full_screen());
    window.pump(0);
    ASSERT_TRUE(window.present(frame));
    surface = SDL_GetWindowSurface(window.handle());
    EXPECT_EQ(surface->w, 200);
    EXPECT_EQ(surface->h, 140);
    EXPECT_EQ(window.scale(), 2);
    EXPECT_EQ(shown(199, 139), 0xC80A14u);
    EXPECT_EQ(shown(0, 0), frame.at(0, 0));
    reset_messages();
}

// A game picture larger than the screen cannot go full screen: the window stays.
TEST(SdlWindowFullScreen, RefusedWhenTheScreenIsSmallerThanTheGame) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    SdlWindow window;
    ASSERT_TRUE(window.open(1100, 70, 1, "v"));
    EXPECT_FALSE(window.toggle_full_screen());
    EXPECT_FALSE(window.full_screen());
}

// How long a pump with that timeout took, in milliseconds.
double pump_ms(SdlWindow& window, int timeout_ms) {
    const auto start = std::chrono::steady_clock::now();
    window.pump(timeout_ms);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// A pump asleep for a long time wakes when another thread wakes it (the audio thread at
// the end of a music file), and the sleep after that is a whole sleep again.
void expect_a_wake_ends_the_sleep() {
    reset_messages();
    SdlWindow window;
    ASSERT_TRUE(window.open(100, 70, 1, "v"));
    // The window's own first events (mapping, exposure, focus) come and go first.
    for (int i = 0; i < 50 && pump_ms(window, 100) < 90; ++i) {
    }
    std::thread waker([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        SdlWindow::wake_from_any_thread();
    });
    const double woken_after = pump_ms(window, 20'000);
    waker.join();
    EXPECT_GE(woken_after, 90);
    EXPECT_LT(woken_after, 5'000);
    EXPECT_GE(pump_ms(window, 300), 290);
    reset_messages();
}

TEST(SdlWindowSleep, AWakeFromAnotherThreadEndsItOnTheDummyDriver) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    expect_a_wake_ends_the_sleep();
}

// On X11 the pump sleeps on the display connection itself; this test runs its own copy
// of the test program under an X server.
TEST(SdlWindowSleep, AWakeFromAnotherThreadEndsItOnX11) {
    if (std::getenv("VORPY_TEST_ON_X11") == nullptr) {
        const std::string command =
            "VORPY_TEST_ON_X11=1 xvfb-run -a -s '-screen 0 640x480x24' /proc/" +
            std::to_string(getpid()) +
            "/exe --gtest_filter=SdlWindowSleep.AWakeFromAnotherThreadEndsItOnX11";
        EXPECT_EQ(std::system(command.c_str()), 0);
        return;
    }
    unsetenv("SDL_VIDEODRIVER");
    expect_a_wake_ends_the_sleep();
}

}  // namespace
}  // namespace platform
