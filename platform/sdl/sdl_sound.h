// SPDX-License-Identifier: GPL-3.0-or-later
// The sound copies on SDL2_mixer: one mixer channel per copy, and each wave file decoded once
// however many copies play it.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "platform/platform.h"

struct Mix_Chunk;

namespace platform {

class SdlMixer : public std::enable_shared_from_this<SdlMixer> {
  public:
    // Opens the default audio device; nullptr (and one line on stderr) when there is none. The
    // volumes (0..100) scale the effects and the music (slot 2).
    static std::shared_ptr<SdlMixer> Open(int effectsVolume = 100, int musicVolume = 100);
    ~SdlMixer();
    SdlMixer(const SdlMixer&) = delete;
    SdlMixer& operator=(const SdlMixer&) = delete;

    // Copy `copy` of slot `slot` plays on its own channel. Throws std::runtime_error naming the
    // file when it cannot be loaded.
    std::unique_ptr<SoundBuffer> CreateBuffer(const std::filesystem::path& file, int32_t slot, int32_t copy);

  private:
    SdlMixer(int effectsVolume, int musicVolume) : effectsVolume_(effectsVolume), musicVolume_(musicVolume) {}
    Mix_Chunk* chunkFor(const std::filesystem::path& file);

    int effectsVolume_, musicVolume_;
    std::map<std::string, Mix_Chunk*> chunks_;
};

}  // namespace platform
