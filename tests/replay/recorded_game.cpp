// SPDX-License-Identifier: GPL-3.0-or-later
// Recording the shared game through the headless driver.
#include "tests/replay/recorded_game.h"

#include <memory>

#include "tests/support/headless_run.h"

namespace recorded_game {

std::string FormTyped(const std::string& nickname) {
    std::string lines;
    for (int field = 1; field <= 8; ++field) {
        lines += "type " + (field == 1 ? nickname : std::string(kForm[field])) + "\n";
        lines += "keydown TAB\nkeyup TAB\n";
    }
    return lines;
}

namespace {

// The shared script; `beforeStart` runs on the menu, `duringGame` right after the game's shot.
std::unique_ptr<Recording> record(const std::string& beforeStart, const std::string& duringGame,
                                  const std::string& nickname) {
    auto r = std::make_unique<Recording>();
    const std::string script = R"(
        run 100
        release left 300 200
        run 100
    )" + beforeStart + R"(
        click left 120 100
        run 3000
        click left 400 300
    )" + duringGame + R"(
        run 2000
        run-until AktMenue == 8 300000
        run-until EndeAnimationLaeuft == 0
        run 50
        type Max
        click left 368 305
        run 50
    )" + FormTyped(nickname) + R"(
        click left 368 305
        run 50
        expect AktMenue == 11
        click left 330 300
        run 50
    )";
    const auto result = testing_support::RunHeadless(
        script, {.dataDir = r->data.path(), .seed = 5, .record = r->data.path() / "run.vxr"});
    r->exitCode = result.exitCode;
    r->wholeRun = read_bytes(r->data.path() / "run.vxr");
    r->kept = read_bytes(r->data.path() / "replays" / "last.vxr");
    for (const auto& e : std::filesystem::directory_iterator(r->data.path()))
        if (e.path().extension() == ".qhs") r->upload = read_bytes(e.path());
    if (result.state.contains("Ergebnis")) r->days = result.state["Ergebnis"].get<int32_t>() / 3632;
    return r;
}

}  // namespace

const Recording& Get() {
    static const auto recording = record("", "", kForm[1]);
    return *recording;
}

const Recording& GetWithSetLine() {
    static const auto recording = record("", "set Punktzahl 200000000", kForm[1]);
    return *recording;
}

const Recording& GetWithStartSetOnTheMenu() {
    static const auto recording = record(std::string(kStartSetOnTheMenu), "", kForm[1]);
    return *recording;
}

const Recording& GetRenamed() {
    static const auto recording = record("", "", "Moritz");
    return *recording;
}

}  // namespace recorded_game
