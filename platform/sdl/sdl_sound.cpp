// SPDX-License-Identifier: GPL-3.0-or-later
// The SDL2_mixer sound copies: each wave decoded once; play, loop, stop, pan and status per copy,
// and each copy's position kept across stop and play.
#include "base/log.h"
#include "platform/sdl/sdl_sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "base/utf8_path.h"

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

// A copy plays on from where it was stopped, as a sound buffer does; only a copy that ran to
// its end starts again from its first sample. The mixer always starts a chunk at its start, so
// a copy plays a view of the decoded sound that begins at its position (for looping, the sound
// turned round to begin there), and counts the bytes the mixer takes from it.
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
        pan_ = pan;
        applyPan();
    }
    void Play(bool looping) override {
        halt();
        const Uint32 length = chunk_->alen;
        if (looping && position_ != 0) {
            turned_.assign(chunk_->abuf + position_, chunk_->abuf + length);
            turned_.insert(turned_.end(), chunk_->abuf, chunk_->abuf + position_);
            view_ = Mix_Chunk{0, turned_.data(), length, chunk_->volume};
        } else {
            view_ = Mix_Chunk{0, chunk_->abuf + position_, length - position_, chunk_->volume};
        }
        // Halting dropped the channel's effects, the pan among them.
        if (!Mix_RegisterEffect(channel_, countMixed, nullptr, this))
            throw std::runtime_error(std::string("cannot play a sound: ") + Mix_GetError());
        if (pan_ != 0) applyPan();
        if (Mix_PlayChannel(channel_, &view_, looping ? -1 : 0) < 0) {
            Mix_UnregisterAllEffects(channel_);
            throw std::runtime_error(std::string("cannot play a sound: ") + Mix_GetError());
        }
        looping_ = looping;
    }
    void Stop() override {
        halt();
        looping_ = false;
    }

  private:
    void applyPan() {
        if (!Mix_SetPanning(channel_, sideVolume(pan_), sideVolume(-pan_)))
            throw std::runtime_error(std::string("cannot set the pan: ") + Mix_GetError());
    }
    // Stops the channel and moves the position on by what was mixed since the last start; a
    // copy that played to its end comes round to 0.
    void halt() {
        Mix_HaltChannel(channel_);
        if (chunk_->alen != 0) position_ = static_cast<Uint32>((position_ + mixed_.exchange(0)) % chunk_->alen);
    }
    // Runs on the audio thread for every piece the mixer takes from this copy's view.
    static void countMixed(int, void*, int len, void* self) {
        static_cast<SdlSoundBuffer*>(self)->mixed_ += static_cast<uint64_t>(len);
    }

    // Keeps the device and the decoded chunk alive as long as the copy exists.
    std::shared_ptr<SdlMixer> mixer_;
    Mix_Chunk* chunk_;
    int channel_;
    bool looping_ = false;
    int32_t pan_ = 0;
    Uint32 position_ = 0;  // bytes into the decoded sound where the current or next play begins
    std::atomic<uint64_t> mixed_{0};
    Mix_Chunk view_{};
    std::vector<Uint8> turned_;
};

}  // namespace

std::shared_ptr<SdlMixer> SdlMixer::Open(int effectsVolume, int musicVolume) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        base::Log("no sound: %s", SDL_GetError());
        return nullptr;
    }
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, kChunkFrames) != 0) {
        base::Log("no sound: %s", Mix_GetError());
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
    // SDL takes file names as UTF-8 on every system.
    const std::string name = base::Utf8FromPath(file);
    auto it = chunks_.find(name);
    if (it != chunks_.end()) return it->second;
    Mix_Chunk* chunk = Mix_LoadWAV(name.c_str());
    if (!chunk) throw std::runtime_error("cannot load the sound " + name + ": " + Mix_GetError());
    chunks_.emplace(name, chunk);
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
