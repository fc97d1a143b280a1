// SPDX-License-Identifier: GPL-3.0-or-later
// All entries with their personal data as CSV, for the prize draw; never served over HTTP.
#pragma once

#include <cstdio>

#include "server/entry_store.h"

namespace bestenliste {

void export_csv(EntryStore& store, std::FILE* out);

}  // namespace bestenliste
