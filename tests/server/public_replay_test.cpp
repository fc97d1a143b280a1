// SPDX-License-Identifier: GPL-3.0-or-later
// What the list publishes of a proved game is its public part: it re-simulates to the result and
// holds none of the player's form entries; and one game proves one entry, whatever name it carries.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "replay/format.h"
#include "replay/limits.h"
#include "replay/play_replay.h"
#include "replay/records.h"
#include "tests/server/proof_wait.h"
#include "tests/server/running_server.h"
#include "tests/support/temp_dir.h"

namespace {

// The form's entries in the form's order, 1 the nickname, as the local file keeps them.
const std::string kForm[9] = {"",      "Maxi",  "Mustermann",      "Maximilian", "01.02.1990", "Hauptstrasse 1",
                              "12345", "Koeln", "maxi@example.org"};

// hiscore.dat with the list names and the form already filled in, as a player's second game finds it.
std::vector<uint8_t> filledHiscore() {
    std::vector<uint8_t> file(430, ' ');
    auto put = [&](size_t at, const std::string& text) { std::copy(text.begin(), text.end(), file.begin() + at); };
    for (int i = 0; i < 8; ++i) {
        put(12 * i, i == 0 ? "Nachbar" : "Freundin");
        const uint32_t days = 28800;
        for (int k = 0; k < 4; ++k) file[12 * i + 8 + k] = static_cast<uint8_t>(days >> (8 * k));
    }
    put(96, "Maxi");
    for (int f = 1; f <= 8; ++f) put(104 + 40 * (f - 1), kForm[f]);
    for (size_t k = 424; k < 430; ++k) file[k] = 0;
    return file;
}

struct Played {
    std::vector<uint8_t> replay, upload;
};

// One game played by the real program, its result saved as an upload file with the form as filled
// in; `addToNickname` is typed onto the nickname first.
Played play(const std::string& addToNickname) {
    TempDir data;
    write_bytes(data / "hiscore.dat", filledHiscore());
    std::ofstream(data / "game.txt") << "run 100\nrelease left 300 200\nrun 100\nclick left 120 100\nrun 3000\n"
                                        "click left 400 300\nrun 2000\nrun-until AktMenue == 8 300000\n"
                                        "run-until EndeAnimationLaeuft == 0\nrun 50\ntype Maxi\n"
                                        "click left 368 305\nrun 50\n"
                                     << (addToNickname.empty() ? "" : "type " + addToNickname + "\n")
                                     << "click left 368 305\nrun 50\nclick left 330 300\nrun 50\n";
    const std::string command = std::string(VORLANIX_EXE) + " --headless --seed 7 --script '" +
                                (data / "game.txt").string() + "' --data-dir '" + data.path().string() +
                                "' --record '" + (data / "run.vxr").string() + "' 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0);
    Played p{read_bytes(data / "run.vxr"), {}};
    for (const auto& e : std::filesystem::directory_iterator(data.path()))
        if (e.path().extension() == ".qhs") p.upload = read_bytes(e.path());
    return p;
}

// Every byte of the file and of its stream, and the text typed in it.
std::string everythingIn(const std::vector<uint8_t>& file) {
    const auto decoded = replay::DecodeReplay(file);
    std::string all(file.begin(), file.end());
    all.append(decoded.stream.begin(), decoded.stream.end());
    replay::ByteReader in(decoded.stream);
    std::string typed;
    while (!in.atEnd()) {
        const uint8_t tag = in.u8();
        if (tag != static_cast<uint8_t>(replay::Tag::Event)) {
            replay::SkipFields(in, tag);
            continue;
        }
        const auto e = replay::GetFields<replay::EventRecord>(in);
        if (e.kind == static_cast<uint8_t>(replay::EventKind::KeyPress)) typed += static_cast<char>(e.code);
    }
    return all + "\n" + typed;
}

// The replay padded as a copier might: a key let go that was never pressed, in every message pump.
// It changes nothing the program keeps, so the padded replay still repeats in sync.
std::vector<uint8_t> padded(const std::vector<uint8_t>& file) {
    const replay::ReplayFile f = replay::DecodeReplay(file);
    replay::ByteReader in(f.stream);
    replay::ByteWriter out;
    while (!in.atEnd()) {
        const size_t start = in.position();
        const uint8_t tag = in.u8();
        replay::SkipFields(in, tag);
        out.data().insert(out.data().end(), f.stream.begin() + static_cast<long>(start),
                          f.stream.begin() + static_cast<long>(in.position()));
        if (tag != static_cast<uint8_t>(replay::Tag::PumpBegin)) continue;
        replay::EventRecord e;
        e.kind = static_cast<uint8_t>(replay::EventKind::KeyUp);
        e.code = 90;
        replay::PutRecord(out, e);
    }
    return replay::EncodeReplay(f.header, out.data());
}

}  // namespace

TEST(PublicReplay, TheListPublishesTheGameWithoutThePlayersDataAndOneGameProvesOneEntry) {
    const Played first = play("");
    const Played renamed = play("2");
    ASSERT_EQ(first.upload.size(), 332u);
    ASSERT_EQ(renamed.upload.size(), 332u);
    ASSERT_NE(first.upload, renamed.upload);
    // The private replay holds the form, as the player's own file may.
    ASSERT_NE(everythingIn(first.replay).find(kForm[2]), std::string::npos);

    RunningServer server;
    auto client = server.client();
    auto post = [&](const Played& p) {
        return client.Post("/api/upload", httplib::MultipartFormDataItems{
                                              {"qhs", std::string(p.upload.begin(), p.upload.end()), "a.qhs", ""},
                                              {"replay", std::string(p.replay.begin(), p.replay.end()), "r.vxr", ""}});
    };
    auto res = post(first);
    ASSERT_TRUE(res);
    ASSERT_EQ(res->status, 202) << res->body;
    ASSERT_EQ(settled_entry(client, nlohmann::json::parse(res->body)["id"].get<int64_t>())["state"], "proved");
    const auto entries = server.store().page(bestenliste::Listing::Proved, 0, 10);
    ASSERT_EQ(entries.size(), 1u);
    const auto download = client.Get(("/eintrag/" + std::to_string(entries[0].id) + "/aufzeichnung").c_str());
    ASSERT_EQ(download->status, 200);
    const std::vector<uint8_t> published(download->body.begin(), download->body.end());
    EXPECT_LE(published.size(), replay::kLargestPublicGame);
    const std::string seen = everythingIn(published);
    for (int f = 2; f <= 8; ++f) EXPECT_EQ(seen.find(kForm[f]), std::string::npos) << kForm[f];
    for (const char* other : {"Nachbar", "Freundin", "/tmp/"}) EXPECT_EQ(seen.find(other), std::string::npos) << other;
    // It is the game: it re-simulates on its own to the listed result.
    const auto outcome = replay::PlayReplay(published, {});
    EXPECT_EQ(outcome.kind, replay::StopKind::Ended) << outcome.message;
    ASSERT_EQ(outcome.games.size(), 1u);
    EXPECT_EQ(outcome.games[0].days, entries[0].days);

    // The same game with another nickname typed into the form.
    res = post(renamed);
    ASSERT_TRUE(res);
    ASSERT_EQ(res->status, 202) << res->body;
    auto refused = settled_entry(client, nlohmann::json::parse(res->body)["id"].get<int64_t>());
    EXPECT_EQ(refused["state"], "refused");
    EXPECT_EQ(refused["reason"], "replay_reused");
    // And padded with input that changes nothing: the key is what the game did, not how its file
    // spells it.
    const Played paddedCopy{padded(renamed.replay), renamed.upload};
    ASSERT_EQ(replay::PlayReplay(paddedCopy.replay, {}).kind, replay::StopKind::Ended);
    ASSERT_NE(paddedCopy.replay, renamed.replay);
    res = post(paddedCopy);
    ASSERT_TRUE(res);
    ASSERT_EQ(res->status, 202) << res->body;
    refused = settled_entry(client, nlohmann::json::parse(res->body)["id"].get<int64_t>());
    EXPECT_EQ(refused["state"], "refused");
    EXPECT_EQ(refused["reason"], "replay_reused");
    EXPECT_EQ(server.store().total(), 1);
}
