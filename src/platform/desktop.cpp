// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop in use, the recording desktop, and the message queue.
#include "platform/desktop.h"

#include <deque>

namespace platform {

void RecordingDesktop::message_box(std::string_view text, std::string_view caption,
                                   unsigned flags) {
    boxes.push_back({std::string(text), std::string(caption), flags});
}

void RecordingDesktop::open_file(std::string_view path) {
    opened.emplace_back(path);
}

void RecordingDesktop::set_window_title(std::string_view new_title) {
    title = new_title;
}

namespace {
Desktop* current_desktop = nullptr;
std::deque<Message>& queue() {
    static std::deque<Message> messages;
    return messages;
}
}  // namespace

RecordingDesktop& recording_desktop() {
    static RecordingDesktop desktop;
    return desktop;
}

Desktop& desktop() {
    return current_desktop != nullptr ? *current_desktop : recording_desktop();
}

void set_desktop(Desktop* d) {
    current_desktop = d;
}

void post_message(const Message& message) {
    queue().push_back(message);
}

void post_quit_message(int exit_code) {
    post_message({MessageType::quit, static_cast<std::uint32_t>(exit_code)});
}

bool peek_message(Message& message) {
    if (queue().empty()) return false;
    message = queue().front();
    queue().pop_front();
    return true;
}

bool messages_waiting() {
    return !queue().empty();
}

void reset_messages() {
    queue().clear();
}

}  // namespace platform
