// SPDX-License-Identifier: GPL-3.0-or-later
// A data directory that cannot be used ends the program with exit code 1 and says why in a
// message box, whether it was asked for on the command line or comes from XDG_DATA_HOME.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "shell/options.h"
#include "shell/program.h"
#include "platform/headless/headless_platform.h"
#include "tests/support/temp_dir.h"
#include "tests/support/scoped_env.h"

namespace {

using testing_support::ScopedEnv;

}  // namespace

TEST(DataDirectory, AnUnusableDirectoryIsShownInAMessageBoxAndEndsWithOne) {
    TempDir dir;
    write_bytes(dir / "plain-file", {'x'});
    struct Case {
        const char* what;
        std::filesystem::path requested;  // empty: the XDG directory below the file
    };
    for (const Case& c :
         {Case{"--data-dir names a file", dir / "plain-file"},
          Case{"--data-dir below a file", dir / "plain-file" / "data"}, Case{"XDG_DATA_HOME below a file", {}}}) {
        SCOPED_TRACE(c.what);
        ScopedEnv xdg("XDG_DATA_HOME", (dir / "plain-file").string());
        platform::HeadlessPlatform headless;
        vorlanix::Options options;
        options.headless = true;
        options.dataDir = c.requested;
        testing::internal::CaptureStderr();
        EXPECT_EQ(vorlanix::RunProgram(headless, options, nullptr), 1);
        testing::internal::GetCapturedStderr();
        ASSERT_EQ(headless.messageBoxes().size(), 1u);
        const std::string shown = (c.requested.empty() ? dir / "plain-file" / "vorlanix" : c.requested).string();
        EXPECT_NE(headless.messageBoxes()[0].find("cannot use the data directory " + shown), std::string::npos)
            << headless.messageBoxes()[0];
    }
}
