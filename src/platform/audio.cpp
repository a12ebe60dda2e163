// The audio in use and the recording audio.
#include "platform/audio.h"

namespace platform {

void RecordingAudio::play_effect(std::string_view name, std::span<const std::uint8_t>) {
    effects.emplace_back(name);
}

namespace {
Audio* current_audio = nullptr;
}

RecordingAudio& recording_audio() {
    static RecordingAudio audio;
    return audio;
}

Audio& audio() {
    return current_audio != nullptr ? *current_audio : recording_audio();
}

void set_audio(Audio* a) {
    current_audio = a;
}

}  // namespace platform
