// SPDX-License-Identifier: GPL-3.0-or-later
// The SDL backend's event pump: real SDL events pushed into SDL's queue come out as the game's
// window events, with Windows key codes, code page 1252 characters and picture coordinates.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sdl/sdl_platform.h"

namespace {

struct Recorder : platform::WindowEvents {
    std::vector<std::string> log;
    void Form_Activate() override { log.push_back("Activate"); }
    void Form_GotFocus() override { log.push_back("GotFocus"); }
    void Form_LostFocus() override { log.push_back("LostFocus"); }
    void Form_KeyDown(int16_t k) override { log.push_back("KeyDown " + std::to_string(k)); }
    void Form_KeyUp(int16_t k) override { log.push_back("KeyUp " + std::to_string(k)); }
    void Form_KeyPress(int16_t c) override { log.push_back("KeyPress " + std::to_string(c)); }
    void Form_MouseDown(int16_t b, int16_t, float x, float y) override { mouse("MouseDown", b, x, y); }
    void Form_MouseUp(int16_t b, int16_t, float x, float y) override { mouse("MouseUp", b, x, y); }
    void Form_MouseMove(int16_t b, int16_t, float x, float y) override { mouse("MouseMove", b, x, y); }
    void mouse(const char* what, int16_t b, float x, float y) {
        log.push_back(std::string(what) + " " + std::to_string(b) + " " + std::to_string(static_cast<int>(x)) + " " +
                      std::to_string(static_cast<int>(y)));
    }
};

using Log = std::vector<std::string>;

class SdlEvents : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SdlOptions options;
        options.window = true;
        options.scale = 1;
        options.scaling = "integer";
        options.fullscreenChanged = [this](bool fullscreen) { fullscreenChoices_.push_back(fullscreen); };
        platform_ = platform::CreateSdlPlatform(options);
        platform_->SetEventHandler(&events_);
        platform_->InitDisplay();
        // The window's own first events name it, which lets the test resize it.
        SDL_PumpEvents();
        SDL_Event e;
        ASSERT_EQ(SDL_PeepEvents(&e, 1, SDL_PEEKEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT), 1);
        window_ = SDL_GetWindowFromID(e.window.windowID);
        ASSERT_NE(window_, nullptr);
        platform_->DoEvents();
        startLog_ = events_.log;
        events_.log.clear();
    }

    // Pushes the events, runs one pump and returns what the game was told.
    Log pump(std::initializer_list<SDL_Event> pushed) {
        for (SDL_Event e : pushed) SDL_PushEvent(&e);
        events_.log.clear();
        platform_->DoEvents();
        return events_.log;
    }

    static SDL_Event key(Uint32 type, SDL_Keycode sym, SDL_Scancode scancode, Uint16 mod = KMOD_NONE) {
        SDL_Event e{};
        e.type = type;
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.sym = sym;
        e.key.keysym.scancode = scancode;
        e.key.keysym.mod = mod;
        return e;
    }
    static SDL_Event text(const char* utf8) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        SDL_strlcpy(e.text.text, utf8, sizeof e.text.text);
        return e;
    }
    static SDL_Event motion(int x, int y, int xrel, int yrel) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = x;
        e.motion.y = y;
        e.motion.xrel = xrel;
        e.motion.yrel = yrel;
        return e;
    }
    static SDL_Event finger(Uint32 type, SDL_FingerID id, float x, float y) {
        SDL_Event e{};
        e.type = type;
        e.tfinger.fingerId = id;
        e.tfinger.x = x;
        e.tfinger.y = y;
        return e;
    }
    static SDL_Event button(Uint32 type, Uint8 which, int x, int y) {
        SDL_Event e{};
        e.type = type;
        e.button.button = which;
        e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.button.x = x;
        e.button.y = y;
        return e;
    }
    SDL_Event windowEvent(SDL_WindowEventID what) const {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = what;
        e.window.windowID = SDL_GetWindowID(window_);
        return e;
    }

    Recorder events_;
    Log startLog_;
    std::vector<bool> fullscreenChoices_;
    std::unique_ptr<platform::Platform> platform_;
    SDL_Window* window_ = nullptr;
};

TEST_F(SdlEvents, EscapeAndClosingTheWindowBothTypeEscape) {
    EXPECT_EQ(pump({key(SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE)}), (Log{"KeyDown 27", "KeyPress 27"}));
    EXPECT_EQ(pump({key(SDL_KEYUP, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE)}), (Log{"KeyUp 27"}));
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_EQ(pump({quit}), (Log{"KeyPress 27"}));
}

TEST_F(SdlEvents, KeysArriveAsWindowsKeyCodes) {
    const struct {
        SDL_Keycode sym;
        SDL_Scancode scancode;
        Log want;
    } cases[] = {
        {SDLK_LEFT, SDL_SCANCODE_LEFT, {"KeyDown 37"}},
        {SDLK_UP, SDL_SCANCODE_UP, {"KeyDown 38"}},
        {SDLK_RIGHT, SDL_SCANCODE_RIGHT, {"KeyDown 39"}},
        {SDLK_DOWN, SDL_SCANCODE_DOWN, {"KeyDown 40"}},
        {SDLK_p, SDL_SCANCODE_P, {"KeyDown 80"}},
        // A German keyboard: the key right of T types z, and Windows calls it Z.
        {SDLK_z, SDL_SCANCODE_Y, {"KeyDown 90"}},
        // A Cyrillic layout types no Latin letter; the key's place decides.
        {0x0437, SDL_SCANCODE_P, {"KeyDown 80"}},
        // The digit row goes by place, whatever a French layout types on it.
        {SDLK_AMPERSAND, SDL_SCANCODE_1, {"KeyDown 49"}},
        {SDLK_0, SDL_SCANCODE_0, {"KeyDown 48"}},
        {SDLK_F1, SDL_SCANCODE_F1, {"KeyDown 112"}},
        // F12 takes a screenshot and is no game key.
        {SDLK_F12, SDL_SCANCODE_F12, {}},
        {SDLK_SPACE, SDL_SCANCODE_SPACE, {"KeyDown 32"}},
        // Keys for which the desktop sends no text type their control character.
        {SDLK_TAB, SDL_SCANCODE_TAB, {"KeyDown 9", "KeyPress 9"}},
        {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, {"KeyDown 8", "KeyPress 8"}},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, {"KeyDown 13", "KeyPress 13"}},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, {"KeyDown 13", "KeyPress 13"}},
        // A key without a Windows code is not delivered.
        {SDLK_APPLICATION, SDL_SCANCODE_APPLICATION, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(pump({key(SDL_KEYDOWN, c.sym, c.scancode)}), c.want) << c.sym;
}

TEST_F(SdlEvents, TypedTextArrivesInCodePage1252) {
    EXPECT_EQ(pump({text("Ä")}), (Log{"KeyPress 196"}));
    // Characters the code page lacks are dropped; the rest keep their order.
    EXPECT_EQ(pump({text("aß€\xE2\x98\x83z")}), (Log{"KeyPress 97", "KeyPress 223", "KeyPress 128", "KeyPress 122"}));
}

TEST_F(SdlEvents, FullscreenTogglesStayInsideTheBackend) {
    ASSERT_FALSE(SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN);
    EXPECT_EQ(pump({key(SDL_KEYDOWN, SDLK_F11, SDL_SCANCODE_F11), key(SDL_KEYUP, SDLK_F11, SDL_SCANCODE_F11)}), Log{});
    EXPECT_TRUE(SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN);
    EXPECT_EQ(pump({key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT),
                    key(SDL_KEYUP, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT)}),
              Log{});
    EXPECT_FALSE(SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN);
    // Each switch is handed on, so the settings file remembers it.
    EXPECT_EQ(fullscreenChoices_, (std::vector<bool>{true, false}));
}

TEST_F(SdlEvents, MenuPointerFollowsTheSystemPointerThroughTheLetterbox) {
    // 1500 x 1000 holds the picture twice, at (110, 20).
    SDL_SetWindowSize(window_, 1500, 1000);
    pump({});
    EXPECT_EQ(pump({motion(110 + 200, 20 + 100, 0, 0)}), (Log{"MouseMove 0 100 50"}));
    EXPECT_EQ(pump({motion(5, 5, 0, 0), motion(1499, 999, 0, 0)}), (Log{"MouseMove 0 0 0", "MouseMove 0 639 479"}));
    EXPECT_EQ(pump({button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 110 + 41, 20 + 21),
                    button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 110 + 41, 20 + 21),
                    button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 110, 20),
                    button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 110, 20)}),
              (Log{"MouseDown 2 20 10", "MouseUp 2 20 10", "MouseDown 4 0 0", "MouseUp 1 0 0"}));
    int32_t x = -1, y = -1;
    platform_->GetCursorPos(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

TEST_F(SdlEvents, GamePointerFollowsThePointersPositionWhateverTheDeviceReports) {
    // 1500 x 1000 holds the picture twice, at (110, 20). A mouse and a tablet both move the system
    // pointer; the crosshair goes where it is, whatever relative motion comes with it.
    SDL_SetWindowSize(window_, 1500, 1000);
    pump({});
    platform_->SetPointerMode(platform::PointerMode::Game);
    // The system pointer goes where the game puts the crosshair, and SDL reports it there.
    platform_->SetCursorPos(320, 240);
    EXPECT_EQ(pump({}), (Log{"MouseMove 0 320 240"}));
    EXPECT_EQ(pump({motion(110 + 660, 20 + 500, 20, -10)}), (Log{"MouseMove 0 330 250"}));
    EXPECT_EQ(pump({motion(110 + 200, 20 + 100, 0, 0)}), (Log{"MouseMove 0 100 50"}));
    EXPECT_EQ(pump({motion(1499, 999, 5000, 5000)}), (Log{"MouseMove 0 639 479"}));
    // Paused, the same holds.
    EXPECT_EQ(pump({key(SDL_KEYDOWN, SDLK_p, SDL_SCANCODE_P), motion(110 + 4, 20 + 6, 1, 1)}),
              (Log{"KeyDown 80", "MouseMove 0 2 3"}));
}

TEST_F(SdlEvents, ATapIsALeftClickWhereTheFingerTouches) {
    // The 640 x 480 window spans the touch surface's 0..1; SDL's mouse copies of a touch are not
    // counted again, and a second finger does not steer while the first is down.
    SDL_Event touchCopy = button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 1);
    touchCopy.button.which = SDL_TOUCH_MOUSEID;
    EXPECT_EQ(pump({finger(SDL_FINGERDOWN, 7, 0.5f, 0.25f), touchCopy, finger(SDL_FINGERDOWN, 8, 0.9f, 0.9f),
                    finger(SDL_FINGERMOTION, 7, 0.0f, 1.0f), finger(SDL_FINGERUP, 7, 0.0f, 1.0f)}),
              (Log{"MouseMove 0 319 119", "MouseDown 1 319 119", "MouseMove 1 0 479", "MouseUp 1 0 479"}));
}

TEST_F(SdlEvents, AGameWithoutTheFocusWaitsInThePumpAndKeepsItsDisplay) {
    // In the menus the pump returns at once without the focus.
    EXPECT_EQ(pump({windowEvent(SDL_WINDOWEVENT_FOCUS_LOST)}), (Log{"LostFocus"}));
    EXPECT_EQ(pump({}), Log{});
    platform_->SetPointerMode(platform::PointerMode::Game);
    EXPECT_TRUE(platform_->TestCooperativeLevel());
    // A game waits until the focus is back, a third of a second later.
    SDL_AddTimer(
        300,
        [](Uint32, void* window) -> Uint32 {
            SDL_Event e{};
            e.type = SDL_WINDOWEVENT;
            e.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
            e.window.windowID = SDL_GetWindowID(static_cast<SDL_Window*>(window));
            SDL_PushEvent(&e);
            return 0;
        },
        window_);
    const Uint32 start = SDL_GetTicks();
    EXPECT_EQ(pump({}), (Log{"GotFocus"}));
    EXPECT_GE(SDL_GetTicks() - start, 250u);
    EXPECT_TRUE(platform_->TestCooperativeLevel());
}

TEST_F(SdlEvents, OnlyARendererResetLosesTheDisplayAndItComesBack) {
    platform::Surface back(640, 480);
    for (Uint32 reset : {SDL_RENDER_TARGETS_RESET, SDL_RENDER_DEVICE_RESET}) {
        SDL_Event e{};
        e.type = reset;
        pump({e});
        // With a renderer: false once, while the textures are made anew; then the frames show
        // again. Drawing into the window's own surface (no renderer), nothing is lost at all.
        if (SDL_GetRenderer(window_)) {
            EXPECT_FALSE(platform_->TestCooperativeLevel()) << reset;
        }
        EXPECT_TRUE(platform_->TestCooperativeLevel()) << reset;
        platform_->Flip(back);
    }
}

TEST_F(SdlEvents, ActivationOnceAndOnlyRealFocusChanges) {
    EXPECT_EQ(std::count(startLog_.begin(), startLog_.end(), "Activate"), 1);
    EXPECT_EQ(pump({windowEvent(SDL_WINDOWEVENT_SHOWN)}), Log{});
    EXPECT_EQ(pump({windowEvent(SDL_WINDOWEVENT_FOCUS_LOST), windowEvent(SDL_WINDOWEVENT_FOCUS_LOST),
                    windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED), windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED)}),
              (Log{"LostFocus", "GotFocus"}));
}

TEST_F(SdlEvents, FramesOfAHiddenWindowStillTakeTheirTime) {
    SDL_HideWindow(window_);
    // Nothing to show, yet twenty frames take as long as twenty refreshes (60 Hz assumed).
    platform::Surface back(640, 480);
    const Uint32 start = SDL_GetTicks();
    for (int i = 0; i < 20; ++i) platform_->Flip(back);
    EXPECT_GE(SDL_GetTicks() - start, 300u);
    EXPECT_TRUE(platform_->TestCooperativeLevel());
    SDL_ShowWindow(window_);
}

TEST_F(SdlEvents, ShownFramesKeepToTheDisplayRate) {
    platform::Surface back(640, 480);
    // Whether the renderer's vsync is real or only claimed, once it has been watched for a while
    // frames come no faster than the display refreshes (60 Hz assumed where it does not say). A
    // busy machine can hide a claimed vsync for a half second or two, hence the long warm-up.
    for (int i = 0; i < 90; ++i) platform_->Flip(back);
    const Uint32 start = SDL_GetTicks();
    for (int i = 0; i < 30; ++i) platform_->Flip(back);
    EXPECT_GE(SDL_GetTicks() - start, 450u);
}

}  // namespace
