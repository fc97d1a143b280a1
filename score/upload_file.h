// SPDX-License-Identifier: GPL-3.0-or-later
// The upload file for the world-wide list: its name, its place, its 332-byte layout with the
// check sum, writing it, and checking a received one.
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

inline constexpr std::size_t upload_file_size = 332;
// The eight 40-byte entries, from offset 8.
inline constexpr std::size_t upload_entries_size = 320;
// The sub-directory of the data directory that takes upload files once it holds a file.
inline constexpr const char* upload_directory_name = "UpLoad";
// Where players send their upload files.
inline constexpr const char* upload_address = "highscore@vorlanix.example";
// Where the world-wide list is published.
inline constexpr const char* world_list_address = "www.vorlanix.example";

// What one upload file holds. Texts are code page 1252 bytes.
struct UploadEntry {
    int32_t S = 0;                        // the tick count when the file was made
    int32_t t = 0;                        // the result in days
    std::array<std::string, 9> FeldText;  // 1..8 in the form's order; index 0 unused
};

// Nickname_JJ_MM_TT.qhs, in UTF-8. Characters that cannot stand in a file name ("/", ":",
// control codes and the others some systems refuse) become "_" in the name only.
std::string upload_file_name(const std::string& nickname, int32_t t);

// P over the 320 entry bytes as they stand in the file, weighted by the digits of t.
int32_t upload_check_sum(int32_t S, int32_t t, std::span<const uint8_t, upload_entries_size> entries);

// S, t, the entries in the file's order (Geboren last), each cut or padded to 40, then P.
std::array<uint8_t, upload_file_size> encode_upload(const UploadEntry& entry);

// data_dir/UpLoad when that directory holds at least one ordinary file, else data_dir. An
// UpLoad that is a symbolic link leading out of data_dir is not followed.
std::filesystem::path upload_directory(const std::filesystem::path& data_dir, base::FileSystem& files = base::disk());

struct UploadWrite {
    std::filesystem::path path;  // where the file went, or where it should have gone
    base::FileStatus status;
};

// Writes the upload file of `entry` into upload_directory(data_dir), replacing a file of
// the same name as a whole; the file can never land outside that directory.
UploadWrite write_upload_file(const std::filesystem::path& data_dir, const UploadEntry& entry,
                              base::FileSystem& files = base::disk());

// Why a received file is not valid, for callers that answer in their own words.
enum class UploadFault { None, WrongSize, ResultOutOfRange, CheckSumMismatch, Unreadable };

struct UploadCheck {
    std::string error;  // empty when the file is valid, else the reason
    UploadFault fault = UploadFault::None;
    UploadEntry entry;  // what the file holds (texts trimmed of padding), as far as it could be read
    bool ok() const { return error.empty(); }
};

// Checks the size, the range of the result and the check sum.
UploadCheck check_upload(std::span<const uint8_t> bytes);
UploadCheck check_upload_file(const std::filesystem::path& file);

}  // namespace score
