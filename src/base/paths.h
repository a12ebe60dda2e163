// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The stage-background enumeration: hands out the names of the files matching a
// pattern one per call, in byte order, and starts over after the last.
#pragma once

#include "base/string.h"

// With a pattern (a game path such as "res\*.back"), starts a new enumeration and
// returns "". With "", returns the next name of the current enumeration, or ""
// when it is exhausted or none was started. The names carry no folder.
String next_background(const char* pattern);

// Starts a new enumeration of the pattern placed just after name, as if the calls had
// returned every name up to it: the next call with "" returns the one after. False,
// with nothing changed, when no name of the pattern is that one.
bool continue_backgrounds_after(const char* pattern, const String& name);

// Forgets the enumeration, as at start-up.
void reset_backgrounds();
