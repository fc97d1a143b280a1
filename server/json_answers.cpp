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
    answer["id"] = nullptr;
    answer["state"] = nullptr;
    if (outcome.reason == Reason::Accepted) {
        answer["rank"] = outcome.rank;
        answer["id"] = outcome.id;
        answer["state"] = outcome.proved ? "proved" : "unproved";
    } else if (outcome.reason == Reason::Pending) {
        answer["id"] = outcome.id;
        answer["state"] = "pending";
    }
    return answer.dump();
}

std::string entry_answer(int64_t id, const std::optional<ListedEntry>& entry, const std::optional<ProofStatus>& proof) {
    nlohmann::json answer = {{"id", id}, {"reason", nullptr}, {"message", nullptr}};
    if (entry) {
        answer["state"] = entry->proved ? "proved" : "unproved";
        answer["rank"] = entry->rank;
        answer["nickname"] = entry->nickname;
        answer["days"] = entry->days;
        answer["uploaded"] = iso_time(entry->uploaded_ms);
    } else if (proof && proof->state == ProofState::Refused) {
        answer["state"] = "refused";
        answer["reason"] = proof->reason;
        if (const auto reason = reason_of_code(proof->reason)) answer["message"] = describe(*reason).sentence;
    } else {
        answer["state"] = "pending";
        answer["message"] = describe(Reason::Pending).sentence;
    }
    return answer.dump();
}

namespace {

nlohmann::json listed_entries(const std::vector<ListedEntry>& entries, bool ranked) {
    nlohmann::json list = nlohmann::json::array();
    for (const auto& entry : entries) {
        const Age age = age_of(entry.days);
        list.push_back({
            {"rank", ranked ? nlohmann::json(entry.rank) : nlohmann::json(nullptr)},
            {"nickname", entry.nickname},
            {"days", entry.days},
            {"years", age.years},
            {"months", age.months},
            {"day", age.days},
            {"uploaded", iso_time(entry.uploaded_ms)},
            {"proved", entry.proved},
        });
    }
    return list;
}

}  // namespace

std::string list_answer(Listing list, int64_t total, const std::vector<ListedEntry>& entries,
                        const std::vector<ListedEntry>& waiting, int64_t waiting_total) {
    nlohmann::json answer = {{"list", list == Listing::Proved ? "proved" : "unproved"},
                             {"total", total},
                             {"entries", listed_entries(entries, true)}};
    if (list == Listing::Unproved) {
        answer["pending"] = {{"total", waiting_total}, {"entries", listed_entries(waiting, false)}};
    }
    return answer.dump();
}

}  // namespace bestenliste
