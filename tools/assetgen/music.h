// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The game's music and sounds, synthesised: notes of a few simple instruments
// with envelopes, a small room reverb, and filtered noise for breath and swishes.
#pragma once

#include "output.h"

namespace assetgen {

inline constexpr int sample_rate = 22050;

// "sound\intro.wav": about 15 s, stereo.
Sound intro_music();
// "sound\menu.wav": a 30 s stereo loop whose end runs on into its start.
Sound menu_music();
// "sound\bells.wav": a short peal, about 2.5 s, stereo.
Sound bells_sound();
// "sound\lalai.mp3": a short cheerful jingle, stereo.
Sound jingle();

// The effects in the order DELETE_OK, DELETE_NO, RESHUFFLE, VZDOH, MENU_GO; mono.
std::vector<Sound> effect_sounds();

}  // namespace assetgen
