// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Game controllers through SDL's virtual joystick on the dummy video driver: the stick's
// dead zone, the held arrow's repeat, each button's message, and whole games played by a
// controller alone in-process, one controller plugged in mid-game.
#include "platform/sdl_pads.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/message_loop.h"
#include "app/startup.h"
#include "board/board.h"
#include "flow/flow.h"
#include "menu/windowmenu.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/sdl_desktop.h"
#include "platform/sdl_window.h"
#include "platform/window.h"
#include "sound/music.h"
#include "support/messages.h"
#include "support/test_support.h"

namespace platform {
namespace {

// ---- The stick -----------------------------------------------------------------------

struct StickCase {
    std::string name;
    int x, y;
    std::uint32_t held, expected;
};

class StickArrow : public testing::TestWithParam<StickCase> {};

TEST_P(StickArrow, LargerAxisPastTheDeadZoneWithALowerMarkToLetGo) {
    const StickCase& c = GetParam();
    EXPECT_EQ(stick_arrow(c.x, c.y, c.held), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pads, StickArrow,
    testing::Values(StickCase{"Centred", 0, 0, 0, 0},
                    StickCase{"InsideTheDeadZone", 16000, -16000, 0, 0},
                    StickCase{"Right", 16384, 0, 0, VK_RIGHT},
                    StickCase{"FullLeft", -32768, 300, 0, VK_LEFT},
                    StickCase{"UpIsNegative", 2000, -20000, 0, VK_UP},
                    StickCase{"Down", -2000, 32767, 0, VK_DOWN},
                    StickCase{"LargerAxisWins", 20000, 25000, 0, VK_DOWN},
                    StickCase{"HeldAboveTheLowerMark", 12288, 0, VK_RIGHT, VK_RIGHT},
                    StickCase{"LetGoBelowIt", 12287, 0, VK_RIGHT, 0},
                    StickCase{"HeldUntilTheOtherAxisLeadsMore", 20000, 21000, VK_RIGHT, VK_DOWN},
                    StickCase{"TurnedOverToTheOtherSide", -20000, 0, VK_RIGHT, VK_LEFT}),
    test_support::CaseName());

// ---- A controller on the window --------------------------------------------------------

// A controller of every button and axis SDL's game-controller API knows, which SDL maps
// by itself; plugged in while it lives.
class VirtualPad {
  public:
    VirtualPad() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        desc.name = "Vorpy test pad";
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        EXPECT_GE(index, 0) << SDL_GetError();
        joystick_ = SDL_JoystickOpen(index);
        EXPECT_NE(joystick_, nullptr) << SDL_GetError();
    }
    ~VirtualPad() { unplug(); }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    void button(SDL_GameControllerButton b, bool down) {
        SDL_JoystickSetVirtualButton(joystick_, b, down ? 1 : 0);
    }
    void axis(SDL_GameControllerAxis a, int value) {
        SDL_JoystickSetVirtualAxis(joystick_, a, static_cast<Sint16>(value));
    }
    void unplug() {
        if (joystick_ == nullptr) return;
        const SDL_JoystickID instance = SDL_JoystickInstanceID(joystick_);
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == instance) SDL_JoystickDetachVirtual(i);
    }

  private:
    SDL_Joystick* joystick_ = nullptr;
};

using test_support::drain_messages;

struct Sent {
    MessageType type;
    std::uint32_t code;
    bool operator==(const Sent&) const = default;
};
void PrintTo(const Sent& s, std::ostream* os) {
    *os << static_cast<int>(s.type) << ":" << s.code;
}
std::vector<Sent> sent(const std::vector<Message>& messages) {
    std::vector<Sent> out;
    for (const Message& m : messages)
        out.push_back({m.type, m.code});
    return out;
}

class PadOnWindow : public testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        // The dummy driver's window never has the focus, without which SDL holds a
        // controller's input back as it holds the keyboard's.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        set_clock(&clock_);
        reset_messages();
        ASSERT_TRUE(window_.open(648, 528, 1, "v"));
        window_.start_pads();
        desktop_.set_window(&window_);
        window_.pump(0);
        drain_messages();
    }
    void TearDown() override {
        reset_messages();
        set_clock(nullptr);
    }
    // SDL's events taken, what they made.
    std::vector<Sent> pumped() {
        window_.pump(0);
        return sent(drain_messages());
    }
    VirtualClock clock_;
    SdlWindow window_;
    SdlDesktop desktop_;
};

constexpr Sent key(std::uint32_t k) {
    return {MessageType::key_down, k};
}

TEST_F(PadOnWindow, ComesAndGoes) {
    EXPECT_EQ(window_.pads().count(), 0u);
    {
        VirtualPad pad;
        EXPECT_TRUE(pumped().empty());
        EXPECT_EQ(window_.pads().count(), 1u);
        EXPECT_EQ(window_.pads().sleep_limit_ms(), 10) << "a virtual controller is looked at";
        VirtualPad second;
        pumped();
        EXPECT_EQ(window_.pads().count(), 2u);
        second.unplug();
        pumped();
        EXPECT_EQ(window_.pads().count(), 1u);
        pad.button(SDL_CONTROLLER_BUTTON_A, true);
        EXPECT_EQ(pumped(), std::vector<Sent>{key(VK_RETURN)}) << "the one left still plays";
    }
    pumped();
    EXPECT_EQ(window_.pads().count(), 0u);
    EXPECT_EQ(window_.pads().sleep_limit_ms(), -1) << "no controller: the sleep is as it was";
}

struct ButtonCase {
    std::string name;
    SDL_GameControllerButton button;
    std::vector<Sent> messages;  // at the press; the release sends nothing
};

class PadButtons : public PadOnWindow, public testing::WithParamInterface<ButtonCase> {};

TEST_P(PadButtons, SendWhatTheirKeysSend) {
    const ButtonCase& c = GetParam();
    VirtualPad pad;
    pumped();
    pad.button(c.button, true);
    EXPECT_EQ(pumped(), c.messages);
    clock_.advance_ms(2000);
    EXPECT_TRUE(pumped().empty()) << "only the arrows repeat";
    pad.button(c.button, false);
    EXPECT_TRUE(pumped().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Pads, PadButtons,
    testing::Values(ButtonCase{"AIsEnter", SDL_CONTROLLER_BUTTON_A, {key(VK_RETURN)}},
                    ButtonCase{
                        "BIsEscape", SDL_CONTROLLER_BUTTON_B, {{MessageType::character, 27}}},
                    ButtonCase{"YIsH", SDL_CONTROLLER_BUTTON_Y, {key(VK_H)}},
                    ButtonCase{"BackIsM", SDL_CONTROLLER_BUTTON_BACK, {key(VK_M)}},
                    ButtonCase{"XIsNothing", SDL_CONTROLLER_BUTTON_X, {}},
                    ButtonCase{"StartIsNothing", SDL_CONTROLLER_BUTTON_START, {}}),
    test_support::CaseName());

TEST_F(PadOnWindow, BIsTheLiveEscapeWhileHeldAndUntilTheNextPumpAfterATap) {
    VirtualPad pad;
    pumped();
    EXPECT_FALSE(desktop_.escape_down());
    pad.button(SDL_CONTROLLER_BUTTON_B, true);
    pumped();
    EXPECT_TRUE(desktop_.escape_down());
    pumped();
    EXPECT_TRUE(desktop_.escape_down()) << "held";
    pad.button(SDL_CONTROLLER_BUTTON_B, false);
    pumped();
    EXPECT_FALSE(desktop_.escape_down());
    // Pressed and let go between two pumps: the frame after still sees it once.
    pad.button(SDL_CONTROLLER_BUTTON_B, true);
    SDL_JoystickUpdate();
    pad.button(SDL_CONTROLLER_BUTTON_B, false);
    pumped();
    EXPECT_TRUE(desktop_.escape_down());
    pumped();
    EXPECT_FALSE(desktop_.escape_down());
}

TEST_F(PadOnWindow, AHeldArrowRepeatsAsAKeyDoes) {
    VirtualPad pad;
    pumped();
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    EXPECT_EQ(pumped(), std::vector<Sent>{key(VK_DOWN)});
    clock_.advance_ms(ArrowRepeat::delay_ms - 1);
    EXPECT_TRUE(pumped().empty());
    clock_.advance_ms(1);
    EXPECT_EQ(pumped(), std::vector<Sent>{key(VK_DOWN)});
    clock_.advance_ms(ArrowRepeat::interval_ms - 1);
    EXPECT_TRUE(pumped().empty());
    clock_.advance_ms(1);
    EXPECT_EQ(pumped(), std::vector<Sent>{key(VK_DOWN)});
    clock_.advance_ms(10 * ArrowRepeat::interval_ms);
    EXPECT_EQ(pumped(), std::vector<Sent>{key(VK_DOWN)}) << "a late repeat comes once";
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
    pumped();
    clock_.advance_ms(2000);
    EXPECT_TRUE(pumped().empty());

    // The stick: past the dead zone an arrow, inside it nothing, then a repeat.
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 9000);
    EXPECT_TRUE(pumped().empty());
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, -30000);
    EXPECT_EQ(pumped(), std::vector<Sent>{key(VK_LEFT)});
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, -28000);  // wobbling while held: no new press
    EXPECT_TRUE(pumped().empty());
    clock_.advance_ms(ArrowRepeat::delay_ms);
    EXPECT_EQ(pumped(), std::vector<Sent>{key(VK_LEFT)});
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    pumped();
    clock_.advance_ms(2000);
    EXPECT_TRUE(pumped().empty());
}

TEST(ArrowRepeatTimes, TheSleepEndsWhenTheNextRepeatIsDue) {
    VirtualClock clock;
    set_clock(&clock);
    ArrowRepeat repeat;
    EXPECT_FALSE(repeat.next_due());
    repeat.press(VK_UP, 7, clock.counter());
    const std::int64_t per_ms = clock.frequency() / 1000;
    EXPECT_EQ(repeat.next_due(), clock.counter() + ArrowRepeat::delay_ms * per_ms);
    repeat.release(8);  // another source's arrow
    EXPECT_TRUE(repeat.next_due());
    repeat.release(7);
    EXPECT_FALSE(repeat.next_due());
    set_clock(nullptr);
}

TEST_F(PadOnWindow, ANewerArrowTakesTheRepeatOver) {
    VirtualPad pad;
    pumped();
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    EXPECT_EQ(pumped(), std::vector<Sent>{key(VK_RIGHT)});
    clock_.advance_ms(200);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    EXPECT_EQ(pumped(), std::vector<Sent>{key(VK_UP)});
    clock_.advance_ms(ArrowRepeat::delay_ms);
    EXPECT_EQ(pumped(), std::vector<Sent>{key(VK_UP)});
    // Letting go of the older one leaves the newer repeating.
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
    clock_.advance_ms(ArrowRepeat::interval_ms);
    EXPECT_EQ(pumped(), std::vector<Sent>{key(VK_UP)});
}

// On X11 the pump sleeps on the display connection, which a controller's input does not
// reach: a controller SDL must look at itself ends the sleep within its polling time.
// This test runs its own copy of the test program under an X server.
TEST(PadSleep, APressEndsTheSleepOnX11) {
    if (std::getenv("VORPY_TEST_ON_X11") == nullptr) {
        const std::string command =
            "VORPY_TEST_ON_X11=1 xvfb-run -a -s '-screen 0 640x480x24' /proc/" +
            std::to_string(getpid()) + "/exe --gtest_filter=PadSleep.APressEndsTheSleepOnX11";
        EXPECT_EQ(std::system(command.c_str()), 0);
        return;
    }
    unsetenv("SDL_VIDEODRIVER");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    reset_messages();
    SdlWindow window;
    ASSERT_TRUE(window.open(100, 70, 1, "v"));
    window.start_pads();
    VirtualPad pad;
    window.pump(0);
    drain_messages();
    ASSERT_EQ(window.pads().count(), 1u);
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    const auto start = std::chrono::steady_clock::now();
    std::vector<Message> got;
    while (got.empty() && std::chrono::steady_clock::now() - start < std::chrono::seconds(2)) {
        window.pump(-1);
        got = drain_messages();
    }
    EXPECT_EQ(sent(got), std::vector<Sent>{key(VK_RETURN)});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}

// ---- Whole games by a controller alone ---------------------------------------------------

class PadGame : public PadOnWindow {
  protected:
    void SetUp() override {
        // A folder of its own, so that nothing the game writes reaches another test.
        const std::filesystem::path game(VORPY_GAME_DIR);
        for (const char* data : {"menu", "res", "sound"})
            std::filesystem::create_directory_symlink(game / data, folder_.path() / data);
        std::filesystem::copy_file(game / "score.sco", folder_.path() / "score.sco");
        app::reset_game_state();
        PadOnWindow::SetUp();
        set_desktop(&desktop_);
        app::prepare_globals();
        app::place_window(desktop_.screen_width(), desktop_.screen_height());
        app::create_window(game_window_);
        app::start_up(game_window_, 1);
        post_message({MessageType::paint});
        passes(2);
    }
    void TearDown() override {
        app::close_game();
        app::reset_game_state();
        PadOnWindow::TearDown();
    }
    // Passes of the loop as the windowed shell runs them, the virtual clock a
    // millisecond on before each.
    void passes(int n) {
        for (int i = 0; i < n; ++i) {
            clock_.advance_ms(1);
            window_.pump(0);
            ASSERT_TRUE(app::loop_pass(game_window_));
        }
    }
    // A button pressed and let go, with the passes that take its message.
    void tap(VirtualPad& pad, SDL_GameControllerButton button) {
        pad.button(button, true);
        passes(2);
        pad.button(button, false);
        passes(2);
    }
    // From the main menu into play by keys: Down lights "new game", Enter chooses it.
    void tap_keys_to_play() {
        post_message({MessageType::key_down, VK_DOWN});
        passes(2);
        post_message({MessageType::key_down, VK_RETURN});
        passes(4);
    }
    std::int32_t state() const { return flow::flow_state().game_state; }
    std::int32_t highlight() const {
        const windowmenu* menu = flow::menu_on_screen(state());
        return menu != nullptr ? menu->hovered_item : -1;
    }

    test_support::ScratchFolder folder_{"pads"};
    Window game_window_;
};

TEST_F(PadGame, AMenuChoiceAndAPairRemovedByTheControllerAlone) {
    VirtualPad pad;
    passes(2);
    ASSERT_EQ(state(), MAIN_MENU);
    tap(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    EXPECT_EQ(highlight(), 3);
    // The stick steps on, and back.
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 30000);
    passes(2);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    passes(2);
    EXPECT_EQ(highlight(), 4);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, -30000);
    passes(2);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    passes(2);
    EXPECT_EQ(highlight(), 3);
    tap(pad, SDL_CONTROLLER_BUTTON_A);
    passes(3);
    ASSERT_EQ(state(), PLAY);

    // Two tiles of one kind side by side, the first the top-left tile.
    rules::Board board{};
    board.cells.fill(-1);
    const auto at = [](int column, int row) { return column * rules::board_rows + row; };
    board.cells[at(2, 2)] = 5;
    board.cells[at(3, 2)] = 5;
    board.cells[at(8, 6)] = 7;
    board.cells[at(10, 6)] = 7;
    rules::place_board(board);
    post_message({MessageType::paint});
    passes(2);
    const std::int32_t before = rules::rules_state().tiles_left;
    tap(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT);  // shows the cursor on the top-left tile
    EXPECT_EQ(flow::flow_state().cursor.visible, 1);
    EXPECT_EQ(flow::flow_state().cursor.column, 2);
    tap(pad, SDL_CONTROLLER_BUTTON_A);
    tap(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    EXPECT_EQ(flow::flow_state().cursor.column, 3);
    tap(pad, SDL_CONTROLLER_BUTTON_A);
    clock_.advance_ms(101);
    passes(2);
    EXPECT_EQ(rules::rules_state().tiles_left, before - 2);

    // Y asks for the hint prompt, B pauses the game through the live Escape.
    tap(pad, SDL_CONTROLLER_BUTTON_Y);
    EXPECT_EQ(state(), HINT_PROMPT);
    tap(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    tap(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    tap(pad, SDL_CONTROLLER_BUTTON_A);  // the prompt's second item: back to play
    ASSERT_EQ(state(), PLAY);
    tap(pad, SDL_CONTROLLER_BUTTON_B);
    EXPECT_EQ(state(), PAUSE_MENU);
}

TEST_F(PadGame, AControllerPluggedInMidGamePlaysAtOnce) {
    tap_keys_to_play();
    ASSERT_EQ(state(), PLAY);
    EXPECT_EQ(window_.pads().count(), 0u);
    VirtualPad pad;
    passes(2);
    EXPECT_EQ(window_.pads().count(), 1u);
    tap(pad, SDL_CONTROLLER_BUTTON_BACK);
    EXPECT_TRUE(music().muted);
    tap(pad, SDL_CONTROLLER_BUTTON_BACK);
    EXPECT_FALSE(music().muted);
    pad.button(SDL_CONTROLLER_BUTTON_B, true);
    passes(2);
    EXPECT_EQ(state(), PAUSE_MENU);
    pad.button(SDL_CONTROLLER_BUTTON_B, false);
    passes(2);
    // Unplugged, the game goes on by keys.
    pad.unplug();
    passes(2);
    EXPECT_EQ(window_.pads().count(), 0u);
    post_message({MessageType::key_down, VK_DOWN});
    passes(2);
    EXPECT_EQ(highlight(), 3);
}

}  // namespace
}  // namespace platform
