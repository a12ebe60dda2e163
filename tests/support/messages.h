// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The messages a shell has queued for the window procedure, taken for a test to look at.
#pragma once

#include <vector>

#include "platform/desktop.h"

namespace test_support {

inline std::vector<platform::Message> drain_messages() {
    std::vector<platform::Message> out;
    platform::Message m{};
    while (platform::peek_message(m))
        out.push_back(m);
    return out;
}

}  // namespace test_support
