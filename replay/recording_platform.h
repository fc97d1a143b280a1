// SPDX-License-Identifier: GPL-3.0-or-later
// A platform that wraps any other and writes down every answer the program gets from it, in order:
// the clock, the pointer, the events of each pump, the display and sound states, and the files of
// the data directory. Output (pictures, sounds, the files' writing) goes on to the wrapped platform.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "replay/byte_stream.h"
#include "replay/format.h"
#include "replay/records.h"

namespace replay {

class RecordingPlatform : public platform::Platform {
  public:
    explicit RecordingPlatform(platform::Platform& inner);
    ~RecordingPlatform() override;

    // The hash of the program's state, taken after the first frame of every recorded second and
    // at the end. Without it the recording holds no hashes.
    void SetStateHash(std::function<uint64_t()> hash) { hash_ = std::move(hash); }
    // Starts the recording afresh at a game's START: the program's state there, and the sound
    // copies it had made (which the replay makes again first).
    void BeginAtStart(std::vector<uint8_t> snapshot, int soundCopies);
    // Called when the program's pointer mode changes, before the wrapped platform hears of it.
    void SetPointerModeObserver(std::function<void(platform::PointerMode)> observer) {
        pointerObserver_ = std::move(observer);
    }
    // From the first answer at which `when` holds (given the answer's record), the recording ends
    // with the state's hash then, and records nothing more until the next BeginAtStart.
    void SetCut(std::function<bool(Tag)> when) { cutWhen_ = std::move(when); }
    bool cut() const { return cut_; }
    // Window events for which `drop` holds are neither recorded nor passed on to the program.
    void SetEventFilter(std::function<bool(uint8_t kind, int64_t code)> drop) { drop_ = std::move(drop); }
    // Called after every file the program replaced.
    void SetFileWrittenObserver(std::function<void()> observer) { fileWritten_ = std::move(observer); }
    // Called once at the program's next question, before its answer is recorded: what Finish gives
    // there is a replay that repeats the run up to that moment, its state's hash included.
    void AtNextAnswer(std::function<void()> call) { nextAnswer_ = std::move(call); }
    // A driver wrote the program's state directly; a replay writes the same at the same moment.
    void RecordSet(const std::string& field, const std::string& value);

    // The file of everything recorded so far, ended with the state's hash now. The header's
    // start tick and directories are filled in; seed, kind and date are the caller's.
    std::vector<uint8_t> Finish(Header header);
    uint64_t frames() const { return frames_; }

    uint32_t GetTickCount() override;
    void GetCursorPos(int32_t& x, int32_t& y) override;
    void SetCursorPos(int32_t x, int32_t y) override { inner_.SetCursorPos(x, y); }
    void ShowCursor(bool show) override { inner_.ShowCursor(show); }
    void SetPointerMode(platform::PointerMode mode) override;
    void DoEvents() override;
    void MessageBox(const std::string& title, const std::string& text) override { inner_.MessageBox(title, text); }
    void InitDisplay() override;
    bool TestCooperativeLevel() override;
    void RestoreAllSurfaces() override { inner_.RestoreAllSurfaces(); }
    void Flip(const platform::Surface& back) override;
    bool CreateSoundDevice() override;
    std::unique_ptr<platform::SoundBuffer> CreateSoundBuffer(const std::filesystem::path& file, int32_t slot,
                                                             int32_t copy) override;
    base::FileSystem& Files() override;
    // Pictures come from the wrapped platform, built in or from its art pack.
    std::unique_ptr<platform::Surface> CreateSurfaceFromResource(const std::string& name) override {
        return inner_.CreateSurfaceFromResource(name);
    }
    std::filesystem::path AssetDirectory() const override { return inner_.AssetDirectory(); }

  private:
    class Forwarder;
    class RecordingFiles;
    class RecordingSoundBuffer;

    template <typename R>
    void put(R record);

    platform::Platform& inner_;
    ByteWriter out_;
    std::function<uint64_t()> hash_;
    std::function<void(platform::PointerMode)> pointerObserver_;
    std::function<bool(Tag)> cutWhen_;
    std::function<bool(uint8_t, int64_t)> drop_;
    std::function<void()> fileWritten_;
    std::function<void()> nextAnswer_;
    bool cut_ = false;
    std::unique_ptr<Forwarder> forwarder_;
    std::unique_ptr<RecordingFiles> files_;
    bool ticked_ = false;
    uint32_t startTick_ = 0, lastTick_ = 0, lastHashTick_ = 0;
    uint64_t frames_ = 0;
    int32_t cursorX_ = 0, cursorY_ = 0;
};

}  // namespace replay
