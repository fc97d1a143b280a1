// Entry point: parses the command line and runs the program on the SDL backend, or on the
// headless backend for tests and scripted runs.
#include <cstdio>
#include <exception>

#include "app/options.h"
#include "app/program.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/script_driver.h"
#include "platform/sdl/sdl_platform.h"

int main(int argc, char** argv) {
    vorlanix::Options options;
    std::string message;
    switch (vorlanix::ParseCommandLine(argc, argv, options, message)) {
        case vorlanix::ParseResult::Exit: std::printf("%s\n", message.c_str()); return 0;
        case vorlanix::ParseResult::Error: std::fprintf(stderr, "%s\n", message.c_str()); return 2;
        case vorlanix::ParseResult::Run: break;
    }
    try {
        if (options.headless) {
            platform::HeadlessPlatform headless(options.tickStart);
            platform::ScriptDriver* script = nullptr;
            if (!options.script.empty()) {
                auto driver = std::make_unique<platform::ScriptDriver>(platform::ScriptDriver::FromFile(options.script));
                script = driver.get();
                headless.AttachScript(std::move(driver));
            }
            return vorlanix::RunProgram(headless, options, script);
        }
        platform::SdlOptions sdl;
        sdl.window = options.window;
        sdl.scale = options.scale;
        sdl.scaling = options.scaling;
        sdl.renderer = options.renderer;
        sdl.vsync = options.vsync;
        sdl.stateFile = options.stateFile;
        auto real = platform::CreateSdlPlatform(sdl);
        return vorlanix::RunProgram(*real, options, nullptr);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vorlanix: %s\n", e.what());
        return 2;
    }
}
