// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Graphics: pictures loaded from BMP and JPEG files or captured from a drawing
// context (picture.h); off-screen surfaces, scoped pens and fonts, and text at a
// point or centred (drawing.h).
#pragma once

#include "graphics/drawing.h"
#include "graphics/picture.h"
