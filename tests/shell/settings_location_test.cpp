// SPDX-License-Identifier: GPL-3.0-or-later
// Which settings file a run reads: the one named, the portable one beside the executable, or the
// one in the XDG config directory; a headless run reads none unless it is named.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "shell/directories.h"
#include "tests/support/temp_dir.h"
#include "tests/support/scoped_env.h"

namespace {

using testing_support::ScopedEnv;

}  // namespace

TEST(SettingsLocation, NamedThenPortableThenXdgThenHome) {
    TempDir dir;
    const auto program = dir / "game";
    const auto plain = dir / "plain";
    std::filesystem::create_directories(program);
    std::filesystem::create_directories(plain);
    write_bytes(program / "hiscore.dat", {0});
    ScopedEnv home("HOME", (dir / "home").string());
    ScopedEnv xdg("XDG_CONFIG_HOME", (dir / "xdg").string());
    using vorlanix::ChooseSettingsFile;

    EXPECT_EQ(ChooseSettingsFile("/x/my.conf", true, false, plain), "/x/my.conf");
    EXPECT_EQ(ChooseSettingsFile({}, true, false, program), "");
    // A writable hiscore.dat beside the executable is portable mode, unless a data directory is named.
    EXPECT_EQ(ChooseSettingsFile({}, false, false, program), program / "vorlanix.conf");
    EXPECT_EQ(ChooseSettingsFile({}, false, true, program), dir / "xdg" / "vorlanix" / "vorlanix.conf");
    // A settings file already beside the executable is always used.
    write_bytes(plain / "vorlanix.conf", {});
    EXPECT_EQ(ChooseSettingsFile({}, false, true, plain), plain / "vorlanix.conf");
    std::filesystem::remove(plain / "vorlanix.conf");
    EXPECT_EQ(ChooseSettingsFile({}, false, false, plain), dir / "xdg" / "vorlanix" / "vorlanix.conf");
    // A relative XDG_CONFIG_HOME is not to be used.
    ScopedEnv relative("XDG_CONFIG_HOME", "relative/dir");
    EXPECT_EQ(ChooseSettingsFile({}, false, false, plain), dir / "home" / ".config" / "vorlanix" / "vorlanix.conf");
}
