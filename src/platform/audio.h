// Sound output as the game uses it: one effect voice (a new effect cuts off the
// one playing). A recording stand-in keeps what was played for tests.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class Audio {
  public:
    virtual ~Audio() = default;
    // Plays a RIFF WAVE effect held in memory on the effect voice, cutting off the one playing.
    virtual void play_effect(std::string_view name, std::span<const std::uint8_t> wave) = 0;
};

class RecordingAudio : public Audio {
  public:
    void play_effect(std::string_view name, std::span<const std::uint8_t> wave) override;
    std::vector<std::string> effects;  // names in the order played
};

// The audio in use; a RecordingAudio until a shell installs its own.
Audio& audio();
void set_audio(Audio* audio);  // null puts the recording audio back
RecordingAudio& recording_audio();

}  // namespace platform
