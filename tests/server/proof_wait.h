// SPDX-License-Identifier: GPL-3.0-or-later
// Uploads with a replay are answered before their proof: the tests wait for the entry's state.
#pragma once

#include <httplib.h>

#include <chrono>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>

// The entry's JSON once its proof is done (state "proved" or "refused"); its last answer after a minute.
inline nlohmann::json settled_entry(httplib::Client& client, int64_t id) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    nlohmann::json entry;
    while (std::chrono::steady_clock::now() < give_up) {
        const auto res = client.Get(("/api/entry/" + std::to_string(id)).c_str());
        if (res && res->status == 200) {
            entry = nlohmann::json::parse(res->body);
            if (entry["state"] != "pending") return entry;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return entry;
}
