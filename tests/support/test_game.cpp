// SPDX-License-Identifier: GPL-3.0-or-later
// Setting up a game object on the headless backend and playing one game with an optional script.
#include "tests/support/test_game.h"

#include "platform/headless/script_driver.h"

namespace testing_support {

TestGame::TestGame(uint32_t seed, bool sound) : game(headless) {
    headless.SetDirectories("/nowhere", "/nowhere", VORLANIX_SOUND_DIR);
    game.Randomize(seed);
    game.Init();
    if (sound) {
        game.InitSound();
        game.SoundAn = vorlanix::True;
    }
    state_ = std::make_unique<vorlanix::GameStateAccess>(game);
}

int TestGame::Play(const std::string& script) {
    std::unique_ptr<platform::ScriptDriver> driver;
    if (!script.empty()) {
        driver = std::make_unique<platform::ScriptDriver>(script, "game");
        driver->SetState(state_.get());
    }
    const platform::ScriptDriver* running = driver.get();
    headless.AttachScript(std::move(driver));
    try {
        game.Schleife();
    } catch (const platform::ScriptFinished& e) {
        return e.code;
    }
    return running && running->failed() ? 1 : -1;
}

std::string TestGame::SoundsSince(size_t from) const {
    std::string words;
    const auto& log = headless.soundLog();
    for (size_t i = from; i < log.size(); ++i) {
        if (!words.empty()) words += ' ';
        words += std::to_string(log[i].slot) + ":" + log[i].op;
    }
    return words;
}

}  // namespace testing_support
