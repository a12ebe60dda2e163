// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The foundation every subsystem stands on: the byte string type of all texts
// (string.h), the one fatal-error path (fatal.h) and the data paths with the
// stage-background enumeration (paths.h).
#pragma once

#include "base/fatal.h"
#include "base/paths.h"
#include "base/string.h"
