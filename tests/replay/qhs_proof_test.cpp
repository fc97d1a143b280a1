// SPDX-License-Identifier: GPL-3.0-or-later
// The collector's tool with replays: an upload file is accepted only when its replay writes it,
// and a ranking marks which entries a replay proves.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "score/upload_file.h"
#include "tests/replay/qhs_tool.h"
#include "tests/replay/recorded_game.h"

using qhs_tool::ToolRun;

namespace {
ToolRun qhs(const TempDir& dir, const std::string& arguments) { return qhs_tool::Run(dir, arguments); }
}  // namespace

TEST(QhsProof, VerifyAndRankAcceptOnlyWhatTheReplayWrites) {
    const auto& rec = recorded_game::Get();
    TempDir dir;
    std::filesystem::create_directories(dir / "replays");
    write_bytes(dir / "replays" / "game.vxr", rec.wholeRun);
    write_bytes(dir / "played.qhs", rec.upload);
    // A valid upload file with the same result and another nickname, which no replay wrote.
    score::UploadEntry other;
    other.S = 1;
    other.t = rec.days;
    other.FeldText = {"", "Mogler", "a", "b", "c", "d", "e", "f", "g"};
    const auto otherBytes = score::encode_upload(other);
    write_bytes(dir / "claimed.qhs", {otherBytes.begin(), otherBytes.end()});

    const auto replay = "--replay '" + (dir / "replays" / "game.vxr").string() + "' ";
    const ToolRun proved = qhs(dir, "verify " + replay + "'" + (dir / "played.qhs").string() + "'");
    EXPECT_EQ(proved.code, 0) << proved.out;
    EXPECT_NE(proved.out.find("proved by"), std::string::npos) << proved.out;
    const ToolRun refused = qhs(dir, "verify " + replay + "'" + (dir / "claimed.qhs").string() + "'");
    EXPECT_EQ(refused.code, 1) << refused.out;
    EXPECT_NE(refused.out.find("not proved"), std::string::npos) << refused.out;

    const ToolRun ranked = qhs(dir, "rank --csv --replay-dir '" + (dir / "replays").string() + "' '" +
                                        (dir / "played.qhs").string() + "' '" + (dir / "claimed.qhs").string() + "'");
    EXPECT_EQ(ranked.code, 0) << ranked.out;
    EXPECT_NE(ranked.out.find("played.qhs,proved"), std::string::npos) << ranked.out;
    EXPECT_NE(ranked.out.find("claimed.qhs,unproved"), std::string::npos) << ranked.out;
}
