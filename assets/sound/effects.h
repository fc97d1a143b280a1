// SPDX-License-Identifier: GPL-3.0-or-later
// The sound effects of the game, each built from scratch; the comment names the wave file
// it becomes. Levels are set later by the caller.
#pragma once

#include "synth.h"

namespace synth {

// The player's gun (effects_gun.cpp).
Stereo laser_shot();       // daneben.wav: every shot fired
Stereo sizzling_hit();     // bruzel.wav: a hit
Stereo empty_gun_click();  // leer.wav: a click with an empty magazine
Stereo power_up();         // powerup.wav: the shots reloaded

// Things struck in space (effects_impacts.cpp).
Stereo deep_impact();      // Planet.wav
Stereo rocky_explosion();  // Mond.wav
Stereo crackle();          // meteor.wav
Stereo glass_chime();      // fenster.wav

// The big Irone and the ship (effects_irone.cpp).
Stereo heavy_wet_thud();  // Squash.wav: the big Irone arrives
Stereo death_squelch();   // squish.wav: the big Irone dies
Stereo suction_alarm();   // absaugen.wav: loops while the big Irone eats time
Stereo engine_hum();      // motor.wav

}  // namespace synth
