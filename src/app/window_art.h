// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The window's own icon (the vorp of the desktop icon) and mouse pointer. Their pixels
// are drawn by tools/assetgen and compiled into the program from a generated source.
#pragma once

#include "platform/sdl_window.h"

namespace app {

platform::ArgbPicture window_icon();
platform::ArgbPicture window_cursor();

}  // namespace app
