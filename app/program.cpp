// The program from its load event to its end on either backend, and the exit code its end gives.
#include "app/program.h"

#include <cstdio>
#include <exception>

#include "app/directories.h"
#include "app/errors.h"
#include "app/state_access.h"
#include "app/vorlanix.h"
#include "platform/headless/script_driver.h"

namespace vorlanix {

int RunProgram(platform::Platform& platform, const Options& options, platform::ScriptDriver* script) {
    const auto programDir = ExecutableDirectory();
    std::string error;
    const auto dataDir = ChooseDataDirectory(options.dataDir, programDir, error);
    if (dataDir.empty()) {
        // Started from the desktop, a player sees no stderr: the reason goes into a message box,
        // as the display's start-up failures do.
        platform.MessageBox("Vorlanix", error);
        return 1;
    }
    std::fprintf(stderr, "vorlanix: data directory %s\n", dataDir.c_str());
    platform.SetDirectories(programDir, dataDir, FindSoundDirectory(programDir));
    platform.SetScreenshotDirectory(ChooseScreenshotDirectory(options.screenshotDir, dataDir));
    if (!options.assetDir.empty()) platform.SetAssetDirectory(options.assetDir);

    auto game = std::make_unique<Vorlanix>(platform);
    GameStateAccess state(*game);
    if (script) script->SetState(&state);
    platform.SetStateAccess(&state);
    if (options.seed) game->SetzeFestenStartwert(*options.seed);

    int code = 0;
    try {
        game->Form_Load();
    } catch (const ProgramExit& e) {
        code = e.code;
    } catch (const platform::ScriptFinished& e) {
        return e.code;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vorlanix: %s\n", e.what());
        code = 1;
    }
    if (script && code == 0 && script->failed()) return 1;
    return code;
}

}  // namespace vorlanix
