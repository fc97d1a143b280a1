// SPDX-License-Identifier: GPL-3.0-or-later
// The SDL backend's platform: clock, the pointer we keep in picture coordinates, the event pump
// that turns SDL events into the game's window events and waits while there is nothing to show,
// the message box, and the glue to the display and the mixer.
#include "base/log.h"
#include "platform/sdl/sdl_platform.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "base/cp1252.h"
#include "platform/sdl/key_codes.h"
#include "platform/sdl/picture_layout.h"
#include "platform/sdl/sdl_controller.h"
#include "platform/sdl/first_choice_probe.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_sound.h"
#include "platform/sdl/state_request.h"
#include "platform/sdl/video_driver_choice.h"
#include "platform/sdl/system_ticks.h"
#include "platform/sdl/window_icon.h"

namespace platform {

namespace {

constexpr int16_t kKeyP = 80;
constexpr int16_t kKeyF12 = 123;
// A pump that no frame preceded belongs to a loop that only waits (the game's busy wait, the
// wait for the display); it sleeps until the next event, or this long.
constexpr int kBriefWaitMs = 1;
// While there is nothing to show, the pump sleeps until an event, waking this often to serve a
// state request.
constexpr int kIdleWaitMs = 100;

int16_t buttonCode(Uint8 sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT: return 1;
        case SDL_BUTTON_RIGHT: return 2;
        case SDL_BUTTON_MIDDLE: return 4;
        default: return 0;
    }
}

int16_t buttonsHeld(Uint32 state) {
    return static_cast<int16_t>(((state & SDL_BUTTON_LMASK) ? 1 : 0) | ((state & SDL_BUTTON_RMASK) ? 2 : 0) |
                                ((state & SDL_BUTTON_MMASK) ? 4 : 0));
}

int16_t shiftState() {
    const SDL_Keymod mod = SDL_GetModState();
    return static_cast<int16_t>(((mod & KMOD_SHIFT) ? 1 : 0) | ((mod & KMOD_CTRL) ? 2 : 0) |
                                ((mod & KMOD_ALT) ? 4 : 0));
}

// Keys whose characters the desktop types without sending text for them.
bool typesControlCharacter(int16_t keyCode) { return keyCode == 27 || keyCode == 9 || keyCode == 8 || keyCode == 13; }

bool isFullscreenToggle(const SDL_Keysym& key) {
    return key.sym == SDLK_F11 || ((key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER) && (key.mod & KMOD_ALT));
}

class SdlPlatform : public Platform, private ControllerActions {
  public:
    explicit SdlPlatform(const SdlOptions& options) : options_(options), stateRequest_(options.stateFile) {
        SDL_SetHint(SDL_HINT_APP_NAME, "Vorlanix");
        // The desktop matches the window to its desktop entry by this name (X11 class, Wayland app
        // id). SDL reads both from the environment; a name the player set there stays.
        SDL_setenv("SDL_VIDEO_X11_WMCLASS", kApplicationId, 0);
        SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", kApplicationId, 0);
        // Lets the crosshair follow the desktop's pointer speed where SDL knows it.
        SDL_SetHint(SDL_HINT_MOUSE_RELATIVE_SYSTEM_SCALE, "1");
        if (SDL_Init(SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0)
            throw std::runtime_error(std::string("SDL cannot start: ") + SDL_GetError());
        controllers_ = std::make_unique<SdlControllers>(options.controllerDeadZone, options.controllerSpeed,
                                                        static_cast<ControllerActions&>(*this));
    }

    ~SdlPlatform() override {
        controllers_.reset();
        display_.reset();
        if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
        mixer_.reset();
        SDL_QuitSubSystem(SDL_INIT_EVENTS | SDL_INIT_TIMER);
    }

    uint32_t GetTickCount() override { return SystemTickCount(); }

    void GetCursorPos(int32_t& x, int32_t& y) override {
        x = cursor_.x();
        y = cursor_.y();
    }

    void SetCursorPos(int32_t x, int32_t y) override {
        cursor_.Set(x, y);
        // Motion reported before the move would otherwise carry the pointer back.
        SDL_PumpEvents();
        SDL_FlushEvent(SDL_MOUSEMOTION);
        moveSystemPointer();
    }

    void ShowCursor(bool show) override {
        cursorShown_ = show;
        if (videoStarted_) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
    }

    void SetPointerMode(PointerMode mode) override {
        mode_ = mode;
        pausedByKey_ = false;
        updateCapture();
    }

    // A game without the focus, and any screen while minimised, waits in here until the window
    // is back: the game stands still and nothing is drawn or reloaded.
    void DoEvents() override {
        const bool onlyWaiting = !flippedSincePump_;
        flippedSincePump_ = false;
        SDL_Event e;
        if (onlyWaiting && SDL_WaitEventTimeout(&e, kBriefWaitMs)) dispatch(e);
        handlePending();
        while (mustWaitForWindow()) {
            if (SDL_WaitEventTimeout(&e, kIdleWaitMs)) dispatch(e);
            handlePending();
        }
        controllers_->Tick(SDL_GetTicks());
    }

    void Vanish() {
        if (mixer_) Mix_Pause(-1);
        if (captured_) setCapture(false);
        if (videoStarted_ && display_ && display_->window()) {
            SDL_HideWindow(display_->window());
            SDL_PumpEvents();
        }
    }

    void SetTitle(const std::string& title) {
        title_ = title;
        if (display_ && display_->window()) SDL_SetWindowTitle(display_->window(), title_.c_str());
    }

    void MessageBox(const std::string& title, const std::string& text) override {
        base::Log("%s: %s", title.c_str(), text.c_str());
        // SDL would fall back to an X11 box outside these drivers, which have no screen of their own.
        const char* driver = SDL_GetCurrentVideoDriver();
        if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) return;
        // The player needs the system pointer to press OK.
        const bool wasCaptured = captured_;
        if (wasCaptured) setCapture(false);
        if (videoStarted_) SDL_ShowCursor(SDL_ENABLE);
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title.c_str(), text.c_str(),
                                 display_ ? display_->window() : nullptr);
        if (videoStarted_) SDL_ShowCursor(cursorShown_ ? SDL_ENABLE : SDL_DISABLE);
        if (wasCaptured) updateCapture();
    }

    void InitDisplay() override {
        if (!videoStarted_) {
            LeaveOutInvisibleVideoDrivers();
            // Before this process's own video starts, while the child can still start its own.
            if (options_.renderer.empty()) StartAskingFirstChoice();
            if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) throw DisplayError(false, SDL_GetError());
            videoStarted_ = true;
        }
        display_ = std::make_unique<SdlDisplay>(options_);
        SetWindowIcon(display_->window());
        if (!title_.empty()) SDL_SetWindowTitle(display_->window(), title_.c_str());
        const char* driver = SDL_GetCurrentVideoDriver();
        // A browser locks the pointer and reports only its motion, as Wayland does.
        relativePointer_ = driver && (std::strcmp(driver, "wayland") == 0 || std::strcmp(driver, "emscripten") == 0);
        SDL_ShowCursor(cursorShown_ ? SDL_ENABLE : SDL_DISABLE);
        SDL_StartTextInput();
        updateCapture();
    }

    // The display is lost only when the renderer lost its textures; the game then reloads its
    // pictures, as it did after a task switch. Focus and minimising are waited out in the pump.
    bool TestCooperativeLevel() override { return display_ && display_->Held(); }

    // Our surfaces live in ordinary memory, so a lost display takes none of them with it.
    void RestoreAllSurfaces() override {}

    void Flip(const Surface& back) override {
        if (!display_) throw std::logic_error("Flip before InitDisplay");
        display_->Present(back);
        ++frames_;
        OfferFrameForScreenshot(back);
        flippedSincePump_ = true;
    }

    bool CreateSoundDevice() override {
        if (options_.mute) return false;
        mixer_ = SdlMixer::Open(options_.effectsVolume, options_.musicVolume);
        return mixer_ != nullptr;
    }

    std::unique_ptr<SoundBuffer> CreateSoundBuffer(const std::filesystem::path& file, int32_t slot,
                                                   int32_t copy) override {
        if (!mixer_) throw std::runtime_error("no sound device for " + file.string());
        return mixer_->CreateBuffer(file, slot, copy);
    }

  private:
    void dispatch(const SDL_Event& e) {
        if (!controllers_->Handle(e)) handle(e);
    }

    void handlePending() {
        SDL_Event e;
        while (SDL_PollEvent(&e)) dispatch(e);
        stateRequest_.Serve(stateAccess(), GetTickCount(), frames_, display_ ? display_->framesShown() : 0);
    }

    bool mustWaitForWindow() const {
        return display_ && (!display_->visible() || (!focused_ && mode_ == PointerMode::Game));
    }

    void handle(const SDL_Event& e) {
        WindowEvents* h = events();
        switch (e.type) {
            case SDL_QUIT:
                // Closing the window ends the game the way Escape does.
                if (h) h->Form_KeyPress(27);
                break;
            case SDL_WINDOWEVENT: handleWindow(e.window); break;
            case SDL_RENDER_TARGETS_RESET:
            case SDL_RENDER_DEVICE_RESET:
                if (display_) display_->NoteRendererReset();
                break;
            case SDL_MOUSEMOTION:
                // Touches arrive as fingers below; SDL's mouse copies of them are not counted twice.
                if (!display_ || e.motion.which == SDL_TOUCH_MOUSEID) break;
                if (captured_ && relativePointer_)
                    cursor_.MoveBy(e.motion.xrel * display_->pixelsPerPoint(),
                                   e.motion.yrel * display_->pixelsPerPoint(), display_->picture());
                else
                    followSystemPointer(e.motion.x, e.motion.y);
                if (h) h->Form_MouseMove(buttonsHeld(e.motion.state), shiftState(), cursorX(), cursorY());
                break;
            case SDL_FINGERDOWN:
            case SDL_FINGERUP:
            case SDL_FINGERMOTION: handleFinger(e.type, e.tfinger); break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: {
                const int16_t button = buttonCode(e.button.button);
                if (!display_ || button == 0 || e.button.which == SDL_TOUCH_MOUSEID) break;
                if (!captured_ || !relativePointer_) followSystemPointer(e.button.x, e.button.y);
                if (!h) break;
                if (e.type == SDL_MOUSEBUTTONDOWN)
                    h->Form_MouseDown(button, shiftState(), cursorX(), cursorY());
                else
                    h->Form_MouseUp(button, shiftState(), cursorX(), cursorY());
                break;
            }
            case SDL_KEYDOWN: {
                if (isFullscreenToggle(e.key.keysym)) {
                    if (!e.key.repeat && display_) {
                        display_->ToggleFullscreen();
                        updateCapture();
                        if (options_.fullscreenChanged) options_.fullscreenChanged(display_->fullscreen());
                    }
                    break;
                }
                const int16_t code = WindowsKeyCode(e.key.keysym.sym, e.key.keysym.scancode);
                if (code == kKeyF12) {
                    if (!e.key.repeat) RequestScreenshot();
                    break;
                }
                if (code != 0) PressKey(code, true);
                break;
            }
            case SDL_KEYUP: {
                if (isFullscreenToggle(e.key.keysym)) break;
                const int16_t code = WindowsKeyCode(e.key.keysym.sym, e.key.keysym.scancode);
                if (code != 0 && code != kKeyF12) PressKey(code, false);
                break;
            }
            case SDL_TEXTINPUT:
                if (!h) break;
                for (char c : cp1252::from_utf8(e.text.text, '\0')) h->Form_KeyPress(static_cast<uint8_t>(c));
                break;
            default: break;
        }
    }

    void handleWindow(const SDL_WindowEvent& w) {
        WindowEvents* h = events();
        switch (w.event) {
            case SDL_WINDOWEVENT_SHOWN:
                // Shown again after minimising is no new activation.
                if (activated_) break;
                activated_ = true;
                if (h) h->Form_Activate();
                break;
            case SDL_WINDOWEVENT_FOCUS_GAINED:
            case SDL_WINDOWEVENT_FOCUS_LOST: {
                // Desktops repeat focus events; the game counts the time between loss and gain,
                // so only real changes go through.
                const bool gained = w.event == SDL_WINDOWEVENT_FOCUS_GAINED;
                if (gained == focused_) break;
                focused_ = gained;
                updateCapture();
                if (h) gained ? h->Form_GotFocus() : h->Form_LostFocus();
                break;
            }
            case SDL_WINDOWEVENT_SIZE_CHANGED:
            case SDL_WINDOWEVENT_MOVED:
            case SDL_WINDOWEVENT_DISPLAY_CHANGED:
                if (!display_) break;
                display_->Relayout();
                if (captured_) confinePointer(true);
                break;
            case SDL_WINDOWEVENT_EXPOSED:
                if (display_) display_->Repaint();
                break;
            default: break;
        }
    }

    // A tap is a left click where the finger touches; one finger at a time steers the pointer.
    void handleFinger(Uint32 type, const SDL_TouchFingerEvent& f) {
        WindowEvents* h = events();
        if (!display_ || (activeFinger_ && *activeFinger_ != f.fingerId)) return;
        if (type == SDL_FINGERDOWN) activeFinger_ = f.fingerId;
        if (type == SDL_FINGERUP) activeFinger_.reset();
        int winW = 0, winH = 0;
        SDL_GetWindowSize(display_->window(), &winW, &winH);
        const double ppp = display_->pixelsPerPoint();
        cursor_.FollowWindow(f.x * (winW - 1) * ppp, f.y * (winH - 1) * ppp, display_->picture());
        if (!h) return;
        if (type == SDL_FINGERMOTION) {
            h->Form_MouseMove(1, shiftState(), cursorX(), cursorY());
        } else if (type == SDL_FINGERDOWN) {
            h->Form_MouseMove(0, shiftState(), cursorX(), cursorY());
            h->Form_MouseDown(1, shiftState(), cursorX(), cursorY());
        } else {
            h->Form_MouseUp(1, shiftState(), cursorX(), cursorY());
        }
    }

    void PressKey(int16_t code, bool down) override {
        WindowEvents* h = events();
        if (!down) {
            if (h) h->Form_KeyUp(code);
            return;
        }
        // P pauses the game; a paused player gets the system pointer back.
        if (code == kKeyP && mode_ == PointerMode::Game) {
            pausedByKey_ = !pausedByKey_;
            updateCapture();
        }
        if (!h) return;
        h->Form_KeyDown(code);
        if (typesControlCharacter(code)) h->Form_KeyPress(code);
    }

    // A controller's buttons and stick act where our pointer is, as the mouse does.
    void PressButton(int16_t button, bool down) override {
        WindowEvents* h = events();
        if (!display_ || !h) return;
        if (down)
            h->Form_MouseDown(button, 0, cursorX(), cursorY());
        else
            h->Form_MouseUp(button, 0, cursorX(), cursorY());
    }

    void MovePointer(double dx, double dy) override {
        if (!display_) return;
        const PictureRect& p = display_->picture();
        const int32_t oldX = cursor_.x(), oldY = cursor_.y();
        cursor_.MoveBy(dx * p.w / kPictureWidth, dy * p.h / kPictureHeight, p);
        // Warping only on a whole-pixel change keeps the fractions of a slow stick adding up.
        if (cursor_.x() != oldX || cursor_.y() != oldY) moveSystemPointer();
        if (WindowEvents* h = events()) h->Form_MouseMove(0, 0, cursorX(), cursorY());
    }

    float cursorX() const { return static_cast<float>(cursor_.x()); }
    float cursorY() const { return static_cast<float>(cursor_.y()); }

    void followSystemPointer(int windowX, int windowY) {
        const double ppp = display_->pixelsPerPoint();
        cursor_.FollowWindow(windowX * ppp, windowY * ppp, display_->picture());
    }

    // Puts the system pointer where the crosshair is, where the crosshair follows it. The pointer's
    // confinement also holds back a move by the program; it is lifted for it.
    void moveSystemPointer() {
        if (captured_ && relativePointer_) return;
        if (captured_) confinePointer(false);
        warpSystemPointer();
        if (captured_) confinePointer(true);
    }

    // Puts the system pointer where our pointer is, so both agree when the capture ends (the
    // desktop may refuse: Wayland moves no pointer for a program, and then nothing happens).
    void warpSystemPointer() {
        if (!display_ || !focused_ || !display_->visible()) return;
        const PictureRect& p = display_->picture();
        const double ppp = display_->pixelsPerPoint();
        const double x = p.x + (cursor_.x() + 0.5) * p.w / kPictureWidth;
        const double y = p.y + (cursor_.y() + 0.5) * p.h / kPictureHeight;
        SDL_WarpMouseInWindow(display_->window(), static_cast<int>(x / ppp), static_cast<int>(y / ppp));
    }

    // Captured while a game runs, and always in fullscreen, where the pointer cannot leave the
    // screen anyway; never without the focus. Captured, the system pointer is kept on the picture
    // and the crosshair follows its position, so mice, tablets, touch screens and remote desktops
    // all steer alike. Where a program cannot move the system pointer (Wayland), the pointer is
    // locked instead and the crosshair moves by the mouse's relative motion.
    void updateCapture() {
        const bool want =
            display_ && focused_ && (display_->fullscreen() || (mode_ == PointerMode::Game && !pausedByKey_));
        if (want != captured_) setCapture(want);
    }

    void setCapture(bool on) {
        captured_ = on;
        if (!display_) return;
        if (!relativePointer_) {
            confinePointer(on);
            return;
        }
        // Without relative mode the grab at least keeps the pointer in the window.
        if (SDL_SetRelativeMouseMode(on ? SDL_TRUE : SDL_FALSE) != 0)
            SDL_SetWindowGrab(display_->window(), on ? SDL_TRUE : SDL_FALSE);
        if (!on) warpSystemPointer();
    }

    // The system pointer kept on the picture, so no motion is lost in the bars beside it.
    void confinePointer(bool on) {
        if (relativePointer_) return;
        const SDL_Rect area = display_->pictureInWindow();
        SDL_SetWindowMouseRect(display_->window(), on ? &area : nullptr);
        SDL_SetWindowMouseGrab(display_->window(), on ? SDL_TRUE : SDL_FALSE);
    }

    SdlOptions options_;
    std::unique_ptr<SdlDisplay> display_;
    std::shared_ptr<SdlMixer> mixer_;
    StateRequest stateRequest_;
    std::unique_ptr<SdlControllers> controllers_;
    PictureCursor cursor_;
    std::optional<SDL_FingerID> activeFinger_;
    PointerMode mode_ = PointerMode::Menu;
    bool videoStarted_ = false;
    bool cursorShown_ = true;
    bool activated_ = false;
    // A new window normally has the focus; a desktop that thinks otherwise says so with a loss.
    bool focused_ = true;
    bool captured_ = false;
    bool pausedByKey_ = false;
    bool relativePointer_ = false;   // the crosshair moves by relative motion while captured
    uint64_t frames_ = 0;            // flips so far
    std::string title_;              // the window's title when not the program's name
    bool flippedSincePump_ = false;  // a frame was shown since the last pump
};

}  // namespace

std::unique_ptr<Platform> CreateSdlPlatform(const SdlOptions& options) {
    return std::make_unique<SdlPlatform>(options);
}

void VanishSdlPlatform(Platform& sdlPlatform) { static_cast<SdlPlatform&>(sdlPlatform).Vanish(); }

void SetSdlWindowTitle(Platform& sdlPlatform, const std::string& title) {
    static_cast<SdlPlatform&>(sdlPlatform).SetTitle(title);
}

}  // namespace platform
