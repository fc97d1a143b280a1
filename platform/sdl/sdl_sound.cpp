// The SDL2_mixer sound copies: each wave decoded once; play, loop, stop, pan and status per copy.
#include "platform/sdl/sdl_sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace platform {

namespace {

// The game's tables have room for fifteen slots of ten copies; every copy owns one channel.
constexpr int kSlots = 15;
constexpr int kCopies = 10;
constexpr int kMusicSlot = 2;
// Small chunks keep a shot's sound close to the click.
constexpr int kChunkFrames = 1024;

// Pan in hundredths of a decibel, as the game passes it: negative quietens the right side,
// positive the left; 0 is centred.
Uint8 sideVolume(int32_t attenuation) {
    if (attenuation <= 0) return 255;
    return static_cast<Uint8>(std::lround(255.0 * std::pow(10.0, -std::min(attenuation, 10000) / 2000.0)));
}

class SdlSoundBuffer : public SoundBuffer {
public:
    SdlSoundBuffer(std::shared_ptr<SdlMixer> mixer, Mix_Chunk* chunk, int channel)
        : mixer_(std::move(mixer)), chunk_(chunk), channel_(channel) {}
    ~SdlSoundBuffer() override { Mix_HaltChannel(channel_); }

    int32_t GetStatus() override {
        if (!Mix_Playing(channel_)) {
            looping_ = false;
            return 0;
        }
        return looping_ ? kPlayingLooping : kPlaying;
    }
    void SetPan(int32_t pan) override {
        if (!Mix_SetPanning(channel_, sideVolume(pan), sideVolume(-pan)))
            throw std::runtime_error(std::string("cannot set the pan: ") + Mix_GetError());
    }
    void Play(bool looping) override {
        if (Mix_PlayChannel(channel_, chunk_, looping ? -1 : 0) < 0)
            throw std::runtime_error(std::string("cannot play a sound: ") + Mix_GetError());
        looping_ = looping;
    }
    void Stop() override {
        Mix_HaltChannel(channel_);
        looping_ = false;
    }

private:
    // Keeps the device and the decoded chunk alive as long as the copy exists.
    std::shared_ptr<SdlMixer> mixer_;
    Mix_Chunk* chunk_;
    int channel_;
    bool looping_ = false;
};

}  // namespace

std::shared_ptr<SdlMixer> SdlMixer::Open(int effectsVolume, int musicVolume) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "vorlanix: no sound: %s\n", SDL_GetError());
        return nullptr;
    }
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, kChunkFrames) != 0) {
        std::fprintf(stderr, "vorlanix: no sound: %s\n", Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    Mix_AllocateChannels(kSlots * kCopies);
    return std::shared_ptr<SdlMixer>(new SdlMixer(effectsVolume, musicVolume));
}

SdlMixer::~SdlMixer() {
    Mix_HaltChannel(-1);
    for (auto& [name, chunk] : chunks_) Mix_FreeChunk(chunk);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

Mix_Chunk* SdlMixer::chunkFor(const std::filesystem::path& file) {
    auto it = chunks_.find(file.string());
    if (it != chunks_.end()) return it->second;
    Mix_Chunk* chunk = Mix_LoadWAV(file.c_str());
    if (!chunk) throw std::runtime_error("cannot load the sound " + file.string() + ": " + Mix_GetError());
    chunks_.emplace(file.string(), chunk);
    return chunk;
}

std::unique_ptr<SoundBuffer> SdlMixer::CreateBuffer(const std::filesystem::path& file, int32_t slot, int32_t copy) {
    if (slot < 1 || slot > kSlots || copy < 1 || copy > kCopies)
        throw std::out_of_range("no sound channel for slot " + std::to_string(slot) + " copy " + std::to_string(copy));
    const int channel = (slot - 1) * kCopies + (copy - 1);
    // The channel keeps its volume for every sound it plays; slot 2 is the music.
    Mix_Volume(channel, ((slot == kMusicSlot ? musicVolume_ : effectsVolume_) * MIX_MAX_VOLUME + 50) / 100);
    return std::make_unique<SdlSoundBuffer>(shared_from_this(), chunkFor(file), channel);
}

}  // namespace platform
