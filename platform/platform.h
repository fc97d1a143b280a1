// SPDX-License-Identifier: GPL-3.0-or-later
// The one seam between the game and the machine: display, sound, clock, cursor, window events,
// message box and directories. The game includes only this header (and surface.h); the SDL
// backend and the headless backend implement it, and the game cannot tell them apart.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/screenshot_writer.h"
#include "platform/surface.h"
#include "base/file_system.h"

namespace platform {

// Window events, delivered only from inside DoEvents. Key codes are the Windows virtual key
// codes the game was written for (37..40 arrows, 80 P, 27 Escape ...); typed characters arrive
// as code page 1252 codes. Mouse buttons: 1 left, 2 right, 4 middle.
class WindowEvents {
  public:
    virtual ~WindowEvents() = default;
    virtual void Form_Activate() = 0;
    virtual void Form_GotFocus() = 0;
    virtual void Form_LostFocus() = 0;
    virtual void Form_KeyDown(int16_t keyCode) = 0;
    virtual void Form_KeyUp(int16_t keyCode) = 0;
    virtual void Form_KeyPress(int16_t character) = 0;
    virtual void Form_MouseDown(int16_t button, int16_t shift, float x, float y) = 0;
    virtual void Form_MouseUp(int16_t button, int16_t shift, float x, float y) = 0;
    virtual void Form_MouseMove(int16_t button, int16_t shift, float x, float y) = 0;
};

// Raised when the display cannot be set up. exclusiveRefused tells the one error the game
// reports with its own text (another program holds the display) from every other failure.
struct DisplayError : std::runtime_error {
    DisplayError(bool exclusive, const std::string& why) : std::runtime_error(why), exclusiveRefused(exclusive) {}
    bool exclusiveRefused;
};

// One sound buffer: a wave file ready to play once or looping.
class SoundBuffer {
  public:
    virtual ~SoundBuffer() = default;
    static constexpr int32_t kPlaying = 1;         // status while playing once
    static constexpr int32_t kPlayingLooping = 5;  // status while looping (not "busy" for the game)
    virtual int32_t GetStatus() = 0;
    virtual void SetPan(int32_t pan) = 0;
    virtual void Play(bool looping) = 0;
    virtual void Stop() = 0;
};

// Which state the program is in, so the platform can capture the pointer while a game runs.
enum class PointerMode { Menu, Game };

class StateAccess;

class Platform {
  public:
    virtual ~Platform() = default;

    void SetEventHandler(WindowEvents* handler) { events_ = handler; }
    // The program's fields, for a backend that can show them on request.
    void SetStateAccess(StateAccess* state) { state_ = state; }

    // Clock: the wrapping 32-bit millisecond counter.
    virtual uint32_t GetTickCount() = 0;

    // Pointer, in 640 x 480 screen coordinates.
    virtual void GetCursorPos(int32_t& x, int32_t& y) = 0;
    virtual void SetCursorPos(int32_t x, int32_t y) = 0;
    virtual void ShowCursor(bool show) = 0;
    virtual void SetPointerMode(PointerMode mode) = 0;

    // Message pump: delivers every pending window event to the handler.
    virtual void DoEvents() = 0;
    virtual void MessageBox(const std::string& title, const std::string& text) = 0;

    // Display. InitDisplay throws DisplayError. TestCooperativeLevel is true while the display
    // is held (false while it is lost: minimised window, or a scripted loss).
    virtual void InitDisplay() = 0;
    virtual bool TestCooperativeLevel() = 0;
    virtual void RestoreAllSurfaces() = 0;
    virtual void Flip(const Surface& back) = 0;

    // A surface from a named bitmap (names matched without regard to case), converted to
    // RGB565. Throws std::runtime_error naming the bitmap when it is missing or malformed.
    virtual std::unique_ptr<Surface> CreateSurfaceFromResource(const std::string& name);

    // Sound. CreateSoundDevice returns false when there is no audio device; CreateSoundBuffer
    // throws std::runtime_error when the file cannot be loaded.
    virtual bool CreateSoundDevice() = 0;
    // slot and copy only label the buffer (the headless backend logs them).
    virtual std::unique_ptr<SoundBuffer> CreateSoundBuffer(const std::filesystem::path& file, int32_t slot,
                                                           int32_t copy) = 0;

    // The files of the data directory (hiscore.dat, the upload files): the disk itself, unless
    // the platform answers from a recording.
    virtual base::FileSystem& Files() { return base::disk(); }

    // Directories: the program's own (for the sound directory beside the executable) and the
    // data directory that holds hiscore.dat and the UpLoad directory.
    std::filesystem::path ProgramDirectory() const { return programDir_; }
    std::filesystem::path DataDirectory() const { return dataDir_; }
    std::filesystem::path SoundDirectory() const { return soundDir_; }
    void SetDirectories(std::filesystem::path program, std::filesystem::path data, std::filesystem::path sound);
    // Bitmaps are read from this directory instead of the embedded ones when it is set.
    void SetAssetDirectory(std::filesystem::path dir) { assetDir_ = std::move(dir); }
    virtual std::filesystem::path AssetDirectory() const { return assetDir_; }

    // F12: the next presented frame is saved as a PNG in the screenshot directory.
    void SetScreenshotDirectory(std::filesystem::path dir);
    void RequestScreenshot();
    // Waits until every screenshot asked for so far is on the disk.
    void FinishScreenshots();

  protected:
    WindowEvents* events() const { return events_; }
    StateAccess* stateAccess() const { return state_; }
    // Each backend hands every frame it presents to the screenshot writer.
    void OfferFrameForScreenshot(const Surface& frame) {
        if (screenshots_) screenshots_->OnFlip(frame);
    }

  private:
    WindowEvents* events_ = nullptr;
    StateAccess* state_ = nullptr;
    std::filesystem::path programDir_, dataDir_, soundDir_, assetDir_, screenshotDir_;
    std::unique_ptr<ScreenshotWriter> screenshots_;
};

}  // namespace platform
