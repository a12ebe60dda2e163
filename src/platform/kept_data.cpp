// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The switch for keeping decoded data across games.
#include "platform/kept_data.h"

namespace platform {

namespace {
struct KeptData {
    bool keep = false;
    std::uint64_t generation = 0;
};

KeptData& kept_data() {
    static KeptData state;
    return state;
}
}  // namespace

void keep_decoded_data(bool keep) {
    kept_data().keep = keep;
    ++kept_data().generation;
}

bool decoded_data_kept() {
    return kept_data().keep;
}

std::uint64_t kept_data_generation() {
    return kept_data().generation;
}

}  // namespace platform
