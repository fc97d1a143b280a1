// SPDX-License-Identifier: GPL-3.0-or-later
// Game controllers through SDL's game controller API, hot-plugged: the left stick moves the
// pointer, A or the right trigger is the left button, B or the left trigger the right button,
// Start is P and the d-pad gives the arrow keys.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <map>

namespace platform {

// What a controller does, in the game's own terms.
class ControllerActions {
  public:
    virtual ~ControllerActions() = default;
    // Pointer motion in picture pixels (fractions add up).
    virtual void MovePointer(double dx, double dy) = 0;
    // Mouse button 1 (left) or 2 (right).
    virtual void PressButton(int16_t button, bool down) = 0;
    // A Windows key code (37..40 arrows, 80 P).
    virtual void PressKey(int16_t keyCode, bool down) = 0;
};

struct PointerStep {
    double dx = 0, dy = 0;
};

// The pointer's motion for a stick held at (x, y) (SDL axis values) for `ms` milliseconds: nothing
// inside the dead zone (percent of the travel, round), then rising evenly to `speed` picture
// pixels per second at full tilt.
PointerStep StickStep(int x, int y, int deadZonePercent, int speed, uint32_t ms);

class SdlControllers {
  public:
    SdlControllers(int deadZonePercent, int speed, ControllerActions& actions);
    ~SdlControllers();
    SdlControllers(const SdlControllers&) = delete;
    SdlControllers& operator=(const SdlControllers&) = delete;

    // Takes the controller events (true) and leaves every other event to the caller (false).
    bool Handle(const SDL_Event& e);
    // Once per event pump: moves the pointer by the sticks' tilt over the time since the last pump.
    void Tick(uint32_t nowMs);

  private:
    void trigger(SDL_JoystickID id, bool right, int value);

    int deadZone_, speed_;
    ControllerActions& actions_;
    bool started_ = false;
    std::map<SDL_JoystickID, SDL_GameController*> open_;
    std::map<SDL_JoystickID, int> triggersDown_;  // bit 0 left, bit 1 right
    uint32_t lastTick_ = 0;
    bool ticked_ = false;
};

}  // namespace platform
