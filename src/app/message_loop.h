// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The message loop and the window procedure: one queued message per pass handed to
// the procedure, which stores input for the frame function, repaints and passes close
// requests on; then a frame while the window is active, and one more after it stops
// being active.
#pragma once

#include <cstdint>

#include "platform/desktop.h"
#include "platform/window.h"

namespace app {

// Handles one message: input into the flow's input variables, repaint, close.
void window_procedure(platform::Window& window, const platform::Message& message);

// One pass of the loop: takes one queued message if there is one and dispatches it,
// then runs a frame unless the window has been inactive for a frame already. False
// once the loop has ended (the quit message, or the frame function said so); the
// exit code is then in app_state().
bool loop_pass(platform::Window& window);

// The platform counter reading at which the loop next has a frame to run if no message
// comes: due_now before the first frame and while the one frame after deactivation is
// owed; never_due once the window is inactive and that frame has run, or the loop has
// ended; otherwise when the current state's work is next due. A shell may sleep until
// then or until a message comes, whichever is first.
std::int64_t next_frame_due();

// Runs passes until the loop ends and returns its exit code.
int run_message_loop(platform::Window& window);

}  // namespace app
