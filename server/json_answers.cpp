// SPDX-License-Identifier: GPL-3.0-or-later
// Built with nlohmann::json, which escapes every string it writes.
#include "server/json_answers.h"

#include <nlohmann/json.hpp>

#include "server/age_text.h"
#include "server/time_text.h"

namespace bestenliste {

std::string upload_answer(const UploadOutcome& outcome) {
    const auto& text = describe(outcome.reason);
    nlohmann::json answer = {
        {"accepted", outcome.reason == Reason::Accepted},
        {"reason", text.code},
        {"message", text.sentence},
        {"proved", outcome.proved},
        {"rank", nullptr},
    };
    if (outcome.reason == Reason::Accepted) answer["rank"] = outcome.rank;
    return answer.dump();
}

std::string list_answer(int64_t total, const std::vector<ListedEntry>& entries) {
    nlohmann::json list = nlohmann::json::array();
    for (const auto& entry : entries) {
        const Age age = age_of(entry.days);
        list.push_back({
            {"rank", entry.rank},
            {"nickname", entry.nickname},
            {"days", entry.days},
            {"years", age.years},
            {"months", age.months},
            {"day", age.days},
            {"uploaded", iso_time(entry.uploaded_ms)},
            {"proved", entry.proved},
        });
    }
    return nlohmann::json{{"total", total}, {"entries", list}}.dump();
}

}  // namespace bestenliste
