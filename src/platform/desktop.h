// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the game asks of the desktop besides drawing: message boxes, opening a
// file with the desktop's program, the window title, full screen, the live Escape
// key and the screen size; and the message queue between the shell and the window procedure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Message box flags the game uses.
enum MessageBoxFlags : unsigned { MB_OK = 0x0, MB_ICONEXCLAMATION = 0x30 };

class Desktop {
  public:
    virtual ~Desktop() = default;
    // Shows a modal message box (Windows-1251 texts) and returns once it is dismissed.
    virtual void message_box(std::string_view text, std::string_view caption, unsigned flags) = 0;
    // Hands a file to the desktop's program for its type; the outcome is not reported.
    virtual void open_file(std::string_view path) = 0;
    // Sets the window title (Windows-1251).
    virtual void set_window_title(std::string_view title) = 0;
    // Switches the window to full screen and back; the game's pixels stay the same.
    virtual void toggle_full_screen() = 0;
    // Whether the window is in full screen now.
    virtual bool is_full_screen() = 0;
    // Whether the Escape key is held down right now.
    virtual bool escape_down() = 0;
    virtual int screen_width() = 0;
    virtual int screen_height() = 0;
};

// A desktop that only records what it is asked, for tests and the headless shell.
class RecordingDesktop : public Desktop {
  public:
    struct Box {
        std::string text;
        std::string caption;
        unsigned flags;
    };
    void message_box(std::string_view text, std::string_view caption, unsigned flags) override;
    void open_file(std::string_view path) override;
    void set_window_title(std::string_view title) override;
    void toggle_full_screen() override { full_screen = !full_screen; }
    bool is_full_screen() override { return full_screen; }
    bool escape_down() override { return escape; }
    int screen_width() override { return screen_w; }
    int screen_height() override { return screen_h; }

    std::vector<Box> boxes;
    std::vector<std::string> opened;
    std::string title;
    bool full_screen = false;
    bool escape = false;
    int screen_w = 1024;
    int screen_h = 768;
};

// The desktop in use; a RecordingDesktop until a shell installs its own.
Desktop& desktop();
void set_desktop(Desktop* desktop);  // null puts the recording desktop back
RecordingDesktop& recording_desktop();

// Messages from the shell to the window procedure.
enum class MessageType {
    quit,  // ends the message loop; code is the exit code
    create,
    destroy,
    activate,  // code: 1 active, 0 inactive
    paint,
    close,
    key_down,     // code: the key's VirtualKey
    character,    // code: the character (Windows-1251 byte, or a control code)
    mouse_move,   // x, y in client pixels
    left_button,  // x, y in client pixels
};

// The keys the game acts on, by their desktop key codes (key_down's code). Keypad
// Enter arrives as VK_RETURN.
enum VirtualKey : std::uint32_t {
    VK_RETURN = 0x0D,
    VK_SPACE = 0x20,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_H = 0x48,
    VK_M = 0x4D,
    VK_F11 = 0x7A,
};

struct Message {
    MessageType type;
    std::uint32_t code = 0;
    int x = 0;
    int y = 0;
};

void post_message(const Message& message);
// Queues the request to end the message loop with an exit code.
void post_quit_message(int exit_code);
// Takes the oldest message, if any; never waits.
bool peek_message(Message& message);
// Whether a message is waiting.
bool messages_waiting();
// Empties the queue; tests use it to start clean.
void reset_messages();

}  // namespace platform
