// The SDL2 window on the dummy video driver: scale choice, events turned into the
// window procedure's messages, and presenting.
#include "platform/sdl_window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/desktop.h"

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

std::vector<Message> drain() {
    std::vector<Message> out;
    Message m{};
    while (peek_message(m))
        out.push_back(m);
    return out;
}

class SdlWindowEvents : public testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        reset_messages();
        ASSERT_TRUE(window_.open(648, 528, 1, "\xC2\xEE\xF0\xEF\xFB"));
        window_.pump(0);
        drain();
    }
    void TearDown() override { reset_messages(); }

    // The colour the window shows at (x, y), read back from its renderer.
    std::uint32_t shown(int x, int y) const {
        const SDL_Rect pixel{x, y, 1, 1};
        std::uint32_t argb = 0;
        SDL_RenderReadPixels(SDL_GetRenderer(window_.handle()), &pixel, SDL_PIXELFORMAT_ARGB8888,
                             &argb, static_cast<int>(sizeof argb));
        return argb & 0xFFFFFF;
    }

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
    const std::vector<Message> got = drain();
    ASSERT_EQ(got.size(), 8u);
    EXPECT_EQ(got[0].type, MessageType::mouse_move);
    EXPECT_EQ(got[0].x, 647);
    EXPECT_EQ(got[0].y, 0);
    EXPECT_EQ(got[1].type, MessageType::left_button);
    EXPECT_EQ(got[1].x, 10);
    EXPECT_EQ(got[1].y, 20);
    EXPECT_EQ(got[2].type, MessageType::character);
    EXPECT_EQ(got[2].code, 0xC6u);  // Ж
    EXPECT_EQ(got[3].code, static_cast<std::uint32_t>('a'));
    EXPECT_EQ(got[4].code, 8u);
    EXPECT_EQ(got[5].code, 13u);
    EXPECT_EQ(got[6].type, MessageType::close);
    EXPECT_EQ(got[7].type, MessageType::activate);
    EXPECT_EQ(got[7].code, 0u);
}

TEST_F(SdlWindowEvents, PresentsOnlyWhatChanged) {
    Bitmap frame(648, 528, 0x123456);
    frame.changes = 1;
    window_.present(frame);
    EXPECT_EQ(shown(5, 5), 0x123456u);
    // Pixels written behind the drawing operations' back count as no change.
    frame.pixels.assign(frame.pixels.size(), 0x00FF00);
    window_.present(frame);
    EXPECT_EQ(shown(5, 5), 0x123456u) << "shown without a change";
    ++frame.changes;
    window_.present(frame);
    EXPECT_EQ(shown(5, 5), 0x00FF00u) << "a change not shown";
    frame.pixels.assign(frame.pixels.size(), 0x0000FF);
    window_.present(frame, true);
    EXPECT_EQ(shown(5, 5), 0x0000FFu) << "not shown when forced";
    Bitmap wrong(10, 10, 0xFFFFFF);
    wrong.changes = 7;
    window_.present(wrong);
    EXPECT_EQ(shown(5, 5), 0x0000FFu) << "a framebuffer of another size shown";
}

}  // namespace
}  // namespace platform
