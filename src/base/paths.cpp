// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The stage-background enumeration over the file layer's sorted folder listing.
#include "base/paths.h"

#include <string>
#include <vector>

#include "platform/files.h"

namespace {
// The directory search: the names it found and how far it has got. The enumeration
// runs one name behind the search: pending_name is what the next call returns.
struct BackgroundSearch {
    bool started = false;
    std::vector<std::string> names;
    std::size_t next = 0;
    String pending_name;
};

BackgroundSearch& search() {
    static BackgroundSearch state;
    return state;
}

String take_next_name(BackgroundSearch& s) {
    if (s.next >= s.names.size()) return String();
    return String(s.names[s.next++].c_str());
}
}  // namespace

String next_background(const char* pattern) {
    BackgroundSearch& s = search();
    String result = s.pending_name;
    if (pattern[0] != '\0') {
        s.started = true;
        s.names = platform::list_matching(pattern);
        s.next = 0;
        s.pending_name = take_next_name(s);
        return String();
    }
    if (s.started) {
        s.pending_name = take_next_name(s);
        return result;
    }
    return String();
}

bool continue_backgrounds_after(const char* pattern, const String& name) {
    std::vector<std::string> names = platform::list_matching(pattern);
    std::size_t at = 0;
    while (at < names.size() && names[at] != name.c_str())
        ++at;
    if (at == names.size()) return false;
    BackgroundSearch& s = search();
    s.started = true;
    s.names = std::move(names);
    s.next = at + 1;
    s.pending_name = take_next_name(s);
    return true;
}

void reset_backgrounds() {
    search() = BackgroundSearch();
}
