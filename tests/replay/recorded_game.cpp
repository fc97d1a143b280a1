// Recording the shared game through the headless driver.
#include "tests/replay/recorded_game.h"

#include <memory>

#include "tests/support/headless_run.h"

namespace recorded_game {

const Recording& Get() {
    static const std::unique_ptr<Recording> recording = [] {
        auto r = std::make_unique<Recording>();
        const std::string script = R"(
            run 100
            release left 300 200
            run 100
            click left 120 100
            run 3000
            click left 400 300
            run 2000
            run-until AktMenue == 8 300000
            run-until EndeAnimationLaeuft == 0
            run 50
            type Max
            click left 368 305
            run 50
            set FeldText[1] Max
            set FeldText[2] Mustermann
            set FeldText[3] Maximilian
            set FeldText[4] 1.1.1990
            set FeldText[5] Hauptstrasse 1
            set FeldText[6] 12345
            set FeldText[7] Köln
            set FeldText[8] max@example.org
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
        for (const auto& e : std::filesystem::directory_iterator(r->data.path()))
            if (e.path().extension() == ".qhs") r->upload = read_bytes(e.path());
        if (result.state.contains("Ergebnis")) r->days = result.state["Ergebnis"].get<int32_t>() / 3632;
        return r;
    }();
    return *recording;
}

}  // namespace recorded_game
