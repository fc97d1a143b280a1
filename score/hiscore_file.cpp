// SPDX-License-Identifier: GPL-3.0-or-later
// hiscore.dat: fixed offsets, little-endian numbers, blank-padded code page 1252 texts,
// and the settings stored inverted (0 in the file is on).
#include "score/hiscore_file.h"

#include <optional>

#include "base/utf8_path.h"
#include "score/fixed_text.h"
#include "base/little_endian.h"
#include "base/read_file.h"

namespace score {

namespace {

constexpr size_t name_width = 8;
constexpr size_t field_width = 40;

// Reads the layout front to back; whatever lies beyond the end of the bytes is reported missing.
class Reader {
  public:
    explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    // The bytes that are there, blank-padded to `width`. Control codes cannot be typed and the
    // font has no glyph for them: a damaged or zero-filled file shows blanks there instead.
    std::string text(size_t width) {
        std::string out(width, ' ');
        for (size_t k = 0; k < width && pos_ + k < bytes_.size(); ++k) {
            const uint8_t byte = bytes_[pos_ + k];
            if (byte >= 32 && byte != 127) {
                out[k] = static_cast<char>(byte);
            }
        }
        pos_ += width;
        return out;
    }

    std::optional<int32_t> int32() {
        const auto value = number(4);
        return value ? std::optional<int32_t>(static_cast<int32_t>(*value)) : std::nullopt;
    }

    std::optional<int16_t> int16() {
        const auto value = number(2);
        return value ? std::optional<int16_t>(static_cast<int16_t>(*value)) : std::nullopt;
    }

  private:
    std::optional<uint32_t> number(size_t size) {
        const size_t at = pos_;
        pos_ += size;
        if (at + size > bytes_.size()) {
            return std::nullopt;
        }
        return base::load_little_endian(bytes_.subspan(at, size));
    }

    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
};

class Writer {
  public:
    void text(const std::string& s, size_t width) {
        for (char c : fit_text(s, width)) {
            bytes_[pos_++] = static_cast<uint8_t>(c);
        }
    }

    void number(uint32_t value, size_t size) {
        base::store_little_endian(std::span(bytes_).subspan(pos_, size), value);
        pos_ += size;
    }

    const std::array<uint8_t, hiscore_file_size>& bytes() const { return bytes_; }

  private:
    std::array<uint8_t, hiscore_file_size> bytes_{};
    size_t pos_ = 0;
};

// The file stores NOT of the setting; whatever is not exactly "off" is read as on.
int16_t setting_from_file(std::optional<int16_t> stored) { return stored && *stored == -1 ? 0 : -1; }

}  // namespace

HiscoreData::HiscoreData() {
    for (int i = 1; i <= 8; ++i) {
        HSName[i] = std::string(name_width, ' ');
        HSTage[i] = worst_age;
    }
}

std::array<uint8_t, hiscore_file_size> encode_hiscore(const HiscoreData& data) {
    Writer out;
    for (int i = 1; i <= 8; ++i) {
        out.text(data.HSName[i], name_width);
        out.number(static_cast<uint32_t>(data.HSTage[i]), 4);
    }
    out.text(data.SpielerName, name_width);
    for (int i = 1; i <= 8; ++i) {
        out.text(data.FeldText[i], field_width);
    }
    for (int16_t setting : {data.NebelAn, data.SoundAn, data.MusikAn}) {
        out.number(static_cast<uint16_t>(~setting), 2);
    }
    return out.bytes();
}

HiscoreData decode_hiscore(std::span<const uint8_t> bytes) {
    HiscoreData data;
    Reader in(bytes);
    for (int i = 1; i <= 8; ++i) {
        data.HSName[i] = in.text(name_width);
        const auto age = in.int32();
        data.HSTage[i] = age && *age >= 1 && *age <= worst_age ? *age : worst_age;
    }
    data.SpielerName = trim_blanks(in.text(name_width));
    for (int i = 1; i <= 8; ++i) {
        data.FeldText[i] = trim_blanks(in.text(field_width));
    }
    data.NebelAn = setting_from_file(in.int16());
    data.SoundAn = setting_from_file(in.int16());
    data.MusikAn = setting_from_file(in.int16());
    return data;
}

int32_t rank_result(const HiscoreData& data, int32_t t) {
    if (data.HSTage[8] <= t) {
        return not_ranked;
    }
    int i = 8;
    while (i > 0 && data.HSTage[i] > t) {
        --i;
    }
    return i + 1;
}

void enter_result(HiscoreData& data, int32_t rang, int32_t t, const std::string& SpielerName) {
    if (rang < 1 || rang > 8) {
        return;
    }
    for (int i = 8; i > rang; --i) {
        data.HSTage[i] = data.HSTage[i - 1];
        data.HSName[i] = data.HSName[i - 1];
    }
    data.HSTage[rang] = t;
    data.HSName[rang] = fit_text(SpielerName, name_width);
}

HiscoreLoad load_hiscore(const std::filesystem::path& file, HiscoreData& into, base::FileSystem& files) {
    // Only the first 430 bytes count; a longer file is read as far as the layout goes.
    const auto read = files.read_start(file, hiscore_file_size);
    if (read.status.code == std::errc::no_such_file_or_directory) {
        const HiscoreData fresh;
        auto status = save_hiscore(file, fresh, files);
        if (status.ok()) {
            into = fresh;
        }
        return {status, false};
    }
    if (read.status.ok()) {
        into = decode_hiscore(read.bytes);
    }
    return {read.status, !read.status.ok()};
}

base::FileStatus save_hiscore(const std::filesystem::path& file, const HiscoreData& data, base::FileSystem& files) {
    const auto bytes = encode_hiscore(data);
    const auto target = files.link_target(file);
    return files.replace(target.parent_path(), base::Utf8FromPath(target.filename()), bytes);
}

}  // namespace score
