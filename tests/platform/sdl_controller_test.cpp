// SPDX-License-Identifier: GPL-3.0-or-later
// Game controllers on the SDL backend: the stick's dead zone and speed, the buttons and triggers
// as mouse buttons and keys (synthetic controller events), and a virtual controller that is
// plugged in, steers the pointer and is pulled out again.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/sdl/sdl_controller.h"
#include "platform/sdl/sdl_platform.h"

namespace {

using Log = std::vector<std::string>;

struct Recorder : platform::WindowEvents {
    Log log;
    void Form_Activate() override {}
    void Form_GotFocus() override {}
    void Form_LostFocus() override {}
    void Form_KeyDown(int16_t k) override { log.push_back("KeyDown " + std::to_string(k)); }
    void Form_KeyUp(int16_t k) override { log.push_back("KeyUp " + std::to_string(k)); }
    void Form_KeyPress(int16_t c) override { log.push_back("KeyPress " + std::to_string(c)); }
    void Form_MouseDown(int16_t b, int16_t, float, float) override { log.push_back("MouseDown " + std::to_string(b)); }
    void Form_MouseUp(int16_t b, int16_t, float, float) override { log.push_back("MouseUp " + std::to_string(b)); }
    void Form_MouseMove(int16_t, int16_t, float, float) override { log.push_back("MouseMove"); }
};

}  // namespace

TEST(ControllerStick, DeadZoneAndSpeed) {
    const struct {
        int x, y, deadZone, speed;
        uint32_t ms;
        double dx, dy;
    } cases[] = {
        {0, 0, 15, 600, 16, 0, 0},
        {3000, -3000, 15, 600, 1000, 0, 0},  // 15 % of the travel is 4915: inside
        {32767, 0, 15, 600, 1000, 600, 0},   // full tilt: the speed
        {-32768, 0, 15, 600, 500, -300, 0},  // the far end of the axis is full tilt too
        {0, 32767, 0, 1000, 16, 0, 16},
        {23170, 23170, 0, 600, 1000, 424.26, 424.26},  // a diagonal at full tilt is no faster
        {16384 + 4915 / 2, 0, 15, 600, 1000, 300, 0},  // halfway past the dead zone: half speed
    };
    for (const auto& c : cases) {
        const auto s = platform::StickStep(c.x, c.y, c.deadZone, c.speed, c.ms);
        EXPECT_NEAR(s.dx, c.dx, 0.5) << c.x << "," << c.y;
        EXPECT_NEAR(s.dy, c.dy, 0.5) << c.x << "," << c.y;
    }
}

class SdlController : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SdlOptions options;
        options.window = true;
        options.scale = 2;
        options.controllerDeadZone = 10;
        options.controllerSpeed = 1000;
        platform_ = platform::CreateSdlPlatform(options);
        platform_->SetEventHandler(&events_);
        platform_->InitDisplay();
        platform_->DoEvents();
    }

    Log pump(std::initializer_list<SDL_Event> pushed = {}) {
        for (SDL_Event e : pushed) SDL_PushEvent(&e);
        events_.log.clear();
        platform_->DoEvents();
        return events_.log;
    }

    static SDL_Event button(SDL_GameControllerButton b, bool down) {
        SDL_Event e{};
        e.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
        e.cbutton.button = static_cast<Uint8>(b);
        e.cbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
        return e;
    }
    static SDL_Event axis(SDL_GameControllerAxis a, int value) {
        SDL_Event e{};
        e.type = SDL_CONTROLLERAXISMOTION;
        e.caxis.axis = static_cast<Uint8>(a);
        e.caxis.value = static_cast<Sint16>(value);
        return e;
    }

    Recorder events_;
    std::unique_ptr<platform::Platform> platform_;
};

TEST_F(SdlController, ButtonsAndTriggersAreMouseButtonsAndKeys) {
    const struct {
        SDL_Event press, release;
        Log down, up;
    } cases[] = {
        {button(SDL_CONTROLLER_BUTTON_A, true), button(SDL_CONTROLLER_BUTTON_A, false), {"MouseDown 1"}, {"MouseUp 1"}},
        {button(SDL_CONTROLLER_BUTTON_B, true), button(SDL_CONTROLLER_BUTTON_B, false), {"MouseDown 2"}, {"MouseUp 2"}},
        {button(SDL_CONTROLLER_BUTTON_START, true),
         button(SDL_CONTROLLER_BUTTON_START, false),
         {"KeyDown 80"},
         {"KeyUp 80"}},
        {button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true),
         button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false),
         {"KeyDown 37"},
         {"KeyUp 37"}},
        {button(SDL_CONTROLLER_BUTTON_DPAD_UP, true),
         button(SDL_CONTROLLER_BUTTON_DPAD_UP, false),
         {"KeyDown 38"},
         {"KeyUp 38"}},
        {button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true),
         button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false),
         {"KeyDown 39"},
         {"KeyUp 39"}},
        {button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true),
         button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false),
         {"KeyDown 40"},
         {"KeyUp 40"}},
        {axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767),
         axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0),
         {"MouseDown 1"},
         {"MouseUp 1"}},
        {axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 20000),
         axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 1000),
         {"MouseDown 2"},
         {"MouseUp 2"}},
        {button(SDL_CONTROLLER_BUTTON_Y, true), button(SDL_CONTROLLER_BUTTON_Y, false), {}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pump({c.press}), c.down) << c.down.size();
        EXPECT_EQ(pump({c.release}), c.up) << c.up.size();
    }
    // A trigger that wavers around the press point fires once.
    EXPECT_EQ(pump({axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 17000), axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 15000),
                    axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 17000)}),
              Log{"MouseDown 1"});
}

TEST_F(SdlController, AVirtualControllerIsPluggedInSteersAndIsPulledOut) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index < 0) GTEST_SKIP() << "no virtual joystick: " << SDL_GetError();
    // SDL passes controller input only to a focused window, and the offscreen one never is.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // The game sees the controller arrive first; the test's own handle to it comes after, as
    // SDL sends a joystick opened before its arrival no updates.
    pump();
    SDL_Joystick* stick = SDL_JoystickOpen(index);
    ASSERT_NE(stick, nullptr);

    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, 1);
    EXPECT_EQ(pump(), Log{"MouseDown 1"});
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, 0);
    EXPECT_EQ(pump(), Log{"MouseUp 1"});

    int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    platform_->GetCursorPos(x0, y0);
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, -32768);
    pump();
    const Uint32 start = SDL_GetTicks();
    SDL_Delay(60);
    const Log moved = pump();
    const Uint32 elapsed = std::min<Uint32>(SDL_GetTicks() - start, 100);
    platform_->GetCursorPos(x1, y1);
    EXPECT_EQ(moved, Log{"MouseMove"});
    EXPECT_EQ(y1, y0);
    // 1000 pixels a second at full tilt, to the left.
    EXPECT_NEAR(x0 - x1, static_cast<double>(elapsed), 20.0) << elapsed;

    // Let go, the stick moves nothing (the window's pointer echoes the last move once).
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, 0);
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    const Log held = pump();
    ASSERT_FALSE(held.empty());
    EXPECT_EQ(held.back(), "MouseDown 2");
    SDL_Delay(30);
    EXPECT_EQ(pump(), Log{});
    int32_t x2 = 0, y2 = 0;
    platform_->GetCursorPos(x2, y2);
    EXPECT_EQ(x2, x1);
    // Pulled out with the trigger held: the button comes up.
    SDL_JoystickClose(stick);
    SDL_JoystickDetachVirtual(index);
    EXPECT_EQ(pump(), Log{"MouseUp 2"});
    EXPECT_EQ(pump(), Log{});
}
