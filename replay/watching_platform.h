// SPDX-License-Identifier: GPL-3.0-or-later
// Watching a replay: a platform between the replaying platform and the program that shows the
// frames and plays the sounds on a real output, paced to the recorded clock, and reads the
// viewer's keys there (Escape, Space, '.', the arrows, + and -). The program's questions all go to
// the replaying platform unchanged, so what is watched is exactly what a proof re-simulates.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "replay/replaying_platform.h"

namespace replay {

struct WatchOptions {
    platform::Platform* output = nullptr;           // the window (or a headless display in tests)
    double speed = 1;                               // the recorded clock's pace, 0.25 to 8
    bool realTime = true;                           // pace frames to the real clock; off on a virtual one
    std::function<void(const std::string&)> title;  // sets the output's window title
    std::function<void(platform::StateAccess&)> onState;
};

// The viewer's choices and where the watching stands; kept across the re-simulations that a jump
// back starts from the replay's beginning.
struct ViewerState {
    double speed = 1;
    bool paused = false;
    bool step = false;      // '.' while paused: one more frame, then paused again
    bool skipping = false;  // re-simulating up to skipUntilMs without showing the frames
    uint32_t skipUntilMs = 0;
    uint32_t lengthMs = 0;     // the recording's length on its clock
    bool displayOpen = false;  // the output's display is opened once for the whole watching
    bool soundAsked = false, soundOpen = false;
    std::string title;  // the title last set
};

// Thrown out of the program when the viewer jumps back: the replay is re-simulated from its
// beginning up to `toMs` on its clock. Not a std::exception, so the game's handlers let it pass.
struct JumpBack {
    uint32_t toMs;
};

inline constexpr double kSlowestWatch = 0.25;
inline constexpr double kFastestWatch = 8;
inline constexpr uint32_t kJumpMs = 10000;

// "Aufzeichnung 0:42 / 1:40 ×2": the place and length on the recorded clock, and the speed.
std::string WatchTitle(uint32_t elapsedMs, uint32_t lengthMs, double speed, bool paused);

class WatchingPlatform : public platform::Platform {
  public:
    WatchingPlatform(ReplayingPlatform& inner, const WatchOptions& options, ViewerState& state);
    ~WatchingPlatform() override;

    uint32_t GetTickCount() override { return inner_.GetTickCount(); }
    void GetCursorPos(int32_t& x, int32_t& y) override { inner_.GetCursorPos(x, y); }
    void SetCursorPos(int32_t x, int32_t y) override { inner_.SetCursorPos(x, y); }
    void ShowCursor(bool show) override;
    void SetPointerMode(platform::PointerMode mode) override { inner_.SetPointerMode(mode); }
    void DoEvents() override;
    void MessageBox(const std::string& title, const std::string& text) override;
    void InitDisplay() override;
    bool TestCooperativeLevel() override { return inner_.TestCooperativeLevel(); }
    void RestoreAllSurfaces() override { inner_.RestoreAllSurfaces(); }
    void Flip(const platform::Surface& back) override;
    bool CreateSoundDevice() override;
    std::unique_ptr<platform::SoundBuffer> CreateSoundBuffer(const std::filesystem::path& file, int32_t slot,
                                                             int32_t copy) override;
    base::FileSystem& Files() override { return inner_.Files(); }

  private:
    class Relay;
    class Viewer;
    class WatchedSound;

    uint32_t elapsedMs() const { return inner_.recordedTick() - inner_.startTick(); }
    void openOutput();
    // Waits for the frame's time on the recorded clock; false when it is too late to be shown.
    bool pace();
    void showTitle();
    // Applies the keys the viewer pressed since the last look; throws ReplayStop or JumpBack.
    void react();

    ReplayingPlatform& inner_;
    platform::Platform& output_;
    const WatchOptions& options_;
    ViewerState& state_;
    std::unique_ptr<Relay> relay_;
    std::unique_ptr<Viewer> viewer_;
    bool paceStarted_ = false;
    std::chrono::steady_clock::time_point paceStart_;
    std::chrono::steady_clock::time_point lastShown_;  // when pace last let a frame be shown
    uint32_t paceStartMs_ = 0;
    std::chrono::steady_clock::time_point lastLook_;
};

}  // namespace replay
