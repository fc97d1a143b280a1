// SPDX-License-Identifier: GPL-3.0-or-later
// Upload file: S, t, eight 40-byte entries with Geboren moved last, and the check sum P over the
// entries, weighted by the digits of the result, so that a changed entry or result shows.
#include "score/upload_file.h"

#include <algorithm>
#include <string_view>
#include <system_error>

#include "base/cp1252.h"
#include "base/utf8_path.h"
#include "score/age_digits.h"
#include "score/fixed_text.h"
#include "base/little_endian.h"
#include "base/read_file.h"

namespace score {

namespace {

constexpr size_t field_width = 40;
constexpr size_t entries_offset = 8;
constexpr size_t check_sum_offset = entries_offset + upload_entries_size;
// Form field of each entry in file order: Nickname, Name, Vorname, Strasse, PLZ, Ort, eMail, Geboren.
constexpr std::array<int, 8> file_order = {1, 2, 3, 5, 6, 7, 8, 4};

// Refused in file names on Linux ("/"), on Windows (the rest) or anywhere (control codes,
// including the bytes that code page 1252 leaves undefined and that decode to control codes).
bool can_stand_in_file_name(uint8_t byte) {
    if (cp1252::is_control(byte)) {
        return false;
    }
    return std::string_view("/\\:*?\"<>|").find(static_cast<char>(byte)) == std::string_view::npos;
}

std::string without_trailing_blanks(std::string_view text) {
    const auto last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string() : std::string(text.substr(0, last + 1));
}

std::string wrong_size(std::uintmax_t size) {
    return "the file has " + std::to_string(size) + " bytes instead of " + std::to_string(upload_file_size);
}

}  // namespace

std::string upload_file_name(const std::string& nickname, int32_t t) {
    std::string safe = nickname;
    for (char& c : safe) {
        if (!can_stand_in_file_name(static_cast<uint8_t>(c))) {
            c = '_';
        }
    }
    const auto Z = age_digits(t);
    std::string name = cp1252::to_utf8(safe);
    for (int pair = 0; pair < 3; ++pair) {
        name += '_' + std::to_string(Z[2 * pair]) + std::to_string(Z[2 * pair + 1]);
    }
    return name + ".qhs";
}

int32_t upload_check_sum(int32_t S, int32_t t, std::span<const uint8_t, upload_entries_size> entries) {
    const auto Z = age_digits(t);
    // 64 bits, so that a file with an absurd t cannot overflow; for every result the game can
    // give, all values fit in 32 bits and the wrap below changes nothing.
    int64_t P = int64_t{S % 68} * (S % 956);
    for (size_t k = 1; k <= 8; ++k) {
        for (size_t j = 1; j <= field_width; ++j) {
            const uint8_t c = entries[(k - 1) * field_width + (j - 1)];
            P += (int64_t{Z[(j + field_width * k) % 6]} + 1) * c;
        }
    }
    return static_cast<int32_t>(P);
}

std::array<uint8_t, upload_file_size> encode_upload(const UploadEntry& entry) {
    std::array<uint8_t, upload_file_size> bytes{};
    const std::span<uint8_t> all(bytes);
    base::store_little_endian(all.subspan(0, 4), static_cast<uint32_t>(entry.S));
    base::store_little_endian(all.subspan(4, 4), static_cast<uint32_t>(entry.t));
    for (size_t k = 0; k < file_order.size(); ++k) {
        const std::string fixed = fit_text(entry.FeldText[file_order[k]], field_width);
        std::copy(fixed.begin(), fixed.end(), bytes.begin() + entries_offset + k * field_width);
    }
    const int32_t P = upload_check_sum(entry.S, entry.t, all.subspan<entries_offset, upload_entries_size>());
    base::store_little_endian(all.subspan(check_sum_offset, 4), static_cast<uint32_t>(P));
    return bytes;
}

std::filesystem::path upload_directory(const std::filesystem::path& data_dir, base::FileSystem& files) {
    const auto upload = data_dir / upload_directory_name;
    return files.takes_uploads(upload, data_dir) ? upload : data_dir;
}

UploadWrite write_upload_file(const std::filesystem::path& data_dir, const UploadEntry& entry,
                              base::FileSystem& files) {
    const auto dir = upload_directory(data_dir, files);
    const auto name = upload_file_name(entry.FeldText[1], entry.t);
    const auto bytes = encode_upload(entry);
    return {dir / base::PathFromUtf8(name), files.replace(dir, name, bytes)};
}

UploadCheck check_upload(std::span<const uint8_t> bytes) {
    UploadCheck check;
    if (bytes.size() != upload_file_size) {
        check.error = wrong_size(bytes.size());
        check.fault = UploadFault::WrongSize;
        return check;
    }
    auto& entry = check.entry;
    entry.S = static_cast<int32_t>(base::load_little_endian(bytes.subspan(0, 4)));
    entry.t = static_cast<int32_t>(base::load_little_endian(bytes.subspan(4, 4)));
    for (size_t k = 0; k < file_order.size(); ++k) {
        const auto field = bytes.subspan(entries_offset + k * field_width, field_width);
        entry.FeldText[file_order[k]] =
            without_trailing_blanks(std::string_view(reinterpret_cast<const char*>(field.data()), field.size()));
    }
    if (entry.t < 0 || entry.t > worst_age) {
        check.error = "the result of " + std::to_string(entry.t) + " days lies outside 0 to 28800";
        check.fault = UploadFault::ResultOutOfRange;
        return check;
    }
    const auto stored = static_cast<int32_t>(base::load_little_endian(bytes.subspan(check_sum_offset, 4)));
    const auto computed =
        upload_check_sum(entry.S, entry.t, bytes.subspan(entries_offset).first<upload_entries_size>());
    if (stored != computed) {
        check.error = "the check sum does not match (stored " + std::to_string(stored) + ", computed " +
                      std::to_string(computed) + ")";
        check.fault = UploadFault::CheckSumMismatch;
    }
    return check;
}

UploadCheck check_upload_file(const std::filesystem::path& file) {
    const auto read = base::read_file_start(file, upload_file_size);
    if (!read.status.ok()) {
        return {read.status.error, UploadFault::Unreadable, {}};
    }
    if (read.size != upload_file_size) {
        return {wrong_size(read.size), UploadFault::WrongSize, {}};
    }
    return check_upload(read.bytes);
}

}  // namespace score
