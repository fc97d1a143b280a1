// SPDX-License-Identifier: GPL-3.0-or-later
// A platform that answers the program from a recording: the same clock, pointer, events, display
// and sound states and file contents, in the same order, so the run repeats exactly. It shows and
// sounds nothing (watching wraps it, replay/watching_platform.h); files the program writes are kept
// in memory and never reach a disk. Every mismatch stops the run with ReplayStop.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/state_access.h"
#include "replay/byte_stream.h"
#include "replay/format.h"

namespace replay {

struct WrittenFile {
    std::filesystem::path path;
    std::vector<uint8_t> bytes;
};

class ReplayingPlatform : public platform::Platform {
  public:
    // `file` must outlive the platform. Sets the recorded directories.
    explicit ReplayingPlatform(const ReplayFile& file);
    ~ReplayingPlatform() override;

    void SetStateHash(std::function<uint64_t()> hash) { hash_ = std::move(hash); }
    // Where recorded `set` lines write; without it a replay holding one stops as out of sync.
    void SetStateAccess(platform::StateAccess* state) { state_ = state; }
    // A proof accepts only what a played game gives: no driver's writes (set lines), and every
    // state hash present, the one at the end included.
    void SetProof(bool proof) { proof_ = proof; }
    void SetDeadline(std::chrono::steady_clock::time_point deadline) { deadline_ = deadline; }
    // Called when the program's pointer mode changes: a game starts (Game) or ends (Menu).
    void SetPointerModeObserver(std::function<void(platform::PointerMode)> observer) {
        pointerObserver_ = std::move(observer);
    }
    // Called after each frame the program presents.
    void SetFrameObserver(std::function<void()> observer) { frameObserver_ = std::move(observer); }
    // The first record when the replay begins at a START: the program's state at that moment.
    std::vector<uint8_t> TakeSnapshot();

    // After the program ended by itself: the recording must end here too, with the same state.
    // Throws ReplayStop (Ended when in sync).
    [[noreturn]] void FinishAtProgramEnd();

    uint64_t frames() const { return frames_; }
    uint32_t recordedTick() const { return lastTick_; }
    uint32_t startTick() const { return startTick_; }
    const std::vector<WrittenFile>& writtenFiles() const { return written_; }

    uint32_t GetTickCount() override;
    void GetCursorPos(int32_t& x, int32_t& y) override;
    void SetCursorPos(int32_t, int32_t) override {}
    void ShowCursor(bool) override {}
    void SetPointerMode(platform::PointerMode mode) override;
    void DoEvents() override;
    void MessageBox(const std::string&, const std::string&) override {}
    void InitDisplay() override;
    bool TestCooperativeLevel() override;
    void RestoreAllSurfaces() override {}
    void Flip(const platform::Surface& back) override;
    bool CreateSoundDevice() override;
    std::unique_ptr<platform::SoundBuffer> CreateSoundBuffer(const std::filesystem::path& file, int32_t slot,
                                                             int32_t copy) override;
    base::FileSystem& Files() override;

  private:
    class ReplayFiles;
    class ReplaySoundBuffer;
    friend class ReplaySoundBuffer;

    // Delivers the events and set lines that come first, then takes the record `want`.
    void expect(uint8_t want);
    void deliverEvent();
    void applySet();
    [[noreturn]] void finish();
    [[noreturn]] void outOfSync(const std::string& what);
    void checkDeadline();

    ByteReader in_;
    std::function<uint64_t()> hash_;
    platform::StateAccess* state_ = nullptr;
    std::optional<std::chrono::steady_clock::time_point> deadline_;
    std::function<void(platform::PointerMode)> pointerObserver_;
    std::unique_ptr<ReplayFiles> files_;
    std::vector<WrittenFile> written_;
    uint32_t startTick_;
    uint32_t lastTick_;
    uint32_t lastHashTick_;
    std::function<void()> frameObserver_;
    bool proof_ = false;
    int32_t cursorX_ = 0, cursorY_ = 0;
    uint64_t frames_ = 0;
};

}  // namespace replay
