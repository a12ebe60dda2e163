// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Ends asked for from outside the game: SIGTERM, SIGHUP and SIGINT are only noted by
// their handler, which also wakes a sleeping loop; the loop looks at the note between
// two passes and ends there, with the game in a state it can keep.
#pragma once

namespace platform {

// Installs the handlers of SIGTERM, SIGHUP and SIGINT. Each notes its signal and, when
// wake_descriptor is not -1, writes a count of 1 to it (an eventfd the loop's sleep
// watches). Safe to call again; the last descriptor given is the one written.
void catch_termination_signals(int wake_descriptor);

// The signal that asked the program to end, 0 while none did.
int termination_signal();

// Notes an end as a handler would, for the ends that come without a signal.
void request_termination(int signal);

// Forgets the note, as at start-up.
void reset_termination();

}  // namespace platform
