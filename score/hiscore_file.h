// SPDX-License-Identifier: GPL-3.0-or-later
// hiscore.dat: the local list of eight results, the player name, the upload-form entries and
// the three settings, in the game's 430-byte layout; and the rules by which a result enters the list.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "score/age_digits.h"
#include "base/file_system.h"
#include "base/replace_file.h"

namespace score {

inline constexpr const char* hiscore_file_name = "hiscore.dat";
inline constexpr std::size_t hiscore_file_size = 430;
// The rank of a result that does not enter the list.
inline constexpr int32_t not_ranked = 80;

// Everything the file holds. Texts are code page 1252 bytes; index 0 of each array is unused.
// A default-constructed value is the content of a new file.
struct HiscoreData {
    std::array<std::string, 9> HSName;    // 1..8, rank 1 first: 8 characters each, blank-padded
    std::array<int32_t, 9> HSTage{};      // 1..8: ages in days, lower is better
    std::string SpielerName;              // at most 8 characters
    std::array<std::string, 9> FeldText;  // 1..8: Nickname, Name, Vorname, Geboren, Strasse, PLZ, Ort, eMail
    int16_t NebelAn = -1;                 // settings: -1 on, 0 off
    int16_t SoundAn = -1;
    int16_t MusikAn = -1;

    HiscoreData();
};

std::array<uint8_t, hiscore_file_size> encode_hiscore(const HiscoreData& data);

// Reads as much of the layout as `bytes` holds (any length); fields beyond the end keep a new
// file's content. Ages outside 1..28800 count as empty, settings other than -1 (on) and 0 (off)
// count as on, and control codes in texts load as blanks.
HiscoreData decode_hiscore(std::span<const uint8_t> bytes);

// The rank (1..8) that a result of t days takes in the list, or not_ranked: a result enters only
// when it is lower than the eighth entry, and goes below every entry that is equal or lower.
int32_t rank_result(const HiscoreData& data, int32_t t);

// Inserts a result of t days with the player's name at rank `rang` (1..8; others change nothing):
// the entries from there on move one place down and the eighth falls out.
void enter_result(HiscoreData& data, int32_t rang, int32_t t, const std::string& SpielerName);

struct HiscoreLoad : base::FileStatus {
    // The file exists but could not be read: it may hold a player's list, so it must not be
    // saved over until a later load succeeds.
    bool left_alone = false;
};

// Reads `file` into `into`. A missing file is written with a new file's content, which `into`
// then takes. On failure `into` keeps what it held and the status says why.
HiscoreLoad load_hiscore(const std::filesystem::path& file, HiscoreData& into, base::FileSystem& files = base::disk());

// Replaces `file` as a whole (temporary file, flush, rename): a failed save leaves the old file.
// Where `file` is a symbolic link, the file it leads to is replaced and the link stays.
base::FileStatus save_hiscore(const std::filesystem::path& file, const HiscoreData& data,
                              base::FileSystem& files = base::disk());

}  // namespace score
