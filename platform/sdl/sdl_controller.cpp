// SPDX-License-Identifier: GPL-3.0-or-later
// Game controllers: hot-plugging, the button and trigger map, and the stick that steers the pointer.
#include "base/log.h"
#include "platform/sdl/sdl_controller.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace platform {

namespace {

constexpr double kAxisMax = 32767.0;
// A trigger counts as pressed past half its travel and as released below a quarter, so a
// trigger held near the line does not fire twice.
constexpr int kTriggerPress = 16384;
constexpr int kTriggerRelease = 8192;
// More than a frame's worth of stick motion after a stall would throw the pointer across the screen.
constexpr uint32_t kLongestStepMs = 100;

constexpr int16_t kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40, kKeyP = 80;

}  // namespace

PointerStep StickStep(int x, int y, int deadZonePercent, int speed, uint32_t ms) {
    const double fx = std::clamp(x / kAxisMax, -1.0, 1.0), fy = std::clamp(y / kAxisMax, -1.0, 1.0);
    const double tilt = std::min(1.0, std::hypot(fx, fy));
    const double dead = deadZonePercent / 100.0;
    if (tilt <= dead || tilt == 0) return {};
    const double beyond = (tilt - dead) / (1.0 - dead);
    const double pixels = beyond * speed * ms / 1000.0;
    return {fx / tilt * pixels, fy / tilt * pixels};
}

SdlControllers::SdlControllers(int deadZonePercent, int speed, ControllerActions& actions)
    : deadZone_(deadZonePercent), speed_(speed), actions_(actions) {
    // Controllers already plugged in arrive as "added" events, like those plugged in later.
    started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!started_) base::Log("no game controllers: %s", SDL_GetError());
}

SdlControllers::~SdlControllers() {
    for (auto& [id, controller] : open_) SDL_GameControllerClose(controller);
    if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool SdlControllers::Handle(const SDL_Event& e) {
    switch (e.type) {
        case SDL_CONTROLLERDEVICEADDED:
            if (SDL_GameController* c = SDL_GameControllerOpen(e.cdevice.which)) {
                const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(c));
                if (open_.count(id))
                    SDL_GameControllerClose(c);  // already open: SDL counts references
                else
                    open_[id] = c;
            }
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            if (auto it = open_.find(e.cdevice.which); it != open_.end()) {
                // A controller pulled out with a button held must not leave the button held.
                if (triggersDown_[it->first] & 1) actions_.PressButton(2, false);
                if (triggersDown_[it->first] & 2) actions_.PressButton(1, false);
                triggersDown_.erase(it->first);
                SDL_GameControllerClose(it->second);
                open_.erase(it);
            }
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            const bool down = e.type == SDL_CONTROLLERBUTTONDOWN;
            switch (e.cbutton.button) {
                case SDL_CONTROLLER_BUTTON_A: actions_.PressButton(1, down); break;
                case SDL_CONTROLLER_BUTTON_B: actions_.PressButton(2, down); break;
                case SDL_CONTROLLER_BUTTON_START: actions_.PressKey(kKeyP, down); break;
                case SDL_CONTROLLER_BUTTON_DPAD_LEFT: actions_.PressKey(kKeyLeft, down); break;
                case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: actions_.PressKey(kKeyRight, down); break;
                case SDL_CONTROLLER_BUTTON_DPAD_UP: actions_.PressKey(kKeyUp, down); break;
                case SDL_CONTROLLER_BUTTON_DPAD_DOWN: actions_.PressKey(kKeyDown, down); break;
                default: break;
            }
            return true;
        }
        case SDL_CONTROLLERAXISMOTION:
            if (e.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT) trigger(e.caxis.which, false, e.caxis.value);
            if (e.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT) trigger(e.caxis.which, true, e.caxis.value);
            return true;
        default: return false;
    }
}

void SdlControllers::trigger(SDL_JoystickID id, bool right, int value) {
    const int bit = right ? 2 : 1;
    int& down = triggersDown_[id];
    if (!(down & bit) && value >= kTriggerPress) {
        down |= bit;
        actions_.PressButton(right ? 1 : 2, true);
    } else if ((down & bit) && value < kTriggerRelease) {
        down &= ~bit;
        actions_.PressButton(right ? 1 : 2, false);
    }
}

void SdlControllers::Tick(uint32_t nowMs) {
    const uint32_t ms = ticked_ ? std::min(nowMs - lastTick_, kLongestStepMs) : 0;
    lastTick_ = nowMs;
    ticked_ = true;
    PointerStep total;
    for (const auto& [id, c] : open_) {
        const PointerStep s = StickStep(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX),
                                        SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY), deadZone_, speed_, ms);
        total.dx += s.dx;
        total.dy += s.dy;
    }
    if (total.dx != 0 || total.dy != 0) actions_.MovePointer(total.dx, total.dy);
}

}  // namespace platform
