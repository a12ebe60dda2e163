// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The player's language for the texts the game words itself. The choice is the system's
// (platform/locale.h); the rules and every layer above reach it through here.
#pragma once

#include "platform/locale.h"

using platform::Language;
using platform::language;
using platform::localized;
