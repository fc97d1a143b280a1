// SPDX-License-Identifier: GPL-3.0-or-later
// The headless backend: a virtual clock that advances only with the program's own progress, an
// in-memory display, simulated sound copies with a log, and input from a script.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/platform.h"

namespace platform {

class ScriptDriver;

struct SoundLogEntry {
    uint32_t tick;
    int32_t slot, copy;
    const char* op;  // "play", "loop" or "stop"
};

// One input event as the driver queues it; a Barrier ends the events of one pump.
struct QueuedEvent {
    enum class Kind { MouseMove, MouseDown, MouseUp, KeyDown, KeyUp, KeyPress, FocusLost, FocusGained, Barrier };
    Kind kind;
    int16_t code = 0;  // button, key code or character
    float x = 0, y = 0;
};

class HeadlessPlatform : public Platform {
  public:
    explicit HeadlessPlatform(uint32_t tickStart = 0);
    ~HeadlessPlatform() override;

    uint32_t GetTickCount() override { return clock_; }
    void GetCursorPos(int32_t& x, int32_t& y) override;
    void SetCursorPos(int32_t x, int32_t y) override;
    void ShowCursor(bool show) override { cursorShown_ = show; }
    void SetPointerMode(PointerMode mode) override { pointerMode_ = mode; }
    void DoEvents() override;
    void MessageBox(const std::string& title, const std::string& text) override;

    void InitDisplay() override;
    bool TestCooperativeLevel() override { return displayHeld_; }
    void RestoreAllSurfaces() override {}
    void Flip(const Surface& back) override;

    bool CreateSoundDevice() override { return soundDevice_; }
    std::unique_ptr<SoundBuffer> CreateSoundBuffer(const std::filesystem::path& file, int32_t slot,
                                                   int32_t copy) override;

    // ---- what tests and the script driver see and control ----
    void AttachScript(std::unique_ptr<ScriptDriver> driver);
    void Queue(QueuedEvent e) { queue_.push_back(e); }
    void SetFrameMs(uint32_t ms) { frameMs_ = ms; }
    void SetDisplayHeld(bool held) { displayHeld_ = held; }
    void SetSoundDevice(bool present) { soundDevice_ = present; }
    void SetDisplayFailure(std::optional<DisplayError> failure) { displayFailure_ = std::move(failure); }
    // Called at every pump before events are delivered (tests use it to act mid-game).
    void SetPumpHook(std::function<void()> hook) { pumpHook_ = std::move(hook); }
    void LogSound(int32_t slot, int32_t copy, const char* op) { soundLog_.push_back({clock_, slot, copy, op}); }

    uint64_t frames() const { return frames_; }
    const std::vector<SoundLogEntry>& soundLog() const { return soundLog_; }
    // The last frame shown, kept only where it may be asked for (copying every frame costs a
    // quarter of a headless game): while a script that takes screenshots is attached, or after
    // KeepLastFrame(true). Null until then.
    const Surface* lastFrame() const { return lastFrame_.get(); }
    void KeepLastFrame(bool keep) { keepLastFrame_ = keep; }
    const std::vector<std::string>& messageBoxes() const { return messageBoxes_; }
    bool cursorShown() const { return cursorShown_; }
    // The window title a watched replay shows (the headless display has no window to put it on).
    void SetTitle(std::string title) { title_ = std::move(title); }
    const std::string& title() const { return title_; }
    PointerMode pointerMode() const { return pointerMode_; }

  private:
    void deliver(const QueuedEvent& e);

    uint32_t clock_;
    uint32_t frameMs_ = 16;
    bool flippedSincePump_ = false;
    uint64_t frames_ = 0;
    int32_t cursorX_ = 320, cursorY_ = 240;
    bool cursorShown_ = true;
    PointerMode pointerMode_ = PointerMode::Menu;
    bool displayHeld_ = true;
    bool soundDevice_ = true;
    std::optional<DisplayError> displayFailure_;
    std::deque<QueuedEvent> queue_;
    std::vector<SoundLogEntry> soundLog_;
    std::unique_ptr<Surface> lastFrame_;
    bool keepLastFrame_ = false;
    std::vector<std::string> messageBoxes_;
    std::string title_;
    std::unique_ptr<ScriptDriver> script_;
    std::function<void()> pumpHook_;
};

}  // namespace platform
