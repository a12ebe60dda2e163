// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The termination handlers: a lock-free note and a write(2), both safe in a handler.
#include "platform/termination.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>

namespace platform {

namespace {

std::atomic<int> noted_signal{0};
std::atomic<int> wake_fd{-1};
static_assert(std::atomic<int>::is_always_lock_free);

void note_signal(int signal) {
    const int saved_errno = errno;
    request_termination(signal);
    const int fd = wake_fd.load();
    if (fd >= 0) {
        const std::uint64_t one = 1;
        // A full counter refuses, and wakes the sleep as well.
        if (::write(fd, &one, sizeof one) < 0) {
        }
    }
    errno = saved_errno;
}

}  // namespace

void catch_termination_signals(int wake_descriptor) {
    wake_fd.store(wake_descriptor);
    struct sigaction action {};
    action.sa_handler = note_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal, &action, nullptr);
}

int termination_signal() {
    return noted_signal.load();
}

void request_termination(int signal) {
    int none = 0;
    noted_signal.compare_exchange_strong(none, signal);
}

void reset_termination() {
    noted_signal.store(0);
}

}  // namespace platform
