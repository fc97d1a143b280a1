// SPDX-License-Identifier: GPL-3.0-or-later
// The game's music: an original space-arcade tune in A minor that loops without a seam.
#pragma once

#include "synth.h"

namespace synth {

// back.wav: 24 bars at 137.8 beats a minute (41.8 s), melody, bass, arpeggio, pad and drums.
Stereo space_tune();

}  // namespace synth
