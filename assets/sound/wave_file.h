// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a stereo buffer as the wave file format the game's sound buffers ask for:
// PCM, 2 channels, 22050 frames a second, 16 bits.
#pragma once

#include <filesystem>

#include "synth.h"

namespace synth {

// Throws std::runtime_error when the file cannot be written.
void write_wave_file(const std::filesystem::path& path, const Stereo& sound);

}  // namespace synth
