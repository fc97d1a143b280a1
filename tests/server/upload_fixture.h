// SPDX-License-Identifier: GPL-3.0-or-later
// Upload files made the way the game makes them, for the server's tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "score/upload_file.h"

inline score::UploadEntry upload_entry(const std::string& nickname, int32_t t, int32_t S = 4242) {
    score::UploadEntry e;
    e.S = S;
    e.t = t;
    e.FeldText = {"",          nickname, "Geheimname", "Vorgeheim",          "01.02.1980",
                  "Heimweg 7", "10115",  "Heimstadt",  "geheim@mail.example"};
    return e;
}

inline std::vector<uint8_t> upload_bytes(const score::UploadEntry& entry) {
    const auto bytes = score::encode_upload(entry);
    return {bytes.begin(), bytes.end()};
}

inline std::vector<uint8_t> upload_bytes(const std::string& nickname, int32_t t, int32_t S = 4242) {
    return upload_bytes(upload_entry(nickname, t, S));
}

// The personal entries of upload_entry(), none of which may appear on a public page.
inline const std::vector<std::string> personal_texts = {"Geheimname", "Vorgeheim",           "01.02.1980", "Heimweg",
                                                        "Heimstadt",  "geheim@mail.example", "10115"};
