// SPDX-License-Identifier: GPL-3.0-or-later
// setenv and unsetenv for the SDL backend on Windows, whose C library has _putenv_s instead; the
// backend sets variables that libraries read at start. Included into its files by the build.
#pragma once

#include <stdlib.h>

inline int setenv(const char* name, const char* value, int overwrite) {
    if (!overwrite && getenv(name)) return 0;
    return _putenv_s(name, value);
}

inline int unsetenv(const char* name) { return _putenv_s(name, ""); }
