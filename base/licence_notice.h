// SPDX-License-Identifier: GPL-3.0-or-later
// What every program of the project prints for --version after its name and version: the
// copyright and the licence (the GNU GPL, version 3 or later; the full text is in COPYING).
#pragma once

#define VORLANIX_LICENCE_NOTICE                                                         \
    "Copyright (C) 2026 The Vorlanix developers.\n"                                     \
    "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n" \
    "This is free software: you are free to change and redistribute it.\n"              \
    "There is NO WARRANTY, to the extent permitted by law."
