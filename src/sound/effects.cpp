// play_effect over the platform's effect voice.
#include "sound/effects.h"

#include "platform/audio.h"

const char* effect_name(Effect effect) {
    switch (effect) {
        case Effect::DELETE_OK:
            return "DELETE_OK";
        case Effect::DELETE_NO:
            return "DELETE_NO";
        case Effect::RESHUFFLE:
            return "RESHUFFLE";
        case Effect::VZDOH:
            return "VZDOH";
        case Effect::MENU_GO:
            return "MENU_GO";
    }
    return "";
}

std::span<const std::uint8_t> effect_wave(Effect) {
    return {};
}

void play_effect(Effect effect) {
    platform::audio().play_effect(effect_name(effect), effect_wave(effect));
}
